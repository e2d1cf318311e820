// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/BatchOptions.h"
#include "batch/BatchRun.h"
#include "batch/BatchSession.h"
#include "sweep/SweepFigures.h"
#include "sweep/SweepGrid.h"
#include "sweep/BackgroundSweep.h"
#include "sweep/SweepRunner.h"
#include "sweep/WalkForward.h"
#include "batch/SweepOptions.h"
#include "batch/SweepRun.h"
#include "data/SimulatorApp.h"
#include "settings/SettingByName.h"
#include "text/Numbers.h"
#include "support/TempFolder.h"

#include "SampleData.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstring>
#include <map>
#include <numeric>
#include <set>
#include <sstream>
#include <thread>

namespace kv {
namespace {

std::vector<std::string> valuesOf(const std::string& name, const std::string& valuesText)
{
    ParsedAxis parsed = parseAxis(name, valuesText);
    EXPECT_TRUE(parsed.axis) << valuesText << ": " << parsed.error;
    return parsed.axis ? parsed.axis->values : std::vector<std::string>{};
}

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        result.push_back(line);
    return result;
}

// Field n (0-based) of a CSV line.
std::string field(const std::string& line, size_t n)
{
    size_t begin = 0;
    for (; n > 0; --n)
        begin = line.find(',', begin) + 1;
    return line.substr(begin, line.find(',', begin) - begin);
}

TEST(SweepGrid, LastAxisChangesFastestAndShardsSplitTheGridOnce)
{
    SweepGrid grid(
        {{"maxStocks", {"1", "2", "3"}}, {"operatingRate", {"0.5", "1"}}, {"tradeOrder", {"0", "1"}}});
    ASSERT_EQ(grid.size(), 12u);
    std::vector<std::string> seen;
    for (uint64_t i = 0; i < grid.size(); ++i) {
        std::string key;
        for (std::string_view v : grid.valuesOf(i))
            key.append(v).append(" ");
        seen.push_back(key);
    }
    EXPECT_EQ(seen[0], "1 0.5 0 ");
    EXPECT_EQ(seen[1], "1 0.5 1 ");
    EXPECT_EQ(seen[2], "1 1 0 ");
    EXPECT_EQ(seen[4], "2 0.5 0 ");
    EXPECT_EQ(seen[11], "3 1 1 ");
    EXPECT_EQ(std::set<std::string>(seen.begin(), seen.end()).size(), 12u);

    std::multiset<uint64_t> covered;
    for (uint64_t shard = 0; shard < 3; ++shard) {
        for (uint64_t i : grid.shardIndices(shard, 3)) {
            EXPECT_EQ(i % 3, shard);
            covered.insert(i);
        }
    }
    std::multiset<uint64_t> all;
    for (uint64_t i = 0; i < 12; ++i)
        all.insert(i);
    EXPECT_EQ(covered, all);
    // More shards than combinations: the last shards are empty, none repeats a combination.
    EXPECT_EQ(SweepGrid({{"maxStocks", {"1", "2"}}}).shardIndices(2, 5).size(), 0u);
    EXPECT_EQ(SweepGrid().size(), 1u);  // no --vary: the one combination of the --set values
}

// The grid reads its texts once; each combination's settings must be those the texts give when
// set as kvn.conf reads them, bit for bit, whatever the text (a grid built in code is not checked).
TEST(SweepGrid, TypedValuesSetWhatTheTextsSet)
{
    SweepGrid grid({{"maxStocks", {"3", "3.7", "-2", "+4", "x"}},
                    {"operatingRate", {"0.1", "0.50", "-0", "1e-3", "0.30000000000000004"}},
                    {"tradeOrder", {"0", "1", "2"}},
                    {"capital", {"1234567.5"}},
                    {"noSuchSetting", {"1", "2"}},
                    {"maxStocks", {"9"}}});  // the later axis of a setting wins
    for (uint64_t i = 0; i < grid.size(); ++i) {
        SimulationSettings typed, texts;
        grid.setValues(typed, i);
        const std::vector<std::string_view> values = grid.valuesOf(i);
        for (size_t a = 0; a < values.size(); ++a)
            setSettingByName(texts, grid.axes()[a].name, values[a]);
        EXPECT_EQ(std::memcmp(&typed.operatingRate, &texts.operatingRate, sizeof(double)), 0) << i;
        EXPECT_EQ(typed, texts) << i;
    }
}

TEST(SweepGrid, RangesStepInExactDecimalsAndIncludeToOnlyWhenLandedOn)
{
    using V = std::vector<std::string>;
    EXPECT_EQ(valuesOf("maxStocks", "1:5:2"), (V{"1", "3", "5"}));
    EXPECT_EQ(valuesOf("maxStocks", "1:6:2"), (V{"1", "3", "5"}));
    EXPECT_EQ(valuesOf("maxStocks", "5:1:-2"), (V{"5", "3", "1"}));
    EXPECT_EQ(valuesOf("maxStocks", "3:3:1"), (V{"3"}));
    EXPECT_EQ(valuesOf("maxStocks", "3:3:-1"), (V{"3"}));
    // Binary steps would drift past 0.3 and lose it.
    EXPECT_EQ(valuesOf("operatingRate", "0.1:0.3:0.1"), (V{"0.1", "0.2", "0.3"}));
    EXPECT_EQ(valuesOf("operatingRate", "0.5:1:0.25"), (V{"0.50", "0.75", "1.00"}));
    EXPECT_EQ(valuesOf("unknownProfitRate", "-0.05:-0.01:0.02"), (V{"-0.05", "-0.03", "-0.01"}));
    EXPECT_EQ(valuesOf("leverage", "-1:1:0.5"), (V{"-1.0", "-0.5", "0.0", "0.5", "1.0"}));
    EXPECT_EQ(valuesOf("maxStocks", "2147483646:2147483647:1"), (V{"2147483646", "2147483647"}));
    EXPECT_EQ(valuesOf("tradeOrder", "1:0:-1"), (V{"1", "0"}));
    EXPECT_EQ(valuesOf("capital", "1000000,2000000,+3000000"), (V{"1000000", "2000000", "+3000000"}));
}

TEST(SweepArguments, ReadsEveryOption)
{
    ParsedSweepArguments p = parseSweepArguments({"--jobs",         "3",
                                                  "--shard",        "1/4",
                                                  "--start-row",    "2",
                                                  "--end-row",      "9",
                                                  "--set",          "leverage=3",
                                                  "--vary",         "maxStocks=1:3:1",
                                                  "--vary",         "operatingRate=0.5,1",
                                                  "--sort",         "maxDrawdownPercent",
                                                  "--top",          "2",
                                                  "--holdout-from", "2004/7/01",
                                                  "--json",         "s.csv"});
    ASSERT_TRUE(p.options) << p.error;
    const SweepOptions& o = *p.options;
    EXPECT_EQ(o.jobs, 3);
    EXPECT_EQ(o.shard, 1u);
    EXPECT_EQ(o.shards, 4u);
    EXPECT_EQ(o.startRow, 2);
    EXPECT_EQ(o.endRow, 9);
    ASSERT_EQ(o.settings.size(), 1u);
    EXPECT_EQ(o.settings[0], std::make_pair(std::string("leverage"), std::string("3")));
    ASSERT_EQ(o.grid.axes().size(), 2u);
    EXPECT_EQ(o.grid.axes()[1].name, "operatingRate");
    EXPECT_EQ(o.grid.size(), 6u);
    EXPECT_EQ(o.sortField, "maxDrawdownPercent");
    EXPECT_EQ(o.top, 2u);
    EXPECT_EQ(o.holdoutFrom, 20040701);
    EXPECT_TRUE(o.json);
    EXPECT_EQ(o.signalFile, std::filesystem::path("s.csv"));
}

TEST(SweepArguments, RefusalsNameWhatIsWrong)
{
    struct Case {
        std::vector<std::string> arguments;
        std::string named;  // a part of the message
    };
    const Case cases[] = {
        {{"--vary", "maxStocks=1:5:0", "s.csv"}, "STEP が 0 です"},
        {{"--vary", "maxStocks=5:1:1", "s.csv"}, "STEP の向きでは TO に届きません"},
        {{"--vary", "operatingRate=0.1:0.5:-0.1", "s.csv"}, "STEP の向きでは TO に届きません"},
        {{"--vary", "maxStocks=1:5", "s.csv"}, "FROM:TO:STEP"},
        {{"--vary", "maxStocks=1:5:1:2", "s.csv"}, "FROM:TO:STEP"},
        {{"--vary", "maxStocks=1:5:0.5", "s.csv"}, "STEP '0.5' は整数ではありません"},
        {{"--vary", "maxStocks=1.5,2", "s.csv"}, "'1.5' は整数ではありません"},
        {{"--vary", "maxStocks=3000000000", "s.csv"}, "'3000000000' は整数の範囲"},
        {{"--vary", "tradeOrder=0,2", "s.csv"}, "'2' は 0 でも 1 でもありません"},
        {{"--vary", "operatingRate=0.5,,1", "s.csv"}, "空の値があります"},
        {{"--vary", "operatingRate=", "s.csv"}, "空の値があります"},
        {{"--vary", "operatingRate=1e3", "s.csv"}, "'1e3' は数値ではありません"},
        {{"--vary", "operatingRate=.5", "s.csv"}, "'.5' は数値ではありません"},
        {{"--vary", "operatingRate=x:1:0.1", "s.csv"}, "FROM 'x' は数値ではありません"},
        {{"--vary", "nosuch=1,2", "s.csv"}, "--vary: nosuch という設定はありません"},
        {{"--vary", "maxStocks=1,2", "--vary", "maxStocks=3", "s.csv"},
         "--vary maxStocks が二度指定されています"},
        {{"--vary", "maxStocks", "s.csv"}, "--vary には NAME=VALUES が必要です"},
        {{"--vary", "maxStocks=0:999:1", "--vary", "capital=0:1000:1", "s.csv"},
         "組合せが 1000000 を超えます"},
        {{"--vary", "capital=0:10000000:1", "s.csv"}, "値が多すぎます (1000000 まで)"},
        {{"--set", "capital=abc", "s.csv"}, "--set capital=abc: 'abc' は数値ではありません"},
        {{"--set", "nosuch=1", "s.csv"}, "--set: nosuch という設定はありません"},
        {{"--shard", "3/3", "s.csv"}, "--shard には 0 <= I < N となる I/N が必要です: 3/3"},
        {{"--shard", "1", "s.csv"}, "--shard には"},
        {{"--shard", "0/0", "s.csv"}, "--shard には"},
        {{"--shard", "-1/3", "s.csv"}, "--shard には"},
        {{"--jobs", "0", "s.csv"}, "--jobs には 1 以上のスレッド数が必要です"},
        {{"--jobs", "two", "s.csv"}, "--jobs"},
        {{"--top", "0", "s.csv"}, "--top には 1 以上の行数が必要です"},
        {{"--sort", "cagr", "s.csv"}, "cagr という数値はありません"},
        {{"--holdout-from", "2004/2/30", "s.csv"},
         "--holdout-from には YYYY/MM/DD の日付が必要です: 2004/2/30"},
        {{"--holdout-from", "2004-07-01", "s.csv"}, "YYYY/MM/DD"},
        {{"--holdout-from", "04/07/01", "s.csv"}, "YYYY/MM/DD"},
        {{"--holdout-from", "2004/07/01x", "s.csv"}, "YYYY/MM/DD"},
        {{"--start-row", "-1", "s.csv"}, "--start-row には 0 以上の行番号が必要です"},
        {{"--frobnicate", "s.csv"}, "不明なオプションです: --frobnicate"},
        {{"a.csv", "b.csv"}, "シグナルファイルは一つだけ"},
        {{"--vary", "maxStocks=1,2", "--", "a.csv", "--b.csv"},
         "シグナルファイルは一つだけ指定できます: --b.csv"},
        {{"--json", "s.csv"}, "--vary が指定されていません"},
        {{"--vary", "maxStocks=1,2"}, "シグナルファイルが指定されていません"},
        {{"--walk-forward", "0:6", "--vary", "maxStocks=1", "s.csv"}, "--walk-forward には I:S"},
        {{"--walk-forward", "24", "--vary", "maxStocks=1", "s.csv"}, "1 から 1200 までの整数) が必要です: 24"},
        {{"--walk-forward", "24:", "--vary", "maxStocks=1", "s.csv"}, "--walk-forward には I:S"},
        {{"--walk-forward", "24:6.5", "--vary", "maxStocks=1", "s.csv"}, "--walk-forward には I:S"},
        {{"--walk-forward", "1201:1", "--vary", "maxStocks=1", "s.csv"}, "--walk-forward には I:S"},
        {{"--walk-forward", "+2:1", "--vary", "maxStocks=1", "s.csv"}, "--walk-forward には I:S"},
        {{"--walk-forward", "2:1", "--shard", "0/2", "--vary", "maxStocks=1", "s.csv"},
         "--walk-forward は --shard と一緒には指定できません"},
        {{"--walk-forward", "2:1", "--holdout-from", "2004/07/01", "--vary", "maxStocks=1", "s.csv"},
         "--walk-forward は --holdout-from と"},
        {{"--walk-forward", "2:1", "--top", "3", "--vary", "maxStocks=1", "s.csv"}, "--walk-forward は --top と"},
    };
    for (const Case& c : cases) {
        ParsedSweepArguments p = parseSweepArguments(c.arguments);
        EXPECT_FALSE(p.options) << c.arguments[1];
        EXPECT_NE(p.error.find(c.named), std::string::npos) << c.arguments[1] << ": " << p.error;
    }
}

TEST(SweepSort, BestFirstByEachFigureWithoutValuesLastAndTiesInGridOrder)
{
    auto figures = [](std::optional<double> finalAssets, std::optional<double> drawdown, int64_t trades) {
        SweepFigures f;
        f.values[sweepFigureByName("finalAssets")->column] = finalAssets;
        f.values[sweepFigureByName("maxDrawdownPercent")->column] = drawdown;
        f.values[sweepFigureByName("trades")->column] = static_cast<double>(trades);
        return f;
    };
    const std::vector<SweepFigures> rows = {
        figures(100, std::nullopt, 3), figures(std::nullopt, 5, 1), figures(300, 20, 3),
        figures(std::nan(""), 5, 2),   figures(200, 0, 0),          figures(300, 10, 5),
    };
    auto order = [&](const char* name) { return rankedOrder(*sweepFigureByName(name), rows, 1); };
    using O = std::vector<size_t>;
    EXPECT_EQ(order("finalAssets"), (O{2, 5, 4, 0, 1, 3}));  // NaN sorts with the missing values
    EXPECT_EQ(order("maxDrawdownPercent"), (O{4, 1, 3, 5, 2, 0}));
    EXPECT_EQ(order("trades"), (O{5, 0, 2, 3, 1, 4}));
}

TEST(WalkForward, MonthsKeepTheDayOrFallOnTheLastDayOfTheMonth)
{
    const struct {
        int32_t date;
        int months;
        int32_t expected;
    } cases[] = {
        {20040105, 24, 20060105}, {20040131, 1, 20040229}, {20040131, 2, 20040331}, {20050131, 1, 20050228},
        {20041231, 2, 20050228},  {20040229, 12, 20050228}, {20041130, 3, 20050228}, {20040831, 13, 20050930},
        {20040115, -1, 20031215}, {20040105, 0, 20040105},  {20041215, 1, 20050115}, {20040331, 1200, 21040331},
    };
    for (const auto& c : cases)
        EXPECT_EQ(addMonths(c.date, c.months), c.expected) << c.date << " + " << c.months;
}

// Windows over hand-made date lists: the months are counted from the start each time (not from
// the previous window, which would drift off a month's last day), a part without a row drops its
// window, undated rows stay where their place puts them, and an out-of-sample period starting on
// the last date still counts.
TEST(WalkForward, WindowsAreCalendarMonthsFromTheFirstDatedRow)
{
    using W = std::vector<std::array<int, 5>>;  // k, in-sample first and last, out-of-sample first and last
    const struct {
        const char* what;
        std::vector<int32_t> dates;
        int first, inSample, outOfSample;
        W expected;
    } cases[] = {
        {"month ends",
         {20040131, 20040215, 20040229, 20040301, 20040330, 20040331, 20040415},
         0, 1, 1, W{{0, 0, 1, 2, 4}, {1, 2, 4, 5, 6}}},
        {"a gap drops two windows",
         {20040105, 20040205, 20040405, 20040505},
         0, 1, 1, W{{0, 0, 0, 1, 1}, {3, 2, 2, 3, 3}}},
        {"undated rows and an offset",
         {0, 20040105, 0, 20040210, 0},
         10, 1, 1, W{{0, 11, 12, 13, 14}}},
        {"out-of-sample starting on the last date",
         {20040105, 20040305},
         0, 2, 1, W{{0, 0, 0, 1, 1}}},
        {"overlapping in-sample periods",
         {20040105, 20040301, 20040501, 20040701, 20040901},
         0, 4, 2, W{{0, 0, 2, 3, 3}, {1, 2, 3, 4, 4}}},
        {"too short", {20040105, 20040110}, 0, 1, 1, W{}},
        {"no date", {0, 0}, 0, 1, 1, W{}},
    };
    for (const auto& c : cases) {
        W got;
        for (const WalkForwardWindow& w : walkForwardWindows(c.dates, c.first, c.inSample, c.outOfSample))
            got.push_back({w.index, w.inSample.first, w.inSample.last, w.outOfSample.first, w.outOfSample.last});
        EXPECT_EQ(got, c.expected) << c.what;
    }
}

// A generated working folder: a stock master and a signal file of a year and a half.
class Sweep : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::vector<SampleStock> stocks = makeStocks(40, 11);
        folder.write("index.txt", formatStockMaster(stocks));
        folder.write("signals.csv", makeSignalFile(stocks, 500, 20040105, 20050630, 11));
    }

    int sweep(std::vector<std::string> arguments)
    {
        out.str("");
        err.str("");
        arguments.push_back((folder / "signals.csv").string());
        ParsedSweepArguments p = parseSweepArguments(arguments);
        EXPECT_TRUE(p.options) << p.error;
        return p.options ? runSweep(*p.options, folder.path(), out, err, false) : -1;
    }

    nlohmann::json batch(const std::vector<std::pair<std::string, std::string>>& settings,
                         std::vector<std::string> arguments = {})
    {
        arguments.push_back("--json");
        for (const auto& [name, value] : settings) {
            arguments.push_back("--set");
            arguments.push_back(name + "=" + value);
        }
        arguments.push_back((folder / "signals.csv").string());
        ParsedBatchArguments p = parseBatchArguments(arguments);
        std::ostringstream batchOut, batchErr;
        EXPECT_EQ(runBatch(*p.options, folder.path(), batchOut, batchErr, false), 0) << batchErr.str();
        return nlohmann::json::parse(batchOut.str());
    }

    test::TempFolder folder;
    std::ostringstream out, err;
};

