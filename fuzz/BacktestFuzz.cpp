// SPDX-License-Identifier: GPL-3.0-or-later
// A whole back-test of any input: the first line is kvn.conf, the rest a signal file. The file
// is loaded and run from its first to its last row, with the trade log written, to the final
// liquidation.

#include "FuzzSupport.h"
#include "data/SignalFileLoader.h"
#include "settings/SettingsFile.h"
#include "data/SignalRows.h"
#include "sim/Backtest.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    kv::SimulatorApp& app = kv::fuzz::sharedApp();
    std::string_view signals;
    std::string_view settingsLine = kv::fuzz::firstLine(kv::fuzz::bytes(data, size), signals);
    app.settings = kv::parseSettingsLine(settingsLine.substr(0, kv::kMaxLineBytes));
    app.settings.saveLog = true;

    kv::SignalRows rows;
    kv::LineReader reader{std::string(signals)};
    kv::SignalLoadResult loaded = kv::loadSignalFile(reader, app.master, app.tallies, rows);
    if (loaded.rowCount == 0 || loaded.tooManyDates)
        return 0;

    kv::Backtest engine(app.master, rows, app.settings);
    engine.chooseAllRows(loaded.firstDateText, loaded.lastDateText);
    engine.start(std::filesystem::path("/dev/null"), true);
    // Each row takes a few phases; a run that does not end is a fault.
    for (int step = 0; !engine.finished(); ++step) {
        if (step > 10 * loaded.rowCount + 20)
            std::abort();
        engine.step();
    }
    return 0;
}
