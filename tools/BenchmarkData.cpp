#include "BenchmarkData.h"

#include "SampleData.h"

#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

namespace kv {

namespace {

bool writeFile(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    return static_cast<bool>(file);
}

constexpr uint32_t kStockSeed = 2000;
constexpr uint32_t kSignalSeed = 2000;

}  // namespace

BenchmarkFolder::BenchmarkFolder(const char* name)
    : folder(std::filesystem::temp_directory_path() / (std::string(name) + "-" + std::to_string(::getpid())))
{
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    std::vector<SampleStock> stocks = makeStocks(kStocks, kStockSeed);
    ok = !ec && writeFile(folder / "index.txt", formatStockMaster(stocks)) &&
        writeFile(signalFile(), makeSignalFile(stocks, kRows, 20000104, 20091230, kSignalSeed));
}

std::optional<std::filesystem::path> BenchmarkFolder::writeOneDayFile(int rowCount) const
{
    std::filesystem::path file = folder / "oneday.csv";
    if (!writeFile(
            file, makeSignalFile(makeStocks(kStocks, kStockSeed), rowCount, 20000104, 20000104, kSignalSeed)))
        return std::nullopt;
    return file;
}

BenchmarkFolder::~BenchmarkFolder()
{
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
}

}  // namespace kv