TEST_F(Sweep, EachCombinationHasTheFiguresOfABatchRunWithTheSameSettings)
{
    ASSERT_EQ(sweep({"--json", "--set", "leverage=2", "--vary", "operatingRate=0.5,1", "--vary",
                     "maxStocks=1,3", "--vary", "commissionSchedule=1,2"}),
              0)
        << err.str();
    std::vector<std::string> rows = lines(out.str());
    ASSERT_EQ(rows.size(), 8u);
    std::set<std::string> distinct;
    for (uint64_t check : {0u, 3u, 6u}) {
        nlohmann::json line = nlohmann::json::parse(rows[check]);
        ASSERT_EQ(line["combination"], check);
        nlohmann::json expected = batch({{"leverage", "2"},
                                         {"operatingRate", check < 4 ? "0.5" : "1"},
                                         {"maxStocks", check % 4 < 2 ? "1" : "3"},
                                         {"commissionSchedule", check % 2 == 0 ? "1" : "2"}});
        EXPECT_EQ(line["operatingRate"], check < 4 ? 0.5 : 1.0);
        EXPECT_EQ(line["purchases"], expected["run"]["purchases"]) << check;
        EXPECT_EQ(line["sales"], expected["run"]["sales"]) << check;
        for (const char* field : {"finalAssets", "totalReturnPercent", "cagrPercent", "maxDrawdownPercent",
                                  "profitFactor", "winRatePercent", "trades"})
            EXPECT_EQ(line[field], expected["results"][field]) << check << ' ' << field;
        EXPECT_GT(line["purchases"].get<int>(), 0);
    }
    for (const std::string& row : rows)
        distinct.insert(nlohmann::json::parse(row)["purchases"].dump());
    EXPECT_GT(distinct.size(), 1u);  // the varied settings do change the runs
}

