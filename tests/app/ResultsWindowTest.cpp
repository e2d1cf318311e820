// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ResultsDialog.h"
#include "app/TradeListRows.h"
#include "report/ResultsJson.h"
#include "resources/ControlIds.h"
#include "sim/ResultFigureTable.h"
#include "support/MainWindowFixture.h"
#include "text/ColourScale.h"
#include "text/Cp932.h"
#include "toolkit/headless/HeadlessView.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <unistd.h>
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
    // The drawdown falls below zero, as every drawdown is shown.
    EXPECT_EQ(results.chart.series()[1].values, (std::vector<double>{-3990 / 2e6 * 100, -7980 / 2e6 * 100}));

    // Every figure of the results is listed under its label with the value --json gives it, read
    // back from its text: rounded to the decimals shown, a drawdown as a fall.
    const nlohmann::ordered_json json = resultsJson(w.dialog->engine.results());
    int row = 0;
    for (const FigureDescription& figure : resultFigureTable()) {
        if (!(figure.places & InResults))
            continue;
        SCOPED_TRACE(figure.key);
        ASSERT_LT(row, results.figuresTable.rowCount());
        EXPECT_EQ(toUtf8(results.figuresTable.cell(row, 0).text), figure.label);
        const std::string text = toUtf8(results.figuresTable.cell(row++, 1).text);
        if (!json.contains(figure.key))
            continue;
        const nlohmann::ordered_json& value = json[figure.key];
        if (value.is_null()) {
            EXPECT_EQ(text, "----");
        } else if (value.is_string()) {
            EXPECT_EQ(text, value.get<std::string>());
        } else {
            std::string digits;
            for (char c : text)
                if (c != '\\' && c != ',' && c != '%')
                    digits += c;
            const size_t point = digits.find('.');
            const int decimals = point == std::string::npos ? 0 : static_cast<int>(digits.size() - point - 1);
            const double expected = value.get<double>() * (figure.shownAsFall ? -1 : 1);
            EXPECT_NEAR(std::stod(digits), expected, 0.5 * std::pow(10.0, -decimals) + 1e-9) << text;
        }
    }
    EXPECT_EQ(row, results.figuresTable.rowCount());
    // Worked by hand above: the capital, the final assets and the fall from the peak of 1,996,010.
    EXPECT_EQ(column(results.figuresTable, 1)[0], "\\2,000,000");
    EXPECT_EQ(column(results.figuresTable, 1)[1], "\\1,992,020");
    EXPECT_EQ(column(results.figuresTable, 1)[4], "-\\7,980");
    EXPECT_EQ(results.figuresTable.cell(2, 1).tone, CellTone::Loss);    // 総収益率 below 0
    EXPECT_EQ(results.figuresTable.cell(12, 1).tone, CellTone::Gain);   // 総利益
    EXPECT_EQ(results.figuresTable.cell(13, 1).tone, CellTone::Loss);   // 総損失, held as a size
    EXPECT_EQ(results.figuresTable.cell(17, 1).tone, CellTone::Plain);  // 期待値 of 0

    // One month and one year: a loss of 7,980, in red.
    for (const Table* table : {&results.monthsTable, &results.yearsTable}) {
        ASSERT_EQ(table->rowCount(), 1);
        std::vector<std::string> row;
        for (int c = 0; c < table->columnCount(); ++c)
            row.push_back(toUtf8(table->cell(0, c).text));
        EXPECT_EQ(row[0], table == &results.monthsTable ? "2004/01" : "2004");
        EXPECT_EQ(std::vector<std::string>(row.begin() + 1, row.end()),
                  (std::vector<std::string>{"\\1,992,020", "-\\7,980", "-0.40%", "2", "1"}));
        EXPECT_EQ(table->cell(0, 2).tone, CellTone::Loss);
        EXPECT_EQ(table->cell(0, 3).tone, CellTone::Loss);
        EXPECT_EQ(table->cell(0, 1).tone, CellTone::Plain);
    }
    // 月別: January and the year, the strongest red of their scales (the loss colour itself, not
    // what the scale function makes of it); the other months empty.
    ASSERT_EQ(results.monthMap.rowCount(), 1);
    ASSERT_EQ(results.monthMap.columnCount(), 13);
    for (int c : {0, 12}) {
        EXPECT_EQ(toUtf8(results.monthMap.cell(0, c).text), "-0.40%");
        EXPECT_EQ(results.monthMap.cell(0, c).colour, (Rgb{215, 48, 39}));
    }
    EXPECT_EQ(toUtf8(results.monthMap.cell(0, 0).tip),
              "2004年1月\r\n収益率 -0.40%\r\n損益 -\\7,980\r\n取引 2　勝ち 1");
    EXPECT_TRUE(results.monthMap.cell(0, 1).empty);
    w.platform.close(results);
}

