// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The files a command-line run writes besides standard output, checked all together before
// anything is read or written: none may be one of the run's inputs or another output (a slip on
// the command line must never overwrite the signal file), and each must be a file that can be
// written without blocking (a FIFO would hang the run).

#include "batch/BatchOptions.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace kv {

struct RunOutput {
    std::string what;  // how the messages name it: "the log"
    std::filesystem::path file;
    // Opened (without writing) by the check, so that a file that cannot be opened stops the run
    // before it starts; otherwise only the run's end finds out.
    bool openedByCheck = false;
};

// The outputs the options name, in the order of this list: --log, --equity, --trades, then
// --report.
std::vector<RunOutput> batchOutputs(const BatchOptions& options);

// The inputs of a run in `folder`: the signal file, index.txt and kvn.conf.
std::vector<std::filesystem::path> runInputs(const std::filesystem::path& signalFile,
                                             const std::filesystem::path& folder);

// Empty when every output may be written, else the reason. An output is refused when it is an
// input or another output under any name (links, "sub/../kvn.conf"), when it is a folder, a
// FIFO or a device other than /dev/null and /dev/full (those two never keep what is written, so
// they may stand for any number of outputs), or, when it is openedByCheck, when it cannot be
// opened. Nothing is written: an existing file is opened without emptying it, and a file the
// check creates is removed again.
std::string checkOutputs(const std::vector<RunOutput>& outputs,
                         const std::vector<std::filesystem::path>& inputs);

// Empty unless standard output is a regular file that is one of `inputs` or `outputs` (as
// `> signals.csv`, or `--report /dev/stdout` with standard output in a file): printing would
// destroy the input or mix the result into the output; else the reason.
std::string checkStandardOutput(const std::vector<RunOutput>& outputs,
                                const std::vector<std::filesystem::path>& inputs);

class OutputLock;

// Locks every output for the run (creating those not there yet, removed again should the run
// write nothing into them): empty unless another run holds one, else the reason
// (「他の実行が書き込み中です：log.csv」). An output that cannot be created is left to fail
// where it is written.
std::string lockOutputs(const std::vector<RunOutput>& outputs,
                        std::vector<std::unique_ptr<OutputLock>>& locks);

// checkOutputs for kirvane-batch's options in `folder`.
std::string checkBatchOutputs(const BatchOptions& options, const std::filesystem::path& folder);

}  // namespace kv
