#include "form1.h"

#include "photoframe.h"
#include "widgets/controls.h"
#include "widgets/look.h"
#include "export/sheetcomposer.h"
#include "export/temporarybitmap.h"
#include "menuimage/clsmenuimage.h"
#include "i18n/languagemenu.h"
#include "photo/photoformat.h"
#include "photo/photoloader.h"
#include "photo/workspacelayout.h"
#include "platform/bmptojpg.h"
#include "platform/filedialog.h"
#include "platform/platform.h"
#include "platform/resources.h"
#include "print/frmstampa.h"
#include "widgets/twips.h"
#include "web/frmabout2.h"
#include "web/links.h"
#include "web/updatecheck.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDropEvent>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QLayout>
#include <QMimeData>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

namespace {

const QColor BandColour(92, 92, 92);
const QColor GuideColour(192, 192, 192);

constexpr double ClientWidth = 9930;
constexpr double ClientHeight = 7035;

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

Form1::Form1(Platform &platform, PrinterSystem &printers, QWidget *parent)
    : QMainWindow(parent)
    , CurrentPrinter(printers)
    , m_platform(platform)
    , m_settings(platform.programFolder())
{
    initResources();
    createControls();
    createMenus();
    connectLinks();
    connectCommands();
    setHandPointers();
    // Taken before any format is selected, which repaints the captions.
    NormalLabelColour = textColour(Label3[0]);
    SetupMenuImages();
}

Form1::~Form1()
{
    delete m_about;
}

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
    setBackground(m_client, Look::Window);
    m_client->setMouseTracking(true);
    m_client->setAcceptDrops(true);
    m_client->installEventFilter(this);
    setCentralWidget(m_client);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    Shape3 = placeTwips(new ShapeWidget(ShapeWidget::Kind::Rectangle, m_client), QStringLiteral("Shape3"),
                   QRectF(-30, 0, 10035, 765));
    Shape3->setBorder(Qt::black);
    Shape3->setFill(BandColour);

    Image2 = placeTwips(new QLabel(m_client), QStringLiteral("Image2"), QRectF(60, 60, 630, 645));
    Image2->setPixmap(QPixmap(QStringLiteral(":/main/arrows.png")));
    Image2->setAttribute(Qt::WA_TransparentForMouseEvents);

    static constexpr std::array<double, 5> optionLefts = {930, 2670, 4470, 6240, 7980};
    static constexpr std::array<double, 5> captionLefts = {1230, 2970, 4770, 6540, 8250};
    for (int i = 0; i < PhotoFormatCount; ++i) {
        Option1[i] = placeTwips(new QRadioButton(m_client), indexed("Option1", i),
                           QRectF(optionLefts[i], 240, 225, 285));
        setBackground(Option1[i], BandColour);
        Label3[i] = placeTwips(new QLabel(m_client), indexed("Label3", i),
                          QRectF(captionLefts[i], 240, i == 4 ? 735 : 1215, 270));
        Label3[i]->setFont(arialFont(12));
        setTextColour(Label3[i], GuideColour);
        setCaption(Label3[i], QString::fromLatin1(PhotoFormats[i].caption));
        connect(Option1[i], &QRadioButton::clicked, this, [this, i] { SelectFormat(i); });
    }
    Option1[1]->setChecked(true);

    auto line = [this](const QString &name, ShapeWidget::Kind kind, const QRectF &twips) {
        auto *widget = placeTwips(new ShapeWidget(kind, m_client), name, twips);
        widget->setBorder(Look::Line);
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
        Image5[i] = placeTwips(new LinkLabel(m_client), indexed("Image5", i), links[i].picture);
        Image5[i]->setPixmap(QPixmap(QString::fromLatin1(links[i].image)));
        Label2[i] = placeTwips(new LinkLabel(m_client), indexed("Label2", i), links[i].label);
        Label2[i]->setFont(arialFont(12));
        setTextColour(Label2[i], Look::Line);
        setCaption(Label2[i], QString::fromLatin1(links[i].caption));
    }
    // The donation link stays in the design but is never shown.
    Label2[2]->hide();
    Image5[2]->hide();

    Label4 = placeTwips(new QLabel(m_client), QStringLiteral("Label4"), QRectF(6645, 4110, 3015, 540));
    Label4->setFont(arialFont(9.75, true));
    setTextColour(Label4, QColor(255, 128, 0));
    Label4->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label4->setWordWrap(true);
    Label4->setText(QStringLiteral("Minimum size page: 10 x 15 cm"));

    Image1 = placeTwips(new PhotoFrame(m_client), QStringLiteral("Image1"), QRectF(660, 1380, 3495, 4500));

