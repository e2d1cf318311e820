// SPDX-License-Identifier: GPL-3.0-or-later
#include "resources/Templates.h"

#include "resources/ControlIds.h"
#include "resources/TemplateControls.h"
#include "text/Cp932.h"

#include <initializer_list>

namespace kv {

namespace {

using namespace tmpl;

// One labelled figure field: the label's corner and the field's corner and width. The label
// reaches to just before its field. Percentage fields are wider than counts, up to the group's
// border in the right-hand column, so that a figure such as -12.34％ or 100.00％ shows whole.
struct Figure {
    const char* caption;
    int labelX, labelY;
    int id;
    int x, y, width;
};

void addFigures(std::vector<ControlTemplate>& c, std::initializer_list<Figure> figures)
{
    for (const Figure& f : figures) {
        c.push_back(label(f.caption, f.labelX, f.labelY, f.x - f.labelX - 1, 8));
        c.push_back(display(f.id, f.x, f.y, f.width, 12, StyleRightAlign));
    }
}

DialogTemplate buildPrintDialog()
{
    DialogTemplate t{IDD_PRINT, toCp932("集計"), "MS Shell Dlg", 8, 375, 278};
    auto& c = t.controls;

    // Per stock: the code typed or chosen from a ranking, its figures, and the five rankings.
    c.insert(c.end(),
             {
                 groupBox("銘柄別集計", 191, 3, 179, 272),
                 label("銘柄コード", 198, 16, 37, 8),
                 edit(IDC_STOCK_CODE, 236, 15, 23, 12, StyleBorder | StyleDigitsOnly),
                 button(IDC_STOCK_TOTAL, "集計", 261, 15, 20, 12, StyleDefault),
                 display(IDC_STOCK_NAME, 288, 15, 75, 12),
                 label("利益率上位２０銘柄", 197, 30, 169, 8),
                 dropDownList(IDC_RANK_PROFIT_TOP, 197, 39, 169, 12, {}, StyleVScroll),
                 label("利益率下位２０銘柄", 197, 54, 169, 8),
                 dropDownList(IDC_RANK_PROFIT_BOTTOM, 197, 63, 169, 12, {}, StyleVScroll),
                 label("成功率上位２０銘柄", 197, 79, 169, 8),
                 dropDownList(IDC_RANK_SUCCESS_RATE, 197, 87, 169, 12, {}, StyleVScroll),
                 label("失敗率上位２０銘柄", 197, 103, 169, 8),
                 dropDownList(IDC_RANK_FAILURE_RATE, 197, 112, 169, 12, {}, StyleVScroll),
                 label("シグナル数上位２０銘柄", 197, 127, 169, 8),
                 dropDownList(IDC_RANK_SIGNAL_COUNT, 197, 135, 169, 12, {}, StyleVScroll),
                 checkBox(IDC_HIDE_ONE_SIGNAL, "シグナル数1を非表示", 197, 151, 84, 9),
                 checkBox(IDC_HIDE_TWO_SIGNALS, "シグナル数2を非表示", 283, 151, 84, 9),
             });
    addFigures(c,
               {
                   {"成功時", 196, 163, IDC_STOCK_SUCCESS_SHARE, 232, 162, 40},
                   {"シグナル数", 200, 173, IDC_STOCK_SUCCESSES, 239, 173, 32},
                   {"平均利益", 200, 185, IDC_STOCK_SUCCESS_AVERAGE, 239, 185, 40},
                   {"うち損失数", 287, 175, IDC_STOCK_SUCCESS_LOSSES, 326, 175, 33},
                   {"失敗時", 196, 196, IDC_STOCK_FAILURE_SHARE, 232, 196, 40},
                   {"シグナル数", 201, 208, IDC_STOCK_FAILURES, 240, 208, 33},
                   {"平均利益", 201, 219, IDC_STOCK_FAILURE_AVERAGE, 240, 219, 40},
                   {"うち利益数", 287, 208, IDC_STOCK_FAILURE_PROFITS, 326, 208, 33},
                   {"不明", 196, 229, IDC_STOCK_UNKNOWN_SHARE, 232, 228, 40},
                   {"シグナル数", 200, 241, IDC_STOCK_UNKNOWNS, 240, 240, 33},
                   {"総シグナル数", 196, 252, IDC_STOCK_SIGNALS, 241, 252, 33},
                   {"平均利益", 290, 252, IDC_STOCK_SIMPLE_AVERAGE, 331, 252, 37},
               });
    // The note reaches to the group's border: in 117 units its last characters would be cut.
    c.push_back(label("（不明時の利益はオプションに従う）", 225, 264, 143, 10));

    // Simple totals over all signals.
    c.push_back(groupBox("単純集計", 4, 3, 185, 123));
    addFigures(c,
               {
                   {"成功時", 10, 13, IDC_ALL_SUCCESS_SHARE, 46, 12, 40},
                   {"シグナル数", 17, 24, IDC_ALL_SUCCESSES, 56, 24, 32},
                   {"平均利益", 17, 35, IDC_ALL_SUCCESS_AVERAGE, 56, 35, 40},
                   {"うち損失数", 104, 25, IDC_ALL_SUCCESS_LOSSES, 143, 25, 33},
                   {"失敗時", 10, 45, IDC_ALL_FAILURE_SHARE, 46, 44, 40},
                   {"シグナル数", 18, 56, IDC_ALL_FAILURES, 57, 55, 33},
                   {"平均利益", 18, 67, IDC_ALL_FAILURE_AVERAGE, 57, 67, 40},
                   {"うち利益数", 104, 56, IDC_ALL_FAILURE_PROFITS, 143, 56, 33},
                   {"不明", 10, 78, IDC_ALL_UNKNOWN_SHARE, 46, 77, 40},
                   {"シグナル数", 17, 90, IDC_ALL_UNKNOWNS, 57, 89, 33},
                   {"総シグナル数", 10, 101, IDC_ALL_SIGNALS, 55, 101, 33},
                   {"単純平均利益", 93, 100, IDC_ALL_SIMPLE_AVERAGE, 148, 100, 39},
                   {"日別平均利益", 93, 112, IDC_ALL_PER_DAY_AVERAGE, 148, 112, 39},
               });

    // Per year, month and day: the period lists, the method, and the chosen period's totals.
    c.insert(c.end(),
             {
                 groupBox("年月日別集計", 4, 129, 185, 146),
                 dropDownList(IDC_YEAR_LIST, 7, 141, 44, 12, {}, StyleVScroll),
                 dropDownList(IDC_MONTH_LIST, 52, 141, 33, 13, {}, StyleVScroll),
                 dropDownList(IDC_DAY_LIST, 86, 141, 34, 13, {}, StyleVScroll),
                 dropDownList(IDC_METHOD_LIST, 120, 141, 67, 13, {}, StyleVScroll),
             });
    addFigures(c,
               {
                   {"成功時", 12, 160, IDC_PERIOD_SUCCESS_SHARE, 48, 159, 40},
                   {"シグナル数", 19, 171, IDC_PERIOD_SUCCESSES, 58, 171, 32},
                   {"平均利益", 19, 182, IDC_PERIOD_SUCCESS_AVERAGE, 58, 182, 40},
                   {"うち損失数", 106, 172, IDC_PERIOD_SUCCESS_LOSSES, 145, 172, 33},
                   {"失敗時", 12, 191, IDC_PERIOD_FAILURE_SHARE, 48, 191, 40},
                   {"シグナル数", 20, 203, IDC_PERIOD_FAILURES, 59, 202, 33},
                   {"平均利益", 20, 214, IDC_PERIOD_FAILURE_AVERAGE, 59, 214, 40},
                   {"うち利益数", 106, 203, IDC_PERIOD_FAILURE_PROFITS, 145, 203, 33},
                   {"不明", 12, 224, IDC_PERIOD_UNKNOWN_SHARE, 48, 224, 40},
                   {"シグナル数", 19, 237, IDC_PERIOD_UNKNOWNS, 59, 236, 33},
                   {"総シグナル数", 12, 248, IDC_PERIOD_SIGNALS, 57, 248, 33},
                   {"単純平均利益", 96, 248, IDC_PERIOD_SIMPLE_AVERAGE, 150, 248, 37},
                   {"日別平均利益", 96, 258, IDC_PERIOD_PER_DAY_AVERAGE, 151, 258, 36},
               });
    return t;
}

}  // namespace

const DialogTemplate& printDialogTemplate()
{
    static const DialogTemplate t = buildPrintDialog();
    return t;
}

}  // namespace kv