// Months on the scale of the largest month (10 %), the year on its own: February's fall of 6 %
// is 0.6 of the loss colour, March's 4 % 0.4 of the gain colour, January and the year of 7.536 %
// the full gain colour.
TEST_F(ResultsWindow, TheMonthMapColoursMonthsAndYearsOnTheirOwnScales)
{
    RunResults run;
    run.begin(1000000);
    run.closeDay(20040130, 1100000);
    run.closeDay(20040227, 1034000);
    run.closeDay(20040331, 1075360);
    ResultsDialog results(w.platform, run);
    w.platform.open(results);
    ASSERT_EQ(results.monthMap.columnCount(), 13);
    const std::vector<std::pair<int, Rgb>> expected = {
        {0, {26, 152, 80}}, {1, {231, 131, 125}}, {2, {163, 214, 185}}, {12, {26, 152, 80}}};
    for (const auto& [c, colour] : expected)
        EXPECT_EQ(results.monthMap.cell(0, c).colour, colour) << c;
    w.platform.close(results);
}

// 取引一覧: the two sales in their order, sorted by a heading, filtered by a name or a code on
// its page only (a filter never matches inside a double-byte character), with the count and
// sums of the rows shown.
TEST_F(ResultsWindow, TheTradeListSortsFiltersAndSumsTheTradesShown)
{
    runToEnd();
    ResultsDialog results(w.platform, w.dialog->engine.results(), {}, &w.dialog->engine.signalRows());
    w.platform.open(results);
    HeadlessView& view = *w.platform.viewOf(results);
    EXPECT_EQ(column(results.tradesTable, 1), (std::vector<std::string>{"極洋", "トヨタ自動車"}));
    EXPECT_EQ(column(results.tradesTable, 9), (std::vector<std::string>{"\\180,000", "-\\180,000"}));

    w.platform.execute("type 1121 トヨタ");  // 概要 is shown: the page's controls take no input
    w.platform.execute("sort 1123 9");
    EXPECT_EQ(results.tradesTable.rowCount(), 2);
    EXPECT_EQ(results.tradesTable.sortColumn(), -1);
    w.platform.execute("page 1120 1");
    w.platform.execute("sort 1123 9");
    EXPECT_EQ(column(results.tradesTable, 1), (std::vector<std::string>{"トヨタ自動車", "極洋"}));
    w.platform.execute("sort 1123 9");
    EXPECT_EQ(column(results.tradesTable, 1), (std::vector<std::string>{"極洋", "トヨタ自動車"}));

    w.platform.execute("type 1121  トヨタ ");
    EXPECT_EQ(column(results.tradesTable, 1), (std::vector<std::string>{"トヨタ自動車"}));
    EXPECT_EQ(toUtf8(view.text(IDC_RESULTS_TRADE_COUNT)), "1 件を表示（全 2 件）");
    EXPECT_EQ(toUtf8(view.text(IDC_RESULTS_TRADE_SUMS)),
              "合計　株数 1,800　購入金額 \\5,400,000　売却金額 \\5,220,000　手数料 \\3,990　差引益 "
              "-\\180,000　税引き益 -\\180,000");
    const std::string code = toUtf8(results.tradesTable.cell(0, 0).text);
    w.platform.execute("type 1121 m");  // the second byte of 洋 in code page 932
    EXPECT_EQ(results.tradesTable.rowCount(), 0);
    w.platform.execute("type 1121 " + code);
    EXPECT_EQ(column(results.tradesTable, 1), (std::vector<std::string>{"トヨタ自動車"}));
    w.platform.close(results);
}

