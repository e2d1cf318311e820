// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ResultsDialog.h"
#include "resources/ControlIds.h"
#include "support/MainWindowFixture.h"
#include "text/Cp932.h"
#include "toolkit/headless/HeadlessView.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kv {
namespace {

using test::MainWindow;

// Two days with the default settings (capital 2,000,000, carried loss 500,000, commission
// 3,990):
//   01/05 buy 9 lots of 極洋 at 500                                   → 1,996,010
//   01/06 sell 極洋 at 520 (+180,000, covered by the carried loss);
//         buy 18 lots of トヨタ自動車 at 3000                          → 2,172,020
//   final liquidation: トヨタ自動車 at 2900, −180,000                  → 1,992,020 (on 01/06)
class ResultsWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        w.folder.writeLines("signals.csv",
                            {
                                "銘柄,シグナル日付,購入価格,結果,終了日付,売却価格,パフォーマンス",
                                "極洋,2004/1/5,500,○,2004/01/06,520,+4%",
                                "トヨタ自動車,2004/01/06,3000,×,2004/01/08,2900,-3%",
                            });
        w.platform.queueFileAnswer(HeadlessPlatform::FileDialogKind::Open, w.folder / "signals.csv");
        w.click(IDC_LOAD);
        w.app->settings.saveLog = false;
        w.clearMessages();
    }

    bool buttonEnabled() const { return w.platform.viewOf(*w.dialog)->enabled(IDC_RESULTS); }

    void runToEnd()
    {
        w.click(IDC_RUN);
        while (!w.dialog->engine.finished())
            w.click(IDC_NEXT);
    }

    // The texts of column c of a table, top to bottom.
    std::vector<std::string> column(const Table& table, int c)
    {
        std::vector<std::string> texts;
        for (int r = 0; r < table.rowCount(); ++r)
            texts.push_back(toUtf8(table.cell(r, c).text));
        return texts;
    }

    MainWindow w;
};

TEST_F(ResultsWindow, TheButtonOpensOnceARunHasClosedADay)
{
    EXPECT_FALSE(buttonEnabled());
    w.platform.queueLines({"dump"});  // what an opened window would print
    w.click(IDC_RESULTS);             // disabled: nothing opens
    EXPECT_EQ(w.out.str().find("1101"), std::string::npos);
    w.click(IDC_RUN);
    w.click(IDC_NEXT);  // buy
    EXPECT_FALSE(buttonEnabled());
    w.click(IDC_NEXT);  // close the first day
    EXPECT_TRUE(buttonEnabled());

    // RESET keeps the abandoned run's results; the next run starts without a day.
    w.click(IDC_RESET);
    EXPECT_TRUE(buttonEnabled());
    w.click(IDC_RUN);
    EXPECT_FALSE(buttonEnabled());
    EXPECT_TRUE(w.messagesUtf8().empty());
}

TEST_F(ResultsWindow, ShowsTheFiguresOfTheRun)
{
    runToEnd();
    ResultsDialog results(w.platform, w.dialog->engine.results());
    w.platform.open(results);

    EXPECT_EQ(results.chart.pointCount(), 2);
    EXPECT_EQ(toUtf8(results.chart.xTexts()[0]), "2004/01/05");
    ASSERT_EQ(results.chart.series().size(), 2u);
    EXPECT_EQ(results.chart.series()[0].values, (std::vector<double>{1996010, 1992020}));
    EXPECT_EQ(results.chart.series()[1].values, (std::vector<double>{3990 / 2e6 * 100, 7980 / 2e6 * 100}));

    const std::vector<std::string> values = column(results.figuresTable, 1);
    EXPECT_EQ(
        values,
        (std::vector<std::string>{"\\2000000", "\\1992020", "-0.40％", "-76.78％", "\\7980", "0.40％", "----",
                                  "2004/01/06", "2", "1", "1", "50.00％", "\\180000", "\\180000", "1.00",
                                  "\\180000", "\\180000", "\\0", "\\180000", "\\180000", "1", "\\7980", "\\0",
                                  // Two days 0.2 % down, almost alike: the deviation is tiny.
                                  "-11241.88", "-15.87", "-192.44", "-1.00", "2", "2004/01/05", "2004/01/06",
                                  "100.00％", "1.50", "1.00"}));
    EXPECT_EQ(toUtf8(results.figuresTable.cell(20, 0).text), "最大連敗数");
    EXPECT_EQ(results.figuresTable.cell(2, 1).tone, CellTone::Loss);
    EXPECT_EQ(results.figuresTable.cell(12, 1).tone, CellTone::Gain);
    EXPECT_EQ(results.figuresTable.cell(17, 1).tone, CellTone::Plain);

    // One month and one year: a loss of 7,980, in red.
    for (const Table* table : {&results.monthsTable, &results.yearsTable}) {
        ASSERT_EQ(table->rowCount(), 1);
        std::vector<std::string> row;
        for (int c = 0; c < table->columnCount(); ++c)
            row.push_back(toUtf8(table->cell(0, c).text));
        EXPECT_EQ(row[0], table == &results.monthsTable ? "2004/01" : "2004");
        EXPECT_EQ(std::vector<std::string>(row.begin() + 1, row.end()),
                  (std::vector<std::string>{"\\1992020", "\\-7980", "-0.40％", "2", "1"}));
        EXPECT_EQ(table->cell(0, 2).tone, CellTone::Loss);
        EXPECT_EQ(table->cell(0, 3).tone, CellTone::Loss);
        EXPECT_EQ(table->cell(0, 1).tone, CellTone::Plain);
    }
    w.platform.close(results);
}

