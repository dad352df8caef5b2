#pragma once

#include "i18n/languagesettings.h"
#include "photo/cropcommands.h"
#include "photo/pictureclip.h"
#include "platform/filedialog.h"
#include "print/printer.h"

#include <QColor>
#include <QImage>
#include <QMainWindow>
#include <QPointer>

#include <array>
#include <cstdint>
#include <memory>

class LinkLabel;
class clsMenuImage;
class frmAbout2;
class Platform;
class PhotoFrame;
class PrinterSystem;
class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;
class ShapeWidget;
class frmStampa;

// The main window: the format band, the photo frame with its guides and buttons, the link
// panel and the menu bar. Constructing it only builds the window; startUp() starts the program.
class Form1 : public QMainWindow
{
    Q_OBJECT
public:
    Form1(Platform &platform, PrinterSystem &printers, QWidget *parent = nullptr);
    ~Form1() override;

    // Restores the settings, shows the window, writes options.ini and checks for an update.
    void startUp(const QUrl &updateAddress);

    void SelectFormat(int index);
    void LayoutWorkspace();
    void LoadLanguage();
    void SaveSettings();
    void ApplyTexts();
    void HighlightLink(int index);
    void ResetLinkHighlight();
    void LoadPhoto(const QString &path);

    // The loaded marker: the frame's tag becomes "1" with the first accepted photo.
    bool isPhotoLoaded() const { return Image1Tag == QLatin1String("1"); }
    // The photo's own pixels of the part the frame shows, for printing and export.
    QImage photoCrop() const;
    const PictureClip &cropSource() const { return PictureClip1; }
    // Builds a new image list and puts the menu images on their items; run again after a
    // language change.
    void SetupMenuImages();
    void CheckForUpdate(const QUrl &updateAddress);

    // The marked format option; the frame's size carries the format itself.
    int selectedFormat() const;
    QString text(int k) const { return m_settings.textTable.text(k); }
    LanguageSettings &settings() { return m_settings; }

    // The print dialog while it is open.
    frmStampa *printDialog() const;

    QColor NormalLabelColour;
    int16_t PanStepsX = 0;
    int16_t PanStepsY = 0;
    std::unique_ptr<clsMenuImage> MenuImages;
    // The printer that receives all print output, for the whole run.
    Printer CurrentPrinter;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createControls();
    void createMenus();
    void connectLinks();
    void connectCommands();
    void chooseLanguage();
    void showAbout();
    void setHandPointers();
    void setCaption(QLabel *label, const QString &caption);
    FileDialogRequest dialogOptions(const QString &initialDir, int filterText,
                                    const QString &defaultExt, const QString &fileName,
                                    int titleText, bool openDialog);
    void mnuOpenClick();
    void mnuExportClick();
    bool acceptsDropAt(const QPoint &clientPos) const;
    void showPhotoState();
    void hideButtons();
    void showClip(const ClipImage &clip);
    void adjust(void (*command)(CropContext &));
    void message(int textNumber, const QString &suffix = QString());
    void mnuPrint_Click();

    Platform &m_platform;
    LanguageSettings m_settings;
    QPointer<frmStampa> m_printDialog;
    QWidget *m_client = nullptr;

    ShapeWidget *Shape3 = nullptr;
    QLabel *Image2 = nullptr;
    std::array<QRadioButton *, 5> Option1 {};
    std::array<QLabel *, 5> Label3 {};
    std::array<LinkLabel *, 4> Label2 {};
    std::array<LinkLabel *, 4> Image5 {};
    QLabel *Label4 = nullptr;
    PhotoFrame *Image1 = nullptr;
    ShapeWidget *Shape1 = nullptr;
    ShapeWidget *Shape2 = nullptr;
    QLabel *Label1 = nullptr;
    QPushButton *Command3 = nullptr;
    QPushButton *Command4 = nullptr;
    QPushButton *Command5 = nullptr;
    QPushButton *Command6 = nullptr;
    QPushButton *Command7 = nullptr;
    QPushButton *Command8 = nullptr;

    PhotoPtr Picture1; // the whole photo; the crop source and the frame share it
    PictureClip PictureClip1;
    QString Image1Tag;

    QMenu *mnuFile = nullptr;
    QAction *mnuOpen = nullptr;
    QAction *mnuExport = nullptr;
    QAction *mnuPrint = nullptr;
    QAction *mnuExit = nullptr;
    QMenu *mnuOption = nullptr;
    QAction *mnuLang = nullptr;
    QAction *mnuAddLang = nullptr;
    QAction *mnuDonate = nullptr;
    QMenu *mnuGuida = nullptr;
    QAction *mnuRelease = nullptr;
    QAction *mnuCheckUpdate = nullptr;
    QAction *mnuInfo = nullptr;

    QPointer<frmAbout2> m_about;
};
