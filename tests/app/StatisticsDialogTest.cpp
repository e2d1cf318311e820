// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PrintDialog.h"
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

// Three years of months around a year change, a stock for every count of signals from one to
// four, and a row whose stock is unknown.
const std::vector<std::string> kSignals = {
    "銘柄,シグナル日付,購入価格,結果,終了日付,売却価格,パフォーマンス",
    "極洋,2003/10/01,100,○,2003/10/08,110,+10%",
    "トヨタ自動車,2003/11/04,100,×,2003/11/10,95,-5%",
    "ソフトバンク,2003/12/01,100,？,2003/12/05,100,判定不可",
    "極洋,2003/12/15,100,○,2003/12/20,104,+4%",
    "トヨタ自動車,2004/01/05,100,×(結果は利益),2004/01/09,102,+2%",
    "ソニー,2004/01/05,100,×,2004/01/09,97,-3%",
    "極洋,2004/02/02,100,○(結果は損失),2004/02/06,98,-2%",
    "ソフトバンク,2004/03/01,100,○,2004/03/05,120,+20%",
    "ソフトバンク,2004/03/02,100,×,2004/03/05,90,-10%",
    "ソフトバンク,2004/03/02,100,？,2004/03/05,100,判定不可",
    "未上場,2004/03/02,100,○,2004/03/05,150,+50%",
};

test::StockMaster stocks()
{
    return test::listedStocks().add(6758, "ソニー", 100).add(4063, "信越化学", 100);
}

struct Statistics : ::testing::Test {
    MainWindow w{stocks().indexLines()};

    Statistics()
    {
        w.folder.writeLines("signals.csv", kSignals);
        w.platform.queueFileAnswer(HeadlessPlatform::FileDialogKind::Open, w.folder / "signals.csv");
        w.click(IDC_LOAD);
        w.clearMessages();
    }

    // The dialog shown over the main window, without a loop of its own: the test drives it.
    struct Open {
        PrintDialog dialog;
        HeadlessPlatform& platform;
        Open(MainWindow& w) : dialog(*w.app, w.platform), platform(w.platform) { platform.open(dialog); }
        ~Open() { platform.close(dialog); }
        std::string text(int id) const { return toUtf8(platform.viewOf(dialog)->text(id)); }
        bool checked(int id) const { return platform.viewOf(dialog)->checked(id); }
        // The rows of a list, "*" marking the selected one.
        std::vector<std::string> rows(int id) const
        {
            const ListBox& list = *platform.viewOf(dialog)->list(id);
            std::vector<std::string> shown;
            for (int i = 0; i < list.count(); ++i)
                shown.push_back((i == list.selection() ? "*" : "") + toUtf8(list.row(i)));
            return shown;
        }
        // The texts of a block of fields, joined.
        std::string block(std::initializer_list<int> ids) const
        {
            std::string joined;
            for (int id : ids)
                joined += text(id) + "|";
            return joined;
        }
        std::string stockBlock() const
        {
            return block({IDC_STOCK_NAME, IDC_STOCK_SUCCESS_SHARE, IDC_STOCK_SUCCESSES,
                          IDC_STOCK_SUCCESS_AVERAGE, IDC_STOCK_SUCCESS_LOSSES, IDC_STOCK_FAILURE_SHARE,
                          IDC_STOCK_FAILURES, IDC_STOCK_FAILURE_AVERAGE, IDC_STOCK_FAILURE_PROFITS,
                          IDC_STOCK_UNKNOWN_SHARE, IDC_STOCK_UNKNOWNS, IDC_STOCK_SIGNALS,
                          IDC_STOCK_SIMPLE_AVERAGE});
        }
        std::string periodBlock() const
        {
            return block({IDC_PERIOD_SUCCESS_SHARE, IDC_PERIOD_SUCCESSES, IDC_PERIOD_SUCCESS_AVERAGE,
                          IDC_PERIOD_SUCCESS_LOSSES, IDC_PERIOD_FAILURE_SHARE, IDC_PERIOD_FAILURES,
                          IDC_PERIOD_FAILURE_AVERAGE, IDC_PERIOD_FAILURE_PROFITS, IDC_PERIOD_UNKNOWN_SHARE,
                          IDC_PERIOD_UNKNOWNS, IDC_PERIOD_SIGNALS, IDC_PERIOD_SIMPLE_AVERAGE,
                          IDC_PERIOD_PER_DAY_AVERAGE});
        }
    };
};

