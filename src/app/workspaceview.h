#pragma once

#include "photo/cropcommands.h"
#include "photo/cropsource.h"
#include "photo/photodocument.h"

#include <QObject>

#include <array>

struct FaceRule;
class PhotoFrame;
class QLabel;
class QPushButton;
class QWidget;
class ShapeWidget;

// The left part of the main window: the photo frame, its guides, the drop-zone text and the
// six fitting buttons, placed around the frame for its format.
class WorkspaceView : public QObject
{
    Q_OBJECT
public:
    explicit WorkspaceView(QWidget *client);

    QSizeF frameTwips() const;
    // Hides the picture, the oval and the buttons and gives the frame its new size; a frame
    // taller than the design's takes the window down with it.
    void resizeFrame(const QSizeF &twips);
    // The tops of the hair and the skull beside the frame; none without a single face.
    void showHeadMarks(const std::optional<PhotoDocument::HeadMarksShown> &marks);
    // Puts the guides and the buttons around the frame, and shows the frame.
    void place(const FaceRule &rule);
    // The right edge, in pixels, of the frame and its buttons as last placed.
    int rightEdge() const;
    // The photo's state: the picture with the oval and the buttons, no drop-zone text.
    void showPhoto(const ClipImage &clip);
    void showClip(const ClipImage &clip);
    void setDropText(const QString &text);
    void enableButtons(bool enabled);
    // Files may be dropped on the background, the frame and the drop-zone text.
    bool takesDrops(const QWidget *child) const;

    // The frame's size on the screen, in its own pixels.
    QSizeF framePixels() const;
    PhotoFrame *frame() const { return m_frame; }

signals:
    // A file dropped where files are taken: the first of the list.
    void photoDropped(const QString &path);
    // A fitting button is pressed (the command runs once at once) or let go.
    void held(PhotoCommand command);
    void letGo();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_client = nullptr;
    int m_designHeight = 0; // the client's, in pixels
    PhotoFrame *m_frame = nullptr;
    ShapeWidget *m_outline = nullptr;
    ShapeWidget *m_oval = nullptr;
    QLabel *m_dropLabel = nullptr;
    // +, -, up, down, right, left.
    std::array<QPushButton *, 6> m_buttons {};
};
