#pragma once

#include "facefinder.h"

#include <QColor>
#include <QImage>
#include <QRectF>
#include <QSize>

#include <array>
#include <optional>
#include <vector>

struct ReplacementLimits
{
    // Spread (Y, Cb, Cr distance, 90th percentile) about the wall's smooth field on a 120-pixel
    // view, with the background check's own limit: walls with a camera's noise measure 0.5-2.6
    // there, the made walls of the tests (noise, light fall, JPEG) 1.3-1.6.
    double maxSpread = 3;
    // Things that are neither wall nor attached to the person (a second person, a picture on
    // the wall) may cover at most this share of the wall: they would be painted over.
    double maxStray = 0.003;
    // Hair or clothes' edge and wall must differ by this much (Y, Cb, Cr distance), or the
    // outline is a guess.
    double minContrast = 18;
    // Under this share of the photo the wall cannot be modelled.
    double minWall = 0.08;
};

// A plain wall behind the person replaced by a colour. The wall is modelled as a smooth field
// (per channel of Y, Cb and Cr a quadratic of the position); a trimap at the measured
// picture's resolution tells sure wall, sure person and the band between, where each pixel's
// share of person follows from its distance to the field. Positions are shares of the photo,
// so one measure serves the frame's picture and the print's full resolution alike.
class BackgroundReplacement
{
public:
    enum class Refusal {
        NoFace, // too few landmarks to tell the person from the wall
        NotPlain, // the wall varies too much about its smooth field: figure = spread (or, for
                  // a stray thing on the wall, the share of the wall it covers)
        LikePerson, // the wall is too close in colour to the hair, skin or clothes: figure =
                    // contrast
        TooLittleWall, // the person covers nearly all of the photo: figure = wall share
    };
    struct Why
    {
        Refusal refusal = Refusal::NoFace;
        double figure = 0;
        double limit = 0;
    };
    // `picture`: the upright photo or a reduced copy of it (the caller passes at most about
    // 1000 px on the long side), `face` in its pixels.
    static std::optional<BackgroundReplacement> measure(const QImage &picture,
        const FaceMarks &face, Why *why = nullptr, const ReplacementLimits &limits = {});
    // Replaces the wall in `target` (Format_RGB32), which shows the part `source` of the
    // upright photo (in the pixels of a photo of `photoSize`; `source` may reach beyond the
    // photo's edges: pixels outside the photo are wall) scaled to target's size, by `colour`.
    void paint(QImage &target, const QRectF &source, const QSize &photoSize, QColor colour) const;
    // For tests and the bench: the matte's alpha (0 wall .. 1 person) the paint would use
    // for `target` showing `source`, Format_Grayscale8.
    QImage alpha(const QImage &target, const QRectF &source, const QSize &photoSize) const;

private:
    enum Class : uchar { Wall = 0, Band = 128, Person = 255 };
    // Calls `pixel(j, i, fx, fy, contrast)` for every pixel of a target of `size` that is not
    // sure person, row by row: fx, fy its place as shares of the photo, contrast 0 for sure
    // wall, else the band's person-to-wall distance there.
    template<typename Pixel>
    void walk(QSize size, const QRectF &source, const QSize &photoSize, Pixel pixel) const;
    double alphaOf(QRgb shot, const std::array<double, 3> &wall, double contrast) const;
    std::array<double, 3> wallAt(double fx, double fy) const; // Y, Cb, Cr at shares of the photo

    QImage m_class; // Class per pixel of the picture measured, Format_Grayscale8
    std::vector<uchar> m_contrast; // in the band: the person's distance to the wall nearby
    std::array<std::array<double, 6>, 3> m_fit {}; // 1, u, v, u^2, uv, v^2; u, v from -0.5
    double m_noise = 0; // a wall pixel's distance to the field, 95th percentile
};