TEST_F(ResultsWindow, FollowsAutoBehindItWhenRefreshed)
{
    w.click(IDC_RUN);
    w.click(IDC_NEXT);
    w.click(IDC_NEXT);  // the first day has closed
    w.click(IDC_AUTO);
    w.clearMessages();
    w.platform.queueLines(
        {"dump", "tick 100", "dump", "click " + std::to_string(IDC_RESULTS_REFRESH), "dump", "click OK"});
    w.click(IDC_RESULTS);
    EXPECT_EQ(w.platform.topDialog(), w.dialog.get());
    const std::string out = w.out.str();
    const std::string before = "1101(0)\t総資産\t1\t2004/01/05\t1996010\t2004/01/05\t1996010\n";
    const std::string after = "1101(0)\t総資産\t2\t2004/01/05\t1996010\t2004/01/06\t1992020\n";
    // Unchanged until 更新, although AUTO has run to the end behind the window.
    const size_t first = out.find(before);
    ASSERT_NE(first, std::string::npos) << out;
    const size_t second = out.find(before, first + 1);
    ASSERT_NE(second, std::string::npos) << out;
    const size_t end = out.find("MSG\tシミュレーション終了！");
    ASSERT_NE(end, std::string::npos);
    EXPECT_LT(end, second);
    EXPECT_NE(out.find(after, second), std::string::npos) << out;
    EXPECT_NE(out.find("1102[1]\t最終資産\t\\1992020\n", second), std::string::npos);
    EXPECT_FALSE(w.dialog->engine.figures().autoRunning);
}

TEST_F(ResultsWindow, SavesTheDayPointsAsCsvAndSaysWhenNothingCanBeSaved)
{
    runToEnd();
    w.clearMessages();
    ResultsDialog results(w.platform, w.dialog->engine.results());
    w.platform.open(results);

    w.platform.queueFileAnswer(HeadlessPlatform::FileDialogKind::Save, w.folder / "days");
    w.click(IDC_RESULTS_SAVE_CSV);
    EXPECT_EQ(w.folder.read("days.csv"),
              toCp932("日付,総資産,ドローダウン,ドローダウン率\r\n"
                      "2004/01/05,1996010,3990,0.20\r\n"
                      "2004/01/06,1992020,7980,0.40\r\n"));
    ASSERT_EQ(w.platform.fileDialogs().size(), 1u);
    EXPECT_EQ(w.platform.fileDialogs()[0].options.defaultExtension, "csv");
    EXPECT_TRUE(w.platform.fileDialogs()[0].options.overwritePrompt);

    // A folder that does not exist, a cancelled dialog, and a picture this backend cannot draw.
    w.platform.queueFileAnswer(HeadlessPlatform::FileDialogKind::Save, w.folder / "none" / "days.csv");
    w.click(IDC_RESULTS_SAVE_CSV);
    w.platform.queueFileAnswer(HeadlessPlatform::FileDialogKind::Any, std::nullopt);
    w.click(IDC_RESULTS_SAVE_CSV);
    w.platform.queueFileAnswer(HeadlessPlatform::FileDialogKind::Save, w.folder / "chart");
    w.click(IDC_RESULTS_SAVE_IMAGE);
    EXPECT_EQ(w.platform.fileDialogs().back().options.defaultExtension, "png");
    EXPECT_EQ(w.messagesUtf8(),
              (std::vector<std::string>{"ファイルをオープンできません", "画像を保存できません。"}));
    EXPECT_EQ(w.platform.waitCursorDepth(), 0);
    w.platform.close(results);
}

// レポート保存 writes the window's run as kirvane-batch --report would, named after the loaded
// signal file; the window opened without a run's files says it cannot.
TEST_F(ResultsWindow, SavesTheReportOfTheLoadedRun)
{
    runToEnd();
    w.clearMessages();
    w.platform.queueFileAnswer(HeadlessPlatform::FileDialogKind::Save, w.folder / "report");
    w.platform.queueLines({"click " + std::to_string(IDC_RESULTS_SAVE_REPORT), "click OK"});
    w.click(IDC_RESULTS);
    EXPECT_EQ(w.platform.fileDialogs().back().options.defaultExtension, "html");
    const std::string page = w.folder.read("report.html");
    EXPECT_EQ(page.rfind("<!DOCTYPE html>", 0), 0u);
    EXPECT_NE(page.find("<h1>signals.csv</h1>"), std::string::npos);
    EXPECT_NE(page.find("<dt>最終資産</dt><dd class=\"n\">¥1,992,020</dd>"), std::string::npos);
    EXPECT_TRUE(w.messagesUtf8().empty());

    ResultsDialog alone(w.platform, w.dialog->engine.results());
    w.platform.open(alone);
    w.click(IDC_RESULTS_SAVE_REPORT);
    EXPECT_EQ(w.messagesUtf8(), std::vector<std::string>{"レポートを保存できません。"});
    w.platform.close(alone);
}

// A CAGR over a single day of a 2,300-fold gain is beyond the doubles: no value, no colour.
TEST_F(ResultsWindow, AFigureThatIsNotFiniteShowsNoValue)
{
    RunResults results;
    results.begin(1000);
    results.closeDay(20040105, 1000);
    results.closeDay(20040106, 2298750);
    ResultsDialog dialog(w.platform, results);
    w.platform.open(dialog);
    EXPECT_EQ(toUtf8(dialog.figuresTable.cell(3, 0).text), "年率収益率 (CAGR)");
    EXPECT_EQ(toUtf8(dialog.figuresTable.cell(3, 1).text), "----");
    EXPECT_EQ(dialog.figuresTable.cell(3, 1).tone, CellTone::Plain);
    EXPECT_EQ(toUtf8(dialog.figuresTable.cell(2, 1).text), "229775.00％");
    w.platform.close(dialog);
}

}  // namespace
}  // namespace kv
