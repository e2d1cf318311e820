// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/qt/HeatmapWidget.h"

#include "text/Cp932.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>

namespace kv {

namespace {

QString display(const std::string& cp932)
{
    return QString::fromStdString(toDisplayUtf8(cp932));
}

QColor qtColour(Rgb colour)
{
    return QColor(colour.red, colour.green, colour.blue);
}

constexpr int kMargin = 4;
constexpr int kSwatch = 12;  // the side of a legend step's colour square

}  // namespace

HeatmapWidget::HeatmapWidget(QWidget* parent) : QFrame(parent)
{
    setMouseTracking(true);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

HeatmapWidget::~HeatmapWidget()
{
    if (data && data->currentObserver() == this)
        data->setObserver(nullptr);
}

void HeatmapWidget::setHeatmap(Heatmap& heatmap)
{
    if (data == &heatmap)
        return;
    if (data && data->currentObserver() == this)
        data->setObserver(nullptr);
    data = &heatmap;
    data->setObserver(this);
    update();
}

void HeatmapWidget::heatmapChanged()
{
    QToolTip::hideText();
    update();
}

// The title takes a line at the top, the column headings the next; the row headings take the
// width of the widest of them; the cells share what is left equally.
HeatmapWidget::Geometry HeatmapWidget::geometry() const
{
    Geometry g;
    const QFontMetrics metrics = fontMetrics();
    const int line = metrics.height() + 4;
    g.titleHeight = data && !data->title().empty() ? line : 0;
    int widest = 0;
    if (data) {
        for (const std::string& heading : data->rowHeadings())
            widest = std::max(widest, metrics.horizontalAdvance(display(heading)));
    }
    g.headingWidth = widest + 2 * kMargin;
    QRect inside = contentsRect().adjusted(kMargin, kMargin, -kMargin, -kMargin);
    int legendWidth = 0;
    if (data && !data->legend().empty()) {
        for (const HeatmapLegendStep& step : data->legend())
            legendWidth = std::max(legendWidth, metrics.horizontalAdvance(display(step.text)));
        legendWidth += kSwatch + 3 * kMargin;
        g.legend = QRect(inside.right() + 1 - legendWidth + kMargin, inside.top() + g.titleHeight + line,
                         legendWidth - kMargin, std::max(0, inside.height() - g.titleHeight - line));
    }
    g.cells = QRect(inside.left() + g.headingWidth, inside.top() + g.titleHeight + line,
                    std::max(0, inside.width() - g.headingWidth - legendWidth),
                    std::max(0, inside.height() - g.titleHeight - line));
    if (data && data->columnCount() > 0 && data->rowCount() > 0) {
        g.cellWidth = static_cast<double>(g.cells.width()) / data->columnCount();
        g.cellHeight = std::min(static_cast<double>(g.cells.height()) / data->rowCount(), 3.0 * line);
    }
    return g;
}

QRectF HeatmapWidget::cellRect(const Geometry& g, int row, int column) const
{
    return QRectF(g.cells.left() + column * g.cellWidth, g.cells.top() + row * g.cellHeight, g.cellWidth,
                  g.cellHeight);
}

std::pair<int, int> HeatmapWidget::cellAt(QPoint point) const
{
    if (!data)
        return {-1, -1};
    const Geometry g = geometry();
    if (g.cellWidth <= 0 || g.cellHeight <= 0 || point.x() < g.cells.left() || point.y() < g.cells.top())
        return {-1, -1};
    int column = static_cast<int>((point.x() - g.cells.left()) / g.cellWidth);
    int row = static_cast<int>((point.y() - g.cells.top()) / g.cellHeight);
    if (row >= data->rowCount() || column >= data->columnCount())
        return {-1, -1};
    return {row, column};
}

void HeatmapWidget::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    if (!data)
        return;
    QPainter painter(this);
    const Geometry g = geometry();
    const QFontMetrics metrics = fontMetrics();
    const int line = metrics.height() + 4;
    const QRect inside = contentsRect().adjusted(kMargin, kMargin, -kMargin, -kMargin);
    const QColor text = palette().color(QPalette::Text);

    painter.setPen(text);
    if (g.titleHeight > 0)
        painter.drawText(QRect(inside.left(), inside.top(), inside.width(), g.titleHeight),
                         Qt::AlignLeft | Qt::AlignVCenter, display(data->title()));
    for (int c = 0; c < data->columnCount(); ++c) {
        QRectF heading(g.cells.left() + c * g.cellWidth, g.cells.top() - line, g.cellWidth, line);
        painter.drawText(heading, Qt::AlignCenter, display(data->columnHeadings()[static_cast<size_t>(c)]));
    }
    for (int r = 0; r < data->rowCount(); ++r) {
        QRectF heading(inside.left(), g.cells.top() + r * g.cellHeight, g.headingWidth - kMargin,
                       g.cellHeight);
        painter.drawText(heading, Qt::AlignRight | Qt::AlignVCenter,
                         display(data->rowHeadings()[static_cast<size_t>(r)]));
    }

    const QColor grid = palette().color(QPalette::Mid);
    for (int r = 0; r < data->rowCount(); ++r) {
        for (int c = 0; c < data->columnCount(); ++c) {
            const HeatmapCell& cell = data->cell(r, c);
            QRectF box = cellRect(g, r, c);
            painter.setPen(grid);
            if (cell.empty) {
                painter.setBrush(Qt::NoBrush);
                painter.drawRect(box);
                continue;
            }
            painter.setBrush(qtColour(cell.colour));
            painter.drawRect(box);
            painter.setPen(qtColour(textColourOn(cell.colour)));
            QString shown =
                metrics.elidedText(display(cell.text), Qt::ElideRight, static_cast<int>(box.width()) - 2);
            painter.drawText(box, Qt::AlignCenter, shown);
        }
    }
    // The legend: a square of each step's colour and its text, one step a line.
    for (size_t k = 0; k < data->legend().size(); ++k) {
        const HeatmapLegendStep& step = data->legend()[k];
        const int top = g.legend.top() + static_cast<int>(k) * line;
        if (top + line > g.legend.bottom() + 1)
            break;
        painter.setPen(grid);
        painter.setBrush(qtColour(step.colour));
        painter.drawRect(QRect(g.legend.left(), top + (line - kSwatch) / 2, kSwatch, kSwatch));
        painter.setPen(text);
        painter.drawText(
            QRect(g.legend.left() + kSwatch + kMargin, top, g.legend.width() - kSwatch - kMargin, line),
            Qt::AlignLeft | Qt::AlignVCenter, display(step.text));
    }
    for (int r = 0; r < data->rowCount(); ++r) {
        for (int c = 0; c < data->columnCount(); ++c) {
            if (!data->outlined(r, c))
                continue;
            painter.setBrush(Qt::NoBrush);
            painter.setPen(QPen(palette().color(QPalette::WindowText), 3));
            painter.drawRect(cellRect(g, r, c).adjusted(1, 1, -1, -1));
        }
    }
}

bool HeatmapWidget::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip && data) {
        auto* help = static_cast<QHelpEvent*>(event);
        auto [row, column] = cellAt(help->pos());
        const HeatmapCell& cell = data->cell(row, column);
        if (row < 0 || cell.empty || cell.tip.empty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QString tip = display(cell.tip);
            tip.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            QToolTip::showText(help->globalPos(), tip, this);
        }
        return true;
    }
    return QFrame::event(event);
}

void HeatmapWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    auto [row, column] = cellAt(event->position().toPoint());
    if (!data || row < 0)
        return;
    data->activate(row, column);
    if (onActivated)
        onActivated();
}

}  // namespace kv
