// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/OutputFiles.h"

#include "data/StockMasterFile.h"
#include "settings/SettingsFile.h"
#include "text/FileKind.h"
#include "text/LineReader.h"
#include "text/OutputFile.h"

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace kv {

namespace {

bool discardsWrites(const std::filesystem::path& file)
{
    FileKind kind = fileKind(file);
    return kind == FileKind::NullDevice || kind == FileKind::FullDevice;
}

// Opens the output for appending and closes it again; a file the probe created is removed.
std::string probe(const RunOutput& output)
{
    std::error_code ec;
    bool existed = std::filesystem::exists(output.file, ec) || std::filesystem::is_symlink(output.file, ec);
    errno = 0;
    std::FILE* opened = std::fopen(output.file.c_str(), "ab");
    if (!opened)
        return output.what + " " + output.file.string() + " cannot be opened: " + systemErrorText(errno);
    std::fclose(opened);
    if (!existed)
        std::filesystem::remove(output.file, ec);
    return {};
}

}  // namespace

std::vector<RunOutput> batchOutputs(const BatchOptions& options)
{
    std::vector<RunOutput> outputs;
    if (options.logFile)
        outputs.push_back({"the log", *options.logFile, true});
    if (options.equityFile)
        outputs.push_back({"the equity file", *options.equityFile, false});
    if (options.tradesFile)
        outputs.push_back({"the trade list", *options.tradesFile, false});
    if (options.reportFile)
        outputs.push_back({"the report", *options.reportFile, false});
    return outputs;
}

std::vector<std::filesystem::path> runInputs(const std::filesystem::path& signalFile,
                                             const std::filesystem::path& folder)
{
    return {signalFile, folder / kStockMasterFileName, folder / kSettingsFileName};
}

std::string checkOutputs(const std::vector<RunOutput>& outputs,
                         const std::vector<std::filesystem::path>& inputs)
{
    for (size_t i = 0; i < outputs.size(); ++i) {
        const RunOutput& output = outputs[i];
        const std::string named = output.what + " " + output.file.string();
        if (!discardsWrites(output.file)) {
            for (const std::filesystem::path& input : inputs) {
                if (sameFile(output.file, input))
                    return named + " would overwrite the input " + input.string();
            }
            for (size_t j = 0; j < i; ++j) {
                if (sameFile(output.file, outputs[j].file))
                    return named + " is the same file as " + outputs[j].what + " " + outputs[j].file.string();
            }
        }
        if (int refusal = outputRefusal(output.file))
            return named + " cannot be opened: " + systemErrorText(refusal);
    }
    for (const RunOutput& output : outputs) {
        if (output.openedByCheck) {
            if (std::string problem = probe(output); !problem.empty())
                return problem;
        }
    }
    return {};
}

std::string checkStandardOutput(const std::vector<RunOutput>& outputs,
                                const std::vector<std::filesystem::path>& inputs)
{
    struct stat standardOutput {};
    if (::fstat(STDOUT_FILENO, &standardOutput) != 0 || !S_ISREG(standardOutput.st_mode))
        return {};
    auto isStandardOutput = [&](const std::filesystem::path& file) {
        struct stat status {};
        return ::stat(file.c_str(), &status) == 0 && status.st_dev == standardOutput.st_dev &&
            status.st_ino == standardOutput.st_ino;
    };
    for (const std::filesystem::path& input : inputs)
        if (isStandardOutput(input))
            return "standard output is the input " + input.string();
    for (const RunOutput& output : outputs)
        if (isStandardOutput(output.file))
            return "standard output is " + output.what + " " + output.file.string();
    return {};
}

std::string lockOutputs(const std::vector<RunOutput>& outputs,
                        std::vector<std::unique_ptr<OutputLock>>& locks)
{
    for (const RunOutput& output : outputs) {
        auto lock = std::make_unique<OutputLock>();
        // A file that cannot be created is told where it is written, as before.
        if (lock->take(output.file, true) == kOutputLockedError) {
            locks.clear();
            return "他の実行が書き込み中です：" + output.file.string();
        }
        locks.push_back(std::move(lock));
    }
    return {};
}

std::string checkBatchOutputs(const BatchOptions& options, const std::filesystem::path& folder)
{
    return checkOutputs(batchOutputs(options), runInputs(options.signalFile, folder));
}

}  // namespace kv
