#include "qtplatform.h"

#include "platform/filedialog.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLocale>
#include <QMessageBox>
#include <QStandardPaths>
#include <QThread>

int QtPlatform::messageBox(QWidget *owner, const QString &text, int style, const QString &title)
{
    QMessageBox box(owner);
    box.setWindowTitle(title);
    // Texts come from language files users share: a line that looks like HTML stays text.
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    switch (style & 0xF0) {
    case MessageBoxStyle::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case MessageBoxStyle::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case MessageBoxStyle::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageBoxStyle::Information:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        break;
    }
    if ((style & 0x0F) == MessageBoxStyle::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes ? MessageBoxAnswer::Yes : MessageBoxAnswer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return MessageBoxAnswer::Ok;
}

std::optional<QStringList> QtPlatform::fileDialog(const FileDialogRequest &request)
{
    QFileDialog dialog(request.owner, request.dialogTitle, request.initialDir);
    // Qt's own dialog behaves the same on every desktop and can be driven in tests.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // The commands ask their own replace question.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(request.openDialog ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    if (request.openDialog)
        dialog.setFileMode(request.flags & FileDialogAllowMultiSelect ? QFileDialog::ExistingFiles
                                                                      : QFileDialog::ExistingFile);
    else
        dialog.setFileMode(QFileDialog::AnyFile);

    const QStringList filters = qtNameFilters(request.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
            dialog.selectNameFilter(filters.at(request.filterIndex - 1));
    }
    QString suffix = request.defaultExt;
    suffix.remove(u'*');
    if (suffix.startsWith(u'.'))
        suffix.remove(0, 1);
    dialog.setDefaultSuffix(suffix);
    // A wildcard name ("*.jpg") only repeats the filter; a real name is proposed.
    if (!request.fileName.isEmpty() && !request.fileName.contains(u'*')
        && !request.fileName.contains(u'?'))
        dialog.selectFile(request.fileName);

    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    QStringList chosen = dialog.selectedFiles();
    for (QString &path : chosen)
        path = QDir::toNativeSeparators(path);
    return chosen;
}

bool QtPlatform::openUrl(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

QString QtPlatform::programFolder() const
{
    return QCoreApplication::applicationDirPath();
}

QString QtPlatform::userConfigFolder() const
{
    // The XDG rules say a relative XDG_CONFIG_HOME is to be ignored; Qt would take it as it
    // stands, relative to wherever the program happens to start.
    const QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!configHome.isEmpty() && QDir::isRelativePath(configHome))
        return QDir::homePath() + QStringLiteral("/.config/") + QCoreApplication::applicationName();
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
}

QString QtPlatform::localeLanguageCode() const
{
    return QLocale::languageToCode(QLocale::system().language()).toLower();
}

QString QtPlatform::currentDirectory() const
{
    return QDir::currentPath();
}

void QtPlatform::endProgram()
{
    // During start-up the main loop is not running yet and exit() alone would be forgotten;
    // the queued quit ends the loop as soon as it starts.
    if (QThread::currentThread()->loopLevel() == 0)
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
    else
        QCoreApplication::exit(0);
}

void QtPlatform::setBusy(bool busy)
{
    if (busy)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}
