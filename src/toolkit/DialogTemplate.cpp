// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/DialogTemplate.h"

#include "toolkit/ListBox.h"

namespace kv {

const ControlTemplate* DialogTemplate::control(int controlId) const
{
    for (const ControlTemplate& c : controls)
        if (c.id == controlId && controlId != IDC_STATIC)
            return &c;
    return nullptr;
}

const ControlTemplate* DialogTemplate::defaultButton() const
{
    for (const ControlTemplate& c : controls)
        if (c.kind == ControlKind::Button && (c.style & StyleDefault) && c.id != IDC_STATIC)
            return &c;
    return nullptr;
}

bool DialogTemplate::resizable() const
{
    for (const ControlTemplate& c : controls)
        if (c.anchor & (AnchorRight | AnchorBottom))
            return true;
    return false;
}

namespace {

// One axis of anchoredRect: the edge anchored at the far side follows the window's growth.
void anchorSpan(int& start, int& length, bool nearSide, bool farSide, int grown)
{
    if (!farSide)
        return;
    if (nearSide)
        length += grown;
    else
        start += grown;
}

}  // namespace

ControlRect anchoredRect(unsigned anchor, ControlRect templateRect, int grownWidth, int grownHeight)
{
    ControlRect r = templateRect;
    anchorSpan(r.x, r.width, anchor & AnchorLeft, anchor & AnchorRight, grownWidth);
    anchorSpan(r.y, r.height, anchor & AnchorTop, anchor & AnchorBottom, grownHeight);
    return r;
}

void takeTemplateItems(const ControlTemplate& layout, ListBox& rows)
{
    if (rows.count() != 0)
        return;
    ListBox::AppendBatch batch(rows);
    for (const std::string& item : layout.items)
        rows.append(item);
}

}  // namespace kv