TEST_F(Sweep, OneWorkerAndFourGiveTheSameOutputAndShardsMergeBackIntoIt)
{
    const std::vector<std::string> grid = {"--vary", "maxStocks=1:4:1", "--vary", "operatingRate=0.4:1:0.3",
                                           "--vary", "tradeOrder=0,1"};
    auto with = [&](std::vector<std::string> extra) {
        extra.insert(extra.end(), grid.begin(), grid.end());
        EXPECT_EQ(sweep(extra), 0) << err.str();
        return out.str();
    };
    const std::string one = with({"--jobs", "1"});
    EXPECT_EQ(with({"--jobs", "4"}), one);
    std::vector<std::string> rows = lines(one);
    ASSERT_EQ(rows.size(), 25u);
    EXPECT_EQ(rows[0],
              "maxStocks,operatingRate,tradeOrder,combination,finalAssets,totalReturnPercent,cagrPercent,"
              "maxDrawdownPercent,profitFactor,winRatePercent,trades,purchases,sales");
    EXPECT_EQ(rows[1].substr(0, 10), "1,0.4,0,0,");
    EXPECT_EQ(rows[24].substr(0, 11), "4,1.0,1,23,");
    // The CSV rounds for people, the JSON keeps every digit: whole yen without a fraction, other
    // figures to at most 6 decimals.
    std::vector<std::string> json = lines(with({"--json"}));
    ASSERT_EQ(json.size(), 24u);
    for (size_t i = 0; i < json.size(); ++i) {
        const nlohmann::json line = nlohmann::json::parse(json[i]);
        const std::vector<const char*> figures = {"finalAssets",  "totalReturnPercent",
                                                  "cagrPercent",  "maxDrawdownPercent",
                                                  "profitFactor", "winRatePercent"};
        for (size_t f = 0; f < figures.size(); ++f) {
            const std::string text = field(rows[i + 1], 4 + f);
            if (line[figures[f]].is_null()) {
                EXPECT_EQ(text, "") << rows[i + 1];
                continue;
            }
            const double value = line[figures[f]].get<double>();
            const size_t point = text.find('.');
            // At most 6 decimals and no trailing zero after the point.
            EXPECT_TRUE(point == std::string::npos || (text.size() - point - 1 <= 6 && text.back() != '0'))
                << text;
            EXPECT_NEAR(std::stod(text), value, 5e-7 * std::max(1.0, std::fabs(value))) << figures[f];
            if (value == std::trunc(value)) {
                EXPECT_EQ(text, std::to_string(static_cast<long long>(value))) << figures[f];
            }
        }
    }

    std::map<int, std::string> merged;
    for (int shard = 0; shard < 3; ++shard) {
        std::vector<std::string> part = lines(with({"--jobs", "2", "--shard", std::to_string(shard) + "/3"}));
        EXPECT_EQ(part[0], rows[0]);
        for (size_t i = 1; i < part.size(); ++i) {
            int combination = std::stoi(field(part[i], 3));
            EXPECT_EQ(combination % 3, shard) << part[i];
            EXPECT_TRUE(merged.emplace(combination, part[i]).second) << part[i];
        }
    }
    ASSERT_EQ(merged.size(), 24u);
    for (const auto& [combination, row] : merged)
        EXPECT_EQ(row, rows[static_cast<size_t>(combination) + 1]);
}

