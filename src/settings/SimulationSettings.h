#pragma once
// The parameters that steer the simulation, and one figure of the statistics. Rates are
// fractions (0.2 is 20 %), amounts whole yen.

#include <cstdint>

namespace kv {

struct SimulationSettings {
    double capital = 2000000;
    double lossWithinThreeYears = 500000;   // carried loss that the tax takes into account
    double leverage = 2.5;
    double marginMaintenanceRate = 0.2;
    int32_t maxCommission = 3990;           // set by the commission calculation
    double taxRate = 0.1;
    int32_t spareAmount = 300000;           // kept in the file only
    int32_t maxPurchaseAmount = 50000000;   // 0: no cap
    int32_t maxStocks = 5;                  // most purchases in one day
    double unknownProfitRate = -0.03;       // assumed profit rate of a "？" signal
    double operatingRate = 1.0;             // share of the buying power put to use
    int32_t buyPriority = 0;                // 0: lowest lot cost first
    bool shortSellSystem = false;           // stored only
    int32_t operationType = 0;              // 0: per day, 1: per stock
    int32_t commissionSchedule = 0;
    bool saveLog = true;
    bool tradeOrder = false;                // false: sell then buy; true: buy then sell

    bool operator==(const SimulationSettings&) const = default;
};

}  // namespace kv
