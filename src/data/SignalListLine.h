// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A line of the signal list: nine tokens joined by single ASCII blanks — code ("%04d"), name,
// signal date, buy price, result mark, end date, sell price, performance, trading unit. The
// loader has turned every blank of a row into a full-width blank, so splitting a line at each
// ASCII blank gives the tokens back. Holdings and sell-list rows add a tenth token, the lots.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kv {

inline constexpr size_t kListTokenCount = 9;

// The row's texts that a list line carries, in token order after the code.
struct SignalRowTexts {
    std::string_view name;
    std::string_view signalDate;
    std::string_view buyPrice;
    std::string_view resultMark;
    std::string_view endDate;
    std::string_view sellPrice;
    std::string_view performance;
};

// Writes the line of a row into `line` (replacing its contents; its capacity is reused). The
// texts are copied as they stand, never read as a format.
void buildListLine(std::string& line, int32_t code, const SignalRowTexts& row, int32_t tradingUnit);

// Splits a list line at each ASCII blank into the first nine tokens; tokens the line does not
// have are empty. Tokens are never cut, however long the line.
void splitListLine(std::string_view line, std::array<std::string, kListTokenCount>& tokens);

// Token `index` of a list line (empty when the line has fewer tokens).
std::string_view listToken(std::string_view line, size_t index);

}  // namespace kv