TEST_F(Sweep, SortAndTopKeepTheBestLinesOfTheGrid)
{
    ASSERT_EQ(sweep({"--json", "--vary", "maxStocks=1:6:1", "--sort", "purchases"}), 0) << err.str();
    std::vector<std::string> all = lines(out.str());
    ASSERT_EQ(all.size(), 6u);
    for (size_t i = 1; i < all.size(); ++i)
        EXPECT_GE(nlohmann::json::parse(all[i - 1])["purchases"], nlohmann::json::parse(all[i])["purchases"]);

    ASSERT_EQ(sweep({"--json", "--vary", "maxStocks=1:6:1", "--sort", "purchases", "--top", "2"}), 0);
    EXPECT_EQ(lines(out.str()), std::vector<std::string>(all.begin(), all.begin() + 2));

    ASSERT_EQ(sweep({"--vary", "maxStocks=1:6:1", "--top", "2"}), 0);
    std::vector<std::string> top = lines(out.str());
    ASSERT_EQ(top.size(), 3u);  // header and the first two combinations
    EXPECT_EQ(top[2].substr(0, 4), "2,1,");
}

TEST_F(Sweep, AHoldOutRunsEachPartAsTheBatchRunsItsRowsAndRanksByTheInSampleFigure)
{
    std::ostringstream quiet;
    BatchSession session(folder.path(), quiet);
    ASSERT_EQ(session.prepare(folder / "signals.csv", std::nullopt, std::nullopt), RunPreparation::Ready);
    int split = 0;
    while (session.loadedSignals.fields(split).signalDate < 20041001)
        ++split;
    const std::string last = std::to_string(session.loadedSignals.count() - 1);

    ASSERT_EQ(sweep({"--json", "--holdout-from", "2004/10/01", "--set", "leverage=2", "--vary",
                     "maxStocks=1,3", "--sort", "finalAssets"}),
              0)
        << err.str();
    std::vector<std::string> rows = lines(out.str());
    ASSERT_EQ(rows.size(), 2u);
    const nlohmann::json best = nlohmann::json::parse(rows[0]);
    const nlohmann::json second = nlohmann::json::parse(rows[1]);
    EXPECT_GE(best["isFinalAssets"].get<double>(), second["isFinalAssets"].get<double>());
    const std::string maxStocks = best["maxStocks"].dump();
    const nlohmann::json in = batch({{"leverage", "2"}, {"maxStocks", maxStocks}},
                                    {"--start-row", "0", "--end-row", std::to_string(split - 1)});
    const nlohmann::json outOf = batch({{"leverage", "2"}, {"maxStocks", maxStocks}},
                                       {"--start-row", std::to_string(split), "--end-row", last});
    for (const char* figure : {"finalAssets", "totalReturnPercent", "cagrPercent", "maxDrawdownPercent",
                               "profitFactor", "winRatePercent", "trades"}) {
        std::string name = figure;
        name[0] = static_cast<char>(name[0] - 'a' + 'A');
        EXPECT_EQ(best["is" + name], in["results"][figure]) << figure;
        EXPECT_EQ(best["oos" + name], outOf["results"][figure]) << figure;
    }
    EXPECT_EQ(best["isSales"], in["run"]["sales"]);
    EXPECT_EQ(best["oosPurchases"], outOf["run"]["purchases"]);
    EXPECT_GT(best["oosPurchases"].get<int>(), 0);

    ASSERT_EQ(sweep({"--holdout-from", "2004/10/01", "--vary", "maxStocks=1"}), 0);
    EXPECT_EQ(
        lines(out.str())[0],
        "maxStocks,combination,isFinalAssets,isTotalReturnPercent,isCagrPercent,isMaxDrawdownPercent,"
        "isProfitFactor,isWinRatePercent,isTrades,isPurchases,isSales,oosFinalAssets,oosTotalReturnPercent,"
        "oosCagrPercent,oosMaxDrawdownPercent,oosProfitFactor,oosWinRatePercent,oosTrades,oosPurchases,"
        "oosSales");

    // Either part would be empty: refused before anything runs.
    const std::string firstDate = paddedDateText(session.loadedSignals.fields(0).signalDate);
    for (const std::string& date : {std::string("2003/12/31"), firstDate, std::string("2005/12/31")}) {
        EXPECT_EQ(sweep({"--holdout-from", date, "--vary", "maxStocks=1"}), 2) << date;
        EXPECT_NE(err.str().find("の最初の日より後で最後の日までの日付が必要です"), std::string::npos)
            << err.str();
        EXPECT_TRUE(out.str().empty());
    }
}

