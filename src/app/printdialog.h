#pragma once

#include "print/photosheetsource.h"
#include "print/printer.h"

#include <QWidget>

#include <array>
#include <cstdint>
#include <optional>

class CaptionButton;
class LinkLabel;
class Platform;
class QComboBox;
class QLabel;
class ShapeWidget;
class TextTable;

// The print dialog: printer, orientation and copies, then Print or Cancel. Opening it runs
// its load sequence; either button closes and deletes it.
class PrintDialog : public QWidget
{
    Q_OBJECT
public:
    PrintDialog(Platform &platform, const TextTable &texts, Printer &currentPrinter,
        PhotoSheetSource source, QWidget *parent = nullptr);
    ~PrintDialog() override;

    // Makes the printer whose name matches, ignoring case, both the current printer and the
    // user's default printer. False when no printer matches or the switch failed.
    bool makeDefaultPrinter(const QString &name);

    void liftButton(int index);
    void lowerButtons();

signals:
    // The user asked for the sheet as a JPEG file instead; the dialog has closed.
    void exportInstead();

public:
    // The quality list position last chosen; kept for the whole run, like the printer.
    static inline int16_t savedQualityIndex = 0;

    std::array<int16_t, 2> captionHomeLeft {};
    std::array<int16_t, 2> captionHomeTop {};
    std::array<int16_t, 2> iconHomeLeft {};
    std::array<int16_t, 2> iconHomeTop {};

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void createControls();
    void connectControls();
    void loadSequence();
    void showLandscape();
    void showPortrait();
    void fillQualityList();
    bool probeQuality(int16_t quality);
    std::optional<PrinterFailure> fillPrinterList();
    void selectPrinter(const QString &text);
    // The orientation pictures show the page as it will print on the current printer.
    void showPreview();
    void selectQuality(int position);
    void buttonClicked(int index);
    // Runs the job; false (after telling the user) when it could not be printed.
    bool printNow();
    void reportFailure(const PrinterFailure &failure);
    // Without an answer from the printing system nothing can print: the dialog says so and
    // offers the export.
    void showSilence(const PrinterFailure &failure);

    Platform &m_platform;
    const TextTable &m_texts;
    Printer &m_printer;
    PhotoSheetSource m_source;
    QStringList m_printerNames;
    QImage m_previewPhoto;

    QLabel *m_printerCaption = nullptr;
    QComboBox *m_printerBox = nullptr;
    QLabel *m_orientationCaption = nullptr;
    LinkLabel *m_portrait = nullptr;
    LinkLabel *m_landscape = nullptr;
    QLabel *m_qualityCaption = nullptr;
    QComboBox *m_qualityBox = nullptr;
    ShapeWidget *m_qualityFrame = nullptr;
    QLabel *m_copiesCaption = nullptr;
    QComboBox *m_copiesBox = nullptr;
    std::array<LinkLabel *, 2> m_buttonIcons {};
    std::array<CaptionButton *, 2> m_buttonCaptions {};
    ShapeWidget *m_printerFrame = nullptr;
    ShapeWidget *m_orientationFrame = nullptr;
    ShapeWidget *m_copiesFrame = nullptr;
};
