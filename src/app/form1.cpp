#include "form1.h"

#include "controls.h"
#include "photo/photoformat.h"
#include "photo/workspacelayout.h"
#include "platform/platform.h"
#include "platform/resources.h"
#include "print/frmstampa.h"
#include "twips.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

namespace {

const QColor WindowColour(64, 64, 64);
const QColor BandColour(92, 92, 92);
const QColor LineColour(128, 128, 128);
const QColor LinkColour(128, 128, 128);
const QColor HighlightColour(255, 255, 255);
const QColor GuideColour(192, 192, 192);

constexpr double ClientWidth = 9930;
constexpr double ClientHeight = 7035;

QFont arial(double points, bool bold = false)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

void setTextColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

QColor textColour(const QWidget *widget)
{
    return widget->palette().color(QPalette::WindowText);
}

void setBackground(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    palette.setColor(QPalette::Button, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

template<typename Widget>
Widget *place(Widget *widget, const QString &name, const QRectF &twips)
{
    widget->setObjectName(name);
    setTwipsGeometry(widget, twips);
    return widget;
}

// Labels show an access-key ampersand as the menus do: "&&" is a literal ampersand.
QString withoutMnemonic(const QString &caption)
{
    QString shown;
    shown.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == u'&' && i + 1 < caption.size())
            ++i;
        else if (caption.at(i) == u'&')
            continue;
        shown.append(caption.at(i));
    }
    return shown;
}

QString indexed(const char *name, int index)
{
    return QString::fromLatin1(name) + u'_' + QString::number(index);
}

} // namespace

Form1::Form1(Platform &platform, QWidget *parent)
    : QMainWindow(parent)
    , CurrentPrinter(platform.printers())
    , m_platform(platform)
    , m_settings(platform.programFolder())
{
    initResources();
    createControls();
    createMenus();
    connectLinks();
    startUp();
}

Form1::~Form1() = default;

