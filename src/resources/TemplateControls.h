// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Short constructors of template controls, so that every dialog's template reads as a table of
// its controls. Captions are written in UTF-8 and kept in code page 932; positions and sizes are
// in dialog units. The last argument, where there is one, names the window sides the control keeps
// its distance to when the window grows (see ControlAnchor); by default it stays where it is.

#include "toolkit/DialogTemplate.h"

#include <initializer_list>
#include <vector>

namespace kv::tmpl {

// Static text without an identifier; StyleMultiline lets a note wrap onto further lines.
ControlTemplate label(const char* utf8, int x, int y, int width, int height, unsigned style = StyleNone,
                      unsigned anchor = AnchorTopLeft);

ControlTemplate groupBox(const char* utf8, int x, int y, int width, int height);

// An edit the user types into.
ControlTemplate edit(int id, int x, int y, int width, int height, unsigned style = StyleNone,
                     unsigned anchor = AnchorTopLeft);

// A read-only edit with a border that only shows what the program puts there.
ControlTemplate display(int id, int x, int y, int width, int height, unsigned style = StyleNone,
                        unsigned anchor = AnchorTopLeft);

// A push button; StyleDefault makes it the one the Enter key presses.
ControlTemplate button(int id, const char* utf8, int x, int y, int width, int height,
                       unsigned style = StyleNone, unsigned anchor = AnchorTopLeft);

ControlTemplate checkBox(int id, const char* utf8, int x, int y, int width, int height,
                         unsigned style = StyleNone);

// A list box with a border and a vertical scroll bar unless told otherwise.
ControlTemplate listBox(int id, int x, int y, int width, int height,
                        unsigned style = StyleBorder | StyleVScroll);

// A list box that shows its rows as columns under headings, scrolling both ways: each column's
// caption, width in dialog units and whether it holds numbers (right-aligned).
struct Column {
    const char* utf8;
    int width;
    bool number = false;
};
ControlTemplate columnListBox(int id, int x, int y, int width, int height, const std::vector<Column>& columns,
                              unsigned anchor = AnchorTopLeft);

// A drop-down list that cannot be typed into, with its fixed items in their order (none when
// the dialog fills it).
ControlTemplate dropDownList(int id, int x, int y, int width, int height,
                             std::initializer_list<const char*> utf8Items = {}, unsigned style = StyleNone);

// The application icon.
ControlTemplate icon(int x, int y, int width, int height);

// A tab bar with the names of the window's pages, the first page shown; and a control that
// lives on page `page` of it (0 the first), shown only while that page is.
ControlTemplate tabBar(int id, int x, int y, int width, int height,
                       std::initializer_list<const char*> utf8Pages, unsigned anchor = AnchorTopLeft);
ControlTemplate onPage(int page, ControlTemplate control);

// A chart (series stacked over one x axis) and a read-only table, both with a border.
ControlTemplate chart(int id, int x, int y, int width, int height, unsigned anchor = AnchorTopLeft);
// A table scrolls down unless its style says otherwise (StyleHScroll: sideways too).
ControlTemplate table(int id, int x, int y, int width, int height, unsigned style = StyleBorder | StyleVScroll,
                      unsigned anchor = AnchorTopLeft);
// A heatmap: coloured cells under column headings and beside row headings.
ControlTemplate heatmap(int id, int x, int y, int width, int height, unsigned anchor = AnchorTopLeft);
// A progress bar.
ControlTemplate progressBar(int id, int x, int y, int width, int height);

}  // namespace kv::tmpl
