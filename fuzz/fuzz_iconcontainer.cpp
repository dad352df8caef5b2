// Icon and cursor containers of the menu images: directory, choice of a picture, decoding.
#include "menuimage/iconcontainer.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    IconContainer::looksLikeContainer(bytes);
    const std::optional<IconContainer> container = IconContainer::parse(bytes);
    if (!container)
        return 0;
    for (const IconContainer::Entry &entry : container->entries())
        if (entry.offset < 0 || entry.size < 0 || entry.offset + entry.size > bytes.size())
            std::abort();
    for (const QSize wanted : { QSize(16, 16), QSize(20, 20), QSize(32, 32), QSize(256, 256) }) {
        for (const std::optional<qsizetype> chosen :
            { container->chooseEntry(wanted.width(), wanted.height()),
                container->chooseNearestEntry(wanted.width(), wanted.height()) }) {
            if (!chosen)
                continue;
            if (*chosen < 0 || *chosen >= container->entries().size())
                std::abort();
            container->decodeEntry(*chosen);
        }
    }
    return 0;
}
