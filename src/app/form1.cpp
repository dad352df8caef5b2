#include "form1.h"

#include "export/sheetexport.h"
#include "fitcontrols.h"
#include "formatband.h"
#include "i18n/languagemenu.h"
#include "linkpanel.h"
#include "mainmenu.h"
#include "photo/facefit.h"
#include "photo/photoformat.h"
#include "photoframe.h"
#include "platform/filedialog.h"
#include "platform/platform.h"
#include "platform/resources.h"
#include "print/frmstampa.h"
#include "web/frmabout2.h"
#include "web/links.h"
#include "web/updatecheck.h"
#include "widgets/controls.h"
#include "widgets/look.h"
#include "widgets/twips.h"
#include "workspaceview.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QFileInfo>
#include <QLayout>
#include <QMenu>
#include <QMimeData>

namespace {

constexpr int SharpPrintDpi = 300;

constexpr double ClientWidth = 9930;
constexpr double ClientHeight = 7035;

} // namespace

Form1::Form1(Platform &platform, PrinterSystem &printers, QWidget *parent)
    : QMainWindow(parent)
    , CurrentPrinter(printers)
    , m_platform(platform)
    , m_settings(platform.programFolder(), platform.userConfigFolder())
{
    initResources();
    createControls();
    createWorkspace();
    createMenus();
    // A click on a link runs its menu command.
    m_links = new LinkPanel(
        m_client, { m_menu->mnuOpen, m_menu->mnuPrint, m_menu->mnuDonate, m_menu->mnuInfo });
    showPlainText(this);
}

Form1::~Form1()
{
    delete m_about;
}

void Form1::startUp(const QUrl &updateAddress)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    LoadLanguage();
    show();
    QCoreApplication::processEvents();
    m_faces.loadModel();
    CheckForUpdate(updateAddress);
    QApplication::restoreOverrideCursor();
    m_started = true;
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

    m_band = new FormatBand(m_client);
    connect(m_band, &FormatBand::clicked, this, &Form1::SelectFormat);

    auto line = [this](const char *name, ShapeWidget::Kind kind, const QRectF &twips) {
        placeTwips(new ShapeWidget(kind, m_client), QString::fromLatin1(name), twips)
            ->setBorder(Look::Line);
    };
    line("Line1", ShapeWidget::Kind::HorizontalLine, QRectF(0, 750, 9930, 15));
    line("Line2", ShapeWidget::Kind::VerticalLine, QRectF(6420, 750, 15, 3110));
    line("Line3", ShapeWidget::Kind::HorizontalLine, QRectF(6420, 1830, 3780, 15));
    line("Line4", ShapeWidget::Kind::HorizontalLine, QRectF(6420, 2850, 3780, 15));
    line("Line5", ShapeWidget::Kind::HorizontalLine, QRectF(6420, 3840, 3780, 15));

    Label4
        = placeTwips(new QLabel(m_client), QStringLiteral("Label4"), QRectF(6645, 4110, 3015, 540));
    Label4->setFont(arialFont(9.75, true));
    setTextColour(Label4, QColor(255, 128, 0));
    Label4->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label4->setWordWrap(true);
    Label4->setText(QStringLiteral("Minimum size page: 10 x 15 cm"));
}

void Form1::createWorkspace()
{
    m_view = new WorkspaceView(m_client);
    m_workspace.setFrame(m_view->frameTwips());
    auto *controls = new FitControls(
        this, m_view, [this] { return m_workspace.panStepOn(m_view->framePixels()); },
        [this] { return m_workspace.isLoaded(); });
    connect(controls, &FitControls::command, this, &Form1::adjust);
    connect(&m_faces, &FaceFinder::found, this, &Form1::faceFound);
}

void Form1::createMenus()
{
    m_menu = std::make_unique<MainMenu>(menuBar());
    connect(m_menu->mnuOpen, &QAction::triggered, this, &Form1::mnuOpenClick);
    connect(m_menu->mnuExport, &QAction::triggered, this, &Form1::mnuExportClick);
    connect(m_menu->mnuPrint, &QAction::triggered, this, &Form1::mnuPrint_Click);
    connect(m_menu->mnuExit, &QAction::triggered, this, [this] { m_platform.endProgram(); });
    connect(m_menu->mnuLang, &QAction::triggered, this, &Form1::chooseLanguage);
    connect(m_menu->mnuAddLang, &QAction::triggered, this,
        [this] { openWebPage(m_platform, WebPage::Languages); });
    connect(m_menu->mnuDonate, &QAction::triggered, this,
        [this] { openWebPage(m_platform, WebPage::Donate); });
    connect(m_menu->mnuCheckUpdate, &QAction::triggered, this,
        [this] { openWebPage(m_platform, WebPage::Program); });
    connect(
        m_menu->mnuRelease, &QAction::triggered, this, [this] { openReleaseNotes(m_platform); });
    connect(m_menu->mnuInfo, &QAction::triggered, this, &Form1::showAbout);
    connect(m_menu->mnuUndo, &QAction::triggered, this, [this] {
        if (m_workspace.undo())
            showFit();
    });
    connect(m_menu->mnuResetFit, &QAction::triggered, this, [this] {
        if (m_workspace.resetFit())
            showFit();
    });
    connect(m_menu->mnuFitFace, &QAction::triggered, this, [this] {
        if (m_workspace.isLoaded())
            fitFace();
    });
    connect(m_menu->mnuAutoFaceFit, &QAction::triggered, this, &Form1::setAutoFaceFit);
}

