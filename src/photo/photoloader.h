#pragma once

#include "photo.h"

#include <QString>

// Largest photo side the 16-bit crop rectangle can address.
constexpr int MaximumPhotoSide = 32767;
// Largest photo decoded at all, so a hostile header cannot make us allocate without bound.
constexpr qint64 MaximumPhotoPixels = 200'000'000;

enum class PhotoLoadError {
    None,
    NotAPicture, // cannot be decoded
    TooLarge, // a side over 32767 pixels, or more pixels than we decode
};

struct PhotoLoadResult
{
    PhotoPtr photo;
    PhotoLoadError error = PhotoLoadError::None;
};

// The size checks read only the header; the picture is decoded after they pass.
PhotoLoadResult loadPhoto(const QString &path);
