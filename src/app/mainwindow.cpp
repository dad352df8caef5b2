#include "mainwindow.h"

#include "aboutbox.h"
#include "documentchooser.h"
#include "filechoices.h"
#include "fitcontrols.h"
#include "formatband.h"
#include "linkpanel.h"
#include "mainmenu.h"
#include "photo/photoformat.h"
#include "photoframe.h"
#include "photonotes.h"
#include "photooutputs.h"
#include "platform/platform.h"
#include "platform/resources.h"
#include "updateoffer.h"
#include "wallchoice.h"
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
    createMenus();
    connectDocument();
    enableCommands();
    showPlainText(this);
}

MainWindow::~MainWindow()
{
    delete m_about;
}

void MainWindow::startUp(const QUrl &updateAddress, const QString &documentId)
{
    m_documents->load(m_platform.programFolder(), m_platform.userConfigFolder());
    restoreSettings();
    if (!documentId.isEmpty())
        selectDocument(documentId);
    show();
    // Written again only when it would change (a file of an older version, a language taken
    // from the locale); a failure is told now that the texts are there and the window shows.
    if (m_settings.differsFromStored(selectedFormat()))
        saveSettings();
    m_document.loadFaceModel();
    checkForUpdate(updateAddress);
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
    m_documents = new DocumentChooser(m_platform, m_languages.texts(), this);
    connect(m_documents, &DocumentChooser::chosen, this,
        qOverload<const IdDocument &>(&MainWindow::selectDocument));

    m_notes = std::make_unique<PhotoNotes>(m_client, m_languages.texts());

    m_view = new WorkspaceView(m_client);
    connect(m_view, &WorkspaceView::photoDropped, this, &MainWindow::openPhoto);
    m_outputs = new PhotoOutputs(m_platform, m_languages.texts(), m_settings, m_document, *m_view,
        currentPrinter, askOnlineCopy, this);
    m_document.setFrame(m_view->frameTwips());
}

void MainWindow::createMenus()
{
    m_menu = std::make_unique<MainMenu>(menuBar(), *m_document.undoStack());
    connect(m_menu->openAction, &QAction::triggered, this, &MainWindow::choosePhoto);
    connect(m_menu->exportAction, &QAction::triggered, m_outputs, &PhotoOutputs::exportSheet);
    connect(
        m_menu->onlineCopyAction, &QAction::triggered, m_outputs, &PhotoOutputs::saveOnlineCopy);
    connect(m_menu->printAction, &QAction::triggered, m_outputs, &PhotoOutputs::openPrintDialog);
    connect(m_menu->exitAction, &QAction::triggered, this, [this] { m_platform.endProgram(); });
    connect(m_menu->languageAction, &QAction::triggered, this, &MainWindow::chooseLanguage);
    m_menu->connectWebPages(m_platform);
    connect(m_menu->aboutAction, &QAction::triggered, this, &MainWindow::showAbout);
    connect(m_menu->resetFitAction, &QAction::triggered, &m_document, &PhotoDocument::resetFit);
    connect(m_menu->fitFaceAction, &QAction::triggered, &m_document, &PhotoDocument::fitToFace);
    connect(m_menu->straightenAction, &QAction::triggered, &m_document, &PhotoDocument::straighten);
    connect(m_menu->autoFaceFitAction, &QAction::triggered, this, [this](bool on) {
        m_document.setAutoFaceFit(on);
        saveSettings();
    });
    m_menu->formatActions[m_document.format()]->setChecked(true);
    for (std::size_t i = 0; i < m_menu->formatActions.size(); ++i)
        connect(m_menu->formatActions[i], &QAction::triggered, this,
            [this, i] { selectFormat(int(i)); });
    connect(m_menu->documentAction, &QAction::triggered, this,
        [this] { m_documents->chooseDocument(m_document.idDocument()); });
    connect(m_menu->customSizeAction, &QAction::triggered, this,
        [this] { m_documents->chooseCustomSize(m_document.idDocument()); });
    connectWallChoices(*m_menu, m_document, m_platform, m_languages.texts(), this);
    // A click on a link runs its menu command.
    m_links = new LinkPanel(m_client,
        { m_menu->openAction, m_menu->printAction, m_menu->donateAction, m_menu->aboutAction });

    auto *controls = new FitControls(
        this, m_view, [this] { return m_document.panStepOn(m_view->framePixels()); },
        [this] { return m_document.isLoaded() && !m_document.isBusy(); });
    connect(controls, &FitControls::command, this, [this](PhotoCommand command, bool continuing) {
        if (!m_document.run(command, continuing))
            m_view->frame()->showRefused(command);
    });
}

