// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The services a dialog may ask of the desktop. The Qt backend provides them with Qt, the
// headless backend from a script.

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace kv {

class Dialog;

struct FileDialogOptions {
    std::string defaultExtension;  // without the point: "csv"
    std::string filter;  // "CSV ファイル (*.csv)|*.csv|すべてのファイル (*.*)|*.*||", code page 932
    std::string initialName;  // text of the file-name box, code page 932
    // What the user is asked for ("ログファイル名入力"), code page 932: the dialog's caption and
    // a hint in the empty file-name box, never taken as a name.
    std::string nameHint;
    bool overwritePrompt = false;  // save: confirm before replacing an existing file
    bool createPrompt = false;     // ask before a name that does not exist (open: and create it)
};

// Shows the wait cursor while it lives; the previous cursor comes back when it goes.
class WaitCursor {
public:
    WaitCursor() = default;
    explicit WaitCursor(std::function<void()> restore) : restore(std::move(restore)) {}
    WaitCursor(WaitCursor&& other) noexcept : restore(std::move(other.restore)) { other.restore = nullptr; }
    WaitCursor& operator=(WaitCursor&&) = delete;
    ~WaitCursor()
    {
        if (restore)
            restore();
    }

private:
    std::function<void()> restore;
};

class Platform {
public:
    virtual ~Platform() = default;

    // A modal message box with an OK button; text is code page 932.
    virtual void messageBox(const std::string& text) = 0;
    // A modal question with the buttons はい and いいえ; true for はい. text is code page 932.
    virtual bool askYesNo(const std::string& text) = 0;

    // Full path of the chosen file, or nothing when the user cancels.
    virtual std::optional<std::filesystem::path> openFile(const FileDialogOptions& options) = 0;
    virtual std::optional<std::filesystem::path> saveFile(const FileDialogOptions& options) = 0;

    virtual WaitCursor waitCursor() = 0;

    // Shows the dialog and runs its modal loop until it ends; returns its result.
    virtual int runModal(Dialog& dialog) = 0;

    // A window timer of `dialog`: its onTimer(event) is called about every `ms` milliseconds
    // (0: as often as possible), also while another modal dialog is up.
    virtual void setTimer(Dialog& dialog, int event, int ms) = 0;
    virtual void killTimer(Dialog& dialog, int event) = 0;

    // How long one timer tick may keep working before the window is drawn again: a desktop
    // window takes a few milliseconds per tick and stays responsive; 0 (the scripted backend)
    // means one piece of work per tick, so that a script counts ticks exactly.
    virtual std::chrono::microseconds tickBudget() const { return std::chrono::microseconds{0}; }

    // Ends the program with this exit status.
    [[noreturn]] virtual void exit(int status) = 0;
};

}  // namespace kv
