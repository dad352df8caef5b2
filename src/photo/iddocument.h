#pragma once

#include "photoformat.h"

#include <QColor>
#include <QSize>
#include <QSizeF>
#include <QString>

#include <optional>

class QLocale;

// How a document's size is given.
enum class SizeUnit { Millimetre, Inch, Pixel };

// What an office takes as a file, where it takes one. Zero where the rule sets nothing.
struct FileRule
{
    int widthMin = 0; // pixels
    int widthMax = 0;
    int kbMin = 0; // KB of 1000 bytes
    int kbMax = 0;
    friend bool operator==(const FileRule &, const FileRule &) = default;
};

// The kinds the document list filters by; a document may be of several ("Passport and ID
// card", a visa's online form).
enum DocumentKind {
    PassportKind = 1,
    VisaKind = 2,
    IdCardKind = 4,
    DrivingLicenceKind = 8,
    OnlineKind = 16,
};

// What the photo is for: one of the band's formats, a document of the offices' table or a
// size the user typed.
struct IdDocument
{
    QString id; // empty for a format of the band
    QString country; // ISO 3166 code; "EU" for the Schengen states
    QString name; // the office's name of the document, as the table gives it
    QSizeF size; // in `unit`
    SizeUnit unit = SizeUnit::Millimetre;
    FaceRule rule;
    // The office gives one head height, a target rather than a range (the rule widens it).
    bool headTarget = false;
    QString background; // the office's words for it
    bool whiteForbidden = false; // France asks for any light colour but white
    bool takesPrints = true;
    FileRule file;
    bool glassesAllowed = true;
    bool teethAllowed = true; // a smile with teeth
    QString source; // the office's page, or where the facts come from
    QString asOf; // when the rules were read, as the table gives it
    int kinds = 0; // DocumentKind flags

    // The size of one print in millimetres. A document given in pixels has no print; its frame
    // is drawn as one of DigitalPrintHeight in its proportions.
    QSizeF printMm() const;
    // A document given in pixels: that size; otherwise empty.
    QSize pixels() const;
    bool isDigital() const { return unit == SizeUnit::Pixel; }
    // The band's format of this print size, or -1.
    int bandFormat() const;
    // The colour the office's words for the background name, the one a check passes first
    // where they name several; nothing where they name none.
    std::optional<QRgb> backgroundColour() const;
};

// The plain colours a wall can be replaced by.
inline constexpr QRgb WhiteWall = 0xffffffff;
inline constexpr QRgb LightGreyWall = 0xffd0d0d0; // about 80 % of white: light grey to offices

// A digital document's frame is this tall, so it looks like a passport photo.
inline constexpr double DigitalPrintHeight = 45; // mm

// The band's format as a document: its size, its rule and its caption as the name.
IdDocument formatDocument(int formatIndex);

// The frame for a print size at 100 twips per millimetre; a print larger than the design's
// largest frame (50.8 mm wide, 70 mm tall) is drawn smaller in its proportions.
QSizeF frameTwipsFor(const QSizeF &printMm);
inline constexpr double LargestFrameWidth = 5080; // twips
inline constexpr double LargestFrameHeight = 7000;

// "50 x 70 mm", "2 x 2 in", "600 x 600 px": how a size is shown, numbers with the locale's
// decimal separator.
QString sizeText(const IdDocument &document, const QLocale &locale);

// What a head range is measured to.
enum class HeadMeasure { Crown, Hair };

// An office's head rule in the unit of the document's height (a percentage of it where
// `percent`); zero where the rule gives nothing. A single value (min = max) is a target, not a
// range: the rule allows 4 % of the height either side.
struct HeadRuleFacts
{
    double headMin = 0, headMax = 0;
    bool percent = false;
    HeadMeasure measure = HeadMeasure::Crown;
    double eyeFromBottomMin = 0, eyeFromBottomMax = 0;
    double topMarginMin = 0, topMarginMax = 0;
};
// The rule as shares of the height. Without a head range the ICAO 70-80 % holds (a square
// 50-69 %); without an eye line or a top margin the top lies 0.4 of the room left above the
// head, as it does on 35 x 45 mm. Nothing when the head cannot fit the height. Without the
// width the photo counts as a portrait.
std::optional<FaceRule> faceRuleFor(double height, const HeadRuleFacts &facts, double width = 0);

// A size the user typed, with a head range to the crown in the same unit. Its id says it all
// ("custom 26 32 mm 23 27"), so it is stored as a document's id is.
std::optional<IdDocument> customDocument(
    const QSizeF &size, SizeUnit unit, double headMin, double headMax);
// The custom size an id of customDocument() stands for; nothing for any other text.
std::optional<IdDocument> customDocument(const QString &id);
inline constexpr double SmallestCustomMm = 10;
inline constexpr double LargestPrintMm = 300;

// The kinds a document's name and unit tell.
int documentKinds(const QString &name, SizeUnit unit);

// A country's name in a language (two-letter code), from the Unicode consortium's locale data;
// the code itself where there is none.
QString countryName(const QString &code, const QString &languageCode);
