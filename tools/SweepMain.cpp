// SPDX-License-Identifier: GPL-3.0-or-later
// kirvane-sweep: a back-test of one signal file for every combination of a grid of settings, on
// every core, in the current folder.

#include "batch/SweepOptions.h"
#include "batch/SweepRun.h"
#include "batch/ToolMain.h"
#include "text/CommandLine.h"

#include <filesystem>
#include <iostream>
#include <unistd.h>

int main(int argc, char** argv)
{
    kv::guardStandardStreams();
    constexpr const char* program = "kirvane-sweep";
    std::vector<std::string> arguments(argv + 1, argv + argc);
    switch (kv::findStandardOption(arguments)) {
    case kv::StandardOption::Help:
        std::cout << kv::sweepUsage();
        return kv::flushStandardOutput(0);
    case kv::StandardOption::Version:
        std::cout << kv::versionText(program);
        return kv::flushStandardOutput(0);
    case kv::StandardOption::None:
        break;
    }
    kv::ParsedSweepArguments parsed = kv::parseSweepArguments(arguments);
    if (!parsed.options) {
        std::cerr << kv::usageErrorText(program, parsed.error);
        return kv::kExitUsage;
    }
    std::error_code ec;
    std::filesystem::path folder = std::filesystem::current_path(ec);
    kv::catchInterruptions();
    int status = kv::runReportingExceptions([&] {
        return kv::runSweep(*parsed.options, folder, std::cout, std::cerr, ::isatty(STDERR_FILENO) != 0);
    });
    return kv::flushStandardOutput(status);
}
