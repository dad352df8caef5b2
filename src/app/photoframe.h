#pragma once

#include "photo/cropcommands.h"
#include "photo/cropsource.h"
#include "photo/facefit.h"

#include <QImage>
#include <QTimer>
#include <QWidget>

#include <optional>

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
    // Marks at the left edge where the top of the hair and of the skull lie, as shares of the
    // frame's height; the user drags them where they belong. Nothing hides them.
    void setHeadMarks(std::optional<double> hair, std::optional<double> skull);
    void setHeadMarkTips(const QString &hair, const QString &skull);
    const ClipImage &clip() const { return m_clip; }
    // A command the photo refused: the frame's edges where the photo ends (all four for a zoom)
    // light up for a moment, so a press that changes nothing still answers.
    void showRefused(PhotoCommand command);
    Qt::Edges refusedEdges() const { return m_refused; }
    // What is on screen, at device pixels.
    const QImage &picture() const { return m_picture; }

signals:
    void dragStarted(const QPointF &at);
    void dragged(const QPointF &at);
    void wheeled(int angleDelta);
    // A head mark let go at this share of the frame's height.
    void headMarkMoved(FaceRule::Top which, double share);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    bool event(QEvent *event) override;

private:
    void render();
    // The head mark under a point of the frame, if any.
    std::optional<FaceRule::Top> headMarkAt(const QPointF &at) const;
    std::optional<double> &mark(FaceRule::Top which)
    {
        return which == FaceRule::Top::Hair ? m_hairMark : m_skullMark;
    }

    ClipImage m_clip;
    QImage m_picture;
    QList<GuideBand> m_guides;
    std::optional<double> m_hairMark;
    std::optional<double> m_skullMark;
    QString m_hairTip;
    QString m_skullTip;
    std::optional<FaceRule::Top> m_dragging;
    Qt::Edges m_refused;
    QTimer *m_refusedTimer = nullptr;
};
