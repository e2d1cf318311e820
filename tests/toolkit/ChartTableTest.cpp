// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/Chart.h"
#include "toolkit/DataExchange.h"
#include "toolkit/Dialog.h"
#include "toolkit/DialogTemplate.h"
#include "toolkit/Heatmap.h"
#include "toolkit/Table.h"
#include "toolkit/headless/HeadlessPlatform.h"

#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace kv {
namespace {

struct CountingObserver : ChartObserver, TableObserver {
    int charts = 0;
    int tables = 0;
    void chartChanged() override { ++charts; }
    void tableChanged() override { ++tables; }
};

TEST(Chart, ReplacingTellsTheObserverOnceAndCutsSeriesToThePositions)
{
    Chart chart;
    CountingObserver observer;
    chart.setObserver(&observer);
    chart.set("t", "x", {"a", "b"}, {{"long", "", {1, 2, 3}}, {"short", "", {5}}});
    EXPECT_EQ(observer.charts, 1);
    EXPECT_EQ(chart.pointCount(), 2);
    EXPECT_EQ(chart.series()[0].values, (std::vector<double>{1, 2}));
    EXPECT_EQ(chart.series()[1].values, (std::vector<double>{5}));
    chart.setObserver(nullptr);
    chart.set("t", "x", {}, {});
    EXPECT_EQ(observer.charts, 1);
}

TEST(Table, CellsOutsideTheTableOrBeyondAShortRowAreEmpty)
{
    Table table;
    CountingObserver observer;
    table.setObserver(&observer);
    table.set({{"a"}, {"b"}}, {{{"1", CellTone::Gain}, {"2"}, {"ignored"}}, {{"3"}}});
    EXPECT_EQ(observer.tables, 1);
    EXPECT_EQ(table.rowCount(), 2);
    EXPECT_EQ(table.columnCount(), 2);
    EXPECT_EQ(table.cell(0, 0).text, "1");
    EXPECT_EQ(table.cell(0, 0).tone, CellTone::Gain);
    for (auto [row, column] : {std::pair{1, 1}, {2, 0}, {-1, 0}, {0, 2}, {0, -1}}) {
        EXPECT_EQ(table.cell(row, column).text, "") << row << "," << column;
        EXPECT_EQ(table.cell(row, column).tone, CellTone::Plain) << row << "," << column;
    }
}

// Numbers sort as numbers (a cell without one first), other cells by their text; equal cells keep
// their order both ways; a new set of rows is sorted the same way; a table that is not sortable
// keeps the rows as set.
TEST(Table, SortsStablyByKeysOrTextsAndKeepsTheOrderForNewRows)
{
    auto row = [](std::optional<double> key, const char* text) {
        return std::vector<TableCell>{{"", {}, key}, {text}};
    };
    Table table;
    table.set({{"n"}, {"t"}}, {row(10, "b"), row(std::nullopt, "c"), row(9, "a"), row(10, "a")});
    table.sort(0, true);
    EXPECT_EQ(table.sortColumn(), -1);
    EXPECT_EQ(table.cell(0, 1).text, "b");

    table.setSortable(true);
    CountingObserver observer;
    table.setObserver(&observer);
    auto texts = [&] {
        std::string all;
        for (int r = 0; r < table.rowCount(); ++r)
            all += table.cell(r, 1).text;
        return all;
    };
    table.headingClicked(0);
    EXPECT_EQ(texts(), "caba");
    EXPECT_EQ(observer.tables, 1);
    table.headingClicked(0);
    EXPECT_EQ(texts(), "baac");
    table.activate(0);
    EXPECT_EQ(table.activatedRow(), 0);  // the row as set
    table.headingClicked(1);
    EXPECT_EQ(texts(), "aabc");
    EXPECT_EQ(table.rowAsSet(0), 2);
    table.set({{"n"}, {"t"}}, {row(1, "z"), row(2, "y")});
    EXPECT_EQ(texts(), "yz");
    EXPECT_EQ(table.sortColumn(), 1);
}

class ChartDialog : public Dialog {
public:
    using Dialog::Dialog;
    const DialogTemplate& dialogTemplate() const override
    {
        static const DialogTemplate t{600,
                                      "charts",
                                      "font",
                                      8,
                                      100,
                                      100,
                                      false,
                                      {
                                          {ControlKind::Chart, 20, {}, 0, 0, 50, 50},
                                          {ControlKind::Table, 21, {}, 50, 0, 50, 50},
                                          {ControlKind::Chart, 22, {}, 0, 50, 50, 50},
                                          {ControlKind::Heatmap, 23, {}, 50, 50, 50, 50},
                                      }};
        return t;
    }
    void exchange(DataExchange& dx) override
    {
        dx.chart(20, chart);
        dx.table(21, table);
        dx.chart(22, empty);
        dx.chart(21, chart);  // not a chart control: ignored
        dx.heatmap(23, map);
    }
    Chart chart;
    Heatmap map;
    Chart empty;
    Table table;
};

TEST(HeadlessPlatform, DumpShowsChartEndsTableRowsAndTheMapsLegendAndDrawsNoPicture)
{
    std::ostringstream out, err;
    HeadlessPlatform platform(out, err);
    ChartDialog dialog(platform);
    dialog.chart.set("Assets", "date", {"d1", "d2", "d3"},
                     {{"curve", "yen", {100, 90.5, 120}}, {"none", "", {}}});
    dialog.table.set({{"k"}, {"v"}}, {{{"a"}, {"1", CellTone::Loss}}, {{"b\r\nc"}}});
    HeatmapCell best{false, "9", divergingColour(1, 1), ""};
    dialog.map.set("map", {"r"}, {"a", "b"}, {best}, 0, 0,
                   {{divergingColour(1, 1), "9 - 5"}, {divergingColour(-1, 1), "4"}});
    platform.open(dialog);
    EXPECT_EQ(platform.topView()->chart(20), &dialog.chart);
    EXPECT_EQ(platform.topView()->table(21), &dialog.table);
    EXPECT_EQ(platform.topView()->chart(21), nullptr);
    platform.execute("dump");
    EXPECT_EQ(out.str(),
              "20\tAssets\n"
              "20(0)\tcurve\t3\td1\t100\td3\t120\n"
              "20(1)\tnone\t0\n"
              "21[h]\tk\tv\n"
              "21[0]\ta\t1\n"
              "21[1]\tb\\r\\nc\t\n"
              "22\t\n"
              "23\tmap\n"
              "23[h]\ta\tb\n"
              "23[0]\tr\t*9 #1A9850\t.\n"
              "23[legend]\t#1A9850 9 - 5\t#D73027 4\n");
    EXPECT_FALSE(platform.topView()->saveImage(20, "never-written.png"));
}

}  // namespace
}  // namespace kv
