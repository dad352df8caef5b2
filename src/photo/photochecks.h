#pragma once

#include "cropsource.h"
#include "facefinder.h"
#include "photoformat.h"

#include <QImage>
#include <QSizeF>

#include <array>
#include <optional>
#include <vector>

// What a photo counter refuses, as far as the fitted photo shows it, in the order the note
// lists them: the head's size and place first.
enum class PhotoCheck {
    NoSingleFace,
    FaceTurned, // turned aside: the landmarks are not sure enough to judge the rest
    NoRoomAboveHead, // why the wall was not continued: 1 + BackgroundExtension::Refusal
    NoRoomAroundHead, // beside or below the head, likewise
    HeadHeightToSkull, // millimetres of print
    HeadHeightToHair,
    TopPlace, // millimetres below the top edge
    EyeLinePlace, // millimetres above the bottom edge
    HeadTopNotFound, // the figures above are from the landmarks' estimate
    FaceTooSmallToMeasure, // the same: too few pixels above the face to find its top
    FaceNearEdge,
    HeadTilted, // degrees, clockwise on the screen
    HeadTurned, // degrees, towards the photo's right
    HeadRaised, // degrees
    HeadLowered,
    EyesClosed, // the eyes' height over their width
    TeethShowing, // the mouth open with them is not said again
    MouthOpen,
    FaceTooDark,
    FaceTooBright,
    LitFromOneSide,
    BackgroundNotPlain, // luma levels
    BackgroundTooDark,
    BackgroundColoured,
    BackgroundWhite, // where the office forbids white: its luma
};

struct CheckFailure
{
    PhotoCheck check;
    double value = 0; // what was measured, in the check's unit
    double least = 0; // the range allowed, where the check has one
    double most = 0;
    friend bool operator==(const CheckFailure &, const CheckFailure &) = default;
};

// Where each check draws its line. Brightness is the JPEG's luma (0-255), colour its Cb and Cr
// about 128.
struct CheckLimits
{
    // Most offices allow a head "straight", which their guides show as within a few degrees;
    // 2 degrees is the least a viewer notices in a level print.
    double maxTiltDegrees = 2;
    // The nose tip between the jaw's sides: 0.5 is frontal; beyond this share the face is
    // turned by roughly 25 degrees or more and the landmarks drift.
    double turnedSideShare = 0.3;
    // ICAO's photo guidelines (ISO/IEC 19794-5) ask for a frontal pose within about 5
    // degrees; the pose fit reads frontal portraits within 0-6 degrees, so a turn past 8 is sure.
    double maxTurnDegrees = 8;
    // Raised or lowered: the same rule, but the nose's length and depth vary between people by
    // a few millimetres, which the fit reads as a few degrees of pitch (-4 to +4 on the
    // portraits of the tests).
    double maxPitchDegrees = 10;
    // The eye's height over its width from its six points (the eye aspect ratio of blink
    // detection): open eyes give 0.25-0.35, a smile narrows them to 0.17-0.25. Below this an
    // eye is shut whatever its pixels show.
    double shutEyeOpening = 0.1;
    // Below this the pixels decide: an open eye shows its iris and pupil, far darker than the
    // skin about the eye, where a shut lid is skin. The darkness is one minus the darkest
    // tenth's luma over that skin's median: open eyes 0.75-0.9, lids painted shut below 0.3.
    double narrowEyeOpening = 0.3;
    double minIrisDarkness = 0.4;
    // The gap between the inner lips over the mouth's width: lips at rest part by up to 0.05,
    // a smile or a speaking mouth by 0.12-0.2.
    double maxMouthGap = 0.1;
    // The landmarks part the lips of a closed smile too: an open mouth also shows its teeth or
    // its dark inside between them (60-100 % of those pixels), a closed one lips.
    double minMouthShowing = 0.3;
    // Teeth: pixels between the inner lips brighter than most of the face and than the lips,
    // and greyer than the skin, counted against the mouth's width squared: a smile that shows its
    // teeth gives 0.04-0.09, closed lips nothing.
    double maxTeethShare = 0.01;
    // The face's mean luma: skin in a usable photo is seldom below this.
    double minFaceLuma = 75;
    // Burnt-out skin: the share of the face at the top of the scale.
    int clippedLuma = 250;
    double maxClippedShare = 0.08;
    // The halves' mean luma differing by more than this share of the brighter one is a
    // shadow across the face.
    double maxSideDifference = 0.25;
    // The background once the light's smooth falloff is taken out (a quadratic of the place
    // fitted to luma and to chroma, at a 120-pixel-high view): 90 % of it lies within this
    // distance of it (levels of luma and chroma together). Evenly lit walls with sensor noise
    // measure 0.7-2.1; the mottled studio backdrop behind the tests' astronaut 4-10, a
    // painting 14-22, curtains and flags, blurred or not, 30-60.
    double maxBackgroundSpread = 3;
    // Light grey, about 70 % of white, is the darkest background offices take.
    double minBackgroundLuma = 170;
    // White to light grey: the median chroma's distance from grey. A cream wall measures about
    // 9, light blue 18, red curtains 40.
    double maxBackgroundTint = 10;
    // Above this a plain background reads as white: light grey stops at about 85 % of it.
    double minWhiteLuma = 225;
    // The face's outermost landmarks keep this share of the photo's width from its sides.
    double minEdgeShare = 0.04;
};

