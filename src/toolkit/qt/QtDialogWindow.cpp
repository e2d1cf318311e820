#include "toolkit/qt/QtDialogWindow.h"

#include <QCloseEvent>

namespace kv {

QtDialogWindow::QtDialogWindow(QWidget* owner, std::function<void()> cancelRequested)
    : QDialog(owner), cancelRequested(std::move(cancelRequested))
{}

void QtDialogWindow::reject()
{
    if (cancelRequested)
        cancelRequested();
}

void QtDialogWindow::closeEvent(QCloseEvent* event)
{
    // Only the modal loop hides the window, once the dialog has ended.
    event->ignore();
    if (cancelRequested)
        cancelRequested();
}

}  // namespace kv
