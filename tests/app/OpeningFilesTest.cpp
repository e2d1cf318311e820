// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Application.h"
#include "resources/ControlIds.h"
#include "support/Deadline.h"
#include "support/MainWindowFixture.h"
#include "text/CommandLine.h"
#include "text/Cp932.h"
#include "text/LineReader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace kv {
namespace {

using test::MainWindow;

const std::vector<std::string> kSignals = {
    "銘柄,シグナル日付,購入価格,結果,終了日付,売却価格,パフォーマンス",
    "極洋,2004/01/05,250,○,2004/01/14,270,+8.0%",
    "トヨタ自動車,2004/01/06,3000,×,2004/01/15,2900,-3.3%",
};
const std::string kReadyToRun = "必要に応じてオプションを変更し実行ボタンを押してください。";

// The window started with a signal file on its command line.
void startWith(MainWindow& w, const std::filesystem::path& file)
{
    w.dialog = std::make_unique<SimulatorDialog>(*w.app, w.platform, w.folder.path(), file);
    w.platform.open(*w.dialog);
}

TEST(OpeningFiles, FileGivenAtStartLoadsOnceTheWindowHasStarted)
{
    MainWindow w(test::listedStocks().indexLines(), false);
    w.folder.writeLines("signals.csv", kSignals);
    startWith(w, w.folder / "signals.csv");
    // First start, then the load: no file dialog is shown for it.
    EXPECT_EQ(w.messagesUtf8(), std::vector<std::string>{"初回起動：オプションファイルを作成します。"});
    EXPECT_TRUE(w.platform.fileDialogs().empty());
    EXPECT_EQ(w.dialog->signalList.count(), 2);
    EXPECT_TRUE(w.dialog->signalsLoaded);
    EXPECT_EQ(w.text(IDC_START_DATE), "2004/01/05");
    EXPECT_EQ(w.text(IDC_END_DATE), "2004/01/06");
    EXPECT_EQ(w.text(IDC_STATUS), kReadyToRun);
    EXPECT_TRUE(w.folder.exists("kvn.conf"));

    MainWindow missing(test::listedStocks().indexLines(), false);
    startWith(missing, missing.folder / "nowhere.csv");
    EXPECT_EQ(missing.messagesUtf8(),
              (std::vector<std::string>{"初回起動：オプションファイルを作成します。",
                                        "ファイルをオープンできません"}));
    EXPECT_EQ(missing.dialog->signalList.count(), 0);
    EXPECT_FALSE(missing.dialog->signalsLoaded);
    EXPECT_EQ(missing.text(IDC_STATUS), "");
}

TEST(OpeningFiles, DroppedCsvLoadsAsTheLoadButtonWouldAndOtherFilesAreRefused)
{
    MainWindow w;
    w.folder.writeLines("signals.csv", kSignals);
    w.folder.writeLines("SHORT.CSV", {kSignals[0], kSignals[1]});
    w.folder.writeLines("notes.txt", kSignals);
    w.clearMessages();

    // Only a .csv is taken; anything else is refused while it is dragged.
    w.run({"drop " + (w.folder / "notes.txt").string()});
    EXPECT_EQ(w.dialog->signalList.count(), 0);
    EXPECT_TRUE(w.messagesUtf8().empty());

    w.run({"drop " + (w.folder / "signals.csv").string()});
    EXPECT_EQ(w.dialog->signalList.count(), 2);
    EXPECT_EQ(w.text(IDC_STATUS), kReadyToRun);
    EXPECT_TRUE(w.platform.fileDialogs().empty());
    EXPECT_EQ(w.platform.waitCursorsShown(), 1);

    w.run({"drop " + (w.folder / "SHORT.CSV").string()});
    EXPECT_EQ(w.dialog->signalList.count(), 1);
    EXPECT_EQ(w.text(IDC_END_DATE), "2004/01/05");

    // A file gone before the drop: the loader's own message, and the list stays.
    w.run({"drop " + (w.folder / "gone.csv").string()});
    EXPECT_EQ(w.messagesUtf8(), std::vector<std::string>{"ファイルをオープンできません"});
    EXPECT_EQ(w.dialog->signalList.count(), 1);

    // A FIFO is refused at once like a file that cannot be opened (reading it would wait for a
    // writer for good); a file beyond the size limit says so. The list stays either way.
    test::Deadline deadline(20);
    ASSERT_EQ(::mkfifo((w.folder / "fifo.csv").c_str(), 0600), 0);
    w.folder.write("huge.csv", "");
    std::filesystem::resize_file(w.folder / "huge.csv", kMaxInputBytes + 1);
    w.clearMessages();
    w.run({"drop " + (w.folder / "fifo.csv").string(), "drop " + (w.folder / "huge.csv").string()});
    EXPECT_EQ(
        w.messagesUtf8(),
        (std::vector<std::string>{"ファイルをオープンできません",
                                  "ファイルが大きすぎるため読み込めません（1000000 行、256 MB まで）"}));
    EXPECT_EQ(w.dialog->signalList.count(), 1);
}

TEST(OpeningFiles, DropDuringARunIsRefusedAndChangesNothing)
{
    MainWindow w;
    w.folder.writeLines("signals.csv", kSignals);
    w.folder.writeLines("other.csv", {kSignals[0], kSignals[2]});
    w.run({"drop " + (w.folder / "signals.csv").string()});
    w.platform.queueFileAnswer(HeadlessPlatform::FileDialogKind::Save, w.folder / "log.csv");
    w.click(IDC_RUN);
    ASSERT_TRUE(w.dialog->engine.inProgress());
    std::string status = w.text(IDC_STATUS);
    w.clearMessages();

    w.run({"drop " + (w.folder / "other.csv").string()});
    EXPECT_EQ(w.messagesUtf8(), std::vector<std::string>{"実行中は変更できません。"});
    EXPECT_EQ(w.dialog->signalList.count(), 2);
    EXPECT_EQ(toUtf8(w.dialog->signalList.row(1)).substr(0, 4), "7203");
    EXPECT_TRUE(w.dialog->engine.inProgress());
    EXPECT_EQ(w.text(IDC_STATUS), status);
    EXPECT_EQ(w.platform.waitCursorsShown(), 0);

    // After RESET the same drop loads.
    w.click(IDC_RESET);
    w.run({"drop " + (w.folder / "other.csv").string()});
    EXPECT_EQ(w.dialog->signalList.count(), 1);
}

TEST(CommandLine, TheWindowTakesAtMostOneSignalFile)
{
    struct Case {
        std::vector<std::string> arguments;
        std::optional<std::string> file;  // nothing: refused
    };
    const Case cases[] = {
        {{}, std::string()},
        {{"signals.csv"}, "signals.csv"},
        {{"--", "-odd.csv"}, "-odd.csv"},
        {{"-"}, "-"},
        {{"--frobnicate"}, std::nullopt},
        {{"-x", "signals.csv"}, std::nullopt},
        {{"a.csv", "b.csv"}, std::nullopt},
        {{"a.csv", "--", "b.csv"}, std::nullopt},
        {{""}, std::nullopt},
    };
    for (const Case& c : cases) {
        std::string context = c.arguments.empty() ? "(none)" : c.arguments[0] + " …";
        ApplicationArguments parsed = parseApplicationArguments(c.arguments);
        if (!c.file) {
            EXPECT_FALSE(parsed.error.empty()) << context;
            continue;
        }
        EXPECT_EQ(parsed.error, "") << context;
        EXPECT_EQ(parsed.signalFile.value_or("").string(), *c.file) << context;
    }
    EXPECT_EQ(parseApplicationArguments({"--frobnicate"}).error, "不明なオプションです: --frobnicate");

    // --help and --version answer before anything else is looked at, but not after "--".
    EXPECT_EQ(findStandardOption({"a.csv", "b.csv", "-h"}), StandardOption::Help);
    EXPECT_EQ(findStandardOption({"--bogus", "--version", "--help"}), StandardOption::Version);
    EXPECT_EQ(findStandardOption({"--", "--help"}), StandardOption::None);
    EXPECT_EQ(findStandardOption({"--helpful"}), StandardOption::None);
}

}  // namespace
}  // namespace kv
