// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tax of a securities account with withholding: each calendar year's gains and losses are
// netted sale by sale, a year that ends in a loss carries it into the next three years, and the
// tax withheld follows the year's running sum, so a later loss gives tax back.
//
// For a sale with taxable gain g (its gross profit less the commission of its purchase), sold in
// year y: the year-to-date sum Y starts at minus the loss carried into y and takes g; the sale's
// tax is taxRate × max(0, Y) less the tax already charged in y (negative: a refund). At a year's
// end a negative sum of its gains is a loss of that year; a positive one uses the carried losses
// oldest first. A loss is usable in the three years after its own.

#include <cstdint>
#include <optional>
#include <vector>

namespace kv {

class TaxAccount {
public:
    // A run starts; `carriedLoss` counts as a loss of the year before the run's first year.
    void begin(double carriedLoss);

    // The run's first year, from its first day; a loss carried in belongs to the year before.
    void firstYear(int32_t year);

    // The tax on a sale of taxable gain `gain` in `year`, at `taxRate`; negative for a refund. A
    // sale dated before the year in progress counts in that year.
    double tax(double gain, int32_t year, double taxRate);

private:
    void enterYear(int32_t year);

    struct Loss {
        int32_t year;
        double amount;
    };
    std::vector<Loss> losses;  // oldest first
    double carriedIn = 0;
    bool carriedPlaced = false;
    std::optional<int32_t> current;
    double yearStart = 0;  // minus the losses usable in the current year
    double yearGains = 0;  // Σ g of the current year
    double charged = 0;    // tax charged in the current year so far
};

}  // namespace kv
