// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The options dialog シミュレーション設定: every setting the user may change, shown as the user
// thinks of it (rates in percent, counts and amounts as plain numbers). OK stores the fields
// into the settings and rewrites kvn.conf at once; cancel, Esc and the close box change nothing.

#include "toolkit/Dialog.h"
#include "toolkit/ListBox.h"

#include <array>
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

    // The number of controls that show a setting.
    static constexpr size_t kShownSettings = 15;

    // The fields, as the controls show them (by control, in exchange order); all zero until the
    // dialog opens. Each control uses the one of the three its kind needs.
    std::array<double, kShownSettings> numbers{};
    std::array<int32_t, kShownSettings> choices{};
    std::array<bool, kShownSettings> checks{};

private:
    void loadFields();
    void storeFields();

    SimulatorApp& app;
    std::array<ComboBox, kShownSettings> choiceBoxes;  // the drop-down lists' template items
};

}  // namespace kv