TEST_F(Statistics, OpensOnlyWithSignalsAndComputesAfreshEachTime)
{
    MainWindow empty;
    empty.clearMessages();
    empty.click(IDC_STATISTICS);
    EXPECT_EQ(empty.messagesUtf8(),
              std::vector<std::string>{"シミュレーションファイルまたはindex.txtがありません。"});
    EXPECT_EQ(empty.platform.topDialog(), empty.dialog.get());

    // 集計結果 runs the dialog modally; Esc (close) returns to the main window.
    w.platform.queueLines({"dump", "close"});
    w.click(IDC_STATISTICS);
    w.run({"dump"});
    std::string shown = w.out.str();
    EXPECT_NE(shown.find("1036\t11\n1037\t1\n"), std::string::npos) << shown;
    EXPECT_NE(shown.find("1084\t"), std::string::npos);
    EXPECT_NE(shown.find("1019\t実行前\n"), std::string::npos);  // the main window's dump after close
    EXPECT_EQ(w.platform.topDialog(), w.dialog.get());
    EXPECT_TRUE(w.messagesUtf8().empty());

    std::string overall, stock;
    std::vector<std::string> profitTop, profitBottom, others;
    auto look = [&] {
        Open s(w);
        overall =
            s.block({IDC_ALL_SUCCESS_SHARE, IDC_ALL_SUCCESSES, IDC_ALL_SUCCESS_AVERAGE,
                     IDC_ALL_SUCCESS_LOSSES, IDC_ALL_FAILURE_SHARE, IDC_ALL_FAILURES, IDC_ALL_FAILURE_AVERAGE,
                     IDC_ALL_FAILURE_PROFITS, IDC_ALL_UNKNOWN_SHARE, IDC_ALL_UNKNOWNS, IDC_ALL_SIGNALS,
                     IDC_ALL_SIMPLE_AVERAGE, IDC_ALL_PER_DAY_AVERAGE});
        w.run({"type 1012 9984", "enter"});
        stock = s.stockBlock();
        profitTop = s.rows(IDC_RANK_PROFIT_TOP);
        profitBottom = s.rows(IDC_RANK_PROFIT_BOTTOM);
        others = s.rows(IDC_RANK_SUCCESS_RATE);
        for (int id : {IDC_RANK_FAILURE_RATE, IDC_RANK_SIGNAL_COUNT})
            for (const std::string& row : s.rows(id))
                others.push_back(row);
    };
    look();
    // (0.10 - 0.05 - 0.03 + 0.04 + 0.02 - 0.03 - 0.02 + 0.20 - 0.10 - 0.03 + 0.50) / 11, over eight days.
    EXPECT_EQ(overall, "45.45％|5|16.40％|1|36.36％|4|-4.00％|1|18.18％|2|11|5.45％|4.48％|");
    EXPECT_EQ(stock, "ソフトバンク|25.00％|1|20.00％|0|25.00％|1|-10.00％|0|50.00％|2|4|1.00％|");
    EXPECT_EQ(profitTop,
              (std::vector<std::string>{"*銘柄選択", "No, 1  1301  極洋", "No, 2  9984  ソフトバンク",
                                        "No, 3  7203  トヨタ自動車"}));

    // A new rate of unknown outcomes moves the averages and the profit-rate rankings only.
    const std::vector<std::string> before = others;
    const std::string overallBefore = overall;
    w.app->settings.unknownProfitRate = 0.30;
    look();
    EXPECT_EQ(overall, "45.45％|5|16.40％|1|36.36％|4|-4.00％|1|18.18％|2|11|11.45％|9.98％|");
    EXPECT_EQ(stock, "ソフトバンク|25.00％|1|20.00％|0|25.00％|1|-10.00％|0|50.00％|2|4|17.50％|");
    EXPECT_EQ(profitTop,
              (std::vector<std::string>{"*銘柄選択", "No, 1  9984  ソフトバンク", "No, 2  1301  極洋",
                                        "No, 3  7203  トヨタ自動車"}));
    EXPECT_EQ(profitBottom,
              (std::vector<std::string>{"*銘柄選択", "No, 1  7203  トヨタ自動車", "No, 2  1301  極洋",
                                        "No, 3  9984  ソフトバンク"}));
    EXPECT_EQ(others, before);
}