void Form1::createControls()
{
    setObjectName(QStringLiteral("Form1"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("Kalmora"));
    setWindowIcon(QIcon(QStringLiteral(":/app/kalmora.png")));

    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("client"));
    m_client->setFixedSize(twipsToPixels(ClientWidth), twipsToPixels(ClientHeight));
    setBackground(m_client, WindowColour);
    m_client->setMouseTracking(true);
    m_client->installEventFilter(this);
    setCentralWidget(m_client);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    Shape3 = place(new ShapeWidget(ShapeWidget::Kind::Rectangle, m_client), QStringLiteral("Shape3"),
                   QRectF(-30, 0, 10035, 765));
    Shape3->setBorder(Qt::black);
    Shape3->setFill(BandColour);

    Image2 = place(new QLabel(m_client), QStringLiteral("Image2"), QRectF(60, 60, 630, 645));
    Image2->setPixmap(QPixmap(QStringLiteral(":/main/arrows.png")));
    Image2->setAttribute(Qt::WA_TransparentForMouseEvents);

    static constexpr std::array<double, 5> optionLefts = {930, 2670, 4470, 6240, 7980};
    static constexpr std::array<double, 5> captionLefts = {1230, 2970, 4770, 6540, 8250};
    for (int i = 0; i < PhotoFormatCount; ++i) {
        Option1[i] = place(new QRadioButton(m_client), indexed("Option1", i),
                           QRectF(optionLefts[i], 240, 225, 285));
        setBackground(Option1[i], BandColour);
        Label3[i] = place(new QLabel(m_client), indexed("Label3", i),
                          QRectF(captionLefts[i], 240, i == 4 ? 735 : 1215, 270));
        Label3[i]->setFont(arial(12));
        setTextColour(Label3[i], GuideColour);
        setCaption(Label3[i], QString::fromLatin1(PhotoFormats[i].caption));
        connect(Option1[i], &QRadioButton::clicked, this, [this, i] { SelectFormat(i); });
    }
    Option1[1]->setChecked(true);

    auto line = [this](const QString &name, ShapeWidget::Kind kind, const QRectF &twips) {
        auto *widget = place(new ShapeWidget(kind, m_client), name, twips);
        widget->setBorder(LineColour);
    };
    line(QStringLiteral("Line1"), ShapeWidget::Kind::HorizontalLine, QRectF(0, 750, 9930, 15));
    line(QStringLiteral("Line2"), ShapeWidget::Kind::VerticalLine, QRectF(6420, 750, 15, 3110));
    line(QStringLiteral("Line3"), ShapeWidget::Kind::HorizontalLine, QRectF(6420, 1830, 3780, 15));
    line(QStringLiteral("Line4"), ShapeWidget::Kind::HorizontalLine, QRectF(6420, 2850, 3780, 15));
    line(QStringLiteral("Line5"), ShapeWidget::Kind::HorizontalLine, QRectF(6420, 3840, 3780, 15));

    struct Link
    {
        QRectF picture;
        const char *image;
        QRectF label;
        const char *caption;
    };
    static const std::array<Link, 4> links = {{
        {QRectF(6780, 1110, 480, 420), ":/main/folder.png", QRectF(7470, 1170, 1455, 315),
         "Open Photo..."},
        {QRectF(6720, 2100, 600, 510), ":/main/printer.png", QRectF(7470, 2220, 660, 270),
         "Print..."},
        {QRectF(8220, 6360, 1380, 390), ":/main/donate.png", QRectF(8520, 5940, 765, 270),
         "Donate"},
        {QRectF(6780, 3060, 510, 570), ":/main/smiley.png", QRectF(7470, 3210, 540, 270),
         "Info..."},
    }};
    for (int i = 0; i < 4; ++i) {
        Image5[i] = place(new LinkLabel(m_client), indexed("Image5", i), links[i].picture);
        Image5[i]->setPixmap(QPixmap(QString::fromLatin1(links[i].image)));
        Label2[i] = place(new LinkLabel(m_client), indexed("Label2", i), links[i].label);
        Label2[i]->setFont(arial(12));
        setTextColour(Label2[i], LinkColour);
        setCaption(Label2[i], QString::fromLatin1(links[i].caption));
    }
    // The donation link stays in the design but is never shown.
    Label2[2]->hide();
    Image5[2]->hide();

    Label4 = place(new QLabel(m_client), QStringLiteral("Label4"), QRectF(6645, 4110, 3015, 540));
    Label4->setFont(arial(9.75, true));
    setTextColour(Label4, QColor(255, 128, 0));
    Label4->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label4->setWordWrap(true);
    Label4->setText(QStringLiteral("Minimum size page: 10 x 15 cm"));

    Image1 = place(new PhotoFrame(m_client), QStringLiteral("Image1"), QRectF(660, 1380, 3495, 4500));

    Shape1 = place(new ShapeWidget(ShapeWidget::Kind::Rectangle, m_client), QStringLiteral("Shape1"),
                   QRectF(690, 1410, 3435, 4425));
    Shape1->setBorder(GuideColour, Qt::DashDotLine, 3);
    Shape2 = place(new ShapeWidget(ShapeWidget::Kind::Oval, m_client), QStringLiteral("Shape2"),
                   QRectF(1320, 1950, 2145, 3000));
    Shape2->setBorder(GuideColour, Qt::DashLine);
    Shape2->hide();

    Label1 = place(new QLabel(m_client), QStringLiteral("Label1"), QRectF(1800, 3360, 1215, 555));
    Label1->setFont(arial(11.25));
    setTextColour(Label1, QColor(224, 224, 224));
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label1->setWordWrap(true);
    Label1->setText(QStringLiteral("Drag photo here"));

    auto button = [this](const QString &name, const QRectF &twips, const QString &caption,
                         double points) {
        auto *widget = place(new QPushButton(caption, m_client), name, twips);
        widget->setFont(arial(points));
        QPalette palette = widget->palette();
        palette.setColor(QPalette::Button, WindowColour);
        palette.setColor(QPalette::ButtonText, QColor(224, 224, 224));
        widget->setPalette(palette);
        widget->setFocusPolicy(Qt::TabFocus);
        widget->hide();
        return widget;
    };
    Command3 = button(QStringLiteral("Command3"), QRectF(4170, 5130, 345, 345), QStringLiteral("+"), 14.25);
    Command4 = button(QStringLiteral("Command4"), QRectF(4170, 5520, 345, 345), QStringLiteral("-"), 14.25);
    Command5 = button(QStringLiteral("Command5"), QRectF(1740, 1020, 1335, 345), QStringLiteral("\u2191"), 9.75);
    Command6 = button(QStringLiteral("Command6"), QRectF(1740, 5880, 1335, 345), QStringLiteral("\u2193"), 9.75);
    Command7 = button(QStringLiteral("Command7"), QRectF(4170, 2970, 345, 1335), QStringLiteral("\u2192"), 9.75);
    Command8 = button(QStringLiteral("Command8"), QRectF(300, 2970, 345, 1335), QStringLiteral("\u2190"), 9.75);
}

