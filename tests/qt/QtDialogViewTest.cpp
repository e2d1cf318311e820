// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/QtTestSupport.h"

#include "resources/ControlIds.h"
#include "resources/Templates.h"
#include "text/Cp932.h"
#include "toolkit/ListBox.h"
#include "toolkit/qt/QtDialogView.h"
#include "toolkit/qt/QtPlatform.h"
#include "toolkit/qt/TextLinesView.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QHeaderView>
#include <QTableView>
#include <QTextBlock>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <map>

namespace kv {
namespace {

using test::RecordingDialog;

const DialogTemplate& probeTemplate()
{
    static const DialogTemplate t = [] {
        DialogTemplate d{900, toCp932("試験"), "MS Shell Dlg", 9, 200, 120};
        d.controls = {
            {ControlKind::Label, 10, toCp932("見出し"), 5, 5, 60, 8},
            {ControlKind::Edit, 11, {}, 5, 15, 60, 12},
            {ControlKind::Edit, 12, {}, 70, 15, 60, 12, StyleReadOnly},
            {ControlKind::Button, 13, toCp932("押す"), 140, 5, 50, 14},
            {ControlKind::CheckBox, 14, toCp932("選ぶ"), 140, 25, 50, 10},
            {ControlKind::ListBox, 15, {}, 5, 30, 120, 80, StyleVScroll},
            {ControlKind::ComboBox, 16, {}, 140, 40, 50, 60, StyleNone, {toCp932("甲"), toCp932("乙")}},
            {ControlKind::Button, IDOK, "OK", 140, 100, 50, 14, StyleDefault},
        };
        return d;
    }();
    return t;
}

// The kinds the larger dialogs are made of: a read-only multi-line edit that scrolls sideways,
// a right-aligned digits-only edit, a wrapping note, a drop-down list and a default button.
const DialogTemplate& formsTemplate()
{
    static const DialogTemplate t = [] {
        DialogTemplate d{902, toCp932("記録"), "MS Shell Dlg", 8, 385, 214};
        d.controls = {
            {ControlKind::Edit,
             31,
             {},
             7,
             7,
             315,
             200,
             StyleMultiline | StyleReadOnly | StyleBorder | StyleVScroll | StyleHScroll},
            {ControlKind::Button, 32, toCp932("更新"), 329, 7, 49, 15},
            {ControlKind::Button, IDOK, toCp932("閉じる"), 328, 44, 50, 14, StyleDefault},
            {ControlKind::Edit, 33, {}, 329, 62, 49, 12, StyleRightAlign | StyleBorder | StyleDigitsOnly},
            {ControlKind::Label, 34, toCp932("記録が長すぎる場合ははずします。"), 329, 80, 50, 40,
             StyleMultiline},
            {ControlKind::ComboBox, 35, {}, 329, 125, 50, 60, StyleVScroll, {toCp932("年"), toCp932("月")}},
            {ControlKind::CheckBox, 36, toCp932("空売り"), 329, 145, 50, 11, StyleDisabled},
        };
        return d;
    }();
    return t;
}

template <class W>
W* control(const QtDialogView& view, int id)
{
    return qobject_cast<W*>(view.widget(id));
}

QString shown(const std::string& utf8)
{
    return QString::fromUtf8(utf8.c_str());
}

// What the dialog units must give on screen: every control inside its window, placed in the
// order the template places it, and no caption cut.
TEST(QtDialogView, EveryTemplateBuildsItsControlsInsideTheWindowWithCaptionsWhole)
{
    for (const DialogTemplate* layout :
         {&mainDialogTemplate(), &aboutDialogTemplate(), &printDialogTemplate(), &resultsDialogTemplate(),
          &optimisationDialogTemplate(), &optionDialogTemplate(), &logDialogTemplate(), &probeTemplate(),
          &formsTemplate()}) {
        SCOPED_TRACE(layout->id);
        QtPlatform platform;
        RecordingDialog dialog(platform, *layout);
        QtDialogView view(dialog, nullptr);
        QWidget* window = view.window();

        const QFont font = window->font();
        EXPECT_TRUE(QFontInfo(font).family().contains(QLatin1String("CJK")))
            << QFontInfo(font).family().toStdString();
        const QFontMetrics metrics(font);
        EXPECT_EQ(window->windowTitle(), QString::fromStdString(toDisplayUtf8(layout->title)));
        EXPECT_EQ(window->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly).size(),
                  static_cast<qsizetype>(layout->controls.size()));

        for (const ControlTemplate& c : layout->controls) {
            if (c.id == IDC_STATIC)
                continue;
            SCOPED_TRACE(c.id);
            QWidget* widget = window->findChild<QWidget*>(QStringLiteral("ctl%1").arg(c.id));
            ASSERT_NE(widget, nullptr);
            EXPECT_TRUE(window->rect().contains(widget->geometry())) << c.x << "," << c.y;
            for (const ControlTemplate& other : layout->controls) {
                QWidget* o = window->findChild<QWidget*>(QStringLiteral("ctl%1").arg(other.id));
                if (other.id == IDC_STATIC || !o)
                    continue;
                if (c.x < other.x) {
                    EXPECT_LT(widget->x(), o->x()) << other.id;
                }
                if (c.y < other.y) {
                    EXPECT_LT(widget->y(), o->y()) << other.id;
                }
            }
            const QString caption = QString::fromStdString(toDisplayUtf8(c.caption));
            if (auto* label = qobject_cast<QLabel*>(widget)) {
                if (label->wordWrap())
                    EXPECT_LE(label->heightForWidth(label->width()), label->height()) << c.caption;
                else
                    EXPECT_LE(metrics.horizontalAdvance(label->text()), label->width()) << c.caption;
            } else if (qobject_cast<QPushButton*>(widget) || qobject_cast<QCheckBox*>(widget)) {
                EXPECT_LE(metrics.horizontalAdvance(caption), widget->width()) << c.caption;
            }
            EXPECT_EQ(widget->isEnabled(), !(c.style & StyleDisabled));
            if (auto* button = qobject_cast<QPushButton*>(widget)) {
                EXPECT_EQ(button->isDefault(), bool(c.style & StyleDefault));
            }
            EXPECT_EQ(view.enabled(c.id), !(c.style & StyleDisabled));
            // A progress bar shows its share of the work.
            if (auto* bar = qobject_cast<QProgressBar*>(widget)) {
                view.setProgress(c.id, 16, 64);
                EXPECT_EQ(bar->value() - bar->minimum(), (bar->maximum() - bar->minimum()) / 4);
            }
        }
    }
}

TEST(QtDialogView, MainWindowCaptionsFitTheirControls)
{
    QtPlatform platform;
    RecordingDialog dialog(platform, mainDialogTemplate());
    QtDialogView view(dialog, nullptr);

    QFontMetrics metrics(view.window()->font());
    for (QLabel* label : view.window()->findChildren<QLabel*>())
        EXPECT_LE(metrics.horizontalAdvance(label->text()), label->width()) << label->text().toStdString();
    for (QPushButton* button : view.window()->findChildren<QPushButton*>())
        EXPECT_LT(metrics.horizontalAdvance(button->text()), button->width()) << button->text().toStdString();
    for (QGroupBox* box : view.window()->findChildren<QGroupBox*>())
        EXPECT_LT(metrics.horizontalAdvance(box->title()), box->width()) << box->title().toStdString();
}

TEST(QtDialogView, EarlierControlsStayOnTopWhereTheyOverlap)
{
    QtPlatform platform;
    RecordingDialog dialog(platform, mainDialogTemplate());
    QtDialogView view(dialog, nullptr);

    // The asset figure runs 6 units under the current date, which comes later in the template.
    QRect overlap = view.widget(IDC_OPERATING_ASSETS)->geometry() & view.widget(IDC_CURRENT_DATE)->geometry();
    ASSERT_FALSE(overlap.isEmpty());
    EXPECT_EQ(view.window()->childAt(overlap.center()), view.widget(IDC_OPERATING_ASSETS));
    // Controls inside a group box are never covered by it.
    EXPECT_EQ(view.window()->childAt(view.widget(IDC_CODE)->geometry().center()), view.widget(IDC_CODE));
}

// A window grows when a control is anchored right or bottom: an anchored control moves or
// stretches with it, a plain one keeps its place, and the window never gets smaller than its
// template. A window without anchors keeps its size.
TEST(QtDialogView, AnchoredControlsFollowTheWindowAsItGrows)
{
    DialogTemplate grows{903, "grows", "MS Shell Dlg", 8, 200, 100};
    grows.controls = {
        {ControlKind::Edit, 41, {}, 5, 5, 100, 60},      {ControlKind::Edit, 42, {}, 110, 5, 80, 60},
        {ControlKind::Button, 43, "b", 150, 80, 40, 14}, {ControlKind::Button, 44, "c", 5, 80, 40, 14},
        {ControlKind::Edit, 45, {}, 5, 66, 50, 10},      {ControlKind::Edit, 46, {}, 60, 66, 50, 10},
    };
    grows.controls[1].anchor = AnchorAll;
    grows.controls[2].anchor = AnchorBottomRight;
    grows.controls[3].anchor = AnchorLeft | AnchorBottom;
    // Two side by side sharing the added width, below the first control sharing its height.
    grows.controls[4].anchor = AnchorLeft | AnchorRightHalf | AnchorTopHalf;
    grows.controls[5].anchor = AnchorLeftHalf | AnchorRight | AnchorTopHalf | AnchorBottom;
    QtPlatform platform;
    RecordingDialog dialog(platform, grows);
    QtDialogView view(dialog, nullptr);
    QWidget* window = view.window();
    const QSize opened = window->size();
    EXPECT_EQ(window->minimumSize(), opened);
    EXPECT_GT(window->maximumWidth(), opened.width());
    std::map<int, QRect> before;
    for (int id : {41, 42, 43, 44, 45, 46})
        before[id] = view.widget(id)->geometry();

    window->resize(opened + QSize(120, 70));
    window->show();
    const struct {
        int id;
        QRect expected;
    } rows[] = {
        {41, before[41]},
        {42, before[42].adjusted(0, 0, 120, 70)},
        {43, before[43].translated(120, 70)},
        {44, before[44].translated(0, 70)},
        {45, before[45].adjusted(0, 35, 60, 35)},
        {46, before[46].adjusted(60, 35, 120, 70)},
    };
    for (const auto& row : rows)
        EXPECT_EQ(view.widget(row.id)->geometry(), row.expected) << row.id;
    window->hide();

    RecordingDialog fixed(platform, probeTemplate());
    QtDialogView fixedView(fixed, nullptr);
    EXPECT_EQ(fixedView.window()->minimumSize(), fixedView.window()->maximumSize());
}

// The main and the optimisation window open within a 1366×768 screen less a panel and a title
// bar, and enlarged, their lists, table and maps grow.
TEST(QtDialogView, MainAndOptimisationWindowsFitALaptopScreenAndTheirListsGrow)
{
    const struct {
        const DialogTemplate* layout;
        std::vector<int> growing;
    } windows[] = {
        {&mainDialogTemplate(), {IDC_SIGNAL_LIST, IDC_HOLDINGS_LIST, IDC_CANDIDATE_LIST, IDC_SELL_LIST}},
        {&optimisationDialogTemplate(), {IDC_OPTIM_TABLE, IDC_OPTIM_HEATMAP, IDC_OPTIM_CHART}},
    };
    for (const auto& w : windows) {
        SCOPED_TRACE(w.layout->id);
        QtPlatform platform;
        RecordingDialog dialog(platform, *w.layout);
        QtDialogView view(dialog, nullptr);
        QWidget* window = view.window();
        EXPECT_LE(window->width(), 1366);
        EXPECT_LE(window->height(), 768 - 40 - 30);
        std::map<int, QSize> before;
        for (int id : w.growing)
            before[id] = view.widget(id)->size();
        window->resize(window->size() + QSize(300, 200));
        window->show();
        for (int id : w.growing) {
            EXPECT_GT(view.widget(id)->height(), before[id].height()) << id;
            EXPECT_TRUE(window->rect().contains(view.widget(id)->geometry())) << id;
        }
        EXPECT_GT(view.widget(w.growing.front())->width(), before[w.growing.front()].width());
        window->hide();
    }
}

TEST(QtDialogView, AboutBoxShowsTheApplicationIcon)
{
    QtPlatform platform;
    RecordingDialog dialog(platform, aboutDialogTemplate());
    QtDialogView view(dialog, nullptr);

    int icons = 0;
    for (QLabel* label : view.window()->findChildren<QLabel*>())
        icons += !label->pixmap().isNull();
    EXPECT_EQ(icons, 1);
    EXPECT_FALSE(view.window()->windowIcon().isNull());
}

TEST(QtDialogView, ShowsTextsAsTheCodePageDoesAndTouchesOnlyChangedWidgets)
{
    QtPlatform platform;
    RecordingDialog dialog(platform, probeTemplate());
    QtDialogView view(dialog, nullptr);
    auto* display = control<QLineEdit>(view, 12);
    auto* input = control<QLineEdit>(view, 11);
    ASSERT_TRUE(display && input);

    // 0x5C is the yen sign of the code page; a one-line control never shows a line break.
    // A read-only display takes its text with the next frame; its bytes are there at once.
    view.setText(12, "\\100\r\n");
    EXPECT_EQ(view.text(12), "\\100\r\n");
    EXPECT_TRUE(display->text().isEmpty());
    EXPECT_TRUE(test::waitFor([&] { return display->text() == shown("¥100"); }));
    EXPECT_EQ(view.text(12), "\\100\r\n");
    view.setText(10, toCp932("二\r\n行"));
    EXPECT_EQ(control<QLabel>(view, 10)->text(), shown("二行"));

    // An unchanged text leaves the widget alone; a changed one replaces it.
    display->setText(QStringLiteral("untouched"));
    view.setText(12, "\\100\r\n");
    EXPECT_EQ(display->text(), QStringLiteral("untouched"));
    view.setText(12, "\\200");
    view.showPendingTexts();
    EXPECT_EQ(display->text(), shown("¥200"));

    // What the user types comes back in code page 932, the yen sign as 0x5C.
    input->setText(shown("¥5 円"));
    EXPECT_EQ(view.text(11), toCp932("\\5 円"));

    // Once the user has typed, pushing the last pushed text again must show it again.
    view.setText(11, "A");
    input->setFocus();
    QKeyEvent end(QEvent::KeyPress, Qt::Key_End, Qt::NoModifier);
    QKeyEvent key(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, QStringLiteral("B"));
    QApplication::sendEvent(input, &end);
    QApplication::sendEvent(input, &key);
    EXPECT_EQ(input->text(), QStringLiteral("AB"));
    view.setText(11, "A");
    EXPECT_EQ(input->text(), QStringLiteral("A"));
}

TEST(QtDialogView, ButtonsCheckBoxesAndMenuItemsReachTheDialog)
{
    QtPlatform platform;
    RecordingDialog dialog(platform, probeTemplate());
    QtDialogView view(dialog, nullptr);

    control<QPushButton>(view, 13)->click();
    control<QCheckBox>(view, 14)->click();
    EXPECT_TRUE(view.checked(14));
    view.addMenuItem(toCp932("版情報(&A)..."), IDM_ABOUTBOX);
    ASSERT_EQ(view.window()->actions().size(), 1);
    EXPECT_EQ(view.window()->actions().front()->text(), shown("版情報(&A)..."));
    view.window()->actions().front()->trigger();

    using C = std::pair<int, Notification>;
    EXPECT_EQ(dialog.commands,
              (std::vector<C>{{13, Notification::Clicked},
                              {14, Notification::Clicked},
                              {IDM_ABOUTBOX, Notification::MenuCommand}}));
}

TEST(QtDialogView, BoundListShowsTheRowsOfItsBoxAndFollowsThem)
{
    QtPlatform platform;
    RecordingDialog dialog(platform, probeTemplate());
    ListBox rows;
    rows.append("a");
    rows.append(toCp932("\\1 円\r\n"));
    {
        QtDialogView view(dialog, nullptr);
        view.bindList(15, rows);
        QAbstractItemModel* model = control<QListView>(view, 15)->model();
        auto row = [model](int i) { return model->data(model->index(i, 0)).toString(); };
        ASSERT_EQ(model->rowCount(), 2);
        EXPECT_EQ(row(1), shown("¥1 円"));

        rows.append("c");
        EXPECT_EQ(model->rowCount(), 3);
        rows.remove(0);
        EXPECT_EQ(model->rowCount(), 2);
        EXPECT_EQ(row(0), shown("¥1 円"));

        {
            ListBox::AppendBatch batch(rows);
            for (int i = 0; i < 250000; ++i)
                rows.append("row");
            EXPECT_EQ(model->rowCount(), 2);  // announced when the batch closes
        }
        EXPECT_EQ(model->rowCount(), 250002);
        EXPECT_EQ(row(250001), QStringLiteral("row"));

        view.bindList(15, rows);
        EXPECT_EQ(control<QListView>(view, 15)->model(), model);
        rows.clear();
        EXPECT_EQ(model->rowCount(), 0);
        EXPECT_NE(rows.currentObserver(), nullptr);
    }
    EXPECT_EQ(rows.currentObserver(), nullptr);
}

// The main window's lists split their rows into the fields under their headers: a field a
// column, an empty field an empty cell, the performance's line break not shown, and the cells
// joined by single blanks give the row back. A selection by index selects the whole row.
TEST(QtDialogView, MainWindowListsShowTheirRowsAsColumns)
{
    QtPlatform platform;
    RecordingDialog dialog(platform, mainDialogTemplate());
    ListBox signalRows, holdings;
    signalRows.append(toCp932("0005 極洋　水産 2004/01/05 250 ○ 2004/01/14 270 +8.0%\r\n 1000"));
    signalRows.append(toCp932("1735 九州繊維 2004/01/05  × 2004/01/14 214500 -8.2% 1"));
    holdings.append(toCp932("0005 極洋 2004/01/05 250 ○ 2004/01/14 270 +8.0% 1000 3"));
    QtDialogView view(dialog, nullptr);
    view.bindList(IDC_SIGNAL_LIST, signalRows);
    view.bindList(IDC_HOLDINGS_LIST, holdings);

    struct Shown {
        int id;
        const ListBox* box;
        int columns;
    };
    for (auto [id, box, columns] :
         {Shown{IDC_SIGNAL_LIST, &signalRows, 9}, Shown{IDC_HOLDINGS_LIST, &holdings, 10}}) {
        SCOPED_TRACE(id);
        auto* table = control<QTableView>(view, id);
        ASSERT_NE(table, nullptr);
        QAbstractItemModel* model = table->model();
        ASSERT_EQ(table->horizontalHeader()->count(), columns);
        ASSERT_EQ(model->columnCount(), columns);
        EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), shown("コード"));
        for (int r = 0; r < box->count(); ++r) {
            QStringList cells;
            for (int c = 0; c < columns; ++c)
                cells << model->data(model->index(r, c)).toString();
            QString row = QString::fromStdString(toDisplayUtf8(box->row(r))).remove('\r').remove('\n');
            EXPECT_EQ(cells.join(' '), row);
        }
        EXPECT_TRUE(model->data(model->index(0, 3), Qt::TextAlignmentRole).value<Qt::Alignment>() &
                    Qt::AlignRight);
    }
    QAbstractItemModel* model = control<QTableView>(view, IDC_SIGNAL_LIST)->model();
    EXPECT_EQ(model->data(model->index(0, 1)).toString(), shown("極洋　水産"));
    EXPECT_EQ(model->data(model->index(1, 3)).toString(), QString());
    EXPECT_EQ(model->headerData(9, Qt::Horizontal).toString(), QString());
    EXPECT_EQ(control<QTableView>(view, IDC_HOLDINGS_LIST)->model()->headerData(9, Qt::Horizontal).toString(),
              shown("ロット"));

    signalRows.setSelection(1);
    EXPECT_EQ(control<QTableView>(view, IDC_SIGNAL_LIST)->selectionModel()->selectedRows().size(), 1);
    EXPECT_EQ(control<QTableView>(view, IDC_SIGNAL_LIST)->selectionModel()->selectedRows().first().row(), 1);
}

