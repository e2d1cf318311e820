// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The buy phase of a trading day: spreads the day's buying power over the candidates, cheapest
// lot first (or in list order), sizes each purchase in whole lots, charges the commission, and
// ends with the margin check for the message line.

#include <string>
#include <vector>

namespace kv {

class TradingSimulation;

class BuyPhase {
public:
    explicit BuyPhase(TradingSimulation& sim) : sim(sim) {}

    // Buys from the candidates into the holdings and leaves the state AfterBuy. Returns the
    // message line: the margin check.
    std::string run();

private:
    bool buy(int candidate, int slots, double rateReserve, double stockReserve);
    void recomputeHoldings();
    // The margin check: the assets less the loss the positions will realise (the margin) against
    // the maintenance margin their cost requires; below it a margin call is possible.
    double requiredMargin() const;
    double margin() const;
    bool marginCallPossible() const;
    std::string marginLine() const;

    TradingSimulation& sim;
    // Candidates bought so far, in the order bought; they leave the list together at the end.
    std::vector<int> bought;
};

}  // namespace kv
