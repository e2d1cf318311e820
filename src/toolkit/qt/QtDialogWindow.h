// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The top-level window of a dialog. Esc and the close box do not close it: they ask the dialog
// to cancel, and the dialog decides whether it ends. Files dragged from the desktop are offered
// to the dialog, which says which ones it takes. A window that grows tells of each new size.

#include <QDialog>

#include <filesystem>
#include <functional>
#include <optional>

class QMimeData;

namespace kv {

class QtDialogWindow : public QDialog {
public:
    using FileTest = std::function<bool(const std::filesystem::path&)>;
    using FileHandler = std::function<void(const std::filesystem::path&)>;

    QtDialogWindow(QWidget* owner, std::function<void()> cancelRequested);

    // A drag is taken when `accepts` takes one of its local files; on the drop, the first such
    // file goes to `dropped` once the drop itself has finished, so that a message box the
    // dialog shows never holds up the program the file came from.
    void setFileDrop(FileTest accepts, FileHandler dropped);

    // `resized` hears every new size of the window.
    void setResizeHandler(std::function<void(const QSize&)> resized) { resizeHandler = std::move(resized); }

    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    std::optional<std::filesystem::path> acceptedFile(const QMimeData* data) const;

    std::function<void()> cancelRequested;
    FileTest accepts;
    FileHandler dropped;
    std::function<void(const QSize&)> resizeHandler;
};

}  // namespace kv
