// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/QtTestSupport.h"

#include "app/SimulatorDialog.h"
#include "data/SimulatorApp.h"
#include "resources/ControlIds.h"
#include "settings/SettingsFile.h"
#include "support/StockMaster.h"
#include "support/TempFolder.h"
#include "toolkit/qt/QtPlatform.h"

#include <QAbstractButton>
#include <QDialog>
#include <QDropEvent>
#include <QFile>
#include <QAbstractItemView>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>

namespace kv {
namespace {

using test::waitFor;
using test::whenModal;

// Drags `file` from the desktop onto `target` and, when the drag is taken and `release` is
// set, drops it there. Returns whether the window took the drag.
bool dragFile(QWidget* target, const std::filesystem::path& file, bool release)
{
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QFile::decodeName(file.c_str()))});
    QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted() || !release)
        return enter.isAccepted();
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

void answer(QMessageBox* box, const char* utf8)
{
    for (QAbstractButton* button : box->buttons())
        if (button->text() == QString::fromUtf8(utf8))
            button->click();
}

TEST(QtOpeningFiles, FileFromTheCommandLineAndDroppedFilesLoadAndARunRefusesTheDrop)
{
    test::TempFolder folder;
    test::listedStocks().writeIndex(folder);
    SimulationSettings settings;
    settings.saveLog = false;  // a run starts without asking for a trade log
    ASSERT_TRUE(saveSettings(settings, folder / "kvn.conf"));
    folder.writeLines("signals.csv",
                      {"h", "極洋,2004/01/05,250,○,2004/01/14,270,+8.0%",
                       "トヨタ自動車,2004/01/06,3000,×,2004/01/15,2900,-3.3%",
                       "極洋,2004/01/07,250,○,2004/01/14,270,+8.0%"});
    folder.writeLines("one.csv", {"h", "ソフトバンク,2004/02/02,100,×,2004/02/03,90,-10%"});
    folder.writeLines("notes.txt", {"h"});

    auto app = std::make_unique<SimulatorApp>();
    QtPlatform platform;
    SimulatorDialog dialog(*app, platform, folder.path(), folder / "signals.csv");

    int rowsAtStart = -1, rowsAfterDrop = -1, rowsAfterRefusal = -1;
    bool textFileTaken = true, csvTaken = false;
    QString refusal, quitQuestion;
    bool keptOpen = false;
    whenModal<QDialog>([&](QDialog* window) {
        auto* list = window->findChild<QAbstractItemView*>(QStringLiteral("ctl%1").arg(IDC_SIGNAL_LIST));
        if (!list) {
            window->close();
            return;
        }
        rowsAtStart = list->model()->rowCount();

        // Dropped on the list, the file reaches the window beneath it.
        textFileTaken = dragFile(list->viewport(), folder / "notes.txt", true);
        csvTaken = dragFile(list->viewport(), folder / "one.csv", true);
        waitFor([&] { return list->model()->rowCount() == 1; });
        rowsAfterDrop = list->model()->rowCount();

        window->findChild<QPushButton*>(QStringLiteral("ctl%1").arg(IDC_RUN))->click();
        whenModal<QMessageBox>([&, window, list](QMessageBox* box) {
            refusal = box->text();
            box->button(QMessageBox::Ok)->click();
            QTimer::singleShot(0, window, [&, window, list] {
                rowsAfterRefusal = list->model()->rowCount();
                // The run is active: the close box asks; いいえ keeps the window, はい ends it.
                whenModal<QMessageBox>([&, window](QMessageBox* question) {
                    quitQuestion = question->text();
                    answer(question, "いいえ");
                    QTimer::singleShot(0, window, [&, window] {
                        keptOpen = window->isVisible() && !dialog.ended();
                        whenModal<QMessageBox>([](QMessageBox* again) { answer(again, "はい"); });
                        window->close();
                    });
                });
                window->close();
            });
        });
        dragFile(window, folder / "signals.csv", true);
    });

    platform.runModal(dialog);
    EXPECT_EQ(rowsAtStart, 3);
    EXPECT_FALSE(textFileTaken);
    EXPECT_TRUE(csvTaken);
    EXPECT_EQ(rowsAfterDrop, 1);
    EXPECT_EQ(refusal, QString::fromUtf8("実行中は変更できません。"));
    EXPECT_EQ(rowsAfterRefusal, 1);
    EXPECT_EQ(quitQuestion, QString::fromUtf8("シミュレーション実行中です。終了しますか？"));
    EXPECT_TRUE(keptOpen);
    EXPECT_EQ(dialog.signalList.count(), 1);

    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
}  // namespace kv
