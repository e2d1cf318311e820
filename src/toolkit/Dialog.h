// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Base of every dialog. A dialog names its template, binds its members to control ids in
// exchange(), and receives its initialisation, commands and timer ticks from the backend that
// shows it. It never knows which backend that is.

#include "toolkit/DataExchange.h"

#include <filesystem>

namespace kv {

struct ControlRect;
struct DialogTemplate;
class DialogView;
class Platform;

enum class Notification {
    Clicked,           // a button or check box
    SelectionChanged,  // a list or combo box, by the user
    MenuCommand,       // an item of the window menu
    DoubleClicked,     // a table row or a heatmap cell (see their activated row and cell)
    TextChanged,       // the user changed an edit marked StyleNotify
};

class Dialog {
public:
    explicit Dialog(Platform& platform) : platformRef(platform) {}
    virtual ~Dialog() = default;
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    virtual const DialogTemplate& dialogTemplate() const = 0;

    // Every binding between a member and a control, in one place.
    virtual void exchange(DataExchange&) {}

    // Called once the controls exist, before the dialog shows. The default refreshes.
    virtual void onInitDialog() { updateData(false); }

    // Clicks, selection changes and menu commands. The default sends IDOK to onOK and IDCANCEL
    // to onCancel.
    virtual void onCommand(int id, Notification notification);
    virtual void onOK();      // takes the controls back; ends with IDOK when they are valid
    virtual void onCancel();  // ends with IDCANCEL (also Esc and the close box)
    virtual void onTimer(int /*event*/) {}

    // A file dragged from the desktop onto the window: the backend offers it to the dialog
    // only when acceptsDroppedFile says the dialog takes such a file (none by default), and
    // hands it to onFileDropped when it is let go.
    virtual bool acceptsDroppedFile(const std::filesystem::path& /*file*/) const { return false; }
    virtual void onFileDropped(const std::filesystem::path& /*file*/) {}

    // false pushes every bound member into the controls (a refresh); true takes them back and
    // gives false when a number was refused. Without a view there is nothing to exchange.
    bool updateData(bool takeFromControls);

    // Enables or disables a control of the shown dialog (a template may create it disabled).
    // Without a view there is no control: nothing happens.
    void enableControl(int id, bool enabled);
    // Shows or hides a control, or moves it (see DialogView); without a view nothing happens.
    void showControl(int id, bool shown);
    void placeControl(int id, ControlRect rect, unsigned anchor);

    void endDialog(int result);
    bool ended() const { return hasEnded; }
    int result() const { return endResult; }

    Platform& platform() const { return platformRef; }
    DialogView* view() const { return currentView; }

    // Backends: a view attaches while the dialog is shown, and detaches before it goes away.
    void attachView(DialogView* view);

private:
    Platform& platformRef;
    DialogView* currentView = nullptr;
    bool hasEnded = false;
    int endResult = 0;
};

}  // namespace kv
