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

#include <algorithm>
#include <array>

#include <string_view>

namespace kv {

namespace {

inline constexpr size_t kSignalFieldCount = 7;
inline constexpr std::string_view kUnsettledEndDate = "9999/99/99";
inline constexpr size_t kWarningLinesKept = 5;

// The field without the line end that the last field of a line carries.
std::string_view withoutLineEnd(std::string_view field)
{
    while (!field.empty() && (field.back() == '\n' || field.back() == '\r'))
        field.remove_suffix(1);
    return field;
}

// True when the field holds something besides digits (and, for a date, slashes).
bool holdsMoreThan(std::string_view field, bool slashes)
{
    for (char c : withoutLineEnd(field))
        if (!(c >= '0' && c <= '9') && !(slashes && c == '/'))
            return true;
    return false;
}

}  // namespace

bool LoadWarnings::any() const
{
    for (const Kind& kind : kinds)
        if (kind.count > 0)
            return true;
    return false;
}

void LoadWarnings::add(LoadWarning kind, int line)
{
    Kind& k = kinds[static_cast<size_t>(kind)];
    ++k.count;
    if (k.firstLines.size() < kWarningLinesKept)
        k.firstLines.push_back(line);
}

std::string loadWarningsText(const LoadWarnings& warnings)
{
    static const std::array<std::string, kLoadWarningKinds> names = {
        toCp932("価格に数字以外を含む行"), toCp932("日付に数字以外を含む行"), toCp932("銘柄が見つからない行"),
        toCp932("空行"), toCp932("項目が足りない行")};
    static const std::string heading = toCp932("注意：");
    static const std::string separator = toCp932("、");
    std::string text;
    for (size_t i = 0; i < kLoadWarningKinds; ++i) {
        if (warnings.kinds[i].count == 0)
            continue;
        text += text.empty() ? heading : separator;
        text += names[i] + " " + std::to_string(warnings.kinds[i].count);
    }
    return text;
}

const char* loadWarningKey(LoadWarning kind)
{
    switch (kind) {
    case LoadWarning::NonDigitPrice:
        return "nonDigitPrices";
    case LoadWarning::NonDigitDate:
        return "nonDigitDates";
    case LoadWarning::UnknownName:
        return "unknownNames";
    case LoadWarning::EmptyLine:
        return "emptyLines";
    case LoadWarning::ShortRow:
        break;
    }
    return "shortRows";
}

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
    int lineNumber = 1;  // the header's
    while (std::optional<std::string_view> physical = reader.next()) {
        ++lineNumber;
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

        if (withoutLineEnd(*physical).empty()) {
            result.warnings.add(LoadWarning::EmptyLine, lineNumber);
        } else {
            // The end date and sell price of a "判定不可" row are the program's own by now.
            const bool settled = row.endDate != kUnsettledEndDate;
            if (holdsMoreThan(row.buyPrice, false) || (settled && holdsMoreThan(row.sellPrice, false)))
                result.warnings.add(LoadWarning::NonDigitPrice, lineNumber);
            if (holdsMoreThan(row.signalDate, true) || (settled && holdsMoreThan(row.endDate, true)))
                result.warnings.add(LoadWarning::NonDigitDate, lineNumber);
            if (code == 0)
                result.warnings.add(LoadWarning::UnknownName, lineNumber);
            // A field that is not there reads as empty, and an empty price or date as 0.
            const bool cutShort =
                std::count(text.begin(), text.end(), ',') + 1 < static_cast<ptrdiff_t>(kSignalFieldCount) ||
                withoutLineEnd(row.buyPrice).empty() || withoutLineEnd(row.signalDate).empty() ||
                (settled && (withoutLineEnd(row.sellPrice).empty() || withoutLineEnd(row.endDate).empty())) ||
                reader.lastLineCut();
            if (cutShort)
                result.warnings.add(LoadWarning::ShortRow, lineNumber);
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
