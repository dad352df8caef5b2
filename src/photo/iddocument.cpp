#include "iddocument.h"

#include "platform/units.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

QSizeF IdDocument::printMm() const
{
    switch (unit) {
    case SizeUnit::Millimetre:
        return size;
    case SizeUnit::Inch:
        return size * Units::MillimetresPerInch;
    case SizeUnit::Pixel:
        if (!(size.height() > 0))
            return {};
        return QSizeF(DigitalPrintHeight * size.width() / size.height(), DigitalPrintHeight);
    }
    return {};
}

QSize IdDocument::pixels() const
{
    if (unit != SizeUnit::Pixel)
        return {};
    return QSize(int(std::lround(size.width())), int(std::lround(size.height())));
}

int IdDocument::bandFormat() const
{
    if (isDigital())
        return -1;
    const QSizeF mm = printMm();
    for (int i = 0; i < PhotoFormatCount; ++i) {
        // Hundredths of a millimetre, the frame's own unit, tell the sizes apart.
        if (std::lround(mm.width() * Units::TwipsPerMillimetre) == PhotoFormats[i].frameWidth
            && std::lround(mm.height() * Units::TwipsPerMillimetre) == PhotoFormats[i].frameHeight)
            return i;
    }
    return -1;
}

IdDocument formatDocument(int formatIndex)
{
    const PhotoFormat &format = PhotoFormats[std::clamp(formatIndex, 0, PhotoFormatCount - 1)];
    IdDocument document;
    document.name = QString::fromLatin1(format.caption);
    const bool inches = document.name.endsWith(QLatin1String(" in"));
    document.unit = inches ? SizeUnit::Inch : SizeUnit::Millimetre;
    const double perUnit
        = Units::TwipsPerMillimetre * (inches ? Units::MillimetresPerInch : 1.0);
    document.size = QSizeF(format.frameWidth / perUnit, format.frameHeight / perUnit);
    document.rule = format.faceRule;
    return document;
}

QSizeF frameTwipsFor(const QSizeF &printMm)
{
    const QSizeF twips = printMm * Units::TwipsPerMillimetre;
    if (twips.width() <= LargestFrameWidth && twips.height() <= LargestFrameHeight)
        return twips;
    return twips.scaled(QSizeF(LargestFrameWidth, LargestFrameHeight), Qt::KeepAspectRatio);
}

QString sizeText(const IdDocument &document, const QLocale &locale)
{
    const char *unit = document.unit == SizeUnit::Pixel ? "px"
        : document.unit == SizeUnit::Inch              ? "in"
                                                       : "mm";
    auto number = [&locale](double value) {
        return locale.toString(value, 'g', QLocale::FloatingPointShortest);
    };
    return number(document.size.width()) + QStringLiteral(" x ") + number(document.size.height())
        + u' ' + QLatin1String(unit);
}
