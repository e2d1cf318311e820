// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/qt/ChartWidget.h"

#include "text/Cp932.h"
#include "text/Format.h"

#include <QAreaSeries>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCursor>
#include <QFontMetrics>
#include <QGraphicsLayout>
#include <QLabel>
#include <QLineSeries>
#include <QMouseEvent>
#include <QRubberBand>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <functional>

namespace kv {

namespace {

QString shownText(const std::string& cp932)
{
    return QString::fromStdString(toDisplayUtf8(cp932));
}

// The left margin of a pane's chart before the panes are lined up.
constexpr int kPaneLeftMargin = 2;

// Drags of fewer pixels than this are clicks, not a span to show.
constexpr int kMinimumDrag = 4;

// A pane that reports where the pointer rests, the span dragged across its plot and the wish to
// see everything again (a double click or a right click).
class PaneView : public QChartView {
public:
    PaneView(QChart* chart, QWidget* parent)
        : QChartView(chart, parent), band(QRubberBand::Rectangle, viewport())
    {
        setMouseTracking(true);
        band.hide();
    }

    std::function<void(double)> pointed;  // the x value under the pointer
    std::function<void(double, double)> dragged;
    std::function<void()> resetAsked;

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        const QPoint at = event->position().toPoint();
        if (event->button() == Qt::LeftButton && plotRect().contains(at)) {
            dragStart = at.x();
            dragging = true;
            showBand(at.x());
            event->accept();
            return;
        }
        QChartView::mousePressEvent(event);
    }

    void mouseMoveEvent(QMouseEvent* event) override
    {
        const QPoint at = event->position().toPoint();
        if (dragging) {
            showBand(at.x());
            event->accept();
            return;
        }
        if (pointed && plotRect().contains(at))
            pointed(xValue(at.x()));
        else
            QToolTip::hideText();
        QChartView::mouseMoveEvent(event);
    }

    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::RightButton) {
            if (resetAsked)
                resetAsked();
            event->accept();
            return;
        }
        if (event->button() == Qt::LeftButton && dragging) {
            dragging = false;
            band.hide();
            const int end =
                std::clamp(event->position().toPoint().x(), plotRect().left(), plotRect().right());
            if (std::abs(end - dragStart) >= kMinimumDrag && dragged) {
                const double a = xValue(dragStart);
                const double b = xValue(end);
                dragged(std::min(a, b), std::max(a, b));
            }
            event->accept();
            return;
        }
        QChartView::mouseReleaseEvent(event);
    }

    void mouseDoubleClickEvent(QMouseEvent* event) override
    {
        if (resetAsked)
            resetAsked();
        event->accept();
    }

private:
    QRect plotRect() const { return mapFromScene(chart()->mapToScene(chart()->plotArea())).boundingRect(); }

    double xValue(int viewX) const
    {
        const QPointF inChart = chart()->mapFromScene(mapToScene(QPoint(viewX, 0)));
        return chart()->mapToValue(inChart).x();
    }

    void showBand(int x)
    {
        const QRect plot = plotRect();
        const int end = std::clamp(x, plot.left(), plot.right());
        band.setGeometry(QRect(QPoint(std::min(dragStart, end), plot.top()),
                               QPoint(std::max(dragStart, end), plot.bottom())));
        band.show();
    }

    QRubberBand band;
    int dragStart = 0;
    bool dragging = false;
};

void clearLabels(QCategoryAxis* axis)
{
    for (const QString& label : axis->categoriesLabels())
        axis->remove(label);
}

// Labels the x axis at the chosen positions of first..last and shows just that span. A category
// axis takes each label once only, so a text met again (a date that repeats) is left out.
void labelPositions(QCategoryAxis* axis, const Chart& chart, double first, double last, double gap)
{
    clearLabels(axis);
    const std::vector<int> chosen =
        chart.labelPositions(static_cast<int>(std::ceil(first)), static_cast<int>(std::floor(last)), gap);
    axis->setStartValue(chart.xOf(first - 1));
    QStringList used;
    for (int position : chosen) {
        QString text = shownText(chart.xTexts()[static_cast<size_t>(position)]);
        if (used.contains(text))
            continue;
        used.append(text);
        axis->append(text, chart.xOf(position));
    }
    axis->setRange(chart.xOf(first), chart.xOf(last));
}

// A round step of about `rough`: 1, 2, 2.5 or 5 times a power of ten.
double roundStep(double rough)
{
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (double factor : {1.0, 2.0, 2.5, 5.0})
        if (rough <= factor * power)
            return factor * power;
    return 10 * power;
}

constexpr int kValueSteps = 4;  // about this many steps between the labels of a value axis

