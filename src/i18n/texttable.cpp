#include "texttable.h"

#include "platform/resources.h"
#include "textfile.h"

#include <algorithm>

QString TextTable::text(int k) const
{
    if (k < 1 || k > LastEntry)
        return QString();
    return m_entries[k];
}

QString TextTable::textOrEnglish(TextId id) const
{
    const QString own = text(id);
    if (!own.isEmpty())
        return own;
    static const TextTable english = [] {
        initResources();
        TextTable table;
        table.applyLines(
            readTextLines(QStringLiteral(":/lang/english.lng")).value_or(QStringList()));
        return table;
    }();
    return english.text(id);
}

void TextTable::setText(int k, const QString &text)
{
    if (k >= 1 && k <= LastEntry)
        m_entries[k] = text;
}

void TextTable::applyLines(const QStringList &lines)
{
    const qsizetype count = std::min<qsizetype>(lines.size(), LastEntry);
    for (qsizetype i = 0; i < count; ++i) {
        const QString &line = lines.at(i);
        if (line.size() >= PrefixLength && line.size() <= MaximumLine)
            m_entries[i + 1] = line.mid(PrefixLength);
    }
}
