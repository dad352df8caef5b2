#pragma once

#include "cropsource.h"

#include <QSize>
#include <QSizeF>

#include <cstdint>
#include <optional>

// The six fitting commands of the frame's buttons.
enum class PhotoCommand { ZoomIn, ZoomOut, Up, Down, Left, Right };

// The largest rectangle of the frame's proportions inside the photo, centred: the photo's
// height limits it when the photo is proportionally wider than the frame, its width
// otherwise. Nothing when a value does not fit 16 bits.
std::optional<CropRect> centreCrop(
    int photoWidth, int photoHeight, double frameWidth, double frameHeight);

// One pan step: half a per cent of the photo's side, rounded down.
double panStep(int photoSide);

// The crop rectangle and how many pan steps it stands from the centred position, each a
// 16-bit value.
struct CropState
{
    CropRect rect;
    int16_t panStepsX = 0;
    int16_t panStepsY = 0;
    Turn turn; // the rectangle is on the photo turned so
    // The wall continued beyond the photo's edges the fit needed, or why it could not be.
    ExtensionPtr extension;
    std::optional<BackgroundExtension::Why> notExtended;
    NewWall wall; // the colour behind the person
    friend bool operator==(const CropState &, const CropState &) = default;
};

// One command on a photo of the given pixel size in a frame of the given size in twips: the
// new state, or nothing when the photo's edges or a 16-bit limit refuse it. Zooming changes
// the rectangle by a hundredth of the frame and centres it by the pan counters; a move goes a
// pan step (floor(W / 200), floor(H / 200)) and counts it, towards the near edge only while more
// than one step is left. A counter at its 16-bit limit keeps its value while the move is made.
std::optional<CropState> applyCommand(
    PhotoCommand command, const CropState &state, const QSize &photo, const QSizeF &frame);
