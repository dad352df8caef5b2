#pragma once

#include <QRect>

class CheckNote;
class PhotoDocument;
class QLabel;
class QWidget;
class TextTable;

// The notes right of the frame: the format's note in orange, with what the fit and the face
// search tell of the photo, and under it the photo checks.
class PhotoNotes
{
public:
    PhotoNotes(QWidget *client, const TextTable &texts);

    // The notes of the document's present state, in the room right of the frame.
    void show(const PhotoDocument &document, const QRect &room);
    // A print under 300 dpi is one of the checks' failures once they are there.
    void showChecks(const PhotoDocument &document);

private:
    QRect m_room;
    const TextTable &m_texts;
    QLabel *m_note;
    CheckNote *m_checks;
};
