#pragma once

#include "cropsource.h"
#include "facefinder.h"
#include "photoformat.h"

#include <QList>
#include <QRectF>

// The rectangle of the frame's aspect that puts the face where the rule wants it, centred on
// the face; when that would leave the photo, the nearest one inside it (no larger than the
// photo), or inside the room the wall continued beyond the `extendable` edges gives. Nothing
// when the face has no height. On a turned photo the face's marks are the turned ones, and
// the rectangle stays where the turned photo covers it.
std::optional<CropRect> faceCrop(int photoWidth, int photoHeight, double frameWidth,
    double frameHeight, const FaceMarks &face, const FaceRule &rule, const Turn &turn = {},
    Qt::Edges extendable = {});

// The turn that levels the face's eye line, about the eyes' centre.
Turn levellingTurn(const FaceMarks &face);

// The pan counters nearest a rectangle, so the next zoom, which centres by them, stays put.
struct PanSteps
{
    int16_t x = 0;
    int16_t y = 0;
};
PanSteps panStepsFor(const CropRect &rect, int photoWidth, int photoHeight);

// The bands a rule allows, as fractions of the frame's height from the top: the crown and
// the chin for portrait formats, the eye line for square ones.
struct GuideBand
{
    double top;
    double bottom;
};
QList<GuideBand> guideBands(const FaceRule &rule);

// The oval a head fitted by the rule fills, in a frame of this size (same units, from the
// frame's top-left): as high as the rule's target head, three quarters as wide, its top at
// the target crown line, or, in square formats, its middle at the target eye line.
QRectF faceOval(const FaceRule &rule, const QSizeF &frame);
