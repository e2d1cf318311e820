#include "resources/ControlIds.h"
#include "support/MainWindowFixture.h"
#include "text/Cp932.h"
#include "toolkit/headless/HeadlessView.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

using test::MainWindow;

TEST(Startup, FirstStartCreatesSettingsAndShowsTheAssetFigures)
{
    MainWindow w;
    EXPECT_EQ(w.messagesUtf8(), std::vector<std::string>{"初回起動：オプションファイルを作成します。"});
    EXPECT_EQ(w.text(IDC_OPERATING_ASSETS), "\\5000000");
    EXPECT_EQ(w.text(IDC_TOTAL_ASSETS), "\\2000000");
    EXPECT_EQ(w.text(IDC_STATE), "実行前");
    EXPECT_TRUE(w.dialog->masterLoaded);
    EXPECT_FALSE(w.dialog->signalsLoaded);
    EXPECT_EQ(w.app->tradingUnit[1301], 1000);
    EXPECT_EQ(w.folder.read("kvn.conf"),
              "2000000,500000,2.500000,0.200000,0.100000,300000,50000000,5,-0.030000,0,3990,1.000000,0,0,0,1,0,0");
    EXPECT_EQ(w.platform.waitCursorDepth(), 0);   // restored at the end of the initialisation
    EXPECT_EQ(w.platform.waitCursorsShown(), 1);
}

TEST(Startup, SettingsFileDecidesTheAssetFiguresWithHalvesRoundedAway)
{
    MainWindow w(MainWindow::defaultIndex(), false);
    w.folder.write("kvn.conf", "1000001,0,2.5,0.2,0.1,0,0,5,0,0,0,1,0,0,0,1,0,0");
    w.start();
    EXPECT_TRUE(w.messagesUtf8().empty());
    EXPECT_EQ(w.text(IDC_OPERATING_ASSETS), "\\2500003");
    EXPECT_EQ(w.text(IDC_TOTAL_ASSETS), "\\1000001");
}

TEST(Startup, MissingStockMasterIsAskedForAndTheSettingsGoBesideIt)
{
    test::TempFolder other;
    other.writeLines("index.txt", MainWindow::defaultIndex());
    MainWindow w({}, false);
    w.platform.queueFileAnswer(HeadlessPlatform::FileDialogKind::Any, std::nullopt);
    w.platform.queueFileAnswer(HeadlessPlatform::FileDialogKind::Open, other / "index.txt");
    w.start();
    auto shown = w.messagesUtf8();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[2], "初回起動：オプションファイルを作成します。");
    EXPECT_TRUE(w.dialog->masterLoaded);
    EXPECT_TRUE(other.exists("kvn.conf"));
    EXPECT_FALSE(w.folder.exists("kvn.conf"));
}

TEST(Startup, UnopenableStockMasterLeavesTheProgramRunningWithoutIt)
{
    MainWindow w({}, false);
    w.platform.queueFileAnswer(HeadlessPlatform::FileDialogKind::Open, w.folder / "does-not-exist.txt");
    w.start();
    EXPECT_FALSE(w.dialog->masterLoaded);
    EXPECT_EQ(w.text(IDC_STATUS), "ファイルをオープンできません。再起動してください。");
    EXPECT_EQ(w.text(IDC_STATE), "実行前");
    w.clearMessages();
    w.run({"click 1011"});
    EXPECT_EQ(w.messagesUtf8(), std::vector<std::string>{"シミュレーションファイルまたはindex.txtがありません。"});
}

TEST(Refusals, CommandsThatNeedDataOrARunAreRefusedBeforeAnyLoad)
{
    MainWindow w;
    struct Case {
        const char* command;
        const char* message;
    } cases[] = {
        {"click 1014", "シミュレーションファイルまたはindex.txtがありません。"},
        {"click 1011", "シミュレーションファイルまたはindex.txtがありません。"},
        {"click 1027", "シミュレーションが実行されていません。"},
        {"click 1028", "シミュレーションが実行されていません。"},
        {"click 1029", "シミュレーションが実行されていません。"},
        {"click 1015", "シミュレーションが実行されていません。"},
    };
    for (const Case& c : cases) {
        w.clearMessages();
        w.run({c.command});
        EXPECT_EQ(w.messagesUtf8(), std::vector<std::string>{c.message}) << c.command;
        EXPECT_EQ(w.text(IDC_STATE), "実行前") << c.command;
    }
}

TEST(Refusals, RunningStateRefusesLoadOptionsAndWindowChoice)
{
    MainWindow w;
    w.dialog->sim.simState = 2;
    struct Case {
        const char* command;
        const char* message;
    } cases[] = {
        {"click 1001", "実行中は変更できません。"},
        {"click 1016", "実行中は変更できません。"},
        {"click 1033", "実行中は設定できません。"},
        {"click 1032", "実行中は設定できません。"},
        {"click 1027", "自動実行中です。"},
        {"click 1015", "自動実行中です。"},
        {"click 1028", "すでに自動実行中です。"},
    };
    w.dialog->sim.autoRunning = true;
    for (const Case& c : cases) {
        w.clearMessages();
        w.run({c.command});
        EXPECT_EQ(w.messagesUtf8(), std::vector<std::string>{c.message}) << c.command;
    }
    w.dialog->sim.autoRunning = false;
    w.clearMessages();
    w.run({"click 1029"});
    EXPECT_EQ(w.messagesUtf8(), std::vector<std::string>{"自動実行されていません。"});
}

TEST(MainWindowCommands, AboutBoxOpensFromTheMenuItemAndTheHistoryButtonIsDead)
{
    MainWindow w;
    auto* view = w.platform.viewOf(*w.dialog);
    ASSERT_EQ(view->menu().size(), 1u);
    EXPECT_EQ(toUtf8(view->menu()[0].first), "バージョン情報 Kirvane(&A)...");
    EXPECT_EQ(view->menu()[0].second, IDM_ABOUTBOX);

    w.clearMessages();
    w.platform.queueLines({"dump", "click OK"});
    w.run({"menu 16"});
    EXPECT_EQ(w.out.str(), "1\tOK\n");   // the about box's dump: its one button
    EXPECT_EQ(w.platform.topDialog(), w.dialog.get());

    EXPECT_FALSE(view->enabled(IDC_HISTORY));
    w.clearMessages();
    w.run({"click 1031"});
    EXPECT_TRUE(w.messagesUtf8().empty());
}

TEST(MainWindowCommands, QuitEscAndCloseEndTheWindow)
{
    for (const char* command : {"click OK", "close", "click CANCEL"}) {
        MainWindow w;
        w.run({command});
        EXPECT_TRUE(w.dialog->ended()) << command;
    }
}

}  // namespace
}  // namespace kv
