#include "look.h"

#include <QPalette>
#include <QWidget>

void installFontSubstitutions()
{
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Comic Sans MS"), QStringLiteral("Comic Neue"));
}

QFont designFont(const QString &family, double points, bool bold)
{
    QFont font(family);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QFont arialFont(double points, bool bold)
{
    return designFont(QStringLiteral("Arial"), points, bold);
}

QFont comicSansFont(double points, bool bold)
{
    return designFont(QStringLiteral("Comic Sans MS"), points, bold);
}

void setTextColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

QColor textColour(const QWidget *widget)
{
    return widget->palette().color(QPalette::WindowText);
}

void setBackground(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    palette.setColor(QPalette::Button, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void setColours(QWidget *widget, const QColor &text, const QColor &background, bool fillBackground)
{
    QPalette palette = widget->palette();
    for (auto role : { QPalette::WindowText, QPalette::Text, QPalette::ButtonText })
        palette.setColor(role, text);
    for (auto role : { QPalette::Window, QPalette::Base, QPalette::Button })
        palette.setColor(role, background);
    widget->setPalette(palette);
    if (fillBackground)
        widget->setAutoFillBackground(true);
}