// The sample folder as it is shipped: four hundred rows from 2004/01/05 to 2005/06/30.
class SweepOnTheSample : public Sweep {
protected:
    void SetUp() override
    {
        for (const char* name : {"index.txt", "signals.csv"})
            std::filesystem::copy_file(std::filesystem::path(KV_SAMPLE_DIR) / name, folder / name);
    }
};

// --walk-forward 6:3 on the sample. The windows are worked out by hand from its dates; in each,
// the chosen values must be the best of kirvane-batch's in-sample runs of the grid (the first in
// grid order on a tie), the out-of-sample figures those of kirvane-batch on the window's rows
// with those values, and the summary must chain those runs as its definitions say.
TEST_F(SweepOnTheSample, EachWalkForwardWindowRunsAsTheBatchRunsItsRows)
{
    // Each window's in-sample start, out-of-sample start and end (2004/01/05 + 3k, + 3k + 6 and
    // + 3k + 9 months), and the dates of the first and last row of each part.
    const struct {
        int k;
        int32_t inStart, outStart, outEnd;
        std::array<const char*, 4> dates;
    } windows[] = {
        {0, 20040105, 20040705, 20041005, {"2004/01/05", "2004/06/30", "2004/07/05", "2004/09/30"}},
        {1, 20040405, 20041005, 20050105, {"2004/04/07", "2004/09/30", "2004/10/05", "2005/01/04"}},
        {2, 20040705, 20050105, 20050405, {"2004/07/05", "2005/01/04", "2005/01/05", "2005/04/04"}},
        {3, 20041005, 20050405, 20050705, {"2004/10/05", "2005/04/04", "2005/04/05", "2005/06/30"}},
    };
    std::ostringstream quiet;
    BatchSession session(folder.path(), quiet);
    ASSERT_EQ(session.prepare(folder / "signals.csv", std::nullopt, std::nullopt), RunPreparation::Ready);
    // The first loaded row dated on or after `date` (the sample is in date order).
    auto rowFrom = [&](int32_t date) {
        int row = 0;
        while (row < session.loadedSignals.count() && session.loadedSignals.fields(row).signalDate < date)
            ++row;
        return row;
    };
    const std::vector<std::pair<const char*, const char*>> grid = {{"0.5", "3"}, {"0.5", "5"}, {"1", "3"}, {"1", "5"}};
    ASSERT_EQ(sweep({"--json", "--set", "leverage=2", "--walk-forward", "6:3", "--vary", "operatingRate=0.5,1",
                     "--vary", "maxStocks=3,5", "--sort", "cagrPercent"}),
              0)
        << err.str();
    const std::vector<std::string> rows = lines(out.str());
    ASSERT_EQ(rows.size(), 5u);
    const std::vector<std::string> figures = {"finalAssets",  "totalReturnPercent", "cagrPercent",
                                              "maxDrawdownPercent", "profitFactor", "winRatePercent",
                                              "trades"};
    std::vector<std::string> keys = {"window", "inSampleStart", "inSampleEnd", "outOfSampleStart",
                                     "outOfSampleEnd", "operatingRate", "maxStocks", "isFigure"};
    for (std::string name : sweepFigureNames()) {
        name[0] = static_cast<char>(name[0] - 'a' + 'A');
        keys.push_back("oos" + name);
    }
    double chained = 2000000, peak = chained, deepest = 0, outCagr = 0, inCagr = 0;
    int positive = 0, changes = 0;
    std::string previous;
    for (size_t w = 0; w < std::size(windows); ++w) {
        const auto& expected = windows[w];
        const nlohmann::ordered_json line = nlohmann::ordered_json::parse(rows[w]);
        std::vector<std::string> got;
        for (const auto& item : line.items())
            got.push_back(item.key());
        EXPECT_EQ(got, keys);
        EXPECT_EQ(line["window"], expected.k);
        EXPECT_EQ(line["inSampleStart"], expected.dates[0]);
        EXPECT_EQ(line["inSampleEnd"], expected.dates[1]);
        EXPECT_EQ(line["outOfSampleStart"], expected.dates[2]);
        EXPECT_EQ(line["outOfSampleEnd"], expected.dates[3]);

        auto settings = [&](const std::pair<const char*, const char*>& values) {
            return std::vector<std::pair<std::string, std::string>>{
                {"leverage", "2"}, {"operatingRate", values.first}, {"maxStocks", values.second}};
        };
        auto rowsOf = [](int first, int last) {
            return std::vector<std::string>{"--start-row", std::to_string(first), "--end-row", std::to_string(last)};
        };
        size_t best = 0;
        double bestCagr = -1e300;
        for (size_t c = 0; c < grid.size(); ++c) {
            const nlohmann::json cagr = batch(settings(grid[c]), rowsOf(rowFrom(expected.inStart), rowFrom(expected.outStart) - 1))["results"]["cagrPercent"];
            if (!cagr.is_null() && cagr.get<double>() > bestCagr) {
                bestCagr = cagr.get<double>();
                best = c;
            }
        }
        EXPECT_EQ(line["operatingRate"], std::stod(grid[best].first)) << w;
        EXPECT_EQ(line["maxStocks"], std::stoi(grid[best].second)) << w;
        EXPECT_EQ(line["isFigure"], bestCagr) << w;
        const nlohmann::json oos = batch(settings(grid[best]), rowsOf(rowFrom(expected.outStart), rowFrom(expected.outEnd) - 1));
        for (const std::string& figure : figures) {
            std::string name = figure;
            name[0] = static_cast<char>(name[0] - 'a' + 'A');
            EXPECT_EQ(line["oos" + name], oos["results"][figure]) << w << ' ' << figure;
        }
        EXPECT_EQ(line["oosPurchases"], oos["run"]["purchases"]) << w;
        EXPECT_EQ(line["oosSales"], oos["run"]["sales"]) << w;
        EXPECT_GT(line["oosPurchases"].get<int>(), 0) << w;

        const double windowReturn = oos["results"]["totalReturnPercent"].get<double>();
        chained *= 1 + windowReturn / 100;
        peak = std::max(peak, chained);
        deepest = std::max(deepest, (peak - chained) / peak * 100);
        positive += windowReturn > 0;
        outCagr += oos["results"]["cagrPercent"].get<double>();
        inCagr += bestCagr;
        changes += w > 0 && grid[best].first + std::string(grid[best].second) != previous;
        previous = grid[best].first + std::string(grid[best].second);
    }
    const nlohmann::ordered_json summary = nlohmann::ordered_json::parse(rows[4]);
    ASSERT_EQ(summary.size(), 1u);
    const nlohmann::ordered_json& all = summary["walkForward"];
    std::vector<std::string> got;
    for (const auto& item : all.items())
        got.push_back(item.key());
    EXPECT_EQ(got, (std::vector<std::string>{"windows", "chainedFinalAssets", "chainedReturnPercent",
                                             "chainedCagrPercent", "chainedMaxDrawdownPercent", "efficiency",
                                             "positiveWindowsPercent", "choiceChanges"}));
    // 2004/07/05 to 2005/06/30: 360 calendar days.
    const double years = 360 / 365.25;
    EXPECT_EQ(all["windows"], 4);
    EXPECT_NEAR(all["chainedFinalAssets"].get<double>(), chained, 1e-6);
    EXPECT_NEAR(all["chainedReturnPercent"].get<double>(), (chained / 2000000 - 1) * 100, 1e-9);
    EXPECT_NEAR(all["chainedCagrPercent"].get<double>(), (std::pow(chained / 2000000, 1 / years) - 1) * 100, 1e-9);
    EXPECT_NEAR(all["chainedMaxDrawdownPercent"].get<double>(), deepest, 1e-9);
    EXPECT_NEAR(all["efficiency"].get<double>(), outCagr / inCagr, 1e-12);
    EXPECT_EQ(all["positiveWindowsPercent"], positive * 25.0);
    EXPECT_EQ(all["choiceChanges"], changes);
}

