#include "documentdialog.h"

#include "i18n/texttable.h"
#include "photo/documentfilter.h"
#include "platform/platform.h"
#include "widgets/controls.h"

#include <QCollator>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <numeric>

namespace {

enum Column { CountryColumn, NameColumn, SizeColumn, HeadColumn, BackgroundColumn, ColumnCount };
constexpr int DocumentRole = Qt::UserRole;
constexpr int VisibleRows = 14;
constexpr int FewestRows = 5;

// Indonesian's language file is "in", its locale "id".
QString localeCode(const QString &languageCode)
{
    return languageCode == QLatin1String("in") ? QStringLiteral("id") : languageCode;
}

QLabel *plainLabel(QWidget *parent, const QString &name)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText); // the table may come from the user's own file
    label->setWordWrap(true);
    return label;
}

QString headText(const IdDocument &document, const TextTable &texts, const QLocale &locale)
{
    const TextId rule = document.rule.top == FaceRule::Top::Hair ? TextId::HeadToHairRule
                                                                 : TextId::HeadToCrownRule;
    return texts.text(rule).arg(headRangeText(document, locale));
}

// "File: 600-1200 pixels wide, at most 240 KB"; empty where the office sets no file rule.
QString fileText(const FileRule &file, const TextTable &texts, const QLocale &locale)
{
    QStringList parts;
    if (file.widthMin > 0 || file.widthMax > 0) {
        const int least = file.widthMin > 0 ? file.widthMin : file.widthMax;
        const int most = std::max(file.widthMax, least);
        const QString widths = least == most
            ? locale.toString(least)
            : locale.toString(least) + u'-' + locale.toString(most);
        parts += texts.text(TextId::FilePixelsWide).arg(widths);
    }
    if (file.kbMax > 0)
        parts += texts.text(TextId::FileAtMostKb).arg(locale.toString(file.kbMax));
    if (file.kbMin > 0)
        parts += texts.text(TextId::FileAtLeastKb).arg(locale.toString(file.kbMin));
    return parts.join(QStringLiteral(", "));
}

} // namespace

