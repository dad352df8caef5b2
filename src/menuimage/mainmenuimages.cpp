#include "mainmenuimages.h"

#include "clsmenuimage.h"

#include <QFile>

#include <array>

void putMainMenuImages(clsMenuImage &images)
{
    constexpr int FirstResource = 100;
    constexpr int ImageTotal = 13;
    std::array<int, ImageTotal> indexOf {};
    for (int i = 0; i < ImageTotal; ++i) {
        QFile resource(QStringLiteral(":/menu/%1.png").arg(FirstResource + i));
        const bool added
            = resource.open(QIODevice::ReadOnly) && images.AddImageFromStream(resource.readAll());
        indexOf[i] = added ? images.ImageCount() : -1;
    }

    struct Placement
    {
        int position;
        QList<int> path;
    };
    const std::array<Placement, ImageTotal> placements = { {
        { 0, {} }, // mnuFile
        { 0, { 0 } }, // mnuOpen
        { 2, { 0 } }, // mnuExport
        { 3, { 0 } }, // mnuPrint
        { 5, { 0 } }, // mnuExit
        { 1, {} }, // mnuOption
        { 0, { 1 } }, // mnuLang
        { 1, { 1 } }, // mnuAddLang
        { 2, {} }, // mnuDonate
        { 0, { 3 } }, // mnuRelease
        { 1, { 3 } }, // mnuCheckUpdate
        { 3, { 3 } }, // mnuInfo
        { 5, { 1 } }, // mnuFitFace
    } };
    for (int i = 0; i < ImageTotal; ++i)
        images.PutImageToVBMenu(indexOf[i], placements[i].position, placements[i].path);

    if (!images.IsWindowVistaOrLater()) {
        for (int menu = 0; menu < 4; ++menu)
            images.RemoveMenuCheckVB({ menu });
    }
}
