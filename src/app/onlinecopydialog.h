#pragma once

#include <QDialog>
#include <QFuture>
#include <QSize>
#include <QString>

#include <functional>
#include <optional>

class QDialogButtonBox;
class QLabel;
class QLineEdit;

// What the user typed in the dialog of the copy for an online application.
struct OnlineCopyChoice
{
    QString size; // pixels, "width x height" or the width alone
    QString limit; // KB; empty: no limit
};

// What that dialog shows, and how it judges the texts typed in it.
struct OnlineCopyQuestion
{
    QString title;
    QString sizeLabel;
    QString limitLabel;
    QString resultLabel; // the caption of the size that will be written
    QString ownPixelsLine; // how many of the photo's own pixels the copy has to draw on
    QString enlargedNote; // %1: how many times the copy enlarges them
    QSize ownPixels; // the crop in the photo's own pixels
    OnlineCopyChoice prefill;
    // The pixel size the texts give, or nothing when they are refused and cannot be accepted.
    std::function<std::optional<QSize>(const OnlineCopyChoice &)> check;
};

// Asks the question: the accepted texts, or nothing when cancelled. The window is handed one,
// so its tests answer without a modal dialog.
using AskOnlineCopy
    = std::function<std::optional<OnlineCopyChoice>(QWidget *owner, const OnlineCopyQuestion &)>;

// Waits on the window's thread for the copy's work: false when the user would not wait. The
// window is handed one, so its tests decide without a modal window.
using WaitForOnlineCopy
    = std::function<bool(QWidget *owner, const QString &cancelText, const QFuture<void> &work)>;
// The program's wait: a work that ends within about 300 ms ends unseen; a longer one shows a
// small modal window whose Cancel button, Escape or closing stops the wait, as does the end of
// the program.
bool waitForOnlineCopy(QWidget *owner, const QString &cancelText, const QFuture<void> &work);

// The size and the limit of the copy, with the size that will be written and a note when it
// enlarges the photo's own pixels shown as they are typed; OK waits until the texts are accepted.
class OnlineCopyDialog : public QDialog
{
    Q_OBJECT
public:
    OnlineCopyDialog(const OnlineCopyQuestion &question, QWidget *owner);

    OnlineCopyChoice choice() const;
    // Shows the dialog modally: the AskOnlineCopy of the program.
    static std::optional<OnlineCopyChoice> ask(QWidget *owner, const OnlineCopyQuestion &question);

private:
    // At least as wide as the title bar needs for the whole title, within the screen.
    void fitTitle(const QString &title);
    QLabel *plainLabel(const QString &text, const QString &name = {});
    void judge();

    std::function<std::optional<QSize>(const OnlineCopyChoice &)> m_check;
    QSize m_ownPixels;
    QString m_enlargedNote;
    QLineEdit *m_size = nullptr;
    QLineEdit *m_limit = nullptr;
    QLabel *m_result = nullptr;
    QLabel *m_enlarged = nullptr;
    QDialogButtonBox *m_buttons = nullptr;
};
