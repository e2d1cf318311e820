// SPDX-License-Identifier: GPL-3.0-or-later
#include "resources/Templates.h"

#include "resources/ControlIds.h"
#include "resources/TemplateControls.h"
#include "text/Cp932.h"

namespace kv {

namespace {

using namespace tmpl;

DialogTemplate buildLogDialog()
{
    DialogTemplate t{IDD_TRADE_RECORD, toCp932("売買記録"), "MS Shell Dlg", 8, 385, 214};
    t.controls = {
        button(IDOK, "閉じる", 328, 44, 50, 14, StyleDefault, AnchorTop | AnchorRight),
        // Lines scroll sideways instead of wrapping, so a long record lays out only what shows.
        display(IDC_RECORD_TEXT, 7, 7, 315, 200, StyleMultiline | StyleVScroll | StyleHScroll, AnchorAll),
        button(IDC_RECORD_REFRESH, "更新", 329, 7, 49, 15, StyleNone, AnchorTop | AnchorRight),
        button(IDC_RECORD_SAVE, "CSV保存", 329, 25, 49, 15, StyleNone, AnchorTop | AnchorRight),
    };
    return t;
}

}  // namespace

const DialogTemplate& logDialogTemplate()
{
    static const DialogTemplate t = buildLogDialog();
    return t;
}

}  // namespace kv
