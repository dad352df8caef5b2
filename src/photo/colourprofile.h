#pragma once

#include <QByteArray>
#include <QRgb>

#include <memory>

class QColorSpace;
class QImage;

// How a photo's stored colours become sRGB, the colours every output takes them for. Built
// once per photo from its embedded profile, then applied to each picture decoded from it, so
// the reduced picture and the photo's own pixels agree.
class ColourProfile
{
public:
    // What the photo's pixels hold; the profile must describe the same.
    enum class Channels { Rgb, Grey, Cmyk };

    // No profile: the pixels are taken as sRGB and stay as they are.
    ColourProfile() = default;
    // An ICC profile embedded in a photo whose pixels hold these channels.
    static ColourProfile fromIcc(const QByteArray &icc, Channels channels);
    // A profile was embedded but could not be read whole.
    static ColourProfile unreadable();
    // The colour space Qt's image readers tag a picture with; none means sRGB.
    static ColourProfile fromColorSpace(const QColorSpace &space);

    // The photo has a profile that cannot be used: its pixels stay as stored.
    bool isUnusable() const { return m_unusable; }
    // The pixels change at all.
    bool converts() const { return m_tables != nullptr; }
    // 32-bit pixels (QImage::Format_RGB32 or Format_ARGB32) in place; alpha stays.
    void convert(QRgb *pixels, qsizetype count) const;
    void convert(QImage &picture) const;

private:
    struct Tables;
    static std::shared_ptr<const Tables> makeTables(const QColorSpace &space);

    std::shared_ptr<const Tables> m_tables;
    bool m_unusable = false;
};
