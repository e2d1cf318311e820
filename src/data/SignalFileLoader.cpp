// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/SignalFileLoader.h"

#include "data/SignalListLine.h"
#include "data/SignalRows.h"
#include "data/SignalTallies.h"
#include "data/StockMaster.h"
#include "stats/Tallies.h"
#include "text/Cp932.h"
#include "text/LineReader.h"
#include "text/Numbers.h"

#include <string_view>

namespace kv {

namespace {

inline constexpr size_t kSignalFieldCount = 7;
inline constexpr std::string_view kUnsettledEndDate = "9999/99/99";

}  // namespace

SignalLoadResult loadSignalFile(LineReader& reader, const StockMaster& master, SignalTallies& tallies,
                                SignalRows& rows)
{
    SignalLoadResult result;
    tallies.clear();
    // Room for every line of the file at once: a list line is its fields, the code and the unit.
    rows.clear(reader.lineCount(), reader.byteCount() + 16 * reader.lineCount());

    if (!reader.next()) {
        rows.trim();
        return result;  // not even a header
    }

    std::string widened;  // reused: a row with blanks is rewritten here
    std::string line;     // reused: each list line is built here
    size_t slot = 0;
    while (std::optional<std::string_view> physical = reader.next()) {
        std::string_view text = *physical;
        if (text.find(' ') != std::string_view::npos) {
            widened = widenBlanks(text);
            text = std::string_view(widened).substr(0, kMaxLineBytes);
        }
        Fields<kSignalFieldCount> field = splitFields<kSignalFieldCount>(text);
        SignalRowTexts row{field[0], field[1], field[2], field[3], field[4], field[5], field[6]};

        int32_t code = master.highestCodeNamed(row.name);

        // A new slot whenever the date differs from the current slot's: a date that comes back
        // after another opens a slot of its own. A date that reads as none (0) leaves its slot
        // open for the next date.
        int32_t date = fieldDate(row.signalDate);
        if (tallies.slotDate.empty()) {
            tallies.slotDate.push_back(date);
            tallies.dateTally.emplace_back();
        } else if (tallies.slotDate[slot] == 0) {
            tallies.slotDate[slot] = date;
        } else if (tallies.slotDate[slot] != date) {
            if (slot + 1 == kDateSlotCount) {
                result.tooManyDates = true;
                rows.trim();
                return result;
            }
            tallies.slotDate.push_back(date);
            tallies.dateTally.emplace_back();
            ++slot;
        }

        if (row.buyPrice == kNotExecuted)
            continue;
        if (row.resultMark == kMarkUnknown && row.performance.starts_with(kUndeterminable)) {
            row.endDate = kUnsettledEndDate;
            row.sellPrice = row.buyPrice;
        }

        tallyRow(tallies.tables(), code, static_cast<int32_t>(slot), row.resultMark, row.buyPrice,
                 row.sellPrice);
        buildListLine(line, code, row, master.tradingUnit[static_cast<size_t>(code)]);
        rows.append(line, master);

        if (result.rowCount == 0)
            result.firstDateText.assign(row.signalDate);
        result.lastDateText.assign(row.signalDate);
        ++result.rowCount;
    }
    rows.trim();
    return result;
}

}  // namespace kv
