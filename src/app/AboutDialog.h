// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The about box: the program's name, version and a line about what it is for.

#include "toolkit/Dialog.h"

namespace kv {

class AboutDialog : public Dialog {
public:
    using Dialog::Dialog;
    const DialogTemplate& dialogTemplate() const override;
};

}  // namespace kv
