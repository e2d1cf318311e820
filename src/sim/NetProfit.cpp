// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/NetProfit.h"

namespace kv {

double netProfit(double gross, int64_t priceDifference, double cumulativeProfit, double taxRate)
{
    if (priceDifference <= 0)
        return gross;
    if (cumulativeProfit > 0)
        return gross * (1 - taxRate);
    if (gross + cumulativeProfit > 0)
        return gross - (gross + cumulativeProfit) * taxRate;
    return gross;
}

}  // namespace kv