    Shape1 = placeTwips(new ShapeWidget(ShapeWidget::Kind::Rectangle, m_client), QStringLiteral("Shape1"),
                   QRectF(690, 1410, 3435, 4425));
    Shape1->setBorder(GuideColour, Qt::DashDotLine, 3);
    Shape2 = placeTwips(new ShapeWidget(ShapeWidget::Kind::Oval, m_client), QStringLiteral("Shape2"),
                   QRectF(1320, 1950, 2145, 3000));
    Shape2->setBorder(GuideColour, Qt::DashLine);
    Shape2->hide();

    Label1 = placeTwips(new QLabel(m_client), QStringLiteral("Label1"), QRectF(1800, 3360, 1215, 555));
    Label1->setFont(arialFont(11.25));
    setTextColour(Label1, Look::Text);
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label1->setWordWrap(true);
    Label1->setText(QStringLiteral("Drag photo here"));

    auto button = [this](const QString &name, const QRectF &twips, const QString &caption,
                         double points) {
        auto *widget = placeTwips(new QPushButton(caption, m_client), name, twips);
        widget->setFont(arialFont(points));
        QPalette palette = widget->palette();
        palette.setColor(QPalette::Button, Look::Window);
        palette.setColor(QPalette::ButtonText, Look::Text);
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
    connect(Command3, &QPushButton::clicked, this, [this] { adjust(ZoomIn); });
    connect(Command4, &QPushButton::clicked, this, [this] { adjust(ZoomOut); });
    connect(Command5, &QPushButton::clicked, this, [this] { adjust(PhotoUp); });
    connect(Command6, &QPushButton::clicked, this, [this] { adjust(PhotoDown); });
    connect(Command7, &QPushButton::clicked, this, [this] { adjust(PhotoRight); });
    connect(Command8, &QPushButton::clicked, this, [this] { adjust(PhotoLeft); });
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

    connect(mnuOpen, &QAction::triggered, this, &Form1::mnuOpenClick);
    connect(mnuExport, &QAction::triggered, this, &Form1::mnuExportClick);
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

void Form1::connectCommands()
{
    connect(mnuLang, &QAction::triggered, this, &Form1::chooseLanguage);
    connect(mnuAddLang, &QAction::triggered, this,
            [this] { openWebPage(m_platform, WebPage::Languages); });
    connect(mnuDonate, &QAction::triggered, this,
            [this] { openWebPage(m_platform, WebPage::Donate); });
    connect(mnuCheckUpdate, &QAction::triggered, this,
            [this] { openWebPage(m_platform, WebPage::Program); });
    connect(mnuRelease, &QAction::triggered, this, [this] { openReleaseNotes(m_platform); });
    connect(mnuInfo, &QAction::triggered, this, &Form1::showAbout);
}

void Form1::startUp(const QUrl &updateAddress)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    LoadLanguage();
    show();
    QCoreApplication::processEvents();
    CheckForUpdate(updateAddress);
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

void Form1::SetupMenuImages()
{
    MenuImages = std::make_unique<clsMenuImage>();
    MenuImages->Init(this, 16, 16);

    // Each picture remembers the index it got, so one that cannot be added leaves only its
    // own item without an image instead of shifting the others.
    constexpr int FirstResource = 100;
    constexpr int ImageTotal = 12;
    std::array<int, ImageTotal> indexOf {};
    for (int i = 0; i < ImageTotal; ++i) {
        QFile resource(QStringLiteral(":/menu/%1.png").arg(FirstResource + i));
        const bool added = resource.open(QIODevice::ReadOnly)
                           && MenuImages->AddImageFromStream(resource.readAll());
        indexOf[i] = added ? MenuImages->ImageCount() : -1;
    }

    struct Placement
    {
        int position;
        QList<int> path;
    };
    const std::array<Placement, ImageTotal> placements = {{
        {0, {}},  // mnuFile
        {0, {0}}, // mnuOpen
        {2, {0}}, // mnuExport
        {3, {0}}, // mnuPrint
        {5, {0}}, // mnuExit
        {1, {}},  // mnuOption
        {0, {1}}, // mnuLang
        {1, {1}}, // mnuAddLang
        {2, {}},  // mnuDonate
        {0, {3}}, // mnuRelease
        {1, {3}}, // mnuCheckUpdate
        {3, {3}}, // mnuInfo
    }};
    for (int i = 0; i < ImageTotal; ++i)
        MenuImages->PutImageToVBMenu(indexOf[i], placements[i].position, placements[i].path);

    if (!MenuImages->IsWindowVistaOrLater()) {
        for (int menu = 0; menu < 4; ++menu)
            MenuImages->RemoveMenuCheckVB({menu});
    }
}

void Form1::setCaption(QLabel *label, const QString &caption)
{
    label->setText(withoutMnemonic(caption));
    autoSizeTwips(label);
}

frmStampa *Form1::printDialog() const
{
    return m_printDialog;
}

void Form1::mnuPrint_Click()
{
    if (!isPhotoLoaded()) {
        message(15);
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
    hideButtons();
    resizeTwips(Image1, QSizeF(format.frameWidth, format.frameHeight));
    if (format.noteText != 44)
        Label4->setText(text(format.noteText));
    for (int k = 0; k < PhotoFormatCount; ++k) {
        setTextColour(Label3[k], k == index ? Look::Bright : NormalLabelColour);
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

    if (isPhotoLoaded()) {
        // A fresh fit of the new shape; a refused rectangle keeps the previous picture,
        // stretched to the new frame.
        PictureClip1.setPicture(Picture1);
        const QSizeF frame = twipsGeometry(Image1).size();
        if (const std::optional<CropRect> rect = CentreCrop(PictureClip1.width(), PictureClip1.height(),
                                                            frame.width(), frame.height()))
            PictureClip1.ClipRect = *rect;
        if (const std::optional<ClipImage> clip = PictureClip1.clipImage())
            showClip(*clip);
        PanStepsX = 0;
        PanStepsY = 0;
        showPhotoState();
    }
    Image1->show();
}

// The three dialogs differ only in these; none passes flags, all start at filter 1.
FileDialogRequest Form1::dialogOptions(const QString &initialDir, int filterText,
                                       const QString &defaultExt, const QString &fileName,
                                       int titleText, bool openDialog)
{
    FileDialogRequest options;
    options.initialDir = initialDir;
    options.filter = text(filterText);
    options.defaultExt = defaultExt;
    options.fileName = fileName;
    options.dialogTitle = text(titleText);
    options.owner = this;
    options.openDialog = openDialog;
    return options;
}

void Form1::mnuOpenClick()
{
    if (m_settings.LastPhotoFolder.isEmpty())
        m_settings.LastPhotoFolder = m_platform.currentDirectory();
    const QString path = ShowFileDialog(
        m_platform, dialogOptions(m_settings.LastPhotoFolder, 21, QStringLiteral("*.jpg"),
                                  QStringLiteral("*.jpg"), 22, true));
    if (!path.isEmpty()) {
        const QFileInfo file(path);
        const QString name = file.isFile() ? file.fileName() : QString();
        m_settings.LastPhotoFolder = path.left(path.size() - name.size());
    }
    LoadPhoto(path);
}

void Form1::mnuExportClick()
{
    if (!isPhotoLoaded()) {
        message(49);
        return;
    }
    const QSizeF frame = twipsGeometry(Image1).size();
    const SheetLayout layout = computeSheetLayout(frame.width(), frame.height());
    const QImage sheet = composeSheet(layout, Image1->clip(), QGuiApplication::palette().color(QPalette::Button));

    const QString target = ShowFileDialog(
        m_platform, dialogOptions(m_platform.currentDirectory(), 21, QStringLiteral("*.jpg"),
                                  QStringLiteral("PhotoID1.jpg"), 37, false));
    if (target.isEmpty())
        return;
    if (QFileInfo(target).isFile()
        && m_platform.messageBox(this, text(38) + QStringLiteral("\r\r") + text(39),
                                 MessageBoxStyle::Exclamation | MessageBoxStyle::YesNo, text(14))
               == MessageBoxAnswer::No)
        return;

    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QString bitmap = temporaryBitmapPath(m_platform.programFolder());
    const bool bitmapWritten = writeTemporaryBitmap(sheet, bitmap);
    QCoreApplication::processEvents();
    BmpToJpgFailure failure = BmpToJpgFailure::TargetUnwritable;
    const bool converted = bitmapWritten && QFileInfo(bitmap).isFile()
                           && BMPToJPG(bitmap, target, 85, &failure) != 0;
    QApplication::restoreOverrideCursor();
    if (converted)
        m_platform.messageBox(this, text(40), MessageBoxStyle::Information, text(42));
    else if (failure == BmpToJpgFailure::SourceUnreadable)
        m_platform.messageBox(this, text(41) + target, MessageBoxStyle::Information, text(43));
    else
        message(53, target);
    QCoreApplication::processEvents();
    QFile::remove(bitmap);
}

void Form1::LoadPhoto(const QString &path)
{
    const QFileInfo file(path);
    if (path.right(3).toUpper() != QLatin1String("JPG") || !file.isFile() || file.isHidden())
        return;

    const PhotoLoadResult loaded = loadPhoto(path);
    if (loaded.error != PhotoLoadError::None) {
        message(loaded.error == PhotoLoadError::TooLarge ? 51 : 50);
        return;
    }
    const PhotoPtr &photo = loaded.photo;
    const QSizeF frame = twipsGeometry(Image1).size();
    if (photo->width() * TwipsPerPixel < frame.width()
        || photo->height() * TwipsPerPixel < frame.height()) {
        message(13);
        return;
    }

    // The new photo takes the holders' place only once its first crop is accepted, so a
    // refused photo leaves the previous one whole (frame, crop and holders agree).
    PictureClip candidate;
    candidate.setPicture(photo);
    const std::optional<CropRect> rect = CentreCrop(candidate.width(), candidate.height(),
                                                    frame.width(), frame.height());
    if (!rect)
        return;
    candidate.ClipRect = *rect;
    const std::optional<ClipImage> clip = candidate.clipImage();
    if (!clip) {
        message(13);
        return;
    }
    Picture1 = photo;
    PictureClip1 = candidate;
    showClip(*clip);
    PanStepsX = 0;
    PanStepsY = 0;
    showPhotoState();
    Image1Tag = QStringLiteral("1");
    LayoutWorkspace();
}

QImage Form1::photoCrop() const
{
    return Image1->clip().fullResolution();
}

void Form1::showClip(const ClipImage &clip)
{
    Image1->setClip(clip);
}

void Form1::showPhotoState()
{
    for (QPushButton *button : {Command3, Command4, Command5, Command6, Command7, Command8})
        button->show();
    Label1->hide();
    Shape1->hide();
    Shape2->show();
}

void Form1::hideButtons()
{
    for (QPushButton *button : {Command3, Command4, Command5, Command6, Command7, Command8})
        button->hide();
}

void Form1::adjust(void (*command)(CropContext &))
{
    const QSizeF frame = twipsGeometry(Image1).size();
    CropContext context {PictureClip1, frame.width(), frame.height(), PanStepsX, PanStepsY,
                         [this](const ClipImage &clip) { showClip(clip); }};
    command(context);
}

void Form1::message(int textNumber, const QString &suffix)
{
    m_platform.messageBox(this, text(textNumber) + suffix, MessageBoxStyle::Exclamation, text(14));
}

bool Form1::acceptsDropAt(const QPoint &clientPos) const
{
    const QWidget *child = m_client->childAt(clientPos);
    return !child || child == Image1 || child == Label1;
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

void Form1::chooseLanguage()
{
    const QString chosen = ShowFileDialog(
        m_platform, dialogOptions(m_settings.langFolder(), 19, QStringLiteral("*.lng"),
                                  QStringLiteral("*.lng"), 18, true));
    if (chosen.isEmpty())
        return;
    // A name that cannot be read from our own Lang folder is not stored: it would switch the
    // next start to the fallback language instead of keeping the current one.
    if (const std::optional<QString> name = languageFileFromPath(chosen)) {
        const QFileInfo file(m_settings.langFolder() + *name);
        if (file.isFile() && file.isReadable())
            m_settings.LanguageFileName = *name;
    }
    SaveSettings();
    LoadLanguage();
    ApplyTexts();
    SetupMenuImages();
}

void Form1::CheckForUpdate(const QUrl &updateAddress)
{
    if (!offerUpdate(m_platform, updateAddress, this, m_settings.textTable))
        return;
    mnuCheckUpdate->trigger();
    m_platform.endProgram();
}

void Form1::showAbout()
{
    // Only one box at a time: a new opening starts afresh.
    delete m_about;
    hide();
    m_about = new frmAbout2(m_platform, m_settings.textTable);
    m_about->setAttribute(Qt::WA_DeleteOnClose);
    m_about->setWindowTitle(text(11));
    connect(m_about, &frmAbout2::unloaded, this, &QWidget::show);
    m_about->show();
}

void Form1::HighlightLink(int index)
{
    for (int k = 0; k < 4; ++k) {
        const QColor wanted = k == index ? Look::Bright : Look::Line;
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

void Form1::closeEvent(QCloseEvent *event)
{
    MenuImages.reset();
    QMainWindow::closeEvent(event);
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_client)
        return QMainWindow::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseMove:
        ResetLinkHighlight();
        break;
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        // Only the background, the frame and the drop-zone text take files.
        auto *drag = static_cast<QDragMoveEvent *>(event);
        if (drag->mimeData()->hasUrls() && acceptsDropAt(drag->position().toPoint()))
            drag->acceptProposedAction();
        else
            drag->ignore();
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        const QList<QUrl> urls = drop->mimeData()->urls();
        if (urls.isEmpty() || !acceptsDropAt(drop->position().toPoint()))
            return true; // a drop without a file list is ignored
        drop->acceptProposedAction();
        LoadPhoto(urls.first().toLocalFile());
        return true;
    }
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}