DocumentDialog::DocumentDialog(const QList<IdDocument> &documents, const TextTable &texts,
    const QString &languageCode, Platform &platform, QWidget *parent, const QString &currentId)
    : QDialog(parent)
    , m_texts(texts)
    , m_platform(platform)
    , m_languageCode(localeCode(languageCode))
    , m_locale(m_languageCode)
{
    // "1200 pixels", as the offices write them.
    m_locale.setNumberOptions(QLocale::OmitGroupSeparator);
    setObjectName(QStringLiteral("documentDialog"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(texts.text(TextId::DocumentDialogTitle));

    const QList<KindName> kindNames { { PassportKind, texts.text(TextId::PassportKindName) },
        { VisaKind, texts.text(TextId::VisaKindName) },
        { IdCardKind, texts.text(TextId::IdCardKindName) },
        { DrivingLicenceKind, texts.text(TextId::DrivingLicenceKindName) },
        { OnlineKind, texts.text(TextId::OnlineKindName) } };
    // Country names come from ICU once per document, not once per key typed.
    QList<QString> countries;
    for (const IdDocument &document : documents)
        countries += countryName(document.country, m_languageCode);
    QList<int> order(documents.size());
    std::iota(order.begin(), order.end(), 0);
    QCollator collator(m_locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        if (const int byCountry = collator.compare(countries[a], countries[b]))
            return byCountry < 0;
        return collator.compare(documents[a].name, documents[b].name) < 0;
    });
    for (const int i : order) {
        m_documents += documents[i];
        m_words += documentWords(documents[i], countryName, m_languageCode, kindNames);
    }

    createControls();
    fillList(currentId);
    // The first document's details are there to be kept within the screen and sized for.
    showDetails();
    keepWithinScreen(this);
    sizeToContents();
}

void DocumentDialog::createControls()
{
    auto *hint = plainLabel(this, QStringLiteral("filterHint"));
    hint->setText(m_texts.text(TextId::DocumentFilterHint));
    m_filter = new QLineEdit(this);
    m_filter->setObjectName(QStringLiteral("filterEdit"));
    m_filter->setClearButtonEnabled(true);
    hint->setBuddy(m_filter);
    m_filter->installEventFilter(this);

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("documentList"));
    m_list->setColumnCount(ColumnCount);
    m_list->setHeaderLabels({ m_texts.text(TextId::CountryColumn),
        m_texts.text(TextId::DocumentColumn), m_texts.text(TextId::SizeColumn),
        m_texts.text(TextId::HeadColumn), m_texts.text(TextId::BackgroundColumn) });
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAlternatingRowColors(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->header()->setSectionsMovable(false);
    m_list->header()->setStretchLastSection(true);

    m_noMatch = plainLabel(this, QStringLiteral("noMatchLabel"));
    m_noMatch->setText(m_texts.text(TextId::NoDocumentMatches));
    m_noMatch->hide();

    m_details = new QWidget(this);
    m_details->setObjectName(QStringLiteral("details"));
    m_title = plainLabel(m_details, QStringLiteral("titleLabel"));
    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);
    m_size = plainLabel(m_details, QStringLiteral("sizeLabel"));
    m_head = plainLabel(m_details, QStringLiteral("headLabel"));
    m_background = plainLabel(m_details, QStringLiteral("backgroundLabel"));
    m_prints = plainLabel(m_details, QStringLiteral("printsLabel"));
    m_file = plainLabel(m_details, QStringLiteral("fileLabel"));
    m_source = plainLabel(m_details, QStringLiteral("sourceLabel"));
    // Links go through the platform, so the desktop (or a test) decides how to open them.
    m_source->setOpenExternalLinks(false);
    connect(m_source, &QLabel::linkActivated, this,
        [this](const QString &link) { m_platform.openUrl(QUrl(link)); });
    m_asOf = plainLabel(m_details, QStringLiteral("asOfLabel"));
    // Each line keeps its room when a document lacks it, so the list does not jump.
    for (QLabel *label :
        { m_title, m_size, m_head, m_background, m_prints, m_file, m_source, m_asOf })
        label->setMinimumHeight(label->fontMetrics().height());
    auto *facts = new QFormLayout;
    facts->setContentsMargins(0, 0, 0, 0);
    facts->addRow(m_texts.text(TextId::SizeColumn), m_size);
    facts->addRow(m_texts.text(TextId::HeadColumn), m_head);
    facts->addRow(m_texts.text(TextId::BackgroundColumn), m_background);
    for (int row = 0; row < facts->rowCount(); ++row) {
        if (auto *label
            = qobject_cast<QLabel *>(facts->itemAt(row, QFormLayout::LabelRole)->widget()))
            label->setTextFormat(Qt::PlainText);
    }
    auto *details = new QVBoxLayout(m_details);
    details->setContentsMargins(0, 0, 0, 0);
    details->addWidget(m_title);
    details->addLayout(facts);
    for (QLabel *line : { m_prints, m_file, m_source, m_asOf })
        details->addWidget(line);

    m_buttons = new QDialogButtonBox(this);
    m_choose
        = m_buttons->addButton(m_texts.text(TextId::ChooseDocument), QDialogButtonBox::AcceptRole);
    m_choose->setObjectName(QStringLiteral("chooseButton"));
    m_choose->setDefault(true);
    QPushButton *cancelButton = m_buttons->addButton(QDialogButtonBox::Cancel);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    // Language files of the first versions leave the line empty; Qt's own word stands then.
    if (!m_texts.text(TextId::Cancel).isEmpty())
        cancelButton->setText(m_texts.text(TextId::Cancel));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    layout->addWidget(m_filter);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_noMatch);
    layout->addWidget(m_details);
    layout->addWidget(m_buttons);

    connect(m_filter, &QLineEdit::textChanged, this, &DocumentDialog::applyFilter);
    connect(m_list, &QTreeWidget::currentItemChanged, this, &DocumentDialog::showDetails);
    // Return reaches the default button from the list and the filter alike.
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &DocumentDialog::choose);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &DocumentDialog::choose);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void DocumentDialog::fillList(const QString &currentId)
{
    QTreeWidgetItem *current = nullptr;
    for (int i = 0; i < m_documents.size(); ++i) {
        const IdDocument &document = m_documents[i];
        auto *item = new QTreeWidgetItem(m_list);
        item->setText(CountryColumn, countryName(document.country, m_languageCode));
        item->setText(NameColumn, document.name);
        item->setText(SizeColumn, sizeText(document, m_locale));
        item->setText(HeadColumn, headRangeText(document, m_locale));
        item->setText(BackgroundColumn, document.background);
        item->setData(0, DocumentRole, i);
        // A cell narrower than its text still shows it whole on hovering.
        for (int column = 0; column < ColumnCount; ++column)
            item->setToolTip(column, item->text(column).toHtmlEscaped());
        if (!currentId.isEmpty() && document.id == currentId)
            current = item;
    }
    if (!current)
        current = m_list->topLevelItem(0);
    if (current) {
        m_list->setCurrentItem(current);
        m_list->scrollToItem(current, QAbstractItemView::PositionAtCenter);
    }
}

