#pragma once

#include <QFuture>
#include <QImage>
#include <QImageIOHandler>
#include <QRect>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

// A decoded photo, held once. It is kept as stored in the file; an EXIF orientation is
// applied to coordinates and to the small pictures cut from it, never by copying the
// whole photo, so a sideways phone photo costs no more memory or time than an upright one.
//
// A large photo is first shown from a picture the decoder reduced (1/2 to 1/8 of each side)
// while its own pixels are decoded on another thread; what needs them waits for them.
class Photo
{
public:
    // A photo decoded whole. `colourProfileUnusable`: its colours are as stored, though the
    // file holds a profile for them.
    Photo(QImage stored, QImageIOHandler::Transformations orientation,
        bool colourProfileUnusable = false);
    // Decodes the photo's pixels; nothing when the decode fails or stopped because the photo
    // is no longer wanted.
    using FullDecode = std::function<QImage(const std::atomic<bool> &unwanted)>;
    // A photo of storedSize shown from preview, which holds it reduced by previewFactor; the
    // full decode starts at once on another thread.
    Photo(QImage preview, int previewFactor, QSize storedSize,
        QImageIOHandler::Transformations orientation, FullDecode decode,
        bool colourProfileUnusable = false);
    // An unfinished decode is told to stop; nothing waits for it.
    ~Photo();
    Photo(const Photo &) = delete;
    Photo &operator=(const Photo &) = delete;

    // Size of the upright picture.
    int width() const { return m_upright.width(); }
    int height() const { return m_upright.height(); }
    QSize size() const { return m_upright; }
    QImageIOHandler::Transformations orientation() const { return m_orientation; }
    // The file's colour profile could not be used: the colours are shown as stored.
    bool colourProfileUnusable() const { return m_colourProfileUnusable; }

    // The photo's own pixels are there (or their decode failed): nothing waits any more.
    bool isComplete() const;
    void waitUntilComplete() const;
    // Waits at most this long: true when complete.
    bool waitFor(std::chrono::milliseconds limit) const;
    // Waits for the decode: true when it brought the photo's own pixels.
    bool hasOwnPixels() const;
    // Finishes when the photo is complete, for whoever wants to hear of it without waiting.
    QFuture<void> decoded() const;

    // The photo's own pixels inside an upright rectangle, upright; waits for them. Null when
    // the decode failed.
    QImage crop(const QRect &upright) const;
    // The same drawn into `target` at `at`, with no copy of them where the photo is stored
    // upright; false when the decode failed.
    bool drawCrop(QImage &target, const QPoint &at, const QRect &upright) const;
    // The same part scaled to a size, from the smallest reduced copy that is still at least
    // that large, so a press costs little whatever the photo's size. Never waits: before the
    // photo's own pixels are there, the reduced picture stands in.
    enum class Scaling {
        Screen, // bilinear, for the frame
        Smooth, // area averaging, for paper
    };
    QImage scaledCrop(
        const QRect &upright, const QSize &target, Scaling scaling = Scaling::Screen) const;
    // scaledCrop() has the pixels for this without enlarging a reduced picture.
    bool holdsPixelsFor(const QRect &upright, const QSize &target) const;

private:
    struct Reduced
    {
        int factor;
        QImage upright;
    };
    struct Pixels
    {
        QImage stored;
        std::vector<Reduced> reduced; // largest first
    };
    struct Decode;

    std::shared_ptr<const Pixels> complete() const;
    QRect storedRect(const QRect &upright) const;
    static std::vector<Reduced> reducedCopies(
        const QImage &stored, int factor, QImageIOHandler::Transformations orientation);

    QImageIOHandler::Transformations m_orientation;
    bool m_colourProfileUnusable;
    QSize m_stored;
    QSize m_upright;
    std::vector<Reduced> m_preview; // until the photo's own pixels are there
    std::shared_ptr<Decode> m_decode;
};

using PhotoPtr = std::shared_ptr<const Photo>;

// Where photos are read, and where they decode their own pixels.
class QThreadPool;
QThreadPool &photoReadThreads();
QThreadPool &photoDecodeThreads();
