#pragma once

#include "photosheetsource.h"
#include "printer.h"

#include <QWidget>

#include <array>
#include <cstdint>
#include <optional>

class LinkLabel;
class Platform;
class QComboBox;
class QLabel;
class ShapeWidget;
class TextTable;

// The print dialog: printer, orientation and copies, then Print or Cancel. Opening it runs
// its load sequence; either button closes and deletes it.
class frmStampa : public QWidget
{
    Q_OBJECT
public:
    frmStampa(Platform &platform, const TextTable &texts, Printer &currentPrinter,
        PhotoSheetSource source, QWidget *parent = nullptr);
    ~frmStampa() override;

    // Makes the printer whose name matches, ignoring case, both the current printer and the
    // user's default printer. False when no printer matches or the switch failed.
    bool ImpostaStampante(const QString &nomeSTAMPANTE);

    void Highlight(int index);
    void Unhighlight();

    // The quality list position last chosen; kept for the whole run, like the printer.
    static inline int16_t SavedQualityIndex = 0;

    std::array<int16_t, 2> LabelHomeLeft {};
    std::array<int16_t, 2> LabelHomeTop {};
    std::array<int16_t, 2> ImageHomeLeft {};
    std::array<int16_t, 2> ImageHomeTop {};

protected:
    void mouseMoveEvent(QMouseEvent *event) override;

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
    bool PrintSheet();
    void reportFailure(const PrinterFailure &failure);

    Platform &m_platform;
    const TextTable &m_texts;
    Printer &m_printer;
    PhotoSheetSource m_source;
    QStringList m_printerNames;
    QImage m_previewPhoto;

    QLabel *Label3 = nullptr;
    QComboBox *Combo1 = nullptr;
    QLabel *Label4 = nullptr;
    LinkLabel *Image2 = nullptr;
    LinkLabel *Image3 = nullptr;
    QLabel *Label2 = nullptr;
    QComboBox *cboQualita = nullptr;
    ShapeWidget *Shape1 = nullptr;
    QLabel *Label5 = nullptr;
    QComboBox *Combo2 = nullptr;
    std::array<LinkLabel *, 2> Image1 {};
    std::array<LinkLabel *, 2> Label1 {};
    ShapeWidget *Shape2 = nullptr;
    ShapeWidget *Shape3 = nullptr;
    ShapeWidget *Shape4 = nullptr;
};
