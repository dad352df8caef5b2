#include "frmabout2.h"

#include "i18n/texttable.h"
#include "links.h"
#include "platform/resources.h"
#include "web/version.h"
#include "widgets/controls.h"
#include "widgets/look.h"
#include "widgets/twips.h"

#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>

namespace {

const QColor DimColour(160, 160, 160);
const QColor AddressColour(128, 192, 255);

constexpr double ClientWidth = 6420;
constexpr double ClientHeight = 3945;
constexpr double PanelLeft = 60;
constexpr int TimerIntervalMs = 10;

// The box's own part of the credit line; the language adds its tagline after it.
const char *const CreditLine = "\u00A9 The Kalmora authors";

LinkLabel *label(
    QWidget *parent, const char *name, const QRectF &twips, const QFont &font, const QColor &colour)
{
    auto *widget = placeTwips(new LinkLabel(parent), name, twips);
    widget->setFont(font);
    setColours(widget, colour, Look::Window, false);
    return widget;
}

} // namespace

frmAbout2::frmAbout2(Platform &platform, const TextTable &texts, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_platform(platform)
{
    initResources();
    createControls();
    showPlainText(this);
    load(texts);
}

void frmAbout2::createControls()
{
    setObjectName(QStringLiteral("frmAbout2"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
        | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(twipsToPixels(ClientWidth), twipsToPixels(ClientHeight));
    setColours(this, Look::Text, Look::Window, false);
    setAutoFillBackground(true);

    imgTitle = placeTwips(new LinkLabel(this), "imgTitle", QRectF(480, 240, 720, 720));
    imgTitle->setPixmap(QPixmap(QStringLiteral(":/about/title.png")));
    lblTitle
        = label(this, "lblTitle", QRectF(1500, 300, 3615, 375), arialFont(14, true), Look::Bright);
    lblTitle->setText(QStringLiteral("Kalmora"));
    lblVersion = label(this, "lblVersion", QRectF(5280, 630, 720, 195), arialFont(8), DimColour);
    lblVersion->setText(QStringLiteral("Rel. 1.0"));

    Frame1 = placeTwips(new QFrame(this), "Frame1", QRectF(-60, 1140, 6495, 25));
    Frame1->setFrameShape(QFrame::HLine);
    Frame1->setFrameShadow(QFrame::Plain);
    setColours(Frame1, Look::Line, Look::Window, false);
    // A click on the thin line is a click on the background behind it.
    Frame1->setAttribute(Qt::WA_TransparentForMouseEvents);

    Picture1 = placeTwips(new QFrame(this), "Picture1", QRectF(240, 1170, 5940, 2535));
    Picture1->setFocusPolicy(Qt::StrongFocus);
    Picture1->installEventFilter(this);
    Picture2 = placeTwips(new QWidget(Picture1), "Picture2", QRectF(PanelLeft, 0, 5775, 4515));

    lblDescription = label(
        Picture2, "lblDescription", QRectF(900, 0, 3945, 1095), arialFont(8.25), Look::Text);
    lblDescription->setWordWrap(true);
    lblDescription->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lblCopyright = label(
        Picture2, "lblCopyright", QRectF(690, 1320, 4380, 435), arialFont(8.25), Look::Text);
    lblCopyright->setWordWrap(true);
    lblCopyright->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lblCopyright->setText(QString::fromUtf8(CreditLine));

    Image1 = placeTwips(new QLabel(Picture2), "Image1", QRectF(2407, 2340, 960, 960));
    Image1->setPixmap(QPixmap(QStringLiteral(":/about/panel.png")));

    lblHomePageCap
        = placeTwips(new QLabel(Picture2), "lblHomePageCap", QRectF(720, 3870, 1050, 195));
    lblHomePageCap->setFont(arialFont(8));
    setColours(lblHomePageCap, DimColour, Look::Window, false);
    QFont addressFont = arialFont(8.25);
    addressFont.setUnderline(true);
    lblHomePage
        = label(Picture2, "lblHomePage", QRectF(705, 4110, 3405, 255), addressFont, AddressColour);
    lblHomePage->setText(webPageAddress(WebPage::Home).toString());
    lblHomePage->setCursor(Qt::PointingHandCursor);
    connect(
        lblHomePage, &LinkLabel::clicked, this, [this] { openWebPage(m_platform, WebPage::Home); });

    for (LinkLabel *closer : { imgTitle, lblTitle, lblVersion, lblDescription, lblCopyright })
        connect(closer, &LinkLabel::clicked, this, &frmAbout2::unload);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    connect(Timer1, &QTimer::timeout, this, &frmAbout2::scrollStep);
}

void frmAbout2::load(const TextTable &texts)
{
    lblVersion->setText(QStringLiteral("Rel. %1.%2.%3")
                            .arg(ProgramVersion::Major)
                            .arg(ProgramVersion::Minor)
                            .arg(ProgramVersion::Revision));
    lblHomePageCap->setText(texts.text(TextId::HomePage) + u':');
    lblDescription->setText(texts.text(TextId::Description));
    lblCopyright->setText(
        lblCopyright->text() + QStringLiteral(" - ") + texts.text(TextId::Tagline));

    const QRectF title = twipsGeometry(lblTitle);
    QRectF version = twipsGeometry(lblVersion);
    version.moveLeft(versionLabelLeft(title.left(), title.width()));
    // Wide enough for the whole release text, which outgrew the design's "Rel. 1.0".
    version.setWidth(std::max(version.width(), lblVersion->sizeHint().width() * TwipsPerPixel));
    setTwipsGeometry(lblVersion, version);

    Timer1->start(TimerIntervalMs);
    m_scroll = AboutScroll();
    moveTwips(Picture2, QPointF(PanelLeft, m_scroll.top));
    Picture1->setFocus();
}

void frmAbout2::scrollStep()
{
    m_scroll.top = twipsGeometry(Picture2).top();
    m_scroll.step(twipsGeometry(Picture1).height(), twipsGeometry(Picture2).height());
    moveTwips(Picture2, QPointF(PanelLeft, m_scroll.top));
}

void frmAbout2::unload()
{
    close();
}

bool frmAbout2::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Picture1) {
        switch (event->type()) {
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
                unload();
                return true;
            }
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            // Clicks on the panel's background or its other pictures stay in the viewport
            // instead of reaching the window background, which would close the box.
            Picture1->setFocus(Qt::MouseFocusReason);
            return true;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmAbout2::mousePressEvent(QMouseEvent *event)
{
    m_backgroundPressed = event->button() == Qt::LeftButton;
    event->accept();
}

void frmAbout2::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_backgroundPressed && event->button() == Qt::LeftButton
        && rect().contains(event->position().toPoint());
    m_backgroundPressed = false;
    event->accept();
    if (click)
        unload();
}

void frmAbout2::closeEvent(QCloseEvent *event)
{
    Timer1->stop();
    event->accept();
    emit unloaded();
}
