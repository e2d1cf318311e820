// SPDX-License-Identifier: GPL-3.0-or-later
// index.txt of any content: read into the stock master, then every name looked up again.

#include "FuzzSupport.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static auto app = std::make_unique<kv::StockMaster>();
    kv::LineReader reader{std::string(kv::fuzz::bytes(data, size))};
    kv::readStockMaster(reader, *app);
    for (int32_t code = 0; code < kv::kStockCodeCount; ++code) {
        const std::string& name = app->stockName[static_cast<size_t>(code)];
        if (app->tradingUnit[static_cast<size_t>(code)] < 0)
            std::abort();  // units fold digits and saturate: never negative
        if (name.empty())
            continue;
        // A listed name finds a code that carries it, between the lowest and the highest.
        int32_t low = app->lowestCodeNamed(name);
        int32_t high = app->highestCodeNamed(name);
        if (low > code || high < code || app->stockName[static_cast<size_t>(low)] != name)
            std::abort();
    }
    return 0;
}
