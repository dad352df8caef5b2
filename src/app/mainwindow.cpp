#include "mainwindow.h"

#include "aboutbox.h"
#include "checknote.h"
#include "exportcommands.h"
#include "filechoices.h"
#include "fitcontrols.h"
#include "formatband.h"
#include "linkpanel.h"
#include "mainmenu.h"
#include "offthread.h"
#include "photo/facefit.h"
#include "photo/photoformat.h"
#include "photoframe.h"
#include "platform/platform.h"
#include "platform/resources.h"
#include "printdialog.h"
#include "qtplatform.h"
#include "updateoffer.h"
#include "web/updatecheck.h"
#include "widgets/controls.h"
#include "widgets/look.h"
#include "widgets/twips.h"
#include "workspaceview.h"

#include <QAction>
#include <QApplication>
#include <QLayout>
#include <QMenu>

namespace {

constexpr double ClientWidth = 9930;
constexpr double ClientHeight = 7035;

} // namespace

MainWindow::MainWindow(Platform &platform, PrinterSystem &printers, QWidget *parent)
    : QMainWindow(parent)
    , currentPrinter(printers)
    , m_platform(platform)
    , m_settings(platform.programFolder(), platform.userConfigFolder())
    , m_languages(platform.programFolder(), platform.userConfigFolder())
{
    initResources();
    createControls();
    createWorkspace();
    createMenus();
    // A click on a link runs its menu command.
    m_links = new LinkPanel(m_client,
        { m_menu->openAction, m_menu->printAction, m_menu->donateAction, m_menu->aboutAction });
    showPlainText(this);
}

MainWindow::~MainWindow()
{
    delete m_about;
}

void MainWindow::startUp(const QUrl &updateAddress)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    restoreSettings();
    show();
    QCoreApplication::processEvents();
    // Written again only when it would change (a file of an older version, a language taken
    // from the locale); a failure is told now that the texts are there and the window shows.
    if (m_settings.differsFromStored(selectedFormat()))
        saveSettings();
    m_faces.loadModel();
    checkForUpdate(updateAddress);
    QApplication::restoreOverrideCursor();
}

void MainWindow::createControls()
{
    setObjectName(QStringLiteral("MainWindow"));
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
    setCentralWidget(m_client);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    m_band = new FormatBand(m_client);
    connect(m_band, &FormatBand::clicked, this, &MainWindow::selectFormat);

    m_noteLabel = placeTwips(
        new QLabel(m_client), QStringLiteral("noteLabel"), QRectF(6645, 4110, 3015, 540));
    m_noteLabel->setFont(arialFont(9.75, true));
    setTextColour(m_noteLabel, QColor(255, 128, 0));
    m_noteLabel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_noteLabel->setWordWrap(true);
    m_noteLabel->setText(QStringLiteral("Minimum size page: 10 x 15 cm"));
    m_checkNote = new CheckNote(m_languages.texts(), m_client);
}

void MainWindow::createWorkspace()
{
    m_view = new WorkspaceView(m_client);
    connect(m_view, &WorkspaceView::photoDropped, this, &MainWindow::openPhoto);
    m_workspace.setFrame(m_view->frameTwips());
    m_workspace.setLoadRunner([this](const std::function<PhotoLoadResult()> &load) {
        return runOffThread(
            load, m_menu->exitAction->shortcuts(), std::function<void()>(&endProgramNow));
    });
    auto *controls = new FitControls(
        this, m_view, [this] { return m_workspace.panStepOn(m_view->framePixels()); },
        [this] { return m_workspace.isLoaded(); });
    connect(controls, &FitControls::command, this, [this](PhotoCommand c, bool continuing) {
        if (m_workspace.run(c, continuing))
            showFit();
    });
    connect(&m_faces, &FaceFinder::found, this, &MainWindow::faceFound);
    m_decodeWatch.setInterval(50);
    connect(&m_decodeWatch, &QTimer::timeout, this, &MainWindow::photoDecoded);
}

