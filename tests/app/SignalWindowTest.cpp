// SPDX-License-Identifier: GPL-3.0-or-later
#include "resources/ControlIds.h"
#include "support/MainWindowFixture.h"
#include "text/Cp932.h"
#include "toolkit/headless/HeadlessView.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kv {
namespace {

using test::MainWindow;

const std::vector<std::string> kSignals = {
    "銘柄,シグナル日付,購入価格,結果,終了日付,売却価格,パフォーマンス",
    "極洋,2004/01/05,250,○,2004/01/14,270,+8.0%",
    "トヨタ自動車,2004/01/06,,×,2004/01/15,240,-4.0%",
    "ソフトバンク,2004/01/07,100,？,2004/01/20,90,判定不可",
    "極洋,2004/01/08,300,○,2004/01/09,310,+3.3%",
    "極洋,2004/01/09,300,×,2004/01/10,290,-3.3%",
};

// The main window after 読み込み of a signal file written into `folder`.
void loadSignals(MainWindow& w, const test::TempFolder& folder, const std::vector<std::string>& lines,
                 const char* name = "signals.csv")
{
    folder.writeLines(name, lines);
    w.platform.queueFileAnswer(HeadlessPlatform::FileDialogKind::Open, folder / name);
    w.click(IDC_LOAD);
}

struct Window {
    int startRow, endRow;
    std::string startText, endText;
};

void expectWindow(const MainWindow& w, const Window& expected, const std::string& context)
{
    EXPECT_EQ(w.dialog->engine.startRow(), expected.startRow) << context;
    EXPECT_EQ(w.dialog->engine.endRow(), expected.endRow) << context;
    EXPECT_EQ(w.text(IDC_START_DATE), expected.startText) << context;
    EXPECT_EQ(w.text(IDC_END_DATE), expected.endText) << context;
}

TEST(SignalWindow, LoadFillsTheListAndTheWholeWindow)
{
    MainWindow w;
    w.clearMessages();
    test::TempFolder elsewhere;
    std::filesystem::path workingDirectory = std::filesystem::current_path();
    loadSignals(w, elsewhere, kSignals);

    ASSERT_EQ(w.platform.fileDialogs().size(), 1u);
    EXPECT_EQ(w.platform.fileDialogs()[0].options.defaultExtension, "csv");
    EXPECT_EQ(toUtf8(w.platform.fileDialogs()[0].options.filter),
              "CSV ファイル (*.csv)|*.csv|すべてのファイル (*.*)|*.*||");
    EXPECT_TRUE(w.messagesUtf8().empty());
    EXPECT_EQ(w.platform.waitCursorsShown(), 1);
    EXPECT_EQ(w.platform.waitCursorDepth(), 0);

    ASSERT_EQ(w.dialog->signalList.count(), 5);
    EXPECT_EQ(toUtf8(w.dialog->signalList.row(2)),
              "9984 ソフトバンク 2004/01/07 100 ？ 9999/99/99 100 判定不可\r\n 100");
    EXPECT_TRUE(w.dialog->signalsLoaded);
    expectWindow(w, {0, 4, "2004/01/05", "2004/01/09"}, "after the load");
    EXPECT_EQ(w.text(IDC_STATUS),
              "必要に応じてオプションを変更し実行ボタンを押してください。  注意：項目が足りない行 1");
    EXPECT_EQ(w.app->tallies.overallTally.signalCount, 5);

    // The file was opened where it lies; the program's folder stays where it was.
    EXPECT_EQ(std::filesystem::current_path(), workingDirectory);
    EXPECT_FALSE(elsewhere.exists("kvn.conf"));
}

TEST(SignalWindow, LoadsThatGoNowhereChangeNothing)
{
    MainWindow w;
    loadSignals(w, w.folder, kSignals);
    w.select(IDC_SIGNAL_LIST, 3);
    w.click(IDC_SET_START);
    const Window before{3, 4, "2004/1/8", "2004/01/09"};
    expectWindow(w, before, "before");

    struct Case {
        const char* what;
        std::function<void()> act;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {"cancelled file dialog",
         [&] {
             w.platform.queueFileAnswer(HeadlessPlatform::FileDialogKind::Any, std::nullopt);
             w.click(IDC_LOAD);
         },
         {}},
        {"file that cannot be opened",
         [&] {
             w.platform.queueFileAnswer(HeadlessPlatform::FileDialogKind::Open, w.folder / "missing.csv");
             w.click(IDC_LOAD);
         },
         {"ファイルをオープンできません"}},
        {"a run in progress",
         [&] {
             w.app->settings.saveLog = false;
             w.click(IDC_RUN);
             w.click(IDC_LOAD);
             w.click(IDC_SET_START);
             w.click(IDC_SET_END);
             w.click(IDC_RESET);
         },
         {"実行中は変更できません。", "実行中は設定できません。", "実行中は設定できません。"}},
    };
    for (const Case& c : cases) {
        w.clearMessages();
        c.act();
        EXPECT_EQ(w.messagesUtf8(), c.messages) << c.what;
        EXPECT_EQ(w.dialog->signalList.count(), 5) << c.what;
        EXPECT_TRUE(w.dialog->signalsLoaded) << c.what;
        expectWindow(w, before, c.what);
        EXPECT_EQ(w.platform.waitCursorsShown(), 0) << c.what;
    }
}

TEST(SignalWindow, HeaderOnlyFileLeavesNothingToRun)
{
    MainWindow w;
    loadSignals(w, w.folder, kSignals);
    loadSignals(w, w.folder, {kSignals[0]}, "empty.csv");
    EXPECT_EQ(w.dialog->signalList.count(), 0);
    EXPECT_FALSE(w.dialog->signalsLoaded);
    EXPECT_EQ(w.app->tallies.overallTally.signalCount, 0);
    // The texts of the earlier file stay; they name no row to run.
    expectWindow(w, {0, 4, "2004/01/05", "2004/01/09"}, "header only");
    w.clearMessages();
    w.click(IDC_RUN);
    EXPECT_EQ(w.messagesUtf8(),
              std::vector<std::string>{"シミュレーションファイルまたはindex.txtがありません。"});
}

TEST(SignalWindow, SelectionFillsTheDetailFields)
{
    MainWindow w;
    loadSignals(w, w.folder, kSignals);
    const int fields[] = {IDC_CODE,      IDC_NAME,       IDC_BUY_DATE,    IDC_BUY_PRICE, IDC_RESULT,
                          IDC_SELL_DATE, IDC_SELL_PRICE, IDC_PERFORMANCE, IDC_UNIT};
    auto shown = [&] {
        std::vector<std::string> texts;
        for (int id : fields)
            texts.push_back(w.text(id));
        return texts;
    };

    w.select(IDC_SIGNAL_LIST, 0);
    EXPECT_EQ(shown(),
              (std::vector<std::string>{"1301", "極洋", "2004/01/05", "250", "○", "2004/01/14", "270",
                                        "+8.0%\r\n", "1000"}));
    // An empty column is an empty field; the tokens after it keep their places.
    w.select(IDC_SIGNAL_LIST, 1);
    EXPECT_EQ(shown(),
              (std::vector<std::string>{"7203", "トヨタ自動車", "2004/01/06", "", "×", "2004/01/15", "240",
                                        "-4.0%\r\n", "100"}));
    // Taking the selection away leaves the pane as it was.
    w.select(IDC_SIGNAL_LIST, -1);
    EXPECT_EQ(shown()[0], "7203");
}

TEST(SignalWindow, StartAndEndOfTheRunWindow)
{
    MainWindow w;
    loadSignals(w, w.folder, kSignals);
    w.clearMessages();

    struct Step {
        std::optional<int> row;  // selected first
        int button;
        std::string message;  // empty: accepted
        Window window;
    };
    const Step steps[] = {
        {{}, IDC_SET_START, "リストから開始銘柄を選択してください。", {0, 4, "2004/01/05", "2004/01/09"}},
        {{}, IDC_SET_END, "リストから終了銘柄を選択してください。", {0, 4, "2004/01/05", "2004/01/09"}},
        {{2}, IDC_SET_END, "", {0, 2, "2004/01/05", "2004/1/7"}},
        {{3}, IDC_SET_START, "開始日が終了日より後です。", {0, 2, "2004/01/05", "2004/1/7"}},
        {{2}, IDC_SET_START, "", {2, 2, "2004/1/7", "2004/1/7"}},  // one row long
        {{1}, IDC_SET_END, "終了日が開始日より前です。", {2, 2, "2004/1/7", "2004/1/7"}},
        {{0}, IDC_SET_START, "", {0, 2, "2004/1/5", "2004/1/7"}},
        {{4}, IDC_SET_END, "", {0, 4, "2004/1/5", "2004/1/9"}},
    };
    for (const Step& step : steps) {
        std::string context =
            std::to_string(step.button) + " on row " + std::to_string(step.row.value_or(-1));
        w.clearMessages();
        if (step.row)
            w.select(IDC_SIGNAL_LIST, *step.row);
        w.click(step.button);
        EXPECT_EQ(w.messagesUtf8(),
                  step.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{step.message})
            << context;
        expectWindow(w, step.window, context);
    }

    // A new load makes the window the whole file again.
    w.select(IDC_SIGNAL_LIST, 3);
    w.click(IDC_SET_START);
    loadSignals(w, w.folder, kSignals);
    expectWindow(w, {0, 4, "2004/01/05", "2004/01/09"}, "after a reload");
    EXPECT_EQ(w.dialog->signalList.selection(), -1);
}

TEST(SignalWindow, MoreDatesThanSlotsEndTheProgramAfterSayingSo)
{
    // Each row a new date: the row after the last date slot has none.
    std::string bytes = "header\r\n";
    for (int i = 0; i <= kDateSlotCount; ++i)
        bytes += "x," + std::to_string(1000 + i / 1000) + "/" + std::to_string(i / 20 % 50 + 1) + "/" +
            std::to_string(i % 20 + 1) + ",100,x,,,\r\n";
    MainWindow w;
    w.folder.write("large.csv", bytes);
    w.platform.queueFileAnswer(HeadlessPlatform::FileDialogKind::Open, w.folder / "large.csv");
    w.clearMessages();
    try {
        w.click(IDC_LOAD);
        ADD_FAILURE() << "the program went on past the last date slot";
    } catch (const HeadlessExit& exit) {
        EXPECT_EQ(exit.status, 0);
    }
    EXPECT_EQ(w.messagesUtf8(), std::vector<std::string>{"ファイルが大きすぎるため終了します。"});
    EXPECT_EQ(w.platform.waitCursorDepth(), 0);
}

}  // namespace
}  // namespace kv
