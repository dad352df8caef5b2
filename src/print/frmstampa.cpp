#include "frmstampa.h"

#include "i18n/texttable.h"
#include "platform/platform.h"
#include "platform/resources.h"
#include "platform/rounding.h"
#include "sheetgeometry.h"
#include "sheetjob.h"
#include "sheetpreview.h"
#include "widgets/controls.h"
#include "widgets/look.h"
#include "widgets/twips.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScreen>
#include <QSignalBlocker>

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

frmStampa::frmStampa(Platform &platform, const TextTable &texts, Printer &currentPrinter,
    PhotoSheetSource source, QWidget *parent)
    : QWidget(parent, Qt::Window)
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

frmStampa::~frmStampa() = default;

void frmStampa::createControls()
{
    QFont::insertSubstitution(QStringLiteral("Comic Sans MS"), QStringLiteral("Comic Neue"));
    setObjectName(QStringLiteral("frmStampa"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
        | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(twipsToPixels(ClientWidth), twipsToPixels(ClientHeight));
    setColours(this, Look::Text, Look::Window);
    setMouseTracking(true);

    // Frames first, so the controls inside them stand on top.
    Shape2 = frame(this, "Shape2", QRectF(270, 300, 6675, 1005));
    Shape3 = frame(this, "Shape3", QRectF(270, 1560, 3615, 3195));
    Shape4 = frame(this, "Shape4", QRectF(5700, 1560, 1245, 1005));
    Shape1 = frame(this, "Shape1", QRectF(4020, 1560, 1545, 1005));
    Shape1->hide();

    Label3 = caption(this, "Label3", QRectF(345, 150, 630, 270));
    Combo1 = list(this, "Combo1", QRectF(510, 600, 6195, 405), true);
    Label4 = caption(this, "Label4", QRectF(360, 1410, 975, 270));
    Image2 = picture(this, QStringLiteral("Image2"), QPointF(855, 1785), ":/print/portrait.png");
    Image3 = picture(this, QStringLiteral("Image3"), QPointF(660, 2070), ":/print/landscape.png");
    Label2 = caption(this, "Label2", QRectF(4110, 1410, 1110, 270));
    Label2->hide();
    cboQualita = list(this, "cboQualita", QRectF(4260, 1860, 1065, 405), false);
    cboQualita->hide();
    Label5 = caption(this, "Label5", QRectF(5790, 1410, 585, 270));
    Combo2 = list(this, "Combo2", QRectF(5940, 1860, 765, 405), true);

    Image1[0] = picture(this, QStringLiteral("Image1_0"), QPointF(5910, 3690), ":/print/print.png");
    Image1[1]
        = picture(this, QStringLiteral("Image1_1"), QPointF(4440, 3750), ":/print/cancel.png");
    const std::array<QRectF, 2> labelPlaces
        = { QRectF(5940, 4320, 855, 525), QRectF(4245, 4320, 1125, 525) };
    const std::array<QColor, 2> labelColours = { PrintColour, CancelColour };
    for (int i = 0; i < 2; ++i) {
        Label1[i]
            = placeTwips(new LinkLabel(this), QStringLiteral("Label1_%1").arg(i), labelPlaces[i]);
        Label1[i]->setFont(comicSansFont(18, true));
        setColours(Label1[i], labelColours[i], Look::Window);
        Label1[i]->setAutoFillBackground(false);
        Label1[i]->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        Label1[i]->setCursor(Qt::PointingHandCursor);
    }
}

void frmStampa::connectControls()
{
    connect(Combo1, &QComboBox::editTextChanged, this, &frmStampa::selectPrinter);
    connect(cboQualita, &QComboBox::currentIndexChanged, this, &frmStampa::selectQuality);
    connect(Image2, &LinkLabel::clicked, this, &frmStampa::showLandscape);
    connect(Image3, &LinkLabel::clicked, this, &frmStampa::showPortrait);
    for (int i = 0; i < 2; ++i) {
        for (LinkLabel *button : { Image1[i], Label1[i] }) {
            connect(button, &LinkLabel::hovered, this, [this, i] { Highlight(i); });
            connect(button, &LinkLabel::clicked, this, [this, i] { buttonClicked(i); });
        }
    }
}

void frmStampa::loadSequence()
{
    showLandscape();

    Label3->setText(m_texts.text(TextId::Printer));
    Label4->setText(m_texts.text(TextId::Orientation));
    Label2->setText(m_texts.text(TextId::Quality));
    Label5->setText(m_texts.text(TextId::Copies));
    Label1[1]->setText(m_texts.text(TextId::Cancel));
    Label1[0]->setText(m_texts.text(TextId::Print));
    setWindowTitle(m_texts.text(TextId::Print));
    for (QLabel *label : { Label3, Label4, Label2, Label5, static_cast<QLabel *>(Label1[0]) })
        fitToText(label);
    // Cancel grows no further right than where Print begins.
    fitToText(Label1[1],
        rect().adjusted(4, 4, -4, -4).intersected(QRect(0, 0, Label1[0]->x() - 12, height())));

    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect centred(QPoint(), frameGeometry().size());
        centred.moveCenter(screen->availableGeometry().center());
        move(centred.topLeft());
    }
    show();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const std::optional<PrinterFailure> failure = fillPrinterList();
    fillQualityList();
    if (m_source.photoCrop) {
        // Kept small: the preview is drawn anew for every printer chosen.
        const QImage crop = m_source.photoCrop();
        m_previewPhoto = crop.isNull()
            ? crop
            : crop.scaled(QSize(300, 300), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    showPreview();
    QApplication::restoreOverrideCursor();

    for (int i = 0; i < 2; ++i) {
        const QRectF label = twipsGeometry(Label1[i]);
        const QRectF image = twipsGeometry(Image1[i]);
        LabelHomeLeft[i] = twips16(label.left());
        LabelHomeTop[i] = twips16(label.top());
        ImageHomeLeft[i] = twips16(image.left());
        ImageHomeTop[i] = twips16(image.top());
    }

    Combo2->clear();
    for (int n = 1; n <= 10; ++n)
        Combo2->addItem(QString::number(n));
    Combo2->setEditText(QStringLiteral("1"));
    if (failure)
        reportFailure(*failure);
}

void frmStampa::showLandscape()
{
    Image3->show();
    Image2->hide();
}

void frmStampa::showPortrait()
{
    Image2->show();
    Image3->hide();
}

void frmStampa::fillQualityList()
{
    {
        // Filling is not choosing: only the selection below counts as a choice.
        const QSignalBlocker blocker(cboQualita);
        cboQualita->clear();
        for (const QualityEntry &entry : QualityEntries) {
            if (probeQuality(entry.code))
                cboQualita->addItem(m_texts.textOrEnglish(entry.text), int(entry.code));
        }
        cboQualita->setCurrentIndex(-1);
    }
    if (cboQualita->count() > 0 && SavedQualityIndex >= 0
        && SavedQualityIndex < cboQualita->count())
        cboQualita->setCurrentIndex(SavedQualityIndex);
}

bool frmStampa::probeQuality(int16_t quality)
{
    const int16_t remembered = m_printer.quality();
    const bool supported = m_printer.setQuality(quality);
    m_printer.setQuality(remembered);
    return supported;
}

std::optional<PrinterFailure> frmStampa::fillPrinterList()
{
    // Read once: typing in the box must not ask the printing system at every key.
    const PrinterListing listing = m_printer.system().listPrinters();
    m_printerNames = listing.names;
    m_printer.adoptDefault(listing);
    {
        // Adding the first entry would make it the list's text, and so the current printer.
        const QSignalBlocker blocker(Combo1);
        Combo1->clear();
        Combo1->addItems(m_printerNames);
    }
    Combo1->setEditText(m_printer.deviceName());
    return listing.failure;
}

void frmStampa::selectPrinter(const QString &text)
{
    if (!m_printerNames.contains(text) || text == m_printer.deviceName())
        return;
    m_printer.makeCurrent(text);
    showPreview();
}

void frmStampa::showPreview()
{
    const PaperArea paper = currentPaper(m_printer);
    const QSizeF photoMm
        = photoSizeMm(m_source.frameTwips ? m_source.frameTwips() : QSizeF(3500, 4500));
    for (const auto &[picture, orientation] : { std::pair { Image2, PrintOrientation::Portrait },
             std::pair { Image3, PrintOrientation::Landscape } })
        picture->setPixmap(QPixmap::fromImage(
            sheetPreview(paper, orientation, m_previewPhoto, photoMm, picture->size())));
}

void frmStampa::selectQuality(int position)
{
    if (position < 0)
        return;
    m_printer.setQuality(int16_t(cboQualita->itemData(position).toInt()));
    SavedQualityIndex = int16_t(position);
}

void frmStampa::Highlight(int index)
{
    if (index < 0 || index > 1)
        return;
    if (twipsGeometry(Label1[index]).left() == LabelHomeLeft[index] - LiftTwips)
        return;
    moveTwips(
        Label1[index], QPointF(LabelHomeLeft[index] - LiftTwips, LabelHomeTop[index] - LiftTwips));
    QFont font = Label1[index]->font();
    font.setUnderline(true);
    Label1[index]->setFont(font);
    moveTwips(
        Image1[index], QPointF(ImageHomeLeft[index] - LiftTwips, ImageHomeTop[index] - LiftTwips));
}

void frmStampa::Unhighlight()
{
    for (int i = 0; i < 2; ++i) {
        if (twipsGeometry(Label1[i]).left() == LabelHomeLeft[i])
            continue;
        moveTwips(Label1[i], QPointF(LabelHomeLeft[i], LabelHomeTop[i]));
        QFont font = Label1[i]->font();
        font.setUnderline(false);
        Label1[i]->setFont(font);
        moveTwips(Image1[i], QPointF(ImageHomeLeft[i], ImageHomeTop[i]));
    }
}

void frmStampa::mouseMoveEvent(QMouseEvent *event)
{
    Unhighlight();
    QWidget::mouseMoveEvent(event);
}

void frmStampa::buttonClicked(int index)
{
    if (index == 0 && !PrintSheet())
        return; // the dialog stays, so the user can pick another printer and try again
    close();
}

bool frmStampa::PrintSheet()
{
    const QString remembered = windowTitle();
    setWindowTitle(m_texts.textOrEnglish(TextId::Printing));
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // Let the caption and the pointer show before the job blocks; clicks wait until after.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    const std::optional<PrinterFailure> failure = printSheet(m_printer,
        { Image2->isHidden() ? PrintOrientation::Landscape : PrintOrientation::Portrait,
            Combo2->currentText() },
        m_source);
    QApplication::restoreOverrideCursor();
    setWindowTitle(remembered);
    if (failure) {
        reportFailure(*failure);
        return false;
    }
    return true;
}

void frmStampa::reportFailure(const PrinterFailure &failure)
{
    m_platform.messageBox(this, m_texts.text(TextId::PrintFailed) + failure.said(m_texts),
        MessageBoxStyle::Exclamation, m_texts.text(TextId::MessageTitle));
}

bool frmStampa::ImpostaStampante(const QString &nomeSTAMPANTE)
{
    PrinterSystem &system = m_printer.system();
    auto report = [this](const PrinterFailure &failure) {
        m_platform.messageBox(this,
            QStringLiteral("Error %1 (%2) in procedura ImpostaStampante di Modulo Stampanti")
                .arg(failure.number)
                .arg(failure.description),
            MessageBoxStyle::Ok, ApplicationTitle);
        return false;
    };
    const PrinterListing listing = system.listPrinters();
    if (listing.failure)
        return report(*listing.failure);
    const QString wanted = nomeSTAMPANTE.toUpper();
    for (const QString &name : listing.names) {
        if (name.toUpper() != wanted)
            continue;
        m_printer.makeCurrent(name);
        // The printing system keeps the name as it knows it; letter case does not matter to it.
        if (const std::optional<PrinterFailure> failure = system.setUserDefault(name))
            return report(*failure);
        return true;
    }
    return false;
}
