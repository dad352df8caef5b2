// Writes the hostile photo set into the folder given, to look at or to fuzz from.
#include "hostilephotos.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    if (!HostilePhotos::writeFiles(QString::fromLocal8Bit(argv[1]), HostilePhotos::corpus())) {
        std::fprintf(stderr, "cannot write into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
