// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/TradingSimulation.h"

#include "text/ExchangeCalendar.h"

#include "data/SignalRows.h"
#include "sim/BuyPhase.h"
#include "sim/Commission.h"
#include "sim/NetProfit.h"
#include "sim/RowReader.h"
#include "text/Cp932.h"
#include "text/Format.h"
#include "text/Numbers.h"

#include <utility>
#include <vector>

namespace kv {

namespace {

// The lot count as a holdings row lists it and the row rules read it back: whole numbers below
// 2^53 print and read back exactly; beyond that the printed digits (cut to a token's 64 bytes)
// are what the position holds.
double lotsAsListed(double lots)
{
    if (lots >= 0 && lots < 9007199254740992.0)
        return lots;
    std::string text;
    appendFixed(text, lots, 0);
    return rowNumberAsDouble(std::string_view(text).substr(0, 64));
}

}  // namespace

TradingSimulation::TradingSimulation(const StockMaster& master, const SignalRows& rows,
                                     SimulationSettings& settings)
    : master(master), rows(rows), settings(settings)
{}

StepOutcome TradingSimulation::start(int firstRow, int lastRow,
                                     const std::optional<std::filesystem::path>& logFile,
                                     bool keepTradeRecord, bool keepTradeList)
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
    runResults.begin(settings.capital, keepTradeList, settings.leverage);
    taxAccount.begin(settings.lossWithinThreeYears);
    dayGathered = false;

    tradeLog.close();
    tradeLog.startRecord(keepTradeRecord);
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
    tradeLog.flush();
    outcome.logWriteFailed = tradeLog.takeWriteFailure();
    return outcome;
}

StepOutcome TradingSimulation::reset()
{
    setState(SimState::BeforeRun);
    holdings.clear();
    candidates.clear();
    dueForSale.clear();
    tradeLog.close();
    StepOutcome outcome;
    outcome.logWriteFailed = tradeLog.takeWriteFailure();
    return outcome;
}

void TradingSimulation::setStartingAssets()
{
    fig.operatingAssets = settings.capital * settings.leverage;
    fig.totalAssets = settings.capital;
}

const PositionList& TradingSimulation::list(PortfolioList which) const
{
    switch (which) {
    case PortfolioList::Candidates:
        return candidates;
    case PortfolioList::SellList:
        return dueForSale;
    case PortfolioList::Holdings:
        break;
    }
    return holdings;
}

PositionList& TradingSimulation::listToObserve(PortfolioList which)
{
    return const_cast<PositionList&>(std::as_const(*this).list(which));
}

std::string TradingSimulation::positionReadout(const Position& position) const
{
    return kv::positionReadout(position.figures);
}

void TradingSimulation::applyScheduleMaximum()
{
    settings.maxCommission = kv::commissionFor(settings.schedule(), 0).maximum;
}

