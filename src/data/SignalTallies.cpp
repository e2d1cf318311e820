// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/SignalTallies.h"

namespace kv {

void SignalTallies::clear()
{
    stockTally.fill(SignalTally{});
    overallTally = SignalTally{};
    dateTally.clear();
    slotDate.clear();
}

}  // namespace kv
