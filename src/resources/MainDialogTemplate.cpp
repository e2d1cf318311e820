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

DialogTemplate buildMainDialog()
{
    DialogTemplate t{IDD_MAIN, "Kirvane", toCp932("ＭＳ ゴシック"), 8, 448, 364};
    t.minimizeBox = true;
    auto& c = t.controls;

    // The signal list fills the top left; its header names the nine fields of a row.
    c.push_back(columnListBox(IDC_SIGNAL_LIST, 1, 4, 316, 213, rowColumns(false)));

    // Detail pane: a labelled column of read-only fields beside the upper buttons.
    c.push_back(groupBox("データ", 319, 4, 125, 215));
    struct Detail {
        int id;
        const char* caption;
        int y;
    };
    const Detail details[] = {
        {IDC_CODE, "証券コード", 22},      {IDC_NAME, "銘柄名", 44},
        {IDC_BUY_DATE, "購入日", 66},      {IDC_SELL_DATE, "売却日", 89},
        {IDC_RESULT, "成果", 111},         {IDC_BUY_PRICE, "購入価格", 133},
        {IDC_SELL_PRICE, "売却価格", 155}, {IDC_PERFORMANCE, "パフォーマンス", 177},
        {IDC_UNIT, "売買単位", 200},
    };
    for (const Detail& d : details) {
        c.push_back(label(d.caption, 323, d.y - 9, 62, 8));
        c.push_back(display(d.id, 323, d.y, 62, 12));
    }

    // The button column right of the detail pane.
    c.insert(c.end(),
             {
                 button(IDC_SET_START, "開始日指定", 390, 12, 50, 18),
                 button(IDC_SET_END, "終了日指定", 390, 32, 50, 19),
                 button(IDC_OPTIONS, "オプション", 390, 61, 50, 17),
                 button(IDC_HISTORY, "売買履歴", 390, 80, 50, 17, StyleDisabled),
                 button(IDC_STATISTICS, "集計結果", 390, 99, 50, 17),
                 button(IDC_RESULTS, "運用成績", 390, 118, 50, 17, StyleDisabled),
                 button(IDC_OPTIMISE, "最適化", 390, 139, 50, 17, StyleDisabled),
                 button(IDC_LOAD, "読み込み", 390, 161, 50, 17),
                 button(IDC_RUN, "実行", 390, 180, 50, 17),
                 // Not the default button: Enter alone must not end the program.
                 button(IDOK, "終了", 390, 199, 50, 16),
             });

    // Simulation group: window, state and asset figures, the three portfolio lists, stepping.
    c.insert(c.end(),
             {
                 groupBox("シミュレーション", 2, 219, 443, 127),
                 label("開始日", 7, 230, 25, 8),
                 display(IDC_START_DATE, 33, 228, 62, 12),
                 label("終了日", 100, 230, 25, 8),
                 display(IDC_END_DATE, 126, 228, 62, 12),
                 label("状態", 195, 230, 18, 8),
                 display(IDC_STATE, 214, 228, 62, 12),
                 label("運用資産", 281, 229, 36, 8),
                 display(IDC_OPERATING_ASSETS, 318, 227, 80, 12, StyleRightAlign),
                 label("総資産", 281, 241, 36, 8),
                 display(IDC_TOTAL_ASSETS, 318, 239, 80, 12, StyleRightAlign),
                 display(IDC_CURRENT_DATE, 392, 226, 47, 12, StyleRightAlign),

                 label("所持銘柄", 7, 253, 40, 8),
                 display(IDC_HOLDINGS_FIGURE, 50, 251, 80, 12, StyleRightAlign),
                 label("購入候補", 135, 253, 40, 8),
                 label("売却リスト", 262, 253, 44, 8),
                 display(IDC_SELL_FIGURE, 308, 251, 136, 12, StyleRightAlign),
                 columnListBox(IDC_HOLDINGS_LIST, 5, 264, 125, 77, rowColumns(true)),
                 columnListBox(IDC_CANDIDATE_LIST, 133, 264, 125, 77, rowColumns(false)),
                 columnListBox(IDC_SELL_LIST, 261, 264, 125, 77, rowColumns(true)),

                 button(IDC_NEXT, "NEXT", 390, 264, 50, 17),
                 button(IDC_AUTO, "AUTO", 390, 284, 50, 17),
                 button(IDC_STOP, "STOP", 390, 304, 50, 17),
                 button(IDC_RESET, "RESET", 390, 324, 50, 17),

                 display(IDC_STATUS, 1, 348, 443, 13),
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
