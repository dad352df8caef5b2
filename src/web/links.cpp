#include "links.h"

#include "platform/paths.h"
#include "platform/platform.h"

#include <QFileInfo>

namespace {

QUrl siteAddress(const char *path)
{
    return QUrl(QString::fromLatin1(MakerSite) + QString::fromLatin1(path));
}

} // namespace

QUrl webPageAddress(WebPage page)
{
    switch (page) {
    case WebPage::Languages:
        return siteAddress("/languages.html");
    case WebPage::Program:
        return siteAddress("/kalmora.html");
    case WebPage::Donate:
        return siteAddress("/donate.html");
    case WebPage::Home:
        break;
    }
    return siteAddress("/");
}

QUrl updateFileAddress()
{
    return siteAddress("/Software/ver_klm.txt");
}

QString releaseNotesPath(const QString &programFolder)
{
    return dataFolder(programFolder) + QStringLiteral("/Versioni.txt");
}

bool openWebPage(Platform &platform, WebPage page)
{
    return platform.openUrl(webPageAddress(page));
}

bool openReleaseNotes(Platform &platform)
{
    const QString path = releaseNotesPath(platform.programFolder());
    // Handed a missing file, some desktops put up an error of their own; the program stays quiet.
    if (!QFileInfo(path).isFile())
        return false;
    return platform.openUrl(QUrl::fromLocalFile(path));
}
