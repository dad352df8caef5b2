#include "commandline.h"

#include "photo/iddocument.h"
#include "web/version.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

CommandLine parseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Identity photos at home: fit a portrait to a photo format, then print a "
                       "sheet of copies at the exact size or save it as a JPEG."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("photo"), QStringLiteral("A JPEG photo to open."),
        QStringLiteral("[photo]"));
    const QCommandLineOption list(QStringLiteral("list-documents"),
        QStringLiteral("Print the ids and names of the documents whose photos can be made."));
    const QCommandLineOption document(QStringLiteral("document"),
        QStringLiteral("Start with the photo for this document (an id of --list-documents)."),
        QStringLiteral("id"));
    parser.addOptions({ list, document });

    CommandLine line;
    if (!parser.parse(arguments)) {
        line.exitCode = 2;
        line.output = parser.errorText() + u'\n';
    } else if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        line.exitCode = 0;
        line.output = parser.helpText();
    } else if (parser.isSet(version)) {
        line.exitCode = 0;
        line.output = QStringLiteral("Kalmora %1.%2.%3\n")
                          .arg(ProgramVersion::Major)
                          .arg(ProgramVersion::Minor)
                          .arg(ProgramVersion::Revision);
    } else if (parser.isSet(list)) {
        line.listDocuments = true;
    } else if (parser.positionalArguments().size() > 1) {
        line.exitCode = 2;
        line.output = QStringLiteral("Only one photo can be opened.\n");
    } else if (!parser.positionalArguments().isEmpty()) {
        line.photo = QFileInfo(parser.positionalArguments().first()).absoluteFilePath();
    }
    line.documentId = parser.value(document);
    return line;
}

QString documentListing(const QList<IdDocument> &documents)
{
    QString listing;
    const QLocale english(QLocale::English);
    for (const IdDocument &document : documents)
        listing += document.id + u'\t' + countryName(document.country, QStringLiteral("en"))
            + QStringLiteral(" - ") + document.name + QStringLiteral(" - ")
            + sizeText(document, english) + u'\n';
    return listing;
}
