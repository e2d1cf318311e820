// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/SimHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace kv {
namespace {

using test::signalLine;
using test::SimHarness;

// Two purchases and two sales.
void addTwoDays(SimHarness& h)
{
    h.app->settings.maxPurchaseAmount = 1000000;
    h.addSignal(signalLine(2, "日水", "2004/1/5", 300, "×", "2004/1/9", 280, 100));
    h.addSignal(signalLine(3, "マルハ", "2004/1/6", 150, "○", "2004/1/7", 160, 1000));
}

std::string commas(std::string record)
{
    std::replace(record.begin(), record.end(), ' ', ',');
    return record;
}

TEST(TradeRecord, HoldsTheLogWithBlanksForCommasWithOrWithoutTheFile)
{
    SimHarness logged;
    addTwoDays(logged);
    logged.startLogged();
    logged.runToEnd();
    const std::string log = logged.folder.read("log.csv");
    const std::string& record = logged.sim.tradeRecord();
    EXPECT_EQ(std::count(record.begin(), record.end(), ','), 0);
    EXPECT_EQ(commas(record), log);
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 5);

    SimHarness unlogged;
    addTwoDays(unlogged);
    unlogged.start();
    unlogged.runToEnd();
    EXPECT_EQ(unlogged.sim.tradeRecord(), record);
}

TEST(TradeRecord, KeepsEveryLineWhenTheLogFileFails)
{
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    SimHarness full;
    addTwoDays(full);
    std::filesystem::create_symlink("/dev/full", full.folder / "full.csv");
    full.startWithLog(full.folder / "full.csv");
    full.runToEnd();
    EXPECT_EQ(full.logWriteFailures, 1);

    SimHarness good;
    addTwoDays(good);
    good.start();
    good.runToEnd();
    EXPECT_EQ(full.sim.tradeRecord(), good.sim.tradeRecord());
}

TEST(TradeRecord, ANewRunStartsAFreshRecordAndResetKeepsIt)
{
    SimHarness h;
    addTwoDays(h);
    EXPECT_TRUE(h.sim.tradeRecord().empty());  // before any run
    h.start();
    h.runToEnd();
    const std::string first = h.sim.tradeRecord();
    h.sim.reset();
    EXPECT_EQ(h.sim.tradeRecord(), first);
    h.start();
    const std::string& second = h.sim.tradeRecord();
    EXPECT_EQ(second, first.substr(0, first.find("\r\n") + 2));  // the header alone
}

}  // namespace
}  // namespace kv
