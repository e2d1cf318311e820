#include "app/OptionDialog.h"

#include "data/SimulatorApp.h"
#include "resources/ControlIds.h"
#include "resources/Messages.h"
#include "resources/Templates.h"
#include "settings/SettingsFile.h"
#include "toolkit/Platform.h"

namespace kv {

OptionDialog::OptionDialog(SimulatorApp& app, Platform& platform) : Dialog(platform), app(app) {}

const DialogTemplate& OptionDialog::dialogTemplate() const
{
    return optionDialogTemplate();
}

// The exchange order is the order in which a refused number stops taking the fields back.
void OptionDialog::exchange(DataExchange& dx)
{
    dx.number(IDC_OPT_CAPITAL, capital);
    dx.number(IDC_OPT_LOSS, lossWithinThreeYears);
    dx.number(IDC_OPT_LEVERAGE, leverage);
    dx.number(IDC_OPT_MARGIN_RATE, marginRatePercent);
    dx.number(IDC_OPT_TAX_RATE, taxRatePercent);
    dx.number(IDC_OPT_MAX_STOCKS, maxStocks);
    dx.number(IDC_OPT_UNKNOWN_RATE, unknownRatePercent);
    dx.selection(IDC_OPT_COMMISSION, commissionBox, commissionIndex);
    dx.selection(IDC_OPT_BUY_PRIORITY, buyPriorityBox, buyPriorityIndex);
    dx.selection(IDC_OPT_OPERATION_TYPE, operationTypeBox, operationTypeIndex);
    dx.check(IDC_OPT_SAVE_LOG, saveLog);
    dx.number(IDC_OPT_OPERATING_RATE, operatingRatePercent);
    dx.selection(IDC_OPT_ORDER, orderBox, orderIndex);
    dx.check(IDC_OPT_SHORT_SELL, shortSellSystem);
    dx.number(IDC_OPT_MAX_PURCHASE, maxPurchaseAmount);
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
    if (!saveSettings(app.settings, app.settingsFile()))
        platform().messageBox(messages::settingsFileNotWritten);
    if (complete)
        endDialog(IDOK);
}

void OptionDialog::loadFields()
{
    const SimulationSettings& s = app.settings;
    capital = s.capital;
    lossWithinThreeYears = s.lossWithinThreeYears;
    leverage = s.leverage;
    marginRatePercent = s.marginMaintenanceRate * 100;
    taxRatePercent = s.taxRate * 100;
    maxStocks = s.maxStocks;
    maxPurchaseAmount = s.maxPurchaseAmount;
    unknownRatePercent = s.unknownProfitRate * 100;
    commissionIndex = s.commissionSchedule;
    buyPriorityIndex = s.buyPriority;
    operationTypeIndex = s.operationType;
    operatingRatePercent = s.operatingRate * 100;
    saveLog = s.saveLog;
    orderIndex = s.tradeOrder ? 1 : 0;
    shortSellSystem = s.shortSellSystem;
}

// maxCommission and the spare amount are not the dialog's: they stay as they are.
void OptionDialog::storeFields()
{
    SimulationSettings& s = app.settings;
    s.capital = capital;
    s.lossWithinThreeYears = lossWithinThreeYears;
    s.leverage = leverage;
    s.marginMaintenanceRate = marginRatePercent / 100;
    s.taxRate = taxRatePercent / 100;
    s.maxStocks = truncateToInt32(maxStocks);
    s.maxPurchaseAmount = truncateToInt32(maxPurchaseAmount);
    s.unknownProfitRate = unknownRatePercent / 100;
    s.commissionSchedule = commissionIndex;
    s.buyPriority = buyPriorityIndex;
    s.operationType = operationTypeIndex;
    s.operatingRate = operatingRatePercent / 100;
    s.saveLog = saveLog;
    s.tradeOrder = orderIndex != 0;
    s.shortSellSystem = shortSellSystem;
}

}  // namespace kv
