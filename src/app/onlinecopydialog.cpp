#include "onlinecopydialog.h"

#include "export/onlinecopysize.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

OnlineCopyDialog::OnlineCopyDialog(const OnlineCopyQuestion &question, QWidget *owner)
    : QDialog(owner)
    , m_check(question.check)
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
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto *form = new QFormLayout(this);
    for (const auto &[text, field] :
        { std::pair { question.sizeLabel, m_size }, std::pair { question.limitLabel, m_limit } }) {
        auto *label = new QLabel(this);
        label->setTextFormat(Qt::PlainText); // language files are shared
        label->setText(text);
        label->setBuddy(field);
        form->addRow(label, field);
        if (field == m_size)
            form->addRow(QString(), m_result);
    }
    form->addRow(m_buttons);

    judge();
    connect(m_size, &QLineEdit::textChanged, this, &OnlineCopyDialog::judge);
    connect(m_limit, &QLineEdit::textChanged, this, &OnlineCopyDialog::judge);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
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
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(pixels.has_value());
}
