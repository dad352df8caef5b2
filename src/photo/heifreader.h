#pragma once

#include "colourprofile.h"

#include <QByteArray>
#include <QImage>
#include <QSize>

#include <atomic>
#include <memory>

struct heif_context;
struct heif_image_handle;

// A HEIC or HEIF photo, as phones write them, read through libheif. Opening reads only the
// file's boxes; the pixels are decoded when asked for. The rotation and mirroring the file
// stores are applied by the decode, so the size and the picture are already upright: the
// EXIF orientation such a file may also carry repeats them and is not applied again.
class HeifPhoto
{
public:
    enum class Header {
        Readable,
        NotHeif, // not a HEIF file at all: another reader's turn
        Unreadable, // a HEIF file whose boxes are damaged, or of nothing we can decode
        TooLarge, // larger than the loader's limits
    };

    // The bytes must outlive the object: they are read in place.
    explicit HeifPhoto(const QByteArray &bytes);
    ~HeifPhoto();
    HeifPhoto(const HeifPhoto &) = delete;
    HeifPhoto &operator=(const HeifPhoto &) = delete;

    Header header() const { return m_header; }
    // Upright, as decode() will give it.
    QSize size() const { return m_size; }
    // The profile of the primary picture: an ICC profile, or the colour description of the
    // stream where it names wider primaries than sRGB's.
    ColourProfile colourProfile() const;
    // The upright pixels, 32 bits each, made sRGB by `colours`; null when the decode fails or
    // once `stop` is set (libheif cannot be interrupted, so only before or after it).
    QImage decode(const std::atomic<bool> *stop, const ColourProfile &colours) const;

private:
    heif_context *m_context = nullptr;
    heif_image_handle *m_handle = nullptr;
    Header m_header = Header::NotHeif;
    QSize m_size;
};
