// SPDX-License-Identifier: GPL-3.0-or-later
// kirvane-sweep's limits at their edge: a grid of exactly the most combinations is taken (it is
// only parsed here, not run), one more is refused, and so is one axis of one value too many.
#include "batch/SweepOptions.h"
#include "sweep/SweepGrid.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(SweepLimit, ExactlyTheMostCombinationsAreTakenAndOneMoreIsRefused)
{
    ParsedSweepArguments p =
        parseSweepArguments({"--vary", "maxStocks=1:1000:1", "--vary", "capital=1:1000:1", "s.csv"});
    ASSERT_TRUE(p.options) << p.error;
    EXPECT_EQ(p.options->grid.size(), kMaxCombinations);

    // 101 × 9,901 = 1,000,001.
    p = parseSweepArguments({"--vary", "maxStocks=1:101:1", "--vary", "capital=1:9901:1", "s.csv"});
    EXPECT_FALSE(p.options);
    EXPECT_NE(p.error.find("組合せが 1000000 を超えます"), std::string::npos) << p.error;

    p = parseSweepArguments({"--vary", "capital=1:1000000:1", "s.csv"});
    ASSERT_TRUE(p.options) << p.error;
    EXPECT_EQ(p.options->grid.size(), kMaxCombinations);
    p = parseSweepArguments({"--vary", "capital=0:1000000:1", "s.csv"});
    EXPECT_FALSE(p.options);
    EXPECT_NE(p.error.find("値が多すぎます (1000000 まで)"), std::string::npos) << p.error;
}

}  // namespace
}  // namespace kv
