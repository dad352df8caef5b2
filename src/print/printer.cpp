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

bool Printer::setQuality(int16_t quality, const QList<int16_t> &supported)
{
    if (m_deviceName.isEmpty() || !supported.contains(quality))
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

QList<int16_t> supportedQualities(
    PrinterSystem &system, const QString &printer, const QList<int16_t> &candidates)
{
    QList<int16_t> supported;
    if (printer.isEmpty())
        return supported;
    for (const int16_t quality : candidates) {
        if (quality != 0 && quality >= PrintQuality::High && !supported.contains(quality)
            && system.supportsQuality(printer, quality))
            supported.append(quality);
    }
    return supported;
}

Printer::DefaultSwitch makeUserDefault(PrinterSystem &system, const QString &name)
{
    const PrinterListing listing = system.listPrinters();
    if (listing.failure)
        return { false, listing.failure, {} };
    const QString wanted = name.toUpper();
    for (const QString &installed : listing.names) {
        // The printing system keeps the name as it knows it; letter case does not matter to it.
        if (installed.toUpper() == wanted)
            return { true, system.setUserDefault(installed), installed };
    }
    return {};
}
