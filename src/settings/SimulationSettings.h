// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The parameters that steer the simulation, and one figure of the statistics. Rates are
// fractions (0.2 is 20 %), amounts whole yen.
//
// The coded settings keep the numbers kvn.conf and the options dialog's lists use (the list
// index is the code); code that acts on them asks for the named choice instead.

#include <cstdint>

namespace kv {

// How a day's buying power is shared out: up to the operating rate for the day, or held to a
// share per stock (operating rate ÷ largest number of stocks). Code 1 is per stock; every other
// code works per day.
enum class OperationType : int32_t { PerDay = 0, PerStock = 1 };

// Which candidate is bought first: code 0 the lowest lot cost; every other code list order.
enum class BuyPriority : int32_t { LowestLotCost = 0, ListOrder = 1 };

// The broker whose commissions are charged, by the index of the options dialog's list.
// Codes outside the list charge nothing.
enum class CommissionSchedule : int32_t { Kabudotcom = 0, NoCommission = 1, Etrade = 2, Taikom = 3 };

// The order of a day's trades: positions ending today sold before today's purchases, or held
// through them and sold at the next day's opening.
enum class TradeOrder { SellFirst, BuyFirst };

// How a sale is taxed: each winning sale while the running profit is positive, never refunded
// (code 0), or as a securities account with withholding does, netting each calendar year's gains
// and losses with a three-year carry-forward (code 1). Every other code taxes per sale.
enum class TaxModel : int32_t { PerSale = 0, Account = 1 };

struct SimulationSettings {
    double capital = 2000000;
    double lossWithinThreeYears = 500000;  // carried loss that the tax takes into account
    double leverage = 2.5;
    double marginMaintenanceRate = 0.2;
    int32_t maxCommission = 3990;  // set by the commission calculation
    double taxRate = 0.1;
    int32_t spareAmount = 300000;          // kept in the file only
    int32_t maxPurchaseAmount = 50000000;  // 0: no cap
    int32_t maxStocks = 5;                 // most purchases in one day
    double unknownProfitRate = -0.03;      // assumed profit rate of a "？" signal
    double operatingRate = 1.0;            // share of the buying power put to use
    int32_t buyPriority = 0;               // code of a BuyPriority
    bool shortSellSystem = false;          // stored only
    int32_t operationType = 0;             // code of an OperationType
    int32_t commissionSchedule = 0;        // code of a CommissionSchedule
    bool saveLog = true;
    bool tradeOrder = false;  // false: sell then buy; true: buy then sell
    // Kept in kirvane.ini, beside kvn.conf.
    int32_t taxModel = 0;           // code of a TaxModel
    int32_t undecidedHoldDays = 0;  // business days a 判定不可 position is held; 0: to the end

    OperationType operation() const
    {
        return operationType == 1 ? OperationType::PerStock : OperationType::PerDay;
    }
    BuyPriority priority() const
    {
        return buyPriority == 0 ? BuyPriority::LowestLotCost : BuyPriority::ListOrder;
    }
    // Any int32 is a valid value of the enumeration (its underlying type is fixed).
    CommissionSchedule schedule() const { return static_cast<CommissionSchedule>(commissionSchedule); }
    TradeOrder order() const { return tradeOrder ? TradeOrder::BuyFirst : TradeOrder::SellFirst; }
    TaxModel tax() const { return taxModel == 1 ? TaxModel::Account : TaxModel::PerSale; }
    void setOperation(OperationType type) { operationType = static_cast<int32_t>(type); }
    void setPriority(BuyPriority priority) { buyPriority = static_cast<int32_t>(priority); }
    void setSchedule(CommissionSchedule schedule) { commissionSchedule = static_cast<int32_t>(schedule); }
    void setOrder(TradeOrder order) { tradeOrder = order == TradeOrder::BuyFirst; }

    bool operator==(const SimulationSettings&) const = default;
};

}  // namespace kv
