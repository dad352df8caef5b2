#pragma once

#include <QString>

#include <cstdint>

enum class BmpToJpgFailure { None, SourceUnreadable, TargetUnwritable };

// Converts a BMP file to a baseline JPEG of the given quality, keeping its density. The JPEG
// is created or replaced whole, or not at all; the BMP stays in place. Non-zero on success.
int16_t BMPToJPG(const QString &bmpPath, const QString &jpgPath, int quality,
    BmpToJpgFailure *failure = nullptr);
