#include "app/commandline.h"
#include "app/mainwindow.h"
#include "app/qtplatform.h"
#include "photo/documenttable.h"
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
        for (const char *option :
            { "-h", "--help", "--help-all", "-v", "--version", "--list-documents" })
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

// The documents' table as the window would read it, and the rows it refuses.
int listDocuments()
{
    QCoreApplication::setApplicationName(QStringLiteral("kalmora"));
    QtPlatform platform;
    DocumentList table;
    QStringList problems;
    table.load(platform.programFolder(), platform.userConfigFolder(), &problems);
    for (const QString &problem : problems)
        std::fprintf(stderr, "kalmora: %s\n", qPrintable(problem));
    std::fputs(documentListing(table.documents()).toUtf8().constData(), stdout);
    return 0;
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
    form->startUp(updateFileAddress(), line.documentId);
    if (!line.photo.isEmpty())
        form->openPhoto(line.photo);
    return app.exec();
}

} // namespace

int main(int argc, char *argv[])
{
    if (textOnly(argc, argv)) {
        QCoreApplication app(argc, argv);
        const CommandLine line = parseCommandLine(QCoreApplication::arguments());
        if (line.listDocuments)
            return listDocuments();
        return answer(line);
    }
    return endProgram(runWindows(argc, argv));
}
