#pragma once

#include "platform/units.h"

#include <QRectF>
#include <QString>

class QWidget;

// Controls keep their geometry in twips as the logic computes it (floating point); this is
// the one place where it becomes pixels, Qt scales for high-density screens.
using Units::TwipsPerPixel;

int twipsToPixels(double twips);
QRectF twipsGeometry(const QWidget *widget);
void setTwipsGeometry(QWidget *widget, const QRectF &twips);
void moveTwips(QWidget *widget, const QPointF &topLeft);
void resizeTwips(QWidget *widget, const QSizeF &size);
// Names a control and puts it at its design geometry.
template<typename Widget>
Widget *placeTwips(Widget *widget, const QString &name, const QRectF &twips)
{
    widget->setObjectName(name);
    setTwipsGeometry(widget, twips);
    return widget;
}

// Sizes a label to its text, keeping its top-left corner (a longer text widens it rightwards).
void autoSizeTwips(QWidget *widget);
