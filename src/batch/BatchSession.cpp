#include "batch/BatchSession.h"

#include "data/StockMasterFile.h"
#include "resources/ControlIds.h"
#include "resources/Messages.h"
#include "text/Cp932.h"
#include "text/LineReader.h"

namespace kv {

void BatchPlatform::messageBox(const std::string& text)
{
    HeadlessPlatform::messageBox(text);
    err << toUtf8(text) << '\n';
    ++count;
    if (text == messages::logWriteFailed)
        logWriteFailed = true;
}

std::optional<std::filesystem::path> BatchPlatform::saveFile(const FileDialogOptions& options)
{
    FileDialogOptions exact = options;
    exact.defaultExtension.clear();
    return HeadlessPlatform::saveFile(exact);
}

bool stockMasterReadable(const std::filesystem::path& folder, std::ostream& err, const std::string& tool)
{
    int error = 0;
    if (LineReader::open(folder / kStockMasterFileName, &error))
        return true;
    err << "error: " << kStockMasterFileName << " cannot be read in " << folder.string() << " ("
        << systemErrorText(error) << "; " << tool << " reads the stock master of the current folder)\n";
    return false;
}

BatchSession::BatchSession(const std::filesystem::path& folder, std::ostream& err)
    : platform(err), app(std::make_unique<SimulatorApp>()), dialog(*app, platform, folder)
{
    platform.open(dialog);
    // The window tells of a UTF-8 file's unconvertible characters in its status line.
    if (dialog.masterReplaced > 0)
        err << toUtf8(dialog.statusText) << '\n';
}

BatchSession::~BatchSession()
{
    platform.close(dialog);
}

bool BatchSession::press(int id)
{
    int before = platform.count;
    platform.execute("click " + std::to_string(id));
    platform.discarded.str("");
    return platform.count != before;
}

bool BatchSession::loadSignals(const std::filesystem::path& file)
{
    platform.queueFileAnswer(HeadlessPlatform::FileDialogKind::Open, file);
    if (press(IDC_LOAD))
        return false;
    if (dialog.signalsReplaced > 0)
        platform.err << toUtf8(dialog.statusText) << '\n';
    return true;
}

bool BatchSession::chooseWindow(std::optional<int> startRow, std::optional<int> endRow)
{
    auto choose = [&](int row, int button) {
        platform.execute("select " + std::to_string(IDC_SIGNAL_LIST) + " " + std::to_string(row));
        return !press(button);
    };
    if (startRow && !choose(*startRow, IDC_SET_START))
        return false;
    return !endRow || choose(*endRow, IDC_SET_END);
}

}  // namespace kv
