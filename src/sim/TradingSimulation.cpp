#include "sim/TradingSimulation.h"

#include "data/SignalListLine.h"
#include "data/SimulatorApp.h"
#include "sim/BuyPhase.h"
#include "sim/Commission.h"
#include "sim/NetProfit.h"
#include "sim/RowReader.h"
#include "text/Cp932.h"
#include "text/Format.h"
#include "text/Numbers.h"

#include <vector>

namespace kv {

TradingSimulation::TradingSimulation(SimulatorApp& app, const ListBox& signalList)
    : TradingSimulation(app, app.settings, signalList)
{}

TradingSimulation::TradingSimulation(const SimulatorApp& master, SimulationSettings& settings,
                                     const ListBox& signalList)
    : master(master), settings(settings), signalList(signalList)
{}

StepOutcome TradingSimulation::start(int firstRow, int lastRow,
                                     const std::optional<std::filesystem::path>& logFile)
{
    fig.startRow = firstRow;
    fig.endRow = lastRow;
    fig.endReached = false;
    setState(SimState::AfterSale);
    fig.simCnt = firstRow;
    fig.autoRunning = false;
    setStartingAssets();
    fig.sellListProfit = 0;
    fig.holdingsValue = 0;
    fig.sellListAmount = 0;
    fig.unrealizedLoss = 0;
    fig.cumulativeProfit = -settings.lossWithinThreeYears;
    fig.purchases = fig.sales = fig.steps = fig.liquidations = 0;
    holdings.clear();
    candidates.clear();
    dueForSale.clear();
    runResults.begin(settings.capital);
    dayGathered = false;

    tradeLog.close();
    tradeLog.startRecord();
    const bool logOpenFailed = logFile && !tradeLog.open(*logFile);
    StepOutcome outcome = simulateStep();
    outcome.logOpenFailed = logOpenFailed;
    return outcome;
}

StepOutcome TradingSimulation::simulateStep()
{
    StepOutcome outcome;
    switch (fig.simState) {
    case SimState::DayDone:
        openDay(outcome);
        break;
    case SimState::BeforeSale:
        sellDueList(outcome);
        break;
    case SimState::AfterSale:
        gatherDay(outcome);
        break;
    case SimState::BeforeBuy:
        outcome.messageLine = BuyPhase(*this).run();
        break;
    case SimState::AfterBuy:
        closeDay();
        break;
    case SimState::Ended:
        ++fig.steps;
        liquidate(outcome);
        return outcome;
    case SimState::BeforeRun:
        return outcome;
    }
    ++fig.steps;
    outcome.logWriteFailed = tradeLog.takeWriteFailure();
    return outcome;
}

void TradingSimulation::reset()
{
    setState(SimState::BeforeRun);
    holdings.clear();
    candidates.clear();
    dueForSale.clear();
    tradeLog.close();
}

void TradingSimulation::setStartingAssets()
{
    fig.operatingAssets = settings.capital * settings.leverage;
    fig.totalAssets = settings.capital;
}

ListBox& TradingSimulation::listToShow(PortfolioList which)
{
    switch (which) {
    case PortfolioList::Candidates:
        return candidates.listBox();
    case PortfolioList::SellList:
        return dueForSale.listBox();
    case PortfolioList::Holdings:
        break;
    }
    return holdings.listBox();
}

std::string TradingSimulation::positionReadout(std::string_view row) const
{
    ListRow position;
    readListRow(row, true, master, settings.unknownProfitRate, position);
    return kv::positionReadout(position);
}

// Commission of a purchase of `amount` yen: sets lastCommission and the settings'
// maxCommission by the chosen schedule.
void TradingSimulation::commissionFor(double amount)
{
    Commission commission = kv::commissionFor(settings.schedule(), amount);
    fig.lastCommission = commission.charge;
    settings.maxCommission = commission.maximum;
}

// What may still be bought: the assets at leverage less the cost of what is held.
double TradingSimulation::buyingPower() const
{
    return fig.totalAssets * settings.leverage - fig.holdingsValue;
}

void TradingSimulation::reportHoldings(double value)
{
    fig.holdingsValue = value;
    fig.reportedHoldingsValue = value;
}

// Opens the next day: its first row names the date, and every holding that is due by then moves
// to the sell list — ending on or before today when selling comes first, before today when
// buying does.
void TradingSimulation::openDay(StepOutcome& outcome)
{
    signalList.copyRow(fig.simCnt, rowBuffer);
    fig.currentDate.assign(listToken(rowBuffer, 2));
    RowFigures day;
    readRowFigures(rowBuffer, false, master, settings.unknownProfitRate, day);
    const int32_t today = day.signalDate;
    const bool buyFirst = settings.order() == TradeOrder::BuyFirst;
    std::vector<int> due;
    {
        ListBox::AppendBatch batch(dueForSale.listBox());
        for (int i = 0; i < holdings.count(); ++i) {
            const int32_t endDate = holdings.parsed(i).endDate;
            if (buyFirst ? today > endDate : today >= endDate) {
                dueForSale.append(holdings.text(i), holdings.parsed(i));
                due.push_back(i);
            }
        }
    }
    holdings.removeRows(due);

    fig.sellListAmount = 0;
    fig.sellListProfit = 0;
    for (int i = 0; i < dueForSale.count(); ++i) {
        fig.sellListAmount += dueForSale.parsed(i).exitValue();
        fig.sellListProfit += dueForSale.parsed(i).grossProfit();
    }
    fig.reportedSellList = SellListFigure{fig.sellListAmount, fig.sellListProfit};
    static const std::string profitLine = toCp932("現在利益：%.0f");
    outcome.messageLine = format(profitLine, {fig.cumulativeProfit});
    setState(SimState::BeforeSale);
}

// Sells the whole sell list in list order; rows go in order and the list is emptied once, so a
// long list costs linear time.
void TradingSimulation::sellAll(bool showEndDates)
{
    for (int i = 0; i < dueForSale.count(); ++i) {
        const RowFigures& position = dueForSale.parsed(i);
        if (showEndDates)
            fig.currentDate = dateText(position.endDate);
        sellPosition(position, dueForSale.text(i));
    }
    dueForSale.clear();
}

// The sale of a position (its figures and its row) at its signal's sell price: no commission,
// tax by netProfit.
void TradingSimulation::sellPosition(const RowFigures& position, std::string_view row)
{
    double net =
        netProfit(position.grossProfit(), position.priceDifference(), fig.cumulativeProfit, settings.taxRate);
    fig.cumulativeProfit += net;
    fig.totalAssets += net;
    fig.operatingAssets += position.cost() + net;
    ++fig.sales;
    runResults.sale(position.grossProfit(), net);
    tradeLog.writeSell(position, rowName(row), fig.cumulativeProfit, net, fig.operatingAssets, fig.totalAssets);
}

void TradingSimulation::sellDueList(StepOutcome& outcome)
{
    sellAll(false);
    reportHoldings(sumOverHoldings(&RowFigures::cost));
    fig.reportedSellList.reset();
    setState(SimState::AfterSale);
    outcome.messageLine.emplace();
}

// Gathers the next day: the rows from simCnt on whose date text equals the first one's, never
// beyond endRow. Afterwards simCnt indexes the first row of the following day.
void TradingSimulation::gatherDay(StepOutcome& outcome)
{
    signalList.copyRow(fig.simCnt, rowBuffer);
    if (fig.simCnt <= fig.endRow) {
        const std::string dayText(listToken(rowBuffer, 2));
        fig.currentDate = dayText;
        dayDate = rowDate(dayText);
        dayGathered = true;
        ++fig.simCnt;
        ListBox::AppendBatch batch(candidates.listBox());
        std::string kept;
        for (;;) {
            kept = rowBuffer;
            signalList.copyRow(fig.simCnt, rowBuffer);
            const bool pastEnd = fig.simCnt > fig.endRow;
            RowFigures parsed;
            readRowFigures(kept, false, master, settings.unknownProfitRate, parsed);
            candidates.append(std::move(kept), parsed);
            ++fig.simCnt;
            // Past the window the day always ends, even for a date text that happens to read
            // like the end marker.
            if (pastEnd) {
                fig.endReached = true;
                break;
            }
            if (listToken(rowBuffer, 2) != dayText)
                break;
        }
    } else {
        fig.endReached = true;
        dayGathered = false;
    }
    --fig.simCnt;
    setState(SimState::BeforeBuy);
    outcome.messageLine = format("sim_cnt:%d line_hold:%d line_buy:%d line_sell:%d",
                                 {fig.simCnt, holdings.count(), candidates.count(), dueForSale.count()});
}

// Closes the day: the candidates not bought are dropped, and the day's assets become its point
// of the results.
void TradingSimulation::closeDay()
{
    candidates.clear();
    if (dayGathered)
        runResults.closeDay(dayDate, fig.totalAssets);
    setState(fig.endReached ? SimState::Ended : SimState::DayDone);
}

void TradingSimulation::liquidate(StepOutcome& outcome)
{
    if (fig.autoRunning) {
        fig.autoRunning = false;
        outcome.stoppedAuto = true;
    }
    holdings.moveAllTo(dueForSale);
    sellAll(true);
    runResults.liquidated(fig.totalAssets);
    tradeLog.close();
    reportHoldings(sumOverHoldings(&RowFigures::cost));
    fig.reportedSellList.reset();
    ++fig.liquidations;
    outcome.logWriteFailed = tradeLog.takeWriteFailure();
    outcome.finished = true;
}

double TradingSimulation::sumOverHoldings(double (RowFigures::*value)() const) const
{
    double sum = 0;
    for (int i = 0; i < holdings.count(); ++i)
        sum += (holdings.parsed(i).*value)();
    return sum;
}

}  // namespace kv
