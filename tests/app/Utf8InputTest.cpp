// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/SimulatorApp.h"
#include "resources/ControlIds.h"
#include "support/MainWindowFixture.h"
#include "text/Cp932.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace kv {
namespace {

using test::MainWindow;

const std::string kBom = "\xEF\xBB\xBF";
const std::string kReadyToRun = "必要に応じてオプションを変更し実行ボタンを押してください。";

std::string readSample(const char* name)
{
    std::ifstream in(std::filesystem::path(KV_SAMPLE_DIR) / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool sameTally(const SignalTally& a, const SignalTally& b)
{
    return a.signalCount == b.signalCount && a.successCount == b.successCount &&
        a.successReturnSum == b.successReturnSum && a.failureCount == b.failureCount &&
        a.failureReturnSum == b.failureReturnSum && a.unknownCount == b.unknownCount &&
        a.successLossCount == b.successLossCount && a.successLossReturnSum == b.successLossReturnSum &&
        a.failureProfitCount == b.failureProfitCount && a.failureProfitReturnSum == b.failureProfitReturnSum;
}

// Starts on `index`, loads `signals` and runs the whole file to its end with a trade log.
struct Backtest {
    Backtest(const std::string& index, const std::string& signals) : w({}, false)
    {
        w.folder.write("index.txt", index);
        w.folder.write("signals.csv", signals);
        w.start();
        w.platform.queueFileAnswer(HeadlessPlatform::FileDialogKind::Open, w.folder / "signals.csv");
        w.click(IDC_LOAD);
        loadStatus = w.text(IDC_STATUS);
        w.platform.queueFileAnswer(HeadlessPlatform::FileDialogKind::Save, w.folder / "log.csv");
        w.click(IDC_RUN);
        for (int steps = 0; w.dialog->engine.inProgress() && !w.dialog->engine.finished() && steps < 100000;
             ++steps)
            w.click(IDC_NEXT);
    }
    MainWindow w;
    std::string loadStatus;
};

TEST(Utf8Input, TheSampleFromAUtf8CopyGivesTheSameListTalliesAndTradeLog)
{
    const std::string index = readSample("index.txt");
    const std::string signals = readSample("signals.csv");
    ASSERT_GT(signals.size(), 1000u);
    const std::string indexUtf8 = kBom + toUtf8(index);
    const std::string signalsUtf8 = toUtf8(signals);
    ASSERT_NE(signalsUtf8, signals);
    ASSERT_EQ(signalsUtf8.find("\xEF\xBF\xBD"), std::string::npos);

    Backtest cp932(index, signals);
    Backtest utf8(indexUtf8, signalsUtf8);
    ASSERT_TRUE(cp932.w.dialog->engine.finished());
    ASSERT_TRUE(utf8.w.dialog->engine.finished());

    const ListBox& expected = cp932.w.dialog->signalList;
    const ListBox& actual = utf8.w.dialog->signalList;
    ASSERT_EQ(actual.count(), expected.count());
    for (int i = 0; i < expected.count(); ++i)
        ASSERT_EQ(actual.row(i), expected.row(i)) << "row " << i;

    const SignalTallies& a = utf8.w.app->tallies;
    const SignalTallies& e = cp932.w.app->tallies;
    EXPECT_TRUE(sameTally(a.overallTally, e.overallTally));
    ASSERT_EQ(a.dateTally.size(), e.dateTally.size());
    for (size_t code = 0; code < e.stockTally.size(); ++code)
        ASSERT_TRUE(sameTally(a.stockTally[code], e.stockTally[code])) << "stock " << code;
    for (size_t slot = 0; slot < e.dateTally.size(); ++slot) {
        ASSERT_EQ(a.slotDate[slot], e.slotDate[slot]) << "slot " << slot;
        ASSERT_TRUE(sameTally(a.dateTally[slot], e.dateTally[slot])) << "slot " << slot;
    }

    std::string log = cp932.w.folder.read("log.csv");
    EXPECT_GT(log.size(), 1000u);
    EXPECT_EQ(utf8.w.folder.read("log.csv"), log);
    EXPECT_EQ(utf8.loadStatus, kReadyToRun);
    EXPECT_EQ(utf8.w.text(IDC_TOTAL_ASSETS), cp932.w.text(IDC_TOTAL_ASSETS));
}

TEST(Utf8Input, UnconvertibleCharactersReadAsQuestionMarksAndTheStatusLineCountsThem)
{
    // A name of 25 kanji is 75 bytes of UTF-8 but 50 of code page 932: it must not be cut at
    // 64 bytes before the conversion, or it would match nothing.
    std::string longName;
    for (int i = 0; i < 25; ++i)
        longName += "株";
    MainWindow w({}, false);
    w.folder.write("index.txt",
                   "コード,銘柄名,市場,売買単位\r\n"
                   "1301,極洋,東証,1000\r\n"
                   "2000,Café😀,東証,100\r\n"
                   "3000," +
                       longName + ",東証,10\r\n");
    w.start();
    EXPECT_EQ(w.text(IDC_STATUS), "index.txt の UTF-8 から変換できず「？」にした文字：2");
    EXPECT_EQ(w.dialog->masterReplaced, 2u);
    EXPECT_EQ(toUtf8(w.app->master.stockName[2000]), "Caf？？");

    w.folder.write("signals.csv",
                   kBom +
                       "銘柄,シグナル日付,購入価格,結果,終了日付,売却価格,パフォーマンス\r\n"
                       "Caf？？,2004/01/05,100,○,2004/01/06,110,+10%👍\r\n" +
                       longName + ",2004/01/05,200,×,2004/01/06,190,-5%\r\n");
    w.platform.queueFileAnswer(HeadlessPlatform::FileDialogKind::Open, w.folder / "signals.csv");
    w.click(IDC_LOAD);
    EXPECT_EQ(w.text(IDC_STATUS), kReadyToRun + "（UTF-8 から変換できず「？」にした文字：1）");
    ASSERT_EQ(w.dialog->signalList.count(), 2);
    EXPECT_EQ(toUtf8(w.dialog->signalList.row(0)),
              "2000 Caf？？ 2004/01/05 100 ○ 2004/01/06 110 +10%？\r\n 100");
    EXPECT_EQ(toUtf8(w.dialog->signalList.row(1)).substr(0, 5), "3000 ");
    EXPECT_EQ(w.app->tallies.stockTally[3000].failureCount, 1);

    // A code page 932 file after it: the status line is the plain one again.
    w.folder.writeLines("plain.csv", {"h", "極洋,2004/01/05,100,○,2004/01/06,110,x"});
    w.platform.queueFileAnswer(HeadlessPlatform::FileDialogKind::Open, w.folder / "plain.csv");
    w.click(IDC_LOAD);
    EXPECT_EQ(w.text(IDC_STATUS), kReadyToRun);
    EXPECT_EQ(w.dialog->signalsReplaced, 0u);
}

}  // namespace
}  // namespace kv
