// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The desktop services of the program on Qt: modal dialogs in nested event loops, message
// boxes, file dialogs, the wait cursor and window timers.

#include "toolkit/Platform.h"

#include <QIcon>
#include <QStringList>

#include <map>
#include <utility>
#include <vector>

class QEventLoop;
class QTimer;
class QWidget;

namespace kv {

class QtPlatform : public Platform {
public:
    QtPlatform();
    ~QtPlatform() override;
    QtPlatform(const QtPlatform&) = delete;
    QtPlatform& operator=(const QtPlatform&) = delete;

    static QIcon applicationIcon();

    // The window of the innermost shown modal dialog, or nullptr.
    QWidget* topWindow() const;

    // "A|*.a|B|*.*||" → "A (*.a);;B (*)": Qt takes the patterns from the last parentheses, and
    // "*.*" means every file.
    static QStringList nameFilters(const std::string& filter);

    void messageBox(const std::string& text) override;
    bool askYesNo(const std::string& text) override;
    std::optional<std::filesystem::path> openFile(const FileDialogOptions& options) override;
    std::optional<std::filesystem::path> saveFile(const FileDialogOptions& options) override;
    WaitCursor waitCursor() override;
    int runModal(Dialog& dialog) override;
    void setTimer(Dialog& dialog, int event, int ms) override;
    void killTimer(Dialog& dialog, int event) override;
    // A third of a 60 Hz frame: the rest of the frame is left to the refresh, drawing and input.
    std::chrono::microseconds tickBudget() const override { return std::chrono::microseconds{5000}; }
    [[noreturn]] void exit(int status) override;

private:
    struct Session {
        Dialog* dialog;
        QWidget* window;
        QEventLoop* loop;
    };

    void quitEndedLoops();
    void killTimers(Dialog& dialog);
    std::optional<std::filesystem::path> chooseFile(const FileDialogOptions& options, bool save);

    std::vector<Session> sessions;  // running modal dialogs, innermost last
    std::map<std::pair<Dialog*, int>, QTimer*> timers;
};

}  // namespace kv
