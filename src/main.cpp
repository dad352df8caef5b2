#include "app/commandline.h"
#include "app/mainwindow.h"
#include "app/qtplatform.h"
#include "photo/photo.h"
#include "print/boundedprintersystem.h"
#include "print/cupsprintersystem.h"
#include "web/links.h"
#include "web/versionfetch.h"

#include <QApplication>
#include <QThreadPool>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

// --help and --version answer without a window, so they work without a desktop too.
bool textOnly(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        for (const char *option : { "-h", "--help", "--help-all", "-v", "--version" })
            if (std::strcmp(argv[i], option) == 0)
                return true;
    }
    return false;
}

int answer(const CommandLine &line)
{
    std::fputs(qPrintable(line.output), *line.exitCode == 0 ? stdout : stderr);
    return *line.exitCode;
}

int runWindows(int &argc, char *argv[])
{
    QApplication app(argc, argv);
    // Settings of an installed copy live in the user's folder named after it.
    QCoreApplication::setApplicationName(QStringLiteral("kalmora"));
    const CommandLine line = parseCommandLine(QCoreApplication::arguments());
    if (line.exitCode)
        return answer(line);
    QtPlatform platform;
    // A silent printing server costs the user a few seconds, never a frozen window.
    BoundedPrinterSystem printers(
        std::make_shared<CupsPrinterSystem>(), std::chrono::seconds(5), std::chrono::seconds(30));
    auto form = std::make_unique<MainWindow>(platform, printers);
    form->startUp(updateFileAddress());
    if (!line.photo.isEmpty())
        form->openPhoto(line.photo);
    const int code = app.exec();
    form.reset();
    // A photo no longer wanted may still be in the decoder's last pass, which the
    // application's end would wait for; its pixels are of no use now.
    if (photoDecodeThreads().activeThreadCount() > 0) {
        std::fflush(nullptr);
        std::_Exit(code);
    }
    return code;
}

} // namespace

int main(int argc, char *argv[])
{
    if (textOnly(argc, argv)) {
        QCoreApplication app(argc, argv);
        return answer(parseCommandLine(QCoreApplication::arguments()));
    }
    const int code = runWindows(argc, argv);
    // Qt's own cleanup waits for a proxy lookup to end, and one given up on may never end.
    if (proxyLookupLeftRunning()) {
        std::fflush(nullptr);
        std::_Exit(code);
    }
    return code;
}
