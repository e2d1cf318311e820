#include "sim/TradingSimulation.h"

#include "data/SignalListLine.h"
#include "data/SimulatorApp.h"
#include "resources/ControlIds.h"
#include "resources/Messages.h"
#include "sim/BuyPhase.h"
#include "sim/Commission.h"
#include "sim/NetProfit.h"
#include "sim/RowReader.h"
#include "text/Cp932.h"
#include "text/Format.h"
#include "text/Numbers.h"
#include "toolkit/Platform.h"

namespace kv {

namespace {

const std::string& stateName(int state)
{
    static const std::string beforeSale = toCp932("売却前待機");
    static const std::string afterSale = toCp932("売却後待機");
    static const std::string beforeBuy = toCp932("購入前待機");
    static const std::string afterBuy = toCp932("購入後待機");
    static const std::string dayDone = toCp932("購入完了");
    static const std::string ended = toCp932("終了");
    switch (state) {
    case 1:
        return beforeSale;
    case 2:
        return afterSale;
    case 3:
        return beforeBuy;
    case 4:
        return afterBuy;
    case 5:
        return dayDone;
    case 99:
        return ended;
    default:
        return messages::stateBeforeRun;
    }
}

}  // namespace

TradingSimulation::TradingSimulation(SimulatorApp& app, Platform& platform, const ListBox& signalList,
                                     std::string& messageLine)
    : app(app), platform(platform), signalList(signalList), messageLine(messageLine)
{
}

void TradingSimulation::start(int firstRow, int lastRow)
{
    const SimulationSettings& settings = app.settings;
    startRow = firstRow;
    endRow = lastRow;
    endReached = false;
    setState(2);
    simCnt = startRow;
    autoRunning = false;
    operatingAssets = settings.capital * settings.leverage;
    totalAssets = settings.capital;
    showTotals();
    sellListProfit = 0;
    holdingsValue = 0;
    sellListAmount = 0;
    unrealizedLoss = 0;
    cumulativeProfit = -settings.lossWithinThreeYears;
    purchases = sales = steps = liquidations = 0;
    holdingsList.clear();
    candidateList.clear();
    sellList.clear();

    tradeLog.close();
    if (app.settings.saveLog)
        tradeLog.open(platform, app.settings);
    simulateStep();
}

void TradingSimulation::simulateStep()
{
    switch (simState) {
    case 5:
        openDay();
        break;
    case 1:
        sellDueList();
        break;
    case 2:
        gatherDay();
        break;
    case 3:
        BuyPhase(*this).run();
        break;
    case 4:
        closeDay();
        break;
    case 99:
        ++steps;
        liquidate();
        return;
    default:
        return;
    }
    ++steps;
    reportLogFailure();
}

void TradingSimulation::reset()
{
    setState(0);
    holdingsList.clear();
    candidateList.clear();
    sellList.clear();
    tradeLog.close();
}

void TradingSimulation::showSelection(int listControlId, const DetailFields& fields)
{
    const ListBox* list = nullptr;
    bool position = true;
    switch (listControlId) {
    case IDC_HOLDINGS_LIST:
        list = &holdingsList;
        break;
    case IDC_SELL_LIST:
        list = &sellList;
        break;
    case IDC_CANDIDATE_LIST:
        list = &candidateList;
        position = false;
        break;
    default:
        return;
    }
    if (!list->copyRow(list->selection(), rowBuffer))
        return;
    showRowDetails(rowBuffer, fields);
    if (!position)
        return;
    readListRow(true);
    messageLine = positionReadout(listRow);
}

void TradingSimulation::readListRow(bool withLots)
{
    kv::readListRow(rowBuffer, withLots, app, listRow);
}

void TradingSimulation::commissionFor(double amount)
{
    Commission commission = kv::commissionFor(app.settings.commissionSchedule, amount);
    lastCommission = commission.charge;
    app.settings.maxCommission = commission.maximum;
}

void TradingSimulation::showTotals()
{
    totalAssetsText = moneyText(totalAssets);
    operatingAssetsText = moneyText(operatingAssets);
}

void TradingSimulation::setState(int state)
{
    simState = state;
    stateText = stateName(state);
}

// Opens the next day: its first row names the date, and every holding that is due by then moves
// to the sell list — ending on or before today when selling comes first, before today when
// buying does.
void TradingSimulation::openDay()
{
    signalList.copyRow(simCnt, rowBuffer);
    currentDateText.assign(listToken(rowBuffer, 2));
    readListRow(false);
    const int32_t today = listRow.signalDate;
    const bool buyFirst = app.settings.tradeOrder;
    for (int i = 0; i < holdingsList.count();) {
        holdingsList.copyRow(i, rowBuffer);
        readListRow(true);
        bool due = buyFirst ? today > listRow.endDate : today >= listRow.endDate;
        if (!due) {
            ++i;
            continue;
        }
        sellList.append(rowBuffer);
        holdingsList.remove(i);
    }

    sellListAmount = 0;
    sellListProfit = 0;
    for (int i = 0; i < sellList.count(); ++i) {
        sellList.copyRow(i, rowBuffer);
        readListRow(true);
        sellListAmount += listRow.exitValue();
        sellListProfit += listRow.grossProfit();
    }
    sellFigureText = sellFigure(sellListAmount, sellListProfit);
    static const std::string profitLine = toCp932("現在利益：%.0f");
    messageLine = format(profitLine, {cumulativeProfit});
    setState(1);
    showTotals();
}

// Sells the whole sell list in list order at each signal's sell price: no commission, tax by
// netProfit. Rows go in order and the list is emptied once, so a long list costs linear time.
void TradingSimulation::sellAll(bool showEndDates)
{
    for (int i = 0; i < sellList.count(); ++i) {
        sellList.copyRow(i, rowBuffer);
        readListRow(true);
        if (showEndDates)
            currentDateText = dateText(listRow.endDate);
        double net = netProfit(listRow.grossProfit(), listRow.priceDifference(), cumulativeProfit,
                               app.settings.taxRate);
        cumulativeProfit += net;
        totalAssets += net;
        operatingAssets += listRow.cost() + net;
        ++sales;
        tradeLog.writeSell(listRow, cumulativeProfit, net, operatingAssets, totalAssets);
    }
    sellList.clear();
}

void TradingSimulation::sellDueList()
{
    sellAll(false);
    showTotals();
    holdingsValue = sumOverHoldings(&ListRow::cost);
    holdingsFigureText = holdingsFigure(holdingsValue);
    sellFigureText.clear();
    setState(2);
    messageLine.clear();
}

// Gathers the next day: the rows from simCnt on whose date text equals the first one's, never
// beyond endRow. Afterwards simCnt indexes the first row of the following day.
void TradingSimulation::gatherDay()
{
    signalList.copyRow(simCnt, rowBuffer);
    if (simCnt <= endRow) {
        const std::string dayText(listToken(rowBuffer, 2));
        currentDateText = dayText;
        ++simCnt;
        ListBox::AppendBatch batch(candidateList);
        std::string kept;
        for (;;) {
            kept = rowBuffer;
            signalList.copyRow(simCnt, rowBuffer);
            const bool pastEnd = simCnt > endRow;
            candidateList.append(std::move(kept));
            ++simCnt;
            // Past the window the day always ends, even for a date text that happens to read
            // like the end marker.
            if (pastEnd) {
                endReached = true;
                break;
            }
            if (listToken(rowBuffer, 2) != dayText)
                break;
        }
    } else {
        endReached = true;
    }
    --simCnt;
    setState(3);
    messageLine = format("sim_cnt:%d line_hold:%d line_buy:%d line_sell:%d",
                         {simCnt, holdingsList.count(), candidateList.count(), sellList.count()});
    showTotals();
}

void TradingSimulation::closeDay()
{
    candidateList.clear();
    setState(endReached ? 99 : 5);
}

void TradingSimulation::liquidate()
{
    if (autoRunning) {
        autoRunning = false;
        if (stopAutoTimer)
            stopAutoTimer();
    }
    {
        ListBox::AppendBatch batch(sellList);
        for (int i = 0; i < holdingsList.count(); ++i)
            sellList.append(holdingsList.row(i));
    }
    holdingsList.clear();
    sellAll(true);
    tradeLog.close();
    showTotals();
    holdingsValue = sumOverHoldings(&ListRow::cost);
    holdingsFigureText = holdingsFigure(holdingsValue);
    sellFigureText.clear();
    ++liquidations;
    reportLogFailure();
    static const std::string endMessage = toCp932("シミュレーション終了！");
    platform.messageBox(endMessage);
}

double TradingSimulation::sumOverHoldings(double (ListRow::*value)() const)
{
    double sum = 0;
    for (int i = 0; i < holdingsList.count(); ++i) {
        holdingsList.copyRow(i, rowBuffer);
        readListRow(true);
        sum += (listRow.*value)();
    }
    return sum;
}

void TradingSimulation::reportLogFailure()
{
    static const std::string writeFailed =
        toCp932("ログファイルに書き込めません。このシミュレーションのログ保存を取りやめます。");
    if (tradeLog.takeWriteFailure())
        platform.messageBox(writeFailed);
}

}  // namespace kv
