// SPDX-License-Identifier: GPL-3.0-or-later
#include "resources/Templates.h"

#include "resources/ControlIds.h"
#include "resources/TemplateControls.h"
#include "text/Cp932.h"

namespace kv {

namespace {

using namespace tmpl;

// The fields of a signal row, and of a position the lot count after them.
std::vector<Column> rowColumns(bool withLots)
{
    std::vector<Column> columns{{"コード", 26},         {"銘柄名", 64},         {"購入日", 44},
                                {"購入価格", 38, true}, {"成果", 22},           {"売却日", 44},
                                {"売却価格", 38, true}, {"パフォーマンス", 60}, {"売買単位", 36, true}};
    if (withLots)
        columns.push_back({"ロット", 28, true});
    return columns;
}

// A control that keeps its distance to the window sides named by `anchor` as the window grows.
ControlTemplate at(unsigned anchor, ControlTemplate control)
{
    control.anchor = anchor;
    return control;
}

// The window fits a 1366×768 screen with a panel, the signal list wide enough for all its
// columns. Enlarged, the signal list takes the added width and half the added height, the
// simulation group below the other half (its lists grow taller); the detail pane and the
// buttons keep to the right edge.
DialogTemplate buildMainDialog()
{
    DialogTemplate t{IDD_MAIN, "Kirvane", toCp932("ＭＳ ゴシック"), 8, 516, 342};
    t.minimizeBox = true;
    auto& c = t.controls;
    constexpr unsigned right = AnchorTop | AnchorRight;
    constexpr unsigned lower = AnchorLeft | AnchorTopHalf;
    constexpr unsigned lowerRight = AnchorRight | AnchorTopHalf;

    // The signal list fills the top left; its header names the nine fields of a row.
    c.push_back(columnListBox(IDC_SIGNAL_LIST, 1, 4, 384, 193, rowColumns(false),
                              AnchorLeft | AnchorTop | AnchorRight | AnchorBottomHalf));

    // Detail pane: a labelled column of read-only fields beside the upper buttons.
    c.push_back(at(right, groupBox("データ", 387, 4, 125, 193)));
    struct Detail {
        int id;
        const char* caption;
    };
    const Detail details[] = {
        {IDC_CODE, "証券コード"},     {IDC_NAME, "銘柄名"},
        {IDC_BUY_DATE, "購入日"},     {IDC_SELL_DATE, "売却日"},
        {IDC_RESULT, "成果"},         {IDC_BUY_PRICE, "購入価格"},
        {IDC_SELL_PRICE, "売却価格"}, {IDC_PERFORMANCE, "パフォーマンス"},
        {IDC_UNIT, "売買単位"},
    };
    int y = 22;
    for (const Detail& d : details) {
        c.push_back(at(right, label(d.caption, 391, y - 8, 62, 8)));
        c.push_back(at(right, display(d.id, 391, y, 62, 12)));
        y += 20;
    }

    // The button column right of the detail pane.
    c.insert(c.end(),
             {
                 button(IDC_SET_START, "開始日指定", 458, 10, 50, 16, StyleNone, right),
                 button(IDC_SET_END, "終了日指定", 458, 28, 50, 16, StyleNone, right),
                 button(IDC_OPTIONS, "オプション", 458, 52, 50, 16, StyleNone, right),
                 button(IDC_HISTORY, "売買履歴", 458, 70, 50, 16, StyleDisabled, right),
                 button(IDC_STATISTICS, "集計結果", 458, 88, 50, 16, StyleNone, right),
                 button(IDC_RESULTS, "運用成績", 458, 106, 50, 16, StyleDisabled, right),
                 button(IDC_OPTIMISE, "最適化", 458, 124, 50, 16, StyleDisabled, right),
                 button(IDC_LOAD, "読み込み", 458, 148, 50, 16, StyleNone, right),
                 button(IDC_RUN, "実行", 458, 166, 50, 16, StyleNone, right),
                 // Not the default button: Enter alone must not end the program.
                 button(IDOK, "終了", 458, 184, 50, 16, StyleNone, right),
             });

    // Simulation group: window, state and asset figures, the three portfolio lists, stepping.
    c.insert(
        c.end(),
        {
            at(AnchorLeft | AnchorRight | AnchorTopHalf | AnchorBottom,
               groupBox("シミュレーション", 2, 197, 511, 127)),
            label("開始日", 7, 208, 25, 8, StyleNone, lower),
            display(IDC_START_DATE, 33, 206, 62, 12, StyleNone, lower),
            label("終了日", 100, 208, 25, 8, StyleNone, lower),
            display(IDC_END_DATE, 126, 206, 62, 12, StyleNone, lower),
            label("状態", 195, 208, 18, 8, StyleNone, lower),
            display(IDC_STATE, 214, 206, 62, 12, StyleNone, lower),
            label("運用資産", 349, 207, 36, 8, StyleNone, lowerRight),
            display(IDC_OPERATING_ASSETS, 386, 205, 80, 12, StyleRightAlign, lowerRight),
            label("総資産", 349, 219, 36, 8, StyleNone, lowerRight),
            display(IDC_TOTAL_ASSETS, 386, 217, 80, 12, StyleRightAlign, lowerRight),
            display(IDC_CURRENT_DATE, 460, 204, 47, 12, StyleRightAlign, lowerRight),

            label("所持銘柄", 7, 231, 40, 8, StyleNone, lower),
            display(IDC_HOLDINGS_FIGURE, 50, 229, 102, 12, StyleRightAlign, lower),
            label("購入候補", 155, 231, 40, 8, StyleNone, lower),
            label("売却リスト", 305, 231, 44, 8, StyleNone, lower),
            display(IDC_SELL_FIGURE, 351, 229, 101, 12, StyleRightAlign, lower),
            columnListBox(IDC_HOLDINGS_LIST, 5, 242, 147, 77, rowColumns(true), lower | AnchorBottom),
            columnListBox(IDC_CANDIDATE_LIST, 155, 242, 147, 77, rowColumns(false), lower | AnchorBottom),
            columnListBox(IDC_SELL_LIST, 305, 242, 147, 77, rowColumns(true), lower | AnchorBottom),

            button(IDC_NEXT, "NEXT", 458, 242, 50, 17, StyleNone, lowerRight),
            button(IDC_AUTO, "AUTO", 458, 262, 50, 17, StyleNone, lowerRight),
            button(IDC_STOP, "STOP", 458, 282, 50, 17, StyleNone, lowerRight),
            button(IDC_RESET, "RESET", 458, 302, 50, 17, StyleNone, lowerRight),

            display(IDC_STATUS, 1, 326, 511, 13, StyleNone, AnchorLeft | AnchorRight | AnchorBottom),
        });
    return t;
}

}  // namespace

const DialogTemplate& mainDialogTemplate()
{
    static const DialogTemplate t = buildMainDialog();
    return t;
}

}  // namespace kv
