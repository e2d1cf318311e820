// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AboutDialog.h"

#include "resources/Templates.h"

namespace kv {

const DialogTemplate& AboutDialog::dialogTemplate() const
{
    return aboutDialogTemplate();
}

}  // namespace kv
