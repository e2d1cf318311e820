// SPDX-License-Identifier: GPL-3.0-or-later
#include "resources/TemplateControls.h"

#include "text/Cp932.h"

namespace kv::tmpl {

namespace {

// The control, keeping its distances to the window's sides named by `anchor`.
ControlTemplate anchored(ControlTemplate control, unsigned anchor)
{
    control.anchor = anchor;
    return control;
}

}  // namespace

ControlTemplate label(const char* utf8, int x, int y, int width, int height, unsigned style, unsigned anchor)
{
    return anchored({ControlKind::Label, IDC_STATIC, toCp932(utf8), x, y, width, height, style}, anchor);
}

ControlTemplate groupBox(const char* utf8, int x, int y, int width, int height)
{
    return {ControlKind::GroupBox, IDC_STATIC, toCp932(utf8), x, y, width, height};
}

ControlTemplate edit(int id, int x, int y, int width, int height, unsigned style, unsigned anchor)
{
    return anchored({ControlKind::Edit, id, {}, x, y, width, height, style}, anchor);
}

ControlTemplate display(int id, int x, int y, int width, int height, unsigned style, unsigned anchor)
{
    return edit(id, x, y, width, height, StyleReadOnly | StyleBorder | style, anchor);
}

ControlTemplate button(int id, const char* utf8, int x, int y, int width, int height, unsigned style,
                       unsigned anchor)
{
    return anchored({ControlKind::Button, id, toCp932(utf8), x, y, width, height, style}, anchor);
}

ControlTemplate checkBox(int id, const char* utf8, int x, int y, int width, int height, unsigned style)
{
    return {ControlKind::CheckBox, id, toCp932(utf8), x, y, width, height, style};
}

ControlTemplate listBox(int id, int x, int y, int width, int height, unsigned style)
{
    return {ControlKind::ListBox, id, {}, x, y, width, height, style};
}

ControlTemplate columnListBox(int id, int x, int y, int width, int height, const std::vector<Column>& columns,
                              unsigned anchor)
{
    ControlTemplate c =
        anchored(listBox(id, x, y, width, height, StyleBorder | StyleVScroll | StyleHScroll), anchor);
    for (const Column& column : columns)
        c.columns.push_back({toCp932(column.utf8), column.width, column.number});
    return c;
}

ControlTemplate dropDownList(int id, int x, int y, int width, int height,
                             std::initializer_list<const char*> utf8Items, unsigned style)
{
    ControlTemplate c{ControlKind::ComboBox, id, {}, x, y, width, height, style};
    for (const char* item : utf8Items)
        c.items.push_back(toCp932(item));
    return c;
}

ControlTemplate icon(int x, int y, int width, int height)
{
    return {ControlKind::Icon, IDC_STATIC, {}, x, y, width, height};
}

ControlTemplate tabBar(int id, int x, int y, int width, int height,
                       std::initializer_list<const char*> utf8Pages, unsigned anchor)
{
    ControlTemplate c{ControlKind::TabBar, id, {}, x, y, width, height};
    c.anchor = anchor;
    for (const char* page : utf8Pages)
        c.items.push_back(toCp932(page));
    return c;
}

ControlTemplate onPage(int page, ControlTemplate control)
{
    control.page = page;
    return control;
}

ControlTemplate chart(int id, int x, int y, int width, int height, unsigned anchor)
{
    return anchored({ControlKind::Chart, id, {}, x, y, width, height, StyleBorder}, anchor);
}

ControlTemplate table(int id, int x, int y, int width, int height, unsigned style, unsigned anchor)
{
    return anchored({ControlKind::Table, id, {}, x, y, width, height, style}, anchor);
}

ControlTemplate heatmap(int id, int x, int y, int width, int height, unsigned anchor)
{
    return anchored({ControlKind::Heatmap, id, {}, x, y, width, height, StyleBorder}, anchor);
}

ControlTemplate progressBar(int id, int x, int y, int width, int height)
{
    return {ControlKind::ProgressBar, id, {}, x, y, width, height};
}

}  // namespace kv::tmpl
