#include "toolkit/DialogTemplate.h"

namespace kv {

const ControlTemplate* DialogTemplate::control(int controlId) const
{
    for (const ControlTemplate& c : controls)
        if (c.id == controlId && controlId != IDC_STATIC)
            return &c;
    return nullptr;
}

}  // namespace kv
