#include "hostilephotos.h"

#include "testphotos.h"

#include <QDir>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace HostilePhotos {

namespace {

    struct ErrorManager
    {
        jpeg_error_mgr base;
        std::jmp_buf jump;
    };

    void failEncode(j_common_ptr info)
    {
        std::longjmp(reinterpret_cast<ErrorManager *>(info->err)->jump, 1);
    }

    // Every coefficient band of one component, coarse bits first, then each refinement: the
    // longest script libjpeg accepts for 8-bit samples.
    std::vector<jpeg_scan_info> longScanScript(int components)
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

    QByteArray withSegment(const QByteArray &jpeg, const QByteArray &segment)
    {
        return jpeg.left(2) + segment + jpeg.mid(2);
    }

    // An EXIF block that lies: a first directory far past its end, then one claiming 65535
    // entries, and an orientation tag of a wrong type with a count that overflows.
    QByteArray corruptExif()
    {
        QByteArray exif("Exif\0\0", 6);
        exif += QByteArray("II\x2A\0\x08\0\0\0", 8); // little-endian, directory at 8
        exif += QByteArray("\xFF\xFF", 2); // 65535 entries
        exif += QByteArray(
            "\x12\x01\x05\0\xFF\xFF\xFF\xFF\xF0\xFF\xFF\x7F", 12); // RATIONAL, count 2^32-1
        exif += QByteArray(
            "\x69\x87\x04\0\x01\0\0\0\xFF\xFF\xFF\x7F", 12); // EXIF directory out of range
        QByteArray segment("\xFF\xE1", 2);
        segment += char((exif.size() + 2) >> 8);
        segment += char((exif.size() + 2) & 0xFF);
        return segment + exif;
    }

    // The offset of the first start-of-scan marker, where the frame headers end.
    qsizetype firstScan(const QByteArray &jpeg)
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

} // namespace

QImage uprightPicture()
{
    return TestPhotos::quadrants(600, 800);
}

int maximumScans()
{
    return int(longScanScript(3).size());
}

QByteArray encode(const QImage &source, const EncodeOptions &options)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB888);
    jpeg_compress_struct info {};
    ErrorManager error {};
    info.err = jpeg_std_error(&error.base);
    error.base.error_exit = failEncode;
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    std::vector<jpeg_scan_info> script;
    std::vector<unsigned char> row;
    if (setjmp(error.jump)) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        return {};
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(image.width());
    info.image_height = JDIMENSION(image.height());
    switch (options.colourSpace) {
    case ColourSpace::Rgb:
        info.input_components = 3;
        info.in_color_space = JCS_RGB;
        break;
    case ColourSpace::Grey:
        info.input_components = 1;
        info.in_color_space = JCS_GRAYSCALE;
        break;
    case ColourSpace::Cmyk:
        info.input_components = 4;
        info.in_color_space = JCS_CMYK;
        break;
    }
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    info.arith_code = options.arithmetic ? TRUE : FALSE;
    if (options.progressive && options.scans > 0) {
        script = longScanScript(info.num_components);
        script.resize(std::min<size_t>(script.size(), size_t(options.scans)));
        info.scan_info = script.data();
        info.num_scans = int(script.size());
    } else if (options.progressive) {
        jpeg_simple_progression(&info);
    }
    jpeg_start_compress(&info, TRUE);
    row.resize(size_t(image.width()) * size_t(info.input_components));
    for (int y = 0; y < image.height(); ++y) {
        const uchar *rgb = image.constScanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            const uchar r = rgb[3 * x], g = rgb[3 * x + 1], b = rgb[3 * x + 2];
            switch (options.colourSpace) {
            case ColourSpace::Rgb:
                std::copy(rgb + 3 * x, rgb + 3 * x + 3, row.data() + 3 * x);
                break;
            case ColourSpace::Grey:
                row[size_t(x)] = uchar(qGray(r, g, b));
                break;
            case ColourSpace::Cmyk: {
                // Stored inverted, as the Adobe marker libjpeg writes for CMYK tells readers.
                const uchar k = 255 - std::max({ r, g, b });
                const auto ink = [k](uchar value) {
                    return k == 255 ? 0 : (255 - value - k) * 255 / (255 - k);
                };
                unsigned char *out = row.data() + 4 * x;
                out[0] = uchar(255 - ink(r));
                out[1] = uchar(255 - ink(g));
                out[2] = uchar(255 - ink(b));
                out[3] = uchar(255 - k);
                break;
            }
            }
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

QList<File> corpus()
{
    using enum Outcome;
    const QImage picture = uprightPicture();
    const QByteArray good = encode(picture, {});
    QList<File> files = {
        { QStringLiteral("zero-bytes.jpg"), QByteArray(), NotAPicture },
        { QStringLiteral("header-only.jpg"), good.left(firstScan(good)), NotAPicture },
        { QStringLiteral("png-named-jpg.jpg"), TestPhotos::encode(picture, "png") },
        { QStringLiteral("cmyk.jpg"), encode(picture, { ColourSpace::Cmyk }) },
        { QStringLiteral("greyscale.jpg"), encode(picture, { ColourSpace::Grey }) },
        { QStringLiteral("progressive.jpg"), encode(picture, { ColourSpace::Rgb, true }) },
        { QStringLiteral("arithmetic.jpg"), encode(picture, { ColourSpace::Rgb, false, true }) },
        { QStringLiteral("corrupt-exif.jpg"), withSegment(good, corruptExif()) },
        { QStringLiteral("claims-60000x60000.jpg"), TestPhotos::withClaimedSize(good, 60000, 60000),
            TooLarge },
        { QStringLiteral("claims-32768x800.jpg"), TestPhotos::withClaimedSize(good, 32768, 800),
            TooLarge },
        { QStringLiteral("claims-20000x20000.jpg"), TestPhotos::withClaimedSize(good, 20000, 20000),
            TooLarge },
    };
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
    // More than 500 scans is refused before decoding, however the scans are made.
    const QImage small = picture.scaled(300, 400);
    for (int scans : { 500, 501, maximumScans() })
        files.append({ QStringLiteral("progressive-%1-scans.jpg").arg(scans),
            encode(small, { ColourSpace::Rgb, true, false, scans }),
            scans > 500 ? NotAPicture : Upright });
    return files;
}

bool writeFiles(const QString &folder, const QList<File> &files)
{
    if (!QDir().mkpath(folder))
        return false;
    for (const File &file : files) {
        if (!TestPhotos::writeFile(QDir(folder).filePath(file.name), file.bytes))
            return false;
    }
    return true;
}

} // namespace HostilePhotos
