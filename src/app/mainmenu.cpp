#include "mainmenu.h"

#include "i18n/texttable.h"
#include "photo/photoformat.h"
#include "web/links.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionMenuItem>
#include <QUndoStack>

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

MainMenu::MainMenu(QMenuBar *bar, QUndoStack &undoStack)
    : m_undoStack(&undoStack)
{
    bar->setNativeMenuBar(false);
    auto *style = new MenuBarStyle;
    style->setParent(bar);
    bar->setStyle(style);
    // Qt greys a disabled item's picture itself.
    fileMenu = menu(bar, "fileMenu", QStringLiteral("&File"), 100);
    openAction = item(fileMenu, "openAction", QStringLiteral("&Open Photo..."), 101);
    fileMenu->addSeparator();
    exportAction = item(fileMenu, "exportAction", QStringLiteral("&Export to file..."), 102);
    onlineCopyAction = item(fileMenu, "onlineCopyAction", TextTable().text(TextId::OnlineCopyMenu));
    printAction = item(fileMenu, "printAction", QStringLiteral("&Print Photo..."), 103);
    fileMenu->addSeparator();
    exitAction = item(fileMenu, "exitAction", QStringLiteral("&Exit"), 104);
    openAction->setShortcut(QKeySequence::Open);
    exportAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    printAction->setShortcut(QKeySequence::Print);
    // Ctrl+Q also where the desktop's own scheme has no quit key.
    QList<QKeySequence> quitKeys = QKeySequence::keyBindings(QKeySequence::Quit);
    if (!quitKeys.contains(QKeySequence(Qt::CTRL | Qt::Key_Q)))
        quitKeys.append(QKeySequence(Qt::CTRL | Qt::Key_Q));
    exitAction->setShortcuts(quitKeys);

    optionsMenu = menu(bar, "optionsMenu", QStringLiteral("&Option"), 105);
    languageAction = item(optionsMenu, "languageAction", QStringLiteral("&Lang..."), 106);
    addLanguageAction
        = item(optionsMenu, "addLanguageAction", QStringLiteral("&Aggiungi lingua..."), 107);
    optionsMenu->addSeparator();
    formatMenu = optionsMenu->addMenu(QStringLiteral("Fo&rmat"));
    formatMenu->setObjectName(QStringLiteral("formatMenu"));
    auto *formats = new QActionGroup(formatMenu);
    // A document of another size leaves every format unchecked.
    formats->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (std::size_t i = 0; i < formatActions.size(); ++i) {
        QAction *action = item(formatMenu, "", QString::fromLatin1(PhotoFormats[i].caption));
        action->setObjectName(QStringLiteral("formatAction%1").arg(i));
        action->setCheckable(true);
        action->setShortcut(QKeySequence(Qt::CTRL | (Qt::Key_1 + int(i))));
        formats->addAction(action);
        formatActions[i] = action;
    }
    documentAction = item(optionsMenu, "documentAction", QStringLiteral("&Document..."));
    documentAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    customSizeAction = item(optionsMenu, "customSizeAction", QStringLiteral("C&ustom size..."));
    customSizeAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D));
    makeUndoActions(QStringLiteral("&Undo"), QStringLiteral("&Redo"));
    resetFitAction = item(optionsMenu, "resetFitAction", QStringLiteral("&Reset the fit"));
    resetFitAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    fitFaceAction = item(optionsMenu, "fitFaceAction", QStringLiteral("&Fit to the face"), 112);
    fitFaceAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    straightenAction
        = item(optionsMenu, "straightenAction", QStringLiteral("S&traighten the head"));
    straightenAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    autoFaceFitAction
        = item(optionsMenu, "autoFaceFitAction", QStringLiteral("Fit the face &automatically"));
    autoFaceFitAction->setCheckable(true);
    autoFaceFitAction->setChecked(true);
    backgroundMenu = optionsMenu->addMenu(QStringLiteral("&Background"));
    backgroundMenu->setObjectName(QStringLiteral("backgroundMenu"));
    auto *walls = new QActionGroup(backgroundMenu);
    for (std::size_t i = 0; i < wallActions.size(); ++i) {
        wallActions[i] = item(backgroundMenu, "", QString());
        wallActions[i]->setObjectName(QStringLiteral("wallAction%1").arg(i));
        wallActions[i]->setCheckable(true);
        walls->addAction(wallActions[i]);
    }
    wallActions[0]->setChecked(true);

    donateAction = bar->addAction(QStringLiteral("&Donate"));
    donateAction->setObjectName(QStringLiteral("donateAction"));
    donateAction->setIcon(picture(108));

    helpMenu = menu(bar, "helpMenu", QStringLiteral("&?"));
    releaseNotesAction = item(helpMenu, "releaseNotesAction", QStringLiteral("&Release"), 109);
    checkUpdateAction
        = item(helpMenu, "checkUpdateAction", QStringLiteral("&Check update..."), 110);
    helpMenu->addSeparator();
    aboutAction = item(helpMenu, "aboutAction", QStringLiteral("&Info..."), 111);
}

