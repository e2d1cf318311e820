// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/QtTestSupport.h"

#include "app/ResultsDialog.h"
#include "resources/ControlIds.h"
#include "sim/RunResults.h"
#include "support/TempFolder.h"
#include "text/Cp932.h"
#include "toolkit/Chart.h"
#include "toolkit/Heatmap.h"
#include "toolkit/Table.h"
#include "toolkit/qt/HeatmapWidget.h"
#include "toolkit/qt/QtDialogView.h"
#include "toolkit/qt/QtPlatform.h"

#include <QAbstractItemModel>
#include <QAreaSeries>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QColor>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableView>
#include <QValueAxis>

#include <gtest/gtest.h>

namespace kv {
namespace {

using test::RecordingDialog;

const DialogTemplate& chartTableTemplate()
{
    static const DialogTemplate t{
        700,
        "charts",
        "MS Shell Dlg",
        8,
        300,
        200,
        false,
        {
            {ControlKind::Chart, 40, {}, 5, 5, 180, 150, StyleBorder},
            {ControlKind::Table, 41, {}, 190, 5, 105, 150, StyleBorder | StyleVScroll},
            {ControlKind::Heatmap, 42, {}, 5, 160, 290, 38, StyleBorder},
        }};
    return t;
}

QString shown(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

std::vector<ChartSeries> curveAndDrawdown(std::vector<double> assets, std::vector<double> drawdown)
{
    ChartSeries curve{toCp932("総資産"), toCp932("円"), std::move(assets)};
    curve.heightShare = 2;
    ChartSeries fall{toCp932("ドローダウン率"), toCp932("％"), std::move(drawdown)};
    fall.filled = true;
    fall.downward = true;
    return {curve, fall};
}

TEST(QtChart, PanesFollowTheSeriesAndThePictureIsSaved)
{
    QtPlatform platform;
    RecordingDialog dialog(platform, chartTableTemplate());
    Chart chart;
    std::vector<std::string> dates;
    for (int i = 0; i < 3000; ++i)
        dates.push_back("2004/01/" + std::to_string(i));
    chart.set(toCp932("推移"), toCp932("日付"), dates,
              curveAndDrawdown(std::vector<double>(3000, 100), std::vector<double>(3000, 2.5)));
    test::TempFolder folder;
    {
        QtDialogView view(dialog, nullptr);
        view.bindChart(40, chart);
        QWidget* widget = view.widget(40);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->findChild<QLabel*>()->text(), shown("推移"));
        QList<QChartView*> panes = widget->findChildren<QChartView*>();
        ASSERT_EQ(panes.size(), 2);
        QChart* top = panes[0]->chart();
        EXPECT_EQ(top->title(), shown("総資産"));
        auto* line = qobject_cast<QLineSeries*>(top->series().value(0));
        ASSERT_NE(line, nullptr);
        EXPECT_EQ(line->count(), 3000);
        // The drawdown is filled down from zero at the top of its pane.
        QChart* bottom = panes[1]->chart();
        auto* area = qobject_cast<QAreaSeries*>(bottom->series().value(0));
        ASSERT_NE(area, nullptr);
        EXPECT_EQ(area->upperSeries()->count(), 3000);
        // Between zero and the curve, not between the curve and the pane's edge.
        ASSERT_NE(area->lowerSeries(), nullptr);
        EXPECT_EQ(area->lowerSeries()->count(), 3000);
        for (const QPointF& point : area->lowerSeries()->points())
            ASSERT_EQ(point.y(), 0);
        auto* axis = qobject_cast<QValueAxis*>(bottom->axes(Qt::Vertical).value(0));
        ASSERT_NE(axis, nullptr);
        EXPECT_TRUE(axis->isReverse());
        EXPECT_EQ(axis->min(), 0);
        auto* dates = qobject_cast<QCategoryAxis*>(bottom->axes(Qt::Horizontal).value(0));
        ASSERT_NE(dates, nullptr);
        EXPECT_EQ(dates->categoriesLabels().first(), QStringLiteral("2004/01/0"));
        EXPECT_EQ(dates->categoriesLabels().last(), QStringLiteral("2004/01/2999"));
        EXPECT_EQ(dates->titleText(), shown("日付"));

        // Replacing the chart redraws it; a repeated date labels the axis once.
        chart.set({}, {}, {"d", "d", "d"}, curveAndDrawdown({1, 2, 3}, {0, 0, 0}));
        panes = widget->findChildren<QChartView*>();
        ASSERT_EQ(panes.size(), 2);
        EXPECT_EQ(qobject_cast<QLineSeries*>(panes[0]->chart()->series().value(0))->count(), 3);
        EXPECT_EQ(qobject_cast<QCategoryAxis*>(panes[0]->chart()->axes(Qt::Horizontal).value(0))->count(), 1);

        ASSERT_TRUE(view.saveImage(40, folder / "chart.png"));
        QImage image(QString::fromStdString((folder / "chart.png").string()));
        EXPECT_EQ(image.size(), widget->size());
        EXPECT_FALSE(view.saveImage(40, folder / "missing" / "chart.png"));
        // A full disk: the picture is written by the program, so its failed write is told.
        EXPECT_FALSE(view.saveImage(40, "/dev/full"));
        EXPECT_FALSE(view.saveImage(99, folder / "none.png"));
    }
    EXPECT_EQ(chart.currentObserver(), nullptr);
}

TEST(QtTable, ShowsHeadingsCellsColoursAndColumnWidths)
{
    QtPlatform platform;
    RecordingDialog dialog(platform, chartTableTemplate());
    Table table;
    table.set({{toCp932("年"), 30}, {toCp932("損益"), 50, true}},
              {{{"2004"}, {toCp932("\\-7980"), CellTone::Loss}}, {{"2005"}, {"12", CellTone::Gain}}});
    {
        QtDialogView view(dialog, nullptr);
        view.bindTable(41, table);
        auto* widget = qobject_cast<QTableView*>(view.widget(41));
        ASSERT_NE(widget, nullptr);
        QAbstractItemModel* model = widget->model();
        ASSERT_EQ(model->rowCount(), 2);
        ASSERT_EQ(model->columnCount(), 2);
        EXPECT_EQ(model->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), shown("損益"));
        EXPECT_EQ(model->data(model->index(0, 1)).toString(), shown("¥-7980"));
        EXPECT_EQ(model->data(model->index(0, 1), Qt::ForegroundRole).value<QColor>(), QColor(200, 0, 0));
        EXPECT_EQ(model->data(model->index(1, 1), Qt::ForegroundRole).value<QColor>(), QColor(0, 128, 0));
        EXPECT_FALSE(model->data(model->index(1, 0), Qt::ForegroundRole).isValid());
        EXPECT_TRUE(model->data(model->index(0, 1), Qt::TextAlignmentRole).toInt() & Qt::AlignRight);
        EXPECT_TRUE(model->data(model->index(0, 0), Qt::TextAlignmentRole).toInt() & Qt::AlignLeft);
        const QSize units = QtDialogView::baseUnits(view.window()->font());
        EXPECT_EQ(widget->columnWidth(0), QtDialogView::toPixels(units, 0, 0, 30, 0).width());

        table.set({{"x"}}, {{{"1"}}, {{"2"}}, {{"3"}}});
        EXPECT_EQ(model->rowCount(), 3);
        EXPECT_EQ(model->columnCount(), 1);
    }
    EXPECT_EQ(table.currentObserver(), nullptr);
}

// Press, release, then the second press that makes it a double-click, and its release.
void doubleClick(QWidget* widget, QPoint at)
{
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                              QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
        Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    }
}

