// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The stock master: name and trading unit by stock code, read from index.txt, and the look-up
// of codes by name that the signal rows need.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace kv {

inline constexpr int kStockCodeCount = 10000;  // codes 0..9999

class StockMaster {
public:
    // Name and trading unit by stock code; empty and 0 for unlisted codes.
    std::array<std::string, kStockCodeCount> stockName;
    std::array<int32_t, kStockCodeCount> tradingUnit{};

    // Name look-up, rebuilt after the names change. An empty name matches nothing.
    void buildNameIndex();
    int32_t highestCodeNamed(std::string_view name) const;  // 0 when no stock has the name
    int32_t lowestCodeNamed(std::string_view name) const;   // 0 when no stock has the name

private:
    struct NameHash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    struct Codes {
        int32_t lowest;
        int32_t highest;
    };
    std::unordered_map<std::string, Codes, NameHash, std::equal_to<>> codesByName;
};

}  // namespace kv
