// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/SimHarness.h"
#include "support/Deadline.h"
#include "support/FileSizeLimit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include <sys/stat.h>

namespace kv {
namespace {

using test::signalLine;
using test::SimHarness;

void addLosingDay(SimHarness& h)
{
    h.addSignal(signalLine(2, "日水", "2004/1/5", 300, "×", "2004/1/9", 280, 100));
}

TEST(TradeLog, UnopenableLogIsReportedOnceAndTheRunGoesOnWithoutIt)
{
    SimHarness h;
    addLosingDay(h);
    h.startWithLog(h.folder / "missing-folder" / "log.csv", 0, 0);
    EXPECT_EQ(h.logOpenFailures, 1);
    EXPECT_FALSE(h.sim.logIsOpen());
    EXPECT_EQ(h.sim.state(), SimState::BeforeBuy);
    h.runToEnd();
    EXPECT_EQ(h.figures().sales, 1);
    EXPECT_EQ(h.logOpenFailures, 1);
    EXPECT_EQ(h.logWriteFailures, 0);  // nothing was open to fail

    // A FIFO as the log is refused at once, as a file that cannot be created (opening it would
    // wait for a reader for ever; the deadline makes such a fault fail at once).
    test::Deadline deadline(20);
    h.sim.reset();
    ASSERT_EQ(::mkfifo((h.folder / "fifo.csv").c_str(), 0600), 0);
    h.startWithLog(h.folder / "fifo.csv", 0, 0);
    EXPECT_EQ(h.logOpenFailures, 2);

    // A later run with a good file logs again.
    h.sim.reset();
    h.startLogged(0, 0);
    EXPECT_EQ(h.logOpenFailures, 2);
    EXPECT_TRUE(h.sim.logIsOpen());
}

TEST(TradeLog, LossSaleLineAndDatesWithoutLeadingZeros)
{
    SimHarness h;
    h.app->settings.setSchedule(CommissionSchedule::NoCommission);
    addLosingDay(h);
    h.startLogged();
    h.runToEnd();
    auto lines = h.logLines();
    ASSERT_EQ(lines.size(), 3u);
    // 166 lots of 100 at 300 (5,000,000 / 30,000), sold at 280.
    EXPECT_EQ(lines[1], "購入,2,日水,2004/1/5,300,16600,4980000,0,,,,20000,2000000");
    EXPECT_EQ(lines[2],
              "売却,2,日水,2004/1/9,280,16600,4648000,-332000,-6.67,-832000,-332000,4668000,1668000");
    for (const auto& line : lines)
        EXPECT_EQ(std::count(line.begin(), line.end(), ','), 12) << line;
}

TEST(TradeLog, AFailedWriteIsReportedOnceAndLoggingStopsForTheRun)
{
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    SimHarness h;
    addLosingDay(h);
    h.app->settings.saveLog = true;
    // A file name whose writes fail: a link to the device that is always full.
    std::filesystem::create_symlink("/dev/full", h.folder / "full.csv");
    h.startWithLog(h.folder / "full.csv", 0, 0);  // the header already fails; the first step reports it
    EXPECT_EQ(h.logOpenFailures, 0);
    EXPECT_EQ(h.logWriteFailures, 1);
    EXPECT_FALSE(h.sim.logIsOpen());
    h.runToEnd();
    EXPECT_EQ(h.logWriteFailures, 1);
    EXPECT_EQ(h.finishes, 1);
    EXPECT_TRUE(h.app->settings.saveLog);  // the next run asks again
    EXPECT_EQ(h.figures().purchases, 1);
    EXPECT_EQ(h.figures().sales, 1);
}

TEST(TradeLog, EveryLineIsOnDiskAsSoonAsItsStepEnds)
{
    SimHarness h;
    addLosingDay(h);
    h.startLogged();
    h.steps(1);  // buy: the log is still open
    ASSERT_TRUE(h.sim.logIsOpen());
    EXPECT_EQ(h.logLines().size(), 2u);
    h.record(h.sim.reset());  // closes the log with nothing lost
    EXPECT_FALSE(h.sim.logIsOpen());
    EXPECT_EQ(h.logLines().size(), 2u);
    EXPECT_EQ(h.logWriteFailures, 0);
}

TEST(TradeLog, AWriteThatFailsMidRunIsReportedAtItsStepAndTheRecordKeepsEveryLine)
{
    SimHarness h;
    addLosingDay(h);
    h.addSignal(signalLine(1, "極洋", "2004/1/5", 500, "○", "2004/1/9", 520, 1000));
    {
        test::FileSizeLimit disk(150);  // the header fits, the day's two purchases do not
        h.startLogged();
        EXPECT_EQ(h.logWriteFailures, 0);
        h.steps(1);  // buy
        EXPECT_EQ(h.logWriteFailures, 1);
        EXPECT_FALSE(h.sim.logIsOpen());
    }
    h.runToEnd();
    EXPECT_EQ(h.logWriteFailures, 1);
    const std::string& record = h.sim.tradeRecord();
    EXPECT_EQ(std::count(record.begin(), record.end(), '\n'), 5);  // header, two purchases, two sales
}

}  // namespace
}  // namespace kv
