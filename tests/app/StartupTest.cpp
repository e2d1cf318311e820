// SPDX-License-Identifier: GPL-3.0-or-later
#include "resources/ControlIds.h"
#include "support/FileSizeLimit.h"
#include "support/MainWindowFixture.h"
#include "text/Cp932.h"
#include "toolkit/headless/HeadlessView.h"

#include <gtest/gtest.h>

#include <filesystem>

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
    EXPECT_EQ(w.app->master.tradingUnit[1301], 1000);
    EXPECT_EQ(
        w.folder.read("kvn.conf"),
        "2000000,500000,2.500000,0.200000,0.100000,300000,50000000,5,-0.030000,0,3990,1.000000,0,0,0,1,0,0");
    EXPECT_EQ(w.platform.waitCursorDepth(), 0);  // restored at the end of the initialisation
    EXPECT_EQ(w.platform.waitCursorsShown(), 1);
}

TEST(Startup, SettingsFileDecidesTheAssetFiguresWithHalvesRoundedAway)
{
    MainWindow w(test::listedStocks().indexLines(), false);
    w.folder.write("kvn.conf", "1000001,0,2.5,0.2,0.1,0,0,5,0,0,0,1,0,0,0,1,0,0");
    w.start();
    EXPECT_TRUE(w.messagesUtf8().empty());
    EXPECT_EQ(w.text(IDC_OPERATING_ASSETS), "\\2500003");
    EXPECT_EQ(w.text(IDC_TOTAL_ASSETS), "\\1000001");
}

TEST(Startup, MissingStockMasterIsAskedForUntilChosenAndTheSettingsGoBesideIt)
{
    test::TempFolder other;
    test::listedStocks().writeIndex(other, "master.txt");
    MainWindow w({}, false);
    w.platform.queueFileAnswer(HeadlessPlatform::FileDialogKind::Any, std::nullopt);
    w.platform.queueFileAnswer(HeadlessPlatform::FileDialogKind::Any, std::nullopt);
    w.platform.queueFileAnswer(HeadlessPlatform::FileDialogKind::Open, other / "master.txt");
    w.start();
    const std::string pleaseChoose = "index."
                                     "txtを指定してください。存在しない場合はいったん適当なテキストファイルを"
                                     "読み込み強制終了させてください。";
    EXPECT_EQ(w.messagesUtf8(),
              (std::vector<std::string>{
                  "index.txt をフォルダ内に確認できませんでした。\nindex.txtを指定してください。",
                  pleaseChoose, pleaseChoose, "初回起動：オプションファイルを作成します。"}));
    ASSERT_EQ(w.platform.fileDialogs().size(), 3u);
    const FileDialogOptions& options = w.platform.fileDialogs().back().options;
    EXPECT_EQ(options.defaultExtension, "txt");
    EXPECT_EQ(toUtf8(options.filter), "TXT ファイル (*.txt)|*.txt|すべてのファイル (*.*)|*.*||");
    EXPECT_TRUE(options.createPrompt);
    EXPECT_TRUE(w.dialog->masterLoaded);
    EXPECT_EQ(w.app->master.tradingUnit[1301], 1000);
    EXPECT_EQ(w.app->dataFolder, other.path());
    EXPECT_TRUE(other.exists("kvn.conf"));
    EXPECT_FALSE(w.folder.exists("kvn.conf"));
    EXPECT_EQ(w.platform.waitCursorsShown(), 1);  // only once the file was chosen
    EXPECT_EQ(w.platform.waitCursorDepth(), 0);
}

TEST(Startup, SettingsFileThatCannotBeWrittenIsReportedAndTheDefaultsApply)
{
    MainWindow w(test::listedStocks().indexLines(), false);
    {
        test::FileSizeLimit full(20);  // the file opens, but its line does not fit
        w.start();
    }
    EXPECT_EQ(w.messagesUtf8(),
              (std::vector<std::string>{
                  "初回起動：オプションファイルを作成します。",
                  "ファイルオープンエラー：kvn.conf\r\nオプションファイルが作成できませんでした。"}));
    EXPECT_FALSE(w.folder.exists("kvn.conf"));  // no file rather than an empty or partial one
    EXPECT_EQ(w.text(IDC_OPERATING_ASSETS), "\\5000000");
    EXPECT_EQ(w.text(IDC_STATE), "実行前");
}

