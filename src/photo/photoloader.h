#pragma once

#include "colourprofile.h"
#include "photo.h"

#include <QImage>
#include <QSizeF>
#include <QString>

#include <atomic>

// Largest photo side the 16-bit crop rectangle can address.
constexpr int MaximumPhotoSide = 32767;
// Largest photo decoded at all, so a hostile header cannot make us allocate without bound.
constexpr qint64 MaximumPhotoPixels = 200'000'000;
// More scans than any camera or editor writes; each one makes the decoder pass over the whole
// picture again, so a file with thousands of them would keep us busy for minutes.
constexpr int MaximumJpegScans = 500;
// The decoder's work grows with scans times pixels: a few seconds at most on a small machine,
// far above what progressive files from cameras and editors need (10 scans of 48 megapixels
// are 480).
constexpr int MaximumScanMegapixels = 4000;
// Metadata Qt's reader walks segment by segment, twice: a phone's EXIF, ICC and MPF take well
// under a megabyte, while a file padded with thousands of comments would take a minute.
constexpr qint64 MaximumJpegMetadataBytes = 16 * 1024 * 1024;
// The file is read into memory once; no JPEG of MaximumPhotoPixels comes near this.
constexpr qint64 MaximumFileBytes = qint64(1) << 30;

// The ends of the file names taken for photos, in capitals.
constexpr const char *PhotoFileEndings[] = { "JPG", "JPEG", "JPE", "PNG", "WEBP", "HEIC", "HEIF" };

enum class PhotoLoadError {
    None,
    NotAPicture, // cannot be decoded, or a JPEG of more scans than its size allows
    TooLarge, // a side over 32767 pixels, more pixels than we decode, or too much metadata
};

struct PhotoLoadResult
{
    PhotoPtr photo;
    PhotoLoadError error = PhotoLoadError::None;
};

// The size and scan checks read only the file's bytes; the picture is decoded after they pass,
// and its colours made sRGB by its embedded profile (Photo::colourProfileUnusable() when the
// profile cannot be used). JPEG, PNG and WebP (by Qt's readers) and HEIC/HEIF (libheif) load;
// only a JPEG has a reduced decode, the others are decoded whole on the reading thread.
// With the frame's size on the screen, a large JPEG comes back at once, shown from a reduced
// decode while its own pixels are decoded on another thread (see Photo). Once `stop` is set,
// the read ends soon with nothing.
PhotoLoadResult loadPhoto(
    const QString &path, const QSizeF &framePixels = {}, const std::atomic<bool> *stop = nullptr);

// A photo's own pixels from its file's bytes (`jpeg`: as the reader named them), in sRGB by
// `colours`, the JPEG's embedded profile (other files bring their own with the picture); null
// when they cannot be decoded, or once `stop` is set: the decoder asks after it as it goes, so
// a decode no longer wanted ends at once, however large the photo.
QImage decodeWholePhoto(const QByteArray &bytes, bool jpeg, const std::atomic<bool> *stop,
    const ColourProfile &colours);