void clickRow(QListView* list, int row)
{
    QPoint at = list->visualRect(list->model()->index(row, 0)).center();
    QMouseEvent press(QEvent::MouseButtonPress, at, list->viewport()->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, list->viewport()->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &press);
    QApplication::sendEvent(list->viewport(), &release);
}

TEST(QtDialogView, UserSelectionReachesTheBoxAndTheDialogButTheProgramsDoesNot)
{
    QtPlatform platform;
    RecordingDialog dialog(platform, probeTemplate());
    QtDialogView view(dialog, nullptr);
    ListBox rows;
    for (const char* r : {"0", "1", "2", "3", "4"})
        rows.append(r);
    ComboBox choice;
    view.bindList(15, rows);
    view.bindList(16, choice);
    view.window()->show();
    auto* list = control<QListView>(view, 15);
    auto selectedRow = [list] {
        QModelIndexList selected = list->selectionModel()->selectedIndexes();
        return selected.isEmpty() ? -1 : selected.front().row();
    };
    const std::pair<int, Notification> listChanged{15, Notification::SelectionChanged};

    clickRow(list, 2);
    EXPECT_EQ(rows.selection(), 2);
    ASSERT_EQ(dialog.commands.size(), 1u);
    EXPECT_EQ(dialog.commands.back(), listChanged);

    rows.setSelection(4);
    EXPECT_EQ(selectedRow(), 4);
    EXPECT_EQ(dialog.commands.size(), 1u);

    // A click on the row already selected is reported again.
    clickRow(list, 4);
    EXPECT_EQ(dialog.commands.size(), 2u);
    EXPECT_EQ(rows.selection(), 4);

    // A combo box bound to empty rows takes the template's items and selects none of them.
    auto* combo = control<QComboBox>(view, 16);
    ASSERT_EQ(choice.count(), 2);
    EXPECT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->currentIndex(), -1);
    emit combo->activated(1);
    EXPECT_EQ(choice.selection(), 1);
    EXPECT_EQ(dialog.commands.back(), (std::pair<int, Notification>{16, Notification::SelectionChanged}));
    view.window()->hide();
}

