// SPDX-License-Identifier: GPL-3.0-or-later
#include "resources/Templates.h"

#include "resources/ControlIds.h"
#include "resources/TemplateControls.h"
#include "text/Cp932.h"

namespace kv {

namespace {

using namespace tmpl;

// One axis of the grid: the setting, then FROM, TO and STEP, or a list of values.
void addAxis(std::vector<ControlTemplate>& c, const char* caption, int y, int settingId)
{
    c.push_back(label(caption, 10, y + 2, 28, 8));
    c.push_back(dropDownList(settingId, 40, y, 96, 12));
    c.push_back(edit(settingId + 1, 139, y, 34, 12, StyleBorder | StyleRightAlign));
    c.push_back(edit(settingId + 2, 176, y, 34, 12, StyleBorder | StyleRightAlign));
    c.push_back(edit(settingId + 3, 213, y, 34, 12, StyleBorder | StyleRightAlign));
    c.push_back(edit(settingId + 4, 250, y, 58, 12, StyleBorder));
}

// The grid's choice on the upper left, the run and the notes on the upper right, the results
// table below, and under it the heatmap across the width; with a hold-out the window puts the
// in-sample and out-of-sample maps side by side, and for one setting it shows the chart in their
// place. The window fits a 1366×768 screen and grows: the table and the maps share the height
// gained, the two maps of a hold-out the width.
DialogTemplate buildOptimisationDialog()
{
    DialogTemplate t{IDD_OPTIMISATION, toCp932("最適化"), "MS Shell Dlg", 8, 560, 330};
    auto& c = t.controls;
    c.push_back(groupBox("条件", 5, 3, 308, 120));
    c.push_back(label("設定", 40, 13, 40, 8));
    c.push_back(label("開始", 139, 13, 34, 8));
    c.push_back(label("終了", 176, 13, 34, 8));
    c.push_back(label("刻み", 213, 13, 34, 8));
    c.push_back(label("または値の一覧", 250, 13, 58, 8));
    addAxis(c, "縦軸", 23, IDC_OPTIM_SETTING1);
    addAxis(c, "横軸", 39, IDC_OPTIM_SETTING2);
    c.insert(
        c.end(),
        {
            label("評価指標", 10, 59, 40, 8),
            dropDownList(IDC_OPTIM_FIGURE, 52, 57, 120, 12),
            label("ウォークフォワード", 174, 59, 68, 8),
            edit(IDC_OPTIM_WALK_FORWARD, 244, 57, 30, 12, StyleBorder),
            label("月 (I:S)", 277, 59, 31, 8),
            label("検証開始日", 10, 75, 40, 8),
            edit(IDC_OPTIM_HOLDOUT, 52, 73, 56, 12, StyleBorder),
            label("YYYY/MM/DD。この日からを検証期間として残し、その前の期間で評価します（空欄：全期間）。",
                  112, 73, 196, 17, StyleMultiline),
            label("値は kvn.conf と同じ単位です（率は小数：0.5 = 50%）。一覧はカンマ区切りです。", 10, 93,
                  298, 8),
            display(IDC_OPTIM_COUNT, 10, 105, 298, 12),
            button(IDC_OPTIM_START, "開始", 320, 6, 50, 15, StyleDefault),
            button(IDC_OPTIM_CANCEL, "中止", 375, 6, 50, 15, StyleDisabled),
            progressBar(IDC_OPTIM_PROGRESS, 320, 26, 235, 10),
            display(IDC_OPTIM_PROGRESS_TEXT, 320, 40, 235, 12),
            label("同じシグナルで選んだ最良の設定は、実際より良く見えがちです。検証開始日を指定すると、"
                  "選んだ設定が選ばなかった期間でどうだったかを並べて示します。",
                  320, 58, 235, 25, StyleMultiline),
            label("表の行かヒートマップのセルをダブルクリックすると、その設定をオプションに反映できます。",
                  320, 86, 235, 17, StyleMultiline),
            button(IDC_OPTIM_SAVE_CSV, "CSV保存", 320, 106, 50, 15, StyleDisabled),
            button(IDOK, "閉じる", 505, 106, 50, 15),
            table(IDC_OPTIM_TABLE, 5, 127, 550, 84, StyleBorder | StyleVScroll,
                  AnchorLeft | AnchorTop | AnchorRight | AnchorBottomHalf),
            heatmap(IDC_OPTIM_HEATMAP, 5, 215, 550, 110,
                    AnchorLeft | AnchorTopHalf | AnchorRight | AnchorBottom),
            heatmap(IDC_OPTIM_HEATMAP_OOS, 283, 215, 272, 110,
                    AnchorLeftHalf | AnchorTopHalf | AnchorRight | AnchorBottom),
            chart(IDC_OPTIM_CHART, 5, 215, 550, 110, AnchorLeft | AnchorTopHalf | AnchorRight | AnchorBottom),
        });
    return t;
}

}  // namespace

const DialogTemplate& optimisationDialogTemplate()
{
    static const DialogTemplate t = buildOptimisationDialog();
    return t;
}

}  // namespace kv
