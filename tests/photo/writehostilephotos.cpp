// Writes the hostile photo set, or with --seeds the tiny seed photos of the photo fuzzer,
// into the folder given.
#include "hostilephotos.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const bool seeds = argc == 3 && qstrcmp(argv[1], "--seeds") == 0;
    if (argc != 2 && !seeds) {
        std::fprintf(stderr, "usage: %s [--seeds] FOLDER\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[argc - 1]);
    if (!HostilePhotos::writeFiles(
            folder, seeds ? HostilePhotos::seeds() : HostilePhotos::corpus())) {
        std::fprintf(stderr, "cannot write into %s\n", argv[argc - 1]);
        return 1;
    }
    return 0;
}