TEST_F(Statistics, StockTotalsByCodeOrRankingAndTheHideBoxes)
{
    Open s(w);
    // Before any total: no code, no name, the six counts 0, the other figures empty.
    EXPECT_EQ(s.text(IDC_STOCK_CODE), "");
    EXPECT_EQ(s.stockBlock(), "||0||0||0||0||0|0||");
    EXPECT_TRUE(s.checked(IDC_HIDE_ONE_SIGNAL));
    EXPECT_FALSE(s.checked(IDC_HIDE_TWO_SIGNALS));
    // Fewer than twenty stocks: short lists; no stock without a success ranks by success rate.
    EXPECT_EQ(s.rows(IDC_RANK_SIGNAL_COUNT),
              (std::vector<std::string>{"*銘柄選択", "No, 1  9984  ソフトバンク", "No, 2  1301  極洋",
                                        "No, 3  7203  トヨタ自動車"}));
    EXPECT_EQ(s.rows(IDC_RANK_SUCCESS_RATE),
              (std::vector<std::string>{"*銘柄選択", "No, 1  1301  極洋", "No, 2  9984  ソフトバンク"}));

    // A stock without successes shows 0.00％ as its average on success.
    w.run({"type 1012 7203", "click 1056"});
    const std::string toyota = "トヨタ自動車|0.00％|0|0.00％|0|100.00％|2|-1.50％|1|0.00％|0|2|-1.50％|";
    EXPECT_EQ(s.stockBlock(), toyota);
    for (const char* code : {"0", "10000", "", "abc"}) {
        w.run({std::string("type 1012 ") + code, "enter"});
        EXPECT_EQ(s.stockBlock(), toyota) << code;
    }
    w.run({"type 1012 4063", "enter"});  // listed, without signals
    EXPECT_EQ(s.stockBlock(), "信越化学|----|0|----|0|----|0|----|0|----|0|0|----|");
    w.run({"type 1012 5", "enter"});
    EXPECT_EQ(s.text(IDC_STOCK_NAME), "対象銘柄なし");

    // The third row of the signal-count list: its code, without leading zeros, and its figures.
    w.run({"select 1051 3"});
    EXPECT_EQ(s.text(IDC_STOCK_CODE), "7203");
    EXPECT_EQ(s.stockBlock(), toyota);
    w.run({"select 1048 0"});  // 銘柄選択 changes nothing
    EXPECT_EQ(s.text(IDC_STOCK_CODE), "7203");

    // The boxes rebuild the lists, back at their first item; the figures stay.
    // Stocks with one signal come in: ソニー, and the unknown stocks' code 0, which keeps its
    // position without a row.
    w.run({"select 1054 1", "check 1055 0"});
    EXPECT_EQ(s.stockBlock(), "極洋|100.00％|3|4.00％|1|0.00％|0|0.00％|0|0.00％|0|3|4.00％|");
    EXPECT_EQ(s.rows(IDC_RANK_SIGNAL_COUNT),
              (std::vector<std::string>{"*銘柄選択", "No, 1  9984  ソフトバンク", "No, 2  1301  極洋",
                                        "No, 3  7203  トヨタ自動車", "No, 5  6758  ソニー"}));
    EXPECT_EQ(s.rows(IDC_RANK_SUCCESS_RATE)[0], "*銘柄選択");
    w.run({"check 1059 1"});
    EXPECT_EQ(s.rows(IDC_RANK_SIGNAL_COUNT),
              (std::vector<std::string>{"*銘柄選択", "No, 1  9984  ソフトバンク", "No, 2  1301  極洋",
                                        "No, 3  6758  ソニー"}));
    EXPECT_EQ(s.text(IDC_STOCK_CODE), "1301");
}

