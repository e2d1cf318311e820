#include "sim/TradeLog.h"

#include "sim/ListRow.h"
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
    file.reset(std::fopen(path.c_str(), "wb"));
    if (!file)
        return false;
    writeLine(headerLine());
    return true;
}

void TradeLog::startRecord()
{
    tradeRecord.start(headerLine());
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
    tradeRecord.add(line);
    if (file)
        writeLine(line);
}

void TradeLog::writeLine(const std::string& line)
{
    if (std::fwrite(line.data(), 1, line.size(), file.get()) == line.size() && std::fflush(file.get()) == 0)
        return;
    file.reset();
    writeFailed = true;
}

void TradeLog::close()
{
    file.reset();
    tradeRecord.trim();
}

bool TradeLog::takeWriteFailure()
{
    bool failed = writeFailed;
    writeFailed = false;
    return failed;
}

}  // namespace kv
