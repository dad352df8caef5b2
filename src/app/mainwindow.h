#pragma once

#include "i18n/languagefiles.h"
#include "i18n/qttranslation.h"
#include "i18n/settings.h"
#include "onlinecopydialog.h"
#include "photo/photodocument.h"
#include "print/printer.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>

class AboutBox;
class DocumentChooser;
class PrintDialog;
class FormatBand;
class LinkPanel;
class PhotoNotes;
class PhotoOutputs;
class Platform;
class PrinterSystem;
class WorkspaceView;
struct MainMenu;

// The main window: the format band, the photo frame with its guides and buttons, the link
// panel and the menu bar. It shows what the photo document reports and hands it the user's
// commands. Constructing it only builds the window; startUp() starts the program.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    MainWindow(Platform &platform, PrinterSystem &printers, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Restores the settings, shows the window, writes options.ini and checks for an update.
    // `documentId`: a document to start with, in place of the stored one.
    void startUp(const QUrl &updateAddress, const QString &documentId = {});

    // The user's choice of a format: a different one is fitted afresh and stored.
    void selectFormat(int index);
    // The user's choice of a document: the frame, the fit, the checks and the outputs follow
    // it, and it is stored.
    void selectDocument(const IdDocument &document);
    // A document by its id; false, and a line on standard error, for an unknown one.
    bool selectDocument(const QString &id);
    DocumentChooser *documents() const { return m_documents; }
    // Starts reading a photo; the window shows it once it is read, or says why not.
    void openPhoto(const QString &path);

    bool isPhotoLoaded() const { return m_document.isLoaded(); }
    const PhotoDocument &document() const { return m_document; }
    int selectedFormat() const { return m_document.format(); }
    QString text(TextId id) const { return m_languages.texts().text(id); }
    Settings &settings() { return m_settings; }
    // The print dialog while it is open.
    PrintDialog *printDialog() const;

    // The printer that receives all print output, for the whole run.
    Printer currentPrinter;
    // Asks for the online copy's size and limit.
    AskOnlineCopy askOnlineCopy = OnlineCopyDialog::ask;

private:
    void createControls();
    void createMenus();
    void connectDocument();
    void restoreSettings();
    // The language file of the settings (or of the locale) and Qt's own texts in it.
    void loadTexts();
    void applyTexts();
    void saveSettings();
    void checkForUpdate(const QUrl &updateAddress);

    // The chosen format or document: the band, the menu, the frame and its guides.
    void showFormat();
    // The format's note, and what the fit and the face search tell of the photo.
    void showNote();
    // The commands that need a photo, or a face, or a step to take back, only when they can act.
    void enableCommands();

    void choosePhoto();
    void chooseLanguage();
    void showAbout();

    Platform &m_platform;
    Settings m_settings;
    LanguageFiles m_languages;
    QtTranslation m_qtTranslation;
    PhotoDocument m_document;
    std::unique_ptr<MainMenu> m_menu;
    bool m_toldUnsaved = false;
    QPointer<AboutBox> m_about;

    QWidget *m_client = nullptr;
    FormatBand *m_band = nullptr;
    DocumentChooser *m_documents = nullptr;
    WorkspaceView *m_view = nullptr;
    LinkPanel *m_links = nullptr;
    PhotoOutputs *m_outputs = nullptr;
    std::unique_ptr<PhotoNotes> m_notes;
};