void DocumentDialog::sizeToContents()
{
    int width = 2 * m_list->frameWidth() + m_list->verticalScrollBar()->sizeHint().width();
    for (int column = 0; column < ColumnCount; ++column) {
        m_list->resizeColumnToContents(column);
        // Some room between the columns, so texts do not run into each other.
        const int columnWidth = m_list->columnWidth(column) + fontMetrics().averageCharWidth() * 2;
        m_list->setColumnWidth(column, columnWidth);
        width += columnWidth;
    }
    const int rowHeight = std::max(m_list->sizeHintForRow(0), fontMetrics().height());
    const int frame = 2 * m_list->frameWidth() + m_list->header()->sizeHint().height();
    // The screen bounds the list; the labels wrap and each cell shows its text as a tooltip.
    const QScreen *screen
        = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
    m_list->setMinimumSize(std::min(width, available.width() * 9 / 10),
        std::min(frame + FewestRows * rowHeight, available.height() / 3));
    // The list opens taller than its least, so it, not the details, gives way when a detail
    // wraps onto a second line.
    resize(minimumSizeHint().width(),
        std::min(minimumSizeHint().height() + (VisibleRows - FewestRows) * rowHeight,
            available.height() * 9 / 10));
}

bool DocumentDialog::eventFilter(QObject *watched, QEvent *event)
{
    // The arrows move through the list while the keyboard stays in the filter.
    if (watched == m_filter && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent *>(event)->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            QCoreApplication::sendEvent(m_list, event);
            return true;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void DocumentDialog::applyFilter(const QString &query)
{
    QTreeWidgetItem *firstShown = nullptr;
    for (int row = 0; row < m_list->topLevelItemCount(); ++row) {
        QTreeWidgetItem *item = m_list->topLevelItem(row);
        const bool matches = documentMatches(query, m_words[item->data(0, DocumentRole).toInt()]);
        item->setHidden(!matches);
        if (matches && !firstShown)
            firstShown = item;
    }
    QTreeWidgetItem *current = m_list->currentItem();
    if (!current || current->isHidden()) {
        m_list->setCurrentItem(firstShown);
        if (!firstShown)
            m_list->clearSelection();
    }
    if (m_list->currentItem())
        m_list->scrollToItem(m_list->currentItem());
    m_noMatch->setVisible(!firstShown);
    showDetails();
}

const IdDocument *DocumentDialog::selected() const
{
    const QTreeWidgetItem *item = m_list->currentItem();
    if (!item || item->isHidden())
        return nullptr;
    return &m_documents[item->data(0, DocumentRole).toInt()];
}

void DocumentDialog::showDetails()
{
    const IdDocument *document = selected();
    m_choose->setEnabled(document != nullptr);
    for (QLabel *label :
        { m_title, m_size, m_head, m_background, m_prints, m_file, m_source, m_asOf })
        label->clear();
    if (!document)
        return;
    m_title->setText(
        countryName(document->country, m_languageCode) + QStringLiteral(" – ") + document->name);
    m_size->setText(sizeText(*document, m_locale));
    m_head->setText(headText(*document, m_texts, m_locale));
    m_background->setText(document->background);
    m_prints->setText(
        m_texts.text(document->takesPrints ? TextId::PrintsTaken : TextId::NoPrintsTaken));
    m_file->setText(fileText(document->file, m_texts, m_locale));
    const QUrl url(document->source);
    if (url.isValid()
        && (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"))) {
        m_source->setTextFormat(Qt::RichText);
        m_source->setText(m_texts.text(TextId::SourceLabel).toHtmlEscaped()
            + QStringLiteral(" <a href=\"%1\">%2</a>")
                  .arg(url.toString(QUrl::FullyEncoded).toHtmlEscaped(),
                      document->source.toHtmlEscaped()));
    } else {
        m_source->setTextFormat(Qt::PlainText);
        m_source->setText(document->source.isEmpty()
                ? QString()
                : m_texts.text(TextId::SourceLabel) + u' ' + document->source);
    }
    m_asOf->setText(
        document->asOf.isEmpty() ? QString() : m_texts.text(TextId::RulesAsOf).arg(document->asOf));
}

void DocumentDialog::choose()
{
    const IdDocument *document = selected();
    if (!document || !isVisible())
        return;
    emit chosen(*document);
    accept();
}
