#pragma once

#include "photo/photochecks.h"

#include <QLabel>
#include <QThreadPool>

#include <atomic>

class TextTable;

// The photo checks under the note: one line for each check the fitted photo fails, or a green
// line when it passes them all. The checks run on a thread of their own; a fit changed
// meanwhile makes their answer useless, and only the latest is shown.
class CheckNote : public QLabel
{
    Q_OBJECT
public:
    CheckNote(const TextTable &texts, QWidget *parent);
    ~CheckNote() override;

    // Checks this fit; nothing to check clears the note.
    void check(const FitToCheck &fit);
    void clear();
    // The room the note may take; it keeps to the height of its lines.
    void setRoom(const QRect &room);
    // The lines of the failures, in the user's language.
    static QStringList lines(const std::vector<CheckFailure> &failures, const TextTable &texts);

private:
    void display(const std::vector<CheckFailure> &failures);

    const TextTable &m_texts;
    QThreadPool m_thread;
    std::atomic<int> m_latest { 0 };
    std::vector<CheckFailure> m_shown;
    QRect m_room;
};
