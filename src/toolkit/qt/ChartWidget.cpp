// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/qt/ChartWidget.h"

#include "text/Cp932.h"

#include <QAreaSeries>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QLineSeries>
#include <QValueAxis>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace kv {

namespace {

QString shownText(const std::string& cp932)
{
    return QString::fromStdString(toDisplayUtf8(cp932));
}

constexpr int kAxisLabels = 5;  // texts shown under the x axis, first and last included

// The x axis: positions 0..n−1, a few of them labelled with their texts. A category axis takes
// each label once only, so a text met again (a date that repeats) is left out.
QCategoryAxis* positionAxis(const Chart& chart, bool withTitle)
{
    auto* axis = new QCategoryAxis;
    const int n = chart.pointCount();
    axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    axis->setStartValue(-1);
    axis->setRange(0, std::max(n - 1, 1));
    QStringList used;
    const int labels = std::min(n, kAxisLabels);
    for (int k = 0; k < labels; ++k) {
        const int position =
            labels == 1 ? 0 : static_cast<int>(static_cast<long long>(n - 1) * k / (labels - 1));
        QString text = shownText(chart.xTexts()[static_cast<size_t>(position)]);
        if (used.contains(text))
            continue;
        used.append(text);
        axis->append(text, position);
    }
    if (withTitle)
        axis->setTitleText(shownText(chart.xAxisText()));
    return axis;
}

QValueAxis* valueAxis(const ChartSeries& series)
{
    auto* axis = new QValueAxis;
    double low = 0;
    double high = 0;
    if (!series.values.empty()) {
        auto [min, max] = std::minmax_element(series.values.begin(), series.values.end());
        low = *min;
        high = *max;
    }
    if (series.filled) {
        // A filled area reaches down (or up) to zero, which must stay in sight.
        low = std::min(low, 0.0);
        high = std::max(high, 0.0);
    }
    const double span = high - low;
    const double pad = span > 0 ? span * 0.05 : std::max(1.0, std::abs(high) * 0.05);
    axis->setRange(series.filled && low == 0 ? 0 : low - pad, high + pad);
    axis->setTickCount(5);
    axis->applyNiceNumbers();  // ticks at round values
    axis->setLabelFormat(QStringLiteral("%.%1f").arg(series.decimals));
    axis->setReverse(series.downward);
    axis->setTitleText(shownText(series.axisText));
    return axis;
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
    for (QChartView* pane : panes)
        delete pane;
    panes.clear();
    if (!data)
        return;
    titleLabel->setText(shownText(data->title()));
    const std::vector<ChartSeries>& all = data->series();
    for (size_t i = 0; i < all.size(); ++i) {
        QChartView* pane = buildPane(all[i], i + 1 == all.size());
        layout->addWidget(pane, std::max(all[i].heightShare, 1));
        panes.push_back(pane);
    }
}

QChartView* ChartWidget::buildPane(const ChartSeries& series, bool lastPane)
{
    auto* chart = new QChart;
    chart->legend()->hide();
    chart->setBackgroundRoundness(0);
    // Room on the right for the last date, centred under the last point.
    chart->setMargins(QMargins(2, 0, 24, 0));
    chart->setTitle(shownText(series.name));
    QFont small = font();
    chart->setTitleFont(small);

    QList<QPointF> points;
    points.reserve(static_cast<qsizetype>(series.values.size()));
    for (size_t i = 0; i < series.values.size(); ++i)
        points.append(QPointF(static_cast<qreal>(i), series.values[i]));
    auto* line = new QLineSeries;
    line->replace(points);
    QAbstractSeries* shown = line;
    if (series.filled) {
        // Filled between zero and the line, in the colour of a loss. Without a lower line the
        // area would run from the line to the bottom edge of the pane, which for a downward axis
        // fills everything below a small drawdown.
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

    QCategoryAxis* x = positionAxis(*data, lastPane);
    QValueAxis* y = valueAxis(series);
    for (QAbstractAxis* axis : {static_cast<QAbstractAxis*>(x), static_cast<QAbstractAxis*>(y)}) {
        axis->setLabelsFont(small);
        axis->setTitleFont(small);
    }
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    shown->attachAxis(x);
    shown->attachAxis(y);

    auto* view = new QChartView(chart, this);
    view->setRenderHint(QPainter::Antialiasing);
    view->setFrameShape(QFrame::NoFrame);
    return view;
}

}  // namespace kv
