// SPDX-License-Identifier: GPL-3.0-or-later
#include "resources/Templates.h"

#include "resources/ControlIds.h"
#include "resources/TemplateControls.h"
#include "text/Cp932.h"

namespace kv {

namespace {

using namespace tmpl;

DialogTemplate buildAboutDialog()
{
    DialogTemplate t{IDD_ABOUTBOX, toCp932("バージョン情報 Kirvane"), "MS UI Gothic", 9, 235, 55};
    t.controls = {
        icon(11, 17, 20, 20),
        label("Kirvane Version 1.0", 40, 10, 119, 8),
        label("シグナル検証・売買シミュレーション", 40, 25, 130, 8),
        button(IDOK, "OK", 178, 7, 50, 16, StyleDefault),
    };
    return t;
}

}  // namespace

const DialogTemplate& aboutDialogTemplate()
{
    static const DialogTemplate t = buildAboutDialog();
    return t;
}

}  // namespace kv