void Form1::createMenus()
{
    QMenuBar *bar = menuBar();
    bar->setNativeMenuBar(false);
    auto action = [this](QMenu *menu, const char *name, const QString &caption) {
        QAction *item = menu->addAction(caption);
        item->setObjectName(QString::fromLatin1(name));
        return item;
    };

    mnuFile = bar->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuOpen = action(mnuFile, "mnuOpen", QStringLiteral("&Open Photo..."));
    mnuFile->addSeparator();
    mnuExport = action(mnuFile, "mnuExport", QStringLiteral("&Export to file..."));
    mnuPrint = action(mnuFile, "mnuPrint", QStringLiteral("&Print Photo..."));
    mnuFile->addSeparator();
    mnuExit = action(mnuFile, "mnuExit", QStringLiteral("&Exit"));

    mnuOption = bar->addMenu(QStringLiteral("&Option"));
    mnuOption->setObjectName(QStringLiteral("mnuOption"));
    mnuLang = action(mnuOption, "mnuLang", QStringLiteral("&Lang..."));
    mnuAddLang = action(mnuOption, "mnuAddLang", QStringLiteral("&Aggiungi lingua..."));

    mnuDonate = bar->addAction(QStringLiteral("&Donate"));
    mnuDonate->setObjectName(QStringLiteral("mnuDonate"));

    mnuGuida = bar->addMenu(QStringLiteral("&?"));
    mnuGuida->setObjectName(QStringLiteral("mnuGuida"));
    mnuRelease = action(mnuGuida, "mnuRelease", QStringLiteral("&Release"));
    mnuCheckUpdate = action(mnuGuida, "mnuCheckUpdate", QStringLiteral("&Check update..."));
    mnuGuida->addSeparator();
    mnuInfo = action(mnuGuida, "mnuInfo", QStringLiteral("&Info..."));

    connect(mnuExit, &QAction::triggered, this, [this] { m_platform.endProgram(); });
    connect(mnuPrint, &QAction::triggered, this, &Form1::mnuPrint_Click);
}

void Form1::connectLinks()
{
    // A click on a link runs the menu command exactly as if the menu item had been chosen.
    const std::array<QAction *, 4> commands = {mnuOpen, mnuPrint, mnuDonate, mnuInfo};
    for (int i = 0; i < 4; ++i) {
        QAction *command = commands[i];
        for (LinkLabel *link : {Label2[i], Image5[i]}) {
            connect(link, &LinkLabel::hovered, this, [this, i] { HighlightLink(i); });
            connect(link, &LinkLabel::clicked, command, &QAction::trigger);
        }
    }
}

void Form1::startUp()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // Saved before the language load, which may select a format and repaint the captions.
    NormalLabelColour = textColour(Label3[0]);
    LoadLanguage();
    setHandPointers();
    show();
    QCoreApplication::processEvents();
    QApplication::restoreOverrideCursor();
}

void Form1::setHandPointers()
{
    for (QRadioButton *option : Option1)
        option->setCursor(Qt::PointingHandCursor);
    for (int i = 0; i < 4; ++i) {
        Label2[i]->setCursor(Qt::PointingHandCursor);
        Image5[i]->setCursor(Qt::PointingHandCursor);
    }
    for (QPushButton *button : {Command3, Command4, Command5, Command6, Command7, Command8})
        button->setCursor(Qt::PointingHandCursor);
}

void Form1::setCaption(QLabel *label, const QString &caption)
{
    label->setText(withoutMnemonic(caption));
    autoSizeTwips(label);
}

bool Form1::isPhotoLoaded() const
{
    return false;
}

QImage Form1::photoCrop() const
{
    return {};
}

frmStampa *Form1::printDialog() const
{
    return m_printDialog;
}

void Form1::mnuPrint_Click()
{
    if (!isPhotoLoaded()) {
        m_platform.messageBox(this, text(15), MessageBoxStyle::Exclamation, text(14));
        return;
    }
    if (m_printDialog) {
        m_printDialog->raise();
        m_printDialog->activateWindow();
        return;
    }
    PhotoSheetSource source;
    source.photoCrop = [this] { return photoCrop(); };
    source.frameTwips = [this] { return twipsGeometry(Image1).size(); };
    m_printDialog = new frmStampa(m_platform, m_settings.textTable, CurrentPrinter, source, this);
}

int Form1::selectedFormat() const
{
    for (int i = 0; i < PhotoFormatCount; ++i) {
        if (Option1[i]->isChecked())
            return i;
    }
    return -1;
}

