#include "printdialog.h"

#include "i18n/texttable.h"
#include "platform/platform.h"
#include "platform/resources.h"
#include "platform/rounding.h"
#include "print/copiestext.h"
#include "print/sheetjob.h"
#include "print/sheetpreview.h"
#include "widgets/controls.h"
#include "widgets/look.h"
#include "widgets/twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>

#include <utility>

namespace {

const QColor ListBackground(38, 77, 206);
const QColor PrintColour(69, 146, 250);
const QColor CancelColour(0, 255, 0);

constexpr double ClientWidth = 7230;
constexpr double ClientHeight = 5040;
constexpr double LiftTwips = 30;

const QString ApplicationTitle = QStringLiteral("Kalmora");

struct QualityEntry
{
    int16_t code;
    TextId text;
};
// The order the printer is asked in.
constexpr std::array<QualityEntry, 4> QualityEntries = { {
    { PrintQuality::High, TextId::QualityHigh },
    { PrintQuality::Medium, TextId::QualityMedium },
    { PrintQuality::Low, TextId::QualityLow },
    { PrintQuality::Draft, TextId::QualityDraft },
} };

QLabel *caption(QWidget *parent, const char *name, const QRectF &twips)
{
    auto *label = placeTwips(new QLabel(parent), QString::fromLatin1(name), twips);
    label->setFont(comicSansFont(9.75));
    setColours(label, Look::Text, Look::Window);
    return label;
}

QComboBox *list(QWidget *parent, const char *name, const QRectF &twips, bool editable)
{
    auto *combo = placeTwips(new QComboBox(parent), QString::fromLatin1(name), twips);
    combo->setEditable(editable);
    combo->setFont(comicSansFont(9.75, true));
    setColours(combo, Look::Bright, ListBackground);
    if (editable) {
        setColours(combo->lineEdit(), Look::Bright, ListBackground);
        // Typed text is taken as it stands, never completed or added to the list.
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setCompleter(nullptr);
    }
    return combo;
}

ShapeWidget *frame(QWidget *parent, const char *name, const QRectF &twips)
{
    auto *shape = placeTwips(
        new ShapeWidget(ShapeWidget::Kind::Rectangle, parent), QString::fromLatin1(name), twips);
    shape->setBorder(Look::Line);
    return shape;
}

LinkLabel *picture(
    QWidget *parent, const QString &name, const QPointF &topLeft, const char *resource)
{
    const QPixmap pixmap(QString::fromLatin1(resource));
    auto *label = placeTwips(new LinkLabel(parent), name,
        QRectF(topLeft, QSizeF(pixmap.width() * TwipsPerPixel, pixmap.height() * TwipsPerPixel)));
    label->setPixmap(pixmap);
    label->setCursor(Qt::PointingHandCursor);
    return label;
}

int16_t twips16(double twips)
{
    return toInt16(twips).value_or(0);
}

} // namespace

PrintDialog::PrintDialog(Platform &platform, const TextTable &texts, Printer &currentPrinter,
    PhotoSheetSource source, QWidget *parent)
    : QDialog(parent)
    , m_platform(platform)
    , m_texts(texts)
    , m_printer(currentPrinter)
    , m_source(std::move(source))
{
    initResources();
    createControls();
    showPlainText(this);
    connectControls();
    loadSequence();
}

PrintDialog::~PrintDialog()
{
    // The job may end after the dialog: it keeps nothing of it, and what it reports is dropped.
    if (isPrinting())
        QApplication::restoreOverrideCursor();
}

