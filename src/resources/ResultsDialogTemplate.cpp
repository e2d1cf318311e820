// SPDX-License-Identifier: GPL-3.0-or-later
#include "resources/Templates.h"

#include "resources/ControlIds.h"
#include "resources/TemplateControls.h"
#include "text/Cp932.h"

namespace kv {

namespace {

using namespace tmpl;

// The asset curve with its drawdown on the left, the figures of the run beside it, the monthly
// and yearly results below, and the buttons in the lower right corner.
DialogTemplate buildResultsDialog()
{
    DialogTemplate t{IDD_RESULTS, toCp932("運用成績"), "MS Shell Dlg", 8, 540, 336};
    t.controls = {
        chart(IDC_RESULTS_CHART, 5, 5, 330, 222),
        label("保有中の銘柄は取得額で数えます（シグナルファイルに日々の株価はありません）。"
              "損益と収益率は、プラスを緑、マイナスを赤で示します。",
              5, 230, 330, 17, StyleMultiline),
        table(IDC_RESULTS_FIGURES, 340, 5, 195, 242),
        table(IDC_RESULTS_MONTHS, 5, 252, 250, 79),
        table(IDC_RESULTS_YEARS, 260, 252, 220, 79),
        button(IDC_RESULTS_REFRESH, "更新", 485, 252, 50, 15),
        button(IDC_RESULTS_SAVE_IMAGE, "画像保存", 485, 268, 50, 15),
        button(IDC_RESULTS_SAVE_CSV, "CSV保存", 485, 284, 50, 15),
        button(IDC_RESULTS_SAVE_REPORT, "レポート保存", 485, 300, 50, 15),
        button(IDOK, "閉じる", 485, 316, 50, 15, StyleDefault),
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
