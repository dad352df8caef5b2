#pragma once

#include "photo/iddocument.h"

#include <QDialog>
#include <QList>
#include <QLocale>
#include <QStringList>

class Platform;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class TextTable;

// The offices' documents as a list the user filters by typing (country, document, kind), with
// the selected one's rules below. Choose, Return or a double click emits `chosen` and closes it;
// Cancel closes it without. It deletes itself when closed; open it with open().
class DocumentDialog : public QDialog
{
    Q_OBJECT
public:
    DocumentDialog(const QList<IdDocument> &documents, const TextTable &texts,
        const QString &languageCode, Platform &platform, QWidget *parent,
        const QString &currentId = {});

signals:
    void chosen(const IdDocument &document);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void fillList(const QString &currentId);
    void sizeToContents();
    void applyFilter(const QString &query);
    void showDetails();
    void choose();
    const IdDocument *selected() const;

    const TextTable &m_texts;
    Platform &m_platform;
    QString m_languageCode;
    QLocale m_locale;
    QList<IdDocument> m_documents; // by country name, then document
    QList<QStringList> m_words; // what each document is found by
    QLineEdit *m_filter = nullptr;
    QTreeWidget *m_list = nullptr;
    QLabel *m_noMatch = nullptr;
    QWidget *m_details = nullptr;
    QLabel *m_title = nullptr;
    QLabel *m_size = nullptr;
    QLabel *m_head = nullptr;
    QLabel *m_background = nullptr;
    QLabel *m_prints = nullptr;
    QLabel *m_file = nullptr;
    QLabel *m_source = nullptr;
    QLabel *m_asOf = nullptr;
    QDialogButtonBox *m_buttons = nullptr;
    QPushButton *m_choose = nullptr;
};
