#pragma once

#include "printersystem.h"

// The application-wide printer that receives all print output (`currentPrinter`): the
// system default when printers are first listed, replaced when the user picks another one. Its
// settings stay for later documents. It lives on the window's thread and never asks the printing
// system itself, which may keep a caller waiting; a job takes its settings as values
// (PrintChoices).
class Printer
{
public:
    // Starts without a printer: asking the printing system could keep the start waiting.
    explicit Printer(PrinterSystem &system);

    PrinterSystem &system() { return m_system; }

    QString deviceName() const { return m_deviceName; }
    void makeCurrent(const QString &deviceName);
    // The listing's default becomes current when no printer is current yet.
    void adoptDefault(const PrinterListing &listing);

    // What making a printer the user's default came to: whether an installed printer matched,
    // which one, and why the switch failed.
    struct DefaultSwitch
    {
        bool found = false;
        std::optional<PrinterFailure> failure;
        QString printer;
    };

    int16_t quality() const { return m_quality; }
    // Fails, leaving the quality as it was, when the printer does not support the value:
    // `supported` is what the printing system said it takes (supportedQualities).
    bool setQuality(int16_t quality, const QList<int16_t> &supported);
    // Where the quality was last chosen in the print dialog's list: the next opening chooses
    // the same place, whatever the printer then offers there.
    int16_t qualityPosition() const { return m_qualityPosition; }
    void setQualityPosition(int16_t position) { m_qualityPosition = position; }

    int copies() const { return m_copies; }
    // Fails for fewer than one copy or more than the printing system takes.
    bool setCopies(int copies);

    QString documentTitle() const { return m_title; }
    void setDocumentTitle(const QString &title) { m_title = title; }

private:
    PrinterSystem &m_system;
    QString m_deviceName;
    int16_t m_quality = PrintQuality::High;
    int16_t m_qualityPosition = 0;
    int m_copies = 1;
    QString m_title = QStringLiteral("Kalmora");
};

// These ask the printing system, so they run off the window's thread (askPrinterSystem).

// The values among the candidates that the printer can print at.
QList<int16_t> supportedQualities(
    PrinterSystem &system, const QString &printer, const QList<int16_t> &candidates);

// Makes the installed printer whose name matches, ignoring case, the user's default; the
// current printer is the caller's to change.
Printer::DefaultSwitch makeUserDefault(PrinterSystem &system, const QString &name);
