#include "data/SignalFileLoader.h"

#include "data/SignalListLine.h"
#include "data/SimulatorApp.h"
#include "stats/Tallies.h"
#include "text/Cp932.h"
#include "text/LineReader.h"
#include "text/Numbers.h"
#include "toolkit/ListBox.h"

#include <string_view>

namespace kv {

namespace {

inline constexpr size_t kSignalFieldCount = 7;
inline constexpr std::string_view kUnsettledEndDate = "9999/99/99";

}  // namespace

SignalLoadResult loadSignalFile(LineReader& reader, SimulatorApp& app, ListBox& signalList)
{
    SignalLoadResult result;
    signalList.clear();
    TallyTables tallies{app.overallTally, app.stockTally, app.dateTally};
    resetTallies(tallies);
    app.slotDate.fill(0);
    size_t slot = 0;

    if (!reader.next())
        return result;  // not even a header

    ListBox::AppendBatch batch(signalList);
    std::string widened;  // reused: a row with blanks is rewritten here
    std::string line;     // reused: each list line is built here, then copied at its exact size
    while (std::optional<std::string_view> physical = reader.next()) {
        std::string_view text = *physical;
        if (text.find(' ') != std::string_view::npos) {
            widened = widenBlanks(text);
            text = std::string_view(widened).substr(0, kMaxLineBytes);
        }
        Fields<kSignalFieldCount> field = splitFields<kSignalFieldCount>(text);
        SignalRowTexts row{field[0], field[1], field[2], field[3], field[4], field[5], field[6]};

        int32_t code = app.highestCodeNamed(row.name);

        // A new slot whenever the date differs from the current slot's: a date that comes back
        // after another opens a slot of its own.
        int32_t date = fieldDate(row.signalDate);
        if (app.slotDate[slot] == 0) {
            app.slotDate[slot] = date;
        } else if (app.slotDate[slot] != date) {
            if (slot + 1 == app.slotDate.size()) {
                result.tooManyDates = true;
                return result;
            }
            app.slotDate[++slot] = date;
        }

        if (row.buyPrice == kNotExecuted)
            continue;
        if (row.resultMark == kMarkUnknown && row.performance.starts_with(kUndeterminable)) {
            row.endDate = kUnsettledEndDate;
            row.sellPrice = row.buyPrice;
        }

        tallyRow(tallies, code, static_cast<int32_t>(slot), row.resultMark, row.buyPrice, row.sellPrice);
        buildListLine(line, code, row, app.tradingUnit[static_cast<size_t>(code)]);
        signalList.append(line);

        if (result.rowCount == 0)
            result.firstDateText.assign(row.signalDate);
        result.lastDateText.assign(row.signalDate);
        ++result.rowCount;
    }
    return result;
}

}  // namespace kv
