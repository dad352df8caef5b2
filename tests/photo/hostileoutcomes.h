#pragma once

#include "hostilephotos.h"

#include <QHash>
#include <QString>

enum Outcome {
    Upright, // loaded, shows the test picture the right way up
    UprightTopOnly, // loaded from a cut file: the rows that were there are right
    NotAPicture, // text 50
    TooLarge, // text 51
};

// What each file of the hostile set must end in.
inline const QHash<QString, Outcome> &expectedOutcomes()
{
    static const QHash<QString, Outcome> outcomes = {
        { QStringLiteral("zero-bytes.jpg"), NotAPicture },
        { QStringLiteral("header-only.jpg"), NotAPicture },
        { QStringLiteral("truncated-10.jpg"), UprightTopOnly },
        { QStringLiteral("truncated-50.jpg"), UprightTopOnly },
        { QStringLiteral("truncated-99.jpg"), UprightTopOnly },
        { QStringLiteral("png-named-jpg.jpg"), Upright },
        { QStringLiteral("cmyk.jpg"), Upright },
        { QStringLiteral("greyscale.jpg"), Upright },
        { QStringLiteral("progressive.jpg"), Upright },
        { QStringLiteral("arithmetic.jpg"), Upright },
        { QStringLiteral("orientation-1.jpg"), Upright },
        { QStringLiteral("orientation-2.jpg"), Upright },
        { QStringLiteral("orientation-3.jpg"), Upright },
        { QStringLiteral("orientation-4.jpg"), Upright },
        { QStringLiteral("orientation-5.jpg"), Upright },
        { QStringLiteral("orientation-6.jpg"), Upright },
        { QStringLiteral("orientation-7.jpg"), Upright },
        { QStringLiteral("orientation-8.jpg"), Upright },
        { QStringLiteral("corrupt-exif.jpg"), Upright },
        { QStringLiteral("claims-60000x60000.jpg"), TooLarge },
        { QStringLiteral("progressive-500-scans.jpg"), Upright },
        { QStringLiteral("progressive-501-scans.jpg"), NotAPicture },
        { QStringLiteral("progressive-%1-scans.jpg").arg(HostilePhotos::maximumScans()),
            NotAPicture },
        { QStringLiteral("progressive-repeated-20000-scans.jpg"), NotAPicture },
    };
    return outcomes;
}