void MainWindow::connectDocument()
{
    PhotoDocument *document = &m_document;
    connect(document, &PhotoDocument::busyChanged, this, [this](bool busy) {
        m_platform.setBusy(busy);
        m_view->enableButtons(!busy);
        enableCommands();
    });
    connect(document, &PhotoDocument::loaded, this, [this] {
        m_outputs->photoReplaced();
        m_view->place(m_document.idDocument().rule);
        m_view->showPhoto(m_document.shown());
        showNote();
        enableCommands();
    });
    connect(document, &PhotoDocument::loadFailed, this, [this](LoadOutcome reason) {
        m_outputs->tellPhotoFailure(reason == LoadOutcome::TooSmall ? TextId::PhotoTooSmall
                : reason == LoadOutcome::TooLarge                   ? TextId::PhotoTooLarge
                                                                    : TextId::NotAPhoto);
    });
    connect(document, &PhotoDocument::formatChanged, this, &MainWindow::showFormat);
    connect(document, &PhotoDocument::autoFaceFitChanged, m_menu->autoFaceFitAction,
        &QAction::setChecked);
    connect(document, &PhotoDocument::fitChanged, this, [this] {
        m_view->showPhoto(m_document.shown());
        showNote();
        enableCommands(); // undo may bring another wall back
    });
    connect(document, &PhotoDocument::faceSearchEnded, this, [this] {
        showNote();
        enableCommands();
    });
    connect(
        document, &PhotoDocument::checksChanged, this, [this] { m_notes->showChecks(m_document); });
    connect(document, &PhotoDocument::photoDecoded, m_outputs, &PhotoOutputs::photoDecoded);
    connect(m_view->frame(), &PhotoFrame::headMarkMoved, this,
        [this](FaceRule::Top which, double share) {
            // A mark let go where it was still shows where the document has it.
            if (!m_document.moveHeadMark(which, share))
                showNote();
        });
}

void MainWindow::enableCommands()
{
    const bool photo = m_document.isLoaded() && !m_document.isBusy();
    m_menu->onlineCopyAction->setEnabled(photo);
    m_menu->resetFitAction->setEnabled(photo);
    // Asked during the search, the fit to the face happens when it ends.
    m_menu->fitFaceAction->setEnabled(photo
        && (!m_document.faceSearch() || m_document.hasSingleFace()
            || m_document.hasFacesToChoose()));
    m_menu->straightenAction->setEnabled(photo && m_document.hasSingleFace());
    showWallChoice(*m_menu, m_document, photo);
}

void MainWindow::showNote()
{
    // It stays right of the frame and its buttons.
    m_notes->show(
        m_document, QRect(QPoint(m_view->rightEdge(), 0), m_client->rect().bottomRight()));
    m_view->showHeadMarks(m_document.headMarks());
}

void MainWindow::selectFormat(int index)
{
    // The chosen format again keeps the fit the user made; chosen with a document's rule, it
    // goes back to its own.
    if (!isPhotoFormatIndex(index)
        || (index == selectedFormat() && m_document.idDocument().id.isEmpty()))
        return;
    m_document.selectFormat(index);
    m_settings.setDocument({});
    saveSettings();
}