// The CSV's header; without --sort the final assets rank. --start-row moves the start to its
// row's date. A span too short for one window is refused before anything runs.
TEST_F(SweepOnTheSample, WalkForwardCsvAndItsRefusal)
{
    ASSERT_EQ(sweep({"--walk-forward", "6:3", "--vary", "maxStocks=3,5"}), 0) << err.str();
    std::vector<std::string> rows = lines(out.str());
    ASSERT_EQ(rows.size(), 13u) << out.str();  // the header, four windows, eight summary lines
    EXPECT_EQ(rows[0],
              "window,inSampleStart,inSampleEnd,outOfSampleStart,outOfSampleEnd,maxStocks,isFigure,"
              "oosFinalAssets,oosTotalReturnPercent,oosCagrPercent,oosMaxDrawdownPercent,oosProfitFactor,"
              "oosWinRatePercent,oosTrades,oosPurchases,oosSales");
    // Without --sort the final assets rank: the in-sample figure is the better of the two runs.
    std::ostringstream quiet;
    BatchSession session(folder.path(), quiet);
    ASSERT_EQ(session.prepare(folder / "signals.csv", std::nullopt, std::nullopt), RunPreparation::Ready);
    int split = 0;
    while (session.loadedSignals.fields(split).signalDate < 20040705)
        ++split;
    double best = 0;
    for (const char* stocks : {"3", "5"}) {
        const nlohmann::json run = batch({{"maxStocks", stocks}}, {"--start-row", "0", "--end-row", std::to_string(split - 1)});
        best = std::max(best, run["results"]["finalAssets"].get<double>());
    }
    EXPECT_NEAR(std::stod(field(rows[1], 6)), best, 5e-7);

    ASSERT_EQ(sweep({"--walk-forward", "6:3", "--start-row", "160", "--vary", "maxStocks=3"}), 0) << err.str();
    rows = lines(out.str());
    ASSERT_GE(rows.size(), 2u);
    EXPECT_EQ(field(rows[1], 1), paddedDateText(session.loadedSignals.fields(160).signalDate));

    EXPECT_EQ(sweep({"--walk-forward", "24:6", "--vary", "maxStocks=3,5"}), 2);
    EXPECT_NE(err.str().find("--walk-forward 24:6 では、シグナルの期間 (2004/1/5 〜 2005/6/30) に"), std::string::npos)
        << err.str();
    EXPECT_TRUE(out.str().empty());
}

