#pragma once

#include <array>

class QAction;
class QMenu;
class Platform;
class QMenuBar;
class TextTable;

// The main window's menu bar: File, Options, Donate and "?" with their items.
struct MainMenu
{
    explicit MainMenu(QMenuBar *bar);
    void applyTexts(const TextTable &texts);
    // The items that open a web page or the release notes.
    void connectWebPages(Platform &platform);

    QMenu *fileMenu = nullptr;
    QAction *openAction = nullptr;
    QAction *exportAction = nullptr;
    QAction *onlineCopyAction = nullptr;
    QAction *printAction = nullptr;
    QAction *exitAction = nullptr;
    QMenu *optionsMenu = nullptr;
    QAction *languageAction = nullptr;
    QAction *addLanguageAction = nullptr;
    QMenu *formatMenu = nullptr;
    std::array<QAction *, 5> formatActions {}; // checkable, Ctrl+1 ... Ctrl+5
    QAction *undoAction = nullptr;
    QAction *resetFitAction = nullptr;
    QAction *fitFaceAction = nullptr;
    QAction *straightenAction = nullptr;
    QAction *autoFaceFitAction = nullptr; // checked: the face is fitted by itself
    QAction *donateAction = nullptr;
    QMenu *helpMenu = nullptr;
    QAction *releaseNotesAction = nullptr;
    QAction *checkUpdateAction = nullptr;
    QAction *aboutAction = nullptr;
};
