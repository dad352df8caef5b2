#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>

#include <optional>

// An icon or cursor container (the bytes of an .ico or .cur file): its directory read with
// every bound checked, the choice of one of its pictures and the decoding of that picture.
class IconContainer
{
public:
    enum class Type { Icon = 1, Cursor = 2 };

    struct Entry
    {
        int width = 0; // 1-256: a stored 0 means 256
        int height = 0;
        int bitCount = 0;
        qsizetype offset = 0;
        qsizetype size = 0;
        bool png = false;
    };

    // Two zero bytes and the type 1 or 2: the start of every icon or cursor container.
    static bool looksLikeContainer(const QByteArray &bytes);
    // Nothing when the header, the directory or any entry's data does not lie inside the bytes.
    static std::optional<IconContainer> parse(const QByteArray &bytes);

    Type type() const { return m_type; }
    const QList<Entry> &entries() const { return m_entries; }

    // Among the entries of the highest bit count, the one with the largest width + height
    // not above width + height; nothing when none fits.
    std::optional<qsizetype> chooseEntry(int width, int height) const;
    // The entry nearest the requested size, the deepest among equally near ones; how an icon
    // file is loaded at a given size, scaling when no picture has that size.
    std::optional<qsizetype> chooseNearestEntry(int width, int height) const;
    // The entry's picture as ARGB32; a null image when its data is damaged.
    QImage decodeEntry(qsizetype index) const;

private:
    IconContainer() = default;

    QByteArray m_bytes;
    Type m_type = Type::Icon;
    QList<Entry> m_entries;
};
