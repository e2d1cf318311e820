// SPDX-License-Identifier: GPL-3.0-or-later
#include "resources/Templates.h"

#include "resources/ControlIds.h"
#include "resources/TemplateControls.h"
#include "text/Cp932.h"

namespace kv {

namespace {

using namespace tmpl;

// Four pages under a tab bar. 概要: the asset curve with its drawdown on the left, below it what
// the run did with its capital (when it matters), the figures of the run beside it, the monthly and yearly results below. 取引一覧: the trades, a filter
// above them and their sums below. 月別: the monthly returns by year. モンテカルロ: the number of paths, seed and order
// with the run button above, the fan of the assets by trade number over the histogram of the
// drawdowns, the figures beside them. The buttons in the lower
// right corner show on every page.
DialogTemplate buildResultsDialog()
{
    DialogTemplate t{IDD_RESULTS, toCp932("運用成績"), "MS Shell Dlg", 8, 540, 351};
    t.controls = {
        tabBar(IDC_RESULTS_PAGES, 5, 3, 530, 14, {"概要", "取引一覧", "月別", "モンテカルロ"},
               AnchorLeft | AnchorTop | AnchorRight),
        onPage(0, chart(IDC_RESULTS_CHART, 5, 20, 330, 201, AnchorAll)),
        onPage(0,
               display(IDC_RESULTS_CAPITAL_USE, 5, 224, 330, 19, StyleMultiline,
                       AnchorLeft | AnchorRight | AnchorBottom)),
        onPage(0,
               label("保有中の銘柄は取得額で数えます（シグナルファイルに日々の株価はありません）。"
                     "損益と収益率は、プラスを緑、マイナスを赤で示します。",
                     5, 245, 330, 17, StyleMultiline, AnchorLeft | AnchorRight | AnchorBottom)),
        onPage(0,
               table(IDC_RESULTS_FIGURES, 340, 20, 195, 242, StyleBorder | StyleVScroll,
                     AnchorTop | AnchorRight | AnchorBottom)),
        onPage(0,
               table(IDC_RESULTS_MONTHS, 5, 267, 250, 79, StyleBorder | StyleVScroll,
                     AnchorLeft | AnchorBottom)),
        onPage(0,
               table(IDC_RESULTS_YEARS, 260, 267, 220, 79, StyleBorder | StyleVScroll,
                     AnchorLeft | AnchorBottom)),
        onPage(1, label("コード・銘柄名で絞り込み:", 5, 23, 90, 10)),
        onPage(1, edit(IDC_RESULTS_TRADE_FILTER, 95, 21, 100, 13, StyleBorder | StyleNotify)),
        onPage(1, display(IDC_RESULTS_TRADE_COUNT, 200, 21, 140, 13)),
        onPage(
            1,
            table(IDC_RESULTS_TRADES, 5, 37, 475, 294, StyleBorder | StyleVScroll | StyleHScroll, AnchorAll)),
        onPage(1,
               display(IDC_RESULTS_TRADE_SUMS, 5, 334, 475, 13, StyleNone,
                       AnchorLeft | AnchorRight | AnchorBottom)),
        onPage(2, heatmap(IDC_RESULTS_MONTH_MAP, 5, 20, 475, 326, AnchorAll)),
        onPage(3, label("経路数:", 5, 23, 30, 10)),
        onPage(3, edit(IDC_RESULTS_MC_PATHS, 36, 21, 44, 13, StyleBorder)),
        onPage(3, label("シード:", 86, 23, 28, 10)),
        onPage(3, edit(IDC_RESULTS_MC_SEED, 115, 21, 80, 13, StyleBorder)),
        onPage(3, label("順序:", 201, 23, 22, 10)),
        onPage(3, dropDownList(IDC_RESULTS_MC_ORDER, 224, 21, 110, 12)),
        onPage(3, button(IDC_RESULTS_MC_RUN, "実行", 340, 20, 44, 15)),
        onPage(3, chart(IDC_RESULTS_MC_FAN, 5, 38, 300, 176, AnchorAll)),
        onPage(3, chart(IDC_RESULTS_MC_HISTOGRAM, 5, 217, 300, 104, AnchorLeft | AnchorRight | AnchorBottom)),
        onPage(
            3,
            label("取引の損益を直前の総資産に対する収益率に直し、順序だけを変えて元本から複利で積み直します。"
                  "取引は互いに独立ではなく、シグナルは固定のままです。",
                  5, 324, 300, 22, StyleMultiline, AnchorLeft | AnchorRight | AnchorBottom)),
        onPage(3,
               table(IDC_RESULTS_MC_FIGURES, 310, 38, 170, 308, StyleBorder | StyleVScroll,
                     AnchorTop | AnchorRight | AnchorBottom)),
        button(IDC_RESULTS_REFRESH, "更新", 485, 267, 50, 15, StyleNone, AnchorBottomRight),
        button(IDC_RESULTS_SAVE_IMAGE, "画像保存", 485, 283, 50, 15, StyleNone, AnchorBottomRight),
        button(IDC_RESULTS_SAVE_CSV, "CSV保存", 485, 299, 50, 15, StyleNone, AnchorBottomRight),
        button(IDC_RESULTS_SAVE_REPORT, "レポート保存", 485, 315, 50, 15, StyleNone, AnchorBottomRight),
        button(IDOK, "閉じる", 485, 331, 50, 15, StyleDefault, AnchorBottomRight),
    };
    return t;
}

}  // namespace

const DialogTemplate& resultsDialogTemplate()
{
    static const DialogTemplate t = buildResultsDialog();
    return t;
}

}  // namespace kv
