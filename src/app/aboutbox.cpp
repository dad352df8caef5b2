#include "aboutbox.h"

#include "i18n/texttable.h"
#include "platform/resources.h"
#include "web/links.h"
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

AboutBox::AboutBox(Platform &platform, const TextTable &texts, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_platform(platform)
{
    initResources();
    createControls();
    showPlainText(this);
    load(texts);
}

AboutBox *AboutBox::openInPlaceOf(QWidget *window, Platform &platform, const TextTable &texts)
{
    // A window shown again is placed afresh by the window manager: it comes back where it was.
    const QPoint at = window->pos();
    window->hide();
    auto *box = new AboutBox(platform, texts);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowTitle(texts.text(TextId::AboutTitle));
    connect(box, &AboutBox::unloaded, window, [window, at] {
        window->move(at);
        window->show();
    });
    box->show();
    return box;
}

void AboutBox::createControls()
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
        | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(twipsToPixels(ClientWidth), twipsToPixels(ClientHeight));
    setColours(this, Look::Text, Look::Window, false);
    setAutoFillBackground(true);

    imgTitle = placeTwips(new LinkLabel(this), "imgTitle", QRectF(480, 240, 720, 720));
    imgTitle->setPixmap(QPixmap(QStringLiteral(":/about/title.png")));
    m_title = label(
        this, "titleLabel", QRectF(1500, 300, 3615, 375), arialFont(14, true), Look::Bright);
    m_title->setText(QStringLiteral("Kalmora"));
    m_version = label(this, "versionLabel", QRectF(5280, 630, 720, 195), arialFont(8), DimColour);
    m_version->setText(QStringLiteral("Rel. 1.0"));

    Frame1 = placeTwips(new QFrame(this), "Frame1", QRectF(-60, 1140, 6495, 25));
    Frame1->setFrameShape(QFrame::HLine);
    Frame1->setFrameShadow(QFrame::Plain);
    setColours(Frame1, Look::Line, Look::Window, false);
    // A click on the thin line is a click on the background behind it.
    Frame1->setAttribute(Qt::WA_TransparentForMouseEvents);

    m_viewport = placeTwips(new QFrame(this), "viewport", QRectF(240, 1170, 5940, 2535));
    m_viewport->setFocusPolicy(Qt::StrongFocus);
    m_viewport->installEventFilter(this);
    m_panel = placeTwips(new QWidget(m_viewport), "scrollPanel", QRectF(PanelLeft, 0, 5775, 4515));

    m_description = label(
        m_panel, "descriptionLabel", QRectF(900, 0, 3945, 1095), arialFont(8.25), Look::Text);
    m_description->setWordWrap(true);
    m_description->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_copyright = label(
        m_panel, "copyrightLabel", QRectF(690, 1320, 4380, 435), arialFont(8.25), Look::Text);
    m_copyright->setWordWrap(true);
    m_copyright->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_copyright->setText(QString::fromUtf8(CreditLine));

    m_logo = placeTwips(new QLabel(m_panel), "logo", QRectF(2407, 2340, 960, 960));
    m_logo->setPixmap(QPixmap(QStringLiteral(":/about/panel.png")));

    m_homePageCaption
        = placeTwips(new QLabel(m_panel), "homePageCaption", QRectF(720, 3870, 1050, 195));
    m_homePageCaption->setFont(arialFont(8));
    setColours(m_homePageCaption, DimColour, Look::Window, false);
    QFont addressFont = arialFont(8.25);
    addressFont.setUnderline(true);
    m_homePage
        = label(m_panel, "homePageLink", QRectF(705, 4110, 3405, 255), addressFont, AddressColour);
    m_homePage->setText(webPageAddress(WebPage::Home).toString());
    m_homePage->setCursor(Qt::PointingHandCursor);
    connect(
        m_homePage, &LinkLabel::clicked, this, [this] { openWebPage(m_platform, WebPage::Home); });

    for (LinkLabel *closer : { imgTitle, m_title, m_version, m_description, m_copyright })
        connect(closer, &LinkLabel::clicked, this, &AboutBox::unload);

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("scrollTimer"));
    connect(m_timer, &QTimer::timeout, this, &AboutBox::scrollStep);
}

void AboutBox::load(const TextTable &texts)
{
    m_version->setText(QStringLiteral("Rel. %1.%2.%3")
                           .arg(ProgramVersion::Major)
                           .arg(ProgramVersion::Minor)
                           .arg(ProgramVersion::Revision));
    m_homePageCaption->setText(texts.text(TextId::HomePage) + u':');
    m_description->setText(texts.text(TextId::Description));
    m_copyright->setText(m_copyright->text() + QStringLiteral(" - ") + texts.text(TextId::Tagline));

    const QRectF title = twipsGeometry(m_title);
    QRectF version = twipsGeometry(m_version);
    version.moveLeft(versionLabelLeft(title.left(), title.width()));
    // Wide enough for the whole release text, which outgrew the design's "Rel. 1.0".
    version.setWidth(std::max(version.width(), m_version->sizeHint().width() * TwipsPerPixel));
    setTwipsGeometry(m_version, version);

    m_timer->start(TimerIntervalMs);
    m_scroll = AboutScroll();
    moveTwips(m_panel, QPointF(PanelLeft, m_scroll.top));
    m_viewport->setFocus();
}

void AboutBox::scrollStep()
{
    m_scroll.top = twipsGeometry(m_panel).top();
    m_scroll.step(twipsGeometry(m_viewport).height(), twipsGeometry(m_panel).height());
    moveTwips(m_panel, QPointF(PanelLeft, m_scroll.top));
}

void AboutBox::unload()
{
    close();
}

bool AboutBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_viewport) {
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
            m_viewport->setFocus(Qt::MouseFocusReason);
            return true;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void AboutBox::mousePressEvent(QMouseEvent *event)
{
    m_backgroundPressed = event->button() == Qt::LeftButton;
    event->accept();
}

void AboutBox::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_backgroundPressed && event->button() == Qt::LeftButton
        && rect().contains(event->position().toPoint());
    m_backgroundPressed = false;
    event->accept();
    if (click)
        unload();
}

void AboutBox::closeEvent(QCloseEvent *event)
{
    m_timer->stop();
    event->accept();
    emit unloaded();
}