// A double-click tells the dialog which table row or heatmap cell it hit; the heatmap draws each
// cell in its colour, leaves empty cells unfilled and follows a replaced heatmap.
TEST(QtTable, DoubleClicksReachTheDialogWithTheirRowOrCell)
{
    QtPlatform platform;
    RecordingDialog dialog(platform, chartTableTemplate());
    Table table;
    table.set({{"x"}}, {{{"1"}}, {{"2"}}, {{"3"}}});
    Heatmap heatmap;
    const Rgb green = divergingColour(5, 5);
    heatmap.set("", {"2004", "2005"}, {"1", "2", "3"},
                {{false, "5.0", green, "tip"}, {}, {false, "-1.0", divergingColour(-1, 5), ""}, {}, {}, {}},
                0, 0);
    {
        QtDialogView view(dialog, nullptr);
        view.bindTable(41, table);
        view.bindHeatmap(42, heatmap);
        view.window()->show();
        auto* rows = qobject_cast<QTableView*>(view.widget(41));
        ASSERT_NE(rows, nullptr);
        QRect second = rows->visualRect(rows->model()->index(1, 0));
        doubleClick(rows->viewport(), second.center());
        EXPECT_EQ(table.activatedRow(), 1);

        auto* cells = static_cast<HeatmapWidget*>(view.widget(42));
        QImage image = cells->grab().toImage();
        bool foundGreen = false;
        int clickedX = -1;
        int clickedY = -1;
        for (int y = 0; y < image.height() && !foundGreen; ++y)
            for (int x = 0; x < image.width() && !foundGreen; ++x)
                if (image.pixelColor(x, y) == QColor(green.red, green.green, green.blue)) {
                    foundGreen = true;
                    clickedX = x + 4;
                    clickedY = y + 4;
                }
        ASSERT_TRUE(foundGreen);
        EXPECT_EQ(cells->cellAt(QPoint(clickedX, clickedY)), std::make_pair(0, 0));
        doubleClick(cells, QPoint(clickedX, clickedY));
        EXPECT_EQ(heatmap.activatedRow(), 0);
        EXPECT_EQ(heatmap.activatedColumn(), 0);
        doubleClick(cells, QPoint(1, 1));  // outside the cells: nothing
        ASSERT_EQ(dialog.commands.size(), 2u);
        EXPECT_EQ(dialog.commands[0], std::make_pair(41, Notification::DoubleClicked));
        EXPECT_EQ(dialog.commands[1], std::make_pair(42, Notification::DoubleClicked));

        heatmap.set("", {"2004"}, {"1"}, {{}});
        EXPECT_EQ(heatmap.activatedRow(), -1);
        image = cells->grab().toImage();
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                ASSERT_NE(image.pixelColor(x, y), QColor(green.red, green.green, green.blue));
    }
    EXPECT_EQ(heatmap.currentObserver(), nullptr);
}

