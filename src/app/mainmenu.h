#pragma once

#include <array>

class QAction;
class QString;
class QMenu;
class Platform;
class QMenuBar;
class QUndoStack;
class TextTable;

// The main window's menu bar: File, Options, Donate and "?" with their items.
struct MainMenu
{
    // Undo and Redo come from the stack.
    MainMenu(QMenuBar *bar, QUndoStack &undoStack);
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
    QAction *documentAction = nullptr; // the offices' documents, Ctrl+D
    QAction *customSizeAction = nullptr;
    QAction *undoAction = nullptr; // named after the step it takes back
    QAction *redoAction = nullptr;
    QAction *resetFitAction = nullptr;
    QAction *fitFaceAction = nullptr;
    QAction *straightenAction = nullptr;
    QMenu *backgroundMenu = nullptr;
    // As shot, white, light grey, the document's colour: checkable, one checked.
    std::array<QAction *, 4> wallActions {};
    QAction *autoFaceFitAction = nullptr; // checked: the face is fitted by itself
    QAction *donateAction = nullptr;
    QMenu *helpMenu = nullptr;
    QAction *releaseNotesAction = nullptr;
    QAction *checkUpdateAction = nullptr;
    QAction *aboutAction = nullptr;

private:
    // The stack's actions say their prefix in the language chosen when they are made: made
    // anew in the same place when the language changes.
    void makeUndoActions(const QString &undo, const QString &redo);

    QUndoStack *m_undoStack;
};
