// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program: the main window on Qt, optionally loading a signal file given on the
// command line. Without a display it says how to get one, or to use the command-line back-test
// instead.

#include "app/Application.h"
#include "text/CommandLine.h"
#include "toolkit/qt/QtPlatform.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr const char* kProgram = "kirvane";

constexpr const char* kUsage =
    "使い方: kirvane [SIGNAL_FILE]\n"
    "Kirvane のメインウィンドウを開きます。index.txt と kvn.conf はカレントフォルダーから読みます。\n"
    "SIGNAL_FILE を指定すると、起動後に 読み込み と同じように読み込みます。\n"
    "UTF-8 のファイルはコードページ 932 に変換して読みます。\n"
    "\n"
    "  -h, --help  この使い方を表示して終了します\n"
    "  --version   バージョンを表示して終了します\n"
    "\n"
    "終了ステータス:\n"
    "  0  ウィンドウを閉じた (シグナルファイルの日付が多すぎて終了したときも)\n"
    "  1  ディスプレイが見つからない\n"
    "  2  コマンドラインの誤り\n";

bool displayAvailable()
{
    auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
}

}  // namespace

int main(int argc, char* argv[])
{
    std::vector<std::string> arguments(argv + 1, argv + argc);
    switch (kv::findStandardOption(arguments)) {
    case kv::StandardOption::Help:
        std::fputs(kUsage, stdout);
        return 0;
    case kv::StandardOption::Version:
        std::fputs(kv::versionText(kProgram).c_str(), stdout);
        return 0;
    case kv::StandardOption::None:
        break;
    }
    kv::ApplicationArguments parsed = kv::parseApplicationArguments(arguments);
    if (!parsed.error.empty()) {
        std::fputs(kv::usageErrorText(kProgram, parsed.error).c_str(), stderr);
        return kv::kExitUsage;
    }

    if (!displayAvailable()) {
        std::fputs(
            "kirvane: ディスプレイがありません。デスクトップ上で起動するか、"
            "`xvfb-run kirvane` で起動してください。コマンドラインのバックテストは kirvane-batch です。\n"
            "kirvane: no display found. Run it under a desktop or with `xvfb-run kirvane`, "
            "or use kirvane-batch for the command-line back-test.\n",
            stderr);
        return 1;
    }

    // The arguments are the program's own: Qt is not given any to read.
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    QApplication::setApplicationName(QStringLiteral("Kirvane"));
    // One look on every desktop, with group boxes drawn as frames.
    QApplication::setStyle(QStringLiteral("Fusion"));
    // The program speaks Japanese whatever the locale, and so do Qt's own dialogs and buttons.
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    kv::QtPlatform platform;
    return kv::runApplication(platform, parsed.signalFile);
}
