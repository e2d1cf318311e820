// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A chart as data: one or more series stacked top to bottom over a shared x axis. A series holds
// a value at each x position 0..n−1 (a value that is not finite is left out of its line), and
// every position has a text (a date, or any other) that labels the axis. A view observes the chart and redraws it when it is replaced.

#include <string>
#include <vector>

namespace kv {

struct ChartSeries {
    std::string name;            // title of the series' pane, code page 932
    std::string axisText;        // text of its value axis, code page 932
    std::vector<double> values;  // one per x position
    bool filled = false;         // the area between the line and zero is filled
    int heightShare = 1;         // the pane's share of the chart's height
    int decimals = 0;            // digits after the point on the value axis
    // Drawn as a second line in the pane of the series before it, which then names its lines
    // in a legend; its own height share and axis text are not used.
    bool sharesPane = false;
};

class ChartObserver {
public:
    virtual ~ChartObserver() = default;
    virtual void chartChanged() = 0;
};

class Chart {
public:
    Chart() = default;
    Chart(const Chart&) = delete;
    Chart& operator=(const Chart&) = delete;

    // Replaces what the chart shows; the observer hears of it once. Series with fewer values
    // than there are x texts end early; values beyond the x texts are not shown. `xValues`, when
    // given (one per position, increasing), place the positions along the x axis, so that time
    // is drawn evenly however unevenly the points fall; otherwise they stand one apart.
    void set(std::string title, std::string xAxisText, std::vector<std::string> xTexts,
             std::vector<ChartSeries> series, std::vector<double> xValues = {});

    // Where position `p` (fractions between positions, and beyond the ends at the edge's spacing)
    // lies on the x axis, and the position at x: one the inverse of the other.
    double xOf(double p) const;
    double positionAt(double x) const;

    const std::string& title() const { return chartTitle; }
    const std::string& xAxisText() const { return xAxis; }
    const std::vector<std::string>& xTexts() const { return positions; }
    const std::vector<ChartSeries>& series() const { return allSeries; }
    int pointCount() const { return static_cast<int>(positions.size()); }

    // The positions first..last to label on the x axis, each at least `gap` positions from the
    // next, so that their texts fit side by side. Where the x texts are dates (YYYY/MM/DD) these
    // are the first points of each month, or of every 2, 3 or 6 months, or of every 1, 2, 5, 10…
    // years: the finest step that keeps the gap. A span too short to hold two such starts, or
    // texts that are not dates, get evenly spaced positions instead, first and last included.
    std::vector<int> labelPositions(int first, int last, double gap) const;

    // One observer at a time (the view showing the chart); nullptr detaches.
    void setObserver(ChartObserver* o) { observer = o; }
    ChartObserver* currentObserver() const { return observer; }

private:
    std::string chartTitle;
    std::string xAxis;
    std::vector<std::string> positions;
    std::vector<ChartSeries> allSeries;
    std::vector<double> places;  // x of each position; empty: the position itself
    ChartObserver* observer = nullptr;
};

}  // namespace kv
