// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/TradeListCsv.h"

#include "sim/TradeColumns.h"
#include "text/Cp932.h"
#include "text/Format.h"
#include "text/Numbers.h"
#include "text/OutputFile.h"

#include <charconv>

namespace kv {

namespace {

const std::string& header()
{
    static const std::string text = [] {
        std::string line;
        for (const TradeColumn& column : tradeColumns())
            line += (line.empty() ? "" : ",") + std::string(column.heading);
        return toCp932(line + "\r\n");
    }();
    return text;
}

void appendWhole(std::string& text, double value)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, static_cast<int64_t>(value)).ptr;
    text.append(digits, end);
}

void appendCell(std::string& text, const TradeColumn& column, const Trade& trade, const SignalRows& rows)
{
    if (column.kind == TradeColumnKind::Name) {
        text += tradeName(trade, rows);
        return;
    }
    const std::optional<double> value = column.value(trade);
    if (!value)
        return;
    switch (column.kind) {
    case TradeColumnKind::Code:
    case TradeColumnKind::Days:
        appendWhole(text, *value);
        return;
    case TradeColumnKind::Date:
        text += paddedDateText(static_cast<int32_t>(*value));
        return;
    case TradeColumnKind::Shares:
    case TradeColumnKind::Yen:
        appendFixed(text, *value, tradeAmountDecimals);
        return;
    case TradeColumnKind::Rate:
        appendFixed(text, *value, tradeRateDecimals);
        return;
    case TradeColumnKind::Ending:
        text += tradeEndingText(*value);
        return;
    case TradeColumnKind::Name:
        return;
    }
}

void appendTrade(std::string& text, const Trade& trade, const SignalRows& rows)
{
    bool first = true;
    for (const TradeColumn& column : tradeColumns()) {
        if (!first)
            text += ',';
        first = false;
        appendCell(text, column, trade, rows);
    }
    text += "\r\n";
}

}  // namespace

bool writeTradeListCsv(const RunResults& results, const SignalRows& rows, const std::filesystem::path& file)
{
    // Written a piece at a time: a long run's list would otherwise double in memory as text.
    constexpr size_t piece = 1 << 20;
    OutputFile out;
    if (!out.open(file))
        return false;
    std::string text = header();
    text.reserve(piece + 512);
    for (const Trade& trade : results.tradeList()) {
        appendTrade(text, trade, rows);
        if (text.size() >= piece) {
            if (!out.write(text))
                break;
            text.clear();
        }
    }
    out.write(text);  // nothing after a failed write
    return out.close();
}

}  // namespace kv
