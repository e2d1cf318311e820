// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/StockMaster.h"

namespace kv {

void StockMaster::buildNameIndex()
{
    codesByName.clear();
    codesByName.reserve(kStockCodeCount);
    for (int32_t code = 0; code < kStockCodeCount; ++code) {
        const std::string& name = stockName[static_cast<size_t>(code)];
        if (name.empty())
            continue;
        auto [it, inserted] = codesByName.try_emplace(name, Codes{code, code});
        if (!inserted)
            it->second.highest = code;  // codes are visited in ascending order
    }
}

int32_t StockMaster::highestCodeNamed(std::string_view name) const
{
    auto it = codesByName.find(name);
    return it == codesByName.end() ? 0 : it->second.highest;
}

int32_t StockMaster::lowestCodeNamed(std::string_view name) const
{
    auto it = codesByName.find(name);
    return it == codesByName.end() ? 0 : it->second.lowest;
}

}  // namespace kv
