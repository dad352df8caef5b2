#pragma once

#include <QString>

#include <cstdint>

class Platform;
class QUrl;
class QWidget;
class TextTable;

// The version as the update file writes it: three digits per part, nine digits in all.
QString localVersionText(uint16_t major, uint16_t minor, uint16_t revision);
QString localVersionText();

// Only a nine-digit text can name a release; it is newer when it sorts after the local text
// character by character, which for nine digits is the numeric order.
bool isNewerRelease(const QString &remote, const QString &local);

// The question text with every "<BR>" marker turned into an empty line.
QString updateQuestion(const QString &text);

// Fetches the published version from the update address and, when it is newer,
// asks whether to open the program's page. True when the user said Yes; every failure of the
// fetch is silent and gives false.
bool offerUpdate(Platform &platform, const QUrl &address, QWidget *owner, const TextTable &texts);
