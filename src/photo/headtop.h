#pragma once

#include "facefinder.h"

#include <QImage>
#include <QTransform>

// The top of the head is no landmark, so it is read from the pixels above the brows: along
// several columns across the head, each parted into background, hair and forehead where
// its colours change most; the background is what lies between the photo's top edge and the
// head, and the sides of the head tell it from hair that fills a column to the edge. The
// skull's top is estimated from the landmarks and the hair, never above the hair's top.
struct HeadTopLimits
{
    // Columns across the middle of the head, as a share of the distance between the eyes,
    // either side of the face's axis: the top of a head is flat there to within a pixel or two.
    double columnSpan = 0.35;
    // The head's colours differ from the background's by at least this (RGB distance, 0-441):
    // below it, hair and wall cannot be told apart and the top is not measured.
    double minContrast = 18;
    // Half the columns must agree, within this share of the eyes' distance, or the measure is
    // a guess.
    double maxSpread = 0.25;
    // Hair adds this share of the eyes' distance above the skull on the labelled portraits
    // (short hair 0.1, a bouffant 0.23); the skull is estimated that far below the hair's top.
    double hairThickness = 0.12;
    // Eyes closer than this (pixels of the photo) leave too few pixels for a measure.
    double minEyeDistance = 16;
};

inline constexpr HeadTopLimits HeadTopDefaults {};

// `picture` shows the face whose marks are in its pixels; the result is in the same pixels.
// The face's hairTop, skullTop and topFound are set; a face whose top cannot be found keeps
// the landmarks' estimate for both, with topFound NotFound or TooSmall.
FaceMarks withMeasuredTop(
    const QImage &picture, FaceMarks face, const HeadTopLimits &limits = HeadTopDefaults);
