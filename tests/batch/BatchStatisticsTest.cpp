// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/BatchOptions.h"
#include "batch/BatchRun.h"
#include "support/StockMaster.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>
#include <string>
#include <vector>

namespace kv {
namespace {

class BatchStatistics : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::listedStocks().writeIndex(folder);
        folder.writeLines("signals.csv",
                          {
                              "銘柄,シグナル日付,購入価格,結果,終了日付,売却価格,パフォーマンス",
                              "極洋,2004/12/28,500,○,2005/01/05,520,+4%",
                              "極洋,2005/01/05,100,×,2005/01/07,97,-3%",
                              "トヨタ自動車,2005/01/05,100,？,2005/01/07,100,判定不可",
                              "トヨタ自動車,2005/01/06,100,○(結果は損失),2005/01/07,99,-1%",
                              "ソフトバンク,2005/01/06,100,×,2005/01/07,90,-10%",
                          });
    }

    int run(std::vector<std::string> arguments)
    {
        out.str("");
        err.str("");
        arguments.push_back((folder / "signals.csv").string());
        ParsedBatchArguments p = parseBatchArguments(arguments);
        EXPECT_TRUE(p.options) << p.error;
        return runBatch(*p.options, folder.path(), out, err, false);
    }

    test::TempFolder folder;
    std::ostringstream out, err;
};

TEST_F(BatchStatistics, JsonHoldsTheDialogsFiguresWithNullWhereADivisorIsZero)
{
    ASSERT_EQ(run({"--json"}), 0) << err.str();
    nlohmann::json s = nlohmann::json::parse(out.str())["statistics"];

    // (0.04 - 0.03 - 0.03 - 0.01 - 0.10) / 5; days: 0.04, -0.03, -0.055.
    EXPECT_EQ(s["overall"]["signals"], 5);
    EXPECT_EQ(s["overall"]["successes"], 2);
    EXPECT_EQ(s["overall"]["successLosses"], 1);
    EXPECT_NEAR(s["overall"]["simpleAverage"].get<double>(), -2.6, 1e-9);
    EXPECT_NEAR(s["overall"]["perDayAverage"].get<double>(), -1.5, 1e-9);

    ASSERT_EQ(s["stocks"].size(), 3u);
    EXPECT_EQ(s["stocks"][0]["code"], 1301);
    EXPECT_EQ(s["stocks"][0]["name"], "極洋");
    EXPECT_EQ(s["stocks"][1]["code"], 7203);
    EXPECT_TRUE(s["stocks"][1]["failureAverage"].is_null());  // the dialog shows 0.00％ here
    EXPECT_NEAR(s["stocks"][1]["unknownShare"].get<double>(), 50.0, 1e-9);
    EXPECT_TRUE(s["stocks"][2]["successAverage"].is_null());

    // As the dialog opens: ソフトバンク and its single signal are left out.
    const nlohmann::json& r = s["rankings"];
    ASSERT_EQ(r["profitRateTop"].size(), 2u);
    EXPECT_EQ(r["profitRateTop"][0]["rank"], 1);
    EXPECT_EQ(r["profitRateTop"][0]["code"], 1301);
    EXPECT_EQ(r["profitRateTop"][0]["name"], "極洋");
    EXPECT_NEAR(r["profitRateTop"][0]["value"].get<double>(), 0.5, 1e-9);
    EXPECT_NEAR(r["profitRateBottom"][0]["value"].get<double>(), -2.0, 1e-9);
    EXPECT_EQ(r["failureRateTop"].size(), 1u);
    EXPECT_EQ(r["successRateTop"][1]["code"], 7203);
    EXPECT_EQ(r["signalCountTop"][1],
              (nlohmann::json{{"rank", 2}, {"code", 7203}, {"name", "トヨタ自動車"}, {"value", 2}}));

    ASSERT_EQ(s["years"].size(), 2u);
    EXPECT_EQ(s["years"][0]["year"], 2004);
    EXPECT_EQ(s["years"][1]["signals"], 4);
    ASSERT_EQ(s["months"].size(), 2u);
    EXPECT_EQ(s["months"][1]["year"], 2005);
    EXPECT_EQ(s["months"][1]["month"], 1);
    EXPECT_NEAR(s["months"][1]["perDayAverage"].get<double>(), -4.25, 1e-9);
    EXPECT_TRUE(s["months"][0]["failureShare"].is_number());
    EXPECT_TRUE(s["months"][0]["failureAverage"].is_null());

    // The rate of unknown outcomes is the batch's setting.
    ASSERT_EQ(run({"--json", "--set", "unknownProfitRate=0.07"}), 0) << err.str();
    s = nlohmann::json::parse(out.str())["statistics"];
    EXPECT_NEAR(s["overall"]["simpleAverage"].get<double>(), -0.6, 1e-9);
    EXPECT_EQ(s["rankings"]["profitRateTop"][0]["code"], 7203);
}

TEST_F(BatchStatistics, ReadableSummaryEndsWithTheSimpleTotals)
{
    ASSERT_EQ(run({}), 0) << err.str();
    const std::string summary = out.str();
    const std::string block = "単純集計\n"
                              "  成功時: 40.00％  シグナル数: 2  平均利益: 1.50％  うち損失数: 1\n"
                              "  失敗時: 40.00％  シグナル数: 2  平均利益: -6.50％  うち利益数: 0\n"
                              "  不明: 20.00％  シグナル数: 1\n"
                              "  総シグナル数: 5  単純平均利益: -2.60％  日別平均利益: -1.50％\n";
    ASSERT_GE(summary.size(), block.size());
    EXPECT_EQ(summary.substr(summary.size() - block.size()), block) << summary;
}

}  // namespace
}  // namespace kv
