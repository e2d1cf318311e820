// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/qt/QtDialogView.h"

#include "text/Cp932.h"
#include "text/OutputFile.h"
#include "toolkit/DialogTemplate.h"
#include "toolkit/ListBox.h"
#include "toolkit/qt/ChartWidget.h"
#include "toolkit/qt/HeatmapWidget.h"
#include "toolkit/qt/ListBoxModel.h"
#include "toolkit/qt/QtDialogWindow.h"
#include "toolkit/qt/QtPlatform.h"
#include "toolkit/qt/TextLinesView.h"
#include "toolkit/qt/TableModel.h"

#include <QAction>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QToolTip>
#include <QHelpEvent>
#include <QTableView>

#include <algorithm>

namespace kv {

namespace {

QString displayText(const std::string& cp932)
{
    return QString::fromStdString(toDisplayUtf8(cp932));
}

// A one-line control never shows a raw line break.
QString oneLineText(const std::string& cp932)
{
    QString text = displayText(cp932);
    text.remove(QLatin1Char('\r'));
    text.remove(QLatin1Char('\n'));
    return text;
}

// The multi-line edit breaks lines at CR LF; Qt breaks them at LF. CR and LF are never part of
// a double-byte character, so the line ends are changed on the bytes, which is quicker on a text
// of hundreds of thousands of lines than replacing them in the decoded text.
QString multiLineText(const std::string& cp932)
{
    std::string lines;
    lines.reserve(cp932.size());
    for (size_t i = 0; i < cp932.size(); ++i) {
        if (cp932[i] != '\r')
            lines += cp932[i];
        else if (i + 1 == cp932.size() || cp932[i + 1] != '\n')
            lines += '\n';
    }
    return displayText(lines);
}

// What the user typed, back in code page 932: the yen sign the display shows for byte 0x5C
// becomes that byte again.
std::string typedText(QString text, bool multiline)
{
    text.replace(QChar(0x00A5), QLatin1Char('\\'));
    if (multiline)
        text.replace(QLatin1String("\n"), QLatin1String("\r\n"));
    return toCp932(text.toStdString());
}

int selectedRow(const QAbstractItemView* view)
{
    const QModelIndexList rows = view->selectionModel()->selectedIndexes();
    return rows.isEmpty() ? -1 : rows.first().row();
}

// A single-selection list that also reports a click on the row that is already selected, as
// the user may want that row shown again after looking at another list.
template <class View>
class ReselectingView : public View {
public:
    using View::View;
    std::function<void(int)> reselected;

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        int before = selectedRow(this);
        View::mousePressEvent(event);
        QModelIndex hit = this->indexAt(event->position().toPoint());
        if (reselected && hit.isValid() && hit.row() == before && selectedRow(this) == before)
            reselected(before);
    }
};
using RowListView = ReselectingView<QListView>;
using RowTableView = ReselectingView<QTableView>;

// Shows a cell's tip (its whole text) only while the cell is too narrow to show it all.
class CutCellTips : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override
    {
        if (event->type() == QEvent::ToolTip && !isCut(view, option, index)) {
            QToolTip::hideText();
            return true;
        }
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    }

    static bool isCut(const QAbstractItemView* view, const QStyleOptionViewItem& option,
                      const QModelIndex& index)
    {
        QStyle* style = view->style();
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
        const QString text = index.data(Qt::DisplayRole).toString();
        return option.fontMetrics.horizontalAdvance(text) > option.rect.width() - 2 * margin;
    }
};

// Converts a dialog-unit length to pixels, rounding like the platform's MulDiv.
int scale(int value, int base, int divisor)
{
    return (2 * value * base + divisor) / (2 * divisor);
}

}  // namespace

namespace {
constexpr int kFrameMilliseconds = 16;
constexpr int kMinimumImageWidth = 1600;  // pixels of a saved picture, at the least
}  // namespace

