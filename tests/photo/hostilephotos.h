#pragma once

#include "testphotos.h"

#include <QtEndian>

#include <algorithm>
#include <csetjmp>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

// Files a photo loader must survive: damaged, odd and hostile JPEGs, written afresh by every
// test run, so no binary sits in the repository.
namespace HostilePhotos {

enum class Outcome {
    Upright, // loaded, shows uprightPicture() the right way up
    UprightTopOnly, // loaded from a cut file: the rows that were there are right
    NotAPicture, // text 50
    TooLarge, // text 51
};

struct File
{
    QString name;
    QByteArray bytes;
    Outcome outcome = Outcome::Upright;
};

// libjpeg writes what Qt's writer cannot: colour spaces, arithmetic coding, exact scan counts.
enum class ColourSpace { Rgb, Grey, Cmyk };
struct EncodeOptions
{
    ColourSpace colourSpace = ColourSpace::Rgb;
    bool progressive = false;
    bool arithmetic = false;
    int scans = 0; // progressive only: this many scans, up to maximumScans()
};

namespace detail {

    struct ErrorManager
    {
        jpeg_error_mgr base;
        std::jmp_buf jump;
    };

    inline void failEncode(j_common_ptr info)
    {
        std::longjmp(reinterpret_cast<ErrorManager *>(info->err)->jump, 1);
    }

    // Every coefficient band of one component, coarse bits first, then each refinement: the
    // longest script libjpeg accepts for 8-bit samples.
    inline std::vector<jpeg_scan_info> longScanScript(int components)
    {
        constexpr int coarsest = 10;
        std::vector<jpeg_scan_info> scans;
        jpeg_scan_info dc {};
        dc.comps_in_scan = components;
        for (int c = 0; c < components; ++c)
            dc.component_index[c] = c;
        scans.push_back(dc); // DC of all components, full precision
        for (int c = 0; c < components; ++c)
            for (int k = 1; k < DCTSIZE2; ++k)
                for (int al = coarsest; al >= 0; --al) {
                    jpeg_scan_info scan {};
                    scan.comps_in_scan = 1;
                    scan.component_index[0] = c;
                    scan.Ss = k;
                    scan.Se = k;
                    scan.Ah = al == coarsest ? 0 : al + 1;
                    scan.Al = al;
                    scans.push_back(scan);
                }
        return scans;
    }

    inline QByteArray withSegment(const QByteArray &jpeg, const QByteArray &segment)
    {
        return jpeg.left(2) + segment + jpeg.mid(2);
    }

    // An EXIF block that lies: a first directory far past its end, then one claiming 65535
    // entries, and an orientation tag of a wrong type with a count that overflows.
    inline QByteArray corruptExif()
    {
        // Little-endian, directory at 8: 65535 entries; a RATIONAL orientation of count
        // 2^32-1; an EXIF directory out of range.
        const QByteArray exif = QByteArray("Exif\0\0II\x2A\0\x08\0\0\0\xFF\xFF"
                                           "\x12\x01\x05\0\xFF\xFF\xFF\xFF\xF0\xFF\xFF\x7F"
                                           "\x69\x87\x04\0\x01\0\0\0\xFF\xFF\xFF\x7F",
            40);
        const QByteArray segment = QByteArray("\xFF\xE1", 2) + char((exif.size() + 2) >> 8)
            + char((exif.size() + 2) & 0xFF);
        return segment + exif;
    }

