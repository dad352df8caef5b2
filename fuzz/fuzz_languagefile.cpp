// Language files: decoding (UTF-8 or Windows-1252), line splitting and the text table.
#include "i18n/textfile.h"
#include "i18n/texttable.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes
        = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString text = decodeText(bytes);
    const QStringList lines = splitLines(text);
    TextTable table;
    table.applyLines(lines);
    for (int k = 1; k <= TextTable::LastEntry; ++k) {
        // An entry is its line without the prefix; a line over the cap gives none.
        const bool used = k <= lines.size() && lines[k - 1].size() >= TextTable::PrefixLength
            && lines[k - 1].size() <= TextTable::MaximumLine;
        if (table.has(k) != used
            || (used && table.text(k) != lines[k - 1].mid(TextTable::PrefixLength)))
            std::abort();
    }
    return 0;
}