QtDialogView::QtDialogView(Dialog& dialog, QWidget* owner) : dialog(dialog)
{
    const DialogTemplate& layout = dialog.dialogTemplate();
    dialogWindow = std::make_unique<QtDialogWindow>(owner, [this] { cancel(); });
    QtDialogWindow* w = dialogWindow.get();

    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
        Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (layout.minimizeBox)
        flags |= Qt::WindowMinimizeButtonHint;
    if (layout.resizable())
        flags |= Qt::WindowMaximizeButtonHint;
    w->setWindowFlags(flags);
    w->setWindowModality(Qt::ApplicationModal);
    w->setWindowTitle(displayText(layout.title));
    w->setWindowIcon(QtPlatform::applicationIcon());
    w->setObjectName(QStringLiteral("dlg%1").arg(layout.id));
    w->setContextMenuPolicy(Qt::ActionsContextMenu);
    w->setFileDrop(
        [this](const std::filesystem::path& file) { return this->dialog.acceptsDroppedFile(file); },
        [this](const std::filesystem::path& file) { dropFile(file); });

    QFont font = dialogFont(layout.fontName, layout.fontPoints);
    w->setFont(font);
    units = baseUnits(font);
    templateSize = toPixels(units, 0, 0, layout.width, layout.height).size();
    if (layout.resizable()) {
        // Opens at the template size every time; nothing of an earlier size is kept.
        w->setMinimumSize(templateSize);
        w->resize(templateSize);
        w->setResizeHandler([this](const QSize& size) { placeAnchored(size); });
    } else {
        w->setFixedSize(templateSize);
    }

    for (const ControlTemplate& control : layout.controls)
        buildControl(control, units);
    frameTimer.setSingleShot(true);
    frameTimer.setInterval(kFrameMilliseconds);
    QObject::connect(&frameTimer, &QTimer::timeout, [this] { showPendingTexts(); });
    // Stack the controls as the templates were designed for: the first control on top, so where
    // two fields touch (the asset figure and the current date) the earlier one stays whole.
    const QObjectList built = w->children();
    for (auto it = built.rbegin(); it != built.rend(); ++it)
        if (auto* widget = qobject_cast<QWidget*>(*it))
            widget->raise();
    // A group box only frames its neighbours; it must never cover them.
    for (QGroupBox* box : w->findChildren<QGroupBox*>(QString(), Qt::FindDirectChildrenOnly))
        box->lower();
}

QtDialogView::~QtDialogView()
{
    // The widgets go first, then the models, which stop observing their boxes.
    dialogWindow.reset();
    for (auto& [id, control] : controls) {
        delete control.model;
        delete control.tableModel;
    }
}

QWidget* QtDialogView::window() const
{
    return dialogWindow.get();
}

QWidget* QtDialogView::widget(int id) const
{
    const Control* control = find(id);
    return control ? control->widget : nullptr;
}

QFont QtDialogView::dialogFont(const std::string&, int points)
{
    // The templates name Windows fonts (ＭＳ ゴシック, MS UI Gothic, MS Shell Dlg). Noto Sans CJK
    // JP stands for all of them: at the same pixel size it has their proportions, a full-width
    // character of one em against an average letter of about half an em rounded up, so every
    // caption fits the box it was laid out for. The monospaced Noto averages just under half an
    // em, which the base-unit rule truncates, and the long column caption would be cut.
    QFont font(QStringLiteral("Noto Sans CJK JP"));
    font.setStyleHint(QFont::SansSerif);
    // Whole pixels, as the platform the templates were made for rounds a point size.
    qreal dpi = 96;
    if (QScreen* screen = QGuiApplication::primaryScreen())
        dpi = screen->logicalDotsPerInchY();
    font.setPixelSize(qMax(1, qRound(points * dpi / 72.0)));
    return font;
}

QSize QtDialogView::baseUnits(const QFont& font)
{
    QFontMetrics metrics(font);
    int letters =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {(letters / 26 + 1) / 2, metrics.height()};
}

QRect QtDialogView::toPixels(const QSize& units, int x, int y, int width, int height)
{
    int left = scale(x, units.width(), 4);
    int top = scale(y, units.height(), 8);
    return {left, top, scale(width, units.width(), 4), scale(height, units.height(), 8)};
}

