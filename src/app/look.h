#pragma once

#include <QColor>
#include <QFont>

class QWidget;

// The windows' shared look: design fonts in points and palette colours.
QFont designFont(const QString &family, double points, bool bold = false);
void setTextColour(QWidget *widget, const QColor &colour);
QColor textColour(const QWidget *widget);
void setBackground(QWidget *widget, const QColor &colour);
// Text and background for every role a label, list or button paints with.
void setColours(QWidget *widget, const QColor &text, const QColor &background,
                bool fillBackground = true);
