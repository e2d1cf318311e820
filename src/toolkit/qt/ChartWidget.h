// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shows a kv::Chart with Qt Charts: the chart's title, then one pane per series, stacked, each
// with the shared x positions labelled by their texts. It redraws whenever the chart is replaced.

#include "toolkit/Chart.h"

#include <QFrame>

#include <vector>

class QChartView;
class QLabel;
class QVBoxLayout;

namespace kv {

class ChartWidget : public QFrame, public ChartObserver {
public:
    explicit ChartWidget(QWidget* parent);
    ~ChartWidget() override;

    // Shows `chart` from now on; the chart shown before is no longer observed.
    void setChart(Chart& chart);
    const Chart* chart() const { return data; }

    void chartChanged() override;

private:
    void rebuild();
    QChartView* buildPane(const ChartSeries& series, bool lastPane);

    Chart* data = nullptr;
    QVBoxLayout* layout;
    QLabel* titleLabel;
    std::vector<QChartView*> panes;
};

}  // namespace kv