    // The offset of the first start-of-scan marker, where the frame headers end.
    inline qsizetype firstScan(const QByteArray &jpeg)
    {
        qsizetype at = 2;
        while (at + 4 <= jpeg.size() && uchar(jpeg[at]) == 0xFF) {
            const uchar marker = uchar(jpeg[at + 1]);
            if (marker == 0xDA)
                return at;
            at += 2 + ((qsizetype(uchar(jpeg[at + 2])) << 8) | uchar(jpeg[at + 3]));
        }
        return jpeg.size();
    }

} // namespace detail

// The picture every loadable file shows upright: 600 x 800, four coloured quadrants.
inline QImage uprightPicture()
{
    return TestPhotos::quadrants(600, 800);
}

inline int maximumScans()
{
    return int(detail::longScanScript(3).size());
}

inline QByteArray encode(const QImage &source, const EncodeOptions &options)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB888);
    const bool cmyk = options.colourSpace == ColourSpace::Cmyk;
    jpeg_compress_struct info {};
    detail::ErrorManager error {};
    info.err = jpeg_std_error(&error.base);
    error.base.error_exit = detail::failEncode;
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    std::vector<jpeg_scan_info> script;
    std::vector<unsigned char> row(size_t(image.width()) * 4);
    if (setjmp(error.jump)) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        return {};
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(image.width());
    info.image_height = JDIMENSION(image.height());
    info.input_components = cmyk ? 4 : 3;
    info.in_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&info);
    if (options.colourSpace == ColourSpace::Grey)
        jpeg_set_colorspace(&info, JCS_GRAYSCALE);
    jpeg_set_quality(&info, 90, TRUE);
    info.arith_code = options.arithmetic ? TRUE : FALSE;
    if (options.progressive && options.scans > 0) {
        script = detail::longScanScript(info.num_components);
        script.resize(std::min<size_t>(script.size(), size_t(options.scans)));
        info.scan_info = script.data();
        info.num_scans = int(script.size());
    } else if (options.progressive) {
        jpeg_simple_progression(&info);
    }
    jpeg_start_compress(&info, TRUE);
    for (int y = 0; y < image.height(); ++y) {
        const uchar *rgb = image.constScanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            // Stored inverted, as the Adobe marker libjpeg writes for CMYK tells readers; with
            // no black in the test pictures (one channel is always full) that is R, G, B, 255.
            for (int k = 0; k < 3; ++k)
                row[size_t(info.input_components * x + k)] = rgb[3 * x + k];
            if (cmyk)
                row[size_t(4 * x + 3)] = 255;
        }
        JSAMPROW rows[1] = { row.data() };
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    const QByteArray bytes(reinterpret_cast<const char *>(buffer), qsizetype(size));
    std::free(buffer);
    return bytes;
}

