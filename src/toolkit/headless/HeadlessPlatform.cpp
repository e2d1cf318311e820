#include "toolkit/headless/HeadlessPlatform.h"

#include "text/Cp932.h"
#include "text/Numbers.h"
#include "toolkit/Dialog.h"

#include <cstdint>
#include <iterator>
#include <sstream>

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
    // OK and cancel are commands of every dialog (Enter, Esc), with or without a button.
    bool standard = id == IDOK || id == IDCANCEL;
    if (!view->has(id) && !standard) {
        err << "error: the dialog has no control " << id << '\n';
        return false;
    }
    if (view->has(id) && !view->enabled(id))
        return true;   // a disabled button cannot be pressed
    dialog->onCommand(id, Notification::Clicked);
    return true;
}

bool HeadlessPlatform::execute(const std::string& rawLine)
{
    std::string line = rawLine;
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
        line.pop_back();
    std::istringstream words(line);
    std::string command;
    words >> command;
    if (command.empty() || command[0] == '#')
        return true;

    auto rest = [&]() {
        std::string text;
        std::getline(words, text);
        if (!text.empty() && text[0] == ' ')
            text.erase(0, 1);
        return text;
    };
    if (command == "answer-open" || command == "answer-save") {
        std::string path = rest();
        if (path.empty()) {
            err << "error: " << command << " needs a path\n";
            return false;
        }
        queueFileAnswer(command == "answer-open" ? FileDialogKind::Open : FileDialogKind::Save, path);
        return true;
    }
    if (command == "answer-cancel") {
        queueFileAnswer(FileDialogKind::Any, std::nullopt);
        return true;
    }
    if (command == "tick") {
        std::string count;
        words >> count;
        tick(leadingInt(count));
        return true;
    }
    if (frames.empty()) {
        err << "error: no dialog is open for '" << line << "'\n";
        return false;
    }
    Dialog* dialog = topDialog();
    HeadlessView* view = topView();
    if (command == "dump") {
        view->dump(out);
        return true;
    }
    if (command == "close") {
        dialog->onCancel();
        return true;
    }

    std::string idWord;
    words >> idWord;
    int id = parseControlId(idWord);
    if (id == IDC_STATIC) {
        err << "error: '" << line << "' does not name a control\n";
        return false;
    }
    if (command == "click")
        return click(id);
    if (command == "menu") {
        dialog->onCommand(id, Notification::MenuCommand);
        return true;
    }
    if (!view->has(id)) {
        err << "error: the dialog has no control " << id << '\n';
        return false;
    }
    if (command == "type") {
        view->setText(id, toCp932(rest()));
        return true;
    }
    if (command == "check") {
        std::string value;
        words >> value;
        view->setChecked(id, leadingInt(value) != 0);
        dialog->onCommand(id, Notification::Clicked);
        return true;
    }
    if (command == "select") {
        ListBox* rows = view->list(id);
        if (!rows) {
            err << "error: control " << id << " is not a list\n";
            return false;
        }
        std::string index;
        words >> index;
        rows->userSelected(leadingInt(index));
        dialog->onCommand(id, Notification::SelectionChanged);
        return true;
    }
    err << "error: unknown command '" << command << "'\n";
    return false;
}

}  // namespace kv
