#pragma once

#include "photo/cropsource.h"
#include "photo/facefit.h"

#include <QImage>
#include <QWidget>

// The photo frame: shows its clip image stretched to its own size. The picture is scaled
// smoothly once, to the frame's device pixels, whenever the clip or the frame's size changes.
// It reports drags with the left button and wheel turns, in its own pixels.
class PhotoFrame : public QWidget
{
    Q_OBJECT
public:
    explicit PhotoFrame(QWidget *parent = nullptr);

    void setClip(const ClipImage &clip);
    // Marks at the left and right edges over the picture: where the format's rule wants the
    // crown, the chin or the eye line.
    void setGuides(const QList<GuideBand> &bands);
    const ClipImage &clip() const { return m_clip; }
    // What is on screen, at device pixels.
    const QImage &picture() const { return m_picture; }

signals:
    void dragStarted(const QPointF &at);
    void dragged(const QPointF &at);
    void wheeled(int angleDelta);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void render();

    ClipImage m_clip;
    QImage m_picture;
    QList<GuideBand> m_guides;
};
