// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/TradeLog.h"

#include "data/ListRow.h"
#include "text/Cp932.h"
#include "text/Format.h"
#include "text/Numbers.h"

namespace kv {

namespace {

const std::string& headerLine()
{
    static const std::string text = toCp932("売買,コード,銘柄名,日付,株価,株数,金額,差引益or手数料,利益率,"
                                            "現利益合計,税引き益,運用枠残,現在の資産\r\n");
    return text;
}

const std::string& buyFormat()
{
    static const std::string text = toCp932("購入,%d,%s,%s,%d,%.0f,%.0f,%d,,,,%.0f,%.0f\r\n");
    return text;
}

const std::string& sellFormat()
{
    static const std::string text = toCp932("売却,%d,%s,%s,%d,%.0f,%.0f,%.0f,%.2f,%.0f,%.0f,%.0f,%.0f\r\n");
    return text;
}

}  // namespace

bool TradeLog::open(const std::filesystem::path& path)
{
    close();
    writeFailed = false;
    if (!logFile.open(path, OutputFile::InPlace))
        return false;
    pending = headerLine();
    flush();
    return true;
}

void TradeLog::startRecord(bool keep)
{
    keepRecord = keep;
    if (keep)
        tradeRecord.start(headerLine());
    else
        tradeRecord = TradeRecord{};
}

void TradeLog::writeBuy(const RowFigures& row, std::string_view name, int32_t commission,
                        double remainingFrame, double totalAssets)
{
    add(format(buyFormat(),
               {row.code, name, dateText(row.signalDate), row.buyPrice, row.shares(), row.cost(),
                -int64_t{commission}, remainingFrame, totalAssets}));
}

void TradeLog::writeSell(const RowFigures& row, std::string_view name, double cumulativeProfit,
                         double netProfit, double operatingAssets, double totalAssets)
{
    // The profit rate comes from the row's price ratio, which is 0 (not a division by zero)
    // for a buy price of 0.
    add(format(sellFormat(),
               {row.code, name, dateText(row.endDate), row.sellPrice, row.shares(), row.exitValue(),
                row.grossProfit(), (row.priceRatio - 1) * 100, cumulativeProfit, netProfit, operatingAssets,
                totalAssets}));
}

void TradeLog::add(const std::string& line)
{
    if (keepRecord)
        tradeRecord.add(line);
    if (logFile.isOpen())
        pending += line;
}

void TradeLog::flush()
{
    if (!logFile.isOpen() || pending.empty())
        return;
    if (!logFile.write(pending)) {
        fail();
        return;
    }
    pending.clear();
}

// A write failed: the file is closed and the lines not written are dropped.
void TradeLog::fail()
{
    (void)logFile.close();  // the failure is already known
    pending = std::string();
    writeFailed = true;
}

void TradeLog::close()
{
    flush();
    if (logFile.isOpen() && !logFile.close())
        writeFailed = true;
    pending = std::string();
    tradeRecord.trim();
}

bool TradeLog::takeWriteFailure()
{
    bool failed = writeFailed;
    writeFailed = false;
    return failed;
}

}  // namespace kv