int Form1::selectedFormat() const
{
    return m_band->selected();
}

void Form1::showNote()
{
    // The note follows the selected format, so a restored "2 x 2 in" keeps its own note.
    const int format = selectedFormat();
    QString note
        = text(isPhotoFormatIndex(format) ? PhotoFormats[format].noteText : TextId::NoteSmallPage);
    // A photo cut too small prints soft; the user can still go ahead.
    if (const std::optional<int> dpi = m_workspace.printDpi(); dpi && *dpi < SharpPrintDpi)
        note += u'\n' + m_settings.textTable.textOrEnglish(TextId::ResolutionNote).arg(*dpi);
    if (m_noFaceNote)
        note += u'\n' + m_settings.textTable.textOrEnglish(TextId::NoSingleFace);
    Label4->setText(note);
    // It stays right of the frame and its buttons.
    const QRect room(QPoint(m_view->rightEdge(), 0), m_client->rect().bottomRight());
    fitToText(Label4, room.adjusted(6, 4, -4, -4));
}

void Form1::showFit()
{
    m_view->showClip(m_workspace.shown());
    showNote();
}

void Form1::faceFound(const PhotoPtr &photo, const FaceSearch &result)
{
    if (photo != m_workspace.photo())
        return;
    m_workspace.setFaceSearch(photo, result);
    // The automatic fit leaves a fit the user has begun alone.
    if (std::exchange(m_fitWhenFound, false)
        || (m_workspace.autoFaceFit() && m_workspace.untouched()))
        fitFace();
}

void Form1::fitFace()
{
    const std::optional<FaceSearch> &search = m_workspace.faceSearch();
    if (!search) {
        m_fitWhenFound = true;
        return;
    }
    m_noFaceNote = !search->face;
    if (search->face)
        m_workspace.fitToFace();
    else
        m_workspace.resetFit();
    showFit();
}

void Form1::setAutoFaceFit(bool on)
{
    m_settings.AutoFaceFit = on;
    m_workspace.setAutoFaceFit(on);
    m_menu->mnuAutoFaceFit->setChecked(on);
    SaveSettings();
    if (on && m_workspace.isLoaded() && m_workspace.untouched())
        fitFace();
}

void Form1::SelectFormat(int index)
{
    if (!isPhotoFormatIndex(index))
        return;
    const PhotoFormat &format = PhotoFormats[index];
    m_band->mark(index);
    m_workspace.setFrame(QSizeF(format.frameWidth, format.frameHeight));
    m_view->resizeFrame(m_workspace.frame());
    SaveSettings();
    LayoutWorkspace();
}

void Form1::LayoutWorkspace()
{
    m_view->place();
    const QSizeF frame = m_workspace.frame();
    const FaceRule *rule = faceRuleForFrame(frame.width(), frame.height());
    m_view->frame()->setGuides(rule ? guideBands(*rule) : QList<GuideBand>());
    // A fresh fit of the new shape; a refused rectangle keeps the previous picture.
    if (m_workspace.refit())
        m_view->showPhoto(m_workspace.shown());
    showNote();
}

void Form1::LoadPhoto(const QString &path)
{
    switch (m_workspace.LoadPhoto(path)) {
    case LoadOutcome::Accepted:
        m_fitWhenFound = false;
        m_noFaceNote = false;
        LayoutWorkspace(); // fits and shows the new photo
        m_faces.search(m_workspace.photo());
        break;
    case LoadOutcome::TooSmall:
        message(TextId::PhotoTooSmall);
        break;
    case LoadOutcome::NotAPhoto:
        message(TextId::NotAPhoto);
        break;
    case LoadOutcome::TooLarge:
        message(TextId::PhotoTooLarge);
        break;
    case LoadOutcome::Ignored:
    case LoadOutcome::NoFit:
        break;
    }
}

void Form1::adjust(PhotoCommand command)
{
    if (m_workspace.run(command))
        showFit();
}

void Form1::message(TextId id, const QString &suffix)
{
    m_platform.messageBox(
        this, text(id) + suffix, MessageBoxStyle::Exclamation, text(TextId::MessageTitle));
}

