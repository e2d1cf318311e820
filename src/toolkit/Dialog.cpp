// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/Dialog.h"

#include "toolkit/DialogTemplate.h"
#include "toolkit/DialogView.h"

namespace kv {

void Dialog::onCommand(int id, Notification)
{
    if (id == IDOK)
        onOK();
    else if (id == IDCANCEL)
        onCancel();
}

void Dialog::onOK()
{
    if (updateData(true))
        endDialog(IDOK);
}

void Dialog::onCancel()
{
    endDialog(IDCANCEL);
}

bool Dialog::updateData(bool takeFromControls)
{
    if (!currentView)
        return true;
    DataExchange dx(*currentView, platformRef, takeFromControls);
    exchange(dx);
    return !dx.failed();
}

void Dialog::enableControl(int id, bool enabled)
{
    if (currentView)
        currentView->setEnabled(id, enabled);
}

void Dialog::showControl(int id, bool shown)
{
    if (currentView)
        currentView->setShown(id, shown);
}

void Dialog::placeControl(int id, ControlRect rect, unsigned anchor)
{
    if (currentView)
        currentView->place(id, rect, anchor);
}

void Dialog::endDialog(int result)
{
    hasEnded = true;
    endResult = result;
}

void Dialog::attachView(DialogView* view)
{
    currentView = view;
    if (view) {
        hasEnded = false;
        endResult = 0;
    }
}

}  // namespace kv
