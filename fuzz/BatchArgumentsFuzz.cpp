// SPDX-License-Identifier: GPL-3.0-or-later
// The command line of kirvane-batch: the bytes split at NUL into arguments and parsed; a
// parsed line's settings are applied as the batch applies them, and its outputs are checked as
// the batch checks them before a run (without opening any file).

#include "FuzzSupport.h"
#include "batch/BatchOptions.h"
#include "batch/OutputFiles.h"
#include "settings/SettingByName.h"
#include "text/FileKind.h"

#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<std::string> arguments;
    std::string_view rest = kv::fuzz::bytes(data, size);
    while (!rest.empty()) {
        size_t nul = rest.find('\0');
        arguments.emplace_back(rest.substr(0, nul));
        rest = nul == std::string_view::npos ? std::string_view{} : rest.substr(nul + 1);
    }
    kv::ParsedBatchArguments parsed = kv::parseBatchArguments(arguments);
    if (parsed.options.has_value() == !parsed.error.empty())
        std::abort();  // either options or a reason, never both or neither
    if (!parsed.options)
        return 0;
    if ((parsed.options->startRow && *parsed.options->startRow < 0) ||
        (parsed.options->endRow && *parsed.options->endRow < 0))
        std::abort();
    kv::SimulationSettings settings;
    for (const auto& [name, value] : parsed.options->settings) {
        if (!kv::setSettingByName(settings, name, value))
            std::abort();  // the parser accepts known names only
    }

    // An output named exactly as the signal file or as the other output is always refused,
    // except for the devices that keep nothing.
    const kv::BatchOptions& options = *parsed.options;
    std::vector<kv::RunOutput> outputs = kv::batchOutputs(options);
    for (kv::RunOutput& output : outputs)
        output.openedByCheck = false;  // the fuzzer creates no file
    std::string problem =
        kv::checkOutputs(outputs, kv::runInputs(options.signalFile, "/nonexistent-kirvane-folder"));
    auto keepsWhatIsWritten = [](const std::filesystem::path& file) {
        kv::FileKind kind = kv::fileKind(file);
        return kind != kv::FileKind::NullDevice && kind != kv::FileKind::FullDevice;
    };
    for (const kv::RunOutput& output : outputs) {
        if (output.file == options.signalFile && keepsWhatIsWritten(output.file) && problem.empty())
            std::abort();
    }
    if (options.logFile && options.equityFile && *options.logFile == *options.equityFile &&
        keepsWhatIsWritten(*options.logFile) && problem.empty())
        std::abort();
    return 0;
}
