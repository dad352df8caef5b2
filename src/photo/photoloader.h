#pragma once

#include "photo.h"

#include <QString>

// Largest photo side the 16-bit crop rectangle can address.
constexpr int MaximumPhotoSide = 32767;
// Largest photo decoded at all, so a hostile header cannot make us allocate without bound.
constexpr qint64 MaximumPhotoPixels = 200'000'000;
// More scans than any camera or editor writes; each one makes the decoder pass over the whole
// picture again, so a file with thousands of them would keep us busy for minutes.
constexpr int MaximumJpegScans = 500;

enum class PhotoLoadError {
    None,
    NotAPicture, // cannot be decoded, or a JPEG of more than MaximumJpegScans scans
    TooLarge, // a side over 32767 pixels, or more pixels than we decode
};

struct PhotoLoadResult
{
    PhotoPtr photo;
    PhotoLoadError error = PhotoLoadError::None;
};

// The size and scan checks read only the file's bytes; the picture is decoded after they pass.
PhotoLoadResult loadPhoto(const QString &path);
