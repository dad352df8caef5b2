#include "printer.h"

#include "copiestext.h"

Printer::Printer(PrinterSystem &system)
    : m_system(system)
{ }

void Printer::adoptDefault(const PrinterListing &listing)
{
    if (m_deviceName.isEmpty() && !listing.failure)
        m_deviceName = listing.defaultName;
}

void Printer::makeCurrent(const QString &deviceName)
{
    m_deviceName = deviceName;
}

bool Printer::setQuality(int16_t quality)
{
    if (m_deviceName.isEmpty() || quality == 0 || quality < PrintQuality::High)
        return false;
    if (!m_system.supportsQuality(m_deviceName, quality))
        return false;
    m_quality = quality;
    return true;
}

bool Printer::setCopies(int copies)
{
    if (copies < 1 || copies > MaxCopies)
        return false;
    m_copies = copies;
    return true;
}

void Printer::drawPicture(const QImage &picture, const QRectF &rectMm)
{
    m_pictures.append({ picture, rectMm });
}

SubmitResult Printer::endDocument()
{
    PrintDocument document;
    document.printer = m_deviceName;
    document.orientation = m_orientation;
    document.copies = m_copies;
    // A quality the printer cannot take is left to the printer rather than refused: it may
    // have been chosen for another printer earlier in the run.
    if (!m_deviceName.isEmpty() && m_system.supportsQuality(m_deviceName, m_quality))
        document.quality = m_quality;
    document.title = m_title;
    document.pictures = std::move(m_pictures);
    m_pictures.clear();
    if (document.printer.isEmpty())
        return { 0,
            PrinterFailure {
                0, QStringLiteral("no printer is installed or chosen"), TextId::NoPrinter } };
    return m_system.submit(document);
}
