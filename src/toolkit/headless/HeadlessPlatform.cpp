// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/headless/HeadlessPlatform.h"

#include "text/Cp932.h"
#include "text/Numbers.h"
#include "toolkit/Dialog.h"

#include <cstdint>
#include <iterator>
#include <sstream>
#include <string_view>

namespace kv {

namespace {

const char* kindName(HeadlessPlatform::FileDialogKind kind)
{
    switch (kind) {
    case HeadlessPlatform::FileDialogKind::Open:
        return "open";
    case HeadlessPlatform::FileDialogKind::Save:
        return "save";
    default:
        return "any";
    }
}

}  // namespace

HeadlessPlatform::HeadlessPlatform(std::ostream& out, std::ostream& err) : out(out), err(err) {}

void HeadlessPlatform::queueLines(std::vector<std::string> lines)
{
    for (std::string& line : lines)
        queuedLines.push_back(std::move(line));
    if (!lineSource) {
        lineSource = [this]() -> std::optional<std::string> {
            if (queuedLines.empty())
                return std::nullopt;
            std::string line = std::move(queuedLines.front());
            queuedLines.pop_front();
            return line;
        };
    }
}

void HeadlessPlatform::queueFileAnswer(FileDialogKind kind, std::optional<std::filesystem::path> answer)
{
    fileAnswers.push_back({kind, std::move(answer)});
}

HeadlessView* HeadlessPlatform::viewOf(const Dialog& dialog) const
{
    for (const Frame& frame : frames)
        if (frame.dialog == &dialog)
            return frame.view.get();
    return nullptr;
}

bool HeadlessPlatform::timerActive(const Dialog& dialog, int event) const
{
    return timers.count({&dialog, event}) != 0;
}

void HeadlessPlatform::clearRecords()
{
    shownMessages.clear();
    shownFileDialogs.clear();
    waitCount = 0;
}

void HeadlessPlatform::messageBox(const std::string& text)
{
    shownMessages.push_back(text);
    out << "MSG\t" << escapeLineBreaks(toUtf8(text)) << '\n';
}

// A question prints like a message box; its answer comes from the queue.
bool HeadlessPlatform::askYesNo(const std::string& text)
{
    messageBox(text);
    if (questionAnswers.empty())
        return true;
    bool yes = questionAnswers.front();
    questionAnswers.pop_front();
    return yes;
}

std::optional<std::filesystem::path> HeadlessPlatform::answerFileDialog(FileDialogKind kind,
                                                                        const FileDialogOptions& options)
{
    shownFileDialogs.push_back({kind, options});
    if (fileAnswers.empty()) {
        err << "error: a " << kindName(kind)
            << " file dialog was shown, but no answer-open, answer-save or answer-cancel was queued\n";
        exit(3);
    }
    FileAnswer answer = std::move(fileAnswers.front());
    fileAnswers.pop_front();
    if (answer.path && answer.kind != FileDialogKind::Any && answer.kind != kind) {
        err << "error: the queued answer-" << kindName(answer.kind) << " met a " << kindName(kind)
            << " file dialog\n";
        exit(3);
    }
    if (!answer.path)
        return std::nullopt;
    std::error_code ec;
    std::filesystem::path full = std::filesystem::absolute(*answer.path, ec);
    if (ec)
        full = *answer.path;
    if (kind == FileDialogKind::Save && !options.defaultExtension.empty() && !full.has_extension())
        full += "." + options.defaultExtension;
    return full;
}

std::optional<std::filesystem::path> HeadlessPlatform::openFile(const FileDialogOptions& options)
{
    return answerFileDialog(FileDialogKind::Open, options);
}

std::optional<std::filesystem::path> HeadlessPlatform::saveFile(const FileDialogOptions& options)
{
    return answerFileDialog(FileDialogKind::Save, options);
}

WaitCursor HeadlessPlatform::waitCursor()
{
    ++waitDepth;
    ++waitCount;
    return WaitCursor([this] { --waitDepth; });
}

void HeadlessPlatform::open(Dialog& dialog)
{
    frames.push_back({&dialog, std::make_unique<HeadlessView>(dialog.dialogTemplate())});
    dialog.attachView(frames.back().view.get());
    dialog.onInitDialog();
}

void HeadlessPlatform::close(Dialog& dialog)
{
    for (auto it = frames.begin(); it != frames.end(); ++it) {
        if (it->dialog == &dialog) {
            dialog.attachView(nullptr);
            frames.erase(it);
            break;
        }
    }
    for (auto it = timers.begin(); it != timers.end();)
        it = it->first == &dialog ? timers.erase(it) : std::next(it);
}

int HeadlessPlatform::runModal(Dialog& dialog)
{
    open(dialog);
    struct Closer {
        HeadlessPlatform& platform;
        Dialog& dialog;
        ~Closer() { platform.close(dialog); }
    } closer{*this, dialog};

    while (!dialog.ended()) {
        std::optional<std::string> line = lineSource ? lineSource() : std::nullopt;
        if (!line) {
            // The script has ended: every open dialog is cancelled, innermost first.
            dialog.endDialog(IDCANCEL);
            break;
        }
        execute(*line);
    }
    return dialog.result();
}

void HeadlessPlatform::setTimer(Dialog& dialog, int event, int)
{
    timers.insert({&dialog, event});
}

void HeadlessPlatform::killTimer(Dialog& dialog, int event)
{
    timers.erase({&dialog, event});
}

void HeadlessPlatform::exit(int status)
{
    out.flush();
    throw HeadlessExit{status};
}

void HeadlessPlatform::tick(int n)
{
    if (frames.empty())
        return;
    Dialog& main = *frames.front().dialog;
    for (int i = 0; i < n; ++i) {
        auto first = timers.lower_bound({&main, INT32_MIN});
        if (first == timers.end() || first->first != &main)
            return;
        main.onTimer(first->second);
    }
}

int HeadlessPlatform::parseControlId(const std::string& word) const
{
    if (word == "OK")
        return IDOK;
    if (word == "CANCEL")
        return IDCANCEL;
    if (word.empty() || word.find_first_not_of("-0123456789") != std::string::npos)
        return IDC_STATIC;
    return leadingInt(word);
}

bool HeadlessPlatform::click(int id)
{
    Dialog* dialog = topDialog();
    HeadlessView* view = topView();
    if (!dialog) {
        err << "error: no dialog is open for a click on " << id << '\n';
        return false;
    }
    // OK and cancel are commands of every dialog (Enter, Esc), with or without a button.
    bool standard = id == IDOK || id == IDCANCEL;
    if (!view->has(id) && !standard) {
        err << "error: the dialog has no control " << id << '\n';
        return false;
    }
    if (view->has(id) && !view->enabled(id))
        return true;  // a disabled button cannot be pressed
    dialog->onCommand(id, Notification::Clicked);
    return true;
}

// The script commands. Each is one handler and one row of the table below; the dispatcher
// finds the topmost dialog and the named control for the commands that need them.
struct HeadlessPlatform::Commands {
    enum class Needs {
        Nothing,
        Dialog,  // a dialog must be open
        Id,      // and the command names a control (OK and CANCEL included)
        Input,   // an existing control; the user's input to a disabled one is ignored
    };
    struct Line {
        const std::string& text;
        std::istringstream& words;
        Dialog* dialog = nullptr;
        HeadlessView* view = nullptr;
        int id = IDC_STATIC;

