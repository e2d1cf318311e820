// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/Numbers.h"
#include "toolkit/DataExchange.h"
#include "toolkit/Dialog.h"
#include "toolkit/DialogTemplate.h"
#include "toolkit/ListBox.h"
#include "toolkit/headless/HeadlessPlatform.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <sstream>

namespace kv {
namespace {

TEST(DialogNumber, AcceptsOnlyWholeDecimalNumbers)
{
    struct Case {
        const char* text;
        bool accepted;
        double value;
    } cases[] = {
        {"0", true, 0},      {"0.0", true, 0},  {" 12.5\t", true, 12.5}, {"-3", true, -3},
        {"1e3", true, 1000}, {"", false, 0},    {"   ", false, 0},       {"-0", false, 0},
        {".0", false, 0},    {"12a", false, 0}, {"0x10", false, 0},      {"inf", false, 0},
        {"1 2", false, 0},   {".5", true, 0.5},
    };
    for (const Case& c : cases) {
        double value = -99;
        EXPECT_EQ(parseDialogNumber(c.text, value), c.accepted) << '"' << c.text << '"';
        if (c.accepted) {
            EXPECT_EQ(value, c.value) << '"' << c.text << '"';
        }
    }
}

TEST(DialogNumber, ShowsUpToFifteenDigitsWithoutTrailingZeros)
{
    EXPECT_EQ(dialogNumberText(2000000), "2000000");
    EXPECT_EQ(dialogNumberText(2.5), "2.5");
    EXPECT_EQ(dialogNumberText(-3), "-3");
    EXPECT_EQ(dialogNumberText(0.1 * 100), "10");
    EXPECT_EQ(dialogNumberText(50000000), "50000000");
}

struct RecordingObserver : ListObserver {
    std::vector<std::string> events;
    void rowsInserted(int first, int count) override
    {
        events.push_back("insert " + std::to_string(first) + "+" + std::to_string(count));
    }
    void rowRemoved(int index) override { events.push_back("remove " + std::to_string(index)); }
    void rowsCleared() override { events.push_back("clear"); }
    void selectionSet(int index) override { events.push_back("select " + std::to_string(index)); }
};

TEST(ListBox, KeepsOrderSelectionAndTellsItsObserver)
{
    ListBox list;
    RecordingObserver observer;
    list.setObserver(&observer);
    list.append("a");
    {
        ListBox::AppendBatch batch(list);
        list.append("b");
        list.append("c");
        list.append("d");
    }
    list.setSelection(2);
    list.remove(0);  // the selected row moves up with its row
    EXPECT_EQ(list.selection(), 1);
    EXPECT_EQ(list.row(1), "c");
    list.remove(1);  // removing the selected row clears the selection
    EXPECT_EQ(list.selection(), -1);
    list.remove(7);  // no such row: nothing happens

    std::string out = "unchanged";
    EXPECT_FALSE(list.copyRow(5, out));
    EXPECT_EQ(out, "unchanged");
    list.clear();
    EXPECT_EQ(
        observer.events,
        (std::vector<std::string>{"insert 0+1", "insert 1+3", "select 2", "remove 0", "remove 1", "clear"}));
}

TEST(ListBox, RemovesManyRowsInOnePassAsOneByOneFromTheHighest)
{
    struct Case {
        int selected;
        std::vector<int> indices;
        std::string rowsLeft;
        int selectedLeft;
        std::vector<std::string> events;
    } cases[] = {
        {4, {0, 2, 3}, "bef", 1, {"remove 3", "remove 2", "remove 0"}},   // selection moves up
        {2, {0, 2, 3}, "bef", -1, {"remove 3", "remove 2", "remove 0"}},  // selected row removed
        {1, {5}, "abcde", 1, {"remove 5"}},                               // the last row
        {5, {1, 9, -1, 3, 3, 2}, "acef", 3, {"remove 3", "remove 1"}},    // bad indices passed over
        {0, {}, "abcdef", 0, {}},
    };
    for (const Case& c : cases) {
        ListBox list;
        for (char row : std::string("abcdef"))
            list.append(std::string(1, row));
        list.setSelection(c.selected);
        RecordingObserver observer;
        list.setObserver(&observer);
        list.removeRows(c.indices);
        std::string left;
        for (int i = 0; i < list.count(); ++i)
            left += list.row(i);
        EXPECT_EQ(left, c.rowsLeft) << "selected " << c.selected;
        EXPECT_EQ(list.selection(), c.selectedLeft) << "selected " << c.selected;
        EXPECT_EQ(observer.events, c.events) << "selected " << c.selected;
    }
}

// A small dialog with an edit, a number edit, a check box and a button that opens a nested
// modal dialog, to watch the headless backend's command loop.
DialogTemplate testTemplate()
{
    DialogTemplate t{500, "test", "font", 8, 100, 100};
    t.controls = {
        {ControlKind::Edit, 10, {}, 0, 0, 10, 10},
        {ControlKind::Edit, 11, {}, 0, 0, 10, 10},
        {ControlKind::CheckBox, 12, "box", 0, 0, 10, 10},
        {ControlKind::Button, 13, "nested", 0, 0, 10, 10},
        {ControlKind::Button, 14, "disabled", 0, 0, 10, 10, StyleDisabled},
        {ControlKind::ComboBox, 15, {}, 0, 0, 10, 10, StyleNone, {"zero", "one"}},
        {ControlKind::Button, IDOK, "OK", 0, 0, 10, 10},
    };
    return t;
}

class TestDialog : public Dialog {
public:
    using Dialog::Dialog;
    const DialogTemplate& dialogTemplate() const override
    {
        static const DialogTemplate t = testTemplate();
        return t;
    }
    void exchange(DataExchange& dx) override
    {
        dx.text(10, name);
        dx.number(11, amount);
        dx.check(12, flag);
        dx.selection(15, choices, choice);
    }
    void onCommand(int id, Notification n) override
    {
        commands.push_back(id);
        if (id == 13) {
            TestDialog inner(platform());
            nestedResult = platform().runModal(inner);
            innerName = inner.name;
            return;
        }
        Dialog::onCommand(id, n);
    }
    void onTimer(int event) override
    {
        ++ticks;
        if (ticks == 3)
            platform().killTimer(*this, event);
    }

