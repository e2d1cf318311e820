// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/ColourScale.h"
#include "stats/PeriodStats.h"
#include "stats/Rankings.h"
#include "stats/StockFigures.h"
#include "stats/Tallies.h"
#include "stats/TallyFigures.h"
#include "stats/TotalsText.h"
#include "text/Cp932.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <cmath>
#include <string>
#include <vector>

namespace kv {
namespace {

// Tallies of a small signal file: rows are added with their date, and a row whose date differs
// from the current slot's opens the next slot, as a load does.
struct Signals {
    SignalTally overall;
    std::vector<SignalTally> byStock = std::vector<SignalTally>(10000);
    std::vector<SignalTally> byDate = std::vector<SignalTally>(4000);
    std::vector<int32_t> slotDate = std::vector<int32_t>(4000);
    size_t slots = 0;

    void row(int code, int32_t date, const std::string& utf8Mark, int buy = 100, int sell = 100)
    {
        if (slots == 0 || slotDate[slots - 1] != date)
            slotDate[slots++] = date;
        TallyTables tables{overall, byStock, byDate};
        tallyRow(tables, code, static_cast<int32_t>(slots - 1), toCp932(utf8Mark), std::to_string(buy),
                 std::to_string(sell));
    }
    // n rows of one stock on one day, each with the given return in per cent.
    void rows(int n, int code, const std::string& utf8Mark, int percent = 0, int32_t date = 20040105)
    {
        for (int i = 0; i < n; ++i)
            row(code, date, utf8Mark, 100, 100 + percent);
    }
};

std::vector<int32_t> codesOf(const StockRanking& ranking)
{
    std::vector<int32_t> codes;
    for (const RankedStock& s : rankedStocks(ranking))
        codes.push_back(s.code);
    return codes;
}

const StockRanking& ranking(const StockRankings& r, RankingKind kind)
{
    return r[static_cast<size_t>(kind)];
}

TEST(Rankings, InsertionNeverPassesAnEqualValueNotEvenWhenCarriedOn)
{
    StockRanking r(RankingKind::SignalCountTop);
    for (auto [value, code] : {std::pair{10, 1}, {8, 2}, {8, 3}, {5, 4}, {9, 5}})
        r.insert(value, code);
    EXPECT_EQ(codesOf(r), (std::vector<int32_t>{1, 5, 3, 2, 4}));  // 10 A, 9 E, 8 C, 8 B, 5 D
    r.insert(8, 6);
    EXPECT_EQ(codesOf(r), (std::vector<int32_t>{1, 5, 3, 2, 6, 4}));

    // Twenty-one stocks: what is pushed past the last position drops out.
    StockRanking bottom(RankingKind::ProfitRateBottom);
    for (int code = 1; code <= 21; ++code)
        bottom.insert(code == 21 ? -1.0 : code * 0.01, code);
    std::vector<RankedStock> listed = rankedStocks(bottom);
    ASSERT_EQ(listed.size(), 20u);
    EXPECT_EQ(listed.front().code, 21);
    EXPECT_EQ(listed.back().code, 19);
    EXPECT_EQ(listed.back().position, 20);

    // A value no better than the empty one never enters.
    StockRanking top(RankingKind::ProfitRateTop);
    top.insert(-999999.0, 7);
    top.insert(-1e7, 8);
    EXPECT_TRUE(rankedStocks(top).empty());
}

TEST(Rankings, FewStocksShortListsAndTheHideBoxes)
{
    Signals s;
    s.rows(1, 11, "○", 10);  // one signal
    s.rows(2, 12, "×", -5);  // two signals, failures only
    s.rows(3, 13, "○", 2);   // three, successes only
    s.rows(1, 14, "？");     // four, mixed
    s.rows(3, 14, "×(結果は利益)", 1);
    s.rows(5, 0, "○", 50);  // code 0: the unknown stocks

    StockRankings shown = buildRankings(s.byStock, -0.03, RankingFilter{});
    EXPECT_EQ(codesOf(ranking(shown, RankingKind::SignalCountTop)), (std::vector<int32_t>{14, 13, 12}));
    EXPECT_EQ(codesOf(ranking(shown, RankingKind::ProfitRateTop)), (std::vector<int32_t>{13, 14, 12}));
    EXPECT_EQ(codesOf(ranking(shown, RankingKind::ProfitRateBottom)), (std::vector<int32_t>{12, 14, 13}));
    EXPECT_EQ(codesOf(ranking(shown, RankingKind::SuccessRateTop)), (std::vector<int32_t>{13}));
    EXPECT_EQ(codesOf(ranking(shown, RankingKind::FailureRateTop)), (std::vector<int32_t>{12, 14}));

    // Code 0 holds its position but gets no row, so the numbering has a gap.
    std::vector<RankedStock> counts = rankedStocks(ranking(shown, RankingKind::SignalCountTop));
    ASSERT_EQ(counts.size(), 3u);
    EXPECT_EQ(counts[0].position, 2);
    EXPECT_EQ(counts[0].value, 4);
    EXPECT_EQ(rankingRow(counts[0], toCp932("極洋")), toCp932("No, 2  0014  極洋"));
    EXPECT_EQ(rankingRow({20, 9999, 1}, "X"), "No,20  9999  X");

    StockRankings all = buildRankings(s.byStock, -0.03, {false, false});
    EXPECT_EQ(codesOf(ranking(all, RankingKind::SignalCountTop)), (std::vector<int32_t>{14, 13, 12, 11}));
    StockRankings both = buildRankings(s.byStock, -0.03, {true, true});
    EXPECT_EQ(codesOf(ranking(both, RankingKind::SignalCountTop)), (std::vector<int32_t>{14, 13}));
    StockRankings twos = buildRankings(s.byStock, -0.03, {false, true});
    EXPECT_EQ(codesOf(ranking(twos, RankingKind::SignalCountTop)), (std::vector<int32_t>{14, 13, 11}));
}

TEST(Rankings, TheUnknownRateMovesOnlyTheProfitRateRankings)
{
    Signals s;
    s.rows(2, 21, "○", 4);
    s.rows(2, 22, "○", 2);
    s.rows(2, 22, "？");
    s.rows(2, 23, "×", -1);
    s.rows(1, 23, "？");
    auto texts = [&](double u) {
        std::vector<std::vector<int32_t>> lists;
        for (const StockRanking& r : buildRankings(s.byStock, u, RankingFilter{}))
            lists.push_back(codesOf(r));
        return lists;
    };
    std::vector<std::vector<int32_t>> low = texts(-0.03), high = texts(0.10);
    EXPECT_EQ(low[0], (std::vector<int32_t>{21, 22, 23}));
    EXPECT_EQ(high[0], (std::vector<int32_t>{22, 21, 23}));  // 22: (0.04 + 0.20) / 4 = 6 %
    EXPECT_EQ(low[1], (std::vector<int32_t>{23, 22, 21}));
    EXPECT_EQ(high[1], (std::vector<int32_t>{23, 21, 22}));  // 23: (-0.02 + 0.10) / 3 < 0.04
    for (size_t k = 2; k < kRankingKindCount; ++k)
        EXPECT_EQ(low[k], high[k]) << k;
}

TEST(TotalsText, FieldsInBlockOrderWithDashesWhereADivisorIsZero)
{
    Signals s;
    s.row(1, 20040105, "○", 100, 112);
    s.row(1, 20040105, "○(結果は損失)", 100, 96);
    s.row(1, 20040106, "×", 100, 93);
    s.row(1, 20040106, "×(結果は利益)", 100, 104);
    s.row(1, 20040106, "？");
    auto text = [](const TotalsText& t) {
        std::string joined;
        for (const std::string& f : t.fields)
            joined += toUtf8(f) + "|";
        return joined;
    };
    // Day 1: (0.12 - 0.04) / 2 = 4 %; day 2: (-0.07 + 0.04 - 0.03) / 3 = -2 %.
    EXPECT_EQ(text(totalsText(figureSetOf(s.overall, -0.03), perDayAverageProfit(s.byDate, -0.03))),
              "40.00％|2|4.00％|1|40.00％|2|-1.50％|1|20.00％|1|5|0.40％|1.00％|");
    EXPECT_EQ(text(totalsText(figureSetOf(SignalTally{}, -0.03), std::nullopt)),
              "----|0|----|0|----|0|----|0|----|0|0|----|----|");

    Signals onlyUnknown;
    onlyUnknown.rows(3, 1, "？");
    EXPECT_EQ(text(totalsText(figureSetOf(onlyUnknown.overall, -0.03),
                              perDayAverageProfit(onlyUnknown.byDate, -0.03))),
              "0.00％|0|----|0|0.00％|0|----|0|100.00％|3|3|-3.00％|-3.00％|");
    // A stock shows 0.00％ for an average without successes or failures, but only with signals.
    EXPECT_EQ(text(stockFiguresText(figureSetOf(onlyUnknown.byStock[1], -0.03))),
              "0.00％|0|0.00％|0|0.00％|0|0.00％|0|100.00％|3|3|-3.00％||");
    EXPECT_EQ(text(stockFiguresText(figureSetOf(onlyUnknown.byStock[2], -0.03))),
              "----|0|----|0|----|0|----|0|----|0|0|----||");
}

TEST(StockFigures, CodeTextNamesAStockOnlyFrom1To9999)
{
    for (const char* text : {"", "0", "10000", "abc", "-5", "99999999999"})
        EXPECT_FALSE(stockCodeOfText(text)) << text;
    EXPECT_EQ(stockCodeOfText("1"), 1);
    EXPECT_EQ(stockCodeOfText("9999"), 9999);
    EXPECT_EQ(stockCodeOfText("0013"), 13);
    EXPECT_EQ(stockCodeOfText("13a"), 13);

    Signals s;
    s.rows(1, 0, "○");
    s.rows(1, 9999, "×");
    s.rows(2, 1301, "？");
    EXPECT_EQ(stocksWithSignals(s.byStock), (std::vector<int32_t>{1301, 9999}));
}

TEST(PeriodLists, YearsMonthsAndDaysOfASortedFile)
{
    Signals s;
    for (int32_t date : {20031104, 20031128, 20031201, 20040105, 20040106, 20040106, 20040227})
        s.row(1, date, "○");
    EXPECT_EQ(yearItems(s.slotDate), (std::vector<int32_t>{2003, 2004}));
    EXPECT_EQ(monthItems(s.slotDate, 2003), (std::vector<int32_t>{11, 12}));
    EXPECT_EQ(monthItems(s.slotDate, 2004), (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(dayItems(s.slotDate, 2004, 1), (std::vector<int32_t>{5, 6}));
    EXPECT_EQ(dayItems(s.slotDate, 2003, 11), (std::vector<int32_t>{4, 28}));
    EXPECT_TRUE(monthItems(s.slotDate, 2005).empty());
    EXPECT_TRUE(dayItems(s.slotDate, 2004, 3).empty());
}

TEST(PeriodLists, NeighboursWithTheSameMonthOrDayNumberAreNotLost)
{
    Signals s;
    for (int32_t date : {20031105, 20041105, 20040115, 20040215})
        s.row(1, date, "○");
    EXPECT_EQ(yearItems(s.slotDate), (std::vector<int32_t>{2003, 2004}));  // unsorted: 2004 once per run
    EXPECT_EQ(monthItems(s.slotDate, 2003), (std::vector<int32_t>{11}));
    EXPECT_EQ(monthItems(s.slotDate, 2004), (std::vector<int32_t>{11, 1, 2}));
    EXPECT_EQ(dayItems(s.slotDate, 2004, 1), (std::vector<int32_t>{15}));
}

TEST(PeriodLists, UnsortedFilesKeepEveryItemAndTheLastSlotEndsARun)
{
    Signals s;
    for (int i = 0; i < 1500; ++i)
        s.row(1, i % 2 ? 20040105 : 20030105, "○");
    EXPECT_EQ(yearItems(s.slotDate).size(), 1500u);
    EXPECT_EQ(monthItems(s.slotDate, 2004).size(), 750u);
    EXPECT_EQ(dayItems(s.slotDate, 2004, 1).size(), 750u);

    // Every slot in use: the year of the last run is still listed.
    std::vector<int32_t> full = {20031230, 20040105, 20040106};
    EXPECT_EQ(yearItems(full), (std::vector<int32_t>{2003, 2004}));
    EXPECT_EQ(dayItems(full, 2004, 1), (std::vector<int32_t>{5, 6}));
}

TEST(PeriodFigures, APeriodSumsItsSlotsAndWeighsEachDateOnce)
{
    Signals s;
    s.row(1, 20040105, "○", 100, 110);  // +0.10
    s.rows(3, 2, "×", 0, 20040106);     // three of 0.00
    s.row(3, 20040220, "？");
    auto shown = [&](const Period& p, double u = -0.03) {
        PeriodFigures f = periodFigures(s.slotDate, s.byDate, p, u);
        TotalsText t = totalsText(f.figures, f.perDayAverage);
        return toUtf8(t[TotalsField::Signals] + " " + t[TotalsField::SimpleAverage] + " " +
                      t[TotalsField::PerDayAverage]);
    };
    EXPECT_EQ(shown({PeriodLevel::Month, 2004, 1}), "4 2.50％ 5.00％");
    EXPECT_EQ(shown({PeriodLevel::Day, 2004, 1, 6}), "3 0.00％ 0.00％");
    EXPECT_EQ(shown({PeriodLevel::Day, 2004, 1, 7}), "0 ---- ----");
    EXPECT_EQ(shown({PeriodLevel::Year, 2004}), "5 1.40％ 2.33％");
    EXPECT_EQ(shown({PeriodLevel::Year, 2004}, 0.12), "5 4.40％ 7.33％");  // only the averages move

    // The first date comes back after another: its two slots make one day of 5 %, not two days.
    s.row(4, 20040105, "×", 100, 100);
    EXPECT_EQ(shown({PeriodLevel::Month, 2004, 1}), "5 2.00％ 2.50％");
    EXPECT_EQ(shown({PeriodLevel::Day, 2004, 1, 5}), "2 5.00％ 5.00％");

    // A date whose rows were all skipped counts no day.
    s.slotDate[s.slots++] = 20040301;
    EXPECT_EQ(shown({PeriodLevel::Month, 2004, 3}), "0 ---- ----");

    std::vector<PeriodFigures> months = figuresOfEveryPeriod(PeriodLevel::Month, s.slotDate, s.byDate, -0.03);
    ASSERT_EQ(months.size(), 3u);
    EXPECT_EQ(months[0].period.month, 1);
    EXPECT_EQ(months[0].figures.signalCount, 5);
    EXPECT_EQ(months[1].period.month, 2);
    EXPECT_EQ(months[2].period.month, 3);
    std::vector<PeriodFigures> years = figuresOfEveryPeriod(PeriodLevel::Year, s.slotDate, s.byDate, -0.03);
    ASSERT_EQ(years.size(), 1u);
    EXPECT_EQ(years[0].period.year, 2004);
    EXPECT_EQ(years[0].figures.signalCount, 6);
    EXPECT_NEAR(*years[0].perDayAverage, (5.0 + 0.0 - 3.0) / 3, 1e-9);
}

// The heatmaps' scale: white at zero, green up and red down, saturating at the scale, and
// white for what has no value; the text on a cell stays readable.
TEST(ColourScale, DivergesFromWhiteAndSaturates)
{
    EXPECT_EQ(hexColour(divergingColour(0, 10)), "#FFFFFF");
    EXPECT_EQ(divergingColour(10, 10), divergingColour(1e9, 10));
    EXPECT_EQ(hexColour(divergingColour(10, 10)), "#1A9850");
    EXPECT_EQ(hexColour(divergingColour(-10, 10)), "#D73027");
    Rgb halfUp = divergingColour(5, 10);
    EXPECT_GT(halfUp.green, halfUp.red);
    EXPECT_LT(halfUp.green, 255);
    EXPECT_GT(halfUp.red, divergingColour(10, 10).red);
    EXPECT_EQ(divergingColour(std::nan(""), 10), Rgb{});
    EXPECT_EQ(divergingColour(5, 0), Rgb{});
    EXPECT_EQ(textColourOn(Rgb{}), (Rgb{0, 0, 0}));
    EXPECT_EQ(textColourOn(divergingColour(-10, 10)), Rgb{});
}

// The optimisation maps colour by rank: an outlier takes one step and the worst value is full
// red however far the outlier lies; the steps hold about as many values each, ties share one,
// and where smaller is better the order turns round.
TEST(ColourScale, RankStepsHoldAboutAsManyValuesEachWhateverTheOutliers)
{
    const double nan = std::nan("");
    struct Case {
        std::vector<double> values;
        bool smallerIsBetter;
        int maxSteps;
        std::vector<int> steps;
    };
    const Case cases[] = {
        {{30350, 23, 100, 110, 120, 130}, false, 7, {5, 0, 1, 2, 3, 4}},
        {{30350, 23, 100, 110, 120, 130}, true, 7, {0, 5, 4, 3, 2, 1}},
        {{1, 2, 3, 4, 5, 6, 7, 8}, false, 4, {0, 0, 1, 1, 2, 2, 3, 3}},
        {{5, 5, 5, 1, nan}, false, 7, {1, 1, 1, 0, -1}},
        {{2, 2}, false, 7, {0, 0}},
        {{nan}, false, 7, {-1}},
    };
    for (const Case& c : cases) {
        const RankScale scale = rankScale(c.values, c.smallerIsBetter, c.maxSteps);
        EXPECT_EQ(scale.stepOf, c.steps);
        const int used = c.steps.empty() ? 0 : *std::max_element(c.steps.begin(), c.steps.end()) + 1;
        ASSERT_EQ(scale.colours.size(), static_cast<size_t>(used));
        if (used > 1) {
            EXPECT_EQ(scale.colours.front(), divergingColour(-1, 1));
            EXPECT_EQ(scale.colours.back(), divergingColour(1, 1));
        } else if (used == 1) {
            EXPECT_EQ(scale.colours.front(), Rgb{});
        }
    }
}

}  // namespace
}  // namespace kv