void Form1::SelectFormat(int index)
{
    if (!isPhotoFormatIndex(index))
        return;
    const PhotoFormat &format = PhotoFormats[index];
    Option1[index]->setChecked(true);
    Label4->setText(text(44));
    Image1->hide();
    Shape2->hide();
    for (QPushButton *button : {Command3, Command4, Command5, Command6, Command7, Command8})
        button->hide();
    resizeTwips(Image1, QSizeF(format.frameWidth, format.frameHeight));
    if (format.noteText != 44)
        Label4->setText(text(format.noteText));
    for (int k = 0; k < PhotoFormatCount; ++k) {
        setTextColour(Label3[k], k == index ? HighlightColour : NormalLabelColour);
        QFont font = Label3[k]->font();
        font.setBold(k == index);
        Label3[k]->setFont(font);
        autoSizeTwips(Label3[k]);
    }
    SaveSettings();
    LayoutWorkspace();
}

void Form1::LayoutWorkspace()
{
    WorkspaceLayoutInput input;
    input.frame = twipsGeometry(Image1);
    input.outlineWidth = Shape1->borderWidth();
    input.shape1Left = twipsGeometry(Shape1).left();
    input.label1 = twipsGeometry(Label1).size();
    input.command3 = twipsGeometry(Command3).size();
    input.command4 = twipsGeometry(Command4).size();
    input.command5 = twipsGeometry(Command5).size();
    input.command7 = twipsGeometry(Command7).size();
    input.command5Top = twipsGeometry(Command5).top();
    input.command8Left = twipsGeometry(Command8).left();
    const WorkspacePlacement placement = placeWorkspace(input);

    setTwipsGeometry(Shape1, placement.shape1);
    Shape1->show();
    setTwipsGeometry(Shape2, placement.shape2);
    moveTwips(Label1, placement.label1);
    moveTwips(Command3, placement.command3);
    moveTwips(Command4, placement.command4);
    moveTwips(Command5, placement.command5);
    moveTwips(Command6, placement.command6);
    moveTwips(Command7, placement.command7);
    moveTwips(Command8, placement.command8);
    Image1->show();
}

void Form1::LoadLanguage()
{
    QCoreApplication::processEvents();
    if (const std::optional<OptionsIni> options = m_settings.readOptions()) {
        if (options->languageFileName)
            m_settings.LanguageFileName = *options->languageFileName;
        if (options->lastPhotoFolder)
            m_settings.LastPhotoFolder = *options->lastPhotoFolder;
        // A stored format is selected as a user's click would, so the frame, the caption
        // highlight and the layout come back whole, also for the design's own selection.
        if (options->formatIndex && isPhotoFormatIndex(*options->formatIndex))
            SelectFormat(*options->formatIndex);
    }
    m_settings.chooseLanguageByLocale(m_platform.localeLanguageCode());
    m_settings.loadTextTable();
    if (m_settings.hasTexts())
        ApplyTexts();
}

void Form1::SaveSettings()
{
    m_settings.SaveSettings(selectedFormat());
    QCoreApplication::processEvents();
}

void Form1::ApplyTexts()
{
    setWindowTitle(QStringLiteral("Kalmora"));
    setCaption(Label2[0], text(4));
    setCaption(Label2[1], text(5));
    setCaption(Label2[3], text(10));
    Label1->setText(withoutMnemonic(text(12)));
    // The note follows the selected format, so a restored "2 x 2 in" keeps its own note.
    const int format = selectedFormat();
    Label4->setText(text(isPhotoFormatIndex(format) ? PhotoFormats[format].noteText : 44));

    mnuFile->setTitle(text(3));
    mnuOpen->setText(text(4));
    mnuExport->setText(text(48));
    mnuPrint->setText(text(5));
    mnuExit->setText(text(6));
    mnuOption->setTitle(text(24));
    mnuLang->setText(text(17));
    mnuAddLang->setText(text(25));
    mnuDonate->setText(text(7));
    mnuGuida->setTitle(text(8));
    mnuRelease->setText(text(9));
    mnuCheckUpdate->setText(text(26));
    mnuInfo->setText(text(10));

    Image5[2]->setToolTip(u' ' + text(27) + u' ');
}

void Form1::HighlightLink(int index)
{
    for (int k = 0; k < 4; ++k) {
        const QColor wanted = k == index ? HighlightColour : LinkColour;
        if (textColour(Label2[k]) == wanted)
            continue;
        setTextColour(Label2[k], wanted);
        QFont font = Label2[k]->font();
        font.setBold(k == index);
        Label2[k]->setFont(font);
        autoSizeTwips(Label2[k]);
    }
}

void Form1::ResetLinkHighlight()
{
    HighlightLink(-1);
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_client && event->type() == QEvent::MouseMove)
        ResetLinkHighlight();
    return QMainWindow::eventFilter(watched, event);
}