void MainWindow::selectDocument(const IdDocument &document)
{
    m_document.selectDocument(document);
    m_settings.setDocument(document.id);
    saveSettings();
}

bool MainWindow::selectDocument(const QString &id)
{
    const std::optional<IdDocument> document = m_documents->find(id, m_document.idDocument());
    if (document)
        selectDocument(*document);
    return document.has_value();
}

void MainWindow::showFormat()
{
    const IdDocument &chosen = m_document.idDocument();
    const int band = chosen.bandFormat();
    m_band->mark(band);
    m_band->setDocumentCaption(m_documents->caption(chosen));
    for (int i = 0; i < PhotoFormatCount; ++i)
        m_menu->formatActions[i]->setChecked(i == band);
    m_view->resizeFrame(m_document.frame());
    m_view->place(chosen.rule);
    if (m_document.isLoaded())
        m_view->showPhoto(m_document.shown());
    showNote();
}

void MainWindow::openPhoto(const QString &path)
{
    m_document.open(path, devicePixelRatioF());
}

void MainWindow::choosePhoto()
{
    openPhoto(choosePhotoFile(m_platform, m_languages.texts(), m_settings, this));
}

PrintDialog *MainWindow::printDialog() const
{
    return m_outputs->printDialog();
}

void MainWindow::restoreSettings()
{
    const std::optional<int> format = m_settings.restore();
    m_document.setAutoFaceFit(m_settings.autoFaceFit());
    m_menu->autoFaceFitAction->setChecked(m_settings.autoFaceFit());
    // The stored format is shown as a click would show it, so the frame, the caption
    // highlight and the layout come back whole, also for the design's own selection.
    const bool restored = format && isPhotoFormatIndex(*format);
    if (restored)
        m_document.selectFormat(*format);
    loadTexts();
    // A document no table has now leaves the stored line alone: the user's own file may be
    // back next time.
    const QString stored = m_settings.document();
    if ((stored.isEmpty() || !selectDocument(stored)) && restored)
        showFormat();
}

void MainWindow::loadTexts()
{
    if (!m_settings.hasLanguage())
        m_settings.setLanguageFileName(m_languages.fileForLocale(m_platform.localeLanguageCode()));
    m_languages.load(m_settings.languageFileName());
    m_qtTranslation.apply(m_settings.languageFileName(), m_platform.programFolder());
    QLocale::setDefault(QtTranslation::locale(m_settings.languageFileName()));
    m_documents->setLanguageFile(m_settings.languageFileName());
    if (m_languages.hasTexts())
        applyTexts();
}

void MainWindow::saveSettings()
{
    m_settings.setAutoFaceFit(m_document.autoFaceFit());
    // Told once: the same folders will not become writable while the program runs.
    const WriteResult saved = m_settings.save(selectedFormat());
    if (!saved.written && !std::exchange(m_toldUnsaved, true))
        m_outputs->message(TextId::SettingsNotSaved,
            u'\n' + m_settings.foldersTried().join(u'\n') + QStringLiteral("\n\n") + saved.reason);
}

void MainWindow::applyTexts()
{
    setWindowTitle(QStringLiteral("Kalmora"));
    m_links->applyTexts(m_languages.texts());
    m_view->setDropText(text(TextId::DropPhotoHere));
    showNote();
    m_document.setStepNames({ QString(), text(TextId::ZoomStep), text(TextId::MoveStep),
        text(TextId::ResetStep), text(TextId::FitToFaceStep), text(TextId::StraightenStep),
        text(TextId::HeadMarkStep), text(TextId::BackgroundStep) });
    m_view->frame()->setHeadMarkTips(text(TextId::HairTopMark), text(TextId::CrownMark));
    m_menu->applyTexts(m_languages.texts());
    m_band->setDocumentCaption(m_documents->caption(m_document.idDocument()));
    enableCommands();
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
    m_about = AboutBox::openInPlaceOf(this, m_platform, m_languages.texts());
}
