#pragma once

#include "photo/documenttable.h"

#include <QObject>
#include <QPointer>

class Platform;
class QDialog;
class TextTable;
class QWidget;

// The offices' documents for the main window: their table, the two windows to choose one or
// type a size, and the caption of the chosen one.
class DocumentChooser : public QObject
{
    Q_OBJECT
public:
    DocumentChooser(Platform &platform, const TextTable &texts, QWidget *window);

    // Reads the shipped table and the user's own; the rows refused are told on standard error.
    void load(const QString &programFolder, const QString &userFolder);
    const DocumentList &table() const { return m_table; }
    // A document of the table or a custom size by its id; nothing for an unknown one.
    std::optional<IdDocument> find(const QString &id) const;
    // The same, an unknown id told on standard error with the document `kept` instead.
    std::optional<IdDocument> find(const QString &id, const IdDocument &kept) const;

    // The language the lists show country names in, from the language file chosen.
    void setLanguageFile(const QString &fileName);
    // "Canada - Passport (paper application) - 50 x 70 mm"; empty for a format alone.
    QString caption(const IdDocument &document) const;

    // Open their window; chosen() follows when the user picks a document or a size.
    void chooseDocument(const IdDocument &current);
    void chooseCustomSize(const IdDocument &current);

signals:
    void chosen(const IdDocument &document);

private:
    void open(QDialog *dialog);

    Platform &m_platform;
    const TextTable &m_texts;
    QWidget *m_window;
    DocumentList m_table;
    QString m_languageCode = QStringLiteral("en");
    QPointer<QDialog> m_dialog;
};
