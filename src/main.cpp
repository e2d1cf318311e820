// The desktop program: the main window on Qt. Without a display it says how to get one, or to
// use the command-line back-test instead.

#include "app/Application.h"
#include "toolkit/qt/QtPlatform.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>

namespace {

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
    if (!displayAvailable()) {
        std::fputs(
            "kirvane: ディスプレイがありません。デスクトップ上で起動するか、"
            "`xvfb-run kirvane` で起動してください。コマンドラインのバックテストは kirvane-batch です。\n"
            "kirvane: no display found. Run it under a desktop or with `xvfb-run kirvane`, "
            "or use kirvane-batch for the command-line back-test.\n",
            stderr);
        return 1;
    }

    QApplication app(argc, argv);
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
    return kv::runApplication(platform);
}
