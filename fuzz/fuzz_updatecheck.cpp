// The answer of the update server against the program's own version.
#include "web/updatecheck.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // As the fetch hands it over: the body's bytes as Latin-1.
    const QString remote
        = QString::fromLatin1(reinterpret_cast<const char *>(data), qsizetype(size));
    static const QString local = localVersionText();
    if (!isNewerRelease(remote, local))
        return 0;
    // Only nine digits above our own version count as a newer release.
    bool number = false;
    const qlonglong value = remote.toLongLong(&number);
    if (remote.size() != 9 || !number || remote.startsWith(u'+') || remote.startsWith(u'-')
        || value <= local.toLongLong())
        std::abort();
    return 0;
}
