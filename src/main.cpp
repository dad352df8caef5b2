#include "app/commandline.h"
#include "app/mainwindow.h"
#include "app/qtplatform.h"
#include "print/boundedprintersystem.h"
#include "print/cupsprintersystem.h"
#include "web/links.h"
#include "web/versionfetch.h"
#include "widgets/look.h"

#include <QApplication>

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
    installFontSubstitutions();
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
    return app.exec();
}

} // namespace

int main(int argc, char *argv[])
{
    if (textOnly(argc, argv)) {
        QCoreApplication app(argc, argv);
        return answer(parseCommandLine(QCoreApplication::arguments()));
    }
    return endProgram(runWindows(argc, argv));
}
