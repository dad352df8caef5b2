#include "colourprofile.h"

#include <QColorSpace>
#include <QColorTransform>
#include <QImage>
#include <QRgba64>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace {

// Linear light in fixed point, 1.0 being LinearOne: in the darkest shades, where the sRGB curve
// is steepest, a step is a fifth of an 8-bit level.
constexpr qint32 LinearOne = 1 << 14;
using EncodeTable = std::array<quint8, LinearOne + 1>;
// Red, green, blue and an unused lane, added and clipped at once (GCC's and Clang's vectors:
// SSE2 on x86-64).
using LinearRgb = qint32 __attribute__((vector_size(16)));

QRgba64 grey64(int value)
{
    const auto v = quint16(value);
    return QRgba64::fromRgba64(v, v, v, 65535);
}

// Qt's sRGB curve, from linear light to 8 bits; the same for every photo.
const EncodeTable &srgbCurve()
{
    static const EncodeTable table = [] {
        EncodeTable curve {};
        const QColorTransform encode
            = QColorSpace(QColorSpace::SRgbLinear).transformationToColorSpace(QColorSpace::SRgb);
        for (size_t i = 0; i < curve.size(); ++i)
            curve[i] = quint8(
                qRed(encode.map(grey64(int(std::lround(i * 65535.0 / LinearOne)))).toArgb32()));
        return curve;
    }();
    return table;
}

} // namespace

// Qt's transform to sRGB taken apart, as the profiles Qt reads are made: a curve per channel to
// linear light, a matrix, the sRGB curve. Qt applies it pixel by pixel in floating point, about
// as slowly as the photo decodes; looked up in tables it costs a fraction of that.
struct ColourProfile::Tables
{
    // Each stored channel's share of linear red, green and blue, by the channel's value.
    std::array<std::array<LinearRgb, 256>, 3> share;
    const EncodeTable *encode;
    // Set when the tables do not give Qt's result, for a profile of some other make: then Qt
    // applies it itself.
    std::optional<QColorTransform> exact;

    QRgb apply(QRgb pixel) const
    {
        LinearRgb light = share[0][qRed(pixel)] + share[1][qGreen(pixel)] + share[2][qBlue(pixel)];
        light = light < 0 ? 0 : light;
        light = light > LinearOne ? LinearOne : light;
        const EncodeTable &curve = *encode;
        return (pixel & 0xFF000000) | QRgb(curve[size_t(light[0])]) << 16
            | QRgb(curve[size_t(light[1])]) << 8 | curve[size_t(light[2])];
    }
};

std::shared_ptr<const ColourProfile::Tables> ColourProfile::makeTables(const QColorSpace &space)
{
    auto tables = std::make_shared<Tables>();
    tables->encode = &srgbCurve();
    // The curves: into a space of the same primaries, only the curves change.
    const QColorSpace linear = space.withTransferFunction(QColorSpace::TransferFunction::Linear);
    const QColorTransform toLinear = space.transformationToColorSpace(linear);
    // The matrix, from steps about mid grey small enough to keep every result inside 0..1 for
    // matrix entries up to 4 (a step is an eighth): Qt clips what leaves it.
    const QColorTransform mix = linear.transformationToColorSpace(QColorSpace::SRgbLinear);
    constexpr int Mid = 32768, Step = 8192;
    auto around = [&mix](int in, int offset) {
        std::array<int, 3> channels { Mid, Mid, Mid };
        channels[size_t(in)] += offset;
        return mix.map(QRgba64::fromRgba64(
            quint16(channels[0]), quint16(channels[1]), quint16(channels[2]), 65535));
    };
    double matrix[3][3];
    for (int in = 0; in < 3; ++in) {
        const QRgba64 high = around(in, Step), low = around(in, -Step);
        matrix[0][in] = (high.red() - low.red()) / (2.0 * Step);
        matrix[1][in] = (high.green() - low.green()) / (2.0 * Step);
        matrix[2][in] = (high.blue() - low.blue()) / (2.0 * Step);
    }
    for (int value = 0; value < 256; ++value) {
        const QRgba64 light = toLinear.map(grey64(value * 257));
        const double channels[3]
            = { light.red() / 65535.0, light.green() / 65535.0, light.blue() / 65535.0 };
        for (int in = 0; in < 3; ++in) {
            LinearRgb &share = tables->share[size_t(in)][size_t(value)];
            for (int out = 0; out < 3; ++out)
                share[out] = qint32(std::lround(matrix[out][in] * channels[in] * LinearOne));
            share[3] = 0;
        }
    }
    // Checked against Qt's own result over the colour cube.
    const QColorTransform toSrgb = space.transformationToColorSpace(QColorSpace::SRgb);
    int worst = 0;
    for (int r = 0; r <= 256; r += 32)
        for (int g = 0; g <= 256; g += 32)
            for (int b = 0; b <= 256; b += 32) {
                const QRgb pixel = qRgb(std::min(r, 255), std::min(g, 255), std::min(b, 255));
                const QRgb ours = tables->apply(pixel), qts = toSrgb.map(pixel);
                worst = std::max({ worst, std::abs(qRed(ours) - qRed(qts)),
                    std::abs(qGreen(ours) - qGreen(qts)), std::abs(qBlue(ours) - qBlue(qts)) });
            }
    if (worst > 1)
        tables->exact = toSrgb;
    return tables;
}

ColourProfile ColourProfile::fromIcc(const QByteArray &icc, Channels channels)
{
    // Bytes 16-19 of the header name the colour space the profile describes. Qt reads RGB and
    // grey profiles of curves and a matrix; not CMYK's, which are tables.
    constexpr qsizetype HeaderSize = 128;
    const QByteArray described = icc.size() >= HeaderSize ? icc.mid(16, 4) : QByteArray();
    const bool fits = (channels == Channels::Rgb && described == "RGB ")
        || (channels == Channels::Grey && described == "GRAY");
    const QColorSpace space = fits ? QColorSpace::fromIccProfile(icc) : QColorSpace();
    return space.isValid() ? fromColorSpace(space) : unreadable();
}

ColourProfile ColourProfile::unreadable()
{
    ColourProfile profile;
    profile.m_unusable = true;
    return profile;
}

ColourProfile ColourProfile::fromColorSpace(const QColorSpace &space)
{
    ColourProfile profile;
    if (space.isValid() && space != QColorSpace(QColorSpace::SRgb))
        profile.m_tables = makeTables(space);
    return profile;
}

void ColourProfile::convert(QRgb *pixels, qsizetype count) const
{
    if (!m_tables)
        return;
    if (m_tables->exact) {
        QImage row(reinterpret_cast<uchar *>(pixels), int(count), 1, QImage::Format_ARGB32);
        row.applyColorTransform(*m_tables->exact);
        return;
    }
    const Tables &tables = *m_tables;
    for (qsizetype i = 0; i < count; ++i)
        pixels[i] = tables.apply(pixels[i]);
}

void ColourProfile::convert(QImage &picture) const
{
    if (!m_tables || picture.isNull())
        return;
    Q_ASSERT(picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32);
    for (int y = 0; y < picture.height(); ++y)
        convert(reinterpret_cast<QRgb *>(picture.scanLine(y)), picture.width());
    // What a reader tagged it with no longer holds.
    picture.setColorSpace(QColorSpace(QColorSpace::SRgb));
}
