// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/StockFigures.h"

#include "text/Numbers.h"

#include <algorithm>

namespace kv {

namespace {

inline constexpr int32_t kLastStockCode = 9999;

}  // namespace

std::optional<int32_t> stockCodeOfText(std::string_view text)
{
    if (text.empty())
        return std::nullopt;
    int32_t code = leadingInt(text);
    if (code <= 0 || code > kLastStockCode)
        return std::nullopt;
    return code;
}

std::vector<int32_t> stocksWithSignals(std::span<const SignalTally> byStock)
{
    std::vector<int32_t> codes;
    size_t end = std::min(byStock.size(), static_cast<size_t>(kLastStockCode) + 1);
    for (size_t code = 1; code < end; ++code) {
        if (byStock[code].signalCount > 0)
            codes.push_back(static_cast<int32_t>(code));
    }
    return codes;
}

}  // namespace kv
