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

Printer::DefaultSwitch Printer::makeDefault(const QString &name)
{
    const PrinterListing listing = m_system.listPrinters();
    if (listing.failure)
        return { false, listing.failure };
    const QString wanted = name.toUpper();
    for (const QString &installed : listing.names) {
        if (installed.toUpper() != wanted)
            continue;
        m_deviceName = installed;
        // The printing system keeps the name as it knows it; letter case does not matter to it.
        return { true, m_system.setUserDefault(installed) };
    }
    return {};
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
