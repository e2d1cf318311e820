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
#include "toolkit/qt/ChartWidget.h"
#include "toolkit/qt/QtPlatform.h"

#include <QAbstractItemModel>
#include <QAreaSeries>
#include <QXYSeries>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QApplication>
#include <QColor>
#include <QDate>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QValueAxis>

#include <gtest/gtest.h>

#include <cmath>

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
              curveAndDrawdown(std::vector<double>(3000, 100), std::vector<double>(3000, -2.5)));
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
        EXPECT_FALSE(axis->isReverse());
        EXPECT_EQ(axis->max(), 0);  // the fall hangs from a zero line at the top
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

        // Placed by their x values, the points keep time's spacing in every pane, and a place
        // on the axis reads back as its position.
        chart.set({}, {}, {"a", "b", "c"}, curveAndDrawdown({1, 2, 3}, {0, -1, 0}), {0, 1, 10});
        panes = widget->findChildren<QChartView*>();
        for (QChartView* pane : panes) {
            const QList<QPointF> points = qobject_cast<QXYSeries*>(pane->chart()->series().value(0))
                ? qobject_cast<QXYSeries*>(pane->chart()->series().value(0))->points()
                : qobject_cast<QAreaSeries*>(pane->chart()->series().value(0))->upperSeries()->points();
            ASSERT_EQ(points.size(), 3);
            EXPECT_EQ(points[1].x(), 1);
            EXPECT_EQ(points[2].x(), 10);
        }
        EXPECT_DOUBLE_EQ(chart.positionAt(5.5), 1.5);
        EXPECT_DOUBLE_EQ(chart.xOf(1.5), 5.5);

        // Dates label the x axis at month starts for a short run and at year starts for a long
        // one; the value axes group thousands; pointing shows a position's date and values.
        const struct {
            int days;
            bool years;
        } spans[] = {{60, false}, {3650, true}};
        for (const auto& span : spans) {
            SCOPED_TRACE(span.days);
            std::vector<std::string> days;
            std::vector<double> assets;
            for (QDate d(2004, 1, 5); static_cast<int>(days.size()) < span.days; d = d.addDays(1)) {
                days.push_back(d.toString(QStringLiteral("yyyy/MM/dd")).toStdString());
                assets.push_back(2000000 + 300.0 * static_cast<double>(days.size()));
            }
            chart.set({}, {}, days, curveAndDrawdown(assets, std::vector<double>(days.size(), -1.5)));
            panes = widget->findChildren<QChartView*>();
            auto* x = qobject_cast<QCategoryAxis*>(panes[1]->chart()->axes(Qt::Horizontal).value(0));
            ASSERT_NE(x, nullptr);
            ASSERT_GE(x->count(), 2);
            for (const QString& label : x->categoriesLabels()) {
                const QDate date = QDate::fromString(label, QStringLiteral("yyyy/MM/dd"));
                const QDate before = date.addDays(-1);
                EXPECT_NE(span.years ? before.year() : before.month(),
                          span.years ? date.year() : date.month())
                    << label.toStdString();
            }
            auto* y = qobject_cast<QCategoryAxis*>(panes[0]->chart()->axes(Qt::Vertical).value(0));
            ASSERT_NE(y, nullptr);
            EXPECT_TRUE(y->categoriesLabels().contains(QStringLiteral("2,000,000")));
        }
        auto* shownChart = static_cast<ChartWidget*>(widget);
        EXPECT_TRUE(shownChart->pointText(0).startsWith(
            shown("2004/01/05\n総資産  2,000,300 円\nドローダウン率  -2 ％")))
            << shownChart->pointText(0).toStdString();

        // Dragging across a pane shows the dragged span in both; a double click shows all again.
        view.window()->show();
        QChartView* pane = panes[0];
        const QRectF plot = pane->chart()->plotArea();
        const auto drag = [&](QEvent::Type type, double share, Qt::MouseButton button,
                              Qt::MouseButtons held) {
            const QPointF at(plot.left() + plot.width() * share, plot.center().y());
            QMouseEvent event(type, at, pane->viewport()->mapToGlobal(at), button, held, Qt::NoModifier);
            QApplication::sendEvent(pane->viewport(), &event);
        };
        drag(QEvent::MouseButtonPress, 0.5, Qt::LeftButton, Qt::LeftButton);
        drag(QEvent::MouseMove, 0.6, Qt::NoButton, Qt::LeftButton);
        drag(QEvent::MouseButtonRelease, 0.6, Qt::LeftButton, Qt::NoButton);
        for (QChartView* each : panes) {
            auto* x = qobject_cast<QCategoryAxis*>(each->chart()->axes(Qt::Horizontal).value(0));
            EXPECT_NEAR(x->min(), 3649 * 0.5, 20);
            EXPECT_NEAR(x->max(), 3649 * 0.6, 20);
        }
        drag(QEvent::MouseButtonDblClick, 0.5, Qt::LeftButton, Qt::LeftButton);
        EXPECT_EQ(shownChart->shownFirst(), 0);
        EXPECT_EQ(shownChart->shownLast(), 3649);

        // The picture is drawn at least 1600 pixels wide, in the chart's proportions.
        ASSERT_TRUE(view.saveImage(40, folder / "chart.png"));
        QImage image(QString::fromStdString((folder / "chart.png").string()));
        EXPECT_EQ(image.width(), 1600);
        EXPECT_NEAR(image.height(), widget->height() * 1600.0 / widget->width(), 1);
        EXPECT_FALSE(view.saveImage(40, folder / "missing" / "chart.png"));
        // A full disk: the picture is written by the program, so its failed write is told.
        EXPECT_FALSE(view.saveImage(40, "/dev/full"));
        EXPECT_FALSE(view.saveImage(99, folder / "none.png"));
    }
    EXPECT_EQ(chart.currentObserver(), nullptr);
}

