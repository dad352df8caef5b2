#pragma once

#include "i18n/texttable.h"
#include "onlinecopydialog.h"
#include "printdialog.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <optional>
#include <vector>

class PhotoDocument;
class Platform;
class Printer;
class Settings;
class WorkspaceView;

// What the main window makes of the fitted photo: the sheet's export, the online copy and
// printing. They need the photo's own pixels: asked before its decode has ended, a command runs
// once it has, under the busy pointer. A photo's failure that ends while a dialog waits for the
// user is told once that dialog has closed, not in a second wait inside the first.
class PhotoOutputs : public QObject
{
    Q_OBJECT
public:
    PhotoOutputs(Platform &platform, const TextTable &texts, Settings &settings,
        PhotoDocument &document, WorkspaceView &view, Printer &printer,
        const AskOnlineCopy &askOnlineCopy, QWidget *window);

    void exportSheet();
    void saveOnlineCopy();
    void openPrintDialog();
    // The print dialog while it is open.
    PrintDialog *printDialog() const { return m_printDialog; }

    // A new photo is shown: what was asked of the one before is dropped.
    void photoReplaced();
    void photoDecoded(bool decoded);
    void tellPhotoFailure(TextId text);
    void message(TextId text, const QString &suffix = QString());

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void whenDecoded(std::function<void()> command);
    // Print and export for a document that takes no prints: the online copy is offered.
    bool takesPrints();

    Platform &m_platform;
    const TextTable &m_texts;
    Settings &m_settings;
    PhotoDocument &m_document;
    WorkspaceView &m_view;
    Printer &m_printer;
    const AskOnlineCopy &m_askOnlineCopy;
    QWidget *m_window;
    std::vector<std::function<void()>> m_afterDecode;
    std::optional<TextId> m_untold;
    QPointer<PrintDialog> m_printDialog;
};
