#include "mainmenu.h"

#include "i18n/texttable.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {

QAction *item(QMenu *menu, const char *name, const QString &caption)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

QMenu *menu(QMenuBar *bar, const char *name, const QString &title)
{
    QMenu *menu = bar->addMenu(title);
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

} // namespace

MainMenu::MainMenu(QMenuBar *bar)
{
    bar->setNativeMenuBar(false);
    mnuFile = menu(bar, "mnuFile", QStringLiteral("&File"));
    mnuOpen = item(mnuFile, "mnuOpen", QStringLiteral("&Open Photo..."));
    mnuFile->addSeparator();
    mnuExport = item(mnuFile, "mnuExport", QStringLiteral("&Export to file..."));
    mnuPrint = item(mnuFile, "mnuPrint", QStringLiteral("&Print Photo..."));
    mnuFile->addSeparator();
    mnuExit = item(mnuFile, "mnuExit", QStringLiteral("&Exit"));
    mnuOpen->setShortcut(QKeySequence::Open);
    mnuExport->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    mnuPrint->setShortcut(QKeySequence::Print);
    mnuExit->setShortcut(QKeySequence::Quit);

    mnuOption = menu(bar, "mnuOption", QStringLiteral("&Option"));
    mnuLang = item(mnuOption, "mnuLang", QStringLiteral("&Lang..."));
    mnuAddLang = item(mnuOption, "mnuAddLang", QStringLiteral("&Aggiungi lingua..."));
    // After the language items, so the menu images keep their positions.
    mnuOption->addSeparator();
    mnuUndo = item(mnuOption, "mnuUndo", QStringLiteral("&Undo"));
    mnuUndo->setShortcut(QKeySequence::Undo);
    mnuResetFit = item(mnuOption, "mnuResetFit", QStringLiteral("&Reset the fit"));
    mnuResetFit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    mnuFitFace = item(mnuOption, "mnuFitFace", QStringLiteral("&Fit to the face"));
    mnuFitFace->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    mnuAutoFaceFit
        = item(mnuOption, "mnuAutoFaceFit", QStringLiteral("Fit the face &automatically"));
    mnuAutoFaceFit->setCheckable(true);
    mnuAutoFaceFit->setChecked(true);

    mnuDonate = bar->addAction(QStringLiteral("&Donate"));
    mnuDonate->setObjectName(QStringLiteral("mnuDonate"));

    mnuGuida = menu(bar, "mnuGuida", QStringLiteral("&?"));
    mnuRelease = item(mnuGuida, "mnuRelease", QStringLiteral("&Release"));
    mnuCheckUpdate = item(mnuGuida, "mnuCheckUpdate", QStringLiteral("&Check update..."));
    mnuGuida->addSeparator();
    mnuInfo = item(mnuGuida, "mnuInfo", QStringLiteral("&Info..."));
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
