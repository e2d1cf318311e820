// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Draws a kv::Heatmap: its title, the column headings across the top, the row headings down
// the left, and the cells in their colours with their texts; the outlined cell has a thick dark
// frame; a legend, when the heatmap has one, lists the colour steps on the right with their
// texts. Resting the pointer on a cell shows its tip; a double-click on a cell is handed on.
// It draws again whenever the heatmap is replaced.

#include "toolkit/Heatmap.h"

#include <QFrame>

#include <functional>

namespace kv {

class HeatmapWidget : public QFrame, public HeatmapObserver {
public:
    explicit HeatmapWidget(QWidget* parent);
    ~HeatmapWidget() override;

    // Shows `heatmap` from now on; the one shown before is no longer observed.
    void setHeatmap(Heatmap& heatmap);
    const Heatmap* heatmap() const { return data; }

    // Called after a double-click on a cell has been recorded in the heatmap.
    void setOnActivated(std::function<void()> hook) { onActivated = std::move(hook); }

    void heatmapChanged() override;

    // The cell under a point of the widget, as (row, column); (-1, -1) outside the cells.
    std::pair<int, int> cellAt(QPoint point) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    struct Geometry {
        QRect cells;   // the area of all cells
        QRect legend;  // the legend's column on the right; empty without a legend
        int titleHeight = 0;
        int headingWidth = 0;
        double cellWidth = 0;
        double cellHeight = 0;
    };
    Geometry geometry() const;
    QRectF cellRect(const Geometry& g, int row, int column) const;

    Heatmap* data = nullptr;
    std::function<void()> onActivated;
};

}  // namespace kv
