#include "mainmenu.h"

#include "i18n/texttable.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionMenuItem>

#include <algorithm>

namespace {

// Qt's styles show a menu-bar item's icon instead of its title; this one shows the picture in
// front of the title, so the bar keeps its words.
class MenuBarStyle : public QProxyStyle
{
public:
    QSize sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
        const QWidget *widget) const override
    {
        const QStyleOptionMenuItem *item = type == CT_MenuBarItem ? pictured(option) : nullptr;
        return QProxyStyle::sizeFromContents(
            type, option, item ? contentSize(*item) : size, widget);
    }

    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
        const QWidget *widget) const override
    {
        const QStyleOptionMenuItem *item = element == CE_MenuBarItem ? pictured(option) : nullptr;
        if (!item) {
            QProxyStyle::drawControl(element, option, painter, widget);
            return;
        }
        // The style paints the background and the highlight, we the picture and the title.
        QStyleOptionMenuItem background(*item);
        background.icon = QIcon();
        background.text.clear();
        QProxyStyle::drawControl(element, &background, painter, widget);

        const bool enabled = item->state & State_Enabled;
        const bool active = (item->state & State_Selected) && (item->state & State_Sunken);
        const QRect content
            = alignedRect(item->direction, Qt::AlignCenter, contentSize(*item), item->rect);
        const QRect iconRect(content.left(), content.top(), IconSize, content.height());
        const QRect textRect(content.left() + IconSize + IconTextGap, content.top(),
            content.width() - IconSize - IconTextGap, content.height());
        drawItemPixmap(painter, visualRect(item->direction, content, iconRect), Qt::AlignCenter,
            item->icon.pixmap(QSize(IconSize, IconSize), painter->device()->devicePixelRatio(),
                enabled ? QIcon::Normal : QIcon::Disabled));
        int flags = Qt::AlignCenter | Qt::TextShowMnemonic | Qt::TextDontClip | Qt::TextSingleLine;
        if (!styleHint(SH_UnderlineShortcut, item, widget))
            flags |= Qt::TextHideMnemonic;
        const QPalette::ColorRole role = active
            ? (enabled ? QPalette::HighlightedText : QPalette::Text)
            : QPalette::ButtonText;
        drawItemText(painter, visualRect(item->direction, content, textRect), flags, item->palette,
            enabled, item->text, role);
    }

private:
    static constexpr int IconSize = 16;
    static constexpr int IconTextGap = 4;

    static const QStyleOptionMenuItem *pictured(const QStyleOption *option)
    {
        const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
        return item && !item->icon.isNull() && !item->text.isEmpty() ? item : nullptr;
    }
    static QSize contentSize(const QStyleOptionMenuItem &item)
    {
        const QSize text = item.fontMetrics.size(Qt::TextShowMnemonic, item.text);
        return QSize(IconSize + IconTextGap + text.width(), std::max(IconSize, text.height()));
    }
};

// Menu pictures are numbered 100 to 112 in the resources; 0 stands for none.
QIcon picture(int number)
{
    return number ? QIcon(QStringLiteral(":/menu/%1.png").arg(number)) : QIcon();
}

QAction *item(QMenu *menu, const char *name, const QString &caption, int pictureNumber = 0)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    action->setIcon(picture(pictureNumber));
    return action;
}

QMenu *menu(QMenuBar *bar, const char *name, const QString &title, int pictureNumber = 0)
{
    QMenu *menu = bar->addMenu(title);
    menu->setObjectName(QString::fromLatin1(name));
    menu->setIcon(picture(pictureNumber));
    return menu;
}

} // namespace

MainMenu::MainMenu(QMenuBar *bar)
{
    bar->setNativeMenuBar(false);
    auto *style = new MenuBarStyle;
    style->setParent(bar);
    bar->setStyle(style);
    // Qt greys a disabled item's picture itself.
    mnuFile = menu(bar, "mnuFile", QStringLiteral("&File"), 100);
    mnuOpen = item(mnuFile, "mnuOpen", QStringLiteral("&Open Photo..."), 101);
    mnuFile->addSeparator();
    mnuExport = item(mnuFile, "mnuExport", QStringLiteral("&Export to file..."), 102);
    mnuPrint = item(mnuFile, "mnuPrint", QStringLiteral("&Print Photo..."), 103);
    mnuFile->addSeparator();
    mnuExit = item(mnuFile, "mnuExit", QStringLiteral("&Exit"), 104);
    mnuOpen->setShortcut(QKeySequence::Open);
    mnuExport->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    mnuPrint->setShortcut(QKeySequence::Print);
    mnuExit->setShortcut(QKeySequence::Quit);

    mnuOption = menu(bar, "mnuOption", QStringLiteral("&Option"), 105);
    mnuLang = item(mnuOption, "mnuLang", QStringLiteral("&Lang..."), 106);
    mnuAddLang = item(mnuOption, "mnuAddLang", QStringLiteral("&Aggiungi lingua..."), 107);
    mnuOption->addSeparator();
    mnuUndo = item(mnuOption, "mnuUndo", QStringLiteral("&Undo"));
    mnuUndo->setShortcut(QKeySequence::Undo);
    mnuResetFit = item(mnuOption, "mnuResetFit", QStringLiteral("&Reset the fit"));
    mnuResetFit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    mnuFitFace = item(mnuOption, "mnuFitFace", QStringLiteral("&Fit to the face"), 112);
    mnuFitFace->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    mnuAutoFaceFit
        = item(mnuOption, "mnuAutoFaceFit", QStringLiteral("Fit the face &automatically"));
    mnuAutoFaceFit->setCheckable(true);
    mnuAutoFaceFit->setChecked(true);

    mnuDonate = bar->addAction(QStringLiteral("&Donate"));
    mnuDonate->setObjectName(QStringLiteral("mnuDonate"));
    mnuDonate->setIcon(picture(108));

    mnuGuida = menu(bar, "mnuGuida", QStringLiteral("&?"));
    mnuRelease = item(mnuGuida, "mnuRelease", QStringLiteral("&Release"), 109);
    mnuCheckUpdate = item(mnuGuida, "mnuCheckUpdate", QStringLiteral("&Check update..."), 110);
    mnuGuida->addSeparator();
    mnuInfo = item(mnuGuida, "mnuInfo", QStringLiteral("&Info..."), 111);
}

void MainMenu::applyTexts(const TextTable &texts)
{
    mnuFile->setTitle(texts.text(TextId::FileMenu));
    mnuOpen->setText(texts.text(TextId::OpenPhoto));
    mnuExport->setText(texts.text(TextId::ExportMenu));
    mnuPrint->setText(texts.text(TextId::PrintPhoto));
    mnuExit->setText(texts.text(TextId::Exit));
    mnuOption->setTitle(texts.text(TextId::OptionsMenu));
    mnuLang->setText(texts.text(TextId::Language));
    mnuAddLang->setText(texts.text(TextId::AddLanguage));
    // Lines an older language file may lack.
    mnuUndo->setText(texts.textOrEnglish(TextId::Undo));
    mnuResetFit->setText(texts.textOrEnglish(TextId::ResetFit));
    mnuFitFace->setText(texts.textOrEnglish(TextId::FitToFace));
    mnuAutoFaceFit->setText(texts.textOrEnglish(TextId::AutoFaceFit));
    mnuDonate->setText(texts.text(TextId::Donate));
    mnuGuida->setTitle(texts.text(TextId::HelpMenu));
    mnuRelease->setText(texts.text(TextId::ReleaseNotes));
    mnuCheckUpdate->setText(texts.text(TextId::CheckUpdate));
    mnuInfo->setText(texts.text(TextId::Info));
}
