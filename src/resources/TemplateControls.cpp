// SPDX-License-Identifier: GPL-3.0-or-later
#include "resources/TemplateControls.h"

#include "text/Cp932.h"

namespace kv::tmpl {

ControlTemplate label(const char* utf8, int x, int y, int width, int height, unsigned style, unsigned anchor)
{
    ControlTemplate c{ControlKind::Label, IDC_STATIC, toCp932(utf8), x, y, width, height, style};
    c.anchor = anchor;
    return c;
}

ControlTemplate groupBox(const char* utf8, int x, int y, int width, int height)
{
    return {ControlKind::GroupBox, IDC_STATIC, toCp932(utf8), x, y, width, height};
}

ControlTemplate edit(int id, int x, int y, int width, int height, unsigned style, unsigned anchor)
{
    ControlTemplate c{ControlKind::Edit, id, {}, x, y, width, height, style};
    c.anchor = anchor;
    return c;
}

ControlTemplate display(int id, int x, int y, int width, int height, unsigned style, unsigned anchor)
{
    return edit(id, x, y, width, height, StyleReadOnly | StyleBorder | style, anchor);
}

ControlTemplate button(int id, const char* utf8, int x, int y, int width, int height, unsigned style,
                       unsigned anchor)
{
    ControlTemplate c{ControlKind::Button, id, toCp932(utf8), x, y, width, height, style};
    c.anchor = anchor;
    return c;
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
    ControlTemplate c = listBox(id, x, y, width, height, StyleBorder | StyleVScroll | StyleHScroll);
    c.anchor = anchor;
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
    ControlTemplate c{ControlKind::Chart, id, {}, x, y, width, height, StyleBorder};
    c.anchor = anchor;
    return c;
}

ControlTemplate table(int id, int x, int y, int width, int height, unsigned style, unsigned anchor)
{
    ControlTemplate c{ControlKind::Table, id, {}, x, y, width, height, style};
    c.anchor = anchor;
    return c;
}

ControlTemplate heatmap(int id, int x, int y, int width, int height, unsigned anchor)
{
    ControlTemplate c{ControlKind::Heatmap, id, {}, x, y, width, height, StyleBorder};
    c.anchor = anchor;
    return c;
}

ControlTemplate progressBar(int id, int x, int y, int width, int height)
{
    return {ControlKind::ProgressBar, id, {}, x, y, width, height};
}

}  // namespace kv::tmpl