TEST(Startup, FoldersWhereFilesAreExpectedFailLikeFilesThatCannotBeOpened)
{
    // kvn.conf exists but cannot be read: reported with the reason, the defaults apply, and the
    // folder is left alone (no first start).
    MainWindow w(test::listedStocks().indexLines(), false);
    std::filesystem::create_directory(w.folder / "kvn.conf");
    w.start();
    EXPECT_EQ(w.messagesUtf8(),
              std::vector<std::string>{"ファイルオープンエラー：kvn.conf\r\nIs a directory"});
    EXPECT_TRUE(std::filesystem::is_directory(w.folder / "kvn.conf"));
    EXPECT_EQ(w.text(IDC_OPERATING_ASSETS), "\\5000000");

    // A signal file that is a folder.
    w.clearMessages();
    w.platform.queueFileAnswer(HeadlessPlatform::FileDialogKind::Open, w.folder.path());
    w.click(IDC_LOAD);
    EXPECT_EQ(w.messagesUtf8(), std::vector<std::string>{"ファイルをオープンできません"});
    EXPECT_FALSE(w.dialog->signalsLoaded);

    // index.txt a folder: asked for like a missing one; a folder chosen then cannot be opened.
    MainWindow m({}, false);
    std::filesystem::create_directory(m.folder / "index.txt");
    m.platform.queueFileAnswer(HeadlessPlatform::FileDialogKind::Open, m.folder / "index.txt");
    m.start();
    EXPECT_EQ(m.messagesUtf8().front(),
              "index.txt をフォルダ内に確認できませんでした。\nindex.txtを指定してください。");
    EXPECT_FALSE(m.dialog->masterLoaded);
    EXPECT_EQ(m.text(IDC_STATUS), "ファイルをオープンできません。再起動してください。");
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
    w.click(IDC_RUN);
    EXPECT_EQ(w.messagesUtf8(),
              std::vector<std::string>{"シミュレーションファイルまたはindex.txtがありません。"});
}

TEST(Refusals, CommandsThatNeedDataOrARunAreRefusedBeforeAnyLoad)
{
    MainWindow w;
    struct Case {
        int button;
        const char* message;
    } cases[] = {
        {IDC_STATISTICS, "シミュレーションファイルまたはindex.txtがありません。"},
        {IDC_RUN, "シミュレーションファイルまたはindex.txtがありません。"},
        {IDC_NEXT, "シミュレーションが実行されていません。"},
        {IDC_AUTO, "シミュレーションが実行されていません。"},
        {IDC_STOP, "シミュレーションが実行されていません。"},
        {IDC_RESET, "シミュレーションが実行されていません。"},
    };
    for (const Case& c : cases) {
        w.clearMessages();
        w.click(c.button);
        EXPECT_EQ(w.messagesUtf8(), std::vector<std::string>{c.message}) << c.button;
        EXPECT_EQ(w.text(IDC_STATE), "実行前") << c.button;
    }
}

TEST(Refusals, RunningStateRefusesLoadOptionsAndWindowChoice)
{
    MainWindow w;
    w.folder.writeLines("signals.csv",
                        {"銘柄,シグナル日付,購入価格,結果,終了日付,売却価格,パフォーマンス",
                         "極洋,2004/01/05,500,○,2004/01/06,520,+4%"});
    w.platform.queueFileAnswer(HeadlessPlatform::FileDialogKind::Open, w.folder / "signals.csv");
    w.click(IDC_LOAD);
    w.app->settings.saveLog = false;
    w.click(IDC_RUN);
    struct Case {
        int button;
        const char* message;
    } cases[] = {
        {IDC_LOAD, "実行中は変更できません。"},
        {IDC_OPTIONS, "実行中は変更できません。"},
        {IDC_SET_START, "実行中は設定できません。"},
        {IDC_SET_END, "実行中は設定できません。"},
        {IDC_NEXT, "自動実行中です。"},
        {IDC_RESET, "自動実行中です。"},
        {IDC_AUTO, "すでに自動実行中です。"},
    };
    w.dialog->engine.setAutoRunning(true);
    for (const Case& c : cases) {
        w.clearMessages();
        w.click(c.button);
        EXPECT_EQ(w.messagesUtf8(), std::vector<std::string>{c.message}) << c.button;
    }
    w.dialog->engine.setAutoRunning(false);
    w.clearMessages();
    w.click(IDC_STOP);
    EXPECT_EQ(w.messagesUtf8(), std::vector<std::string>{"自動実行されていません。"});
}

TEST(MainWindowCommands, AboutBoxOpensFromTheMenuItemAndTheHistoryButtonWaitsForARun)
{
    MainWindow w;
    auto* view = w.platform.viewOf(*w.dialog);
    ASSERT_EQ(view->menu().size(), 1u);
    EXPECT_EQ(toUtf8(view->menu()[0].first), "バージョン情報 Kirvane(&A)...");
    EXPECT_EQ(view->menu()[0].second, IDM_ABOUTBOX);

    w.clearMessages();
    w.platform.queueLines({"dump", "click OK"});
    w.menu(IDM_ABOUTBOX);
    EXPECT_EQ(w.out.str(), "1\tOK\n");  // the about box's dump: its one button
    EXPECT_EQ(w.platform.topDialog(), w.dialog.get());

    EXPECT_FALSE(view->enabled(IDC_HISTORY));
    w.clearMessages();
    w.click(IDC_HISTORY);
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
