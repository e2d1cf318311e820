// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Dialog templates: the layout of every dialog as plain data, in dialog units, as the original
// resource file had them. Backends build their controls from these tables.

#include <string>
#include <vector>

namespace kv {

class ListBox;

// Command identifiers of the two standard buttons, and of controls that have no identifier.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDC_STATIC = -1;

enum class ControlKind {
    Label,  // static text
    GroupBox,
    Edit,
    Button,
    CheckBox,
    ListBox,      // single selection, unsorted, notifies selection changes
    ComboBox,     // drop-down list that cannot be typed into
    Icon,         // the application icon
    Chart,        // series over a shared x axis, stacked (a Chart)
    Table,        // read-only rows of cells under column headings (a Table)
    Heatmap,      // coloured cells between row and column headings (a Heatmap)
    TabBar,       // the page names (items) above a window's pages; a click shows that page
    ProgressBar,  // how much of a piece of work is done
};

// Style flags of a control.
enum ControlStyle : unsigned {
    StyleNone = 0,
    StyleReadOnly = 1u << 0,
    StyleRightAlign = 1u << 1,
    StyleDigitsOnly = 1u << 2,
    StyleDisabled = 1u << 3,   // created disabled; Dialog::enableControl changes it
    StyleDefault = 1u << 4,    // default push button: the Enter key presses it
    StyleMultiline = 1u << 5,  // edit: several lines, broken at CR LF; static text: wraps too
    StyleBorder = 1u << 6,
    StyleCenter = 1u << 7,  // centred static text
    StyleVScroll = 1u << 8,
    StyleHScroll = 1u << 9,
    StyleNotify = 1u << 10,  // edit: every change the user makes is told to the dialog (TextChanged)
};

// The sides of the window a control keeps its distance to when the window grows. Anchored left
// and right it widens with the window, anchored right alone it moves with the right edge; the
// same holds for top and bottom. The half anchors move an edge by half the growth, so that two
// controls side by side (or one above the other) share it: the left one anchored left and
// right-half, the right one left-half and right. A window with a control anchored right or
// bottom, or by a half, can be enlarged, never below its template size; the others keep their
// size.
enum ControlAnchor : unsigned {
    AnchorLeft = 1u << 0,
    AnchorTop = 1u << 1,
    AnchorRight = 1u << 2,
    AnchorBottom = 1u << 3,
    AnchorLeftHalf = 1u << 4,
    AnchorTopHalf = 1u << 5,
    AnchorRightHalf = 1u << 6,
    AnchorBottomHalf = 1u << 7,
    AnchorTopLeft = AnchorLeft | AnchorTop,
    AnchorBottomRight = AnchorRight | AnchorBottom,
    AnchorAll = AnchorLeft | AnchorTop | AnchorRight | AnchorBottom,
};

// A column of a list box that shows its rows as columns: the fields of a row are its words
// between ASCII blanks, one field a column.
struct ListColumn {
    std::string caption;  // code page 932
    int width;            // dialog units
    bool number = false;  // right-aligned
};

struct ControlTemplate {
    ControlKind kind;
    int id;                   // IDC_STATIC for controls without an identifier
    std::string caption;      // code page 932
    int x, y, width, height;  // dialog units
    unsigned style = StyleNone;
    std::vector<std::string> items = {};  // rows of a combo box, code page 932, in their order
    // A list box with columns shows its rows under these headings; the rows stay whole texts.
    std::vector<ListColumn> columns = {};
    unsigned anchor = AnchorTopLeft;
    // The page of the window's tab bar the control lives on (0 the first), shown only while
    // that page is; -1 for a control shown on every page.
    int page = -1;
};

// A control's rectangle, in whatever unit a backend places it.
struct ControlRect {
    int x, y, width, height;
};

// Where a control with `anchor` placed at `templateRect` in a window of its template size lies
// once the window has grown by `grownWidth` and `grownHeight` (in the same unit).
ControlRect anchoredRect(unsigned anchor, ControlRect templateRect, int grownWidth, int grownHeight);

struct DialogTemplate {
    int id;
    std::string title;     // code page 932
    std::string fontName;  // code page 932
    int fontPoints;
    int width, height;  // client size in dialog units
    bool minimizeBox = false;
    std::vector<ControlTemplate> controls = {};  // in tab order

    const ControlTemplate* control(int controlId) const;
    // The push button marked StyleDefault (the first, should there be several), or nullptr.
    const ControlTemplate* defaultButton() const;
    // Whether the window grows: some control is anchored right or bottom.
    bool resizable() const;
};

// Rows bound to a list or combo box for the first time, while they hold nothing, take the
// template's items: a combo box whose rows the dialog does not fill shows its fixed choices.
void takeTemplateItems(const ControlTemplate& layout, ListBox& rows);

}  // namespace kv
