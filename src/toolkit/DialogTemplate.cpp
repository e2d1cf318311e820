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
        if (c.anchor &
            (AnchorRight | AnchorBottom | AnchorLeftHalf | AnchorTopHalf | AnchorRightHalf |
             AnchorBottomHalf))
            return true;
    return false;
}

namespace {

// One axis of anchoredRect: the edge anchored at the far side follows the window's growth, an
// edge anchored by half follows half of it; a control anchored at neither far edge keeps its
// length.
void anchorSpan(int& start, int& length, unsigned anchor, unsigned nearSide, unsigned nearHalf,
                unsigned farSide, unsigned farHalf, int grown)
{
    const int half = grown / 2;
    int startShift = 0;
    if (anchor & nearHalf)
        startShift = half;
    else if ((anchor & farSide) && !(anchor & nearSide))
        startShift = grown;
    int endShift = startShift;
    if (anchor & farSide)
        endShift = grown;
    else if (anchor & farHalf)
        endShift = half;
    start += startShift;
    length += endShift - startShift;
}

}  // namespace

ControlRect anchoredRect(unsigned anchor, ControlRect templateRect, int grownWidth, int grownHeight)
{
    ControlRect r = templateRect;
    anchorSpan(r.x, r.width, anchor, AnchorLeft, AnchorLeftHalf, AnchorRight, AnchorRightHalf, grownWidth);
    anchorSpan(r.y, r.height, anchor, AnchorTop, AnchorTopHalf, AnchorBottom, AnchorBottomHalf, grownHeight);
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
