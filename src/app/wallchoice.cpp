#include "wallchoice.h"

#include "checknote.h"
#include "i18n/texttable.h"
#include "mainmenu.h"
#include "photo/photodocument.h"
#include "platform/platform.h"

#include <QAction>
#include <QMenu>

void connectWallChoices(MainMenu &menu, PhotoDocument &document, Platform &platform,
    const TextTable &texts, QWidget *owner)
{
    for (std::size_t i = 0; i < menu.wallActions.size(); ++i)
        QObject::connect(menu.wallActions[i], &QAction::triggered, owner, [&, i, owner] {
            if (const auto why = document.setWall(WallChoice(i)))
                platform.messageBox(owner, CheckNote::wallKept(*why, texts),
                    MessageBoxStyle::Exclamation, texts.text(TextId::MessageTitle));
            showWallChoice(menu, document, true); // a refused choice leaves the one in force
        });
}

void showWallChoice(MainMenu &menu, const PhotoDocument &document, bool photo)
{
    menu.backgroundMenu->setEnabled(photo && document.hasSingleFace());
    menu.wallActions[size_t(WallChoice::Document)]->setEnabled(
        document.idDocument().backgroundColour().has_value());
    menu.wallActions[size_t(document.wall())]->setChecked(true);
}
