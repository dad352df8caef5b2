#pragma once

#include "printersystem.h"

// The application-wide printer that receives all print output (`currentPrinter`): the
// system default when printers are first listed, replaced when the user picks another one. Its
// settings apply to the document that follows and stay for later documents.
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

    int16_t quality() const { return m_quality; }
    // Fails, leaving the quality as it was, when the printer does not support the value.
    bool setQuality(int16_t quality);

    PrintOrientation orientation() const { return m_orientation; }
    void setOrientation(PrintOrientation orientation) { m_orientation = orientation; }

    int copies() const { return m_copies; }
    // Fails for fewer than one copy or more than the printing system takes.
    bool setCopies(int copies);

    QString documentTitle() const { return m_title; }
    void setDocumentTitle(const QString &title) { m_title = title; }

    // Adds a picture, stretched into a rectangle in millimetres from the top-left corner of
    // the printable area, to the page being drawn.
    void drawPicture(const QImage &picture, const QRectF &rectMm);
    // Sends the page as one job with the present settings; the page is emptied either way.
    SubmitResult endDocument();

private:
    PrinterSystem &m_system;
    QString m_deviceName;
    int16_t m_quality = PrintQuality::High;
    PrintOrientation m_orientation = PrintOrientation::Portrait;
    int m_copies = 1;
    QString m_title = QStringLiteral("Kalmora");
    QList<PlacedPicture> m_pictures;
};
