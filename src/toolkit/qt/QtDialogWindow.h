#pragma once
// The top-level window of a dialog. Esc and the close box do not close it: they ask the dialog
// to cancel, and the dialog decides whether it ends.

#include <QDialog>

#include <functional>

namespace kv {

class QtDialogWindow : public QDialog {
public:
    QtDialogWindow(QWidget* owner, std::function<void()> cancelRequested);

    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    std::function<void()> cancelRequested;
};

}  // namespace kv