void QtDialogView::placeAnchored(const QSize& windowSize)
{
    const int grownWidth = std::max(windowSize.width() - templateSize.width(), 0);
    const int grownHeight = std::max(windowSize.height() - templateSize.height(), 0);
    for (const Anchored& a : anchored) {
        const QRect& r = a.templateRect;
        const ControlRect placed =
            anchoredRect(a.anchor, {r.x(), r.y(), r.width(), r.height()}, grownWidth, grownHeight);
        a.widget->setGeometry(placed.x, placed.y, placed.width, placed.height);
    }
}

void QtDialogView::buildControl(const ControlTemplate& layout, const QSize& units)
{
    QWidget* widget = buildWidget(layout, units);
    if (!widget)
        return;
    const QRect place = toPixels(units, layout.x, layout.y, layout.width, layout.height);
    widget->setGeometry(place);
    widget->setEnabled(!(layout.style & StyleDisabled));
    if (layout.anchor != AnchorTopLeft)
        anchored.push_back({widget, layout.anchor, place});
    if (layout.page >= 0) {
        pagedWidgets.emplace_back(widget, layout.page);
        widget->setVisible(layout.page == 0);  // the first page shows when the window opens
    }
    if (layout.id == IDC_STATIC)
        return;
    widget->setObjectName(QStringLiteral("ctl%1").arg(layout.id));
    Control control;
    control.layout = &layout;
    control.widget = widget;
    control.shown = layout.caption;
    control.shownValid = true;
    controls.emplace(layout.id, std::move(control));
}

QWidget* QtDialogView::buildWidget(const ControlTemplate& layout, const QSize& units)
{
    switch (layout.kind) {
    case ControlKind::Label:
        return buildLabel(layout);
    case ControlKind::GroupBox:
        return new QGroupBox(oneLineText(layout.caption), dialogWindow.get());
    case ControlKind::Edit:
        return buildEdit(layout);
    case ControlKind::Button:
        return buildButton(layout);
    case ControlKind::CheckBox:
        return buildCheckBox(layout);
    case ControlKind::ListBox:
        return buildListBox(layout);
    case ControlKind::ComboBox:
        return buildComboBox(layout);
    case ControlKind::Icon:
        return buildIcon(layout, units);
    case ControlKind::Chart:
        return buildChart(layout);
    case ControlKind::Table:
        return buildTable(layout);
    case ControlKind::Heatmap:
        return buildHeatmap(layout);
    case ControlKind::TabBar:
        return buildTabBar(layout);
    case ControlKind::ProgressBar: {
        auto* bar = new QProgressBar(dialogWindow.get());
        bar->setRange(0, 1000);
        bar->setValue(0);
        return bar;
    }
    }
    return nullptr;
}

