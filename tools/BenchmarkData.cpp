// SPDX-License-Identifier: GPL-3.0-or-later
#include "BenchmarkData.h"

#include "SampleData.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <string>
#include <vector>

extern char** environ;

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

Measured measureProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                        const std::filesystem::path& folder, const std::filesystem::path& outFile)
{
    std::vector<char*> argv;
    std::string name = program.string();
    argv.push_back(name.data());
    std::vector<std::string> copies = arguments;
    for (std::string& a : copies)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());

    Measured m;
    auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, name.c_str(), &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        rusage usage{};
        if (wait4(pid, &status, 0, &usage) == pid) {
            m.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            m.peakKilobytes = usage.ru_maxrss;
        }
    }
    m.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    posix_spawn_file_actions_destroy(&actions);
    return m;
}

void buyEverySignal(SimulationSettings& settings)
{
    settings.saveLog = false;
    settings.capital = 1e12;
    settings.maxStocks = 100000000;
    settings.maxPurchaseAmount = 1000000;
    settings.setSchedule(CommissionSchedule::NoCommission);
}

std::filesystem::path programBeside(const char* argv0, const char* name)
{
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    const std::filesystem::path dir = ec ? std::filesystem::path(argv0).parent_path() : self.parent_path();
    return dir / name;
}

}  // namespace kv