// The optimisation window's 中止: no combination starts once the sweep is cancelled, each worker
// ends with the one it is running, and the complete ones have the figures of a straight run.
TEST_F(Sweep, ACancelledBackgroundSweepEndsEachWorkerWithItsCombination)
{
    std::ostringstream messages;
    BatchSession session(folder.path(), messages);
    ASSERT_EQ(session.prepare(folder / "signals.csv", std::nullopt, std::nullopt), RunPreparation::Ready);
    SweepAxis axis{"maxStocks", {}};
    for (int stocks = 1; stocks <= 5000; ++stocks)
        axis.values.push_back(std::to_string(stocks));
    const SweepGrid grid({axis});
    const SweepRunner runner(session.app->master, session.loadedSignals, session.app->settings,
                             {{session.engine.startRow(), session.engine.endRow()}}, grid);
    std::vector<uint64_t> indices(grid.size());
    std::iota(indices.begin(), indices.end(), uint64_t{0});
    BackgroundSweep sweep(runner, indices, 2);
    while (sweep.done() < 3 && !sweep.finished())
        std::this_thread::yield();
    sweep.cancel();
    sweep.wait();
    ASSERT_TRUE(sweep.finished());
    // The progress the window polls lags behind the workers, so how many ended after the cancel
    // is not observable here; the benchmark measures it. The sweep stops far short of its end.
    EXPECT_LT(sweep.done(), indices.size() / 2);
    ASSERT_LT(sweep.ready(), indices.size());
    const std::vector<uint64_t> complete(indices.begin(),
                                         indices.begin() + static_cast<ptrdiff_t>(sweep.ready()));
    const std::vector<SweepFigures> straight = runner.run(complete, 1);
    for (size_t i = 0; i < complete.size(); ++i)
        EXPECT_EQ(sweep.figures()[i], straight[i]) << i;

    // Cancelled as the third combination is told, a single worker starts no fourth.
    std::atomic<bool> cancel{false};
    size_t told = 0;
    runner.run(
        std::vector<uint64_t>(indices.begin(), indices.begin() + 10), 1,
        [&](size_t done, size_t, const std::vector<SweepFigures>&) {
            told = done;
            cancel = done >= 3;
        },
        &cancel);
    EXPECT_EQ(told, 3u);
}

