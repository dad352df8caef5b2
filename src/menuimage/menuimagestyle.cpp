#include "menuimagestyle.h"

#include <QPainter>
#include <QStyleOptionMenuItem>

#include <algorithm>

namespace {

const QStyleOptionMenuItem *iconAndText(const QStyleOption *option)
{
    const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
    return item && !item->icon.isNull() && !item->text.isEmpty() ? item : nullptr;
}

} // namespace

QSize MenuImageStyle::sizeFromContents(
    ContentsType type, const QStyleOption *option, const QSize &size, const QWidget *widget) const
{
    const QStyleOptionMenuItem *item = type == CT_MenuBarItem ? iconAndText(option) : nullptr;
    if (!item)
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    const int icon = pixelMetric(PM_SmallIconSize, option, widget);
    const QSize text = item->fontMetrics.size(Qt::TextShowMnemonic, item->text);
    const QSize contents(icon + IconTextGap + text.width(), std::max(icon, text.height()));
    return QProxyStyle::sizeFromContents(type, option, contents, widget);
}

void MenuImageStyle::install(QWidget *widget)
{
    if (!widget || qobject_cast<MenuImageStyle *>(widget->style()))
        return;
    auto *style = new MenuImageStyle;
    style->setParent(widget);
    widget->setStyle(style);
}

void MenuImageStyle::drawControl(ControlElement element, const QStyleOption *option,
    QPainter *painter, const QWidget *widget) const
{
    if (element == CE_MenuBarItem) {
        if (const QStyleOptionMenuItem *item = iconAndText(option)) {
            drawMenuBarItem(*item, painter, widget);
            return;
        }
    }
    const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
    if (element == CE_MenuItem && item && item->icon.isNull() && widget
        && widget->property(NoCheckMarksProperty).toBool()) {
        QStyleOptionMenuItem unchecked(*item);
        unchecked.checkType = QStyleOptionMenuItem::NotCheckable;
        unchecked.checked = false;
        unchecked.state &= ~(State_On | State_Off);
        QProxyStyle::drawControl(element, &unchecked, painter, widget);
        return;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

void MenuImageStyle::drawMenuBarItem(
    const QStyleOptionMenuItem &item, QPainter *painter, const QWidget *widget) const
{
    // The application's style paints the item's background and highlight, we its contents.
    QStyleOptionMenuItem background(item);
    background.icon = QIcon();
    background.text.clear();
    QProxyStyle::drawControl(CE_MenuBarItem, &background, painter, widget);

    const bool enabled = item.state & State_Enabled;
    const bool active = (item.state & State_Selected) && (item.state & State_Sunken);
    const int iconExtent = pixelMetric(PM_SmallIconSize, &item, widget);
    const QSize textSize = item.fontMetrics.size(Qt::TextShowMnemonic, item.text);
    const QSize contentSize(
        iconExtent + IconTextGap + textSize.width(), std::max(iconExtent, textSize.height()));
    const QRect content
        = QStyle::alignedRect(item.direction, Qt::AlignCenter, contentSize, item.rect);

    const QPixmap pixmap = item.icon.pixmap(QSize(iconExtent, iconExtent),
        painter->device()->devicePixelRatio(), enabled ? QIcon::Normal : QIcon::Disabled);
    const QRect iconRect(content.left(), content.top(), iconExtent, content.height());
    drawItemPixmap(
        painter, QStyle::visualRect(item.direction, content, iconRect), Qt::AlignCenter, pixmap);

    int flags = Qt::AlignCenter | Qt::TextShowMnemonic | Qt::TextDontClip | Qt::TextSingleLine;
    if (!styleHint(SH_UnderlineShortcut, &item, widget))
        flags |= Qt::TextHideMnemonic;
    const QRect textRect(
        iconRect.right() + 1 + IconTextGap, content.top(), textSize.width(), content.height());
    const QPalette::ColorRole role
        = active ? (enabled ? QPalette::HighlightedText : QPalette::Text) : QPalette::ButtonText;
    drawItemText(painter, QStyle::visualRect(item.direction, content, textRect), flags,
        item.palette, enabled, item.text, role);
}