QWidget* QtDialogView::buildLabel(const ControlTemplate& layout)
{
    const bool wraps = layout.style & StyleMultiline;
    auto* label =
        new QLabel(wraps ? multiLineText(layout.caption) : oneLineText(layout.caption), dialogWindow.get());
    label->setAlignment((layout.style & StyleCenter ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(wraps);
    if (layout.style & StyleBorder)
        label->setFrameStyle(QFrame::Box | QFrame::Plain);
    return label;
}

QWidget* QtDialogView::buildEdit(const ControlTemplate& layout)
{
    const bool readOnly = layout.style & StyleReadOnly;
    QWidget* widget = layout.style & StyleMultiline ? buildMultiLineEdit(layout) : buildLineEdit(layout);
    if (readOnly) {
        // A read-only field has the window's colour, so it reads as a display, not an input.
        QPalette palette = widget->palette();
        palette.setColor(QPalette::Base, palette.color(QPalette::Window));
        widget->setPalette(palette);
    }
    return widget;
}

QWidget* QtDialogView::buildLineEdit(const ControlTemplate& layout)
{
    const int id = layout.id;
    const bool readOnly = layout.style & StyleReadOnly;
    auto* edit = new QLineEdit(oneLineText(layout.caption), dialogWindow.get());
    edit->setReadOnly(readOnly);
    if (layout.style & StyleRightAlign)
        edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (layout.style & StyleDigitsOnly)
        edit->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    edit->setCursorPosition(0);
    const bool notify = layout.style & StyleNotify;
    if (!readOnly)
        QObject::connect(edit, &QLineEdit::textEdited, edit, [this, id, notify] {
            if (Control* c = find(id))
                c->shownValid = false;
            if (notify)
                deliver(id, Notification::TextChanged);
        });
    return edit;
}

QWidget* QtDialogView::buildMultiLineEdit(const ControlTemplate& layout)
{
    const int id = layout.id;
    const bool readOnly = layout.style & StyleReadOnly;
    const Qt::ScrollBarPolicy vertical =
        layout.style & StyleVScroll ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
    // A read-only text whose lines scroll sideways may have hundreds of thousands of lines (a
    // trade record): it shows only the lines in view, where a text document would lay out
    // every line first.
    if (readOnly && (layout.style & StyleHScroll)) {
        auto* lines = new TextLinesView(dialogWindow.get());
        lines->setText(layout.caption);  // the template outlives its dialogs
        lines->setVerticalScrollBarPolicy(vertical);
        lines->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        return lines;
    }
    auto* edit = new QPlainTextEdit(multiLineText(layout.caption), dialogWindow.get());
    edit->setReadOnly(readOnly);
    edit->setLineWrapMode(layout.style & StyleHScroll ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
    edit->setHorizontalScrollBarPolicy(layout.style & StyleHScroll ? Qt::ScrollBarAsNeeded
                                                                   : Qt::ScrollBarAlwaysOff);
    edit->setVerticalScrollBarPolicy(vertical);
    if (!readOnly)
        QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [this, id] {
            Control* c = find(id);
            if (c && !c->settingText)
                c->shownValid = false;
        });
    return edit;
}

QWidget* QtDialogView::buildButton(const ControlTemplate& layout)
{
    const int id = layout.id;
    auto* button = new QPushButton(oneLineText(layout.caption), dialogWindow.get());
    button->setDefault(layout.style & StyleDefault);
    QObject::connect(button, &QPushButton::clicked, button,
                     [this, id] { deliver(id, Notification::Clicked); });
    return button;
}

QWidget* QtDialogView::buildCheckBox(const ControlTemplate& layout)
{
    const int id = layout.id;
    auto* box = new QCheckBox(oneLineText(layout.caption), dialogWindow.get());
    QObject::connect(box, &QCheckBox::clicked, box, [this, id] { deliver(id, Notification::Clicked); });
    return box;
}

QWidget* QtDialogView::buildListBox(const ControlTemplate& layout)
{
    if (!layout.columns.empty())
        return buildColumnList(layout);
    const int id = layout.id;
    auto* list = new RowListView(dialogWindow.get());
    list->setUniformItemSizes(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setHorizontalScrollBarPolicy(layout.style & StyleHScroll ? Qt::ScrollBarAsNeeded
                                                                   : Qt::ScrollBarAlwaysOff);
    list->setVerticalScrollBarPolicy(layout.style & StyleVScroll ? Qt::ScrollBarAsNeeded
                                                                 : Qt::ScrollBarAlwaysOff);
    list->reselected = [this, id](int row) {
        if (Control* c = find(id))
            userSelected(*c, row);
    };
    return list;
}

// The rows under a header, a field a column; the columns can be widened by dragging the header.
QWidget* QtDialogView::buildColumnList(const ControlTemplate& layout)
{
    const int id = layout.id;
    auto* table = new RowTableView(dialogWindow.get());
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setWordWrap(false);
    table->setShowGrid(false);
    table->setCornerButtonEnabled(false);
    table->setTabKeyNavigation(false);
    table->setItemDelegate(new CutCellTips(table));
    // A fixed row height keeps a quarter of a million rows cheap to lay out.
    table->verticalHeader()->hide();
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setMinimumSectionSize(1);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 2);
    QHeaderView* header = table->horizontalHeader();
    header->setHighlightSections(false);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setMinimumSectionSize(scale(8, units.width(), 4));
    header->setFixedHeight(table->fontMetrics().height() + 4);
    table->setHorizontalScrollBarPolicy(layout.style & StyleHScroll ? Qt::ScrollBarAsNeeded
                                                                    : Qt::ScrollBarAlwaysOff);
    table->setVerticalScrollBarPolicy(layout.style & StyleVScroll ? Qt::ScrollBarAsNeeded
                                                                  : Qt::ScrollBarAlwaysOff);
    table->reselected = [this, id](int row) {
        if (Control* c = find(id))
            userSelected(*c, row);
    };
    return table;
}

QWidget* QtDialogView::buildComboBox(const ControlTemplate& layout)
{
    const int id = layout.id;
    auto* combo = new QComboBox(dialogWindow.get());
    // Until rows are bound the box shows the template's own items.
    for (const std::string& item : layout.items)
        combo->addItem(oneLineText(item));
    combo->setCurrentIndex(-1);
    QObject::connect(combo, &QComboBox::activated, combo, [this, id](int row) {
        if (Control* c = find(id))
            userSelected(*c, row);
    });
    return combo;
}

QWidget* QtDialogView::buildIcon(const ControlTemplate& layout, const QSize& units)
{
    auto* label = new QLabel(dialogWindow.get());
    QRect rect = toPixels(units, 0, 0, layout.width, layout.height);
    int side = qMin(32, qMin(rect.width(), rect.height()));
    label->setPixmap(QtPlatform::applicationIcon().pixmap(side, side));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QWidget* QtDialogView::buildChart(const ControlTemplate& layout)
{
    auto* chart = new ChartWidget(dialogWindow.get());
    if (layout.style & StyleBorder)
        chart->setFrameShape(QFrame::StyledPanel);
    return chart;
}

QWidget* QtDialogView::buildTable(const ControlTemplate& layout)
{
    auto* table = new QTableView(dialogWindow.get());
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setWordWrap(false);
    table->setCornerButtonEnabled(false);
    table->verticalHeader()->hide();
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 4);
    table->horizontalHeader()->setHighlightSections(false);
    table->setHorizontalScrollBarPolicy(layout.style & StyleHScroll ? Qt::ScrollBarAsNeeded
                                                                    : Qt::ScrollBarAlwaysOff);
    table->setVerticalScrollBarPolicy(layout.style & StyleVScroll ? Qt::ScrollBarAsNeeded
                                                                  : Qt::ScrollBarAlwaysOff);
    if (!(layout.style & StyleBorder))
        table->setFrameShape(QFrame::NoFrame);
    // A double-click on a row tells the dialog which row of its table it was.
    const int id = layout.id;
    QObject::connect(table, &QAbstractItemView::doubleClicked, table, [this, id](const QModelIndex& index) {
        Control* control = find(id);
        if (!control || !control->tableModel || !index.isValid())
            return;
        control->tableModel->table().activate(index.row());
        deliver(id, Notification::DoubleClicked);
    });
    return table;
}

QWidget* QtDialogView::buildHeatmap(const ControlTemplate& layout)
{
    auto* heatmap = new HeatmapWidget(dialogWindow.get());
    if (layout.style & StyleBorder)
        heatmap->setFrameShape(QFrame::StyledPanel);
    const int id = layout.id;
    heatmap->setOnActivated([this, id] { deliver(id, Notification::DoubleClicked); });
    return heatmap;
}

QWidget* QtDialogView::buildTabBar(const ControlTemplate& layout)
{
    auto* tabs = new QTabBar(dialogWindow.get());
    tabs->setExpanding(false);
    tabs->setDrawBase(true);
    for (const std::string& page : layout.items)
        tabs->addTab(oneLineText(page));
    QObject::connect(tabs, &QTabBar::currentChanged, tabs, [this](int page) { showPage(page); });
    return tabs;
}

// Only the controls of the page shown, and those of every page, are visible.
void QtDialogView::showPage(int page)
{
    for (const auto& [widget, itsPage] : pagedWidgets)
        widget->setVisible(itsPage == page);
}

QtDialogView::Control* QtDialogView::find(int id)
{
    auto it = controls.find(id);
    return it == controls.end() ? nullptr : &it->second;
}

const QtDialogView::Control* QtDialogView::find(int id) const
{
    auto it = controls.find(id);
    return it == controls.end() ? nullptr : &it->second;
}

std::string QtDialogView::text(int id) const
{
    const Control* control = find(id);
    if (!control)
        return {};
    if (control->layout->kind == ControlKind::Edit && !(control->layout->style & StyleReadOnly)) {
        if (auto* line = qobject_cast<QLineEdit*>(control->widget))
            return typedText(line->text(), false);
        if (auto* multi = qobject_cast<QPlainTextEdit*>(control->widget))
            return typedText(multi->toPlainText(), true);
    }
    return control->shown;
}

void QtDialogView::setText(int id, const std::string& text)
{
    Control* control = find(id);
    // A refresh pushes every text on every tick; only a changed text may touch its widget.
    if (!control || (control->shownValid && control->shown == text))
        return;
    // AUTO refreshes on every 0 ms tick, far faster than a screen shows; a read-only display
    // takes its newest text once per frame instead of redrawing for every step.
    bool display = control->layout->kind == ControlKind::Edit && (control->layout->style & StyleReadOnly) &&
        !(control->layout->style & StyleMultiline);
    if (!display) {
        showText(*control, text);
        return;
    }
    control->shown = text;
    control->shownValid = true;
    control->pending = true;
    if (!frameTimer.isActive())
        frameTimer.start();
}

void QtDialogView::showPendingTexts()
{
    frameTimer.stop();
    for (auto& [id, control] : controls) {
        if (control.pending) {
            control.pending = false;
            showText(control, control.shown);
        }
    }
}

void QtDialogView::showText(Control& control, const std::string& text)
{
    control.shown = text;
    control.shownValid = true;
    control.settingText = true;
    QWidget* widget = control.widget;
    if (auto* line = qobject_cast<QLineEdit*>(widget)) {
        // A refresh that brings what the edit already holds leaves it alone: the user may be
        // typing there, and the cursor and the selection stay where the user put them.
        const QString shown = oneLineText(text);
        if (line->text() != shown) {
            const bool typing = line->hasFocus() && !line->isReadOnly();
            const int cursor = line->cursorPosition();
            line->setText(shown);
            // A long text shows its beginning, unless the user is at work in the edit.
            line->setCursorPosition(typing ? std::min(cursor, static_cast<int>(shown.size())) : 0);
        }
    } else if (auto* multi = qobject_cast<QPlainTextEdit*>(widget)) {
        multi->setPlainText(multiLineText(text));
    } else if (auto* lines = qobject_cast<TextLinesView*>(widget)) {
        lines->setText(control.shown);  // kept there until the next text
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(oneLineText(text));
    } else if (auto* box = qobject_cast<QGroupBox*>(widget)) {
        box->setTitle(oneLineText(text));
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        if (control.layout->kind == ControlKind::Label)
            label->setText(control.layout->style & StyleMultiline ? multiLineText(text) : oneLineText(text));
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        Q_UNUSED(combo);  // a drop-down list has no text of its own
    }
    control.settingText = false;
}

bool QtDialogView::checked(int id) const
{
    const Control* control = find(id);
    auto* box = control ? qobject_cast<QCheckBox*>(control->widget) : nullptr;
    return box && box->isChecked();
}

void QtDialogView::setChecked(int id, bool on)
{
    Control* control = find(id);
    auto* box = control ? qobject_cast<QCheckBox*>(control->widget) : nullptr;
    if (box && box->isChecked() != on)
        box->setChecked(on);
}

void QtDialogView::bindList(int id, ListBox& rows)
{
    Control* control = find(id);
    if (!control)
        return;
    auto* list = qobject_cast<QAbstractItemView*>(control->widget);
    auto* combo = qobject_cast<QComboBox*>(control->widget);
    if (!list && !combo)
        return;
    if (control->model) {
        control->model->setRows(rows);  // nothing when the rows are the same
        return;
    }

    takeTemplateItems(*control->layout, rows);  // which the box showed until now
    control->model = new ListBoxModel(rows, nullptr);
    if (!control->layout->columns.empty())
        control->model->setColumns(control->layout->columns);
    control->model->setAfterChange([this, id](bool scroll) {
        if (Control* c = find(id))
            syncSelection(*c, scroll);
    });
    ++syncDepth;
    if (list) {
        list->setModel(control->model);
        sizeListColumns(*control);
        QObject::connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, list,
                         [this, id, list] {
                             Control* c = find(id);
                             if (c && syncDepth == 0)
                                 userSelected(*c, selectedRow(list));
                         });
    } else {
        combo->setModel(control->model);
    }
    --syncDepth;
    syncSelection(*control, true);
}

void QtDialogView::syncSelection(Control& control, bool scroll)
{
    const int row = control.model->rows().selection();
    ++syncDepth;
    if (auto* list = qobject_cast<QAbstractItemView*>(control.widget)) {
        if (selectedRow(list) != row) {
            QItemSelectionModel* selection = list->selectionModel();
            if (row < 0) {
                selection->clear();
            } else {
                QModelIndex index = control.model->index(row, 0);
                selection->setCurrentIndex(index,
                                           QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            }
        }
        if (scroll && row >= 0)
            list->scrollTo(control.model->index(row, 0));
    } else if (auto* combo = qobject_cast<QComboBox*>(control.widget)) {
        // The combo box picks its first row by itself when rows arrive; the box decides.
        if (combo->currentIndex() != row)
            combo->setCurrentIndex(row);
    }
    --syncDepth;
}

void QtDialogView::userSelected(Control& control, int row)
{
    if (!control.model)
        return;
    control.model->rows().userSelected(row);
    deliver(control.layout->id, Notification::SelectionChanged);
}

void QtDialogView::setFocus(int id)
{
    Control* control = find(id);
    if (!control)
        return;
    control->widget->setFocus(Qt::OtherFocusReason);
    if (auto* line = qobject_cast<QLineEdit*>(control->widget))
        line->selectAll();
}

bool QtDialogView::enabled(int id) const
{
    const Control* control = find(id);
    return control && control->widget->isEnabledTo(dialogWindow.get());
}

void QtDialogView::setEnabled(int id, bool on)
{
    if (Control* control = find(id))
        control->widget->setEnabled(on);
}

void QtDialogView::setShown(int id, bool shown)
{
    if (Control* control = find(id))
        control->widget->setVisible(shown);
}

void QtDialogView::place(int id, ControlRect rect, unsigned anchor)
{
    Control* control = find(id);
    if (!control)
        return;
    QWidget* widget = control->widget;
    const QRect templateRect = toPixels(units, rect.x, rect.y, rect.width, rect.height);
    std::erase_if(anchored, [widget](const Anchored& a) { return a.widget == widget; });
    widget->setGeometry(templateRect);
    if (anchor != AnchorTopLeft) {
        anchored.push_back({widget, anchor, templateRect});
        placeAnchored(dialogWindow->size());
    }
}

void QtDialogView::addMenuItem(const std::string& text, int id)
{
    auto* action = new QAction(displayText(text), dialogWindow.get());
    QObject::connect(action, &QAction::triggered, action,
                     [this, id] { deliver(id, Notification::MenuCommand); });
    dialogWindow->addAction(action);
}

void QtDialogView::deliver(int id, Notification notification)
{
    dialog.onCommand(id, notification);
    if (afterDelivery)
        afterDelivery();
}

void QtDialogView::dropFile(const std::filesystem::path& file)
{
    dialog.onFileDropped(file);
    if (afterDelivery)
        afterDelivery();
}

void QtDialogView::cancel()
{
    dialog.onCancel();
    if (afterDelivery)
        afterDelivery();
}

void QtDialogView::bindChart(int id, Chart& chart)
{
    Control* control = find(id);
    if (control && control->layout->kind == ControlKind::Chart)
        static_cast<ChartWidget*>(control->widget)->setChart(chart);
}

// In thousandths: QProgressBar counts in int, the work may count further.
void QtDialogView::setProgress(int id, int64_t done, int64_t total)
{
    Control* control = find(id);
    auto* bar = control ? qobject_cast<QProgressBar*>(control->widget) : nullptr;
    if (!bar)
        return;
    const int value = total > 0 ? static_cast<int>(std::clamp<int64_t>(done * 1000 / total, 0, 1000)) : 0;
    if (bar->value() != value)
        bar->setValue(value);
}

void QtDialogView::bindHeatmap(int id, Heatmap& heatmap)
{
    Control* control = find(id);
    if (control && control->layout->kind == ControlKind::Heatmap)
        static_cast<HeatmapWidget*>(control->widget)->setHeatmap(heatmap);
}

void QtDialogView::bindTable(int id, Table& table)
{
    Control* control = find(id);
    auto* view = control ? qobject_cast<QTableView*>(control->widget) : nullptr;
    if (!view)
        return;
    if (control->tableModel) {
        control->tableModel->setTable(table);  // nothing when it is the same table
        return;
    }
    control->tableModel = new TableModel(table, nullptr);
    control->tableModel->setAfterChange([this, id] {
        if (Control* c = find(id))
            sizeColumns(*c);
    });
    view->setModel(control->tableModel);
    // A sortable table sorts itself on a heading click; the header shows its order.
    QObject::connect(view->horizontalHeader(), &QHeaderView::sectionClicked, view, [this, id](int column) {
        if (Control* c = find(id); c && c->tableModel && c->tableModel->table().sortable())
            c->tableModel->table().headingClicked(column);
    });
    sizeColumns(*control);
}

// Column widths are dialog units, like every other size; the last column takes what is left.
void QtDialogView::sizeColumns(Control& control)
{
    auto* view = qobject_cast<QTableView*>(control.widget);
    if (!view || !control.tableModel)
        return;
    const std::vector<TableColumn>& columns = control.tableModel->table().columns();
    for (size_t c = 0; c < columns.size(); ++c)
        view->setColumnWidth(static_cast<int>(c), toPixels(units, 0, 0, columns[c].width, 0).width());
    view->horizontalHeader()->setStretchLastSection(true);
    const Table& table = control.tableModel->table();
    view->horizontalHeader()->setSortIndicatorShown(table.sortColumn() >= 0);
    // Qt's header draws its "ascending" indicator as a downward arrow; the arrow here points up
    // for ascending, as a file manager's does, so the order handed to the header is turned round.
    // The header only shows it: the table sorts itself.
    if (table.sortColumn() >= 0)
        view->horizontalHeader()->setSortIndicator(
            table.sortColumn(), table.sortAscending() ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void QtDialogView::sizeListColumns(Control& control)
{
    auto* view = qobject_cast<QTableView*>(control.widget);
    if (!view)
        return;
    const std::vector<ListColumn>& columns = control.layout->columns;
    for (size_t c = 0; c < columns.size(); ++c)
        view->setColumnWidth(static_cast<int>(c), toPixels(units, 0, 0, columns[c].width, 0).width());
}

bool QtDialogView::saveImage(int id, const std::filesystem::path& file)
{
    const Control* control = find(id);
    if (!control)
        return false;
    showPendingTexts();
    // A picture narrower than kMinimumImageWidth is drawn again at that width, the control
    // enlarged for the moment with its proportions kept, so that the saved picture is legible
    // when printed or enlarged; its own layout gives the larger size more labels, not a blur.
    QWidget* widget = control->widget;
    const QSize shown = widget->size();
    QPixmap picture;
    if (shown.width() >= kMinimumImageWidth || shown.isEmpty()) {
        picture = widget->grab();
    } else {
        const int height = static_cast<int>(
            (static_cast<long long>(shown.height()) * kMinimumImageWidth + shown.width() / 2) /
            shown.width());
        widget->resize(kMinimumImageWidth, height);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        picture = widget->grab();
        widget->resize(shown);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    }
    // Encoded in memory and written by the program itself: Qt's own file writing keeps a buffer
    // whose failed flush (a full disk) the save would not report.
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, "PNG"))
        return false;
    return writeWholeFile(file, std::string_view(png.constData(), static_cast<size_t>(png.size()))) ==
        WriteResult::Written;
}

}  // namespace kv
