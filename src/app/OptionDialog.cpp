// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/OptionDialog.h"

#include "data/SimulatorApp.h"
#include "resources/ControlIds.h"
#include "resources/Messages.h"
#include "sim/OutcomeTexts.h"
#include "resources/Templates.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsTable.h"
#include "text/Cp932.h"
#include "text/Numbers.h"
#include "toolkit/DataExchange.h"
#include "toolkit/DialogView.h"
#include "toolkit/Platform.h"

#include <cmath>
#include <iterator>

namespace kv {

const DialogTemplate& OptionDialog::dialogTemplate() const
{
    return file == SettingFile::KvnConf ? optionDialogTemplate() : extendedOptionDialogTemplate();
}

namespace {

struct OptionControl {
    int id;
    const char* setting;
};

// The controls that show a setting, in exchange order: the order in which a refused number stops
// taking the fields back. The settings table says how each value is shown: its choices in a list,
// a flag as a check box, any other number times its shown scale (a rate in percent).
// maxCommission and the spare amount are not the dialog's: they stay as they are.
const OptionControl kControls[] = {
    {IDC_OPT_CAPITAL, "capital"},
    {IDC_OPT_LOSS, "lossWithinThreeYears"},
    {IDC_OPT_LEVERAGE, "leverage"},
    {IDC_OPT_MARGIN_RATE, "marginMaintenanceRate"},
    {IDC_OPT_TAX_RATE, "taxRate"},
    {IDC_OPT_MAX_STOCKS, "maxStocks"},
    {IDC_OPT_UNKNOWN_RATE, "unknownProfitRate"},
    {IDC_OPT_COMMISSION, "commissionSchedule"},
    {IDC_OPT_BUY_PRIORITY, "buyPriority"},
    {IDC_OPT_OPERATION_TYPE, "operationType"},
    {IDC_OPT_SAVE_LOG, "saveLog"},
    {IDC_OPT_OPERATING_RATE, "operatingRate"},
    {IDC_OPT_ORDER, "tradeOrder"},
    {IDC_OPT_SHORT_SELL, "shortSellSystem"},
    {IDC_OPT_MAX_PURCHASE, "maxPurchaseAmount"},
};

enum class Shown { Number, Choice, Check };

const SettingDescription& settingOf(const OptionControl& control)
{
    return *settingNamed(control.setting);
}

Shown shownAs(const SettingDescription& setting)
{
    if (setting.choices[0])
        return Shown::Choice;
    return setting.kind() == SettingKind::Flag ? Shown::Check : Shown::Number;
}

// The controls of the dialog that shows the settings kept in `file`: kvn.conf's by the template's
// ids, kirvane.ini's in the settings table's order.
std::vector<OptionDialog::Control> controlsOf(SettingFile file)
{
    std::vector<OptionDialog::Control> controls;
    if (file == SettingFile::KvnConf) {
        for (const OptionControl& c : kControls)
            controls.push_back({c.id, &settingOf(c)});
        return controls;
    }
    int k = 0;
    for (const SettingDescription& s : settingsTable())
        if (s.file == file)
            controls.push_back({extendedOptionControl(k++), &s});
    return controls;
}

}  // namespace

OptionDialog::OptionDialog(SimulatorApp& app, Platform& platform, SettingFile file)
    : Dialog(platform), fields(controlsOf(file).size()), app(app), file(file), controls(controlsOf(file))
{}

void OptionDialog::exchange(DataExchange& dx)
{
    for (size_t i = 0; i < controls.size(); ++i) {
        const int id = controls[i].id;
        switch (shownAs(*controls[i].setting)) {
        case Shown::Number:
            dx.number(id, fields[i].number);
            break;
        case Shown::Choice:
            dx.selection(id, fields[i].choiceBox, fields[i].choice);
            break;
        case Shown::Check:
            dx.check(id, fields[i].check);
            break;
        }
    }
}

void OptionDialog::onInitDialog()
{
    loadFields();
    updateData(false);
}

// An edit that holds no number stops the taking back there, with the number prompt and the
// focus on it; the fields taken before it are stored and written all the same, and the dialog
// stays open. The controls are taken back once: a second exchange would only prompt again.
void OptionDialog::onOK()
{
    bool complete = updateData(true);
    if (complete && refuseNegativeCounts())
        return;
    storeFields();
    // A value whose text in kvn.conf would read back as another one (kept as read, too large
    // for the file's field) is not written: the number prompt, on its field, as for no number.
    if (const SettingDescription* unwritable = settingNotReadBack(app.settings)) {
        if (complete) {
            static const std::string prompt = toCp932("数値を入力してください。");
            platform().messageBox(prompt);
            for (const OptionControl& control : kControls)
                if (&settingOf(control) == unwritable && view())
                    view()->setFocus(control.id);
        }
        return;
    }
    if (!saveSettings(app.settings, app.settingsFile()))
        platform().messageBox(messages::settingsFileNotWritten);
    if (complete)
        endDialog(IDOK);
}

void OptionDialog::onCommand(int id, Notification notification)
{
    if (id == IDC_OPT_EXTENDED && notification == Notification::Clicked) {
        OptionDialog extended(app, platform(), SettingFile::KirvaneIni);
        platform().runModal(extended);
        return;
    }
    Dialog::onCommand(id, notification);
}

// The whole-number settings of kirvane.ini count days or choose a code: none takes a number below
// 0. Such a number is refused with its field in focus, and nothing is stored.
bool OptionDialog::refuseNegativeCounts()
{
    static const std::string prompt = toCp932("0 以上の整数を入力してください。");
    if (file != SettingFile::KirvaneIni)
        return false;
    for (size_t i = 0; i < controls.size(); ++i) {
        if (shownAs(*controls[i].setting) == Shown::Number && fields[i].number < 0) {
            platform().messageBox(prompt);
            if (view())
                view()->setFocus(controls[i].id);
            return true;
        }
    }
    return false;
}

void OptionDialog::loadFields()
{
    for (size_t i = 0; i < controls.size(); ++i) {
        const SettingDescription& setting = *controls[i].setting;
        const double value = settingValue(app.settings, setting);
        fields[i].number = value * setting.shownScale;
        fields[i].choice = truncateToInt32(value);
        fields[i].check = value != 0;
    }
}

void OptionDialog::storeFields()
{
    for (size_t i = 0; i < controls.size(); ++i) {
        const SettingDescription& setting = *controls[i].setting;
        switch (shownAs(setting)) {
        case Shown::Number: {
            // A value shown as "----" (its shown number is beyond the doubles) stays as it was
            // read, should the field be left so: kvn.conf never gets "inf", which reads as 0.
            const double value = fields[i].number / setting.shownScale;
            if (std::isfinite(fields[i].number) && std::isfinite(value))
                setSettingValue(app.settings, setting, value);
            break;
        }
        case Shown::Choice:
            setSettingValue(app.settings, setting, fields[i].choice);
            break;
        case Shown::Check:
            setSettingValue(app.settings, setting, fields[i].check ? 1 : 0);
            break;
        }
    }
}

}  // namespace kv