// The whole set with the outcome each file must end in, in a fixed order.
inline QList<File> corpus()
{
    using enum Outcome;
    const QImage picture = uprightPicture();
    const QByteArray good = encode(picture, {});
    QList<File> files = {
        { QStringLiteral("zero-bytes.jpg"), QByteArray(), NotAPicture },
        { QStringLiteral("header-only.jpg"), good.left(detail::firstScan(good)), NotAPicture },
        { QStringLiteral("png-named-jpg.jpg"), TestPhotos::encode(picture, "png") },
        { QStringLiteral("cmyk.jpg"), encode(picture, { ColourSpace::Cmyk }) },
        { QStringLiteral("greyscale.jpg"), encode(picture, { ColourSpace::Grey }) },
        { QStringLiteral("progressive.jpg"), encode(picture, { ColourSpace::Rgb, true }) },
        { QStringLiteral("arithmetic.jpg"), encode(picture, { ColourSpace::Rgb, false, true }) },
        { QStringLiteral("corrupt-exif.jpg"), detail::withSegment(good, detail::corruptExif()) },
        { QStringLiteral("claims-60000x60000.jpg"), TestPhotos::withClaimedSize(good, 60000, 60000),
            TooLarge },
        { QStringLiteral("claims-32768x800.jpg"), TestPhotos::withClaimedSize(good, 32768, 800),
            TooLarge },
        { QStringLiteral("claims-20000x20000.jpg"), TestPhotos::withClaimedSize(good, 20000, 20000),
            TooLarge },
    };
    // A warning, then a fatal error half way: a scan cut short before a table between two
    // scans, and the table itself bogus.
    QByteArray damaged = encode(picture, { ColourSpace::Rgb, true });
    const qsizetype table = damaged.indexOf("\xFF\xC4", damaged.indexOf("\xFF\xDA"));
    damaged.replace(table + 5, 16, QByteArray(16, '\xFF')).remove(table - 40, 40);
    files.append({ QStringLiteral("warning-then-fatal.jpg"), damaged, NotAPicture });
    for (int percent : { 10, 50, 99 })
        files.append({ QStringLiteral("truncated-%1.jpg").arg(percent),
            good.left(good.size() * percent / 100), UprightTopOnly });
    // Stored turned the other way, so each orientation tag brings the same picture upright.
    const QTransform turns[9] = {
        {},
        {},
        QTransform(-1, 0, 0, 1, 0, 0), // 2: mirrored
        QTransform().rotate(180),
        QTransform(1, 0, 0, -1, 0, 0), // 4: flipped
        QTransform(0, 1, 1, 0, 0, 0), // 5: transposed
        QTransform().rotate(-90),
        QTransform(0, -1, -1, 0, 0, 0), // 7: transversed
        QTransform().rotate(90),
    };
    for (int orientation = 1; orientation <= 8; ++orientation)
        files.append({ QStringLiteral("orientation-%1.jpg").arg(orientation),
            TestPhotos::withOrientation(
                encode(picture.transformed(turns[orientation]), {}), orientation) });
    // Phones' photos: WebP through Qt's reader, HEIC through libheif, which turns it upright by
    // the rotation stored in the file (empty without an HEVC encoder, and then skipped).
    const QByteArray webp = TestPhotos::encode(picture, "webp");
    const QByteArray heic = TestPhotos::encodeHeic(picture.transformed(turns[6]), 6);
    QByteArray heicHuge = heic;
    const qsizetype ispe = heic.indexOf("ispe") + 8; // after the version and flags
    heicHuge.replace(ispe, 8, QByteArray::fromHex("00004e2000004e20")); // 20000 x 20000
    // The same EXIF block in a PNG's eXIf chunk and a WebP's EXIF chunk.
    const QByteArray exif = TestPhotos::withOrientation("\xFF\xD8", 6).mid(6);
    const QByteArray png6 = TestPhotos::encode(picture.transformed(turns[6]), "png");
    QByteArray webp6 = TestPhotos::encode(picture.transformed(turns[6]), "webp") + "EXIF";
    webp6 += QByteArray::fromHex("20000000") + exif; // 32 bytes, no padding
    qToLittleEndian(quint32(webp6.size() - 8), webp6.data() + 4);
    files += {
        { QStringLiteral("photo.webp"), webp },
        { QStringLiteral("orientation-6.png"),
            png6.left(33) + TestPhotos::pngChunk("eXIf", exif) + png6.mid(33) },
        { QStringLiteral("orientation-6.webp"), webp6 },
        { QStringLiteral("orientation-6.heic"), heic },
        { QStringLiteral("claims-100000x100000.png"),
            TestPhotos::withClaimedPngSize(TestPhotos::encode(picture, "png"), 100000, 100000),
            TooLarge },
        { QStringLiteral("claims-20000x20000.heic"), heic.isEmpty() ? heic : heicHuge, TooLarge },
        { QStringLiteral("truncated-50.webp"), webp.left(webp.size() / 2), NotAPicture },
        { QStringLiteral("truncated-50.heic"), heic.left(heic.size() / 2), NotAPicture },
    };
    // A picture made of 5000 tiles, each a decode of its own.
    const auto box = [](const char *type, const QByteArray &content) {
        QByteArray size(4, '\0');
        qToBigEndian(quint32(content.size() + 8), size.data());
        return size + type + content;
    };
    const QByteArray tiles
        = QByteArray::fromHex("00011388") + QByteArray::fromHex("0002").repeated(5000);
    files.append({ QStringLiteral("grid-of-5000-tiles.heic"),
        box("ftyp", QByteArray("heic\0\0\0\0mif1heic", 16))
            + box("meta",
                QByteArray(4, '\0') + box("pitm", QByteArray::fromHex("000000000001"))
                    + box("iref", QByteArray(4, '\0') + box("dimg", tiles))),
        TooLarge });
    // More than 500 scans is refused before decoding, however the scans are made.
    const QImage small = picture.scaled(300, 400);
    for (int scans : { 500, 501, maximumScans() })
        files.append({ QStringLiteral("progressive-%1-scans.jpg").arg(scans),
            encode(small, { ColourSpace::Rgb, true, false, scans }),
            scans > 500 ? NotAPicture : Upright });
    // Hidden from a count that does not walk the markers as libjpeg does: a comment whose
    // length says 0, and stray FF 00 bytes between segments, both skipped by the decoder.
    const QByteArray many = encode(small, { ColourSpace::Rgb, true, false, 501 });
    files.append({ QStringLiteral("501-scans-after-empty-comment.jpg"),
        many.left(2) + QByteArray("\xFF\xFE\x00\x00", 4) + many.mid(2), NotAPicture });
    files.append({ QStringLiteral("501-scans-after-stray-bytes.jpg"),
        many.left(2) + QByteArray("\xFF\x00\xFF\x00", 4) + many.mid(2), NotAPicture });
    // 500 scans are too many for 14000 x 14000 pixels: the work, not the count, is refused.
    files.append({ QStringLiteral("progressive-500-scans-claims-14000x14000.jpg"),
        TestPhotos::withClaimedSize(
            encode(small, { ColourSpace::Rgb, true, false, 500 }), 14000, 14000),
        NotAPicture });
    // Padded with 64 KB segments: 255 stay under the 16 MB of metadata allowed, 256 do not,
    // whether comments or APP1 blocks.
    const auto padded = [&good](int comments, int app1) {
        const QByteArray segment = QByteArray::fromHex("FFFEFFFF") + QByteArray(65533, '\0');
        QByteArray app1Segment = segment;
        app1Segment[1] = '\xE1';
        return good.left(2) + segment.repeated(comments) + app1Segment.repeated(app1) + good.mid(2);
    };
    files.append({ QStringLiteral("255-comments-of-64k.jpg"), padded(255, 0) });
    files.append(
        { QStringLiteral("128-comments-128-app1-of-64k.jpg"), padded(128, 128), TooLarge });
    return files;
}

} // namespace HostilePhotos
