#include "documentchooser.h"

#include "customsizedialog.h"
#include "documentdialog.h"
#include "i18n/qttranslation.h"
#include "i18n/texttable.h"

#include <QDialog>
#include <QLocale>

#include <cstdio>

DocumentChooser::DocumentChooser(Platform &platform, const TextTable &texts, QWidget *window)
    : QObject(window)
    , m_platform(platform)
    , m_texts(texts)
    , m_window(window)
{ }

void DocumentChooser::load(const QString &programFolder, const QString &userFolder)
{
    QStringList problems;
    m_table.load(programFolder, userFolder, &problems);
    for (const QString &problem : problems)
        std::fprintf(stderr, "kalmora: %s\n", qPrintable(problem));
}

std::optional<IdDocument> DocumentChooser::find(const QString &id) const
{
    if (std::optional<IdDocument> custom = customDocument(id))
        return custom;
    return m_table.find(id);
}

std::optional<IdDocument> DocumentChooser::find(const QString &id, const IdDocument &kept) const
{
    std::optional<IdDocument> document = find(id);
    if (!document)
        std::fprintf(stderr,
            "kalmora: no document \"%s\" is known (kalmora --list-documents lists them); "
            "keeping %s\n",
            qPrintable(id), qPrintable(kept.id.isEmpty() ? kept.name : kept.id));
    return document;
}

void DocumentChooser::setLanguageFile(const QString &fileName)
{
    const QString code = QtTranslation::languageCode(fileName);
    // The language files know Indonesian by its older code.
    m_languageCode = code.isEmpty()   ? QStringLiteral("en")
        : code == QLatin1String("in") ? QStringLiteral("id")
                                      : code;
}

QString DocumentChooser::caption(const IdDocument &document) const
{
    if (document.id.isEmpty())
        return {};
    const QString size = sizeText(document, QLocale(m_languageCode));
    if (customDocument(document.id))
        return m_texts.text(TextId::CustomSizeTitle) + QStringLiteral(" - ") + size;
    return QStringList { countryName(document.country, m_languageCode), document.name, size }.join(
        QStringLiteral(" - "));
}

void DocumentChooser::chooseDocument(const IdDocument &current)
{
    auto *dialog = new DocumentDialog(
        m_table.documents(), m_texts, m_languageCode, m_platform, m_window, current.id);
    connect(dialog, &DocumentDialog::chosen, this, &DocumentChooser::chosen);
    open(dialog);
}

void DocumentChooser::chooseCustomSize(const IdDocument &current)
{
    auto *dialog = new CustomSizeDialog(m_texts, m_languageCode, m_window, current);
    connect(dialog, &CustomSizeDialog::chosen, this, &DocumentChooser::chosen);
    open(dialog);
}

void DocumentChooser::open(QDialog *dialog)
{
    // One at a time: a new one replaces the one still open. Each deletes itself on closing.
    delete m_dialog;
    m_dialog = dialog;
    dialog->open();
}
