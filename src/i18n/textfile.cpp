#include "textfile.h"

#include "platform/paths.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <array>

namespace {

QString decodeWindows1252(const QByteArray &bytes)
{
    // 0x80-0x9F differ from Latin-1; 0 marks the five unassigned codes, kept as U+FFFD.
    static constexpr std::array<char16_t, 32> high
        = { 0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
              0x2039, 0x0152, 0, 0x017D, 0, 0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013,
              0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178 };
    QString text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        if (code >= 0x80 && code <= 0x9F) {
            const char16_t mapped = high[code - 0x80];
            text.append(QChar(mapped ? mapped : char16_t(0xFFFD)));
        } else {
            text.append(QChar(char16_t(code)));
        }
    }
    return text;
}

} // namespace

QString decodeText(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return decodeWindows1252(bytes);
}

QStringList splitLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype length = text.size();
    for (qsizetype i = 0; i < length; ++i) {
        if (text.at(i) != u'\r')
            continue;
        lines.append(text.mid(start, i - start));
        if (i + 1 < length && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < length)
        lines.append(text.mid(start));
    return lines;
}

std::optional<QStringList> readTextLines(const QString &path)
{
    // Only regular files: a folder or a pipe under the name must not block or fail oddly.
    QFile file(path);
    const bool resource = path.startsWith(u':'); // built in: no pipe can stand there
    if (!(resource ? file.open(QIODevice::ReadOnly) : openRegularFile(file, path)))
        return std::nullopt;
    const QByteArray bytes = file.read(MaximumTextFileBytes + 1);
    if (bytes.size() > MaximumTextFileBytes)
        return std::nullopt;
    return splitLines(decodeText(bytes));
}