    std::string name;
    double amount = 7;
    bool flag = false;
    ComboBox choices;
    int choice = 1;
    std::vector<int> commands;
    int nestedResult = 0;
    std::string innerName;
    int ticks = 0;
};

TEST(HeadlessPlatform, NestedModalLoopReadsTheNextCommands)
{
    std::ostringstream out, err;
    HeadlessPlatform platform(out, err);
    TestDialog outer(platform);
    platform.open(outer);
    platform.queueLines({"type 10 inner text", "click OK"});
    EXPECT_TRUE(platform.execute("click 13"));
    EXPECT_EQ(outer.nestedResult, IDOK);
    EXPECT_EQ(outer.innerName, "inner text");
    EXPECT_EQ(platform.topDialog(), &outer);

    // The script ending inside a modal dialog cancels it.
    EXPECT_TRUE(platform.execute("click 13"));
    EXPECT_EQ(outer.nestedResult, IDCANCEL);
}

TEST(HeadlessPlatform, RefusedNumberKeepsTheDialogOpenAndLaterFieldsUnchanged)
{
    std::ostringstream out, err;
    HeadlessPlatform platform(out, err);
    TestDialog dialog(platform);
    platform.open(dialog);
    platform.execute("type 10 abc");
    platform.execute("type 11 x");
    platform.execute("check 12 1");
    platform.execute("click OK");
    EXPECT_FALSE(dialog.ended());
    EXPECT_EQ(dialog.name, "abc");  // before the refused edit: taken
    EXPECT_EQ(dialog.amount, 7);    // the refused edit keeps its value
    EXPECT_FALSE(dialog.flag);      // after it: untouched
    EXPECT_EQ(platform.topView()->focus(), 11);
    ASSERT_EQ(platform.messages().size(), 1u);

    platform.execute("type 11 12.5");
    platform.execute("select 15 0");
    platform.execute("click OK");
    EXPECT_TRUE(dialog.ended());
    EXPECT_EQ(dialog.amount, 12.5);
    EXPECT_TRUE(dialog.flag);
    EXPECT_EQ(dialog.choice, 0);
}

TEST(HeadlessPlatform, DumpsControlsInIdOrderAndIgnoresDisabledButtons)
{
    std::ostringstream out, err;
    HeadlessPlatform platform(out, err);
    TestDialog dialog(platform);
    platform.open(dialog);
    platform.topView()->setText(10, "a\r\nb");
    platform.execute("click 14");
    EXPECT_TRUE(dialog.commands.empty());
    platform.execute("dump");
    EXPECT_EQ(
        out.str(),
        "1\tOK\n10\ta\\r\\nb\n11\t7\n12\t0\n13\tnested\n14 [disabled]\tdisabled\n15[0]\tzero\n15[1]*\tone\n");
    EXPECT_FALSE(platform.execute("click 99"));
    EXPECT_FALSE(platform.execute("frobnicate 1"));
}

TEST(HeadlessPlatform, DisabledControlsTakeNoInputUntilTheDialogEnablesThem)
{
    std::ostringstream out, err;
    HeadlessPlatform platform(out, err);
    TestDialog dialog(platform);
    platform.open(dialog);
    for (int id : {10, 12, 15})
        dialog.enableControl(id, false);

    EXPECT_TRUE(platform.execute("type 10 typed"));
    EXPECT_TRUE(platform.execute("check 12 1"));
    EXPECT_TRUE(platform.execute("select 15 0"));
    EXPECT_TRUE(platform.execute("click 14"));
    EXPECT_TRUE(dialog.commands.empty());
    EXPECT_EQ(platform.topView()->text(10), "");
    EXPECT_FALSE(platform.topView()->checked(12));
    EXPECT_EQ(platform.topView()->list(15)->selection(), 1);
    EXPECT_TRUE(err.str().empty());

    // The program still writes into a disabled control.
    dialog.name = "shown";
    dialog.updateData(false);
    EXPECT_EQ(platform.topView()->text(10), "shown");

    platform.execute("dump");
    EXPECT_NE(out.str().find("10 [disabled]\tshown\n"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("12 [disabled]\t0\n"), std::string::npos);
    EXPECT_NE(out.str().find("15[1]* [disabled]\tone\n"), std::string::npos);

    dialog.enableControl(14, true);
    dialog.enableControl(12, true);
    platform.execute("click 14");
    platform.execute("check 12 1");
    EXPECT_EQ(dialog.commands, (std::vector<int>{14, 12}));
    EXPECT_TRUE(platform.topView()->enabled(14));
    EXPECT_FALSE(platform.topView()->enabled(10));
    EXPECT_FALSE(platform.topView()->enabled(99));  // no such control

    platform.close(dialog);
    dialog.enableControl(10, true);  // no view: nothing to change, nothing to crash
}

TEST(HeadlessPlatform, EnterPressesTheDefaultButtonOnlyWhileItIsEnabled)
{
    std::ostringstream out, err;
    HeadlessPlatform platform(out, err);
    TestDialog plain(platform);  // no default button: Enter does nothing
    platform.open(plain);
    EXPECT_TRUE(platform.execute("enter"));
    EXPECT_TRUE(plain.commands.empty());
    platform.close(plain);

    struct DefaultDialog : TestDialog {
        using TestDialog::TestDialog;
        const DialogTemplate& dialogTemplate() const override
        {
            static const DialogTemplate t = [] {
                DialogTemplate d = testTemplate();
                d.controls.push_back({ControlKind::Button, 16, "total", 0, 0, 10, 10, StyleDefault});
                return d;
            }();
            return t;
        }
    } dialog(platform);
    platform.open(dialog);
    dialog.enableControl(16, false);
    platform.execute("enter");
    EXPECT_TRUE(dialog.commands.empty());
    dialog.enableControl(16, true);
    platform.execute("enter");
    EXPECT_EQ(dialog.commands, std::vector<int>{16});
}

TEST(HeadlessPlatform, CommandsAreCheckedBeforeTheyAct)
{
    std::ostringstream out, err;
    HeadlessPlatform platform(out, err);
    EXPECT_FALSE(platform.execute("dump"));
    EXPECT_NE(err.str().find("no dialog is open for 'dump'"), std::string::npos);
    EXPECT_FALSE(platform.click(IDOK));
    EXPECT_TRUE(platform.execute("  # a comment"));
    EXPECT_FALSE(platform.execute("answer-open"));

    TestDialog dialog(platform);
    platform.open(dialog);
    err.str("");
    EXPECT_FALSE(platform.execute("frobnicate 10"));
    EXPECT_NE(err.str().find("unknown command 'frobnicate'"), std::string::npos);
    EXPECT_FALSE(platform.execute("type x text"));
    EXPECT_FALSE(platform.execute("type 99 text"));
    EXPECT_FALSE(platform.execute("select 10 0"));   // an edit is not a list
    EXPECT_FALSE(platform.execute("type 13 text"));  // nor is a button an edit
    EXPECT_TRUE(dialog.commands.empty());

    // OK and CANCEL are commands of every dialog, a button for them or not.
    EXPECT_TRUE(platform.execute("click CANCEL\r\n"));
    EXPECT_EQ(dialog.result(), IDCANCEL);
}

// Three whole numbers in edits, to watch the int32 binding.
class CountDialog : public Dialog {
public:
    using Dialog::Dialog;
    const DialogTemplate& dialogTemplate() const override
    {
        static const DialogTemplate t = [] {
            DialogTemplate d{501, "counts", "font", 8, 100, 100};
            for (int id : {20, 21, 22})
                d.controls.push_back({ControlKind::Edit, id, {}, 0, 0, 10, 10, StyleDigitsOnly});
            d.controls.push_back({ControlKind::Edit, 23, "fixed", 0, 0, 10, 10, StyleReadOnly});
            return d;
        }();
        return t;
    }
    void exchange(DataExchange& dx) override
    {
        dx.number(20, first);
        dx.number(21, second);
        dx.number(22, third);
    }
    int32_t first = 5, second = -3, third = INT32_MIN;
};

TEST(DataExchange, WholeNumbersShowAsDigitsAndComeBackTruncatedWithinInt32)
{
    std::ostringstream out, err;
    HeadlessPlatform platform(out, err);
    CountDialog dialog(platform);
    platform.open(dialog);
    HeadlessView& view = *platform.topView();
    EXPECT_EQ(view.text(20), "5");
    EXPECT_EQ(view.text(21), "-3");
    EXPECT_EQ(view.text(22), "-2147483648");

    struct Case {
        const char* text;
        int32_t value;
    } cases[] = {
        {"12345.9", 12345},
        {"-7.9", -7},
        {" 42\t", 42},
        {"0", 0},
        {"1e12", INT32_MAX},
        {"-1e12", INT32_MIN},
        {"2147483647.5", INT32_MAX},
        {"-2147483648.7", INT32_MIN},
    };
    for (const Case& c : cases) {
        view.setText(20, c.text);
        ASSERT_TRUE(dialog.updateData(true)) << c.text;
        EXPECT_EQ(dialog.first, c.value) << c.text;
    }

    // A text that is not a number stops the pass at its edit with the prompt.
    view.setText(20, "8");
    view.setText(21, "");
    view.setText(22, "9");
    EXPECT_FALSE(dialog.updateData(true));
    EXPECT_EQ(dialog.first, 8);
    EXPECT_EQ(dialog.second, -3);
    EXPECT_EQ(dialog.third, INT32_MIN);
    EXPECT_EQ(view.focus(), 21);
    EXPECT_EQ(platform.messages().size(), 1u);

    // Values no edit gives still convert without undefined behaviour.
    EXPECT_EQ(truncateToInt32(-std::numeric_limits<double>::infinity()), INT32_MIN);
    EXPECT_EQ(truncateToInt32(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(HeadlessPlatform, TypingFollowsTheEditsStyle)
{
    std::ostringstream out, err;
    HeadlessPlatform platform(out, err);
    CountDialog dialog(platform);
    platform.open(dialog);
    EXPECT_TRUE(platform.execute("type 20 1a-2.5円3"));
    EXPECT_EQ(platform.topView()->text(20), "1253");
    EXPECT_TRUE(platform.execute("type 23 changed"));  // read-only: the user cannot type there
    EXPECT_EQ(platform.topView()->text(23), "fixed");
}

TEST(DialogTemplate, EmptyRowsTakeTheTemplatesItemsOnlyOnTheirFirstBinding)
{
    const ControlTemplate layout{ControlKind::ComboBox, 15, {}, 0, 0, 10, 10, StyleNone, {"zero", "one"}};
    ComboBox own;
    own.append("mine");
    takeTemplateItems(layout, own);
    ASSERT_EQ(own.count(), 1);

    // Both bindings of a headless view: the first fills the empty rows, a later one does not.
    std::ostringstream out, err;
    HeadlessPlatform platform(out, err);
    TestDialog dialog(platform);
    platform.open(dialog);
    EXPECT_EQ(dialog.choices.count(), 2);
    EXPECT_EQ(dialog.choices.row(1), "one");
    dialog.choices.clear();
    dialog.updateData(false);
    EXPECT_EQ(dialog.choices.count(), 0);
    ComboBox later;
    platform.topView()->bindList(15, later);
    EXPECT_EQ(platform.topView()->list(15), &later);
    EXPECT_EQ(later.count(), 0);
}

TEST(HeadlessPlatform, FileDialogsAreAnsweredFromTheQueue)
{
    std::ostringstream out, err;
    HeadlessPlatform platform(out, err);
    platform.execute("answer-save /tmp/log");
    platform.execute("answer-cancel");
    FileDialogOptions options;
    options.defaultExtension = "csv";
    EXPECT_EQ(platform.saveFile(options), std::filesystem::path("/tmp/log.csv"));
    EXPECT_EQ(platform.openFile(options), std::nullopt);
    try {
        platform.openFile(options);
        FAIL() << "an unanswered file dialog must end the run";
    } catch (const HeadlessExit& exit) {
        EXPECT_EQ(exit.status, 3);
    }
    EXPECT_NE(err.str().find("no answer"), std::string::npos);
    EXPECT_EQ(platform.fileDialogs().size(), 3u);
}

TEST(HeadlessPlatform, TicksReachTheMainWindowUntilItsTimerStops)
{
    std::ostringstream out, err;
    HeadlessPlatform platform(out, err);
    TestDialog dialog(platform);
    platform.open(dialog);
    platform.execute("tick 5");
    EXPECT_EQ(dialog.ticks, 0);  // no timer yet
    platform.setTimer(dialog, 1, 0);
    platform.execute("tick 10");
    EXPECT_EQ(dialog.ticks, 3);  // the dialog stopped its timer on the third tick
    EXPECT_FALSE(platform.timerActive(dialog, 1));
}

}  // namespace
}  // namespace kv
