// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The start of a command-line run, shared by kirvane-batch and kirvane-sweep so that both
// start, refuse and report alike, as the main window would in the start-up folder: the stock
// master index.txt and the settings kvn.conf read there (kvn.conf created at first start), then
// the signal file loaded and the run's window chosen. What the window would show in a message
// box or its status line is printed as a line on `err`.

#include "data/SignalFileLoader.h"
#include "data/SignalRows.h"
#include "data/SimulatorApp.h"
#include "sim/Backtest.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

namespace kv {

// False, after saying so on `err`, when the folder has no readable stock master: the window
// would ask for one until chosen, a command-line run cannot.
bool stockMasterReadable(const std::filesystem::path& folder, std::ostream& err, const std::string& tool);

// How the preparation of a run ended; every case but Ready has had its message printed.
enum class RunPreparation {
    Ready,         // the rows are loaded and the window chosen
    CannotOpen,    // the signal file cannot be opened or read
    TooManyDates,  // the signal file has more dates than the program holds
    NoRows,        // the signal file lists no signal
    Refused,       // a row of the window, or a missing stock master, refuses the run
};

class BatchSession {
public:
    // Reads index.txt and kvn.conf in `folder`.
    BatchSession(const std::filesystem::path& folder, std::ostream& err);
    BatchSession(const BatchSession&) = delete;
    BatchSession& operator=(const BatchSession&) = delete;

    // Loads the signal file and chooses the first and the last row of the run, refusing as the
    // window refuses 読み込み, 開始日指定, 終了日指定 and 実行.
    RunPreparation prepare(const std::filesystem::path& signalFile, std::optional<int> startRow,
                           std::optional<int> endRow);
    int signalRows() const { return loadedSignals.count(); }

    std::ostream& err;
    std::unique_ptr<SimulatorApp> app;
    bool masterLoaded = false;
    SignalRows loadedSignals;
    LoadWarnings loadWarnings;  // of the signal file loaded
    // The run, with the settings as read; a caller sets its own before starting.
    Backtest engine;
};

}  // namespace kv
