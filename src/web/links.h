#pragma once

#include <QString>
#include <QUrl>

class Platform;

// The maker's web site; every page and the update file hang below it.
inline constexpr auto MakerSite = "http://www.kalmora.example";

enum class WebPage {
    Languages, // language files for the program
    Program, // the program's own page, where new releases are published
    Donate,
    Home,
};

QUrl webPageAddress(WebPage page);
QUrl updateFileAddress();
QString releaseNotesPath(const QString &programFolder);

// Hand an address or a file to the desktop's default handler. Nothing is reported: a missing
// file or a desktop without a handler simply opens nothing. Both return whether it was handed on.
bool openWebPage(Platform &platform, WebPage page);
bool openReleaseNotes(Platform &platform);
