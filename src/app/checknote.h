#pragma once

#include "photo/photochecks.h"

#include <QLabel>

class TextTable;

// The photo checks under the note: one line for each check the fitted photo fails, or a green
// line when it passes them all.
class CheckNote : public QLabel
{
    Q_OBJECT
public:
    CheckNote(const TextTable &texts, QWidget *parent);

    // `softDpi`: the print's dots per inch when under 300, listed first as a failure.
    void display(const std::vector<CheckFailure> &failures, std::optional<int> softDpi = {});
    void clear();
    // The room the note may take; it keeps to the height of its lines.
    void setRoom(const QRect &room);
    // The lines of the failures, in the user's language; `background`: the office's words for
    // the background it asks for.
    static QStringList lines(const std::vector<CheckFailure> &failures, const TextTable &texts,
        const QString &background = {});
    void setOfficeBackground(const QString &words) { m_background = words; }
    // Why the wall behind the person cannot be replaced, in the user's language.
    static QString wallKept(const BackgroundReplacement::Why &why, const TextTable &texts);

private:
    const TextTable &m_texts;
    std::vector<CheckFailure> m_shown;
    std::optional<int> m_softDpi;
    QRect m_room;
    QString m_background;
};
