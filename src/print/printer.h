#pragma once

#include "printersystem.h"

// The application-wide printer that receives all print output (`currentPrinter`): the
// system default when printers are first listed, replaced when the user picks another one. Its
// settings stay for later documents. It lives on the window's thread; a job takes its settings
// as values (PrintChoices).
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

    // Makes the installed printer whose name matches, ignoring case, both the current printer
    // and the user's default. Found tells whether one matched.
    struct DefaultSwitch
    {
        bool found = false;
        std::optional<PrinterFailure> failure;
    };
    DefaultSwitch makeDefault(const QString &name);

    int16_t quality() const { return m_quality; }
    // Fails, leaving the quality as it was, when the printer does not support the value.
    bool setQuality(int16_t quality);
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
