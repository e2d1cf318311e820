// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/SignalRows.h"

#include "data/SignalListLine.h"
#include "data/StockMaster.h"
#include "text/Cp932.h"
#include "text/Numbers.h"

#include <algorithm>
#include <cstring>

namespace kv {

namespace {

constexpr size_t kTokenCells = 64;

}  // namespace

RowTokens splitRowTokens(std::string_view row)
{
    RowTokens tokens{};
    const char* p = row.data();
    const char* const end = p + row.size();
    for (auto& token : tokens) {
        const char* start = p;
        while (p != end && *p != ' ' && *p != '\0')
            ++p;
        token = std::string_view(start, static_cast<size_t>(p - start)).substr(0, kTokenCells);
        if (p == end || *p == '\0')
            break;
        ++p;
    }
    return tokens;
}

SignalFields signalFieldsOf(const RowTokens& tokens, const StockMaster& master)
{
    SignalFields f;
    f.code = master.lowestCodeNamed(tokens[1]);
    f.signalDate = rowDate(tokens[2]);
    f.buyPrice = rowNumber(tokens[3]);
    f.endDate = rowDate(tokens[5]);
    f.unknownMark = tokens[4].substr(0, kMarkUnknown.size()) == kMarkUnknown;
    f.writtenSellPrice = rowNumber(tokens[6]);
    f.tradingUnit = rowNumber(tokens[8]);
    return f;
}

RowFigures rowFiguresAt(const SignalFields& f, double unknownProfitRate)
{
    RowFigures out;
    out.code = f.code;
    out.signalDate = f.signalDate;
    out.buyPrice = f.buyPrice;
    out.endDate = f.endDate;
    out.sellPrice =
        f.unknownMark ? truncateToInt32(f.buyPrice * (1 + unknownProfitRate)) : f.writtenSellPrice;
    out.priceRatio = out.buyPrice == 0 ? 0 : static_cast<double>(out.sellPrice) / out.buyPrice;
    out.tradingUnit = f.tradingUnit;
    return out;
}

void SignalRows::clear(size_t rowCount, size_t byteCount)
{
    rows.clear();
    bytes.clear();
    rows.shrink_to_fit();
    bytes.shrink_to_fit();
    rows.reserve(rowCount);
    bytes.reserve(byteCount);
}

void SignalRows::append(std::string_view line, const StockMaster& master)
{
    const RowTokens tokens = splitRowTokens(line);
    Row row;
    row.begin = bytes.size();
    row.size = static_cast<uint32_t>(line.size());
    // A token the line does not reach is empty and points nowhere.
    auto offset = [&](std::string_view token) {
        return token.empty() ? uint32_t{0} : static_cast<uint32_t>(token.data() - line.data());
    };
    row.nameBegin = offset(tokens[1]);
    row.nameSize = static_cast<uint16_t>(tokens[1].size());
    const std::string_view date = listToken(line, 2);
    row.dateBegin = offset(date);
    row.dateSize = static_cast<uint32_t>(date.size());
    row.fields = signalFieldsOf(tokens, master);
    row.takesLots = std::memchr(line.data(), '\0', line.size()) == nullptr &&
        static_cast<size_t>(std::count(line.begin(), line.end(), ' ')) == kListTokenCount - 1;
    bytes.append(line);
    rows.push_back(row);
}

void SignalRows::trim()
{
    // Room well beyond the rows is given back; a little is not worth a copy of every text.
    if (rows.capacity() - rows.size() > rows.size() / 8)
        rows.shrink_to_fit();
    if (bytes.capacity() - bytes.size() > bytes.size() / 8)
        bytes.shrink_to_fit();
}

std::string_view SignalRows::text(int index) const
{
    const Row& row = at(index);
    return std::string_view(bytes).substr(row.begin, row.size);
}

std::string_view SignalRows::name(int index) const
{
    const Row& row = at(index);
    return text(index).substr(row.nameBegin, row.nameSize);
}

std::string_view SignalRows::dateText(int index) const
{
    const Row& row = at(index);
    return text(index).substr(row.dateBegin, row.dateSize);
}

}  // namespace kv
