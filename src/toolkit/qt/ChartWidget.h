// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shows a kv::Chart with Qt Charts: the chart's title, then one pane per series, stacked, each
// with the shared x positions labelled by their texts. It redraws whenever the chart is replaced.
// Pointing at a pane shows the x text and every series' value at the nearest position; dragging
// across a pane shows only the dragged span in every pane, and a double click or a right click
// shows the whole chart again.

#include "toolkit/Chart.h"

#include <QFrame>

#include <vector>

class QCategoryAxis;
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

    // Shows the x positions first..last (fractions allowed) in every pane, with the value axes
    // fitted to the values there; showAll shows every position.
    void showRange(double first, double last);
    void showAll();
    double shownFirst() const { return rangeFirst; }
    double shownLast() const { return rangeLast; }

    // The text shown when pointing at x position `position` of the chart.
    QString pointText(int position) const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Pane {
        QChartView* view;
        QCategoryAxis* x;
        QCategoryAxis* y;
        size_t series;  // index into the chart's series
        size_t lastSeries;  // the last series drawn in the pane: later ones that overlay it
    };

    void rebuild();
    Pane buildPane(size_t seriesIndex, bool lastPane);
    void addOverlay(Pane& pane, size_t seriesIndex);
    double labelGap() const;

    Chart* data = nullptr;
    QVBoxLayout* layout;
    QLabel* titleLabel;
    std::vector<Pane> panes;
    double rangeFirst = 0;
    double rangeLast = 0;
};

}  // namespace kv