// Each cell shows its value rounded as the trade log rounds it, and its tone follows what is
// shown: 0.4 yen is no gain. The sums add up the shown amounts; a trade without holding days (a
// date that is not a real calendar date) sorts first by them, last when they are descending.
TEST(TradeListRows, RoundsTonesSumsAndSortsByTheShownValues)
{
    RunResults results;
    results.begin(0, true);
    Trade a{.code = 1301,
            .buyDate = 20040105,
            .sellDate = 20040106,
            .commission = 10,
            .shares = 1000.5,
            .buyAmount = 1000.5,
            .sellAmount = 1000.9,
            .grossProfit = 0.4,
            .netProfit = -0.6,
            .profitRatePercent = -1.25};
    Trade b{.code = 7203,
            .buyDate = 20040106,
            .sellDate = 20041399,
            .commission = 20,
            .shares = 999.5,
            .buyAmount = 2000.4,
            .sellAmount = 2500,
            .grossProfit = 0.5,
            .netProfit = -0.4,
            .profitRatePercent = 3};
    results.sale(a);
    results.sale(b);
    TradeListRows rows(results, nullptr);
    rows.take("");
    ASSERT_EQ(rows.count(), 2);

    const struct {
        int row, column;
        const char* text;
        CellTone tone;
    } cells[] = {
        {0, 0, "1301", CellTone::Plain},    {0, 2, "2004/01/05", CellTone::Plain},
        {0, 4, "1", CellTone::Plain},       {0, 5, "1,001", CellTone::Plain},
        {0, 6, "\\1,001", CellTone::Plain}, {0, 8, "\\10", CellTone::Plain},
        {0, 9, "\\0", CellTone::Plain},     {0, 10, "-\\1", CellTone::Loss},
        {0, 11, "-1.25%", CellTone::Loss},  {1, 3, "2004/13/99", CellTone::Plain},
        {1, 4, "", CellTone::Plain},        {1, 5, "1,000", CellTone::Plain},
        {1, 9, "\\1", CellTone::Gain},      {1, 10, "\\0", CellTone::Plain},
        {1, 11, "3.00%", CellTone::Gain},
    };
    for (const auto& c : cells) {
        EXPECT_EQ(toUtf8(rows.cell(c.row, c.column).text), c.text) << c.row << "," << c.column;
        EXPECT_EQ(rows.cell(c.row, c.column).tone, c.tone) << c.row << "," << c.column;
    }
    EXPECT_EQ(toUtf8(rows.sumsText()),
              "合計　株数 2,001　購入金額 \\3,001　売却金額 \\3,501　手数料 \\30　差引益 "
              "\\1　税引き益 -\\1");

    std::vector<int32_t> order = {0, 1};
    rows.sortRows(order, 4, true);
    EXPECT_EQ(order, (std::vector<int32_t>{1, 0}));
    EXPECT_TRUE(rows.lessThan(1, 0, 4));
    rows.sortRows(order, 4, false);  // and so last the other way round
    EXPECT_EQ(order, (std::vector<int32_t>{0, 1}));
    rows.sortRows(order, 11, false);
    EXPECT_EQ(order, (std::vector<int32_t>{1, 0}));
    rows.sortRows(order, 0, true);
    EXPECT_EQ(order, (std::vector<int32_t>{0, 1}));
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
    EXPECT_NE(out.find("1102[1]\t最終資産\t\\1,992,020\n", second), std::string::npos);
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

// The trade log of the window's own run is no file to save onto while the run writes it, nor
// is a file another run holds; each is refused and the question asked again.
TEST_F(ResultsWindow, RefusesTheRunningLogAndAFileAnotherRunWrites)
{
    w.app->settings.saveLog = true;
    w.platform.queueFileAnswer(HeadlessPlatform::FileDialogKind::Save, w.folder / "log.csv");
    w.click(IDC_RUN);
    w.click(IDC_NEXT);
    w.click(IDC_NEXT);  // the first day has closed; the log is open
    ASSERT_TRUE(w.folder.exists("log.csv"));
    const std::string log = w.folder.read("log.csv");
    w.folder.write("held.csv", "old");
    const int held = ::open((w.folder / "held.csv").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);
    w.clearMessages();

    ResultsDialog results(w.platform, w.dialog->engine.results());
    w.platform.open(results);
    for (const char* chosen : {"log.csv", "held.csv", "days.csv"})
        w.platform.queueFileAnswer(HeadlessPlatform::FileDialogKind::Save, w.folder / chosen);
    w.click(IDC_RESULTS_SAVE_CSV);
    EXPECT_EQ(w.messagesUtf8(),
              (std::vector<std::string>{"実行中のログファイルには書き込めません",
                                        "他の実行が書き込み中です：held.csv"}));
    EXPECT_EQ(w.platform.fileDialogs().size(), 3u);  // asked three times
    EXPECT_EQ(w.folder.read("log.csv"), log);
    EXPECT_EQ(w.folder.read("held.csv"), "old");
    EXPECT_TRUE(w.folder.read("days.csv").starts_with(toCp932("日付,総資産")));
    w.platform.close(results);
    ::close(held);
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
    EXPECT_EQ(toUtf8(dialog.figuresTable.cell(2, 1).text), "229,775.00%");
    w.platform.close(dialog);
}

}  // namespace
}  // namespace kv
