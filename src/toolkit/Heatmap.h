// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A heatmap as data: a grid of coloured cells under column headings and beside row headings,
// each cell with a short text, a colour and a tip shown while the pointer rests on it. One cell
// may be outlined (the best of an optimisation). A view observes the heatmap and draws it again
// when it is replaced; a double-click on a cell is reported to the dialog as DoubleClicked, and
// activatedRow()/activatedColumn() tell which cell it was. A legend beside the map may show the
// steps of its colour scale, each with the figures it stands for.

#include "text/ColourScale.h"

#include <string>
#include <vector>

namespace kv {

struct HeatmapCell {
    bool empty = true;  // nothing to show: no colour, no text, no tip
    std::string text;   // code page 932
    Rgb colour;
    std::string tip;  // code page 932; lines separated by CR LF
};

struct HeatmapLegendStep {
    Rgb colour;
    std::string text;  // code page 932
};

class HeatmapObserver {
public:
    virtual ~HeatmapObserver() = default;
    virtual void heatmapChanged() = 0;
};

class Heatmap {
public:
    Heatmap() = default;
    Heatmap(const Heatmap&) = delete;
    Heatmap& operator=(const Heatmap&) = delete;

    // Replaces what the heatmap shows; `cells` holds the rows one after the other, each with
    // one cell per column heading (missing cells are empty, extra ones are not shown). The
    // outlined cell is (outlinedRow, outlinedColumn), none when either is outside the grid.
    // The legend's steps are listed top to bottom (none: no legend). The observer hears of it
    // once; the activated cell is forgotten.
    void set(std::string title, std::vector<std::string> rowHeadings, std::vector<std::string> columnHeadings,
             std::vector<HeatmapCell> cells, int outlinedRow = -1, int outlinedColumn = -1,
             std::vector<HeatmapLegendStep> legend = {});

    const std::string& title() const { return heading; }
    const std::vector<std::string>& rowHeadings() const { return rows; }
    const std::vector<std::string>& columnHeadings() const { return columns; }
    int rowCount() const { return static_cast<int>(rows.size()); }
    int columnCount() const { return static_cast<int>(columns.size()); }
    // The cell at (row, column); an empty cell outside the grid.
    const HeatmapCell& cell(int row, int column) const;
    bool outlined(int row, int column) const;
    const std::vector<HeatmapLegendStep>& legend() const { return scale; }

    // The cell the user double-clicked last; the view sets it before it tells the dialog.
    // -1 and -1 before any, and after set().
    void activate(int row, int column);
    int activatedRow() const { return activeRow; }
    int activatedColumn() const { return activeColumn; }

    // One observer at a time (the view showing the heatmap); nullptr detaches.
    void setObserver(HeatmapObserver* o) { observer = o; }
    HeatmapObserver* currentObserver() const { return observer; }

private:
    std::string heading;
    std::vector<std::string> rows;
    std::vector<std::string> columns;
    std::vector<HeatmapCell> grid;
    std::vector<HeatmapLegendStep> scale;
    int outlineRow = -1;
    int outlineColumn = -1;
    int activeRow = -1;
    int activeColumn = -1;
    HeatmapObserver* observer = nullptr;
};

}  // namespace kv