// Commission of a purchase of `amount` yen: sets lastCommission.
void TradingSimulation::commissionFor(double amount)
{
    fig.lastCommission = kv::commissionFor(settings.schedule(), amount).charge;
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

// A candidate bought in `lots`: its numbers with the lot count as the holdings row lists it. A
// row the lot count cannot simply follow (a NUL byte, an odd number of tokens) is read back
// from the holdings row itself.
Position TradingSimulation::heldPosition(const Position& candidate, double lots) const
{
    Position held{candidate.signal, lots, candidate.figures};
    if (rows.takesLots(candidate.signal))
        held.figures.lots = lotsAsListed(lots);
    else
        readRowFigures(holdingsRow(rows.text(candidate.signal), lots), true, master,
                       settings.unknownProfitRate, held.figures);
    return held;
}

// Opens the next day: its first row names the date, and every holding that is due by then moves
// to the sell list — ending on or before today when selling comes first, before today when
// buying does.
void TradingSimulation::openDay(StepOutcome& outcome)
{
    int32_t today = 0;
    if (rows.contains(fig.simCnt)) {
        fig.currentDate.assign(rows.dateText(fig.simCnt));
        today = rows.fields(fig.simCnt).signalDate;
    }
    const bool buyFirst = settings.order() == TradeOrder::BuyFirst;
    std::vector<int> due;
    {
        PositionList::AppendBatch batch(dueForSale);
        for (int i = 0; i < holdings.count(); ++i) {
            const int32_t endDate = holdings.parsed(i).endDate;
            if (buyFirst ? today > endDate : today >= endDate) {
                dueForSale.append(holdings.at(i));
                due.push_back(i);
            } else if (heldToLimit(holdings.at(i), today)) {
                // Sold today at the price the row gives, as if today were its end date.
                Position sold = holdings.at(i);
                sold.figures.endDate = today;
                sold.soldAtHoldLimit = true;
                dueForSale.append(sold);
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

// A position of a 判定不可 row is due at the opening of the first day at least the settings'
// business days after its purchase; without that limit (0) it is held to the end.
bool TradingSimulation::heldToLimit(const Position& position, int32_t today) const
{
    if (settings.undecidedHoldDays <= 0 || position.figures.endDate != kUndecidedEndDate)
        return false;
    const int32_t due = addBusinessDays(position.purchaseDate, settings.undecidedHoldDays);
    return due != 0 && today >= due;
}

// Sells the whole sell list in list order; rows go in order and the list is emptied once, so a
// long list costs linear time.
// The final liquidation shows each position's end date as the current date.
void TradingSimulation::sellAll(bool finalLiquidation)
{
    for (int i = 0; i < dueForSale.count(); ++i) {
        const Position& position = dueForSale.at(i);
        if (finalLiquidation)
            fig.currentDate = dateText(position.figures.endDate);
        sellPosition(position, finalLiquidation);
    }
    dueForSale.clear();
}

// The sale of a position at its signal's sell price: no commission; the tax by the settings' model.
void TradingSimulation::sellPosition(const Position& position, bool finalLiquidation)
{
    const RowFigures& f = position.figures;
    Trade trade;
    trade.code = f.code;
    trade.signal = position.signal;
    trade.buyDate = position.purchaseDate;
    trade.sellDate = f.endDate;
    trade.commission = position.purchaseCommission;
    trade.shares = f.shares();
    trade.buyAmount = position.purchaseAmount;
    trade.sellAmount = f.exitValue();
    trade.grossProfit = f.grossProfit();
    trade.profitRatePercent = (f.priceRatio - 1) * 100;
    trade.endOfRun = finalLiquidation;
    trade.undecided = f.endDate == kUndecidedEndDate || position.soldAtHoldLimit;
    // A 判定不可 position has no end date of its own: the run's last day is when it was sold.
    if (f.endDate == kUndecidedEndDate && finalLiquidation && !runResults.days().empty())
        trade.sellDate = runResults.days().back().date;

    double net = 0;
    if (settings.tax() == TaxModel::Account)
        net = f.grossProfit() -
            taxAccount.tax(f.grossProfit() - position.purchaseCommission, trade.sellDate / 10000,
                           settings.taxRate);
    else
        net = netProfit(f.grossProfit(), f.priceDifference(), fig.cumulativeProfit, settings.taxRate);
    trade.netProfit = net;
    fig.cumulativeProfit += net;
    fig.totalAssets += net;
    fig.operatingAssets += f.cost() + net;
    ++fig.sales;
    runResults.sale(trade);
    tradeLog.writeSell(f, rows.name(position.signal), fig.cumulativeProfit, net, fig.operatingAssets,
                       fig.totalAssets);
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
    if (fig.simCnt <= fig.endRow && rows.contains(fig.simCnt)) {
        const std::string_view dayText = rows.dateText(fig.simCnt);
        fig.currentDate.assign(dayText);
        dayDate = rowDate(dayText);
        dayGathered = true;
        taxAccount.firstYear(dayDate / 10000);
        PositionList::AppendBatch batch(candidates);
        for (;;) {
            const int row = fig.simCnt++;
            candidates.append(Position{row, 0, rows.figures(row, settings.unknownProfitRate)});
            // Past the window the day always ends, even for a date text that happens to read
            // like the end marker.
            if (fig.simCnt > fig.endRow || !rows.contains(fig.simCnt)) {
                fig.endReached = true;
                break;
            }
            if (rows.dateText(fig.simCnt) != dayText)
                break;
        }
    } else {
        fig.endReached = true;
        dayGathered = false;
    }
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
        runResults.closeDay(dayDate, fig.totalAssets, holdings.count() > 0, undecidedHoldingsCost());
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

double TradingSimulation::undecidedHoldingsCost() const
{
    double sum = 0;
    for (int i = 0; i < holdings.count(); ++i) {
        const RowFigures& f = holdings.parsed(i);
        if (f.endDate == kUndecidedEndDate)
            sum += f.cost();
    }
    return sum;
}

double TradingSimulation::sumOverHoldings(double (RowFigures::*value)() const) const
{
    double sum = 0;
    for (int i = 0; i < holdings.count(); ++i)
        sum += (holdings.parsed(i).*value)();
    return sum;
}

}  // namespace kv
