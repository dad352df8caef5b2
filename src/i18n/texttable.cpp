#include "texttable.h"

#include "platform/resources.h"
#include "textfile.h"

#include <algorithm>

QString TextTable::text(int k) const
{
    if (k < 1 || k > LastEntry)
        return QString();
    if (m_entries[k] || k < FirstLaterLine)
        return m_entries[k].value_or(QString());
    static const TextTable english = [] {
        initResources();
        TextTable table;
        table.applyLines(
            readTextLines(QStringLiteral(":/lang/english.lng")).value_or(QStringList()));
        return table;
    }();
    return english.m_entries[k].value_or(QString());
}

bool TextTable::has(int k) const
{
    return k >= 1 && k <= LastEntry && m_entries[k].has_value();
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
