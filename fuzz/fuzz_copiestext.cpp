// The copies box of the print dialog.
#include "print/copiestext.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    leadingNumber(text);
    const CopiesRequest request = copiesFromText(text);
    if (request.kind == CopiesRequest::Kind::Set
        && (request.copies < 1 || request.copies > MaxCopies))
        std::abort();
    return 0;
}
