// SPDX-License-Identifier: GPL-3.0-or-later
#include "SampleData.h"

#include "text/Cp932.h"
#include "text/ExchangeCalendar.h"
#include "text/Numbers.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace kv {
namespace {

// Lines without their CR LF; fails the test when a line lacks it or exceeds 255 bytes.
std::vector<std::string> checkedLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "last line has no CR LF";
        if (end == std::string::npos)
            break;
        EXPECT_LE(end + 2 - start, 255u) << "line " << lines.size() + 1;
        std::string line = text.substr(start, end - start);
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "line " << lines.size() + 1;
        lines.push_back(line);
        start = end + 2;
    }
    return lines;
}

std::vector<std::string> fields(const std::string& line)
{
    std::vector<std::string> out;
    size_t start = 0;
    for (;;) {
        size_t comma = line.find(',', start);
        out.push_back(line.substr(start, comma - start));
        if (comma == std::string::npos)
            return out;
        start = comma + 1;
    }
}

TEST(SampleData, SameSeedGivesSameBytesAndOtherSeedsDiffer)
{
    EXPECT_EQ(makeStockMaster(80, 7), makeStockMaster(80, 7));
    EXPECT_NE(makeStockMaster(80, 7), makeStockMaster(80, 8));

    std::vector<SampleStock> stocks = makeStocks(80, 7);
    EXPECT_EQ(makeSignalFile(stocks, 400, 20040105, 20050630, 7),
              makeSignalFile(stocks, 400, 20040105, 20050630, 7));
    EXPECT_NE(makeSignalFile(stocks, 400, 20040105, 20050630, 7),
              makeSignalFile(stocks, 400, 20040105, 20050630, 8));
}

TEST(SampleData, StockMasterHasDistinctCodesNamesAndEveryUnit)
{
    std::vector<std::string> lines = checkedLines(makeStockMaster(200, 3));
    ASSERT_EQ(lines.size(), 201u);
    std::set<std::string> names;
    std::set<std::string> units;
    int previousCode = 999;
    for (size_t i = 1; i < lines.size(); ++i) {
        std::vector<std::string> f = fields(lines[i]);
        ASSERT_EQ(f.size(), 4u) << lines[i];
        ASSERT_EQ(f[0].size(), 4u) << lines[i];
        int code = std::stoi(f[0]);
        EXPECT_GT(code, previousCode) << lines[i];
        previousCode = code;
        EXPECT_EQ(f[1].find(' '), std::string::npos) << lines[i];
        EXPECT_TRUE(names.insert(f[1]).second) << "repeated name in " << lines[i];
        units.insert(f[3]);
    }
    EXPECT_EQ(units, (std::set<std::string>{"1", "10", "100", "1000"}));
}

TEST(SampleData, SignalFileHoldsEveryKindOfRowInDateOrder)
{
    std::vector<SampleStock> stocks = makeStocks(60, 5);
    std::set<std::string> names;
    for (const SampleStock& stock : stocks)
        names.insert(stock.name);

    // Nine rows are too few for chance alone to supply every kind, whatever the seed.
    std::vector<std::pair<int, uint32_t>> shapes{{400, 5}};
    for (uint32_t seed = 1; seed <= 20; ++seed)
        shapes.push_back({9, seed});
    for (auto [rowCount, seed] : shapes) {
        SCOPED_TRACE(testing::Message() << rowCount << " rows, seed " << seed);
        std::vector<std::string> lines =
            checkedLines(makeSignalFile(stocks, rowCount, 20040105, 20050630, seed));
        ASSERT_EQ(lines.size(), static_cast<size_t>(rowCount) + 1);

        std::set<std::string> marks;
        int notExecuted = 0;
        int undeterminable = 0;
        std::string previousDate;
        for (size_t i = 1; i < lines.size(); ++i) {
            std::vector<std::string> f = fields(lines[i]);
            ASSERT_EQ(f.size(), 7u) << lines[i];
            EXPECT_EQ(names.count(f[0]), 1u) << lines[i];
            ASSERT_EQ(f[1].size(), 10u) << lines[i];
            EXPECT_GE(f[1], previousDate) << lines[i];
            previousDate = f[1];
            if (f[2] == kNotExecuted) {
                ++notExecuted;
                continue;
            }
            EXPECT_GT(f[4], f[1]) << "end date not after signal date: " << lines[i];
            marks.insert(f[3]);
            if (f[6].starts_with(kUndeterminable)) {
                ++undeterminable;
                EXPECT_EQ(f[3], kMarkUnknown) << lines[i];
                EXPECT_FALSE(f[5].empty()) << lines[i];
                continue;
            }
            // The mark and the prices agree: ○ and ×(結果は利益) gained, × and ○(結果は損失) lost.
            long buy = std::stol(f[2]);
            long sell = std::stol(f[5]);
            bool gained = f[3] == kMarkSuccess || f[3] == toCp932("×(結果は利益)");
            bool lost = f[3] == kMarkFailure || f[3] == toCp932("○(結果は損失)");
            if (gained) {
                EXPECT_GT(sell, buy) << lines[i];
            }
            if (lost) {
                EXPECT_LT(sell, buy) << lines[i];
            }
            EXPECT_EQ(f[6].back(), '%') << lines[i];
        }
        EXPECT_EQ(previousDate, "2005/06/30");
        EXPECT_EQ(lines[1].substr(lines[1].find(',') + 1, 10), "2004/01/05");
        EXPECT_GT(notExecuted, 0);
        EXPECT_GT(undeterminable, 0);
        for (std::string_view mark : {kMarkSuccess, kMarkFailure, kMarkUnknown})
            EXPECT_EQ(marks.count(std::string(mark)), 1u) << toUtf8(mark);
        EXPECT_EQ(marks.count(toCp932("○(結果は損失)")), 1u);
        EXPECT_EQ(marks.count(toCp932("×(結果は利益)")), 1u);
    }
}

// A long file shaped like a real one: a row is undeterminable exactly when the signal is still
// open on the file's last day, so such rows lie in its last two weeks only; its signal and end
// dates are business days.
TEST(SampleData, LongFileLeavesOnlyTheSignalsOpenAtItsEndUndeterminable)
{
    std::vector<SampleStock> stocks = makeStocks(120, 2004);
    std::vector<std::string> lines = checkedLines(makeSignalFile(
        stocks, 1400, 20040105, 20081230, 2004, SignalEnds::OpenAtEnd, SignalDays::BusinessDays));
    ASSERT_EQ(lines.size(), 1401u);
    int undeterminable = 0;
    for (size_t i = 1; i < lines.size(); ++i) {
        std::vector<std::string> f = fields(lines[i]);
        ASSERT_EQ(f.size(), 7u) << lines[i];
        EXPECT_TRUE(isBusinessDay(fieldDate(f[1]))) << lines[i];
        if (f[2] == kNotExecuted)
            continue;
        EXPECT_TRUE(isBusinessDay(fieldDate(f[4]))) << lines[i];
        const bool open = f[4] > "2008/12/30";
        EXPECT_EQ(f[6] == toCp932("判定不可（期間中）"), open) << lines[i];
        if (open) {
            ++undeterminable;
            EXPECT_GE(f[1], "2008/12/12") << lines[i];
        }
    }
    EXPECT_GT(undeterminable, 0);
}

}  // namespace
}  // namespace kv
