// SPDX-License-Identifier: GPL-3.0-or-later
// kirvane-batch: the back-test of a signal file from the command line, in the current folder.

#include "batch/BatchOptions.h"
#include "batch/BatchRun.h"
#include "text/CommandLine.h"

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <unistd.h>

// Standard output is buffered: a write that fails (a full disk) shows only when it is flushed.
// Such a failure is reported and makes the status 3.
static int flushStandardOutput(int status)
{
    std::cout.flush();
    if (std::fflush(stdout) == 0 && !std::ferror(stdout) && std::cout)
        return status;
    std::cerr << "error: the result could not be written to standard output\n";
    return 3;
}

int main(int argc, char** argv)
{
    constexpr const char* program = "kirvane-batch";
    std::vector<std::string> arguments(argv + 1, argv + argc);
    switch (kv::findStandardOption(arguments)) {
    case kv::StandardOption::Help:
        std::cout << kv::batchUsage();
        return flushStandardOutput(0);
    case kv::StandardOption::Version:
        std::cout << kv::versionText(program);
        return flushStandardOutput(0);
    case kv::StandardOption::None:
        break;
    }
    kv::ParsedBatchArguments parsed = kv::parseBatchArguments(arguments);
    if (!parsed.options) {
        std::cerr << kv::usageErrorText(program, parsed.error);
        return kv::kExitUsage;
    }
    std::error_code ec;
    std::filesystem::path folder = std::filesystem::current_path(ec);
    int status = kv::runBatch(*parsed.options, folder, std::cout, std::cerr, ::isatty(STDERR_FILENO) != 0);
    return flushStandardOutput(status);
}
