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
