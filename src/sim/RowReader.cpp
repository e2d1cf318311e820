#include "sim/RowReader.h"

#include "data/SimulatorApp.h"
#include "text/Cp932.h"
#include "text/Numbers.h"

#include <array>
#include <cmath>
#include <limits>

namespace kv {

namespace {

constexpr size_t kTokenCells = 64;
constexpr int kRowTokens = 10;
using Tokens = std::array<std::string_view, kRowTokens>;

// The first ten tokens, each cut to its 64 cells, in one pass over the row; a NUL byte ends the
// row as it ended the original text buffer.
Tokens splitTokens(std::string_view row)
{
    Tokens tokens{};
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

// Double to int32 truncated toward zero, kept within the int32 range (NaN gives 0).
int32_t truncateToInt32(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    if (value <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

// The numbers of a row from its tokens.
void readFigures(const Tokens& tokens, bool withLots, const SimulatorApp& master, double unknownProfitRate,
                 RowFigures& out)
{
    out.code = master.lowestCodeNamed(tokens[1]);
    out.signalDate = rowDate(tokens[2]);
    out.buyPrice = rowNumber(tokens[3]);
    out.endDate = rowDate(tokens[5]);
    if (tokens[4].substr(0, kMarkUnknown.size()) == kMarkUnknown)
        out.sellPrice = truncateToInt32(out.buyPrice * (1 + unknownProfitRate));
    else
        out.sellPrice = rowNumber(tokens[6]);
    out.priceRatio = out.buyPrice == 0 ? 0 : static_cast<double>(out.sellPrice) / out.buyPrice;
    out.tradingUnit = rowNumber(tokens[8]);
    out.lots = withLots ? rowNumberAsDouble(tokens[9]) : 0;
}

}  // namespace

void readListRow(std::string_view row, bool withLots, const SimulatorApp& app, ListRow& out)
{
    readListRow(row, withLots, app, app.settings.unknownProfitRate, out);
}

void readListRow(std::string_view row, bool withLots, const SimulatorApp& master, double unknownProfitRate,
                 ListRow& out)
{
    const Tokens tokens = splitTokens(row);
    readFigures(tokens, withLots, master, unknownProfitRate, out);
    out.name.assign(tokens[1]);
    out.resultMark.assign(tokens[4]);
}

void readRowFigures(std::string_view row, bool withLots, const SimulatorApp& master, double unknownProfitRate,
                    RowFigures& out)
{
    readFigures(splitTokens(row), withLots, master, unknownProfitRate, out);
}

std::string_view rowName(std::string_view row)
{
    return splitTokens(row)[1];
}

}  // namespace kv
