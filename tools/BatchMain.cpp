// SPDX-License-Identifier: GPL-3.0-or-later
// kirvane-batch: the back-test of a signal file from the command line, in the current folder.

#include "batch/BatchOptions.h"
#include "batch/BatchRun.h"
#include "batch/ToolMain.h"
#include "text/CommandLine.h"

#include <filesystem>
#include <iostream>
#include <unistd.h>

int main(int argc, char** argv)
{
    kv::guardStandardStreams();
    constexpr const char* program = "kirvane-batch";
    std::vector<std::string> arguments(argv + 1, argv + argc);
    switch (kv::findStandardOption(arguments)) {
    case kv::StandardOption::Help:
        std::cout << kv::batchUsage();
        return kv::flushStandardOutput(0);
    case kv::StandardOption::Version:
        std::cout << kv::versionText(program);
        return kv::flushStandardOutput(0);
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
    kv::catchInterruptions();
    int status = kv::runReportingExceptions([&] {
        return kv::runBatch(*parsed.options, folder, std::cout, std::cerr, ::isatty(STDERR_FILENO) != 0);
    });
    return kv::flushStandardOutput(status);
}
