// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Data exchange between a dialog's members and its controls, one direction per pass: into the
// controls (a refresh) or back from them. A dialog lists every binding once, in its exchange().

#include <cstdint>
#include <string>

namespace kv {

class Chart;
class ComboBox;
class DialogView;
class Heatmap;
class ListBox;
class Platform;
class Table;

class DataExchange {
public:
    DataExchange(DialogView& view, Platform& platform, bool takeFromControls)
        : view(view), platform(platform), saving(takeFromControls)
    {}

    bool takingFromControls() const { return saving; }
    bool failed() const { return fail; }

    void text(int id, std::string& value);
    // An edit that must hold a number. Taking back a text that is not a number shows the
    // standard prompt, puts the focus on the edit and stops the pass: later bindings keep
    // their values.
    void number(int id, double& value);
    // The same for a whole number: shown as plain decimal digits; a number taken back is
    // truncated toward zero and held within the int32 limits ("12345.9" gives 12345).
    void number(int id, int32_t& value);
    void check(int id, bool& value);
    void list(int id, ListBox& rows);
    // Charts and tables only show data: both directions bind them to their controls.
    void chart(int id, Chart& chart);
    void table(int id, Table& table);
    void heatmap(int id, Heatmap& heatmap);
    // A progress bar only shows: both directions show `done` of `total`.
    void progress(int id, int64_t done, int64_t total);
    void selection(int id, ComboBox& box, int& index);

private:
    bool takeNumber(int id, double& value);

    DialogView& view;
    Platform& platform;
    bool saving;
    bool fail = false;
};

// The number rule of a dialog edit: after leading blanks and tabs a decimal floating-point
// number takes up all of the text up to trailing blanks and tabs, and a zero value starts with
// the digit 0 (so "0" and "0.0" are numbers; "", "-0" and ".0" are not).
bool parseDialogNumber(const std::string& text, double& value);

// Shows a double with up to 15 significant digits, without trailing zeros: 2.5, 20, 2000000.
std::string dialogNumberText(double value);

}  // namespace kv
