#pragma once

#include "facefinder.h"

#include <QImage>
#include <QRectF>
#include <QSize>

#include <array>
#include <optional>
#include <vector>

struct ExtensionLimits
{
    // The strip along an edge, as a share of the photo's side across it.
    double depth = 0.06;
    // Spread (Y, Cb, Cr distance, 90th percentile) about the fit on a 120-pixel view, as
    // the background check measures and with its limit: walls with a camera's noise (up to
    // +-10 levels, JPEG at 90) beside the labelled portraits' heads measure 0.5-2.6 on photos
    // 500 pixels high or more, and 4.2-4.7 at +-10 on a 240-pixel one (refused: too little to
    // average); the tops of the four portraits as shot, all labelled busy, 20-104.
    double maxSpread = 3;
    // The person may cover at most this share of the edge's strip: a head filling two thirds
    // of the width still leaves wall enough either side to fit.
    double maxCovered = 0.75;
    // Hair across the edge over more than this share of the head's width (hair, ears and
    // all, 1.7 jaw widths) goes on beyond it: continuing the wall would cut it straight.
    double maxHairAcross = 0.15;
    // Wall and hair must differ by this much (RGB distance), as the top of the head's
    // measure needs.
    double minContrast = 18;
};

inline constexpr ExtensionLimits ExtensionDefaults {};

// A plain background continued beyond the photo's edges, for a fit that needs more room than
// the photo has. Each edge's strip of wall (the person left out) is modelled as a smooth field:
// per channel of Y, Cb and Cr a quadratic along the edge and the light's fall across it.
// Positions are stored as shares of the photo's width and height, so one measure serves the
// frame's picture and the print's full resolution alike.
class BackgroundExtension
{
public:
    enum class Refusal {
        NoFace, // too few landmarks to tell the person from the wall
        NotPlain, // the wall's spread about its smooth field is over the limit
        PersonAtEdge, // the head, the hair or the shoulders cover most of the edge
        LikeHair, // the wall is the hair's colour: the head's outline would be lost
    };
    struct Why
    {
        Qt::Edge edge = Qt::TopEdge;
        Refusal refusal = Refusal::NoFace;
        double figure = 0; // the spread, the share covered or the contrast measured
        friend bool operator==(const Why &, const Why &) = default;
    };

    // `picture` is the photo or a reduced copy of it, with `face` in its pixels. Nothing when
    // an asked edge cannot be continued; `why` then tells the first such edge and the reason.
    static std::optional<BackgroundExtension> measure(const QImage &picture, const FaceMarks &face,
        Qt::Edges edges, Why *why = nullptr, const ExtensionLimits &limits = ExtensionDefaults);

    Qt::Edges edges() const { return m_edges; }
    // The spread measured on each edge asked, for the message and the bench.
    double spread(Qt::Edge edge) const;
    // The smooth colour (no grain) at a point outside the photo, in the pixels of the picture
    // measured; a point inside gets the nearest edge's colour.
    QRgb at(QPointF point) const;
    // Fills the pixels of `target` that lie outside the photo: `target` shows the part `source`
    // (in the pixels of a photo of `photoSize`) of the extended photo. A faint grain of the
    // wall's own noise, from the position alone, so a render repeats pixel for pixel.
    void paintOutside(QImage &target, const QRectF &source, const QSize &photoSize) const;

private:
    struct Edge
    {
        // Y, Cb, Cr = c0 + c1 s + c2 s^2 + c3 t: s along the edge (-0.5 to 0.5 of the side),
        // t the depth into the photo as a share of the side across.
        std::array<std::array<double, 4>, 3> fit {};
        // The photo's own colour right at the edge, in bins along it, blended in near it.
        std::vector<std::array<double, 3>> rim;
        double spread = 0;
        std::array<double, 3> low {}, high {}; // the fit's range over the strip
    };
    // What a point's colour takes from its place along an edge and from its distance beyond.
    struct Along
    {
        std::array<double, 3> atEdge, shot;
    };
    struct Beyond
    {
        double fall, rim;
    };
    Along along(int edge, double s) const;
    static Beyond beyond(double outside, double depth);
    std::array<double, 3> colour(int edge, const Along &along, const Beyond &beyond) const;
    std::array<double, 3> colourAt(double x, double y) const; // shares of width and height

    Qt::Edges m_edges;
    std::array<std::optional<Edge>, 4> m_edge; // top, bottom, left, right
    QSizeF m_picture; // the size measured at, for `at`
    double m_depth = 0.06;
    std::array<double, 3> m_grain {}; // RGB noise per pixel of the picture measured
};
