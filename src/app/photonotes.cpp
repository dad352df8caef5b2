#include "photonotes.h"

#include "checknote.h"
#include "i18n/texttable.h"
#include "photo/photodocument.h"
#include "photo/photoformat.h"
#include "widgets/controls.h"
#include "widgets/look.h"
#include "widgets/twips.h"

#include <QLabel>

PhotoNotes::PhotoNotes(QWidget *client, const TextTable &texts)
    : m_texts(texts)
{
    m_note = placeTwips(
        new QLabel(client), QStringLiteral("noteLabel"), QRectF(6645, 4110, 3015, 540));
    m_note->setFont(arialFont(9.75, true));
    setTextColour(m_note, QColor(255, 128, 0));
    m_note->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_note->setWordWrap(true);
    m_note->setText(QStringLiteral("Minimum size page: 10 x 15 cm"));
    m_checks = new CheckNote(texts, client);
}

void PhotoNotes::show(const PhotoDocument &document, const QRect &room)
{
    // The note follows the chosen size, so a restored "2 x 2 in" keeps its own note; other
    // sizes are exported on 10 x 15 cm.
    const IdDocument &chosen = document.idDocument();
    const int format = chosen.bandFormat();
    QString note = m_texts.text(!chosen.takesPrints || chosen.isDigital() ? TextId::NoPrintsTaken
            : isPhotoFormatIndex(format) ? PhotoFormats[format].noteText
                                         : TextId::NoteSmallPage);
    // A photo cut too small prints soft; the user can still go ahead. The checks, once there,
    // list it among their failures.
    m_room = room;
    if (const std::optional<int> dpi = document.softPrintDpi(); dpi && !document.checks())
        note += u'\n' + m_texts.text(TextId::ResolutionNote).arg(*dpi);
    if (document.noSingleFace())
        note += u'\n'
            + (document.hasFacesToChoose()
                    ? m_texts.text(TextId::SeveralFaces).arg(document.faceSearch()->faces)
                    : m_texts.text(TextId::NoSingleFace));
    if (document.colourProfileUnusable())
        note += u'\n' + m_texts.text(TextId::ColourProfileUnusable);
    if (document.shown().extension())
        note += u'\n' + m_texts.text(TextId::PhotoExtended);
    m_note->setText(note);
    fitToText(m_note, room.adjusted(6, 4, -4, -4));
    m_checks->setRoom(room.adjusted(6, m_note->geometry().bottom() + 6, -4, -4));
}

void PhotoNotes::showChecks(const PhotoDocument &document)
{
    m_checks->setOfficeBackground(document.idDocument().background);
    show(document, m_room);
    if (const auto &failures = document.checks())
        m_checks->display(*failures, document.softPrintDpi());
    else
        m_checks->clear();
}