// Fits the value axis to the finite values of its lines at positions first..last: round bounds,
// a label at each round step between them, with thousands separators. `series` is the pane's
// first line, whose kind the axis follows.
void fitValues(QCategoryAxis* axis, const ChartSeries& series,
               const std::vector<const std::vector<double>*>& lines, double first, double last)
{
    const auto from = static_cast<size_t>(std::max(std::ceil(first), 0.0));
    double low = 0;
    double high = 0;
    bool any = false;
    for (const std::vector<double>* values : lines) {
        const auto to = std::min(static_cast<size_t>(std::max(std::floor(last) + 1, 0.0)), values->size());
        for (size_t i = from; i < to; ++i) {
            const double v = (*values)[i];
            if (!std::isfinite(v))
                continue;
            low = any ? std::min(low, v) : v;
            high = any ? std::max(high, v) : v;
            any = true;
        }
    }
    if (series.filled) {
        // A filled area reaches down (or up) to zero, which must stay in sight.
        low = std::min(low, 0.0);
        high = std::max(high, 0.0);
    }
    if (!std::isfinite(low) || !std::isfinite(high))
        low = high = 0;
    // Labels never need more digits than the axis shows.
    const double finest = std::pow(10.0, -series.decimals);
    double span = high - low;
    if (span <= 0)
        span = std::max(std::abs(high) * 0.1, finest * kValueSteps);
    const double step = std::max(roundStep(span / kValueSteps), finest);
    double bottom = std::floor(low / step) * step;
    double top = std::ceil(high / step) * step;
    if (top - bottom < step) {
        bottom -= series.filled && low == 0 ? 0 : step;
        top += step;
    }
    clearLabels(axis);
    axis->setStartValue(bottom - step);
    const int steps = static_cast<int>(std::lround((top - bottom) / step));
    for (int k = 0; k <= steps; ++k) {
        const double value = bottom + step * k;
        axis->append(QString::fromStdString(groupedText(value, series.decimals)), value);
    }
    axis->setRange(bottom, top);
}

}  // namespace

ChartWidget::ChartWidget(QWidget* parent)
    : QFrame(parent), layout(new QVBoxLayout(this)), titleLabel(new QLabel(this))
{
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(0);
    titleLabel->setAlignment(Qt::AlignHCenter);
    titleLabel->setTextFormat(Qt::PlainText);
    layout->addWidget(titleLabel);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
}

ChartWidget::~ChartWidget()
{
    if (data && data->currentObserver() == this)
        data->setObserver(nullptr);
}

void ChartWidget::setChart(Chart& chart)
{
    if (&chart == data)
        return;
    if (data && data->currentObserver() == this)
        data->setObserver(nullptr);
    data = &chart;
    data->setObserver(this);
    rebuild();
}

void ChartWidget::chartChanged()
{
    rebuild();
}

void ChartWidget::rebuild()
{
    for (Pane& pane : panes)
        delete pane.view;
    panes.clear();
    if (!data)
        return;
    titleLabel->setText(shownText(data->title()));
    const std::vector<ChartSeries>& all = data->series();
    for (size_t i = 0; i < all.size();) {
        size_t lines = 1;
        while (i + lines < all.size() && all[i + lines].sharesPane)
            ++lines;
        Pane pane = buildPane(i, lines, i + lines == all.size());
        layout->addWidget(pane.view, std::max(all[i].heightShare, 1));
        panes.push_back(pane);
        i += lines;
    }
    showAll();
}

void ChartWidget::showAll()
{
    showRange(0, data ? std::max(data->pointCount() - 1, 1) : 1);
}

void ChartWidget::showRange(double first, double last)
{
    if (!data)
        return;
    // Never narrower than two positions, so that a label and its neighbour stay in sight.
    if (last - first < 2) {
        const double middle = (first + last) / 2;
        first = middle - 1;
        last = middle + 1;
    }
    rangeFirst = first;
    rangeLast = last;
    const double gap = labelGap() * (last - first);
    for (const Pane& pane : panes) {
        labelPositions(pane.x, *data, first, last, gap);
        std::vector<const std::vector<double>*> lines;
        for (size_t s : pane.series)
            lines.push_back(&data->series()[s].values);
        fitValues(pane.y, data->series()[pane.series.front()], lines, first, last);
    }
    alignPlots();
}

// Each pane lays out its plot after its value labels, which differ in width from pane to pane;
// the left margins are widened so that every plot starts where the one farthest right does.
void ChartWidget::alignPlots()
{
    if (panes.size() < 2 || aligning)
        return;
    aligning = true;
    qreal left = 0;
    for (const Pane& pane : panes) {
        QChart* chart = pane.view->chart();
        QMargins margins = chart->margins();
        margins.setLeft(kPaneLeftMargin);
        chart->setMargins(margins);
        chart->layout()->activate();
        left = std::max(left, chart->plotArea().left());
    }
    for (const Pane& pane : panes) {
        QChart* chart = pane.view->chart();
        QMargins margins = chart->margins();
        margins.setLeft(kPaneLeftMargin + static_cast<int>(std::lround(left - chart->plotArea().left())));
        chart->setMargins(margins);
        chart->layout()->activate();
    }
    aligning = false;
}

// The share of the plot's width a date takes, with a quarter of a date as room beside it.
double ChartWidget::labelGap() const
{
    const int labelWidth = QFontMetrics(font()).horizontalAdvance(QStringLiteral("0000/00/00"));
    const int plotWidth = std::max(width() - 3 * labelWidth / 2, labelWidth);  // less the value axis
    return 1.25 * labelWidth / plotWidth;
}

