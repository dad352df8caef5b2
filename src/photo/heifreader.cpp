#include "heifreader.h"

#include "photoloader.h"

#include <QColorSpace>

#include <utility>

#include <libheif/heif.h>

namespace {

// Once per process; the library counts the calls, and is never released before exit.
void initialiseLibheif()
{
    static const bool initialised = [] {
        heif_init(nullptr);
        return true;
    }();
    Q_UNUSED(initialised);
}

// libheif decodes every tile of a grid however small, and says how many only once it has
// begun: a phone's photo has a few hundred at most.
constexpr quint32 MostTiles = 1000;

quint32 bigEndian(const QByteArray &bytes, qsizetype at, int size)
{
    quint32 value = 0;
    for (int i = 0; i < size && at + i < bytes.size(); ++i)
        value = value << 8 | uchar(bytes[at + i]);
    return value;
}

// Calls `each(type, from, to)` for the boxes between `from` and `to`, the end of their parent.
template<typename Each>
void forBoxes(const QByteArray &bytes, qsizetype from, qsizetype to, Each each)
{
    while (from + 8 <= to) {
        quint64 size = bigEndian(bytes, from, 4);
        qsizetype header = 8;
        if (size == 1) {
            size = quint64(bigEndian(bytes, from + 8, 4)) << 32 | bigEndian(bytes, from + 12, 4);
            header = 16;
        } else if (size == 0) {
            size = quint64(to - from);
        }
        if (size < quint64(header) || size > quint64(to - from))
            return;
        each(bytes.mid(from + 4, 4), from + header, from + qsizetype(size));
        from += qsizetype(size);
    }
}

// The tiles the primary picture is made of, as the file's references say.
quint64 primaryTiles(const QByteArray &bytes)
{
    quint64 tiles = 0;
    forBoxes(bytes, 0, bytes.size(), [&](const QByteArray &type, qsizetype begin, qsizetype end) {
        if (type != "meta")
            return;
        quint32 primary = 0;
        std::vector<std::pair<quint32, quint32>> grids; // item, its tiles
        // Full boxes: a byte of version and three of flags first.
        forBoxes(bytes, begin + 4, end, [&](const QByteArray &inner, qsizetype at, qsizetype stop) {
            const int id = bigEndian(bytes, at, 1) == 0 ? 2 : 4;
            if (inner == "pitm")
                primary = bigEndian(bytes, at + 4, id);
            if (inner != "iref")
                return;
            forBoxes(bytes, at + 4, stop, [&](const QByteArray &kind, qsizetype ref, qsizetype) {
                if (kind == "dimg")
                    grids.emplace_back(bigEndian(bytes, ref, id), bigEndian(bytes, ref + id, 2));
            });
        });
        for (const auto &[item, count] : grids)
            if (item == primary)
                tiles += count;
    });
    return tiles;
}

bool tooLarge(const heif_error &error)
{
    return error.code == heif_error_Memory_allocation_error
        && error.subcode == heif_suberror_Security_limit_exceeded;
}

} // namespace

HeifPhoto::HeifPhoto(const QByteArray &bytes)
{
    const auto *data = reinterpret_cast<const uint8_t *>(bytes.constData());
    if (bytes.size() < 12
        || heif_check_filetype(data, int(std::min<qsizetype>(bytes.size(), 64)))
            == heif_filetype_no)
        return;
    m_header = Header::Unreadable;
    if (primaryTiles(bytes) > MostTiles) {
        m_header = Header::TooLarge;
        return;
    }
    initialiseLibheif();
    m_context = heif_context_alloc();
    // libheif refuses larger pictures, grids of tiles included, before allocating for them.
    heif_context_set_maximum_image_size_limit(m_context, MaximumPhotoSide);
    const heif_error read = heif_context_read_from_memory_without_copy(
        m_context, data, size_t(bytes.size()), nullptr);
    if (read.code != heif_error_Ok) {
        if (tooLarge(read))
            m_header = Header::TooLarge;
        return;
    }
    const heif_error primary = heif_context_get_primary_image_handle(m_context, &m_handle);
    if (primary.code != heif_error_Ok) {
        m_handle = nullptr;
        if (tooLarge(primary))
            m_header = Header::TooLarge;
        return;
    }
    // The size the decode gives, after the stored rotation; the limits are the loader's.
    m_size = QSize(heif_image_handle_get_width(m_handle), heif_image_handle_get_height(m_handle));
    if (m_size.isEmpty())
        return;
    const bool large = m_size.width() > MaximumPhotoSide || m_size.height() > MaximumPhotoSide
        || qint64(m_size.width()) * m_size.height() > MaximumPhotoPixels;
    m_header = large ? Header::TooLarge : Header::Readable;
}