// The results window of a run of thousands of days opens as a real modal window; its
// 画像保存 writes the chart as PNG.
TEST(QtResultsWindow, OpensOnThousandsOfDaysAndSavesTheChart)
{
    RunResults results;
    results.begin(2000000);
    for (int day = 0; day < 5000; ++day) {
        results.sale(day % 3 ? 1000 : -2500, day % 3 ? 900 : -2500);
        results.closeDay(20000101 + (day / 28) % 12 * 100 + day % 28 + day / 336 * 10000,
                         2000000 + day * 10.0);
    }
    test::TempFolder folder;
    class SavingPlatform : public QtPlatform {
    public:
        std::optional<std::filesystem::path> saveFile(const FileDialogOptions&) override { return answer; }
        std::filesystem::path answer;
    } platform;
    platform.answer = folder / "results.png";
    ResultsDialog dialog(platform, results);
    test::whenModal<QWidget>([&](QWidget* window) {
        window->findChild<QPushButton*>(QStringLiteral("ctl%1").arg(IDC_RESULTS_SAVE_IMAGE))->click();
        window->findChild<QPushButton*>(QStringLiteral("ctl%1").arg(IDOK))->click();
    });
    EXPECT_EQ(platform.runModal(dialog), IDOK);
    EXPECT_EQ(dialog.chart.pointCount(), 5000);
    QImage image(QString::fromStdString(platform.answer.string()));
    EXPECT_FALSE(image.isNull());
    EXPECT_GT(image.width(), 300);
}

}  // namespace
}  // namespace kv
