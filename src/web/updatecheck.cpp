#include "updatecheck.h"

#include "versionfetch.h"
#include "web/version.h"

#include <algorithm>

namespace {

constexpr qsizetype VersionTextLength = 9;

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

QString localVersionText(uint16_t major, uint16_t minor, uint16_t revision)
{
    auto part = [](uint16_t value) { return QStringLiteral("%1").arg(value, 3, 10, QChar(u'0')); };
    return part(major) + part(minor) + part(revision);
}

QString localVersionText()
{
    return localVersionText(ProgramVersion::Major, ProgramVersion::Minor, ProgramVersion::Revision);
}

bool isNewerRelease(const QString &remote, const QString &local)
{
    if (remote.size() != VersionTextLength)
        return false;
    // A captive portal or a damaged file can answer nine characters of anything; letters and
    // punctuation would sort after the digits and offer an update that does not exist.
    if (!std::all_of(remote.begin(), remote.end(), isDigit))
        return false;
    return QString::compare(remote, local, Qt::CaseSensitive) > 0;
}

QString updateQuestion(const QString &text)
{
    QString question = text;
    question.replace(QStringLiteral("<BR>"), QStringLiteral("\n\n"), Qt::CaseSensitive);
    return question;
}

bool newerReleasePublished(const QUrl &address)
{
    const std::optional<QString> remote = fetchVersionText(address);
    return remote && isNewerRelease(*remote, localVersionText());
}
