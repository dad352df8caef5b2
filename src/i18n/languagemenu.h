#pragma once

#include <QString>

#include <optional>

// The part of a chosen path after its last "/Lang/" (case-sensitive): the name the language
// file has in the program's own Lang folder. Nothing when the path does not lead through a
// folder named exactly "Lang", or goes on into a folder below it.
std::optional<QString> languageFileFromPath(const QString &path);

class LanguageSettings;
class Platform;
class QWidget;

// The language command's dialog over the program's Lang folder. A chosen file that can be read
// from there becomes the language; false when the dialog was cancelled.
bool chooseLanguageFile(Platform &platform, LanguageSettings &settings, QWidget *owner);
