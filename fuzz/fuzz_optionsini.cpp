// options.ini as read at start-up.
#include "i18n/settings.h"
#include "i18n/textfile.h"
#include "photo/photoformat.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes
        = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const OptionsIni options = parseOptionsIni(splitLines(decodeText(bytes)));
    // Whatever was read can be written back and read again to the same values.
    const QString language = options.languageFileName.value_or(QString());
    const QString folder = options.lastPhotoFolder.value_or(QString());
    const bool lineSafe = !language.contains(u'\r') && !folder.contains(u'\r');
    const int format = options.formatIndex && isPhotoFormatIndex(*options.formatIndex)
        ? *options.formatIndex
        : 0;
    const bool faceFit = options.autoFaceFit.value_or(true);
    const OptionsIni again = parseOptionsIni(
        splitLines(decodeText(formatOptionsIni(language, format, folder, faceFit))));
    if (lineSafe
        && (again.languageFileName.value_or(QString()) != language || again.formatIndex != format
            || again.autoFaceFit != faceFit))
        std::abort();
    return 0;
}
