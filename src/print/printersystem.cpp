#include "printersystem.h"

TextId PrinterFailure::text() const
{
    switch (reason) {
    case Reason::NoPrinter:
        return TextId::NoPrinter;
    case Reason::TooManyCopies:
        return TextId::TooManyCopies;
    case Reason::NoPhoto:
        return TextId::NoPhotoToPrint;
    case Reason::UnknownPaper:
        return TextId::UnknownPaper;
    case Reason::AreaLargerThanPaper:
        return TextId::AreaLargerThanPaper;
    case Reason::NoCopyFits:
        return TextId::NoCopyFits;
    case Reason::PrinterStopped:
        return TextId::PrinterStopped;
    case Reason::SystemError:
        return TextId::PrintingSystemError;
    case Reason::ServerSilent:
        return TextId::PrintServerSilent;
    case Reason::NotAnswered:
        return TextId::PrintingNotAnswered;
    case Reason::NotAnsweredJobMayPrint:
        return TextId::PrintingNotAnsweredJobMayPrint;
    case Reason::NoPrinterNamed:
        return TextId::NoPrinterNamed;
    case Reason::NoTemporaryFile:
        return TextId::NoTemporaryPrintFile;
    case Reason::NoPaperSize:
        return TextId::NoPaperSize;
    case Reason::PhotosBeyondArea:
        return TextId::PhotosBeyondPrintableArea;
    case Reason::PageLayoutRefused:
        return TextId::PageLayoutRefused;
    case Reason::PageNotWritten:
        return TextId::PageNotWritten;
    }
    return TextId::PrintingSystemError;
}

QString PrinterFailure::said(const TextTable &texts) const
{
    // In one pass, so a figure that holds "%2" (a printer's name) stays as it is.
    const QString line = texts.text(text());
    QString shown;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const int index = i + 1 < line.size() ? line[i + 1].digitValue() : -1;
        if (line[i] == u'%' && index >= 1 && index <= arguments.size()) {
            shown += arguments[index - 1];
            ++i;
        } else {
            shown += line[i];
        }
    }
    if (!systemWords.isEmpty())
        shown += QStringLiteral(" (%1)").arg(systemWords);
    return shown;
}
