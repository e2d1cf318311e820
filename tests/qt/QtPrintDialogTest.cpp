// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/QtTestSupport.h"

#include "app/PrintDialog.h"
#include "data/SimulatorApp.h"
#include "resources/ControlIds.h"
#include "stats/Tallies.h"
#include "support/StockMaster.h"
#include "text/Cp932.h"
#include "toolkit/qt/QtDialogView.h"
#include "toolkit/qt/QtPlatform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>

#include <gtest/gtest.h>

#include <memory>

namespace kv {
namespace {

// Signals whose figures are as wide as they come in practice: a full share, a three-digit
// loss, six-digit counts, and stocks with the longest names of the sample.
std::unique_ptr<SimulatorApp> wideStatistics()
{
    auto app = std::make_unique<SimulatorApp>();
    test::StockMaster{{1301, "和光化学ホールディングス", 100},
                      {1302, "朝霧興産ホールディングス", 100},
                      {1303, "日東光学ホールディングス", 100}}
        .enterInto(*app);
    app->tallies.slotDate = {20041228, 20050105};
    app->tallies.dateTally.resize(2);
    TallyTables tables = app->tallies.tables();
    const std::string success = toCp932("○"), failure = toCp932("×"), unknown = toCp932("？");
    for (int i = 0; i < 3; ++i) {
        tallyRow(tables, 1301, 0, success, "100", "125");
        tallyRow(tables, 1302, 1, failure, "1000", "1");
        tallyRow(tables, 1303, 1, unknown, "100", "100");
    }
    app->tallies.overallTally.signalCount += 199990;  // as many signals as a large file has
    return app;
}

// Picks a row of a drop-down list as the user does.
void choose(QtDialogView& view, int id, int row)
{
    auto* combo = qobject_cast<QComboBox*>(view.widget(id));
    ASSERT_NE(combo, nullptr);
    combo->setCurrentIndex(row);
    emit combo->activated(row);
}

TEST(QtPrintDialog, EveryCaptionFigureAndListRowShowsWhole)
{
    std::unique_ptr<SimulatorApp> app = wideStatistics();
    QtPlatform platform;
    PrintDialog dialog(*app, platform);
    QtDialogView view(dialog, nullptr);
    dialog.attachView(&view);
    dialog.onInitDialog();
    QWidget* window = view.window();

    // A stock with a loss of 99.90 % on average, and the year's totals.
    qobject_cast<QLineEdit*>(view.widget(IDC_STOCK_CODE))->setText(QStringLiteral("1302"));
    qobject_cast<QPushButton*>(view.widget(IDC_STOCK_TOTAL))->click();
    choose(view, IDC_YEAR_LIST, 2);
    choose(view, IDC_METHOD_LIST, 1);
    view.showPendingTexts();
    EXPECT_EQ(toUtf8(view.text(IDC_STOCK_SIMPLE_AVERAGE)), "-99.90％");
    EXPECT_EQ(toUtf8(view.text(IDC_ALL_SUCCESS_SHARE)), "0.00％");
    EXPECT_EQ(toUtf8(view.text(IDC_PERIOD_SIGNALS)), "6");

    const QFontMetrics metrics(window->font());
    const int frame = window->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    // A line edit keeps a frame and a margin of 2 pixels on each side of its text.
    auto fits = [&](int id, const QString& text) {
        auto* edit = qobject_cast<QLineEdit*>(view.widget(id));
        return edit && metrics.horizontalAdvance(text) <= edit->width() - 2 * frame - 4;
    };
    for (QLineEdit* edit : window->findChildren<QLineEdit*>()) {
        int id = edit->objectName().mid(3).toInt();
        if (id != IDC_STOCK_NAME) {  // a name can be 32 characters long; the field shows its start
            EXPECT_TRUE(fits(id, edit->text())) << id << ' ' << edit->text().toStdString();
        }
    }
    // The widest figures that occur in practice fit every field of their kind.
    for (int id : {IDC_ALL_SUCCESS_SHARE,     IDC_ALL_SUCCESS_AVERAGE,    IDC_ALL_FAILURE_SHARE,
                   IDC_ALL_FAILURE_AVERAGE,   IDC_ALL_UNKNOWN_SHARE,      IDC_ALL_SIMPLE_AVERAGE,
                   IDC_ALL_PER_DAY_AVERAGE,   IDC_STOCK_SUCCESS_SHARE,    IDC_STOCK_SUCCESS_AVERAGE,
                   IDC_STOCK_FAILURE_SHARE,   IDC_STOCK_FAILURE_AVERAGE,  IDC_STOCK_UNKNOWN_SHARE,
                   IDC_STOCK_SIMPLE_AVERAGE,  IDC_PERIOD_SUCCESS_SHARE,   IDC_PERIOD_SUCCESS_AVERAGE,
                   IDC_PERIOD_FAILURE_SHARE,  IDC_PERIOD_FAILURE_AVERAGE, IDC_PERIOD_UNKNOWN_SHARE,
                   IDC_PERIOD_SIMPLE_AVERAGE, IDC_PERIOD_PER_DAY_AVERAGE}) {
        EXPECT_TRUE(fits(id, QStringLiteral("100.00％"))) << id;
        EXPECT_TRUE(fits(id, QStringLiteral("-99.99％"))) << id;
    }
    for (int id : {IDC_ALL_SUCCESSES, IDC_ALL_SUCCESS_LOSSES, IDC_ALL_FAILURES, IDC_ALL_FAILURE_PROFITS,
                   IDC_ALL_UNKNOWNS, IDC_ALL_SIGNALS, IDC_STOCK_SUCCESSES, IDC_STOCK_SUCCESS_LOSSES,
                   IDC_STOCK_FAILURES, IDC_STOCK_FAILURE_PROFITS, IDC_STOCK_UNKNOWNS, IDC_STOCK_SIGNALS,
                   IDC_PERIOD_SUCCESSES, IDC_PERIOD_SUCCESS_LOSSES, IDC_PERIOD_FAILURES,
                   IDC_PERIOD_FAILURE_PROFITS, IDC_PERIOD_UNKNOWNS, IDC_PERIOD_SIGNALS})
        EXPECT_TRUE(fits(id, QStringLiteral("250000"))) << id;
    for (QLabel* label : window->findChildren<QLabel*>())
        EXPECT_LE(metrics.horizontalAdvance(label->text()), label->width()) << label->text().toStdString();
    for (QCheckBox* box : window->findChildren<QCheckBox*>()) {
        QStyleOptionButton option;
        option.initFrom(box);
        option.text = box->text();
        QRect text = box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box);
        EXPECT_LE(metrics.horizontalAdvance(box->text()), text.width()) << box->text().toStdString();
    }
    for (QPushButton* button : window->findChildren<QPushButton*>())
        EXPECT_LT(metrics.horizontalAdvance(button->text()), button->width()) << button->text().toStdString();
    for (QGroupBox* box : window->findChildren<QGroupBox*>())
        EXPECT_LT(metrics.horizontalAdvance(box->title()), box->width()) << box->title().toStdString();
    for (QComboBox* combo : window->findChildren<QComboBox*>()) {
        // The closed box shows the chosen row beside its arrow.
        QStyleOptionComboBox option;
        option.initFrom(combo);
        QRect field =
            combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
        for (int row = 0; row < combo->count(); ++row)
            EXPECT_LE(metrics.horizontalAdvance(combo->itemText(row)), field.width())
                << combo->objectName().toStdString() << ' ' << combo->itemText(row).toStdString();
    }
    dialog.attachView(nullptr);
}

}  // namespace
}  // namespace kv