void MainWindow::createMenus()
{
    m_menu = std::make_unique<MainMenu>(menuBar());
    connect(m_menu->openAction, &QAction::triggered, this, &MainWindow::choosePhoto);
    connect(m_menu->exportAction, &QAction::triggered, this, &MainWindow::exportSheet);
    connect(m_menu->onlineCopyAction, &QAction::triggered, this, &MainWindow::saveOnlineCopy);
    connect(m_menu->printAction, &QAction::triggered, this, &MainWindow::openPrintDialog);
    connect(m_menu->exitAction, &QAction::triggered, this, [this] { m_platform.endProgram(); });
    connect(m_menu->languageAction, &QAction::triggered, this, &MainWindow::chooseLanguage);
    m_menu->connectWebPages(m_platform);
    connect(m_menu->aboutAction, &QAction::triggered, this, &MainWindow::showAbout);
    connect(m_menu->undoAction, &QAction::triggered, this, [this] {
        if (m_workspace.undo())
            showFit();
    });
    connect(m_menu->resetFitAction, &QAction::triggered, this, [this] {
        if (m_workspace.resetFit())
            showFit();
    });
    connect(m_menu->fitFaceAction, &QAction::triggered, this, [this] {
        if (m_workspace.isLoaded())
            fitFace();
    });
    connect(m_menu->straightenAction, &QAction::triggered, this, [this] {
        if (m_workspace.straighten())
            showFit();
    });
    connect(m_menu->autoFaceFitAction, &QAction::triggered, this, &MainWindow::setAutoFaceFit);
    m_menu->formatActions[m_workspace.format()]->setChecked(true);
    for (std::size_t i = 0; i < m_menu->formatActions.size(); ++i)
        connect(m_menu->formatActions[i], &QAction::triggered, this,
            [this, i] { selectFormat(int(i)); });
}

void MainWindow::showNote()
{
    // The note follows the selected format, so a restored "2 x 2 in" keeps its own note.
    const int format = selectedFormat();
    QString note
        = text(isPhotoFormatIndex(format) ? PhotoFormats[format].noteText : TextId::NoteSmallPage);
    // A photo cut too small prints soft; the user can still go ahead.
    if (const std::optional<int> dpi = m_workspace.softPrintDpi())
        note += u'\n' + text(TextId::ResolutionNote).arg(*dpi);
    if (m_workspace.noSingleFace())
        note += u'\n' + text(TextId::NoSingleFace);
    m_noteLabel->setText(note);
    // It stays right of the frame and its buttons.
    const QRect room(QPoint(m_view->rightEdge(), 0), m_client->rect().bottomRight());
    fitToText(m_noteLabel, room.adjusted(6, 4, -4, -4));
    m_checkNote->setRoom(room.adjusted(6, m_noteLabel->geometry().bottom() + 6, -4, -4));
    // Checked once the search has said whether there is one face; the note says when not.
    if (m_workspace.faceSearch() && !m_workspace.noSingleFace())
        m_checkNote->check(m_workspace.fitToCheck());
    else
        m_checkNote->clear();
}

void MainWindow::showFit()
{
    m_view->showClip(m_workspace.shown());
    showNote();
}

void MainWindow::faceFound(const PhotoPtr &photo, const FaceSearch &result)
{
    if (m_workspace.setFaceSearch(photo, result))
        showFit();
    else
        showNote();
}

void MainWindow::fitFace()
{
    if (m_workspace.fitFaceOrCentre())
        showFit();
}

void MainWindow::setAutoFaceFit(bool on)
{
    m_settings.setAutoFaceFit(on);
    m_menu->autoFaceFitAction->setChecked(on);
    saveSettings();
    if (m_workspace.setAutoFaceFit(on))
        showFit();
}

void MainWindow::selectFormat(int index)
{
    // The chosen format again keeps the fit the user made.
    if (index == selectedFormat() || !isPhotoFormatIndex(index))
        return;
    showFormat(index);
    saveSettings();
}

void MainWindow::showFormat(int index)
{
    if (!isPhotoFormatIndex(index))
        return;
    m_band->mark(index);
    m_menu->formatActions[index]->setChecked(true);
    m_workspace.selectFormat(index);
    m_view->resizeFrame(m_workspace.frame());
    layoutWorkspace();
}

void MainWindow::layoutWorkspace()
{
    m_view->place(PhotoFormats[m_workspace.format()].faceRule);
    // A fresh fit of the new shape; a refused rectangle keeps the previous picture.
    if (m_workspace.refit())
        m_view->showPhoto(m_workspace.shown());
    showNote();
}

