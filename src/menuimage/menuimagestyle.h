#pragma once

#include <QProxyStyle>

class QStyleOptionMenuItem;

// The application's style with two changes for menus that carry images: a menu-bar item
// with an icon shows it in front of its text (the styles would show the icon instead of the
// text), and a menu marked without check marks draws none. A checked item with an image
// then shows only its image in the frame the style draws around it.
class MenuImageStyle : public QProxyStyle
{
    Q_OBJECT
public:
    MenuImageStyle() = default;

    QSize sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
        const QWidget *widget) const override;
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
        const QWidget *widget) const override;

    // Gives the widget this style unless it has it already; the style belongs to the widget.
    static void install(QWidget *widget);
    // The dynamic property that marks a menu without check marks.
    static constexpr char NoCheckMarksProperty[] = "noCheckMarks";
    // Space between the icon and the text on the menu bar.
    static constexpr int IconTextGap = 4;

private:
    void drawMenuBarItem(
        const QStyleOptionMenuItem &item, QPainter *painter, const QWidget *widget) const;
};
