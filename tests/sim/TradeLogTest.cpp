#include "sim/SimHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace kv {
namespace {

using test::SimHarness;
using test::signalLine;

void addLosingDay(SimHarness& h)
{
    h.addSignal(signalLine(2, "日水", "2004/1/5", 300, "×", "2004/1/9", 280, 100));
}

TEST(TradeLog, CancelledOrUnopenableLogTurnsSavingOffAndTheRunGoesOn)
{
    struct Case {
        bool cancel;
        const char* message;
    } cases[] = {
        {true, "キャンセルされたのでログの記録は行いません。記録したい場合は再度オプションのログの保存に"
               "チェックを入れてください。"},
        {false, "ファイルをオープンできません。ログ保存を取りやめます。記録する場合は再度オプションのログの"
                "保存にチェックを入れてください。"},
    };
    for (const Case& c : cases) {
        SimHarness h;
        addLosingDay(h);
        h.app->settings.saveLog = true;
        std::optional<std::filesystem::path> answer;
        if (!c.cancel)
            answer = h.folder / "missing-folder" / "log.csv";
        h.platform.queueFileAnswer(HeadlessPlatform::FileDialogKind::Save, answer);
        h.sim.start(0, 0);
        EXPECT_FALSE(h.app->settings.saveLog);
        EXPECT_EQ(h.messagesUtf8(), std::vector<std::string>{c.message});
        EXPECT_EQ(h.sim.simState, 3);
        h.runToEnd();
        EXPECT_EQ(h.sim.sales, 1);

        // The next run does not ask for a file.
        h.sim.reset();
        h.sim.start(0, 0);
        EXPECT_EQ(h.platform.fileDialogs().size(), 1u);
    }
}

TEST(TradeLog, LossSaleLineAndDatesWithoutLeadingZeros)
{
    SimHarness h;
    h.app->settings.commissionSchedule = 1;
    addLosingDay(h);
    h.startLogged();
    h.runToEnd();
    auto lines = h.logLines();
    ASSERT_EQ(lines.size(), 3u);
    // 166 lots of 100 at 300 (5,000,000 / 30,000), sold at 280.
    EXPECT_EQ(lines[1], "購入,2,日水,2004/1/5,300,16600,4980000,0,,,,20000,2000000");
    EXPECT_EQ(lines[2], "売却,2,日水,2004/1/9,280,16600,4648000,-332000,-6.67,-832000,-332000,4668000,1668000");
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
    h.platform.queueFileAnswer(HeadlessPlatform::FileDialogKind::Save, h.folder / "full.csv");
    h.sim.start(0, 0);   // the header already fails; the first step reports it
    EXPECT_FALSE(h.sim.tradeLog.isOpen());
    h.runToEnd();
    EXPECT_EQ(h.messagesUtf8(), (std::vector<std::string>{
                                    "ログファイルに書き込めません。このシミュレーションのログ保存を取りやめます。",
                                    "シミュレーション終了！"}));
    EXPECT_TRUE(h.app->settings.saveLog);   // the next run asks again
    EXPECT_EQ(h.sim.purchases, 1);
    EXPECT_EQ(h.sim.sales, 1);
}

TEST(TradeLog, EveryLineIsOnDiskAsSoonAsItIsWritten)
{
    SimHarness h;
    addLosingDay(h);
    h.startLogged();
    h.steps(1);   // buy: the log is still open
    ASSERT_TRUE(h.sim.tradeLog.isOpen());
    EXPECT_EQ(h.logLines().size(), 2u);
}

}  // namespace
}  // namespace kv
