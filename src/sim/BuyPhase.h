#pragma once
// The buy phase of a trading day: spreads the day's buying power over the candidates, cheapest
// lot first (or in list order), sizes each purchase in whole lots, charges the commission, and
// ends with the margin check in the message line.

#include <cstdint>
#include <vector>

namespace kv {

class TradingSimulation;

class BuyPhase {
public:
    explicit BuyPhase(TradingSimulation& sim) : sim(sim) {}

    // Buys from sim.candidateList into sim.holdingsList and leaves the state "購入後待機".
    void run();

private:
    int chooseCandidate() const;
    bool buy(int candidate, int slots, double rateReserve, double stockReserve);
    void recomputeHoldings();
    void showMarginLine();

    TradingSimulation& sim;
    // Lot cost of each candidate row, parsed once per phase and kept in step with the list.
    std::vector<int64_t> lotCosts;
};

}  // namespace kv
