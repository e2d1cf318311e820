// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/qt/QtPlatform.h"

#include "text/Cp932.h"
#include "toolkit/Dialog.h"
#include "toolkit/qt/QtDialogView.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace kv {

namespace {

QString messageText(const std::string& cp932)
{
    QString text = QString::fromStdString(toDisplayUtf8(cp932));
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

std::filesystem::path toPath(const QString& file)
{
    QByteArray bytes = QFile::encodeName(QFileInfo(file).absoluteFilePath());
    return std::filesystem::path(bytes.toStdString());
}

}  // namespace

QtPlatform::QtPlatform()
{
    QApplication::setWindowIcon(applicationIcon());
}

QtPlatform::~QtPlatform()
{
    for (auto& [key, timer] : timers)
        delete timer;
}

QIcon QtPlatform::applicationIcon()
{
    // The drawing is the SVG; the PNG rendered from it serves where Qt has no SVG support.
    static const QIcon icon = [] {
        QIcon i(QStringLiteral(":/kirvane/kirvane.svg"));
        i.addFile(QStringLiteral(":/kirvane/kirvane.png"));
        return i;
    }();
    return icon;
}

QWidget* QtPlatform::topWindow() const
{
    // A dialog still initialising is not shown yet; what it opens then (a message, a file
    // dialog) stands on the window below it, or in the middle of the screen.
    for (auto it = sessions.rbegin(); it != sessions.rend(); ++it)
        if (it->window->isVisible())
            return it->window;
    return nullptr;
}

QStringList QtPlatform::nameFilters(const std::string& filter)
{
    // Split after conversion: a '|' byte may be the second byte of a double-byte character.
    const QStringList parts = QString::fromStdString(toUtf8(filter)).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        if (description.isEmpty() && parts[i + 1].isEmpty())
            break;
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& pattern : patterns) {
            pattern = pattern.trimmed();
            if (pattern == QLatin1String("*.*"))
                pattern = QStringLiteral("*");
        }
        filters << QStringLiteral("%1 (%2)").arg(description, patterns.join(QLatin1Char(' ')));
    }
    return filters;
}

void QtPlatform::messageBox(const std::string& text)
{
    QMessageBox box(QMessageBox::Information, QStringLiteral("Kirvane"), messageText(text), QMessageBox::Ok,
                    topWindow());
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool QtPlatform::askYesNo(const std::string& text)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Kirvane"), messageText(text),
                    QMessageBox::NoButton, topWindow());
    box.setTextFormat(Qt::PlainText);
    QPushButton* yes = box.addButton(QStringLiteral("はい"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("いいえ"), QMessageBox::NoRole);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

std::optional<std::filesystem::path> QtPlatform::openFile(const FileDialogOptions& options)
{
    return chooseFile(options, false);
}

std::optional<std::filesystem::path> QtPlatform::saveFile(const FileDialogOptions& options)
{
    return chooseFile(options, true);
}

std::optional<std::filesystem::path> QtPlatform::chooseFile(const FileDialogOptions& options, bool save)
{
    QFileDialog dialog(topWindow(), save ? QStringLiteral("名前を付けて保存") : QStringLiteral("開く"),
                       QDir::currentPath());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // "CSV ファイル (*.csv)" is shown as the description says, without Qt's own pattern list.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save || options.createPrompt ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (save && !options.overwritePrompt)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const QStringList filters = nameFilters(options.filter);
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    if (!options.defaultExtension.empty())
        dialog.setDefaultSuffix(QString::fromStdString(toUtf8(options.defaultExtension)));
    if (!options.initialName.empty())
        dialog.selectFile(QString::fromStdString(toUtf8(options.initialName)));
    if (!options.nameHint.empty()) {
        const QString hint = QString::fromStdString(toUtf8(options.nameHint));
        dialog.setWindowTitle(hint);
        if (auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
            name->setPlaceholderText(hint);
    }

    for (;;) {
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        const QString file = dialog.selectedFiles().constFirst();
        if (!options.createPrompt || QFileInfo::exists(file))
            return toPath(file);

        const QString question = QStringLiteral("%1\nこのファイルは存在しません。\nファイルを作成しますか?")
                                     .arg(QDir::toNativeSeparators(file));
        if (QMessageBox::question(&dialog, dialog.windowTitle(), question) != QMessageBox::Yes)
            continue;  // back to the file dialog, as when the user picks again
        if (save)
            return toPath(file);  // the caller creates what it saves
        QFile created(file);
        if (created.open(QIODevice::WriteOnly))
            return toPath(file);
        QMessageBox::warning(
            &dialog, dialog.windowTitle(),
            QStringLiteral("%1\nファイルを作成できません。").arg(QDir::toNativeSeparators(file)));
    }
}

WaitCursor QtPlatform::waitCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    return WaitCursor([] { QApplication::restoreOverrideCursor(); });
}

int QtPlatform::runModal(Dialog& dialog)
{
    QEventLoop loop;
    QtDialogView view(dialog, topWindow());
    view.setAfterDelivery([this] { quitEndedLoops(); });
    dialog.attachView(&view);
    sessions.push_back({&dialog, view.window(), &loop});

    dialog.onInitDialog();
    if (!dialog.ended()) {
        view.window()->show();
        view.window()->activateWindow();
        loop.exec(QEventLoop::DialogExec);
    }

    // Modal runs nest, so this dialog's session is the innermost one.
    sessions.pop_back();
    killTimers(dialog);  // a window's timers end with the window
    view.window()->hide();
    dialog.attachView(nullptr);
    return dialog.result();
}

void QtPlatform::quitEndedLoops()
{
    // An outer loop that is told to quit returns once the inner ones have returned.
    for (const Session& session : sessions)
        if (session.dialog->ended())
            session.loop->quit();
}

void QtPlatform::setTimer(Dialog& dialog, int event, int ms)
{
    QTimer*& timer = timers[{&dialog, event}];
    if (!timer) {
        timer = new QTimer;
        QObject::connect(timer, &QTimer::timeout, timer, [this, &dialog, event] {
            dialog.onTimer(event);
            quitEndedLoops();
        });
    }
    timer->start(std::max(0, ms));
}

void QtPlatform::killTimer(Dialog& dialog, int event)
{
    auto it = timers.find({&dialog, event});
    if (it == timers.end())
        return;
    // The timer may be the one whose tick is running right now.
    it->second->stop();
    it->second->deleteLater();
    timers.erase(it);
}

void QtPlatform::killTimers(Dialog& dialog)
{
    for (auto it = timers.begin(); it != timers.end();) {
        if (it->first.first == &dialog) {
            it->second->stop();
            it->second->deleteLater();
            it = timers.erase(it);
        } else {
            ++it;
        }
    }
}

void QtPlatform::exit(int status)
{
    std::fflush(nullptr);
    std::exit(status);
}

}  // namespace kv
