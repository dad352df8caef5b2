#pragma once

#include "cropsource.h"

#include <cstdint>
#include <functional>
#include <optional>

// The largest rectangle of the frame's proportions inside the photo, centred: the photo's
// height limits it when the photo is proportionally wider than the frame, its width
// otherwise. Nothing when a value does not fit 16 bits.
std::optional<CropRect> centreCrop(
    int photoWidth, int photoHeight, double frameWidth, double frameHeight);

// One pan step: half a per cent of the photo's side, rounded down.
double panStep(int photoSide);

// What the six move and zoom commands work on. The steps are derived afresh on every press:
// pan steps of floor(W / 200) and floor(H / 200) photo pixels, zoom steps of FW / 100 and
// FH / 100.
struct CropContext
{
    CropSource &clip;
    double frameWidth; // FW, twips
    double frameHeight; // FH, twips
    int16_t &panStepsX;
    int16_t &panStepsY;
    std::function<void(const ClipImage &)> showClip; // the frame shows the clip image
};

void zoomIn(CropContext &context);
void zoomOut(CropContext &context);
void moveUp(CropContext &context);
void moveDown(CropContext &context);
void moveLeft(CropContext &context);
void moveRight(CropContext &context);
