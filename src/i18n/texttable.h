#pragma once

#include <QString>
#include <QStringList>

#include <array>

// The interface texts: entry k (1-100) is line k of the current language file without its
// three-character prefix. Entries beyond the last line of a newer file keep older texts.
class TextTable
{
public:
    static constexpr int LastEntry = 100;
    static constexpr int PrefixLength = 3;

    QString text(int k) const;
    void setText(int k, const QString &text);
    // Lines shorter than the prefix leave their entry unchanged; lines after 100 are ignored.
    void applyLines(const QStringList &lines);

private:
    std::array<QString, LastEntry + 1> m_entries;
};
