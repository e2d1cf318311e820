// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/SignalListLine.h"

#include "text/Format.h"

#include <charconv>

namespace kv {

void buildListLine(std::string& line, int32_t code, const SignalRowTexts& row, int32_t tradingUnit)
{
    line.clear();
    line += format("%04d", {code});
    for (std::string_view text : {row.name, row.signalDate, row.buyPrice, row.resultMark, row.endDate,
                                  row.sellPrice, row.performance}) {
        line += ' ';
        line += text;
    }
    line += ' ';
    char number[16];
    char* end = std::to_chars(number, number + sizeof number, tradingUnit).ptr;
    line.append(number, end);
}

std::string_view listToken(std::string_view line, size_t index)
{
    size_t start = 0;
    for (size_t i = 0; i < index; ++i) {
        size_t blank = line.find(' ', start);
        if (blank == std::string_view::npos)
            return {};
        start = blank + 1;
    }
    return line.substr(start, line.find(' ', start) - start);
}

void splitListLine(std::string_view line, std::array<std::string, kListTokenCount>& tokens)
{
    size_t start = 0;
    bool more = true;
    for (std::string& token : tokens) {
        if (!more) {
            token.clear();
            continue;
        }
        size_t blank = line.find(' ', start);
        token.assign(
            line.substr(start, blank == std::string_view::npos ? std::string_view::npos : blank - start));
        more = blank != std::string_view::npos;
        start = blank + 1;
    }
}

}  // namespace kv
