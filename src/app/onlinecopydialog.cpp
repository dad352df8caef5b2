#include "onlinecopydialog.h"

#include "export/onlinecopysize.h"
#include "widgets/controls.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QFutureWatcher>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <QThread>

#include <algorithm>

OnlineCopyDialog::OnlineCopyDialog(const OnlineCopyQuestion &question, QWidget *owner)
    : QDialog(owner)
    , m_check(question.check)
    , m_ownPixels(question.ownPixels)
    , m_enlargedNote(question.enlargedNote)
{
    setObjectName(QStringLiteral("onlineCopyDialog"));
    setWindowTitle(question.title);
    m_size = new QLineEdit(question.prefill.size, this);
    m_size->setObjectName(QStringLiteral("sizeEdit"));
    m_limit = new QLineEdit(question.prefill.limit, this);
    m_limit->setObjectName(QStringLiteral("limitEdit"));
    // The size that will be written: a height taken from the width shows before the file does.
    m_result = new QLabel(this);
    m_result->setObjectName(QStringLiteral("resultLabel"));
    auto *ownPixels = plainLabel(question.ownPixelsLine, QStringLiteral("ownPixelsLabel"));
    m_enlarged = plainLabel(QString(), QStringLiteral("enlargedLabel"));
    // The row stays when the note goes, so the fields below do not move while the user types.
    m_enlarged->setMinimumHeight(m_enlarged->fontMetrics().height());
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto *form = new QFormLayout(this);
    form->addRow(ownPixels);
    for (const auto &[text, field] :
        { std::pair { question.sizeLabel, m_size }, std::pair { question.limitLabel, m_limit } }) {
        QLabel *label = plainLabel(text);
        label->setBuddy(field);
        form->addRow(label, field);
        if (field == m_size) {
            form->addRow(
                plainLabel(question.resultLabel, QStringLiteral("resultCaption")), m_result);
            form->addRow(m_enlarged);
        }
    }
    form->addRow(m_buttons);
    fitTitle(question.title);

    judge();
    keepWithinScreen(this);
    // A form squeezes a wrapping caption to a few words; one that fits its line keeps it.
    for (QLabel *label : findChildren<QLabel *>())
        label->setMinimumWidth(std::min(label->maximumWidth(),
            std::max(
                label->minimumWidth(), label->fontMetrics().horizontalAdvance(label->text()) + 1)));
    connect(m_size, &QLineEdit::textChanged, this, &OnlineCopyDialog::judge);
    connect(m_limit, &QLineEdit::textChanged, this, &OnlineCopyDialog::judge);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void OnlineCopyDialog::fitTitle(const QString &title)
{
    // Title bars are usually bold, beside an icon and two or three buttons.
    QFont bold = font();
    bold.setBold(true);
    constexpr int TitleBarExtras = 160;
    int wanted = QFontMetrics(bold).horizontalAdvance(title) + TitleBarExtras;
    if (const QScreen *shown = screen())
        wanted = std::min(wanted, shown->availableGeometry().width() * 9 / 10); // and its frame
    setMinimumWidth(wanted);
}

QLabel *OnlineCopyDialog::plainLabel(const QString &text, const QString &name)
{
    auto *label = new QLabel(this);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText); // language files are shared
    label->setText(text);
    return label;
}

OnlineCopyChoice OnlineCopyDialog::choice() const
{
    return { m_size->text(), m_limit->text() };
}

std::optional<OnlineCopyChoice> OnlineCopyDialog::ask(
    QWidget *owner, const OnlineCopyQuestion &question)
{
    OnlineCopyDialog dialog(question, owner);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.choice();
}

void OnlineCopyDialog::judge()
{
    // Texts that are refused cannot be accepted: OK waits until they are.
    const std::optional<QSize> pixels = m_check ? m_check(choice()) : std::nullopt;
    m_result->setText(pixels ? pixelSizeText(*pixels) : QString());
    const double enlarged = pixels ? onlineCopyEnlargement(*pixels, m_ownPixels) : 0;
    m_enlarged->setText(enlarged > OnlineCopySoftAbove
            ? m_enlargedNote.arg(QLocale().toString(enlarged, 'f', 1))
            : QString());
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(pixels.has_value());
}

bool waitForOnlineCopy(QWidget *owner, const QString &cancelText, const QFuture<void> &work)
{
    // Small copies end before a window could be seen; it would only flash.
    for (int waited = 0; waited < 300 && !work.isFinished(); waited += 10)
        QThread::msleep(10);
    if (work.isFinished())
        return true;
    QDialog wait(owner);
    wait.setObjectName(QStringLiteral("onlineCopyWait"));
    wait.setWindowTitle(cancelText);
    auto *cancel = new QPushButton(cancelText, &wait);
    QObject::connect(cancel, &QPushButton::clicked, &wait, &QDialog::reject);
    (new QHBoxLayout(&wait))->addWidget(cancel);
    QFutureWatcher<void> watcher;
    QObject::connect(&watcher, &QFutureWatcherBase::finished, &wait, &QDialog::accept);
    watcher.setFuture(work);
    // The program's end leaves the dialog's loop too, rejected.
    return wait.exec() == QDialog::Accepted;
}
