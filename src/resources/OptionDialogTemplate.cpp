// SPDX-License-Identifier: GPL-3.0-or-later
#include "resources/Templates.h"

#include "resources/ControlIds.h"
#include "resources/TemplateControls.h"
#include "settings/SettingsTable.h"
#include "text/Cp932.h"

namespace kv {

namespace {

using namespace tmpl;

// The captions, units and choices are the settings table's: each control names its setting.
const SettingDescription& setting(const char* name)
{
    return *settingNamed(name);
}

// A labelled edit of the left column: the setting's caption on its left, its unit (if any) on
// its right.
void addField(std::vector<ControlTemplate>& c, int id, const char* name, int y, unsigned style = StyleNone)
{
    const SettingDescription& s = setting(name);
    c.push_back(label(s.label, 5, y + 2, 60, 8));
    c.push_back(edit(id, 67, y, 67, 12, StyleRightAlign | StyleBorder | style));
    if (*s.unit)
        c.push_back(label(s.unit, 137, y + 2, 12, 8));
}

// A drop-down list of the setting's choices, in code order.
ControlTemplate choiceList(int id, const char* name, int x, int y, int width, int height)
{
    ControlTemplate list = dropDownList(id, x, y, width, height);
    for (const char* choice : setting(name).choices) {
        if (choice)
            list.items.push_back(toCp932(choice));
    }
    return list;
}

// A drop-down list with the setting's caption on its left.
void addChoice(std::vector<ControlTemplate>& c, int id, const char* name, int y)
{
    c.push_back(label(setting(name).label, 5, y + 2, 60, 8));
    c.push_back(choiceList(id, name, 67, y, 184, 12));
}

ControlTemplate check(int id, const char* name, int y)
{
    return checkBox(id, setting(name).label, 153, y, 78, 11);
}

DialogTemplate buildOptionDialog()
{
    DialogTemplate t{IDD_OPTIONS, toCp932("シミュレーション設定"), "MS Shell Dlg", 8, 254, 180};
    auto& c = t.controls;

    // In tab order; each label stands just before the control it names.
    addField(c, IDC_OPT_CAPITAL, "capital", 3, StyleDigitsOnly);
    addField(c, IDC_OPT_LOSS, "lossWithinThreeYears", 16, StyleDigitsOnly);
    addField(c, IDC_OPT_LEVERAGE, "leverage", 29);
    addField(c, IDC_OPT_MARGIN_RATE, "marginMaintenanceRate", 42);
    addField(c, IDC_OPT_TAX_RATE, "taxRate", 55);
    addField(c, IDC_OPT_MAX_STOCKS, "maxStocks", 68, StyleDigitsOnly);
    addField(c, IDC_OPT_UNKNOWN_RATE, "unknownProfitRate", 94);
    addField(c, IDC_OPT_OPERATING_RATE, "operatingRate", 107);
    c.push_back(choiceList(IDC_OPT_ORDER, "tradeOrder", 150, 93, 101, 12));  // no caption
    addChoice(c, IDC_OPT_COMMISSION, "commissionSchedule", 120);
    addChoice(c, IDC_OPT_BUY_PRIORITY, "buyPriority", 134);
    addChoice(c, IDC_OPT_OPERATION_TYPE, "operationType", 148);
    c.push_back(check(IDC_OPT_SAVE_LOG, "saveLog", 5));
    c.push_back(label("売買記録が長くなりすぎる場合はチェックをはずすことで処理を高速化できます。", 164, 18,
                      76, 33, StyleMultiline));
    c.push_back(button(IDOK, "OK", 130, 163, 50, 14, StyleDefault));
    c.push_back(button(IDCANCEL, "キャンセル", 73, 163, 50, 14));
    c.push_back(check(IDC_OPT_SHORT_SELL, "shortSellSystem", 54));
    // This note runs nearly to the dialog's edge: 76 units wide, its text would take four lines,
    // and the list below it leaves room for three.
    c.push_back(label("信用売りのシステムの場合はチェックを入れてください。（未実装）", 164, 66, 88, 25,
                      StyleMultiline));
    addField(c, IDC_OPT_MAX_PURCHASE, "maxPurchaseAmount", 81);
    c.push_back(button(IDC_OPT_EXTENDED, "詳細設定...", 5, 163, 60, 14));
    return t;
}

// 詳細設定: every setting of kirvane.ini, in the settings table's order, each with its caption on
// the left, its control, and the line that explains it below.
DialogTemplate buildExtendedOptionDialog()
{
    constexpr int rowHeight = 40;
    int y = 5;
    int k = 0;
    std::vector<ControlTemplate> c;
    for (const SettingDescription& s : settingsTable()) {
        if (s.file != SettingFile::KirvaneIni)
            continue;
        const int id = extendedOptionControl(k++);
        c.push_back(label(s.label, 5, y + 2, 70, 8));
        if (s.choices[0]) {
            c.push_back(choiceList(id, s.name, 77, y, 200, 12));
        } else {
            c.push_back(edit(id, 77, y, 50, 12, StyleRightAlign | StyleBorder | StyleDigitsOnly));
            if (*s.unit)
                c.push_back(label(s.unit, 130, y + 2, 40, 8));
        }
        if (s.note)
            c.push_back(label(s.note, 77, y + 15, 200, 18, StyleMultiline));
        y += rowHeight;
    }
    c.push_back(button(IDOK, "OK", 227, y, 50, 14, StyleDefault));
    c.push_back(button(IDCANCEL, "キャンセル", 170, y, 50, 14));
    DialogTemplate t{IDD_EXTENDED_OPTIONS, toCp932("詳細設定 (kirvane.ini)"), "MS Shell Dlg", 8, 284, y + 20};
    t.controls = std::move(c);
    return t;
}

}  // namespace

const DialogTemplate& optionDialogTemplate()
{
    static const DialogTemplate t = buildOptionDialog();
    return t;
}

const DialogTemplate& extendedOptionDialogTemplate()
{
    static const DialogTemplate t = buildExtendedOptionDialog();
    return t;
}

}  // namespace kv
