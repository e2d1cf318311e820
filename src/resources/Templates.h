// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The dialog templates of the program's windows, one source file each (<Name>Template.cpp).

#include "toolkit/DialogTemplate.h"

namespace kv {

const DialogTemplate& aboutDialogTemplate();
const DialogTemplate& mainDialogTemplate();
const DialogTemplate& printDialogTemplate();
const DialogTemplate& optionDialogTemplate();
const DialogTemplate& extendedOptionDialogTemplate();
const DialogTemplate& logDialogTemplate();
const DialogTemplate& resultsDialogTemplate();
const DialogTemplate& optimisationDialogTemplate();

}  // namespace kv