inline constexpr CheckLimits PhotoCheckLimits {};

// The fitted photo's print size, whether its crop touches the photo's top edge (the fit can
// place the head no lower in it), and what the office says of the background and the smile.
struct PrintFrame
{
    QSizeF millimetres;
    bool atPhotoTop = false; // the crop touches the photo's top edge
    bool whiteForbidden = false;
    bool teethAllowed = false;
    // Why the fit found no wall to continue beyond the photo, where it needed room.
    std::optional<BackgroundExtension::Why> notExtended;
};

// The head's pose from its landmarks, by fitting a generic face's points to them (scaled
// orthographic projection, which holds for a face a metre or more from the camera).
struct HeadPose
{
    double yaw = 0; // degrees, the face turned towards the photo's right
    double pitch = 0; // degrees, the chin raised
    double roll = 0; // degrees, clockwise on the screen
    double scale = 0; // photo pixels per millimetre of face
    double error = 0; // the points' mean distance from the fitted ones, in millimetres
};
// The generic face: landmark numbers and their places in millimetres (x towards the photo's
// right, y up, z towards the camera, the nose tip at the origin). Only points an expression
// leaves in place: eye corners and nose.
struct ModelPoint
{
    int landmark;
    double x, y, z;
};
extern const std::array<ModelPoint, 13> FaceModelPoints;
std::optional<HeadPose> headPose(const QList<QPointF> &points);

// What the checks measure; each failure carries one of these figures.
struct PhotoMeasures
{
    double noseShare = 0.5;
    double tilt = 0;
    HeadPose pose;
    std::array<double, 2> eyeOpening {}; // the eye left on the photo first
    std::array<double, 2> irisDarkness {};
    double mouthGap = 0;
    double mouthShowing = 0; // the share of the pixels between the lips that are teeth or dark
    double teethShare = 0;
    double faceLuma = 0;
    double clippedShare = 0;
    double sideDifference = 0; // a share of the brighter half
    double backgroundSpread = 0;
    double backgroundLuma = 0;
    double backgroundTint = 0;
    qsizetype backgroundPixels = 0; // at the view's size; none when the head fills the photo
};
// `crop` any size; the face's marks in its pixels.
PhotoMeasures measurePhoto(
    const QImage &crop, const FaceMarks &face, const CheckLimits &limits = PhotoCheckLimits);

// The checks of the fitted photo `crop` whose one face, if any, has these marks in the crop's
// pixels. No failure means the photo passes.
std::vector<CheckFailure> checkPhoto(const QImage &crop, const std::optional<FaceMarks> &face,
    const FaceRule &rule, const PrintFrame &frame, const CheckLimits &limits = PhotoCheckLimits);

// The checks' verdict on what was measured of a crop of that size with that face.
std::vector<CheckFailure> judgePhoto(const PhotoMeasures &measures, const FaceMarks &face,
    const QSize &crop, const FaceRule &rule, const PrintFrame &frame,
    const CheckLimits &limits = PhotoCheckLimits);

// What the checks need of a fit: taken on the window's thread, checked on any other.
struct FitToCheck
{
    ClipImage clip;
    std::optional<FaceMarks> face; // on the photo as it is turned
    FaceRule rule;
    PrintFrame frame;
    // The marks in the pixels of the crop checked, at the size it is checked.
    std::optional<FaceMarks> faceInCrop() const;
    QImage cropToCheck() const;
    std::vector<CheckFailure> check(const CheckLimits &limits = PhotoCheckLimits) const;
};
