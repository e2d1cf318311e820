// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/BuyPhase.h"

#include "data/SignalRows.h"
#include "sim/CandidateQueue.h"
#include "sim/PortfolioLists.h"
#include "sim/TradingSimulation.h"
#include "text/Cp932.h"
#include "text/Format.h"

#include <algorithm>
#include <cmath>

namespace kv {

std::string BuyPhase::run()
{
    const SimulationSettings& settings = sim.settings;
    sim.fig.operatingAssets = sim.buyingPower();

    const int candidates = sim.candidates.count();
    const int attempts = std::min(candidates, settings.maxStocks);
    int slots = attempts;

    const double rateReserve = (1 - settings.operatingRate) * sim.fig.operatingAssets;
    sim.fig.operatingAssets -= rateReserve;
    double stockReserve = 0;
    if (settings.operation() == OperationType::PerStock && settings.maxStocks != 0) {
        stockReserve = static_cast<double>(int64_t{settings.maxStocks} - attempts) / settings.maxStocks *
            sim.fig.operatingAssets;
        sim.fig.operatingAssets -= stockReserve;
    }

    std::vector<int64_t> lotCosts;
    lotCosts.reserve(static_cast<size_t>(candidates));
    for (int i = 0; i < candidates; ++i)
        lotCosts.push_back(sim.candidates.parsed(i).lotCost());
    CandidateQueue queue(lotCosts, settings.priority());

    // An attempt that buys nothing changes nothing, so every later one would fail the same way:
    // the day's buying ends there.
    for (int attempt = 0; attempt < attempts; ++attempt) {
        int chosen = queue.next();
        if (chosen < 0 || !buy(chosen, slots, rateReserve, stockReserve))
            break;
        queue.pop();
        --slots;
    }
    std::sort(bought.begin(), bought.end());
    sim.candidates.removeRows(bought);

    recomputeHoldings();
    sim.fig.operatingAssets = sim.buyingPower();
    sim.setState(SimState::AfterBuy);
    if (marginCallPossible())
        sim.runResults.marginCall(sim.dayDate);
    return marginLine();
}

// One purchase of candidate `candidate` with `slots` purchases still to come; false when its
// budget buys no whole lot.
bool BuyPhase::buy(int candidate, int slots, double rateReserve, double stockReserve)
{
    const SimulationSettings& settings = sim.settings;
    const Position& chosen = sim.candidates.at(candidate);
    const RowFigures& row = chosen.figures;
    sim.applyScheduleMaximum();

    const int64_t lotCost = row.lotCost();
    if (lotCost <= 0)
        return false;
    const double budget = sim.fig.operatingAssets / slots;
    double lots;
    if (settings.maxPurchaseAmount != 0 && settings.maxPurchaseAmount <= budget)
        lots = static_cast<double>((int64_t{settings.maxPurchaseAmount} - settings.maxCommission) / lotCost);
    else
        lots = std::trunc((budget - settings.maxCommission) / static_cast<double>(lotCost));
    if (!(lots >= 1))
        return false;

    RowFigures purchase = row;
    purchase.lots = lots;
    const double cost = purchase.cost();
    sim.commissionFor(cost);
    sim.fig.totalAssets -= sim.fig.lastCommission;
    sim.fig.operatingAssets -= cost;
    Position held = sim.heldPosition(chosen, lots);
    held.purchaseDate = purchase.signalDate;
    held.purchaseCommission = sim.fig.lastCommission;
    held.purchaseAmount = cost;
    sim.holdings.append(held);
    bought.push_back(candidate);
    ++sim.fig.purchases;
    sim.runResults.purchase(sim.fig.lastCommission);
    sim.tradeLog.writeBuy(purchase, sim.rows.name(chosen.signal), sim.fig.lastCommission,
                          rateReserve + sim.fig.operatingAssets + stockReserve, sim.fig.totalAssets);
    return true;
}

// Holdings value and unrealised loss: the loss each held position will realise at its signal's
// sell price, summed over the positions that lose.
void BuyPhase::recomputeHoldings()
{
    double value = 0;
    double loss = 0;
    for (int i = 0; i < sim.holdings.count(); ++i) {
        const RowFigures& position = sim.holdings.parsed(i);
        double cost = position.cost();
        double exitValue = position.exitValue();
        value += cost;
        if (exitValue < cost)
            loss += exitValue - cost;
    }
    sim.reportHoldings(value);
    sim.fig.unrealizedLoss = loss;
}

double BuyPhase::requiredMargin() const
{
    return sim.fig.holdingsValue * sim.settings.marginMaintenanceRate;
}

// The loss is zero or negative, so it is added.
double BuyPhase::margin() const
{
    return sim.fig.totalAssets + sim.fig.unrealizedLoss;
}

bool BuyPhase::marginCallPossible() const
{
    return margin() < requiredMargin();
}

std::string BuyPhase::marginLine() const
{
    static const std::string line =
        toCp932("sim_cnt:%d 含み損合計:%.0f 最低必要委託保証金：%.0f 資本金-含み損計：%.0f");
    static const std::string marginCall = toCp932("『追証の可能性あり』");
    std::string text = format(line, {sim.fig.simCnt, sim.fig.unrealizedLoss, requiredMargin(), margin()});
    if (marginCallPossible())
        text += marginCall;
    return text;
}

}  // namespace kv
