// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/QtTestSupport.h"

#include "app/OptimisationDialog.h"
#include "batch/BatchSession.h"
#include "data/SimulatorApp.h"
#include "resources/ControlIds.h"
#include "support/TempFolder.h"
#include "toolkit/qt/QtPlatform.h"

#include <QDialog>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

namespace kv {
namespace {

using test::waitFor;
using test::whenModal;

// The sample's signals loaded as kirvane-batch loads them, for the optimisation window.
struct LoadedSample {
    LoadedSample()
    {
        for (const char* file : {"index.txt", "signals.csv"})
            std::filesystem::copy_file(std::filesystem::path(KV_SAMPLE_DIR) / file, folder / file);
        session = std::make_unique<BatchSession>(folder.path(), err);
        ready = session->prepare(folder / "signals.csv", {}, {}) == RunPreparation::Ready;
    }
    test::TempFolder folder;
    std::ostringstream err;
    std::unique_ptr<BatchSession> session;
    bool ready = false;
};

// Typed at a steady pace while the window's timer refreshes the count between the keys, every
// edit holds exactly what was typed, with the cursor after it, and the count follows.
TEST(QtOptimisationWindow, TypingWhileTheCountRefreshesKeepsEveryKeyInPlace)
{
    LoadedSample sample;
    ASSERT_TRUE(sample.ready) << sample.err.str();
    QtPlatform platform;
    OptimisationDialog window(*sample.session->app, platform, sample.session->loadedSignals,
                              sample.session->engine.startRow(), sample.session->engine.endRow());
    const std::pair<int, const char*> typing[] = {
        {IDC_OPTIM_FROM1, "0.3"},          {IDC_OPTIM_TO1, "0.9"},
        {IDC_OPTIM_STEP1, "0.15"},         {IDC_OPTIM_LIST2, "12,15"},
        {IDC_OPTIM_HOLDOUT, "2005/01/04"},
    };
    std::vector<std::pair<QString, int>> typed;
    QString count;
    whenModal<QDialog>([&](QDialog* shown) {
        auto* countField = shown->findChild<QLineEdit*>(QStringLiteral("ctl%1").arg(IDC_OPTIM_COUNT));
        for (const auto& [id, text] : typing) {
            auto* edit = shown->findChild<QLineEdit*>(QStringLiteral("ctl%1").arg(id));
            edit->setFocus();
            edit->selectAll();
            QTest::keyClick(edit, Qt::Key_Delete);
            QTest::keyClicks(edit, QString::fromUtf8(text), Qt::NoModifier, 70);
            QTest::qWait(120);  // the refresh after the last key
            typed.emplace_back(edit->text(), edit->cursorPosition());
        }
        waitFor([&] { return countField->text().startsWith(QString::fromUtf8("組合せ数：10（")); });
        count = countField->text();
        shown->close();
    });
    platform.runModal(window);
    ASSERT_EQ(typed.size(), std::size(typing));
    for (size_t i = 0; i < typed.size(); ++i) {
        EXPECT_EQ(typed[i].first.toStdString(), typing[i].second);
        EXPECT_EQ(typed[i].second, typed[i].first.size()) << typing[i].second;
    }
    // 0.3, 0.45, 0.6, 0.75, 0.9 against 12 and 15.
    EXPECT_TRUE(count.startsWith(QString::fromUtf8("組合せ数：10（評価期間と検証期間で各 1 回）")))
        << count.toStdString();
}

}  // namespace
}  // namespace kv
