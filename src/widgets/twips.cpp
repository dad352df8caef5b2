#include "twips.h"

#include "platform/rounding.h"

#include <QVariant>
#include <QWidget>
#include <algorithm>

namespace {
constexpr auto TwipsProperty = "twips";
}

int twipsToPixels(double twips)
{
    return int(roundHalfEven(twips / TwipsPerPixel));
}

QRectF twipsGeometry(const QWidget *widget)
{
    const QVariant stored = widget->property(TwipsProperty);
    if (stored.isValid())
        return stored.toRectF();
    const QRect px = widget->geometry();
    return QRectF(px.x() * TwipsPerPixel, px.y() * TwipsPerPixel, px.width() * TwipsPerPixel,
        px.height() * TwipsPerPixel);
}

void setTwipsGeometry(QWidget *widget, const QRectF &twips)
{
    widget->setProperty(TwipsProperty, twips);
    // Rounding the edges rather than the sizes keeps abutting controls abutting.
    const int left = twipsToPixels(twips.left());
    const int top = twipsToPixels(twips.top());
    const int right = twipsToPixels(twips.left() + twips.width());
    const int bottom = twipsToPixels(twips.top() + twips.height());
    widget->setGeometry(left, top, std::max(0, right - left), std::max(0, bottom - top));
}

void moveTwips(QWidget *widget, const QPointF &topLeft)
{
    QRectF twips = twipsGeometry(widget);
    twips.moveTopLeft(topLeft);
    setTwipsGeometry(widget, twips);
}

void resizeTwips(QWidget *widget, const QSizeF &size)
{
    QRectF twips = twipsGeometry(widget);
    twips.setSize(size);
    setTwipsGeometry(widget, twips);
}

void autoSizeTwips(QWidget *widget)
{
    const QSize hint = widget->sizeHint();
    resizeTwips(widget, QSizeF(hint.width() * TwipsPerPixel, hint.height() * TwipsPerPixel));
}