        std::string word()
        {
            std::string next;
            words >> next;
            return next;
        }
        // The rest of the line after the one blank that ends the previous word.
        std::string rest()
        {
            std::string remainder;
            std::getline(words, remainder);
            if (!remainder.empty() && remainder[0] == ' ')
                remainder.erase(0, 1);
            return remainder;
        }
    };
    using Handler = bool (*)(HeadlessPlatform&, Line&);
    struct Command {
        std::string_view name;
        Needs needs;
        Handler run;
    };

    static bool answerFile(HeadlessPlatform& p, Line& line, FileDialogKind kind, const char* name)
    {
        std::string path = line.rest();
        if (path.empty()) {
            p.err << "error: " << name << " needs a path\n";
            return false;
        }
        p.queueFileAnswer(kind, path);
        return true;
    }
    static bool answerOpen(HeadlessPlatform& p, Line& line)
    {
        return answerFile(p, line, FileDialogKind::Open, "answer-open");
    }
    static bool answerSave(HeadlessPlatform& p, Line& line)
    {
        return answerFile(p, line, FileDialogKind::Save, "answer-save");
    }
    static bool answerCancel(HeadlessPlatform& p, Line&)
    {
        p.queueFileAnswer(FileDialogKind::Any, std::nullopt);
        return true;
    }
    static bool answerNo(HeadlessPlatform& p, Line&)
    {
        p.queueQuestionAnswer(false);
        return true;
    }
    static bool tick(HeadlessPlatform& p, Line& line)
    {
        p.tick(leadingInt(line.word()));
        return true;
    }
    static bool dump(HeadlessPlatform& p, Line& line)
    {
        line.view->dump(p.out);
        return true;
    }
    static bool close(HeadlessPlatform&, Line& line)
    {
        line.dialog->onCancel();
        return true;
    }
    // A file the dialog does not take is refused while it is dragged: nothing happens.
    static bool drop(HeadlessPlatform& p, Line& line)
    {
        std::string path = line.rest();
        if (path.empty()) {
            p.err << "error: drop needs a path\n";
            return false;
        }
        std::error_code ec;
        std::filesystem::path file = std::filesystem::absolute(path, ec);
        if (ec)
            file = path;
        if (line.dialog->acceptsDroppedFile(file))
            line.dialog->onFileDropped(file);
        return true;
    }
    // Enter presses the default push button; without one, or with it disabled, nothing happens.
    static bool enter(HeadlessPlatform& p, Line& line)
    {
        const ControlTemplate* button = line.view->dialogTemplate().defaultButton();
        return !button || p.click(button->id);
    }
    static bool click(HeadlessPlatform& p, Line& line) { return p.click(line.id); }
    static bool menu(HeadlessPlatform&, Line& line)
    {
        line.dialog->onCommand(line.id, Notification::MenuCommand);
        return true;
    }
    // Typing reaches only an edit the user may change; a digits-only edit keeps the digits.
    static bool type(HeadlessPlatform& p, Line& line)
    {
        const ControlTemplate* edit = line.view->dialogTemplate().control(line.id);
        if (!edit || edit->kind != ControlKind::Edit) {
            p.err << "error: control " << line.id << " is not an edit\n";
            return false;
        }
        if (edit->style & StyleReadOnly)
            return true;
        std::string typed = toCp932(line.rest());
        // Byte by byte is safe: no second byte of a double-byte character is a digit.
        if (edit->style & StyleDigitsOnly)
            std::erase_if(typed, [](char c) { return c < '0' || c > '9'; });
        line.view->setText(line.id, typed);
        return true;
    }
    static bool check(HeadlessPlatform&, Line& line)
    {
        line.view->setChecked(line.id, leadingInt(line.word()) != 0);
        line.dialog->onCommand(line.id, Notification::Clicked);
        return true;
    }
    static bool select(HeadlessPlatform& p, Line& line)
    {
        ListBox* rows = line.view->list(line.id);
        if (!rows) {
            p.err << "error: control " << line.id << " is not a list\n";
            return false;
        }
        rows->userSelected(leadingInt(line.word()));
        line.dialog->onCommand(line.id, Notification::SelectionChanged);
        return true;
    }
    // A double-click: the table or heatmap remembers the row (and column), then the dialog hears.
    static bool activate(HeadlessPlatform& p, Line& line)
    {
        int row = leadingInt(line.word());
        if (Table* table = line.view->table(line.id)) {
            table->activate(row);
        } else if (Heatmap* heatmap = line.view->heatmap(line.id)) {
            heatmap->activate(row, leadingInt(line.word()));
        } else {
            p.err << "error: control " << line.id << " is not a table or heatmap\n";
            return false;
        }
        line.dialog->onCommand(line.id, Notification::DoubleClicked);
        return true;
    }

