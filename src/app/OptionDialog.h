// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The options dialog シミュレーション設定: every setting the user may change, shown as the user
// thinks of it (rates in percent, counts and amounts as plain numbers). OK stores the fields
// into the settings and rewrites kvn.conf at once; cancel, Esc and the close box change nothing.
// Its button 詳細設定... opens the same dialog for the settings of kirvane.ini, whose OK stores
// and writes those at once.

#include "settings/SettingsTable.h"
#include "toolkit/Dialog.h"
#include "toolkit/ListBox.h"

#include <cstdint>
#include <vector>

namespace kv {

class SimulatorApp;

class OptionDialog : public Dialog {
public:
    // The settings kept in `file`: kvn.conf's in シミュレーション設定, kirvane.ini's in 詳細設定.
    OptionDialog(SimulatorApp& app, Platform& platform, SettingFile file = SettingFile::KvnConf);

    const DialogTemplate& dialogTemplate() const override;
    void exchange(DataExchange& dx) override;
    void onInitDialog() override;
    void onOK() override;
    void onCommand(int id, Notification notification) override;

    // A field as its control shows it; all zero until the dialog opens. Each control uses the one
    // of the three its kind needs (a drop-down list its template items too).
    struct Field {
        double number = 0;
        int32_t choice = 0;
        bool check = false;
        ComboBox choiceBox;
    };
    // One for every control that shows a setting, in exchange order.
    std::vector<Field> fields;

    struct Control {
        int id;
        const SettingDescription* setting;
    };

private:
    void loadFields();
    void storeFields();
    bool refuseNegativeCounts();

    SimulatorApp& app;
    SettingFile file;
    std::vector<Control> controls;
};

}  // namespace kv
