// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/Tallies.h"
#include "stats/TallyFigures.h"
#include "text/Cp932.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace kv {
namespace {

// A small store: the tallies of five codes and five date slots.
struct Store {
    SignalTally overall;
    std::vector<SignalTally> byStock = std::vector<SignalTally>(5);
    std::vector<SignalTally> byDate = std::vector<SignalTally>(5);
    TallyTables tables() { return {overall, byStock, byDate}; }
    void row(int code, int slot, const std::string& utf8Mark, const std::string& buy, const std::string& sell)
    {
        tallyRow(tables(), code, slot, toCp932(utf8Mark), buy, sell);
    }
};

// Every field of a tally as one comparable text.
std::string fieldsOf(const SignalTally& t)
{
    return std::to_string(t.signalCount) + " ○" + std::to_string(t.successCount) + "/" +
        std::to_string(t.successReturnSum) + " ×" + std::to_string(t.failureCount) + "/" +
        std::to_string(t.failureReturnSum) + " ？" + std::to_string(t.unknownCount) + " ○損" +
        std::to_string(t.successLossCount) + "/" + std::to_string(t.successLossReturnSum) + " ×利" +
        std::to_string(t.failureProfitCount) + "/" + std::to_string(t.failureProfitReturnSum);
}

TEST(Tallies, EachMarkFeedsItsOwnCountAndSumInAllThreeTallies)
{
    struct Case {
        std::string mark;
        SignalTally expected;
    };
    const double r = 270.0 / 250 - 1;  // 0.08
    const Case cases[] = {
        {"○", {1, 1, r, 0, 0, 0, 0, 0, 0, 0}},
        {"×", {1, 0, 0, 1, r, 0, 0, 0, 0, 0}},
        {"？", {1, 0, 0, 0, 0, 1, 0, 0, 0, 0}},
        {"○(結果は損失)", {1, 0, 0, 0, 0, 0, 1, r, 0, 0}},
        {"×(結果は利益)", {1, 0, 0, 0, 0, 0, 0, 0, 1, r}},
        {"△", {1, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"○ ", {1, 0, 0, 0, 0, 0, 0, 0, 0, 0}},  // exact comparison only
        {"○(結果は損失", {1, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        Store s;
        s.row(3, 2, c.mark, "250", "270");
        EXPECT_EQ(fieldsOf(s.overall), fieldsOf(c.expected)) << c.mark;
        EXPECT_EQ(fieldsOf(s.byStock[3]), fieldsOf(c.expected)) << c.mark;
        EXPECT_EQ(fieldsOf(s.byDate[2]), fieldsOf(c.expected)) << c.mark;
        EXPECT_EQ(fieldsOf(s.byStock[2]), fieldsOf(SignalTally{})) << c.mark;
        EXPECT_EQ(fieldsOf(s.byDate[3]), fieldsOf(SignalTally{})) << c.mark;
    }
    Store s;
    s.row(0, 0, "○", "250", "270");
    EXPECT_NEAR(s.overall.successReturnSum, 0.08, 1e-12);
}

TEST(Tallies, BuyPriceWithoutValueCountsTheRowButAddsNoReturn)
{
    for (std::string buy : {"0", "", "abc",
                            "\x81\x40"
                            "250"}) {
        Store s;
        s.row(1, 1, "○", buy, "270");
        s.row(1, 1, "○", "100", "110");
        EXPECT_EQ(s.overall.signalCount, 2) << buy;
        EXPECT_EQ(s.overall.successCount, 2) << buy;
        EXPECT_TRUE(std::isfinite(s.overall.successReturnSum)) << buy;
        EXPECT_NEAR(s.overall.successReturnSum, 0.10, 1e-12) << buy;
        EXPECT_NEAR(*averageProfitOnSuccess(s.byStock[1]), 5.0, 1e-9) << buy;
    }
}

TEST(TallyFigures, EmptyTallyHasNoFigureAndShowsDashes)
{
    SignalTally t;
    EXPECT_FALSE(successShare(t));
    EXPECT_FALSE(failureShare(t));
    EXPECT_FALSE(unknownShare(t));
    EXPECT_FALSE(averageProfitOnSuccess(t));
    EXPECT_FALSE(averageProfitOnFailure(t));
    EXPECT_FALSE(simpleAverageProfit(t, -0.03));
    std::vector<SignalTally> days(3);
    EXPECT_FALSE(perDayAverageProfit(days, -0.03));
    EXPECT_EQ(percentText(std::nullopt), "----");
}

TEST(TallyFigures, OnlyUnknownRowsEarnTheUnknownRate)
{
    Store s;
    s.row(0, 0, "？", "100", "500");
    s.row(0, 1, "？", "100", "500");
    EXPECT_FALSE(averageProfitOnSuccess(s.overall));
    EXPECT_FALSE(averageProfitOnFailure(s.overall));
    EXPECT_EQ(percentText(simpleAverageProfit(s.overall, -0.03)), toCp932("-3.00％"));
    EXPECT_EQ(percentText(perDayAverageProfit(s.byDate, -0.03)), toCp932("-3.00％"));
    EXPECT_EQ(percentText(unknownShare(s.overall)), toCp932("100.00％"));
    EXPECT_EQ(percentText(successShare(s.overall)), toCp932("0.00％"));
    // The rate is read at each computation: a changed setting changes only these two figures.
    EXPECT_EQ(percentText(simpleAverageProfit(s.overall, 0.05)), toCp932("5.00％"));
    EXPECT_EQ(percentText(perDayAverageProfit(s.byDate, 0.05)), toCp932("5.00％"));
    EXPECT_EQ(percentText(unknownShare(s.overall)), toCp932("100.00％"));
}

TEST(TallyFigures, SharesAndAveragesOfMixedMarks)
{
    Store s;
    s.row(0, 0, "×", "100", "90");               // -0.10
    s.row(0, 0, "×(結果は利益)", "100", "102");  // +0.02
    s.row(0, 0, "○(結果は損失)", "100", "99");   // -0.01
    s.row(0, 0, "？", "100", "100");
    EXPECT_EQ(percentText(successShare(s.overall)), toCp932("25.00％"));
    EXPECT_EQ(percentText(failureShare(s.overall)), toCp932("50.00％"));
    EXPECT_EQ(percentText(unknownShare(s.overall)), toCp932("25.00％"));
    EXPECT_EQ(percentText(averageProfitOnSuccess(s.overall)), toCp932("-1.00％"));
    EXPECT_EQ(percentText(averageProfitOnFailure(s.overall)), toCp932("-4.00％"));
    // (-0.10 + 0.02 - 0.01 - 0.03) / 4
    EXPECT_EQ(percentText(simpleAverageProfit(s.overall, -0.03)), toCp932("-3.00％"));

    // A mark outside the five lowers the three shares and changes nothing else.
    s.row(0, 0, "△", "100", "200");
    EXPECT_EQ(percentText(successShare(s.overall)), toCp932("20.00％"));
    EXPECT_EQ(percentText(failureShare(s.overall)), toCp932("40.00％"));
    EXPECT_EQ(percentText(unknownShare(s.overall)), toCp932("20.00％"));
    EXPECT_EQ(percentText(averageProfitOnSuccess(s.overall)), toCp932("-1.00％"));
    EXPECT_EQ(percentText(averageProfitOnFailure(s.overall)), toCp932("-4.00％"));
}

TEST(TallyFigures, EveryDayWeighsTheSame)
{
    Store s;
    s.row(0, 0, "○", "100", "110");
    for (int i = 0; i < 3; ++i)
        s.row(1, 2, "×", "100", "100");
    // Slot 1 is in use with only skipped rows: its count is 0 and it is left out.
    EXPECT_EQ(percentText(simpleAverageProfit(s.overall, -0.03)), toCp932("2.50％"));
    EXPECT_EQ(percentText(perDayAverageProfit(s.byDate, -0.03)), toCp932("5.00％"));
}

}  // namespace
}  // namespace kv