TEST_F(Statistics, PeriodListsKeepTheirPositionAndTotalTheChosenPeriod)
{
    Open s(w);
    EXPECT_EQ(s.rows(IDC_YEAR_LIST), (std::vector<std::string>{"*年", "2003年", "2004年"}));
    EXPECT_EQ(s.rows(IDC_MONTH_LIST), std::vector<std::string>{"*月"});
    EXPECT_EQ(s.rows(IDC_METHOD_LIST),
              (std::vector<std::string>{"*集計方法", "年間集計", "月間集計", "日間集計"}));
    EXPECT_EQ(s.periodBlock(), "|||||||||||||");

    // 年間集計 needs a year.
    w.run({"select 1071 1"});
    EXPECT_EQ(w.messagesUtf8(), std::vector<std::string>{"年が選択されていません。"});
    EXPECT_EQ(s.rows(IDC_METHOD_LIST)[0], "*集計方法");
    EXPECT_EQ(s.periodBlock(), "|||||||||||||");

    w.run({"select 1060 1", "select 1069 3"});
    EXPECT_EQ(s.rows(IDC_MONTH_LIST), (std::vector<std::string>{"月", "10月", "11月", "*12月"}));
    EXPECT_EQ(s.rows(IDC_DAY_LIST), (std::vector<std::string>{"*日", " 1日", "15日"}));
    w.run({"select 1070 2", "select 1071 1"});
    EXPECT_EQ(w.messagesUtf8().size(), 1u);  // a year is chosen now
    EXPECT_EQ(s.periodBlock(), "50.00％|2|7.00％|0|25.00％|1|-5.00％|0|25.00％|1|4|1.50％|1.50％|");

    // Another year keeps the third month and the second day, and the fields follow.
    int waits = w.platform.waitCursorsShown();
    w.run({"select 1060 2"});
    EXPECT_EQ(w.platform.waitCursorsShown(), waits + 1);
    EXPECT_EQ(w.platform.waitCursorDepth(), 0);
    EXPECT_EQ(s.rows(IDC_MONTH_LIST), (std::vector<std::string>{"月", " 1月", " 2月", "* 3月"}));
    EXPECT_EQ(s.rows(IDC_DAY_LIST), (std::vector<std::string>{"日", " 1日", "* 2日"}));
    // 2004: (0.02 - 0.03 - 0.02 + 0.20 - 0.10 - 0.03 + 0.50) / 7; days 1/5, 2/2, 3/1, 3/2.
    EXPECT_EQ(s.periodBlock(), "42.86％|3|22.67％|1|42.86％|3|-3.67％|1|14.29％|1|7|7.71％|7.46％|");
    w.run({"select 1071 2"});
    EXPECT_EQ(s.periodBlock(), "50.00％|2|35.00％|0|25.00％|1|-10.00％|0|25.00％|1|4|14.25％|16.17％|");
    w.run({"select 1071 3"});
    EXPECT_EQ(s.periodBlock(), "33.33％|1|50.00％|0|33.33％|1|-10.00％|0|33.33％|1|3|12.33％|12.33％|");
    w.run({"select 1070 0"});  // 日間集計 without a day: nothing to show
    EXPECT_EQ(s.periodBlock(), "|||||||||||||");

    // The heading 年 again empties the month and day lists down to their headings.
    w.run({"select 1060 0"});
    EXPECT_EQ(s.rows(IDC_MONTH_LIST), std::vector<std::string>{"*月"});
    EXPECT_EQ(s.rows(IDC_DAY_LIST), std::vector<std::string>{"*日"});
}

}  // namespace
}  // namespace kv
