// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/QtTestSupport.h"

#include "resources/ControlIds.h"
#include "resources/Templates.h"
#include "support/TempFolder.h"
#include "text/Cp932.h"
#include "toolkit/qt/QtDialogView.h"
#include "toolkit/qt/QtPlatform.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include <gtest/gtest.h>

#include <filesystem>

namespace kv {
namespace {

using test::whenModal;

// Every caption of the dialog reads whole: one-line texts fit their width, wrapping notes fit
// their box, and every item of a drop-down list fits the list.
void expectLegible(const DialogTemplate& layout)
{
    SCOPED_TRACE(layout.id);
    QtPlatform platform;
    test::RecordingDialog dialog(platform, layout);
    QtDialogView view(dialog, nullptr);
    QWidget* window = view.window();
    const QFontMetrics metrics(window->font());
    EXPECT_EQ(window->windowTitle(), QString::fromStdString(toDisplayUtf8(layout.title)));

    for (QLabel* label : window->findChildren<QLabel*>()) {
        if (label->wordWrap())
            EXPECT_LE(label->heightForWidth(label->width()), label->height()) << label->text().toStdString();
        else
            EXPECT_LE(metrics.horizontalAdvance(label->text()), label->width())
                << label->text().toStdString();
    }
    for (QPushButton* button : window->findChildren<QPushButton*>())
        EXPECT_LT(metrics.horizontalAdvance(button->text()), button->width()) << button->text().toStdString();
    for (QCheckBox* box : window->findChildren<QCheckBox*>())
        EXPECT_LE(box->sizeHint().width(), box->width()) << box->text().toStdString();
    for (QComboBox* combo : window->findChildren<QComboBox*>()) {
        // The closed box leaves room for its arrow; the open list is never narrower than it.
        const int room = combo->width() - combo->height();
        for (int i = 0; i < combo->count(); ++i)
            EXPECT_LE(metrics.horizontalAdvance(combo->itemText(i)), room)
                << combo->itemText(i).toStdString();
    }
    // Nothing stands outside the dialog.
    for (QWidget* child : window->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        EXPECT_TRUE(window->rect().contains(child->geometry())) << child->objectName().toStdString();
}

TEST(QtSettingsAndRecordDialogs, BothDialogsBuildLegibly)
{
    expectLegible(optionDialogTemplate());
    expectLegible(logDialogTemplate());
}

TEST(QtSettingsAndRecordDialogs, OptionsTabThroughTheirFieldsInTheirOrder)
{
    QtPlatform platform;
    test::RecordingDialog dialog(platform, optionDialogTemplate());
    QtDialogView view(dialog, nullptr);
    QStringList chain;
    QWidget* next = view.widget(IDC_OPT_CAPITAL);
    do {
        if (next->objectName().startsWith(QLatin1String("ctl")))
            chain << next->objectName().mid(3);
        next = next->nextInFocusChain();
    } while (next != view.widget(IDC_OPT_CAPITAL));
    EXPECT_EQ(chain,
              (QStringList{"1024", "1025", "1026", "1027", "1029", "1030", "1034", "1035", "1036", "1028",
                           "1031", "1032", "1033", "1", "2", "1038", "1037", "1039"}));
    auto* capital = qobject_cast<QLineEdit*>(view.widget(IDC_OPT_CAPITAL));
    ASSERT_NE(capital, nullptr);
    EXPECT_TRUE(capital->alignment() & Qt::AlignRight);
    EXPECT_NE(capital->validator(), nullptr);  // digits only
    EXPECT_EQ(qobject_cast<QLineEdit*>(view.widget(IDC_OPT_LEVERAGE))->validator(), nullptr);
}

// Saving asks before a new name and creates nothing itself; an existing file is not asked about.
TEST(QtSettingsAndRecordDialogs, SaveAsksBeforeANewNameOnly)
{
    test::TempFolder folder;
    test::WorkingDirectory here(folder.path());
    QtPlatform platform;
    FileDialogOptions options;
    options.defaultExtension = "csv";
    options.filter = toCp932("CSV ファイル (*.csv)|*.csv||");
    options.createPrompt = true;

    int questions = 0;
    whenModal<QFileDialog>([](QFileDialog* dialog) {
        dialog->selectFile(QStringLiteral("record"));
        static_cast<QDialog*>(dialog)->accept();
    });
    whenModal<QMessageBox>([&](QMessageBox* box) {
        ++questions;
        box->button(QMessageBox::Yes)->click();
    });
    std::optional<std::filesystem::path> chosen = platform.saveFile(options);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->filename(), "record.csv");
    EXPECT_EQ(questions, 1);
    EXPECT_FALSE(folder.exists("record.csv"));

    folder.write("record.csv", "old");
    whenModal<QFileDialog>([](QFileDialog* dialog) {
        dialog->selectFile(QStringLiteral("record.csv"));
        static_cast<QDialog*>(dialog)->accept();
    });
    chosen = platform.saveFile(options);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(questions, 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace
}  // namespace kv
