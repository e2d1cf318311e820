// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Broker commission of a purchase under each schedule of the options dialog.

#include "settings/SimulationSettings.h"

#include <cstdint>

namespace kv {

struct Commission {
    int32_t charge;   // whole yen charged on the purchase
    int32_t maximum;  // the schedule's largest commission, set aside from purchase budgets
};

// Kabudotcom "カブドットコム証券信用＆±指値", NoCommission "手数料なし", Etrade "イートレード証券";
// a bound belongs to the lower band. Taikom "タイコム証券" has no known table, and it (like a
// code outside the list) charges nothing and sets nothing aside.
Commission commissionFor(CommissionSchedule schedule, double amount);

}  // namespace kv