void MainMenu::makeUndoActions(const QString &undo, const QString &redo)
{
    QAction *newUndo = m_undoStack->createUndoAction(optionsMenu, undo);
    QAction *newRedo = m_undoStack->createRedoAction(optionsMenu, redo);
    newUndo->setObjectName(QStringLiteral("undoAction"));
    newRedo->setObjectName(QStringLiteral("redoAction"));
    newUndo->setShortcut(QKeySequence::Undo);
    newRedo->setShortcut(QKeySequence::Redo);
    QAction *before = undoAction ? undoAction : resetFitAction;
    optionsMenu->insertActions(before, { newUndo, newRedo });
    delete std::exchange(undoAction, newUndo);
    delete std::exchange(redoAction, newRedo);
}

void MainMenu::connectWebPages(Platform &platform)
{
    for (const auto &[action, page] : { std::pair { addLanguageAction, WebPage::Languages },
             std::pair { donateAction, WebPage::Donate },
             std::pair { checkUpdateAction, WebPage::Program } })
        QObject::connect(action, &QAction::triggered, action,
            [&platform, page] { openWebPage(platform, page); });
    QObject::connect(releaseNotesAction, &QAction::triggered, releaseNotesAction,
        [&platform] { openReleaseNotes(platform); });
}

void MainMenu::applyTexts(const TextTable &texts)
{
    fileMenu->setTitle(texts.text(TextId::FileMenu));
    openAction->setText(texts.text(TextId::OpenPhoto));
    exportAction->setText(texts.text(TextId::ExportMenu));
    onlineCopyAction->setText(texts.text(TextId::OnlineCopyMenu));
    printAction->setText(texts.text(TextId::PrintPhoto));
    exitAction->setText(texts.text(TextId::Exit));
    optionsMenu->setTitle(texts.text(TextId::OptionsMenu));
    languageAction->setText(texts.text(TextId::Language));
    addLanguageAction->setText(texts.text(TextId::AddLanguage));
    formatMenu->setTitle(texts.text(TextId::FormatMenu));
    documentAction->setText(texts.text(TextId::DocumentMenu));
    customSizeAction->setText(texts.text(TextId::CustomSizeMenu));
    // Lines an older language file may lack.
    makeUndoActions(texts.text(TextId::Undo), texts.text(TextId::Redo));
    resetFitAction->setText(texts.text(TextId::ResetFit));
    fitFaceAction->setText(texts.text(TextId::FitToFace));
    autoFaceFitAction->setText(texts.text(TextId::AutoFaceFit));
    straightenAction->setText(texts.text(TextId::StraightenHead));
    backgroundMenu->setTitle(texts.text(TextId::BackgroundMenu));
    for (std::size_t i = 0; i < wallActions.size(); ++i)
        wallActions[i]->setText(texts.text(int(TextId::BackgroundAsShot) + int(i)));
    donateAction->setText(texts.text(TextId::Donate));
    helpMenu->setTitle(texts.text(TextId::HelpMenu));
    releaseNotesAction->setText(texts.text(TextId::ReleaseNotes));
    checkUpdateAction->setText(texts.text(TextId::CheckUpdate));
    aboutAction->setText(texts.text(TextId::Info));
}
