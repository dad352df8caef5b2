#pragma once

#include <QString>

#include <cstdint>

class QUrl;

// The version as the update file writes it: three digits per part, nine digits in all.
QString localVersionText(uint16_t major, uint16_t minor, uint16_t revision);
QString localVersionText();

// Only a nine-digit text can name a release; it is newer when it sorts after the local text
// character by character, which for nine digits is the numeric order.
bool isNewerRelease(const QString &remote, const QString &local);

// The question text with every "<BR>" marker turned into an empty line.
QString updateQuestion(const QString &text);

// Fetches the published version from the update address: true when it names a newer release.
// Every failure of the fetch gives false.
bool newerReleasePublished(const QUrl &address);
