// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/qt/TextLinesView.h"

#include "text/Cp932.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace kv {

namespace {
constexpr int kMargin = 3;  // pixels between the frame and the text
}

TextLinesView::TextLinesView(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    auto* copy = new QAction(QStringLiteral("コピー"), this);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    connect(copy, &QAction::triggered, this, [this] { QApplication::clipboard()->setText(plainText()); });
    addAction(copy);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    setText({});
}

void TextLinesView::setText(std::string_view cp932)
{
    bytes = cp932;
    starts.clear();
    ends.clear();
    // CR and LF are never part of a double-byte character, so the breaks are found on the bytes.
    size_t widestBytes = 0;
    size_t widest = 0;
    size_t begin = 0;
    for (size_t i = 0; i <= bytes.size(); ++i) {
        const bool atEnd = i == bytes.size();
        if (!atEnd && bytes[i] != '\r' && bytes[i] != '\n')
            continue;
        starts.push_back(begin);
        ends.push_back(i);
        if (i - begin > widestBytes) {
            widestBytes = i - begin;
            widest = starts.size() - 1;
        }
        if (!atEnd && bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        begin = i + 1;
    }
    widestLine = fontMetrics().horizontalAdvance(lineText(static_cast<int>(widest)));
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    updateScrollBars();
    viewport()->update();
}

std::string_view TextLinesView::lineBytes(int line) const
{
    const size_t i = static_cast<size_t>(line);
    return bytes.substr(starts[i], ends[i] - starts[i]);
}

QString TextLinesView::lineText(int line) const
{
    if (line < 0 || line >= lineCount())
        return {};
    return QString::fromStdString(toDisplayUtf8(lineBytes(line)));
}

QString TextLinesView::plainText() const
{
    QStringList lines;
    lines.reserve(lineCount());
    for (int i = 0; i < lineCount(); ++i)
        lines << lineText(i);
    return lines.join(QLatin1Char('\n'));
}

int TextLinesView::firstVisibleLine() const
{
    return verticalScrollBar()->value();
}

int TextLinesView::lineHeight() const
{
    return fontMetrics().lineSpacing();
}

int TextLinesView::visibleLines() const
{
    return std::max(1, (viewport()->height() - kMargin) / lineHeight());
}

void TextLinesView::updateScrollBars()
{
    const int shown = visibleLines();
    verticalScrollBar()->setRange(0, std::max(0, lineCount() - shown));
    verticalScrollBar()->setPageStep(shown);
    verticalScrollBar()->setSingleStep(1);
    const int width = viewport()->width();
    horizontalScrollBar()->setRange(0, std::max(0, widestLine + 2 * kMargin - width));
    horizontalScrollBar()->setPageStep(width);
    horizontalScrollBar()->setSingleStep(fontMetrics().averageCharWidth());
}

void TextLinesView::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
    const int first = firstVisibleLine();
    const int last = std::min(lineCount(), first + visibleLines() + 1);
    const int x = kMargin - horizontalScrollBar()->value();
    const int ascent = fontMetrics().ascent();
    for (int line = first; line < last; ++line)
        painter.drawText(x, kMargin + (line - first) * lineHeight() + ascent, lineText(line));
}

void TextLinesView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void TextLinesView::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        setText(bytes);  // the widest line and the line height change with the font
}

void TextLinesView::keyPressEvent(QKeyEvent* event)
{
    QScrollBar* v = verticalScrollBar();
    QScrollBar* h = horizontalScrollBar();
    switch (event->key()) {
    case Qt::Key_Up:
        v->triggerAction(QAbstractSlider::SliderSingleStepSub);
        return;
    case Qt::Key_Down:
        v->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        return;
    case Qt::Key_PageUp:
        v->triggerAction(QAbstractSlider::SliderPageStepSub);
        return;
    case Qt::Key_PageDown:
        v->triggerAction(QAbstractSlider::SliderPageStepAdd);
        return;
    case Qt::Key_Left:
        h->triggerAction(QAbstractSlider::SliderSingleStepSub);
        return;
    case Qt::Key_Right:
        h->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        return;
    case Qt::Key_Home:
        v->triggerAction(QAbstractSlider::SliderToMinimum);
        h->triggerAction(QAbstractSlider::SliderToMinimum);
        return;
    case Qt::Key_End:
        v->triggerAction(QAbstractSlider::SliderToMaximum);
        return;
    default:
        QAbstractScrollArea::keyPressEvent(event);
    }
}

}  // namespace kv
