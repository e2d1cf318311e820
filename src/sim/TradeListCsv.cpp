// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/TradeListCsv.h"

#include "data/SignalRows.h"
#include "text/Cp932.h"
#include "text/Format.h"
#include "text/Numbers.h"
#include "text/OutputFile.h"

namespace kv {

std::string tradeListCsv(const RunResults& results, const SignalRows& rows)
{
    static const std::string header = toCp932(
        "コード,銘柄名,購入日,売却日,保有日数,株数,購入金額,売却金額,手数料,差引益,税引き益,利益率\r\n");
    const std::vector<Trade>& trades = results.tradeList();
    std::string text = header;
    text.reserve(header.size() + trades.size() * 96);
    for (const Trade& trade : trades) {
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
    return text;
}

bool writeTradeListCsv(const RunResults& results, const SignalRows& rows, const std::filesystem::path& file)
{
    return writeWholeFile(file, tradeListCsv(results, rows)) == WriteResult::Written;
}

}  // namespace kv
