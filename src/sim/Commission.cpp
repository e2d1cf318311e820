// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/Commission.h"

namespace kv {

Commission commissionFor(CommissionSchedule schedule, double amount)
{
    switch (schedule) {
    case CommissionSchedule::Kabudotcom:
        return {amount <= 300000 ? 315 : 3990, 3990};
    case CommissionSchedule::NoCommission:
        return {0, 0};
    case CommissionSchedule::Etrade:
        if (amount <= 500000)
            return {735, 1680};
        if (amount <= 1000000)
            return {945, 1680};
        if (amount <= 1500000)
            return {1155, 1680};
        return {1680, 1680};
    case CommissionSchedule::Taikom:
    default:
        return {0, 0};
    }
}

}  // namespace kv
