// Writes the hostile photo set into the folder given, to look at or to feed a fuzzer.
#include "hostilephotos.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    if (!HostilePhotos::writeCorpus(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "cannot write into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
