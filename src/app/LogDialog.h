// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The trade record viewer 売買記録: shows the run's trade record (the trade log's lines, fields
// separated by blanks) and saves what it shows as a CSV file, the blanks turned into commas.
// The main window's AUTO keeps stepping behind it, so 更新 shows the record as it stands now.

#include "toolkit/Dialog.h"

#include <filesystem>
#include <string>
#include <vector>

namespace kv {

class LogDialog : public Dialog {
public:
    // `record` is the run's trade record; the viewer reads it when it opens and on 更新. CSV保存
    // never writes one of `inputs` (the files the window reads).
    LogDialog(Platform& platform, const std::string& record, std::vector<std::filesystem::path> inputs = {});

    const DialogTemplate& dialogTemplate() const override;
    void exchange(DataExchange& dx) override;
    void onInitDialog() override;
    void onCommand(int id, Notification notification) override;

    std::string recordText;  // what the record edit shows

private:
    void showRecord();
    void saveAsCsv();

    const std::string& record;
    std::vector<std::filesystem::path> inputs;
};

}  // namespace kv
