// SPDX-License-Identifier: GPL-3.0-or-later
#include "resources/ControlIds.h"
#include "support/MainWindowFixture.h"
#include "text/Cp932.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

namespace kv {
namespace {

using test::MainWindow;

// Two days of signals: one stock bought on the first day, one on the second.
class RunControls : public ::testing::Test {
protected:
    void SetUp() override
    {
        w.folder.writeLines("signals.csv",
                            {
                                "銘柄,シグナル日付,購入価格,結果,終了日付,売却価格,パフォーマンス",
                                "極洋,2004/01/05,500,○,2004/01/06,520,+4%",
                                "トヨタ自動車,2004/01/06,3000,×,2004/01/08,2900,-3%",
                            });
        w.platform.queueFileAnswer(HeadlessPlatform::FileDialogKind::Open, w.folder / "signals.csv");
        w.click(IDC_LOAD);
        ASSERT_TRUE(w.dialog->signalsLoaded);
        w.clearMessages();
    }

    void runWithLog()
    {
        w.platform.queueFileAnswer(HeadlessPlatform::FileDialogKind::Save, w.folder / "log.csv");
        w.click(IDC_RUN);
    }

    MainWindow w;
};

TEST_F(RunControls, RunGathersTheFirstDayAndRefusesASecondRun)
{
    runWithLog();
    EXPECT_EQ(w.text(IDC_STATE), "購入前待機");
    EXPECT_EQ(w.text(IDC_CURRENT_DATE), "2004/01/05");
    ASSERT_EQ(w.dialog->engine.list(PortfolioList::Candidates).count(), 1);
    EXPECT_EQ(w.text(IDC_STATUS), "sim_cnt:1 line_hold:0 line_buy:1 line_sell:0");
    EXPECT_TRUE(w.messagesUtf8().empty());
    EXPECT_EQ(w.folder.read("log.csv"),
              toCp932("売買,コード,銘柄名,日付,株価,株数,金額,差引益or手数料,利益率,現利益合計,税引き益,"
                      "運用枠残,現在の資産\r\n"));
    // The log's file was asked for as a CSV name, with an overwrite confirmation.
    ASSERT_EQ(w.platform.fileDialogs().size(), 1u);
    const FileDialogOptions& o = w.platform.fileDialogs()[0].options;
    EXPECT_TRUE(o.initialName.empty());
    EXPECT_EQ(toUtf8(o.nameHint), "ログファイル名入力");
    EXPECT_EQ(o.defaultExtension, "csv");
    EXPECT_EQ(toUtf8(o.filter), "CSV ファイル (*.csv)|*.csv|すべてのファイル (*.*)|*.*||");
    EXPECT_TRUE(o.overwritePrompt);

    for (int refused : {IDC_RUN, IDC_LOAD, IDC_OPTIONS}) {
        w.clearMessages();
        w.click(refused);
        ASSERT_EQ(w.messagesUtf8().size(), 1u) << refused;
    }
    EXPECT_EQ(w.dialog->signalList.count(), 2);
}

TEST_F(RunControls, NextStepsThroughTheDaysToTheEnd)
{
    runWithLog();
    const char* states[] = {"購入後待機", "購入完了",   "売却前待機", "売却後待機",
                            "購入前待機", "購入後待機", "終了"};
    for (const char* state : states) {
        w.click(IDC_NEXT);
        EXPECT_EQ(w.text(IDC_STATE), state);
    }
    EXPECT_TRUE(w.messagesUtf8().empty());
    w.click(IDC_NEXT);  // the final liquidation
    EXPECT_EQ(w.messagesUtf8(), std::vector<std::string>{"シミュレーション終了！"});
    EXPECT_EQ(w.dialog->engine.list(PortfolioList::Holdings).count(), 0);
    EXPECT_EQ(w.text(IDC_HOLDINGS_FIGURE), "(\\0)");
    EXPECT_GT(w.platform.waitCursorsShown(), 0);
    EXPECT_EQ(w.platform.waitCursorDepth(), 0);

    // After the end the phase repeats with empty lists and changes no figure.
    std::string total = w.text(IDC_TOTAL_ASSETS);
    w.clearMessages();
    w.click(IDC_NEXT);
    EXPECT_EQ(w.messagesUtf8(), std::vector<std::string>{"シミュレーション終了！"});
    EXPECT_EQ(w.text(IDC_TOTAL_ASSETS), total);
    w.clearMessages();
    w.click(IDC_RUN);
    EXPECT_EQ(w.messagesUtf8(), std::vector<std::string>{"実行中です。"});
}

TEST_F(RunControls, AutoStepsOnTicksUntilTheEndAndStopsItsTimer)
{
    runWithLog();
    w.click(IDC_AUTO);
    EXPECT_TRUE(w.dialog->engine.figures().autoRunning);
    for (int refused : {IDC_NEXT, IDC_RESET, IDC_AUTO}) {
        w.clearMessages();
        w.click(refused);
        EXPECT_EQ(w.messagesUtf8().size(), 1u) << refused;
    }
    w.clearMessages();
    w.tick(100);
    EXPECT_EQ(w.messagesUtf8(),
              std::vector<std::string>{"シミュレーション終了！"});  // once: the timer stopped
    EXPECT_FALSE(w.dialog->engine.figures().autoRunning);
    EXPECT_FALSE(w.platform.timerActive(*w.dialog, kAutoTimerEvent));
    EXPECT_EQ(w.text(IDC_STATE), "終了");

    // AUTO after the end: the next tick repeats the final phase, which stops the timer again.
    w.clearMessages();
    w.click(IDC_AUTO);
    w.tick(5);
    EXPECT_EQ(w.messagesUtf8(), std::vector<std::string>{"シミュレーション終了！"});
    EXPECT_FALSE(w.platform.timerActive(*w.dialog, kAutoTimerEvent));
}

TEST_F(RunControls, StopThenResetAndASecondRunStartsAgainFromTheCapital)
{
    runWithLog();
    w.click(IDC_NEXT);  // bought: 総資産 lost the commission
    EXPECT_EQ(w.text(IDC_TOTAL_ASSETS), "\\1996010");
    w.click(IDC_AUTO);
    w.tick(2);
    w.click(IDC_STOP);
    EXPECT_FALSE(w.dialog->engine.figures().autoRunning);
    w.clearMessages();
    w.click(IDC_STOP);
    EXPECT_EQ(w.messagesUtf8(), std::vector<std::string>{"自動実行されていません。"});

    w.click(IDC_RESET);
    EXPECT_EQ(w.text(IDC_STATE), "実行前");
    EXPECT_EQ(w.dialog->engine.list(PortfolioList::Holdings).count() +
                  w.dialog->engine.list(PortfolioList::Candidates).count() +
                  w.dialog->engine.list(PortfolioList::SellList).count(),
              0);
    std::string logAfterReset = w.folder.read("log.csv");

    runWithLog();
    EXPECT_EQ(w.text(IDC_TOTAL_ASSETS), "\\2000000");
    EXPECT_EQ(w.text(IDC_OPERATING_ASSETS), "\\5000000");
    w.click(IDC_NEXT);
    EXPECT_EQ(w.text(IDC_TOTAL_ASSETS), "\\1996010");
    EXPECT_EQ(w.folder.read("log.csv"), logAfterReset);  // started afresh, not appended to
}

TEST_F(RunControls, CancelledOrUnopenableLogRunsWithoutALogAndStopsAsking)
{
    struct Case {
        bool cancel;
        const char* message;
    } cases[] = {
        {true,
         "キャンセルされたのでログの記録は行いません。記録したい場合は再度オプションのログの保存に"
         "チェックを入れてください。"},
        {false,
         "ファイルをオープンできません。ログ保存を取りやめます。記録する場合は再度オプションのログの"
         "保存にチェックを入れてください。"},
    };
    for (const Case& c : cases) {
        w.app->settings.saveLog = true;
        w.clearMessages();
        std::optional<std::filesystem::path> answer;
        if (!c.cancel)
            answer = w.folder / "missing-folder" / "log.csv";
        w.platform.queueFileAnswer(HeadlessPlatform::FileDialogKind::Save, answer);
        w.click(IDC_RUN);
        EXPECT_EQ(w.messagesUtf8(), std::vector<std::string>{c.message}) << c.cancel;
        EXPECT_EQ(w.text(IDC_STATE), "購入前待機") << c.cancel;
        EXPECT_FALSE(w.app->settings.saveLog) << c.cancel;

        w.click(IDC_NEXT);
        EXPECT_EQ(w.dialog->engine.figures().purchases, 1) << c.cancel;  // the run goes on
        w.click(IDC_RESET);
        size_t dialogs = w.platform.fileDialogs().size();
        w.click(IDC_RUN);  // no save dialog this time
        EXPECT_EQ(w.platform.fileDialogs().size(), dialogs) << c.cancel;
        w.click(IDC_RESET);
    }
}

TEST_F(RunControls, AnInputIsNeverTheLogAndTheQuestionComesAgain)
{
    const std::string settings = w.folder.read("kvn.conf");
    std::filesystem::create_symlink(w.folder / "signals.csv", w.folder / "link.csv");
    for (const char* input : {"kvn.conf", "index.txt", "link.csv"})
        w.platform.queueFileAnswer(HeadlessPlatform::FileDialogKind::Save, w.folder / input);
    w.platform.queueFileAnswer(HeadlessPlatform::FileDialogKind::Save, w.folder / "log.csv");
    w.click(IDC_RUN);
    EXPECT_EQ(w.messagesUtf8(),
              (std::vector<std::string>{"入力ファイルには書き込めません：kvn.conf",
                                        "入力ファイルには書き込めません：index.txt",
                                        "入力ファイルには書き込めません：link.csv"}));
    EXPECT_TRUE(w.dialog->engine.logIsOpen());
    EXPECT_EQ(w.folder.read("kvn.conf"), settings);
    EXPECT_EQ(w.platform.fileDialogs().size(), 4u);  // the log asked for four times
}

TEST_F(RunControls, AFailedLogWriteIsReportedOnceBeforeTheEnd)
{
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    // A file name whose writes fail: a link to the device that is always full.
    std::filesystem::create_symlink("/dev/full", w.folder / "full.csv");
    w.platform.queueFileAnswer(HeadlessPlatform::FileDialogKind::Save, w.folder / "full.csv");
    w.click(IDC_RUN);  // the header already fails; the first step reports it
    EXPECT_EQ(w.messagesUtf8(),
              std::vector<std::string>{
                  "ログファイルに書き込めません。このシミュレーションのログ保存を取りやめます。"});
    w.clearMessages();
    while (!w.dialog->engine.finished())
        w.click(IDC_NEXT);
    EXPECT_EQ(w.messagesUtf8(), std::vector<std::string>{"シミュレーション終了！"});
    EXPECT_TRUE(w.app->settings.saveLog);  // the next run asks again
}

TEST_F(RunControls, ListFiguresKeepWhatTheyLastShowedUntilAPhaseShowsThemAgain)
{
    EXPECT_EQ(w.text(IDC_HOLDINGS_FIGURE), "");  // nothing counted yet
    runWithLog();
    w.click(IDC_NEXT);  // bought
    w.click(IDC_NEXT);  // close the day
    w.click(IDC_NEXT);  // open 2004/01/06: the position is due
    EXPECT_EQ(w.text(IDC_HOLDINGS_FIGURE), "(\\4500000)");
    EXPECT_EQ(w.text(IDC_SELL_FIGURE), "( \\4680000 : 180000)");

    // RESET and a new run leave both until the phases that count them come round again.
    w.click(IDC_RESET);
    EXPECT_EQ(w.text(IDC_SELL_FIGURE), "( \\4680000 : 180000)");
    runWithLog();
    EXPECT_EQ(w.text(IDC_HOLDINGS_FIGURE), "(\\4500000)");
    EXPECT_EQ(w.text(IDC_SELL_FIGURE), "( \\4680000 : 180000)");
    w.click(IDC_NEXT);  // bought again: counted afresh
    EXPECT_EQ(w.text(IDC_HOLDINGS_FIGURE), "(\\4500000)");
    w.click(IDC_NEXT);
    w.click(IDC_NEXT);
    w.click(IDC_NEXT);  // sold: the sell figure empties
    EXPECT_EQ(w.text(IDC_SELL_FIGURE), "");
    EXPECT_EQ(w.text(IDC_HOLDINGS_FIGURE), "(\\0)");
}

TEST_F(RunControls, SelectingAHeldPositionShowsItsFigures)
{
    runWithLog();
    w.click(IDC_NEXT);
    w.select(IDC_HOLDINGS_LIST, 0);
    EXPECT_EQ(w.text(IDC_NAME), "極洋");
    EXPECT_EQ(w.text(IDC_UNIT), "1000");
    EXPECT_EQ(w.text(IDC_STATUS), "購入数：9000 購入金額：4500000 利益180000");
}

}  // namespace
}  // namespace kv
