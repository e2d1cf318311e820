// SPDX-License-Identifier: GPL-3.0-or-later
// A signal file of any content: loaded into the signal list and the tallies, every figure of
// the statistics computed, and every listed row read back.

#include "FuzzSupport.h"
#include "data/SignalFileLoader.h"
#include "data/SignalRows.h"
#include "sim/RowReader.h"
#include "stats/TallyFigures.h"

#include <cstdlib>
#include <initializer_list>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    kv::SimulatorApp& app = kv::fuzz::sharedApp();
    kv::SignalRows rows;
    kv::LineReader reader{std::string(kv::fuzz::bytes(data, size))};
    kv::SignalLoadResult loaded = kv::loadSignalFile(reader, app.master, app.tallies, rows);
    if (loaded.rowCount != rows.count() || app.tallies.dateTally.size() != app.tallies.slotDate.size())
        std::abort();

    const kv::SignalTally none{};
    const kv::SignalTally& firstDay = app.tallies.dateTally.empty() ? none : app.tallies.dateTally[0];
    for (const kv::SignalTally* tally : std::initializer_list<const kv::SignalTally*>{
             &app.tallies.overallTally, &app.tallies.stockTally[1301], &firstDay}) {
        kv::percentText(kv::successShare(*tally));
        kv::percentText(kv::failureShare(*tally));
        kv::percentText(kv::unknownShare(*tally));
        kv::percentText(kv::averageProfitOnSuccess(*tally));
        kv::percentText(kv::averageProfitOnFailure(*tally));
        kv::percentText(kv::simpleAverageProfit(*tally, app.settings.unknownProfitRate));
    }
    kv::percentText(kv::perDayAverageProfit(app.tallies.dateTally, app.settings.unknownProfitRate));

    kv::ListRow row;
    for (int i = 0; i < rows.count(); ++i)
        kv::readListRow(rows.text(i), false, app, row);
    return 0;
}