void clickButton(QWidget* button)
{
    QPoint at = button->rect().center();
    QMouseEvent press(QEvent::MouseButtonPress, at, button->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, button->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(button, &press);
    QApplication::sendEvent(button, &release);
}

void pressKey(QWidget* target, Qt::Key key, const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
}

TEST(QtDialogView, DisabledControlsIgnoreTheUserAndEnterPressesTheDefaultButton)
{
    QtPlatform platform;
    RecordingDialog dialog(platform, formsTemplate());
    QtDialogView view(dialog, nullptr);
    dialog.attachView(&view);
    view.window()->show();

    dialog.enableControl(32, false);
    EXPECT_FALSE(view.widget(32)->isEnabled());
    EXPECT_FALSE(view.enabled(32));
    clickButton(view.widget(32));
    EXPECT_TRUE(dialog.commands.empty());
    dialog.enableControl(32, true);
    clickButton(view.widget(32));
    ASSERT_EQ(dialog.commands.size(), 1u);

    // The template's disabled check box comes up disabled and can be enabled.
    EXPECT_FALSE(view.enabled(36));
    dialog.enableControl(36, true);
    clickButton(view.widget(36));
    EXPECT_TRUE(view.checked(36));

    // Enter presses the default button, but not while it is disabled.
    dialog.commands.clear();
    dialog.enableControl(IDOK, false);
    pressKey(view.window(), Qt::Key_Return);
    EXPECT_TRUE(dialog.commands.empty());
    dialog.enableControl(IDOK, true);
    pressKey(view.window(), Qt::Key_Return);
    EXPECT_EQ(dialog.commands, (std::vector<std::pair<int, Notification>>{{IDOK, Notification::Clicked}}));
    EXPECT_TRUE(dialog.ended());

    view.window()->hide();
    dialog.attachView(nullptr);
}

TEST(QtDialogView, TheLargerDialogsControlsBehaveAsTheirStylesSay)
{
    QtPlatform platform;
    RecordingDialog dialog(platform, formsTemplate());
    QtDialogView view(dialog, nullptr);

    // A long record: a line for every CR LF (or lone CR), nothing wrapped, the bytes kept as given.
    auto* record = control<TextLinesView>(view, 31);
    ASSERT_NE(record, nullptr);
    std::string text;
    for (int i = 0; i < 20000; ++i)
        text += toCp932("2004/01/05 3862 三光 126 \\5000\r\n");
    text += "a\rb\n\nc";
    view.setText(31, text);
    EXPECT_EQ(record->lineCount(), 20004);
    EXPECT_EQ(record->lineText(7), shown("2004/01/05 3862 三光 126 ¥5000"));
    EXPECT_EQ(record->lineText(20000), QStringLiteral("a"));
    EXPECT_EQ(record->lineText(20001), QStringLiteral("b"));
    EXPECT_EQ(record->lineText(20002), QString());
    EXPECT_EQ(record->lineText(20003), QStringLiteral("c"));
    EXPECT_EQ(view.text(31), text);
    // The longest line can be scrolled into view; the end of the text too.
    record->resize(200, 100);
    EXPECT_GT(record->horizontalScrollBar()->maximum(), 0);
    record->verticalScrollBar()->setValue(record->verticalScrollBar()->maximum());
    EXPECT_GT(record->firstVisibleLine() + 1, 20000);
    view.setText(31, "");  // a new text starts at its top
    EXPECT_EQ(record->lineCount(), 1);
    EXPECT_EQ(record->firstVisibleLine(), 0);

    // Tab goes through the controls in the template's order.
    QStringList chain;
    QWidget* next = view.widget(31);
    do {
        if (next->objectName().startsWith(QLatin1String("ctl")))
            chain << next->objectName();
        next = next->nextInFocusChain();
    } while (next != view.widget(31));
    EXPECT_EQ(chain, (QStringList{"ctl31", "ctl32", "ctl1", "ctl33", "ctl34", "ctl35", "ctl36"}));

    // A digits-only edit takes digits as typed and nothing else.
    auto* digits = control<QLineEdit>(view, 33);
    ASSERT_NE(digits, nullptr);
    EXPECT_TRUE(digits->alignment() & Qt::AlignRight);
    digits->setFocus();
    pressKey(digits, Qt::Key_1, QStringLiteral("1"));
    pressKey(digits, Qt::Key_A, QStringLiteral("a"));
    pressKey(digits, Qt::Key_Minus, QStringLiteral("-"));
    pressKey(digits, Qt::Key_2, QStringLiteral("2"));
    EXPECT_EQ(view.text(33), "12");
    view.setText(33, "-5");  // what the program shows there is shown whole
    EXPECT_EQ(view.text(33), "-5");

    // A note wraps within its box; a line break in its text starts a new line.
    auto* note = control<QLabel>(view, 34);
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(note->wordWrap());
    view.setText(34, "a\r\nb");
    EXPECT_EQ(note->text(), QStringLiteral("a\nb"));
}

}  // namespace
}  // namespace kv
