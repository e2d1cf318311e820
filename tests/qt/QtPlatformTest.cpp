// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/QtTestSupport.h"

#include "support/TempFolder.h"
#include "text/Cp932.h"
#include "toolkit/qt/QtDialogView.h"
#include "toolkit/qt/QtPlatform.h"

#include <QAbstractButton>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>

#include <gtest/gtest.h>

#include <filesystem>

namespace kv {
namespace {

using test::RecordingDialog;
using test::whenModal;

const DialogTemplate& smallTemplate()
{
    static const DialogTemplate t = [] {
        DialogTemplate d{901, "Probe", "MS Shell Dlg", 8, 120, 40};
        d.controls = {
            {ControlKind::Button, 20, toCp932("通知"), 5, 5, 50, 14},
            {ControlKind::Button, IDOK, "OK", 65, 5, 50, 14, StyleDefault},
        };
        return d;
    }();
    return t;
}

// Every modal test must leave no window behind.
class QtPlatformTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (QWidget* widget : QApplication::topLevelWidgets())
            EXPECT_FALSE(widget->isVisible()) << widget->metaObject()->className();
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
};

class ReluctantDialog : public RecordingDialog {
public:
    using RecordingDialog::RecordingDialog;
    void onCancel() override
    {
        if (++cancels == 2)
            endDialog(IDCANCEL);
    }
    int cancels = 0;
};

TEST_F(QtPlatformTest, EscAndTheCloseBoxAskTheDialogWhichDecides)
{
    QtPlatform platform;
    ReluctantDialog dialog(platform, smallTemplate());
    bool stillUpAfterClose = false;
    whenModal<QDialog>([&](QDialog* window) {
        window->close();
        stillUpAfterClose = window->isVisible();
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(window, &esc);
    });

    EXPECT_EQ(platform.runModal(dialog), IDCANCEL);
    EXPECT_TRUE(stillUpAfterClose);
    EXPECT_EQ(dialog.cancels, 2);
    EXPECT_EQ(dialog.view(), nullptr);
}

TEST_F(QtPlatformTest, ButtonEndsTheModalRunWithItsResult)
{
    QtPlatform platform;
    RecordingDialog dialog(platform, smallTemplate());
    whenModal<QDialog>(
        [](QDialog* window) { window->findChild<QPushButton*>(QStringLiteral("ctl1"))->click(); });

    EXPECT_EQ(platform.runModal(dialog), IDOK);
    EXPECT_EQ(dialog.commands.size(), 1u);
}

TEST_F(QtPlatformTest, TimerTicksGoOnWhileAMessageBoxIsUp)
{
    QtPlatform platform;
    RecordingDialog dialog(platform, smallTemplate());
    int ticksAtBox = -1, ticksAfterBox = -1;
    QString boxText;
    dialog.onCommandHook = [&](int id) {
        if (id != 20)
            return;
        ticksAtBox = dialog.ticks;
        platform.messageBox(toCp932("残高 \\100"));
        ticksAfterBox = dialog.ticks;
        dialog.endDialog(IDOK);
    };
    whenModal<QDialog>([&](QDialog* window) {
        platform.setTimer(dialog, 1, 0);
        window->findChild<QPushButton*>(QStringLiteral("ctl20"))->click();
    });
    whenModal<QMessageBox>(
        [&](QMessageBox* box) {
            boxText = box->text();
            box->button(QMessageBox::Ok)->click();
        },
        [&] { return ticksAtBox >= 0 && dialog.ticks >= ticksAtBox + 3; });

    EXPECT_EQ(platform.runModal(dialog), IDOK);
    EXPECT_GE(ticksAfterBox - ticksAtBox, 3);
    EXPECT_EQ(boxText, QString::fromUtf8("残高 ¥100"));
}

TEST(QtPlatformFilters, OriginalFilterStringsBecomeQtNameFilters)
{
    struct Case {
        const char* utf8;
        QStringList expected;
    } cases[] = {
        {"CSV ファイル (*.csv)|*.csv|すべてのファイル (*.*)|*.*||",
         {QString::fromUtf8("CSV ファイル (*.csv) (*.csv)"),
          QString::fromUtf8("すべてのファイル (*.*) (*)")}},
        // ポ ends in the byte '|' in code page 932 and must not split the description.
        {"ポイント|*.txt;*.log||", {QString::fromUtf8("ポイント (*.txt *.log)")}},
        {"", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QtPlatform::nameFilters(toCp932(c.utf8)), c.expected) << c.utf8;
}

TEST_F(QtPlatformTest, OpenFileOffersToCreateAMissingFile)
{
    test::TempFolder folder;
    test::WorkingDirectory here(folder.path());
    QtPlatform platform;
    FileDialogOptions options;
    options.defaultExtension = "csv";
    options.filter = toCp932("CSV ファイル (*.csv)|*.csv||");
    options.createPrompt = true;
    QString question;
    whenModal<QFileDialog>([](QFileDialog* dialog) {
        dialog->selectFile(QStringLiteral("trades"));
        static_cast<QDialog*>(dialog)->accept();  // the Open button
    });
    whenModal<QMessageBox>([&](QMessageBox* box) {
        question = box->text();
        box->button(QMessageBox::Yes)->click();
    });

    std::optional<std::filesystem::path> chosen = platform.openFile(options);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(*chosen, std::filesystem::canonical(folder.path()) / "trades.csv");
    EXPECT_TRUE(folder.exists("trades.csv"));
    EXPECT_TRUE(question.contains(QStringLiteral("trades.csv")));
}

// A name hint is the caption and shows in the empty name box; saving without a typed name
// saves nothing under the hint's words.
TEST_F(QtPlatformTest, ANameHintIsNeverTakenAsTheName)
{
    test::TempFolder folder;
    test::WorkingDirectory here(folder.path());
    QtPlatform platform;
    FileDialogOptions options;
    options.defaultExtension = "csv";
    options.nameHint = toCp932("ログファイル名入力");
    QString title, typed, hint;
    whenModal<QFileDialog>([&](QFileDialog* dialog) {
        title = dialog->windowTitle();
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        typed = name ? name->text() : QStringLiteral("?");
        hint = name ? name->placeholderText() : QString();
        dialog->reject();
    });
    EXPECT_FALSE(platform.saveFile(options));
    EXPECT_EQ(title, QString::fromUtf8("ログファイル名入力"));
    EXPECT_TRUE(typed.isEmpty()) << typed.toStdString();
    EXPECT_EQ(hint, QString::fromUtf8("ログファイル名入力"));
}

}  // namespace
}  // namespace kv
