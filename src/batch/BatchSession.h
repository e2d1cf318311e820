#pragma once
// The start of a command-line run, shared by kirvane-batch and kirvane-sweep so that both
// start, refuse and report alike: the program's own main window on the scripted backend in the
// start-up folder (index.txt and kvn.conf read there as at start-up), then the signal file
// loaded and the run's window chosen through the window's own buttons. Message boxes become
// lines on standard error.
//
// A step may end the program as the window would (HeadlessExit): callers catch it and exit with
// its status.

#include "app/SimulatorDialog.h"
#include "data/SimulatorApp.h"
#include "toolkit/headless/HeadlessPlatform.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>

namespace kv {

// Message boxes become plain lines on standard error; the session watches them for refusals.
class BatchPlatform : public HeadlessPlatform {
public:
    explicit BatchPlatform(std::ostream& err) : HeadlessPlatform(discarded, err), err(err) {}

    void messageBox(const std::string& text) override;
    // The command line's path is used exactly as given: the save dialog's default extension
    // belongs to the dialog, not to a name typed on the command line.
    std::optional<std::filesystem::path> saveFile(const FileDialogOptions& options) override;

    std::ostringstream discarded;
    std::ostream& err;
    int count = 0;                // message boxes shown so far
    bool logWriteFailed = false;  // the window said that a trade-log write failed
};

// False, after saying so on `err`, when the folder has no readable stock master: the window
// would ask for one until chosen, a command-line run cannot.
bool stockMasterReadable(const std::filesystem::path& folder, std::ostream& err, const std::string& tool);

class BatchSession {
public:
    // Opens the main window in `folder`.
    BatchSession(const std::filesystem::path& folder, std::ostream& err);
    ~BatchSession();
    BatchSession(const BatchSession&) = delete;
    BatchSession& operator=(const BatchSession&) = delete;

    // Presses a button; true when it answered with a message box (a refusal).
    bool press(int id);

    // Loads the signal file through 読み込み; false when it cannot be opened (the message says
    // so). Afterwards signalRows() tells whether anything can be run.
    bool loadSignals(const std::filesystem::path& file);
    int signalRows() const { return dialog.signalList.count(); }

    // Chooses the first and the last row of the run, as selecting a row and pressing 開始日指定
    // or 終了日指定 would; false when the window refuses one (the message says why).
    bool chooseWindow(std::optional<int> startRow, std::optional<int> endRow);

    BatchPlatform platform;
    std::unique_ptr<SimulatorApp> app;  // large: kept off the stack
    SimulatorDialog dialog;
};

}  // namespace kv
