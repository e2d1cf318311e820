// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/qt/QtDialogWindow.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QResizeEvent>
#include <QTimer>
#include <QUrl>

namespace kv {

QtDialogWindow::QtDialogWindow(QWidget* owner, std::function<void()> cancelRequested)
    : QDialog(owner), cancelRequested(std::move(cancelRequested))
{}

void QtDialogWindow::setFileDrop(FileTest test, FileHandler handler)
{
    accepts = std::move(test);
    dropped = std::move(handler);
    setAcceptDrops(accepts && dropped);
}

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

std::optional<std::filesystem::path> QtDialogWindow::acceptedFile(const QMimeData* data) const
{
    if (!accepts || !data || !data->hasUrls())
        return std::nullopt;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile())
            continue;
        // The file system's own bytes for the name, whatever characters it holds.
        std::filesystem::path file(QFile::encodeName(url.toLocalFile()).toStdString());
        if (accepts(file))
            return file;
    }
    return std::nullopt;
}

void QtDialogWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (acceptedFile(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void QtDialogWindow::dragMoveEvent(QDragMoveEvent* event)
{
    if (acceptedFile(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void QtDialogWindow::dropEvent(QDropEvent* event)
{
    std::optional<std::filesystem::path> file = acceptedFile(event->mimeData());
    if (!file) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    QTimer::singleShot(0, this, [this, path = *file] {
        if (dropped)
            dropped(path);
    });
}

void QtDialogWindow::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    if (resizeHandler)
        resizeHandler(event->size());
}

}  // namespace kv