HeifPhoto::~HeifPhoto()
{
    if (m_handle)
        heif_image_handle_release(m_handle);
    if (m_context)
        heif_context_free(m_context);
}

ColourProfile HeifPhoto::colourProfile() const
{
    if (m_header != Header::Readable)
        return {};
    const heif_color_profile_type type = heif_image_handle_get_color_profile_type(m_handle);
    if (type == heif_color_profile_type_rICC || type == heif_color_profile_type_prof) {
        QByteArray icc(qsizetype(heif_image_handle_get_raw_color_profile_size(m_handle)), '\0');
        if (icc.isEmpty()
            || heif_image_handle_get_raw_color_profile(m_handle, icc.data()).code != heif_error_Ok)
            return ColourProfile::unreadable();
        return ColourProfile::fromIcc(icc, ColourProfile::Channels::Rgb);
    }
    if (type != heif_color_profile_type_nclx)
        return {};
    heif_color_profile_nclx *nclx = nullptr;
    if (heif_image_handle_get_nclx_color_profile(m_handle, &nclx).code != heif_error_Ok)
        return {};
    // Phones that describe their colours this way shoot in Display P3; anything else is
    // taken as sRGB, the stream's default.
    const bool displayP3 = nclx->color_primaries == heif_color_primaries_SMPTE_EG_432_1;
    heif_nclx_color_profile_free(nclx);
    return displayP3 ? ColourProfile::fromColorSpace(
               QColorSpace(QColorSpace::Primaries::DciP3D65, QColorSpace::TransferFunction::SRgb))
                     : ColourProfile();
}

QImage HeifPhoto::decode(const std::atomic<bool> *stop, const ColourProfile &colours) const
{
    if (m_header != Header::Readable || (stop && *stop))
        return {};
    heif_decoding_options *options = heif_decoding_options_alloc();
    options->convert_hdr_to_8bit = 1;
    heif_image *decoded = nullptr;
    const heif_error error = heif_decode_image(
        m_handle, &decoded, heif_colorspace_RGB, heif_chroma_interleaved_RGBA, options);
    heif_decoding_options_free(options);
    if (error.code != heif_error_Ok || !decoded)
        return {};
    int stride = 0;
    uint8_t *plane = heif_image_get_plane(decoded, heif_channel_interleaved, &stride);
    const QSize size(heif_image_get_width(decoded, heif_channel_interleaved),
        heif_image_get_height(decoded, heif_channel_interleaved));
    if (!plane || size != m_size || (stop && *stop)) {
        heif_image_release(decoded);
        return {};
    }
    // Red and blue swapped in place make the bytes Qt's 32-bit pixels, and the picture keeps
    // libheif's memory, so a large photo is not held twice.
    for (int y = 0; y < size.height(); ++y) {
        uint8_t *pixel = plane + qsizetype(y) * stride;
        for (int x = 0; x < size.width(); ++x, pixel += 4)
            std::swap(pixel[0], pixel[2]);
    }
    const bool alpha = heif_image_handle_has_alpha_channel(m_handle);
    QImage image(
        plane, size.width(), size.height(), stride,
        alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32,
        [](void *image) { heif_image_release(static_cast<heif_image *>(image)); }, decoded);
    if (image.isNull() || (stop && *stop))
        return {};
    colours.convert(image);
    return image;
}
