// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/LogDialog.h"
#include "resources/ControlIds.h"
#include "support/Deadline.h"
#include "support/MainWindowFixture.h"
#include "text/Cp932.h"
#include "toolkit/headless/HeadlessView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace kv {
namespace {

using test::MainWindow;

// The record edit's lines of every dump printed so far.
std::vector<std::string> dumpedRecords(const std::string& out)
{
    std::vector<std::string> records;
    const std::string mark = "\n1031\t";
    for (size_t at = out.find(mark); at != std::string::npos; at = out.find(mark, at + 1)) {
        size_t begin = at + mark.size();
        records.push_back(out.substr(begin, out.find('\n', begin) - begin));
    }
    return records;
}

std::string withBlanks(std::string csv)
{
    std::replace(csv.begin(), csv.end(), ',', ' ');
    return csv;
}

// Three days of signals, a purchase on each of the first two.
class TradeRecordViewer : public ::testing::Test {
protected:
    void SetUp() override
    {
        w.folder.writeLines("signals.csv",
                            {
                                "銘柄,シグナル日付,購入価格,結果,終了日付,売却価格,パフォーマンス",
                                "極洋,2004/01/05,500,○,2004/01/06,520,+4%",
                                "トヨタ自動車,2004/01/06,3000,×,2004/01/08,2900,-3%",
                                "ソフトバンク,2004/01/07,2000,○,2004/01/09,2100,+5%",
                            });
        w.platform.queueFileAnswer(HeadlessPlatform::FileDialogKind::Open, w.folder / "signals.csv");
        w.click(IDC_LOAD);
        w.clearMessages();
    }
    void runLoggedToEnd()
    {
        w.platform.queueFileAnswer(HeadlessPlatform::FileDialogKind::Save, w.folder / "log.csv");
        w.click(IDC_RUN);
        w.click(IDC_AUTO);
        w.tick(1000);
        ASSERT_TRUE(w.dialog->engine.finished());
    }
    // Opens 売買履歴 and runs `lines` in the viewer.
    void viewer(const std::vector<std::string>& lines)
    {
        w.out.str("");
        w.platform.queueLines(lines);
        w.click(IDC_HISTORY);
    }

    MainWindow w;
};

TEST_F(TradeRecordViewer, AfterARunItShowsTheLogWithBlanksAndSavesItBackByteForByte)
{
    HeadlessView* main = w.platform.viewOf(*w.dialog);
    EXPECT_FALSE(main->enabled(IDC_HISTORY));
    runLoggedToEnd();
    EXPECT_TRUE(main->enabled(IDC_HISTORY));
    const std::string log = w.folder.read("log.csv");
    ASSERT_EQ(std::count(log.begin(), log.end(), '\n'), 5);  // header, two purchases... and sales

    // Saved into a folder that is not the working directory: the file lands where it was chosen.
    test::TempFolder elsewhere;
    w.clearMessages();
    viewer({"dump", "answer-save " + (elsewhere / "record.csv").string(), "click 1024", "dump", "click OK"});
    const std::vector<std::string> shown = dumpedRecords(w.out.str());
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], escapeLineBreaks(toUtf8(withBlanks(log))));
    EXPECT_EQ(shown[1], shown[0]);  // the save does not touch the edit
    EXPECT_EQ(elsewhere.read("record.csv"), log);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::current_path() / "record.csv"));
    EXPECT_TRUE(w.messagesUtf8().empty());
    EXPECT_EQ(w.platform.waitCursorsShown(), 1);
    EXPECT_EQ(w.platform.waitCursorDepth(), 0);

    ASSERT_EQ(w.platform.fileDialogs().size(), 1u);
    const FileDialogOptions& o = w.platform.fileDialogs()[0].options;
    EXPECT_EQ(o.defaultExtension, "csv");
    EXPECT_EQ(toUtf8(o.filter), "CSV ファイル (*.csv)|*.csv|すべてのファイル (*.*)|*.*||");
    EXPECT_TRUE(o.initialName.empty());
    EXPECT_TRUE(o.createPrompt);
    EXPECT_FALSE(o.overwritePrompt);
    EXPECT_EQ(w.platform.topDialog(), w.dialog.get());

    // The signal file the window read is no file to save into: refused, and asked again.
    const std::string signals = w.folder.read("signals.csv");
    w.clearMessages();
    viewer({"answer-save " + (w.folder / "signals.csv").string(), "answer-cancel", "click 1024", "click OK"});
    EXPECT_EQ(w.messagesUtf8(), std::vector<std::string>{"入力ファイルには書き込めません：signals.csv"});
    EXPECT_EQ(w.folder.read("signals.csv"), signals);
}

