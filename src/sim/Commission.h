#pragma once
// Broker commission of a purchase under each schedule of the options dialog.

#include <cstdint>

namespace kv {

struct Commission {
    int32_t charge;    // whole yen charged on the purchase
    int32_t maximum;   // the schedule's largest commission, set aside from purchase budgets
};

// Schedule 0 "カブドットコム証券信用＆±指値", 1 "手数料なし", 2 "イートレード証券"; a bound
// belongs to the lower band. Schedule 3 "タイコム証券" has no known table, and it (like any
// other index) charges nothing and sets nothing aside.
Commission commissionFor(int32_t schedule, double amount);

}  // namespace kv
