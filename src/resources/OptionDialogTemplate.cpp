// SPDX-License-Identifier: GPL-3.0-or-later
#include "resources/Templates.h"

#include "resources/ControlIds.h"
#include "resources/TemplateControls.h"
#include "text/Cp932.h"

namespace kv {

namespace {

using namespace tmpl;

// A labelled edit of the left column: caption on its left, unit (if any) on its right.
void addField(std::vector<ControlTemplate>& c, int id, const char* caption, int y, const char* unit,
              unsigned style = StyleNone)
{
    c.push_back(label(caption, 5, y + 2, 60, 8));
    c.push_back(edit(id, 67, y, 67, 12, StyleRightAlign | StyleBorder | style));
    if (unit)
        c.push_back(label(unit, 137, y + 2, 12, 8));
}

DialogTemplate buildOptionDialog()
{
    DialogTemplate t{IDD_OPTIONS, toCp932("シミュレーション設定"), "MS Shell Dlg", 8, 254, 180};
    auto& c = t.controls;

    // In tab order; each label stands just before the control it names.
    addField(c, IDC_OPT_CAPITAL, "資本金", 3, "円", StyleDigitsOnly);
    addField(c, IDC_OPT_LOSS, "３年以内の損失", 16, "円", StyleDigitsOnly);
    addField(c, IDC_OPT_LEVERAGE, "運用倍率", 29, "倍");
    addField(c, IDC_OPT_MARGIN_RATE, "追証最低保障率", 42, "%");
    addField(c, IDC_OPT_TAX_RATE, "税率", 55, "%");
    addField(c, IDC_OPT_MAX_STOCKS, "最大購入銘柄数", 68, nullptr, StyleDigitsOnly);
    addField(c, IDC_OPT_UNKNOWN_RATE, "不明時の利益率", 94, "%");
    addField(c, IDC_OPT_OPERATING_RATE, "運用率", 107, "%");
    c.push_back(dropDownList(IDC_OPT_ORDER, 150, 93, 101, 12, {"利確、損切優先：売→買", "仕掛優先：買→売"}));
    c.push_back(label("手数料", 5, 122, 60, 8));
    c.push_back(
        dropDownList(IDC_OPT_COMMISSION, 67, 120, 184, 12,
                     {"カブドットコム証券信用＆±指値", "手数料なし", "イートレード証券", "タイコム証券"}));
    c.push_back(label("優先購入銘柄", 5, 136, 60, 8));
    c.push_back(dropDownList(IDC_OPT_BUY_PRIORITY, 67, 134, 184, 12, {"単位株価の低い順"}));
    c.push_back(label("運用タイプ", 5, 150, 60, 8));
    c.push_back(dropDownList(
        IDC_OPT_OPERATION_TYPE, 67, 148, 184, 12,
        {"単日運用率設定：運用率いっぱいまで購入", "銘柄運用率設定：運用率/最大購入数まで購入"}));
    c.push_back(checkBox(IDC_OPT_SAVE_LOG, "ログの保存", 153, 5, 78, 11));
    c.push_back(label("売買記録が長くなりすぎる場合はチェックをはずすことで処理を高速化できます。", 164, 18,
                      76, 33, StyleMultiline));
    c.push_back(button(IDOK, "OK", 130, 163, 50, 14, StyleDefault));
    c.push_back(button(IDCANCEL, "キャンセル", 73, 163, 50, 14));
    c.push_back(checkBox(IDC_OPT_SHORT_SELL, "空売りシステム", 153, 54, 78, 11));
    // This note runs nearly to the dialog's edge: 76 units wide, its text would take four lines,
    // and the list below it leaves room for three.
    c.push_back(label("信用売りのシステムの場合はチェックを入れてください。（未実装）", 164, 66, 88, 25,
                      StyleMultiline));
    addField(c, IDC_OPT_MAX_PURCHASE, "最大購入金額", 81, "円");
    return t;
}

}  // namespace

const DialogTemplate& optionDialogTemplate()
{
    static const DialogTemplate t = buildOptionDialog();
    return t;
}

}  // namespace kv