void MainWindow::openPhoto(const QString &path)
{
    switch (m_workspace.load(path, devicePixelRatioF())) {
    case LoadOutcome::Accepted:
        layoutWorkspace(); // fits and shows the new photo
        m_faces.search(m_workspace.photo());
        m_decodeWatch.start();
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

void MainWindow::message(TextId id, const QString &suffix)
{
    m_platform.messageBox(
        this, text(id) + suffix, MessageBoxStyle::Exclamation, text(TextId::MessageTitle));
}

void MainWindow::choosePhoto()
{
    openPhoto(choosePhotoFile(m_platform, m_languages.texts(), m_settings, this));
}

bool MainWindow::waitForPhoto()
{
    if (!m_workspace.isPhotoComplete()) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_workspace.photo()->waitUntilComplete();
        QApplication::restoreOverrideCursor();
    }
    if (!m_workspace.isLoaded() || m_workspace.photo()->hasOwnPixels())
        return true;
    message(TextId::NotAPhoto);
    return false;
}

void MainWindow::photoDecoded()
{
    if (!m_workspace.isPhotoComplete())
        return;
    m_decodeWatch.stop();
    // The frame shows the photo's own pixels from now on, sharp also where it was enlarged.
    if (m_workspace.photo()->hasOwnPixels())
        m_view->showClip(m_workspace.shown());
    else
        message(TextId::NotAPhoto);
}

void MainWindow::exportSheet()
{
    if (!waitForPhoto())
        return;
    runSheetExport(m_platform, m_languages.texts(), this, m_workspace.shown(), m_workspace.frame(),
        QGuiApplication::palette().color(QPalette::Button));
}

void MainWindow::saveOnlineCopy()
{
    if (waitForPhoto())
        runOnlineCopyExport(m_platform, m_languages.texts(), this, askOnlineCopy,
            m_workspace.shown(), PhotoFormats[m_workspace.format()]);
}

void MainWindow::openPrintDialog()
{
    if (!isPhotoLoaded()) {
        message(TextId::NothingToPrint);
        return;
    }
    if (!waitForPhoto())
        return;
    // A dialog closed a moment ago may still wait for its deletion: it is not reused.
    if (m_printDialog && m_printDialog->isVisible()) {
        m_printDialog->raise();
        m_printDialog->activateWindow();
        return;
    }
    PhotoSheetSource source;
    source.photoCrop = [this] { return m_workspace.photoCrop(); };
    source.frameTwips = [this] { return m_workspace.frame(); };
    m_printDialog = new PrintDialog(m_platform, m_languages.texts(), currentPrinter, source, this);
    connect(m_printDialog, &PrintDialog::exportInstead, this, &MainWindow::exportSheet);
}

void MainWindow::restoreSettings()
{
    // The stored format is shown as a click would show it, so the frame, the caption
    // highlight and the layout come back whole, also for the design's own selection.
    const std::optional<int> format = m_settings.restore();
    m_workspace.setAutoFaceFit(m_settings.autoFaceFit());
    m_menu->autoFaceFitAction->setChecked(m_settings.autoFaceFit());
    if (format)
        showFormat(*format);
    loadTexts();
}

PrintDialog *MainWindow::printDialog() const
{
    return m_printDialog;
}

void MainWindow::loadTexts()
{
    if (!m_settings.hasLanguage())
        m_settings.setLanguageFileName(m_languages.fileForLocale(m_platform.localeLanguageCode()));
    m_languages.load(m_settings.languageFileName());
    m_qtTranslation.apply(m_settings.languageFileName());
    if (m_languages.hasTexts())
        applyTexts();
}

void MainWindow::saveSettings()
{
    // Told once: the same folders will not become writable while the program runs.
    const WriteResult saved = m_settings.save(selectedFormat());
    if (!saved.written && !m_toldUnsaved) {
        m_toldUnsaved = true;
        message(TextId::SettingsNotSaved,
            u'\n' + m_settings.foldersTried().join(u'\n') + QStringLiteral("\n\n") + saved.reason);
    }
    QCoreApplication::processEvents();
}

void MainWindow::applyTexts()
{
    setWindowTitle(QStringLiteral("Kalmora"));
    m_links->applyTexts(m_languages.texts());
    m_view->setDropText(text(TextId::DropPhotoHere));
    showNote();
    m_menu->applyTexts(m_languages.texts());
}

void MainWindow::chooseLanguage()
{
    if (!chooseLanguageFile(m_platform, m_languages.texts(), m_languages, m_settings, this))
        return;
    saveSettings();
    loadTexts();
}

void MainWindow::checkForUpdate(const QUrl &updateAddress)
{
    if (!newerReleasePublished(updateAddress)
        || !askToOpenUpdatePage(m_platform, m_languages.texts(), this))
        return;
    m_menu->checkUpdateAction->trigger();
    m_platform.endProgram();
}

void MainWindow::showAbout()
{
    // Only one box at a time: a new opening starts afresh.
    delete m_about;
    // A window shown again is placed afresh by the window manager: it comes back where it was.
    const QPoint at = pos();
    hide();
    m_about = new AboutBox(m_platform, m_languages.texts());
    m_about->setAttribute(Qt::WA_DeleteOnClose);
    m_about->setWindowTitle(text(TextId::AboutTitle));
    connect(m_about, &AboutBox::unloaded, this, [this, at] {
        move(at);
        show();
    });
    m_about->show();
}
