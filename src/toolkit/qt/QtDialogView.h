// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one Qt view of every dialog: builds the widgets of a dialog template at their
// dialog-unit rectangles, shows the dialog's texts and lists, and hands clicks, selections and
// menu commands to the dialog. No dialog has Qt code of its own.

#include "toolkit/Dialog.h"
#include "toolkit/DialogView.h"

#include <QFont>
#include <QRect>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class QWidget;

namespace kv {

struct ControlTemplate;
class ListBoxModel;
class QtDialogWindow;
class TableModel;

class QtDialogView : public DialogView {
public:
    // Builds the window of dialog.dialogTemplate() (hidden) as a child window of owner.
    QtDialogView(Dialog& dialog, QWidget* owner);
    ~QtDialogView() override;
    QtDialogView(const QtDialogView&) = delete;
    QtDialogView& operator=(const QtDialogView&) = delete;

    QWidget* window() const;
    QWidget* widget(int id) const;

    // Called after every command, cancel or menu command has been handed to the dialog, so that
    // the modal loop can look whether the dialog has ended.
    void setAfterDelivery(std::function<void()> hook) { afterDelivery = std::move(hook); }

    // The font a template's font name and size stand for on this system, and the size in
    // pixels of one horizontal and one vertical dialog unit times 4 and 8 (the base units).
    static QFont dialogFont(const std::string& fontName, int points);
    static QSize baseUnits(const QFont& font);
    static QRect toPixels(const QSize& baseUnits, int x, int y, int width, int height);

    // Texts of read-only displays reach their widgets at most once per frame (see setText);
    // this puts every pending one there now.
    void showPendingTexts();

    std::string text(int id) const override;
    void setText(int id, const std::string& text) override;
    bool checked(int id) const override;
    void setChecked(int id, bool on) override;
    void bindList(int id, ListBox& rows) override;
    void bindChart(int id, Chart& chart) override;
    void bindTable(int id, Table& table) override;
    void bindHeatmap(int id, Heatmap& heatmap) override;
    void setProgress(int id, int64_t done, int64_t total) override;
    bool saveImage(int id, const std::filesystem::path& file) override;
    void setFocus(int id) override;
    bool enabled(int id) const override;
    void setEnabled(int id, bool on) override;
    void setShown(int id, bool shown) override;
    void place(int id, ControlRect rect, unsigned anchor) override;
    void addMenuItem(const std::string& text, int id) override;

private:
    struct Control {
        const ControlTemplate* layout = nullptr;
        QWidget* widget = nullptr;
        ListBoxModel* model = nullptr;     // list and combo boxes once bound
        TableModel* tableModel = nullptr;  // tables once bound
        std::string shown;                 // the code page 932 text last put into the widget
        bool shownValid = false;           // false once the user has typed into an editable edit
        bool settingText = false;
        bool pending = false;  // shown reaches the widget with the next frame
    };

    // One builder per control kind; a new kind is one more builder and one more case.
    void buildControl(const ControlTemplate& layout, const QSize& units);
    QWidget* buildWidget(const ControlTemplate& layout, const QSize& units);
    QWidget* buildLabel(const ControlTemplate& layout);
    QWidget* buildEdit(const ControlTemplate& layout);
    QWidget* buildLineEdit(const ControlTemplate& layout);
    QWidget* buildMultiLineEdit(const ControlTemplate& layout);
    QWidget* buildButton(const ControlTemplate& layout);
    QWidget* buildCheckBox(const ControlTemplate& layout);
    QWidget* buildListBox(const ControlTemplate& layout);
    QWidget* buildColumnList(const ControlTemplate& layout);
    QWidget* buildComboBox(const ControlTemplate& layout);
    QWidget* buildIcon(const ControlTemplate& layout, const QSize& units);
    QWidget* buildChart(const ControlTemplate& layout);
    QWidget* buildTable(const ControlTemplate& layout);
    QWidget* buildHeatmap(const ControlTemplate& layout);
    QWidget* buildTabBar(const ControlTemplate& layout);
    void showPage(int page);
    void sizeColumns(Control& control);
    void sizeListColumns(Control& control);
    Control* find(int id);
    const Control* find(int id) const;
    void showText(Control& control, const std::string& text);
    void syncSelection(Control& control, bool scroll);
    void userSelected(Control& control, int row);
    void deliver(int id, Notification notification);
    void dropFile(const std::filesystem::path& file);
    void placeAnchored(const QSize& windowSize);
    void cancel();

    Dialog& dialog;
    std::unique_ptr<QtDialogWindow> dialogWindow;
    std::map<int, Control> controls;
    // Controls that move or stretch as the window grows, with their place at the template size.
    struct Anchored {
        QWidget* widget;
        unsigned anchor;
        QRect templateRect;
    };
    std::vector<Anchored> anchored;
    QSize templateSize;  // in pixels: the window opens at this size and never gets smaller
    std::vector<std::pair<QWidget*, int>> pagedWidgets;  // controls on a page, and their page
    QSize units;                                         // the dialog font's base units
    std::function<void()> afterDelivery;
    int syncDepth = 0;  // selection changes made by the program, not the user
    QTimer frameTimer;  // puts pending display texts into their widgets
};

}  // namespace kv
