#pragma once

#include "photo/iddocument.h"

#include <QDialog>

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class TextTable;

// A size the user types: width, height and the head's range from the chin to the crown, in
// millimetres or inches. OK emits `chosen` and closes; a size that cannot be a document is
// refused in the dialog, which stays. It deletes itself when closed; open it with open().
class CustomSizeDialog : public QDialog
{
    Q_OBJECT
public:
    // Starts at the current document's print size, or 35 x 45 mm with a head of 32-36 mm.
    CustomSizeDialog(const TextTable &texts, const QString &languageCode, QWidget *parent,
        const IdDocument &current = {});

signals:
    void chosen(const IdDocument &document);

private:
    void createControls(const TextTable &texts, const QString &languageCode);
    void start(const IdDocument &current);
    void changeUnit();
    void tryAccept();

    QDoubleSpinBox *m_width = nullptr;
    QDoubleSpinBox *m_height = nullptr;
    QDoubleSpinBox *m_headMin = nullptr;
    QDoubleSpinBox *m_headMax = nullptr;
    QComboBox *m_unit = nullptr;
    QList<QLabel *> m_unitLabels;
    QLabel *m_refused = nullptr;
    SizeUnit m_shownUnit = SizeUnit::Millimetre;
};
