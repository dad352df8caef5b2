#include "languagemenu.h"

std::optional<QString> languageFileFromPath(const QString &path)
{
    static const QString marker = QStringLiteral("/Lang/");
    const qsizetype at = path.lastIndexOf(marker, -1, Qt::CaseSensitive);
    if (at < 0)
        return std::nullopt;
    return path.mid(at + marker.size());
}
