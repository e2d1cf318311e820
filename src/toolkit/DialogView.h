// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a backend shows of one open dialog: its controls, reached by identifier. The toolkit's
// data exchange and the dialogs talk to a DialogView only, never to widgets.

#include <cstdint>
#include <filesystem>
#include <string>

namespace kv {

struct ControlRect;

class Chart;
class Heatmap;
class ListBox;
class Table;

class DialogView {
public:
    virtual ~DialogView() = default;

    // Edits, static texts and button captions (code page 932).
    virtual std::string text(int id) const = 0;
    virtual void setText(int id, const std::string& text) = 0;

    virtual bool checked(int id) const = 0;
    virtual void setChecked(int id, bool on) = 0;

    // The view shows `rows` from now on and tells it the user's selection. For list and combo
    // box controls; binding the same rows again does nothing.
    virtual void bindList(int id, ListBox& rows) = 0;

    // The view shows `chart` (a chart control) or `table` (a table control) from now on and
    // follows their changes; binding the same one again does nothing.
    virtual void bindChart(int id, Chart& chart) = 0;
    virtual void bindTable(int id, Table& table) = 0;
    virtual void bindHeatmap(int id, Heatmap& heatmap) = 0;

    // A progress bar shows `done` of `total` (nothing done when total is 0).
    virtual void setProgress(int id, int64_t done, int64_t total) = 0;

    // Writes a picture of control `id` as it is shown to `file` as PNG, drawn at least 1600
    // pixels wide with its proportions kept. False when the control does not exist, the backend
    // draws nothing, or the file cannot be written.
    virtual bool saveImage(int id, const std::filesystem::path& file) = 0;

    virtual void setFocus(int id) = 0;

    // A disabled control takes no clicks, typing or selection from the user; the program still
    // sets its texts, checks and rows. A control that does not exist counts as disabled.
    virtual bool enabled(int id) const = 0;
    virtual void setEnabled(int id, bool on) = 0;
    // Shows or hides a control; a hidden control takes no input, and a scripted dump leaves it
    // out. Every control is shown when the dialog opens (those of a page not shown aside).
    virtual void setShown(int id, bool shown) = 0;
    // Moves a control to `rect` with `anchor` (dialog units and anchors as in a template), as
    // if its template had put it there.
    virtual void place(int id, ControlRect rect, unsigned anchor) = 0;

    // An item of the window's menu (the context menu on Linux) that sends command `id`.
    virtual void addMenuItem(const std::string& text, int id) = 0;
};

}  // namespace kv
