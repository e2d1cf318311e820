// kirvane-batch: the back-test of a signal file from the command line, in the current folder.

#include "batch/BatchOptions.h"
#include "batch/BatchRun.h"

#include <filesystem>
#include <iostream>
#include <unistd.h>

int main(int argc, char** argv)
{
    std::vector<std::string> arguments(argv + 1, argv + argc);
    for (const std::string& arg : arguments) {
        if (arg == "--help" || arg == "-h") {
            std::cout << kv::batchUsage();
            return 0;
        }
    }
    kv::ParsedBatchArguments parsed = kv::parseBatchArguments(arguments);
    if (!parsed.options) {
        std::cerr << "error: " << parsed.error << "\n" << kv::batchUsage();
        return 2;
    }
    std::error_code ec;
    std::filesystem::path folder = std::filesystem::current_path(ec);
    return kv::runBatch(*parsed.options, folder, std::cout, std::cerr, ::isatty(STDERR_FILENO) != 0);
}
