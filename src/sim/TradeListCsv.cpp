// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/TradeListCsv.h"

#include "data/SignalRows.h"
#include "text/Cp932.h"
#include "text/Format.h"
#include "text/Numbers.h"
#include "text/OutputFile.h"

namespace kv {

namespace {

const std::string& header()
{
    static const std::string text = [] {
        std::string line;
        for (const char* heading : tradeListHeadings())
            line += (line.empty() ? "" : ",") + std::string(heading);
        return toCp932(line + "\r\n");
    }();
    return text;
}

void appendTrade(std::string& text, const Trade& trade, const SignalRows& rows)
{
    text += std::to_string(trade.code);
    text += ',';
    text += rows.name(trade.signal);
    text += ',';
    text += paddedDateText(trade.buyDate);
    text += ',';
    text += paddedDateText(trade.sellDate);
    text += ',';
    if (std::optional<int64_t> days = trade.holdingDays())
        text += std::to_string(*days);
    for (double amount : {trade.shares, trade.buyAmount, trade.sellAmount}) {
        text += ',';
        appendFixed(text, amount, 0);
    }
    text += ',';
    text += std::to_string(trade.commission);
    for (double profit : {trade.grossProfit, trade.netProfit}) {
        text += ',';
        appendFixed(text, profit, 0);
    }
    text += ',';
    appendFixed(text, trade.profitRatePercent, 2);
    text += "\r\n";
}

}  // namespace

const std::array<const char*, 12>& tradeListHeadings()
{
    static const std::array<const char*, 12> headings = {"コード",   "銘柄名", "購入日",   "売却日",
                                                         "保有日数", "株数",   "購入金額", "売却金額",
                                                         "手数料",   "差引益", "税引き益", "利益率"};
    return headings;
}

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
