// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The application's data: the stock master, the statistics of the loaded signal file and the
// settings, each passed to whoever needs it. The window owns one; so does each run of the
// command-line tools. The signals themselves are typed rows (SignalRows) beside it.

#include "data/SignalTallies.h"
#include "data/StockMaster.h"
#include "settings/SimulationSettings.h"

#include <filesystem>

namespace kv {

class SimulatorApp {
public:
    SimulatorApp() = default;
    SimulatorApp(const SimulatorApp&) = delete;
    SimulatorApp& operator=(const SimulatorApp&) = delete;

    StockMaster master;
    SignalTallies tallies;
    SimulationSettings settings;

    // The folder of the stock master in use; the settings file is kept beside it.
    std::filesystem::path dataFolder;
    std::filesystem::path settingsFile() const;
};

}  // namespace kv
