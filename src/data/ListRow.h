// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One list row parsed into numbers: a signal, a purchase candidate, a held position or a
// position due for sale. The money products are taken in 64 bits, so large prices and units
// never overflow.

#include <cstdint>
#include <string>

namespace kv {

// The numbers of a row: all that the trading figures need, and what a portfolio list keeps
// beside each of its rows.
// The end date the reader gives a signal whose end is undeterminable (判定不可): 9999/99/99.
inline constexpr int32_t kUndecidedEndDate = 99999999;

struct RowFigures {
    int32_t code = 0;        // lowest stock code with this name; 0 when none has it
    int32_t signalDate = 0;  // yyyymmdd
    int32_t buyPrice = 0;
    int32_t endDate = 0;    // yyyymmdd; 99999999 for a signal whose end is undeterminable
    int32_t sellPrice = 0;  // for a "？" row: the buy price moved by the unknown profit rate
    int32_t tradingUnit = 0;
    double priceRatio = 0;  // sellPrice / buyPrice; 0 when buyPrice is 0
    double lots = 0;        // only in holdings and sell-list rows

    int64_t lotCost() const { return int64_t{buyPrice} * tradingUnit; }
    double cost() const { return static_cast<double>(lotCost()) * lots; }
    double exitValue() const { return static_cast<double>(int64_t{sellPrice} * tradingUnit) * lots; }
    double grossProfit() const
    {
        return static_cast<double>(int64_t{sellPrice} - buyPrice) * lots * tradingUnit;
    }
    double shares() const { return tradingUnit * lots; }
    int64_t priceDifference() const { return int64_t{sellPrice} - buyPrice; }
};

// A row parsed whole: its numbers and its texts.
struct ListRow : RowFigures {
    std::string name;
    std::string resultMark;
};

}  // namespace kv