TEST_F(TradeRecordViewer, RefreshShowsTheTradesAutoMakesBehindIt)
{
    w.app->settings.saveLog = false;  // the record is kept without a log file too
    w.click(IDC_RUN);
    w.click(IDC_AUTO);
    viewer({"dump", "tick 1000", "dump", "click 1023", "dump", "close"});
    ASSERT_TRUE(w.dialog->engine.finished());
    const std::vector<std::string> shown = dumpedRecords(w.out.str());
    ASSERT_EQ(shown.size(), 3u);
    const std::string header = "売買 コード 銘柄名 日付 株価 株数 金額 差引益or手数料 利益率 現利益合計 "
                               "税引き益 運用枠残 現在の資産\\r\\n";
    EXPECT_EQ(shown[0], header);  // the first day gathered, nothing bought yet
    EXPECT_EQ(shown[1], shown[0]);
    EXPECT_EQ(shown[2], escapeLineBreaks(toUtf8(w.dialog->engine.tradeRecord())));
    EXPECT_EQ(std::count(w.dialog->engine.tradeRecord().begin(), w.dialog->engine.tradeRecord().end(), '\n'),
              5);
}

// The viewer over a text of its own, opened on the scripted desktop.
struct SaveCase : public ::testing::Test {
    void open(const std::string& record)
    {
        text = record;
        dialog = std::make_unique<LogDialog>(w.platform, text);
        w.platform.open(*dialog);
        w.clearMessages();
    }
    void save(const std::filesystem::path& file)
    {
        w.platform.queueFileAnswer(HeadlessPlatform::FileDialogKind::Save, file);
        w.platform.execute("click 1024");
    }
    void TearDown() override
    {
        if (dialog)
            w.platform.close(*dialog);
    }

    MainWindow w;
    std::string text;
    std::unique_ptr<LogDialog> dialog;
};

TEST_F(SaveCase, BlanksBecomeCommasInTheFileAndACommaComesBackAsABlank)
{
    open("a b,c\r\nd  e");
    w.folder.write("out.csv", "an older and longer file that is replaced without a question");
    save(w.folder / "out.csv");
    EXPECT_EQ(w.folder.read("out.csv"), "a,b,c\r\nd,,e");
    EXPECT_EQ(dialog->recordText, "a b c\r\nd  e");
    EXPECT_EQ(w.platform.topView()->text(IDC_RECORD_TEXT), "a b,c\r\nd  e");  // not refreshed
    EXPECT_TRUE(w.messagesUtf8().empty());

    // 更新 shows the record again.
    w.platform.execute("click 1023");
    EXPECT_EQ(dialog->recordText, "a b,c\r\nd  e");
}

TEST_F(SaveCase, AnEmptyTextEmptiesTheChosenFile)
{
    open("");
    w.folder.write("out.csv", "old");
    save(w.folder / "out.csv");
    EXPECT_TRUE(w.folder.exists("out.csv"));
    EXPECT_EQ(w.folder.read("out.csv"), "");
    EXPECT_TRUE(w.messagesUtf8().empty());
}

TEST_F(SaveCase, CancelDoesNothingAndFilesThatFailAreReported)
{
    open("a b\r\n");
    w.platform.queueFileAnswer(HeadlessPlatform::FileDialogKind::Any, std::nullopt);
    w.platform.execute("click 1024");
    EXPECT_TRUE(w.messagesUtf8().empty());
    EXPECT_EQ(w.platform.waitCursorsShown(), 0);

    save(w.folder / "missing" / "out.csv");
    EXPECT_EQ(w.messagesUtf8(), std::vector<std::string>{"ファイルをオープンできません"});
    EXPECT_EQ(w.platform.waitCursorsShown(), 0);

    if (std::filesystem::exists("/dev/full")) {
        std::filesystem::create_symlink("/dev/full", w.folder / "full.csv");
        w.clearMessages();
        save(w.folder / "full.csv");
        EXPECT_EQ(w.messagesUtf8(), std::vector<std::string>{"ファイルに書き込めません"});
        EXPECT_EQ(dialog->recordText, "a b\r\n");
        EXPECT_EQ(w.platform.waitCursorDepth(), 0);

        // A record well past the C library's 4 KB buffer fails as surely.
        w.platform.close(*dialog);
        open(std::string(20000, 'x'));
        save(w.folder / "full.csv");
        EXPECT_EQ(w.messagesUtf8(), std::vector<std::string>{"ファイルに書き込めません"});
    }

    // A FIFO is refused before it is opened: opening it would wait for a reader for good.
    test::Deadline deadline(20);
    ASSERT_EQ(::mkfifo((w.folder / "fifo.csv").c_str(), 0600), 0);
    w.clearMessages();
    save(w.folder / "fifo.csv");
    EXPECT_EQ(w.messagesUtf8(), std::vector<std::string>{"ファイルをオープンできません"});
}

}  // namespace
}  // namespace kv
