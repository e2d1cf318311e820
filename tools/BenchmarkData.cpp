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

}  // namespace

BenchmarkFolder::BenchmarkFolder(const char* name)
    : folder(std::filesystem::temp_directory_path() / (std::string(name) + "-" + std::to_string(::getpid())))
{
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    std::vector<SampleStock> stocks = makeStocks(kStocks, 2000);
    ok = !ec && writeFile(folder / "index.txt", formatStockMaster(stocks)) &&
        writeFile(signalFile(), makeSignalFile(stocks, kRows, 20000104, 20091230, 2000));
}

BenchmarkFolder::~BenchmarkFolder()
{
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
}

}  // namespace kv
