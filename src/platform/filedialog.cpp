#include "filedialog.h"

#include <QDir>

namespace {
constexpr int FileNameBufferLength = 256;
}

QString showFileDialog(Platform &platform, FileDialogRequest request)
{
    if (request.initialDir.isEmpty())
        request.initialDir = platform.currentDirectory();
    // The classic dialog record holds 256 characters for the name; a longer one is cut.
    request.fileName = stripAtNul(request.fileName).left(FileNameBufferLength);

    const std::optional<QStringList> chosen = platform.fileDialog(request);
    if (!chosen || chosen->isEmpty())
        return QString();
    if (!(request.flags & FileDialogAllowMultiSelect))
        return stripAtNul(chosen->first());
    return chosen->join(QChar(u'\0'));
}

QString stripAtNul(const QString &text)
{
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return nul < 0 ? text : text.left(nul);
}

QStringList qtNameFilters(const QString &filter)
{
    QString text = filter;
    while (text.endsWith(QChar(u'\0')))
        text.chop(1);
    if (text.isEmpty())
        return {};
    const bool nulPairs = text.contains(QChar(u'\0'));
    if (!nulPairs && !text.contains(u'|'))
        return text.split(QStringLiteral(";;"), Qt::SkipEmptyParts);
    const QChar pairSeparator = nulPairs ? QChar(u'\0') : QChar(u'|');

    const QStringList parts = text.split(pairSeparator);
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts.at(i + 1);
        patterns.replace(u';', u' ');
        filters.append(parts.at(i) + QStringLiteral(" (") + patterns + u')');
    }
    if (parts.size() % 2 == 1) // a description without patterns still names the list
        filters.append(parts.last());
    return filters;
}
