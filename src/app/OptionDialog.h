#pragma once
// The options dialog シミュレーション設定: every setting the user may change, shown as the user
// thinks of it (rates in percent, counts and amounts as plain numbers). OK stores the fields
// into the settings and rewrites kvn.conf at once; cancel, Esc and the close box change nothing.

#include "toolkit/Dialog.h"
#include "toolkit/ListBox.h"

#include <cstdint>

namespace kv {

class SimulatorApp;

class OptionDialog : public Dialog {
public:
    OptionDialog(SimulatorApp& app, Platform& platform);

    const DialogTemplate& dialogTemplate() const override;
    void exchange(DataExchange& dx) override;
    void onInitDialog() override;
    void onOK() override;

    // The fields, as the controls show them; all zero until the dialog opens.
    double capital = 0;
    double lossWithinThreeYears = 0;
    double leverage = 0;
    double marginRatePercent = 0;
    double taxRatePercent = 0;
    double maxStocks = 0;  // whole numbers, held as doubles while the dialog is open
    double unknownRatePercent = 0;
    double operatingRatePercent = 0;
    double maxPurchaseAmount = 0;
    int32_t commissionIndex = 0;
    int32_t buyPriorityIndex = 0;
    int32_t operationTypeIndex = 0;
    int32_t orderIndex = 0;
    bool saveLog = false;
    bool shortSellSystem = false;

private:
    void loadFields();
    void storeFields();

    SimulatorApp& app;
    ComboBox commissionBox, buyPriorityBox, operationTypeBox, orderBox;  // their template items
};

}  // namespace kv