// The panes' plots start at the same x, so a date lies at the same x in both, whatever the
// widths of their value labels: as opened, enlarged, and drawn for a saved picture. A series
// that shares the pane before it is a second line there, named in a legend.
TEST(QtChart, PanesLineUpTheirPlotsAndASharedPaneHoldsTwoLines)
{
    QtPlatform platform;
    RecordingDialog dialog(platform, chartTableTemplate());
    Chart chart;
    std::vector<std::string> dates;
    std::vector<double> assets, fall;
    for (int i = 0; i < 400; ++i) {
        dates.push_back("2004/01/" + std::to_string(i));
        assets.push_back(123456789.0 + 1000.0 * i);
        fall.push_back(-0.5 * (i % 7));
    }
    chart.set({}, {}, dates, curveAndDrawdown(assets, fall));
    QtDialogView view(dialog, nullptr);
    view.bindChart(40, chart);
    QWidget* widget = view.widget(40);
    view.window()->show();
    auto plotLefts = [&] {
        std::vector<int> lefts;
        for (QChartView* pane : widget->findChildren<QChartView*>()) {
            const QPointF left = pane->chart()->mapToScene(pane->chart()->plotArea().topLeft());
            lefts.push_back(pane->mapTo(widget, pane->mapFromScene(left)).x());
        }
        return lefts;
    };
    for (int width : {0, 900, 1600}) {
        SCOPED_TRACE(width);
        if (width > 0)
            widget->resize(width, widget->height());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        const std::vector<int> lefts = plotLefts();
        ASSERT_EQ(lefts.size(), 2u);
        EXPECT_NEAR(lefts[0], lefts[1], 1);
    }

    ChartSeries inSample{toCp932("評価"), toCp932("％"), {1, 2, std::nan(""), 4}};
    ChartSeries outOfSample{toCp932("検証"), {}, {2, 1, 0, -1}};
    outOfSample.sharesPane = true;
    chart.set({}, {}, {"0.1", "0.2", "0.3", "0.4"}, {inSample, outOfSample});
    const QList<QChartView*> panes = widget->findChildren<QChartView*>();
    ASSERT_EQ(panes.size(), 1);
    QChart* pane = panes[0]->chart();
    ASSERT_EQ(pane->series().size(), 2);
    EXPECT_EQ(qobject_cast<QLineSeries*>(pane->series()[0])->count(), 3);  // the missing value left out
    EXPECT_EQ(pane->series()[1]->name(), shown("検証"));
    EXPECT_TRUE(pane->legend()->isVisible());
    auto* y = qobject_cast<QCategoryAxis*>(pane->axes(Qt::Vertical).value(0));
    ASSERT_NE(y, nullptr);
    EXPECT_LE(y->min(), -1);  // both lines in sight
    EXPECT_GE(y->max(), 4);
    view.window()->hide();
}

