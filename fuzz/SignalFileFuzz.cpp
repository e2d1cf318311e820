// A signal file of any content: loaded into the signal list and the tallies, every figure of
// the statistics computed, and every listed row read back.

#include "FuzzSupport.h"
#include "data/SignalFileLoader.h"
#include "sim/RowReader.h"
#include "stats/TallyFigures.h"
#include "toolkit/ListBox.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    kv::SimulatorApp& app = kv::fuzz::sharedApp();
    kv::ListBox list;
    kv::LineReader reader{std::string(kv::fuzz::bytes(data, size))};
    kv::SignalLoadResult loaded = kv::loadSignalFile(reader, app, list);
    if (loaded.rowCount != list.count())
        std::abort();

    for (const kv::SignalTally* tally : {&app.overallTally, &app.stockTally[1301], &app.dateTally[0]}) {
        kv::percentText(kv::successShare(*tally));
        kv::percentText(kv::failureShare(*tally));
        kv::percentText(kv::unknownShare(*tally));
        kv::percentText(kv::averageProfitOnSuccess(*tally));
        kv::percentText(kv::averageProfitOnFailure(*tally));
        kv::percentText(kv::simpleAverageProfit(*tally, app.settings.unknownProfitRate));
    }
    kv::percentText(kv::perDayAverageProfit(app.dateTally, app.settings.unknownProfitRate));

    kv::ListRow row;
    for (int i = 0; i < list.count(); ++i)
        kv::readListRow(list.row(i), false, app, row);
    return 0;
}
