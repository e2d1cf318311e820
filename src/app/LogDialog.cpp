// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/LogDialog.h"

#include "app/OutputFileDialog.h"

#include "resources/ControlIds.h"
#include "resources/Messages.h"
#include "sim/OutcomeTexts.h"
#include "resources/Templates.h"
#include "text/Cp932.h"
#include "text/OutputFile.h"
#include "toolkit/Platform.h"

#include <algorithm>

namespace kv {

LogDialog::LogDialog(Platform& platform, const std::string& record, std::vector<std::filesystem::path> inputs)
    : Dialog(platform), record(record), inputs(std::move(inputs))
{}

const DialogTemplate& LogDialog::dialogTemplate() const
{
    return logDialogTemplate();
}

void LogDialog::exchange(DataExchange& dx)
{
    dx.text(IDC_RECORD_TEXT, recordText);
}

void LogDialog::onInitDialog()
{
    showRecord();
}

void LogDialog::onCommand(int id, Notification notification)
{
    switch (id) {
    case IDC_RECORD_REFRESH:
        showRecord();
        return;
    case IDC_RECORD_SAVE:
        saveAsCsv();
        return;
    default:
        Dialog::onCommand(id, notification);
    }
}

void LogDialog::showRecord()
{
    recordText = record;
    updateData(false);
}

// Writes the text with commas for its blanks to a file the user chooses, by the full path the
// file dialog gives (the working directory is not the chosen folder). The text keeps its
// blanks afterwards, and a comma it held comes back as a blank. The edit is not refreshed.
void LogDialog::saveAsCsv()
{
    static const std::string cannotWrite = toCp932("ファイルに書き込めません");
    FileDialogOptions options;
    options.defaultExtension = "csv";
    options.filter = messages::csvFilter;
    options.createPrompt = true;  // a new name is confirmed; an existing file is replaced unasked
    std::optional<std::filesystem::path> chosen = askForOutputFile(platform(), options, inputs);
    if (!chosen)
        return;
    OutputFile file;
    if (!file.open(*chosen)) {
        platform().messageBox(messages::cannotOpenFile);
        return;
    }

    {
        WaitCursor wait = platform().waitCursor();
        std::replace(recordText.begin(), recordText.end(), ' ', ',');
        file.write(recordText);
        std::replace(recordText.begin(), recordText.end(), ',', ' ');
    }
    // A file that did not take the whole text is not reported as saved.
    if (!file.close())
        platform().messageBox(cannotWrite);
}

}  // namespace kv
