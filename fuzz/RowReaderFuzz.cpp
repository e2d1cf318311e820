// SPDX-License-Identifier: GPL-3.0-or-later
// A list row of any content read back as a signal row and as a holdings row, under an unknown
// profit rate taken from the first byte (ordinary, extreme, infinite or NaN).

#include "FuzzSupport.h"
#include "sim/RowReader.h"

#include <limits>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const double rates[] = {-0.03,
                                   0.0,
                                   -1.0,
                                   1e300,
                                   -1e300,
                                   std::numeric_limits<double>::infinity(),
                                   std::numeric_limits<double>::quiet_NaN(),
                                   2147483647.0};
    if (size == 0)
        return 0;
    kv::SimulatorApp& app = kv::fuzz::sharedApp();
    app.settings.unknownProfitRate = rates[data[0] % std::size(rates)];
    std::string_view row = kv::fuzz::bytes(data + 1, size - 1);
    kv::ListRow out;
    for (bool withLots : {false, true}) {
        kv::readListRow(row, withLots, app, out);
        // The figures a position is shown and logged with.
        volatile double sink = out.cost() + out.exitValue() + out.grossProfit() + out.shares();
        volatile int64_t lot = out.lotCost() + out.priceDifference();
        (void)sink;
        (void)lot;
    }
    return 0;
}