void PrintDialog::createControls()
{
    setObjectName(QStringLiteral("PrintDialog"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
        | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(twipsToPixels(ClientWidth), twipsToPixels(ClientHeight));
    setColours(this, Look::Text, Look::Window);
    setMouseTracking(true);

    // Frames first, so the controls inside them stand on top.
    m_printerFrame = frame(this, "printerFrame", QRectF(270, 300, 6675, 1005));
    m_orientationFrame = frame(this, "orientationFrame", QRectF(270, 1560, 3615, 3195));
    m_copiesFrame = frame(this, "copiesFrame", QRectF(5700, 1560, 1245, 1005));
    m_qualityFrame = frame(this, "qualityFrame", QRectF(4020, 1560, 1545, 1005));
    m_qualityFrame->hide();

    m_printerCaption = caption(this, "printerCaption", QRectF(345, 150, 630, 270));
    m_printerBox = list(this, "printerBox", QRectF(510, 600, 6195, 405), true);
    m_orientationCaption = caption(this, "orientationCaption", QRectF(360, 1410, 975, 270));
    m_portrait = picture(
        this, QStringLiteral("portraitPicture"), QPointF(855, 1785), ":/print/portrait.png");
    m_landscape = picture(
        this, QStringLiteral("landscapePicture"), QPointF(660, 2070), ":/print/landscape.png");
    m_qualityCaption = caption(this, "qualityCaption", QRectF(4110, 1410, 1110, 270));
    m_qualityCaption->hide();
    m_qualityBox = list(this, "qualityBox", QRectF(4260, 1860, 1065, 405), false);
    m_qualityBox->hide();
    m_copiesCaption = caption(this, "copiesCaption", QRectF(5790, 1410, 585, 270));
    m_copiesBox = list(this, "copiesBox", QRectF(5940, 1860, 765, 405), true);

    m_buttonIcons[0] = picture(
        this, QStringLiteral("printButtonIcon"), QPointF(5910, 3690), ":/print/print.png");
    m_buttonIcons[1] = picture(
        this, QStringLiteral("cancelButtonIcon"), QPointF(4440, 3750), ":/print/cancel.png");
    const std::array<QRectF, 2> labelPlaces
        = { QRectF(5940, 4320, 855, 525), QRectF(4245, 4320, 1125, 525) };
    const std::array<QColor, 2> labelColours = { PrintColour, CancelColour };
    for (int i = 0; i < 2; ++i) {
        m_buttonCaptions[i] = placeTwips(new CaptionButton(this),
            QString::fromLatin1(i == 0 ? "printButton" : "cancelButton"), labelPlaces[i]);
        m_buttonCaptions[i]->setFont(comicSansFont(18, true));
        setColours(m_buttonCaptions[i], labelColours[i], Look::Window);
        m_buttonCaptions[i]->setAutoFillBackground(false);
        m_buttonCaptions[i]->setCursor(Qt::PointingHandCursor);
    }
    m_buttonCaptions[0]->setDefault(true);
    // Tab goes down the dialog as it reads; only the orientation shown takes the focus.
    m_portrait->takeKeyboard();
    m_landscape->takeKeyboard();
    for (QComboBox *box : { m_printerBox, m_qualityBox, m_copiesBox })
        box->setFocusPolicy(Qt::StrongFocus);
    const std::array<QWidget *, 7> order = { m_printerBox, m_portrait, m_landscape, m_qualityBox,
        m_copiesBox, m_buttonCaptions[0], m_buttonCaptions[1] };
    for (std::size_t i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void PrintDialog::connectControls()
{
    connect(m_printerBox, &QComboBox::editTextChanged, this, &PrintDialog::selectPrinter);
    connect(m_qualityBox, &QComboBox::currentIndexChanged, this, &PrintDialog::selectQuality);
    connect(m_portrait, &LinkLabel::clicked, this, &PrintDialog::showLandscape);
    connect(m_landscape, &LinkLabel::clicked, this, &PrintDialog::showPortrait);
    for (int i = 0; i < 2; ++i) {
        connect(m_buttonIcons[i], &LinkLabel::hovered, this, [this, i] { liftButton(i); });
        connect(m_buttonIcons[i], &LinkLabel::clicked, this, [this, i] { buttonClicked(i); });
        connect(m_buttonCaptions[i], &CaptionButton::hovered, this, [this, i] { liftButton(i); });
        connect(
            m_buttonCaptions[i], &CaptionButton::clicked, this, [this, i] { buttonClicked(i); });
    }
    connect(&m_job, &QFutureWatcherBase::finished, this, &PrintDialog::printingEnded);
}

void PrintDialog::placeButtons()
{
    // Each caption stays centred at its design place while its text fits there. A longer one
    // widens it both ways and moves its pair right, clear of the orientation frame and of Cancel;
    // the dialog then grows by what Print needs, with the printer frame and the copies beside it.
    constexpr int Gap = 8;
    constexpr int EdgeMargin = 6;
    const QScreen *shown = screen();
    const int widest = shown ? shown->availableGeometry().width() * 9 / 10 : 1280;
    int left = m_orientationFrame->geometry().right() + 1 + Gap;
    // Past this the caption is cut short, so both fit the widest dialog.
    const int longest = (widest - left - Gap - EdgeMargin) / 2;
    for (int i : { 1, 0 }) {
        CaptionButton *button = m_buttonCaptions[i];
        QRect box = button->geometry();
        const int needed = std::min(longest,
            button->fontMetrics()
                    .boundingRect(QRect(), int(button->alignment()), button->text())
                    .width()
                + 1);
        const int grow = std::max(0, needed - box.width());
        box.adjust(-grow / 2, 0, grow - grow / 2, 0);
        const int shift = std::max(0, left - box.left());
        box.translate(shift, 0);
        setTwipsGeometry(button, QRectF(box.topLeft() * TwipsPerPixel, box.size() * TwipsPerPixel));
        // The picture stands above its caption's text, not on its first line.
        const QRect icon = m_buttonIcons[i]->geometry();
        const int raise = std::max(0, icon.bottom() + 2 - box.top());
        moveTwips(m_buttonIcons[i],
            QPointF((icon.left() + shift) * TwipsPerPixel, (icon.top() - raise) * TwipsPerPixel));
        left = box.right() + 1 + Gap;
    }
    const int extra = left - Gap + EdgeMargin - width();
    if (extra <= 0)
        return;
    setFixedWidth(width() + extra);
    const double extraTwips = extra * TwipsPerPixel;
    for (QWidget *wider : std::initializer_list<QWidget *> { m_printerFrame, m_printerBox })
        resizeTwips(wider, twipsGeometry(wider).size() + QSizeF(extraTwips, 0));
    for (QWidget *moved :
        std::initializer_list<QWidget *> { m_copiesFrame, m_copiesCaption, m_copiesBox })
        moveTwips(moved, twipsGeometry(moved).topLeft() + QPointF(extraTwips, 0));
}

void PrintDialog::loadSequence()
{
    showLandscape();

    m_printerCaption->setText(m_texts.text(TextId::Printer));
    m_orientationCaption->setText(m_texts.text(TextId::Orientation));
    m_qualityCaption->setText(m_texts.text(TextId::Quality));
    m_copiesCaption->setText(m_texts.text(TextId::Copies));
    m_buttonCaptions[1]->setText(m_texts.text(TextId::Cancel));
    m_buttonCaptions[0]->setText(m_texts.text(TextId::Print));
    setWindowTitle(m_texts.text(TextId::Print));
    for (QLabel *label :
        { m_printerCaption, m_orientationCaption, m_qualityCaption, m_copiesCaption })
        fitToText(label);
    placeButtons();

    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect centred(QPoint(), frameGeometry().size());
        centred.moveCenter(screen->availableGeometry().center());
        move(centred.topLeft());
    }
    show();
    // Filled when the printing system answers; until then there is nothing to choose there.
    m_printerBox->setEnabled(false);
    m_qualityBox->setEnabled(false);
    ask([](PrinterSystem &system) { return system.listPrinters(); },
        [this](const PrinterListing &listing) {
            fillPrinterList(listing);
            askPrinterDetails(listing.failure);
        });
    if (m_source.photoCrop) {
        // Kept small: the preview is drawn anew for every printer chosen.
        const QImage crop = m_source.photoCrop();
        m_previewPhoto = crop.isNull()
            ? crop
            : crop.scaled(QSize(300, 300), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }

    for (int i = 0; i < 2; ++i) {
        const QRectF label = twipsGeometry(m_buttonCaptions[i]);
        const QRectF image = twipsGeometry(m_buttonIcons[i]);
        m_captionHomeLeft[i] = twips16(label.left());
        m_captionHomeTop[i] = twips16(label.top());
        m_iconHomeLeft[i] = twips16(image.left());
        m_iconHomeTop[i] = twips16(image.top());
    }

    m_copiesBox->clear();
    for (int n = 1; n <= 10; ++n)
        m_copiesBox->addItem(QString::number(n));
    m_copiesBox->setEditText(QStringLiteral("1"));
}

template<typename Query, typename Answered> void PrintDialog::ask(Query query, Answered answered)
{
    using Answer = std::invoke_result_t<Query, PrinterSystem &>;
    m_questions.enqueue([this, query, answered] {
        // Owned by the dialog, so deleting the dialog disconnects a late answer.
        auto *watcher = new QFutureWatcher<Answer>(this);
        connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, answered] {
            watcher->deleteLater();
            m_asking = false;
            answered(watcher->result());
            askNext();
        });
        watcher->setFuture(askPrinterSystem(m_printer.system(), query));
    });
    askNext();
}

void PrintDialog::askNext()
{
    if (m_asking)
        return;
    if (!m_questions.isEmpty()) {
        m_asking = true;
        setCursor(Qt::WaitCursor);
        m_questions.dequeue()();
        return;
    }
    unsetCursor();
    // Printing waits for the answers, as it needs the printing system to itself.
    if (std::exchange(m_printWhenAnswered, false))
        buttonClicked(0);
}

void PrintDialog::askPrinterDetails(const std::optional<PrinterFailure> &silence)
{
    // The printer current once the list is read is the one probed, however the user chooses
    // later.
    const QString printer = m_printer.deviceName();
    QList<int16_t> candidates;
    for (const QualityEntry &entry : QualityEntries)
        candidates.append(entry.code);
    // A probe puts the quality back only where the printer takes it.
    if (!candidates.contains(m_printer.quality()))
        candidates.append(m_printer.quality());
    ask(
        [printer, candidates](PrinterSystem &system) {
            return std::pair { supportedQualities(system, printer, candidates),
                currentPaper(system, printer) };
        },
        [this, printer, silence](const std::pair<QList<int16_t>, PaperArea> &details) {
            m_qualitiesOf = printer;
            m_qualities = details.first;
            fillQualityList();
            showPreview(details.second);
            m_printerBox->setEnabled(true);
            m_qualityBox->setEnabled(true);
            if (silence)
                showSilence(*silence);
            m_printerBox->setFocus();
            // Ready for the keyboard: it takes it, also where no window manager hands it over
            // or another window took it meanwhile.
            raise();
            activateWindow();
        });
}

void PrintDialog::showLandscape()
{
    m_landscape->show();
    if (m_portrait->hasFocus())
        m_landscape->setFocus();
    m_portrait->hide();
}

void PrintDialog::showPortrait()
{
    m_portrait->show();
    if (m_landscape->hasFocus())
        m_portrait->setFocus();
    m_landscape->hide();
}

void PrintDialog::fillQualityList()
{
    {
        // Filling is not choosing: only the selection below counts as a choice.
        const QSignalBlocker blocker(m_qualityBox);
        m_qualityBox->clear();
        for (const QualityEntry &entry : QualityEntries) {
            if (probeQuality(entry.code))
                m_qualityBox->addItem(m_texts.text(entry.text), int(entry.code));
        }
        m_qualityBox->setCurrentIndex(-1);
    }
    const int16_t saved = m_printer.qualityPosition();
    if (m_qualityBox->count() > 0 && saved >= 0 && saved < m_qualityBox->count())
        m_qualityBox->setCurrentIndex(saved);
}

bool PrintDialog::probeQuality(int16_t quality)
{
    const int16_t remembered = m_printer.quality();
    const bool supported = m_printer.setQuality(quality, m_qualities);
    m_printer.setQuality(remembered, m_qualities);
    return supported;
}

void PrintDialog::fillPrinterList(const PrinterListing &listing)
{
    // Read once: typing in the box must not ask the printing system at every key.
    m_printerNames = listing.names;
    m_printer.adoptDefault(listing);
    {
        // Adding the first entry would make it the list's text, and so the current printer.
        const QSignalBlocker blocker(m_printerBox);
        m_printerBox->clear();
        m_printerBox->addItems(m_printerNames);
    }
    m_printerBox->setEditText(m_printer.deviceName());
}

void PrintDialog::selectPrinter(const QString &text)
{
    if (!m_printerNames.contains(text) || text == m_printer.deviceName())
        return;
    m_printer.makeCurrent(text);
    askPaper();
}

void PrintDialog::askPaper()
{
    const QString printer = m_printer.deviceName();
    ask([printer](PrinterSystem &system) { return currentPaper(system, printer); },
        [this, printer](const PaperArea &paper) {
            // A printer chosen meanwhile has its own question waiting.
            if (printer == m_printer.deviceName())
                showPreview(paper);
        });
}

void PrintDialog::showPreview(const PaperArea &paper)
{
    const QSizeF photoMm = m_source.printMm ? m_source.printMm() : QSizeF(35, 45);
    for (const auto &[picture, orientation] :
        { std::pair { m_portrait, PrintOrientation::Portrait },
            std::pair { m_landscape, PrintOrientation::Landscape } })
        picture->setPixmap(QPixmap::fromImage(
            sheetPreview(paper, orientation, m_previewPhoto, photoMm, picture->size())));
}

void PrintDialog::selectQuality(int position)
{
    if (position < 0)
        return;
    const auto quality = int16_t(m_qualityBox->itemData(position).toInt());
    m_printer.setQualityPosition(int16_t(position));
    const QString printer = m_printer.deviceName();
    if (printer == m_qualitiesOf) {
        m_printer.setQuality(quality, m_qualities);
        return;
    }
    ask([printer, quality](
            PrinterSystem &system) { return supportedQualities(system, printer, { quality }); },
        [this, printer, quality](const QList<int16_t> &supported) {
            if (printer == m_printer.deviceName())
                m_printer.setQuality(quality, supported);
        });
}

void PrintDialog::liftButton(int index)
{
    if (index < 0 || index > 1)
        return;
    if (twipsGeometry(m_buttonCaptions[index]).left() == m_captionHomeLeft[index] - LiftTwips)
        return;
    moveTwips(m_buttonCaptions[index],
        QPointF(m_captionHomeLeft[index] - LiftTwips, m_captionHomeTop[index] - LiftTwips));
    QFont font = m_buttonCaptions[index]->font();
    font.setUnderline(true);
    m_buttonCaptions[index]->setFont(font);
    moveTwips(m_buttonIcons[index],
        QPointF(m_iconHomeLeft[index] - LiftTwips, m_iconHomeTop[index] - LiftTwips));
}

void PrintDialog::lowerButtons()
{
    for (int i = 0; i < 2; ++i) {
        if (twipsGeometry(m_buttonCaptions[i]).left() == m_captionHomeLeft[i])
            continue;
        moveTwips(m_buttonCaptions[i], QPointF(m_captionHomeLeft[i], m_captionHomeTop[i]));
        QFont font = m_buttonCaptions[i]->font();
        font.setUnderline(false);
        m_buttonCaptions[i]->setFont(font);
        moveTwips(m_buttonIcons[i], QPointF(m_iconHomeLeft[i], m_iconHomeTop[i]));
    }
}

void PrintDialog::mouseMoveEvent(QMouseEvent *event)
{
    lowerButtons();
    QDialog::mouseMoveEvent(event);
}

void PrintDialog::closeEvent(QCloseEvent *event)
{
    if (isPrinting()) {
        // The job cannot be called back: the dialog goes out of sight and closes when it
        // has ended, after telling its failure.
        event->ignore();
        m_closeWhenPrinted = true;
        hide();
        return;
    }
    QDialog::closeEvent(event);
}

void PrintDialog::done(int result)
{
    if (!isPrinting())
        QDialog::done(result);
}

void PrintDialog::buttonClicked(int index)
{
    if (index == 1)
        return reject();
    if (!m_buttonCaptions[0]->isEnabled() || isPrinting())
        return;
    if (m_asking) {
        m_printWhenAnswered = true;
        return;
    }
    // A typed name no queue has leaves the previous printer current: printing there would
    // surprise the user.
    const QString typed = m_printerBox->currentText();
    if (typed != m_printer.deviceName()) {
        reportFailure(PrinterFailure(PrinterFailure::Reason::NoPrinterNamed, { typed }));
        m_printerBox->setFocus();
        return;
    }
    startPrinting();
}

PrintChoices PrintDialog::choices() const
{
    PrintChoices choices;
    choices.printer = m_printer.deviceName();
    choices.orientation
        = m_portrait->isHidden() ? PrintOrientation::Landscape : PrintOrientation::Portrait;
    choices.copies = copiesToPrint(m_copiesBox->currentText(), m_printer.copies());
    choices.quality = m_printer.quality();
    choices.title = m_printer.documentTitle();
    return choices;
}

void PrintDialog::startPrinting()
{
    const PrintChoices chosen = choices();
    // The copies stay set on the printer for later jobs, as a refused count does not.
    m_printer.setCopies(chosen.copies);
    SheetPhoto photo;
    // Read here: the photo belongs to the window's thread.
    if (m_source.photoCrop)
        photo.crop = m_source.photoCrop();
    if (m_source.printMm)
        photo.printMm = m_source.printMm();
    showPrinting(true);
    m_job.setFuture(startPrintSheet(m_printer.system(), chosen, std::move(photo)));
}

void PrintDialog::printingEnded()
{
    showPrinting(false);
    const std::optional<PrinterFailure> failure = m_job.future().result();
    if (failure)
        reportFailure(*failure); // the dialog stays, so the user can pick another printer
    if (m_closeWhenPrinted)
        close();
    else if (!failure)
        accept();
}

void PrintDialog::showPrinting(bool printing)
{
    m_printing = printing;
    if (printing) {
        m_titleBeforePrinting = windowTitle();
        setWindowTitle(m_texts.text(TextId::Printing));
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_focusBeforePrinting = focusWidget();
    } else {
        setWindowTitle(m_titleBeforePrinting);
        QApplication::restoreOverrideCursor();
    }
    // Nothing the user does here can change the job that runs.
    for (QWidget *control : std::initializer_list<QWidget *> { m_printerBox, m_portrait,
             m_landscape, m_qualityBox, m_copiesBox, m_buttonIcons[0], m_buttonIcons[1],
             m_buttonCaptions[0], m_buttonCaptions[1], m_exportButton })
        if (control)
            control->setEnabled(!printing);
    if (!printing && m_focusBeforePrinting)
        m_focusBeforePrinting->setFocus();
}

void PrintDialog::reportFailure(const PrinterFailure &failure)
{
    m_platform.messageBox(this, m_texts.text(TextId::PrintFailed) + failure.said(m_texts),
        MessageBoxStyle::Exclamation, m_texts.text(TextId::MessageTitle));
}

void PrintDialog::showSilence(const PrinterFailure &failure)
{
    qWarning("The printing system does not answer: %s", qPrintable(failure.said(m_texts)));
    m_buttonCaptions[0]->setEnabled(false);
    m_buttonIcons[0]->setEnabled(false);

    // Below the rest, the dialog growing to hold it.
    auto *note = caption(this, "silenceNote", QRectF(345, ClientHeight - 120, 6525, 270));
    note->setText(m_texts.text(TextId::PrintingSystemSilent));
    note->setWordWrap(true);
    const QScreen *shown = screen();
    fitToText(
        note, QRect(4, 4, width() - 8, shown ? shown->availableGeometry().height() / 2 : height()));
    note->show();
    auto *exportButton = new QPushButton(m_texts.text(TextId::ExportInstead), this);
    m_exportButton = exportButton;
    exportButton->setObjectName(QStringLiteral("exportInsteadButton"));
    exportButton->setAutoDefault(true);
    // Within the dialog's width, the whole caption in its tooltip.
    const int widest = width() - 2 * note->x();
    if (exportButton->sizeHint().width() > widest) {
        exportButton->setToolTip(plainToolTip(exportButton->text()));
        exportButton->setText(exportButton->fontMetrics().elidedText(
            exportButton->text(), Qt::ElideRight, widest * 3 / 4));
    }
    exportButton->adjustSize();
    exportButton->move(note->x(), note->geometry().bottom() + 8);
    exportButton->show();
    setTabOrder(m_buttonCaptions[1], exportButton);
    setFixedHeight(exportButton->geometry().bottom() + 12);
    connect(exportButton, &QPushButton::clicked, this, [this] {
        close();
        emit exportInstead();
    });
}

void PrintDialog::makeDefaultPrinter(const QString &name)
{
    ask([name](PrinterSystem &system) { return makeUserDefault(system, name); },
        [this](const Printer::DefaultSwitch &result) {
            if (result.found)
                m_printer.makeCurrent(result.printer);
            if (result.failure)
                m_platform.messageBox(this,
                    QStringLiteral(
                        "Error %1 (%2) in procedura ImpostaStampante di Modulo Stampanti")
                        .arg(result.failure->number)
                        .arg(result.failure->said(m_texts)),
                    MessageBoxStyle::Ok, ApplicationTitle);
            emit defaultPrinterMade(result.found && !result.failure);
        });
}
