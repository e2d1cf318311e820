// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The scripted desktop. Message boxes are printed ("MSG<TAB>text") and acknowledged at once;
// file dialogs are answered from a queue; a modal dialog runs a nested command loop that reads
// the script's next lines and applies them to the topmost dialog until it ends, so dialog code
// follows the same control flow as under Qt.
//
// Commands, one per line (texts UTF-8):
//   click ID | click OK | click CANCEL      press a button of the topmost dialog
//   enter                                   press its default push button (the Enter key)
//   select ID INDEX                         select a list or combo row (-1: none) and notify
//   type ID TEXT                            put TEXT into an edit (digits only: its digits)
//   check ID 0|1                            set a check box and deliver its click
//   activate ID ROW [COLUMN]                double-click a table row or a heatmap cell
//   menu ID                                 choose an item of the window menu
//   answer-open PATH | answer-save PATH | answer-cancel   answer the next file dialog
//   answer-no                               answer the next yes/no question いいえ (else はい)
//   tick N                                  deliver N timer ticks to the main window
//   close                                   cancel the topmost dialog (Esc, close box)
//   drop PATH                               drop a file from the desktop on the topmost dialog
//   dump                                    print the topmost dialog's controls
// Input to a disabled control (click, type, check, select, activate) or typing into a read-only edit is
// ignored, as on the desktop.

#include "toolkit/Platform.h"
#include "toolkit/headless/HeadlessView.h"

#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace kv {

// Thrown by HeadlessPlatform::exit: the program (or the script) ends with this status.
struct HeadlessExit {
    int status;
};

class HeadlessPlatform : public Platform {
public:
    using LineSource = std::function<std::optional<std::string>()>;

    // out receives the message boxes and dumps; errors go to err.
    HeadlessPlatform(std::ostream& out, std::ostream& err);

    // Where modal loops read their commands. Without one, a modal dialog ends (cancelled) at once.
    void setLineSource(LineSource source) { lineSource = std::move(source); }
    // Convenience for tests: the lines are read in order by the modal loops.
    void queueLines(std::vector<std::string> lines);

    // Queues the answer of the next file dialog: a path, or nothing for cancel.
    enum class FileDialogKind { Open, Save, Any };
    void queueFileAnswer(FileDialogKind kind, std::optional<std::filesystem::path> answer);
    // Queues the answer of the next yes/no question; without one a question is answered yes.
    void queueQuestionAnswer(bool yes) { questionAnswers.push_back(yes); }

    // Applies one command to the topmost dialog. Returns false (after printing the reason to
    // err) when the line is not a command this backend knows.
    bool execute(const std::string& line);

    // Presses button `id` of the topmost dialog, as "click ID" does; false when there is none.
    bool click(int id);

    // Shows a dialog without a loop of its own: tests then drive it with execute().
    void open(Dialog& dialog);
    void close(Dialog& dialog);

    Dialog* topDialog() const { return frames.empty() ? nullptr : frames.back().dialog; }
    HeadlessView* topView() const { return frames.empty() ? nullptr : frames.back().view.get(); }
    HeadlessView* viewOf(const Dialog& dialog) const;

    // What was shown, for tests.
    const std::vector<std::string>& messages() const { return shownMessages; }  // code page 932
    struct FileDialogRecord {
        FileDialogKind kind;
        FileDialogOptions options;
    };
    const std::vector<FileDialogRecord>& fileDialogs() const { return shownFileDialogs; }
    int waitCursorDepth() const { return waitDepth; }
    int waitCursorsShown() const { return waitCount; }
    bool timerActive(const Dialog& dialog, int event) const;
    void clearRecords();

    // Platform
    void messageBox(const std::string& text) override;
    bool askYesNo(const std::string& text) override;
    std::optional<std::filesystem::path> openFile(const FileDialogOptions& options) override;
    std::optional<std::filesystem::path> saveFile(const FileDialogOptions& options) override;
    WaitCursor waitCursor() override;
    int runModal(Dialog& dialog) override;
    void setTimer(Dialog& dialog, int event, int ms) override;
    void killTimer(Dialog& dialog, int event) override;
    [[noreturn]] void exit(int status) override;

    // Delivers up to n ticks of the bottom (main) window's timers; stops when none is running.
    void tick(int n);

private:
    struct Commands;  // the script commands, one handler each
    struct Frame {
        Dialog* dialog;
        std::unique_ptr<HeadlessView> view;
    };
    struct FileAnswer {
        FileDialogKind kind;
        std::optional<std::filesystem::path> path;
    };

    std::optional<std::filesystem::path> answerFileDialog(FileDialogKind kind,
                                                          const FileDialogOptions& options);
    int parseControlId(const std::string& word) const;

    std::ostream& out;
    std::ostream& err;
    LineSource lineSource;
    std::deque<std::string> queuedLines;
    std::deque<FileAnswer> fileAnswers;
    std::deque<bool> questionAnswers;
    std::vector<Frame> frames;
    std::set<std::pair<const Dialog*, int>> timers;
    std::vector<std::string> shownMessages;
    std::vector<FileDialogRecord> shownFileDialogs;
    int waitDepth = 0;
    int waitCount = 0;
};

}  // namespace kv