void Form1::mnuOpenClick()
{
    if (m_settings.LastPhotoFolder.isEmpty())
        m_settings.LastPhotoFolder = m_platform.currentDirectory();
    FileDialogRequest request;
    request.initialDir = m_settings.LastPhotoFolder;
    request.filter = text(TextId::PhotoFilter);
    request.defaultExt = QStringLiteral("*.jpg");
    request.fileName = QStringLiteral("*.jpg");
    request.dialogTitle = text(TextId::PhotoDialogTitle);
    request.owner = this;
    request.openDialog = true;
    const QString path = ShowFileDialog(m_platform, request);
    if (!path.isEmpty()) {
        const QFileInfo file(path);
        const QString name = file.isFile() ? file.fileName() : QString();
        m_settings.LastPhotoFolder = path.left(path.size() - name.size());
    }
    LoadPhoto(path);
}

void Form1::waitForPhoto()
{
    if (m_workspace.isPhotoComplete())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_workspace.photo()->waitUntilComplete();
    QApplication::restoreOverrideCursor();
}

void Form1::mnuExportClick()
{
    waitForPhoto();
    SheetExport exporter(m_platform, m_settings.textTable, this);
    const ExportOutcome outcome = exporter.run(m_workspace.shown(), m_workspace.frame(),
        QGuiApplication::palette().color(QPalette::Button));
    if (const std::optional<ExportMessage> shown = exportMessage(outcome))
        m_platform.messageBox(this,
            text(shown->text) + (shown->withPath ? exporter.target() : QString()), shown->style,
            text(shown->title));
}

void Form1::mnuPrint_Click()
{
    if (!isPhotoLoaded()) {
        message(TextId::NothingToPrint);
        return;
    }
    waitForPhoto();
    // A dialog closed a moment ago may still wait for its deletion: it is not reused.
    if (m_printDialog && m_printDialog->isVisible()) {
        m_printDialog->raise();
        m_printDialog->activateWindow();
        return;
    }
    PhotoSheetSource source;
    source.photoCrop = [this] { return m_workspace.photoCrop(); };
    source.frameTwips = [this] { return m_workspace.frame(); };
    m_printDialog = new frmStampa(m_platform, m_settings.textTable, CurrentPrinter, source, this);
}

frmStampa *Form1::printDialog() const
{
    return m_printDialog;
}

void Form1::LoadLanguage()
{
    QCoreApplication::processEvents();
    // At start-up a stored format is selected as a user's click would, so the frame, the
    // caption highlight and the layout come back whole, also for the design's own selection.
    // After a language change only a different format is: selecting it again would fit the
    // photo afresh.
    const std::optional<int> format = m_settings.restoreOptions();
    m_workspace.setAutoFaceFit(m_settings.AutoFaceFit);
    m_menu->mnuAutoFaceFit->setChecked(m_settings.AutoFaceFit);
    if (format && (!m_started || *format != selectedFormat()))
        SelectFormat(*format);
    m_settings.chooseLanguageByLocale(m_platform.localeLanguageCode());
    m_settings.loadTextTable();
    m_qtTranslation.apply(m_settings.LanguageFileName);
    if (m_settings.hasTexts())
        ApplyTexts();
}

void Form1::SaveSettings()
{
    // Told once: the same folders will not become writable while the program runs.
    if (!m_settings.SaveSettings(selectedFormat()) && !m_toldUnsaved) {
        m_toldUnsaved = true;
        message(TextId::SettingsNotSaved, u'\n' + m_settings.settingsFolders().join(u'\n'));
    }
    QCoreApplication::processEvents();
}

void Form1::ApplyTexts()
{
    setWindowTitle(QStringLiteral("Kalmora"));
    m_links->applyTexts(m_settings.textTable);
    m_view->setDropText(text(TextId::DropPhotoHere));
    showNote();
    m_menu->applyTexts(m_settings.textTable);
}

void Form1::chooseLanguage()
{
    if (!chooseLanguageFile(m_platform, m_settings, this))
        return;
    SaveSettings();
    LoadLanguage();
    ApplyTexts();
}

void Form1::CheckForUpdate(const QUrl &updateAddress)
{
    if (!offerUpdate(m_platform, updateAddress, this, m_settings.textTable))
        return;
    m_menu->mnuCheckUpdate->trigger();
    m_platform.endProgram();
}

void Form1::showAbout()
{
    // Only one box at a time: a new opening starts afresh.
    delete m_about;
    hide();
    m_about = new frmAbout2(m_platform, m_settings.textTable);
    m_about->setAttribute(Qt::WA_DeleteOnClose);
    m_about->setWindowTitle(text(TextId::AboutTitle));
    connect(m_about, &frmAbout2::unloaded, this, &QWidget::show);
    m_about->show();
}

void Form1::HighlightLink(int index)
{
    m_links->HighlightLink(index);
}

void Form1::ResetLinkHighlight()
{
    m_links->HighlightLink(-1);
}

bool Form1::acceptsDropAt(const QPoint &clientPos) const
{
    return m_view->takesDrops(m_client->childAt(clientPos));
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
