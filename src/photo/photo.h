#pragma once

#include <QImage>
#include <QImageIOHandler>
#include <QRect>

#include <memory>
#include <vector>

// A decoded photo, held once. It is kept as stored in the file; an EXIF orientation is
// applied to coordinates and to the small pictures cut from it, never by copying the
// whole photo, so a sideways phone photo costs no more memory or time than an upright one.
class Photo
{
public:
    Photo(QImage stored, QImageIOHandler::Transformations orientation);

    // Size of the upright picture.
    int width() const { return m_upright.width(); }
    int height() const { return m_upright.height(); }
    QSize size() const { return m_upright; }
    QImageIOHandler::Transformations orientation() const { return m_orientation; }
    const QImage &stored() const { return m_stored; }

    // The photo's own pixels inside an upright rectangle, upright.
    QImage crop(const QRect &upright) const;
    // The same part scaled smoothly to a size, from the smallest reduced copy that is still
    // at least that large, so a press costs little whatever the photo's size.
    QImage scaledCrop(const QRect &upright, const QSize &target) const;

private:
    QRect storedRect(const QRect &upright) const;
    void buildReducedCopies();

    QImage m_stored;
    QImageIOHandler::Transformations m_orientation;
    QSize m_upright;
    QTransform m_storedToUpright;
    struct Reduced
    {
        int factor;
        QImage upright;
    };
    std::vector<Reduced> m_reduced; // largest first
};

using PhotoPtr = std::shared_ptr<const Photo>;
