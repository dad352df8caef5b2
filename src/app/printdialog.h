#pragma once

#include "print/photosheetsource.h"
#include "print/printer.h"
#include "print/sheetjob.h"

#include <QDialog>
#include <QFutureWatcher>
#include <QQueue>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

class CaptionButton;
class LinkLabel;
class Platform;
class QComboBox;
class QLabel;
class ShapeWidget;
class TextTable;

// The print dialog: printer, orientation and copies, then Print or Cancel. Opening it runs
// its load sequence and shows it; the printing system is asked off the window's thread and the
// printers, qualities and preview fill in when it answers (Print pressed meanwhile prints then).
// Print sends the sheet on a thread of its own and closes the dialog once it has gone, Cancel
// closes it at once. It deletes itself when closed. The printer, its quality and where that was
// chosen are the caller's `currentPrinter`, which outlives the dialog.
class PrintDialog : public QDialog
{
    Q_OBJECT
public:
    PrintDialog(Platform &platform, const TextTable &texts, Printer &currentPrinter,
        PhotoSheetSource source, QWidget *parent = nullptr);
    ~PrintDialog() override;

    // What Print sends now: the current printer with its quality, the orientation shown and
    // the copies typed.
    PrintChoices choices() const;
    bool isPrinting() const { return m_printing; }

    // Makes the printer whose name matches, ignoring case, both the current printer and the
    // user's default printer; defaultPrinterMade tells whether it was.
    void makeDefaultPrinter(const QString &name);

    // While a job runs the dialog stays; Escape, like Cancel, waits for it.
    void done(int result) override;

signals:
    // The user asked for the sheet as a JPEG file instead; the dialog has closed.
    void exportInstead();
    // False when no printer matched or the switch failed.
    void defaultPrinterMade(bool made);

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createControls();
    void connectControls();
    void loadSequence();
    // The captions of Print and Cancel and their pictures, placed for their texts.
    void placeButtons();
    void showLandscape();
    void showPortrait();
    // One question at a time, as a bounded printing system refuses a call while another runs;
    // the answer reaches the dialog only while it exists.
    template<typename Query, typename Answered> void ask(Query query, Answered answered);
    void askNext();
    // The qualities and the paper of the printer the listing made current; a listing that
    // failed is shown once they are in.
    void askPrinterDetails(const std::optional<PrinterFailure> &silence);
    void fillQualityList();
    bool probeQuality(int16_t quality);
    void fillPrinterList(const PrinterListing &listing);
    void selectPrinter(const QString &text);
    void askPaper();
    // The orientation pictures show the page as it will print on the current printer.
    void showPreview(const PaperArea &paper);
    void selectQuality(int position);
    void liftButton(int index);
    void lowerButtons();
    void buttonClicked(int index);
    void startPrinting();
    void printingEnded();
    void showPrinting(bool printing);
    void reportFailure(const PrinterFailure &failure);
    // Without an answer from the printing system nothing can print: the dialog says so and
    // offers the export.
    void showSilence(const PrinterFailure &failure);

    Platform &m_platform;
    const TextTable &m_texts;
    Printer &m_printer;
    PhotoSheetSource m_source;
    QStringList m_printerNames;
    QQueue<std::function<void()>> m_questions;
    bool m_asking = false;
    bool m_printWhenAnswered = false;
    // What the printer current at loading takes, of the qualities the list offers.
    QString m_qualitiesOf;
    QList<int16_t> m_qualities;
    QImage m_previewPhoto;
    QFutureWatcher<std::optional<PrinterFailure>> m_job;
    QString m_titleBeforePrinting;
    QPointer<QWidget> m_focusBeforePrinting;
    bool m_printing = false; // until the job's end has been shown
    bool m_closeWhenPrinted = false;

    // Where the two buttons stand when not lifted under the pointer, in twips.
    std::array<int16_t, 2> m_captionHomeLeft {};
    std::array<int16_t, 2> m_captionHomeTop {};
    std::array<int16_t, 2> m_iconHomeLeft {};
    std::array<int16_t, 2> m_iconHomeTop {};

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
    QWidget *m_exportButton = nullptr;
    ShapeWidget *m_printerFrame = nullptr;
    ShapeWidget *m_orientationFrame = nullptr;
    ShapeWidget *m_copiesFrame = nullptr;
};