    static const Command table[];
};

const HeadlessPlatform::Commands::Command HeadlessPlatform::Commands::table[] = {
    {"answer-open", Needs::Nothing, &answerOpen},
    {"answer-save", Needs::Nothing, &answerSave},
    {"answer-cancel", Needs::Nothing, &answerCancel},
    {"answer-no", Needs::Nothing, &answerNo},
    {"tick", Needs::Nothing, &tick},
    {"dump", Needs::Dialog, &dump},
    {"close", Needs::Dialog, &close},
    {"drop", Needs::Dialog, &drop},
    {"enter", Needs::Dialog, &enter},
    {"click", Needs::Id, &click},
    {"menu", Needs::Id, &menu},
    {"type", Needs::Input, &type},
    {"check", Needs::Input, &check},
    {"select", Needs::Input, &select},
    {"activate", Needs::Input, &activate},
};

bool HeadlessPlatform::execute(const std::string& rawLine)
{
    std::string text = rawLine;
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n'))
        text.pop_back();
    std::istringstream words(text);
    std::string name;
    words >> name;
    if (name.empty() || name[0] == '#')
        return true;

    const Commands::Command* command = nullptr;
    for (const Commands::Command& c : Commands::table) {
        if (c.name == name) {
            command = &c;
            break;
        }
    }
    if (!command) {
        err << "error: unknown command '" << name << "'\n";
        return false;
    }

    using Needs = Commands::Needs;
    Commands::Line line{text, words};
    if (command->needs != Needs::Nothing) {
        if (frames.empty()) {
            err << "error: no dialog is open for '" << text << "'\n";
            return false;
        }
        line.dialog = topDialog();
        line.view = topView();
    }
    if (command->needs == Needs::Id || command->needs == Needs::Input) {
        line.id = parseControlId(line.word());
        if (line.id == IDC_STATIC) {
            err << "error: '" << text << "' does not name a control\n";
            return false;
        }
    }
    if (command->needs == Needs::Input) {
        if (!line.view->has(line.id)) {
            err << "error: the dialog has no control " << line.id << '\n';
            return false;
        }
        if (!line.view->enabled(line.id))
            return true;  // a disabled control takes no input
    }
    return command->run(*this, line);
}

}  // namespace kv
