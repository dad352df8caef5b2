#pragma once

#include <QColor>
#include <QFont>

class QWidget;

// The colours the three windows share; a colour only one window uses stays with it.
namespace Look {
inline const QColor Window(64, 64, 64);
inline const QColor Line(128, 128, 128);
inline const QColor Text(224, 224, 224);
inline const QColor Bright(255, 255, 255);
} // namespace Look

// Makes "Arial" and "Comic Sans MS" resolve to their free look-alikes, Liberation Sans and
// Comic Neue, for every font the program makes from then on. Called once at start.
void installFontSubstitutions();

// Design fonts in points, in the families the design names.
QFont designFont(const QString &family, double points, bool bold = false);
QFont arialFont(double points, bool bold = false);
QFont comicSansFont(double points, bool bold = false);

void setTextColour(QWidget *widget, const QColor &colour);
QColor textColour(const QWidget *widget);
void setBackground(QWidget *widget, const QColor &colour);
// Text and background for every role a label, list or button paints with.
void setColours(
    QWidget *widget, const QColor &text, const QColor &background, bool fillBackground = true);
