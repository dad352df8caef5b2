#pragma once

#include "cropsource.h"
#include "facefinder.h"
#include "photoformat.h"

#include <QImage>

#include <optional>
#include <vector>

// What a photo counter refuses, as far as the fitted photo shows it.
enum class PhotoCheck {
    NoSingleFace,
    FaceTurned, // turned aside: the landmarks are not sure enough to judge the rest
    HeadTilted,
    HeadOutsideRule,
    FaceNearEdge,
    EyesClosed,
    FaceTooDark,
    FaceTooBright,
    LitFromOneSide,
    BackgroundNotPlain,
    BackgroundTooDark,
};

struct CheckFailure
{
    PhotoCheck check;
    double value = 0; // the tilt in degrees for HeadTilted
    friend bool operator==(const CheckFailure &, const CheckFailure &) = default;
};

// Where each check draws its line. Brightness is the JPEG's luma (0-255).
struct CheckLimits
{
    // Most offices allow a head "straight", which their guides show as within a few degrees;
    // 2 degrees is the least a viewer notices in a level print.
    double maxTiltDegrees = 2;
    // The nose tip between the jaw's sides: 0.5 is frontal; beyond this share the face is
    // turned by roughly 25 degrees or more and the landmarks drift.
    double turnedSideShare = 0.3;
    // The eye's height over its width from its six points (the eye aspect ratio of blink
    // detection); open eyes give 0.25-0.35, closing ones fall below 0.2.
    double minEyeOpening = 0.18;
    // The face's mean luma: skin in a usable photo is seldom below this.
    double minFaceLuma = 75;
    // Burnt-out skin: the share of the face at the top of the scale.
    int clippedLuma = 250;
    double maxClippedShare = 0.08;
    // The halves' mean luma differing by more than this share of the brighter one is a
    // shadow across the face.
    double maxSideDifference = 0.25;
    // The mean gradient (Sobel, luma levels per pixel at a 240-pixel-high view) of the
    // background: a plain wall stays near 2-5; shelves, patterns and plants exceed it.
    double maxBackgroundTexture = 9;
    // Light grey, about 70 % of white, is the darkest background offices take.
    double minBackgroundLuma = 170;
    // The face's outermost landmarks keep this share of the photo's width from its sides.
    double minEdgeShare = 0.04;
};

inline constexpr CheckLimits PhotoCheckLimits {};

// The checks of the fitted photo `crop` (any size) whose one face, if any, has these marks in
// the crop's pixels. No failure means the photo passes.
std::vector<CheckFailure> checkPhoto(const QImage &crop, const std::optional<FaceMarks> &face,
    const FaceRule &rule, const CheckLimits &limits = PhotoCheckLimits);

// What the checks need of a fit: taken on the window's thread, checked on any other.
struct FitToCheck
{
    ClipImage clip;
    std::optional<FaceMarks> face; // on the photo as it is turned
    FaceRule rule;
    std::vector<CheckFailure> check(const CheckLimits &limits = PhotoCheckLimits) const;
};