TEST_F(Sweep, StartsAndRefusesAsTheBatchDoes)
{
    EXPECT_EQ(sweep({"--vary", "maxStocks=1,2", "--start-row", "9", "--end-row", "3"}), 2);
    EXPECT_NE(err.str().find("終了日が開始日より前です。"), std::string::npos);
    EXPECT_TRUE(out.str().empty());

    folder.write("empty.csv", "h\r\n");
    out.str("");
    err.str("");
    ParsedSweepArguments p = parseSweepArguments({"--vary", "maxStocks=1", (folder / "empty.csv").string()});
    EXPECT_EQ(runSweep(*p.options, folder.path(), out, err, false), 1);
    EXPECT_NE(err.str().find("シミュレーションファイルまたはindex.txtがありません。"), std::string::npos);

    // More dates than the window holds: the window would end with status 0, the sweep fails.
    std::string bytes = "header\r\n";
    for (int i = 0; i <= kDateSlotCount; ++i)
        bytes += "x," + std::to_string(1000 + i / 1000) + "/" + std::to_string(i / 20 % 50 + 1) + "/" +
            std::to_string(i % 20 + 1) + ",100,x,,,\r\n";
    folder.write("large.csv", bytes);
    p = parseSweepArguments({"--vary", "maxStocks=1", (folder / "large.csv").string()});
    EXPECT_EQ(runSweep(*p.options, folder.path(), out, err, false), 1);
    EXPECT_NE(err.str().find("ファイルが大きすぎるため終了します。"), std::string::npos);

    // A kvn.conf without a value is read as it stands, with the batch tool's warning.
    for (const char* nothing : {"", "\r\n", "/dev/null"}) {
        std::filesystem::remove(folder / "kvn.conf");
        if (std::string_view(nothing) == "/dev/null")
            std::filesystem::create_symlink(nothing, folder / "kvn.conf");
        else
            folder.write("kvn.conf", nothing);
        EXPECT_EQ(sweep({"--vary", "maxStocks=1,2"}), 0) << err.str();
        EXPECT_NE(err.str().find("holds no value: every setting reads as 0"), std::string::npos) << nothing;
    }

    std::filesystem::remove(folder / "index.txt");
    EXPECT_EQ(sweep({"--vary", "maxStocks=1,2"}), 2);
    EXPECT_NE(err.str().find("index.txt"), std::string::npos);
    EXPECT_TRUE(out.str().empty());
}

}  // namespace
}  // namespace kv
