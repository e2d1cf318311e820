// A whole back-test of any input: the first line is kvn.conf, the rest a signal file. The file
// is loaded and run from its first to its last row, with the trade log written, to the final
// liquidation.

#include "FuzzSupport.h"
#include "data/SignalFileLoader.h"
#include "settings/SettingsFile.h"
#include "sim/TradingSimulation.h"
#include "toolkit/ListBox.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    kv::SimulatorApp& app = kv::fuzz::sharedApp();
    std::string_view signals;
    std::string_view settingsLine = kv::fuzz::firstLine(kv::fuzz::bytes(data, size), signals);
    app.settings = kv::parseSettingsLine(settingsLine.substr(0, kv::kMaxLineBytes));
    app.settings.saveLog = true;

    kv::ListBox list;
    kv::LineReader reader{std::string(signals)};
    kv::SignalLoadResult loaded = kv::loadSignalFile(reader, app, list);
    if (loaded.rowCount == 0 || loaded.tooManyDates)
        return 0;

    kv::TradingSimulation sim(app, list);
    sim.setStartingAssets();
    sim.start(0, loaded.rowCount - 1, std::filesystem::path("/dev/null"));
    // Each row takes a few phases; a run that does not end is a fault.
    for (int step = 0; !sim.finished(); ++step) {
        if (step > 10 * loaded.rowCount + 20)
            std::abort();
        sim.simulateStep();
    }
    return 0;
}
