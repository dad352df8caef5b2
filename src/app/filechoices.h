#pragma once

#include "export/sheetexport.h"

#include <QString>

class LanguageFiles;
class Platform;
class QWidget;
class Settings;
class TextTable;

// The open dialog for a photo, starting in the folder of the last one (the current folder the
// first time, remembered even when the dialog is cancelled); the folder of the file chosen is
// remembered. Empty when cancelled.
QString choosePhotoFile(
    Platform &platform, const TextTable &texts, Settings &settings, QWidget *owner);

// The language command's dialog over the program's Lang folder. A chosen file that can be read
// from there becomes the language; false when the dialog was cancelled.
bool chooseLanguageFile(Platform &platform, const TextTable &texts, const LanguageFiles &languages,
    Settings &settings, QWidget *owner);

// The file an export writes, or why there is none.
struct ExportTarget
{
    QString path; // empty when the user declined
    ExportOutcome declined = ExportOutcome::Cancelled;
};
// The save dialog for a JPEG, proposing a name, then whether an existing file may be replaced.
// It opens where the last one was saved in this run, the first time in the last photo's folder;
// the folder of a target taken is remembered.
ExportTarget askExportTarget(Platform &platform, const TextTable &texts, Settings &settings,
    QWidget *owner, const QString &fileName, const QString &dialogTitle);
