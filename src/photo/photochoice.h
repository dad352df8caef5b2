#pragma once

#include <QString>

class LanguageSettings;
class Platform;
class QWidget;

// Asks for a photo in the open dialog, starting in the folder of the last one (the current
// folder the first time), and remembers the folder of the file chosen. Empty when cancelled.
QString choosePhotoFile(Platform &platform, LanguageSettings &settings, QWidget *owner);
