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
    return optionDialogTemplate();
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

}  // namespace

OptionDialog::OptionDialog(SimulatorApp& app, Platform& platform)
    : Dialog(platform), fields(std::size(kControls)), app(app)
{}

void OptionDialog::exchange(DataExchange& dx)
{
    for (size_t i = 0; i < std::size(kControls); ++i) {
        const int id = kControls[i].id;
        switch (shownAs(settingOf(kControls[i]))) {
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

void OptionDialog::loadFields()
{
    for (size_t i = 0; i < std::size(kControls); ++i) {
        const SettingDescription& setting = settingOf(kControls[i]);
        const double value = settingValue(app.settings, setting);
        fields[i].number = value * setting.shownScale;
        fields[i].choice = truncateToInt32(value);
        fields[i].check = value != 0;
    }
}

void OptionDialog::storeFields()
{
    for (size_t i = 0; i < std::size(kControls); ++i) {
        const SettingDescription& setting = settingOf(kControls[i]);
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
