// kirvane-sweep: a back-test of one signal file for every combination of a grid of settings, on
// every core, in the current folder.

#include "batch/SweepOptions.h"
#include "batch/SweepRun.h"

#include <filesystem>
#include <iostream>
#include <unistd.h>

int main(int argc, char** argv)
{
    std::vector<std::string> arguments(argv + 1, argv + argc);
    for (const std::string& arg : arguments) {
        if (arg == "--help" || arg == "-h") {
            std::cout << kv::sweepUsage();
            return 0;
        }
    }
    kv::ParsedSweepArguments parsed = kv::parseSweepArguments(arguments);
    if (!parsed.options) {
        std::cerr << "error: " << parsed.error << "\n" << kv::sweepUsage();
        return 2;
    }
    std::error_code ec;
    std::filesystem::path folder = std::filesystem::current_path(ec);
    return kv::runSweep(*parsed.options, folder, std::cout, std::cerr, ::isatty(STDERR_FILENO) != 0);
}
