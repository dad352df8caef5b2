#include "photooutputs.h"

#include "exportcommands.h"
#include "photo/photodocument.h"
#include "platform/platform.h"
#include "printdialog.h"
#include "workspaceview.h"

#include <QApplication>
#include <QEvent>
#include <QPalette>

PhotoOutputs::PhotoOutputs(Platform &platform, const TextTable &texts, Settings &settings,
    PhotoDocument &document, WorkspaceView &view, Printer &printer,
    const AskOnlineCopy &askOnlineCopy, QWidget *window)
    : QObject(window)
    , m_platform(platform)
    , m_texts(texts)
    , m_settings(settings)
    , m_document(document)
    , m_view(view)
    , m_printer(printer)
    , m_askOnlineCopy(askOnlineCopy)
    , m_window(window)
{
    window->installEventFilter(this);
}

bool PhotoOutputs::takesPrints()
{
    if (m_document.idDocument().takesPrints && !m_document.idDocument().isDigital())
        return true;
    if (m_platform.messageBox(m_window, m_texts.text(TextId::NoPrintsOfferOnlineCopy),
            MessageBoxStyle::Question | MessageBoxStyle::YesNo, m_texts.text(TextId::MessageTitle))
        == MessageBoxAnswer::Yes)
        saveOnlineCopy();
    return false;
}

void PhotoOutputs::message(TextId text, const QString &suffix)
{
    m_platform.messageBox(m_window, m_texts.text(text) + suffix, MessageBoxStyle::Exclamation,
        m_texts.text(TextId::MessageTitle));
}

void PhotoOutputs::tellPhotoFailure(TextId text)
{
    if (QApplication::activeModalWidget()) {
        m_untold = text;
        return;
    }
    message(text);
}

bool PhotoOutputs::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && event->type() == QEvent::WindowUnblocked && m_untold)
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (const std::optional<TextId> text = std::exchange(m_untold, std::nullopt))
                    tellPhotoFailure(*text);
            },
            Qt::QueuedConnection);
    return QObject::eventFilter(watched, event);
}

void PhotoOutputs::whenDecoded(std::function<void()> command)
{
    if (m_document.isPhotoComplete())
        return command();
    if (m_afterDecode.empty())
        m_platform.setBusy(true);
    m_afterDecode.push_back(std::move(command));
}

void PhotoOutputs::photoReplaced()
{
    if (!std::exchange(m_afterDecode, {}).empty())
        m_platform.setBusy(false);
}

void PhotoOutputs::photoDecoded(bool decoded)
{
    const std::vector<std::function<void()>> commands = std::exchange(m_afterDecode, {});
    if (!commands.empty())
        m_platform.setBusy(false);
    // The frame shows the photo's own pixels from now on, sharp also where it was enlarged.
    if (!decoded)
        return tellPhotoFailure(TextId::NotAPhoto);
    m_view.showClip(m_document.shown());
    for (const std::function<void()> &command : commands)
        command();
}

void PhotoOutputs::exportSheet()
{
    if (m_document.isLoaded() && !takesPrints())
        return;
    whenDecoded([this] {
        if (m_document.isLoaded() && !m_document.photo()->hasOwnPixels())
            return message(TextId::NotAPhoto);
        runSheetExport(m_platform, m_texts, m_settings, m_window, m_document.shown(),
            m_document.printMm(), QGuiApplication::palette().color(QPalette::Button));
    });
}

void PhotoOutputs::saveOnlineCopy()
{
    if (!m_document.isLoaded())
        return;
    whenDecoded([this] {
        if (!m_document.photo()->hasOwnPixels())
            return message(TextId::NotAPhoto);
        runOnlineCopyExport(m_platform, m_texts, m_settings, m_window, m_askOnlineCopy,
            m_document.shown(), m_document.idDocument());
    });
}

void PhotoOutputs::openPrintDialog()
{
    if (!m_document.isLoaded())
        return message(TextId::NothingToPrint);
    if (!takesPrints())
        return;
    whenDecoded([this] {
        if (!m_document.photo()->hasOwnPixels())
            return message(TextId::NotAPhoto);
        // A dialog closed a moment ago may still wait for its deletion: it is not reused.
        if (m_printDialog && m_printDialog->isVisible()) {
            m_printDialog->raise();
            m_printDialog->activateWindow();
            return;
        }
        PhotoSheetSource source;
        source.photoCrop = [this] { return m_document.photoCrop(); };
        source.printMm = [this] { return m_document.printMm(); };
        m_printDialog = new PrintDialog(m_platform, m_texts, m_printer, source, m_window);
        connect(m_printDialog, &PrintDialog::exportInstead, this, &PhotoOutputs::exportSheet);
    });
}
