#pragma once

#include "i18n/languagefiles.h"
#include "i18n/qttranslation.h"
#include "i18n/settings.h"
#include "onlinecopydialog.h"
#include "photo/facefinder.h"
#include "photo/photoworkspace.h"
#include "print/printer.h"

#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include <array>
#include <memory>

class AboutBox;
class CheckNote;
class PrintDialog;
class FormatBand;
class LinkPanel;
class Platform;
class PrinterSystem;
class QLabel;
class WorkspaceView;
struct MainMenu;

// The main window: the format band, the photo frame with its guides and buttons, the link
// panel and the menu bar. It shows what the photo workspace returns. Constructing it only
// builds the window; startUp() starts the program.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    MainWindow(Platform &platform, PrinterSystem &printers, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Restores the settings, shows the window, writes options.ini and checks for an update.
    void startUp(const QUrl &updateAddress);

    // The user's choice of a format: a different one is fitted afresh and stored.
    void selectFormat(int index);
    void layoutWorkspace();
    void saveSettings();
    void applyTexts();
    void openPhoto(const QString &path);
    void checkForUpdate(const QUrl &updateAddress);

    bool isPhotoLoaded() const { return m_workspace.isLoaded(); }
    const PhotoWorkspace &workspace() const { return m_workspace; }
    int selectedFormat() const { return m_workspace.format(); }
    QString text(TextId id) const { return m_languages.texts().text(id); }
    Settings &settings() { return m_settings; }
    // The print dialog while it is open.
    PrintDialog *printDialog() const;

    // The printer that receives all print output, for the whole run.
    Printer currentPrinter;
    // Asks for the online copy's size and limit.
    AskOnlineCopy askOnlineCopy = OnlineCopyDialog::ask;

protected:
private:
    // The format's note, and a warning when the fitted photo would print soft.
    void restoreSettings();
    // The language file of the settings (or of the locale) and Qt's own texts in it.
    void loadTexts();
    void showFormat(int index);
    void showNote();
    void showFit();
    void faceFound(const PhotoPtr &photo, const FaceSearch &result);
    // Fits the face, or says there is no single one and centres; once the search of the
    // photo has ended.
    void fitFace();
    void setAutoFaceFit(bool on);
    void createControls();
    void createWorkspace();
    void createMenus();
    void chooseLanguage();
    void showAbout();
    void choosePhoto();
    // Export and print need the photo's own pixels: a decode still running is waited for,
    // with the busy pointer. False, once the user is told, when the photo cannot be decoded.
    bool waitForPhoto();
    // Once the photo's own pixels are decoded, or their decode failed.
    void photoDecoded();
    void exportSheet();
    // The fitted photo alone, as one JPEG for an online application.
    void saveOnlineCopy();
    void openPrintDialog();
    void message(TextId text, const QString &suffix = QString());

    Platform &m_platform;
    Settings m_settings;
    LanguageFiles m_languages;
    QtTranslation m_qtTranslation;
    PhotoWorkspace m_workspace;
    FaceFinder m_faces;
    std::unique_ptr<MainMenu> m_menu;
    LinkPanel *m_links = nullptr;
    WorkspaceView *m_view = nullptr;
    bool m_toldUnsaved = false;
    QPointer<PrintDialog> m_printDialog;
    QPointer<AboutBox> m_about;
    QTimer m_decodeWatch; // while the photo's own pixels are being decoded

    QWidget *m_client = nullptr;
    FormatBand *m_band = nullptr;
    QLabel *m_noteLabel = nullptr;
    CheckNote *m_checkNote = nullptr;
};
