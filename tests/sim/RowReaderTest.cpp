// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/RowReader.h"

#include "sim/SimHarness.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

using test::signalLine;
using test::SimHarness;

class RowReader : public ::testing::Test {
protected:
    ListRow read(const std::string& row, bool withLots)
    {
        ListRow out;
        out.lots = 77;  // every field is overwritten
        out.code = 77;
        readListRow(row, withLots, *h.app, out);
        return out;
    }
    SimHarness h;
};

TEST_F(RowReader, SignalRowGivesEveryField)
{
    ListRow r = read(signalLine(1, "極洋", "2004/01/05", 500, "○", "2004/1/16", 520, 1000), false);
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.name, toCp932("極洋"));
    EXPECT_EQ(r.signalDate, 20040105);
    EXPECT_EQ(r.buyPrice, 500);
    EXPECT_EQ(r.resultMark, toCp932("○"));
    EXPECT_EQ(r.endDate, 20040116);
    EXPECT_EQ(r.sellPrice, 520);
    EXPECT_DOUBLE_EQ(r.priceRatio, 1.04);
    EXPECT_EQ(r.tradingUnit, 1000);
    EXPECT_EQ(r.lots, 0);  // a nine-token row, or lots not asked for
}

TEST_F(RowReader, LotsOnlyWhenAskedFor)
{
    std::string holding = signalLine(2, "日水", "2004/1/5", 300, "×", "2004/1/9", 280, 100) + " 12";
    EXPECT_EQ(read(holding, true).lots, 12);
    EXPECT_EQ(read(holding, true).tradingUnit, 100);
    EXPECT_EQ(read(holding, false).lots, 0);
}

TEST_F(RowReader, UnknownMarkSellsAtTheUnknownRateTruncated)
{
    struct Case {
        const char* mark;
        int buy;
        double rate;
        int sell;
    } cases[] = {
        {"？", 1000, -0.03, 970},     {"？", 999, -0.03, 969},   // 969.03 truncated
        {"？(注)", 1000, -0.03, 970},                            // a longer mark that begins with ？
        {"？", 1000, 0.05, 1050},     {"○", 1000, -0.03, 1234},  // any other mark: token 6
    };
    for (const Case& c : cases) {
        h.app->settings.unknownProfitRate = c.rate;
        ListRow r = read(signalLine(1, "極洋", "2004/1/5", c.buy, c.mark, "9999/99/99", 1234, 1000), false);
        EXPECT_EQ(r.sellPrice, c.sell) << c.mark << " " << c.buy;
        EXPECT_EQ(r.endDate, 99999999);
    }
}

TEST_F(RowReader, NamesResolveToTheLowestCodeOrZero)
{
    h.addStock(9000, "同名", 100);
    h.addStock(500, "同名", 100);
    EXPECT_EQ(read(signalLine(0, "同名", "2004/1/5", 1, "○", "2004/1/5", 1, 1), false).code, 500);
    EXPECT_EQ(read(signalLine(0, "未登録", "2004/1/5", 1, "○", "2004/1/5", 1, 1), false).code, 0);
    EXPECT_EQ(read("0000  2004/1/5 1 x 2004/1/5 1 p 1", false).code, 0);  // an empty name is no name
}

TEST_F(RowReader, NumbersAndDatesFollowTheRowRules)
{
    // A stray character shifts by one place; a minus counts as a zero digit; a zero buy price
    // gives a zero ratio.
    ListRow r = read("0001 極洋 2004/1/5 1,234 ○ 2004/12/31 -5 p 1x0", false);
    EXPECT_EQ(r.buyPrice, 10234);
    EXPECT_EQ(r.sellPrice, 5);
    EXPECT_EQ(r.endDate, 20041231);
    EXPECT_EQ(r.tradingUnit, 100);
    EXPECT_EQ(read("0001 極洋 2004/1/5 0 ○ 2004/1/5 100 p 1", false).priceRatio, 0);
}

TEST_F(RowReader, ShortRowsAndNulEndTheTokens)
{
    ListRow r = read("0001 " + toCp932("極洋") + " 2004/1/5", true);
    EXPECT_EQ(r.signalDate, 20040105);
    EXPECT_EQ(r.buyPrice, 0);
    EXPECT_EQ(r.tradingUnit, 0);
    EXPECT_EQ(r.lots, 0);
    EXPECT_TRUE(r.resultMark.empty());

    std::string withNul = signalLine(1, "極洋", "2004/1/5", 500, "○", "2004/1/6", 520, 1000);
    withNul.insert(withNul.find(" 500"), std::string(1, '\0'));
    EXPECT_EQ(read(withNul, false).buyPrice, 0);
}

TEST_F(RowReader, LongRowsAreReadWholeAndTokensKeepSixtyFourCells)
{
    // A performance text long enough to push the row past 255 bytes: unit and lots still read.
    std::string longRow =
        signalLine(1, "極洋", "2004/1/5", 500, "○", "2004/1/6", 520, 1000, std::string(240, 'P')) + " 7";
    ASSERT_GT(longRow.size(), 255u);
    ListRow r = read(longRow, true);
    EXPECT_EQ(r.tradingUnit, 1000);
    EXPECT_EQ(r.lots, 7);

    std::string longName(70, 'N');
    h.addStock(7, longName.substr(0, 64), 1);
    EXPECT_EQ(read("0007 " + longName + " 2004/1/5 1 x 2004/1/5 1 p 1", false).name, longName.substr(0, 64));
    EXPECT_EQ(read("0007 " + longName + " 2004/1/5 1 x 2004/1/5 1 p 1", false).code, 7);
}

}  // namespace
}  // namespace kv