// The heading a table is sorted by carries an arrow that points up for ascending and down for
// descending, as a file manager's does. Read from the drawn header: the arrow's wide side.
TEST(QtTable, TheSortArrowPointsUpForAscending)
{
    QtPlatform platform;
    RecordingDialog dialog(platform, chartTableTemplate());
    Table table;
    table.setSortable(true);
    table.set({{"", 60}, {"", 40}}, {{{"1", {}, 1}, {"b"}}, {{"2", {}, 2}, {"a"}}});
    QtDialogView view(dialog, nullptr);
    view.bindTable(41, table);
    view.window()->show();
    auto* header = static_cast<QTableView*>(view.widget(41))->horizontalHeader();
    for (bool ascending : {true, false}) {
        SCOPED_TRACE(ascending);
        table.sort(0, ascending);
        const QImage image =
            header
                ->grab(QRect(header->sectionViewportPosition(0), 0, header->sectionSize(0), header->height()))
                .toImage();
        // The arrow is the only drawing in a section without a caption: its dark pixels.
        const QColor background = image.pixelColor(2, image.height() / 2);
        std::vector<int> rows;
        for (int y = 0; y < image.height(); ++y) {
            int dark = 0;
            for (int x = 3; x < image.width() - 3; ++x)
                if (image.pixelColor(x, y).lightness() < background.lightness() - 60)
                    ++dark;
            if (dark > 0 && dark < image.width() / 3)  // not a frame line
                rows.push_back(dark);
        }
        ASSERT_GE(rows.size(), 2u);
        // Pointing up, the arrow is narrow at the top and wide at the bottom.
        EXPECT_EQ(rows.front() < rows.back(), ascending);
    }
    view.window()->hide();
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
    EXPECT_GE(image.width(), 1600);
}

// 運用成績 shows one page at a time; a heading click sorts the trades, a second one the other way;
// typing into the filter keeps the trades whose code holds the text.
TEST(QtResultsWindow, ShowsOnePageAtATimeSortsByAHeadingClickAndFilters)
{
    RunResults results;
    results.begin(2000000, true);
    int day = 5;
    for (double gross : {5000.0, -7000.0, 3000.0}) {
        Trade trade;
        trade.code = 1000 + static_cast<int32_t>(gross / 1000);
        trade.buyDate = 20040100 + day;
        trade.sellDate = 20040101 + day;
        trade.grossProfit = trade.netProfit = gross;
        results.sale(trade);
        results.closeDay(20040101 + day++, 2000000 + gross);
    }
    QtPlatform platform;
    ResultsDialog dialog(platform, results);
    test::whenModal<QWidget>([&](QWidget* window) {
        auto control = [&](int id) { return window->findChild<QWidget*>(QStringLiteral("ctl%1").arg(id)); };
        auto* table = qobject_cast<QTableView*>(control(IDC_RESULTS_TRADES));
        ASSERT_TRUE(table);
        EXPECT_TRUE(control(IDC_RESULTS_CHART)->isVisible());
        EXPECT_FALSE(table->isVisible());
        window->findChild<QTabBar*>(QStringLiteral("ctl%1").arg(IDC_RESULTS_PAGES))->setCurrentIndex(1);
        EXPECT_FALSE(control(IDC_RESULTS_CHART)->isVisible());
        EXPECT_TRUE(table->isVisible());
        EXPECT_TRUE(control(IDOK)->isVisible());

        auto firstCode = [&] { return table->model()->index(0, 0).data().toString(); };
        QHeaderView* header = table->horizontalHeader();
        const QPoint onGross(header->sectionViewportPosition(9) + 5, header->height() / 2);
        auto click = [&] {
            for (auto [type, buttons] : {std::pair{QEvent::MouseButtonPress, Qt::LeftButton},
                                         std::pair{QEvent::MouseButtonRelease, Qt::NoButton}}) {
                QMouseEvent event(type, onGross, header->viewport()->mapToGlobal(onGross), Qt::LeftButton,
                                  buttons, Qt::NoModifier);
                QApplication::sendEvent(header->viewport(), &event);
            }
        };
        click();
        EXPECT_EQ(firstCode(), QStringLiteral("993"));
        click();
        EXPECT_EQ(firstCode(), QStringLiteral("1005"));
        EXPECT_EQ(header->sortIndicatorSection(), 9);
        // Descending: the order Qt draws as a downward arrow.
        EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);

        auto* filter = qobject_cast<QLineEdit*>(control(IDC_RESULTS_TRADE_FILTER));
        for (QChar digit : QStringLiteral("100")) {
            QKeyEvent key(QEvent::KeyPress, Qt::Key_0 + digit.digitValue(), Qt::NoModifier, QString(digit));
            QApplication::sendEvent(filter, &key);
        }
        EXPECT_EQ(table->model()->rowCount(), 2);
        EXPECT_EQ(firstCode(), QStringLiteral("1005"));
        qobject_cast<QPushButton*>(control(IDOK))->click();
    });
    EXPECT_EQ(platform.runModal(dialog), IDOK);
}

}  // namespace
}  // namespace kv