void ChartWidget::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    if (data && !panes.empty())
        showRange(rangeFirst, rangeLast);
}

QString ChartWidget::pointText(int position) const
{
    if (!data || position < 0 || position >= data->pointCount())
        return {};
    QString text = shownText(data->xTexts()[static_cast<size_t>(position)]);
    for (const ChartSeries& series : data->series()) {
        if (static_cast<size_t>(position) >= series.values.size())
            continue;
        // One digit more than the axis where it has any: a single value is read more closely.
        const int digits = series.decimals > 0 ? series.decimals + 1 : 0;
        text += QStringLiteral("\n%1  %2 %3")
                    .arg(shownText(series.name),
                         QString::fromStdString(
                             groupedText(series.values[static_cast<size_t>(position)], digits)),
                         shownText(series.axisText));
    }
    text += QString::fromUtf8("\n（ドラッグで拡大、ダブルクリックか右クリックで全体）");
    return text;
}

ChartWidget::Pane ChartWidget::buildPane(size_t seriesIndex, size_t lines, bool lastPane)
{
    const ChartSeries& series = data->series()[seriesIndex];
    auto* chart = new QChart;
    chart->setBackgroundRoundness(0);
    // Room on the right for the last date, centred under the last point.
    chart->setMargins(QMargins(kPaneLeftMargin, 0, 24, 0));
    if (lines == 1)
        chart->setTitle(shownText(series.name));  // several lines are named by the legend
    QFont small = font();
    chart->setTitleFont(small);
    // A pane of one line is named by its title; one of several names them in a legend.
    if (lines > 1) {
        chart->legend()->setFont(small);
        chart->legend()->setAlignment(Qt::AlignTop);
    } else {
        chart->legend()->hide();
    }

    auto pointsOf = [this](const ChartSeries& s) {
        QList<QPointF> points;
        points.reserve(static_cast<qsizetype>(s.values.size()));
        for (size_t i = 0; i < s.values.size(); ++i)
            if (std::isfinite(s.values[i]))
                points.append(QPointF(data->xOf(static_cast<double>(i)), s.values[i]));
        return points;
    };
    QList<QPointF> points = pointsOf(series);
    auto* line = new QLineSeries;
    line->replace(points);
    line->setName(shownText(series.name));
    QAbstractSeries* shown = line;
    if (series.filled) {
        // Filled between zero and the line, in the colour of a loss. Without a lower line the
        // area would run from the line to the bottom edge of the pane, which for a drawdown
        // (values at or below zero) fills everything below a small fall.
        auto* zero = new QLineSeries;
        QList<QPointF> zeros;
        zeros.reserve(points.size());
        for (const QPointF& point : points)
            zeros.append(QPointF(point.x(), 0));
        zero->replace(zeros);
        auto* area = new QAreaSeries(line, zero);
        area->setColor(QColor(220, 60, 60, 110));
        area->setBorderColor(QColor(190, 0, 0));
        shown = area;
    } else {
        line->setColor(QColor(20, 70, 160));
    }
    chart->addSeries(shown);

    // Both axes are category axes, so that their labels are texts of this program's own: the
    // dates of the chosen positions, and round values with thousands separators.
    auto* x = new QCategoryAxis;
    x->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    if (lastPane)
        x->setTitleText(shownText(data->xAxisText()));
    auto* y = new QCategoryAxis;
    y->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    y->setTitleText(shownText(series.axisText));
    for (QAbstractAxis* axis : {static_cast<QAbstractAxis*>(x), static_cast<QAbstractAxis*>(y)}) {
        axis->setLabelsFont(small);
        axis->setTitleFont(small);
    }
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    shown->attachAxis(x);
    shown->attachAxis(y);
    std::vector<size_t> indices{seriesIndex};
    static const QColor others[] = {QColor(230, 120, 20), QColor(40, 150, 60), QColor(150, 60, 170)};
    for (size_t k = 1; k < lines; ++k) {
        const ChartSeries& more = data->series()[seriesIndex + k];
        auto* extra = new QLineSeries;
        extra->replace(pointsOf(more));
        extra->setName(shownText(more.name));
        extra->setColor(others[(k - 1) % std::size(others)]);
        chart->addSeries(extra);
        extra->attachAxis(x);
        extra->attachAxis(y);
        indices.push_back(seriesIndex + k);
    }

    // A pane laid out again by itself (shown, or resized by the layout) lines the panes up again.
    QObject::connect(chart, &QChart::plotAreaChanged, this, [this] { alignPlots(); });
    auto* view = new PaneView(chart, this);
    view->setRenderHint(QPainter::Antialiasing);
    view->setFrameShape(QFrame::NoFrame);
    view->pointed = [this, view](double x) {
        const int position = static_cast<int>(std::lround(data->positionAt(x)));
        const QString text = pointText(std::clamp(position, 0, std::max(data->pointCount() - 1, 0)));
        QToolTip::showText(QCursor::pos(), text, view);
    };
    view->dragged = [this](double first, double last) {
        showRange(data->positionAt(first), data->positionAt(last));
    };
    view->resetAsked = [this] { showAll(); };
    return {view, x, y, std::move(indices)};
}

}  // namespace kv
