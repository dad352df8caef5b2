#include "customsizedialog.h"

#include "i18n/texttable.h"
#include "platform/units.h"
#include "widgets/controls.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>

#include <cmath>

namespace {

// Wide enough that a wrong size reaches the refusal, which says what is allowed.
constexpr double MostMm = 1000;

int decimalsFor(SizeUnit unit)
{
    // Inches come in eighths (1.375 in); millimetres in halves and tenths.
    return unit == SizeUnit::Inch ? 3 : 1;
}

QLabel *plainLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    return label;
}

} // namespace

CustomSizeDialog::CustomSizeDialog(
    const TextTable &texts, const QString &languageCode, QWidget *parent, const IdDocument &current)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("customSizeDialog"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(texts.text(TextId::CustomSizeTitle));
    createControls(texts, languageCode);
    start(current);
}

void CustomSizeDialog::createControls(const TextTable &texts, const QString &languageCode)
{
    // Indonesian's language file is "in", its locale "id".
    QLocale locale(languageCode == QLatin1String("in") ? QStringLiteral("id") : languageCode);
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    auto number = [this, &locale](const QString &name) {
        auto *box = new QDoubleSpinBox(this);
        box->setObjectName(name);
        box->setLocale(locale);
        connect(box, &QDoubleSpinBox::valueChanged, this, [this] { m_refused->hide(); });
        return box;
    };
    m_width = number(QStringLiteral("widthBox"));
    m_height = number(QStringLiteral("heightBox"));
    m_headMin = number(QStringLiteral("headMinBox"));
    m_headMax = number(QStringLiteral("headMaxBox"));
    m_unit = new QComboBox(this);
    m_unit->setObjectName(QStringLiteral("unitBox"));
    m_unit->addItem(QStringLiteral("mm"), int(SizeUnit::Millimetre));
    m_unit->addItem(QStringLiteral("in"), int(SizeUnit::Inch));
    m_refused = plainLabel(texts.text(TextId::CustomSizeRefused), this);
    m_refused->setObjectName(QStringLiteral("refusedLabel"));
    m_refused->hide();

    auto row = [this](std::initializer_list<QWidget *> widgets, bool withUnit) {
        auto *line = new QHBoxLayout;
        for (QWidget *widget : widgets)
            line->addWidget(widget);
        if (withUnit) {
            m_unitLabels += plainLabel(QString(), this);
            line->addWidget(m_unitLabels.last());
        }
        line->addStretch();
        return line;
    };
    auto *form = new QFormLayout(this);
    form->addRow(plainLabel(texts.text(TextId::WidthLabel), this), row({ m_width, m_unit }, false));
    form->addRow(plainLabel(texts.text(TextId::HeightLabel), this), row({ m_height }, true));
    form->addRow(plainLabel(texts.text(TextId::HeadRangeFrom), this),
        row({ m_headMin, plainLabel(texts.text(TextId::HeadRangeTo), this), m_headMax }, true));
    form->addRow(m_refused);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    // Language files of the first versions leave the line empty; Qt's own word stands then.
    if (!texts.text(TextId::Cancel).isEmpty())
        buttons->button(QDialogButtonBox::Cancel)->setText(texts.text(TextId::Cancel));
    form->addRow(buttons);

    connect(m_unit, &QComboBox::currentIndexChanged, this, &CustomSizeDialog::changeUnit);
    connect(buttons, &QDialogButtonBox::accepted, this, &CustomSizeDialog::tryAccept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    keepWithinScreen(this);
}

void CustomSizeDialog::start(const IdDocument &current)
{
    IdDocument shown = current;
    if (shown.isDigital() || !(shown.size.width() > 0 && shown.size.height() > 0))
        shown = formatDocument(1); // 35 x 45 mm, 32-36 mm
    m_unit->setCurrentIndex(m_unit->findData(int(shown.unit)));
    changeUnit();
    m_width->setValue(shown.size.width());
    m_height->setValue(shown.size.height());
    m_headMin->setValue(shown.rule.headMin * shown.size.height());
    m_headMax->setValue(shown.rule.headMax * shown.size.height());
    m_refused->hide();
}

void CustomSizeDialog::changeUnit()
{
    const auto unit = SizeUnit(m_unit->currentData().toInt());
    const double factor = unit == m_shownUnit ? 1
        : unit == SizeUnit::Inch              ? 1 / Units::MillimetresPerInch
                                              : Units::MillimetresPerInch;
    for (QDoubleSpinBox *box : { m_width, m_height, m_headMin, m_headMax }) {
        const double value = box->value() * factor;
        box->setDecimals(decimalsFor(unit));
        box->setRange(0, unit == SizeUnit::Inch ? MostMm / Units::MillimetresPerInch : MostMm);
        box->setSingleStep(unit == SizeUnit::Inch ? 0.125 : 0.5);
        box->setValue(value);
    }
    for (QLabel *label : std::as_const(m_unitLabels))
        label->setText(m_unit->currentText());
    m_shownUnit = unit;
}

void CustomSizeDialog::tryAccept()
{
    const std::optional<IdDocument> document
        = customDocument(QSizeF(m_width->value(), m_height->value()), m_shownUnit,
            m_headMin->value(), m_headMax->value());
    if (!document) {
        m_refused->show();
        // A window does not grow by itself for the lines a wrapped text needs.
        adjustSize();
        return;
    }
    emit chosen(*document);
    accept();
}
