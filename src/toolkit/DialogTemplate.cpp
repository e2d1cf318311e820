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

void takeTemplateItems(const ControlTemplate& layout, ListBox& rows)
{
    if (rows.count() != 0)
        return;
    ListBox::AppendBatch batch(rows);
    for (const std::string& item : layout.items)
        rows.append(item);
}

}  // namespace kv
