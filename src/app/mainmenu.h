#pragma once

class QAction;
class QMenu;
class QMenuBar;
class TextTable;

// The main window's menu bar: File, Options, Donate and "?" with their items.
struct MainMenu
{
    explicit MainMenu(QMenuBar *bar);
    void applyTexts(const TextTable &texts);

    QMenu *mnuFile = nullptr;
    QAction *mnuOpen = nullptr;
    QAction *mnuExport = nullptr;
    QAction *mnuPrint = nullptr;
    QAction *mnuExit = nullptr;
    QMenu *mnuOption = nullptr;
    QAction *mnuLang = nullptr;
    QAction *mnuAddLang = nullptr;
    QAction *mnuUndo = nullptr;
    QAction *mnuResetFit = nullptr;
    QAction *mnuFitFace = nullptr;
    QAction *mnuAutoFaceFit = nullptr; // checked: the face is fitted by itself
    QAction *mnuDonate = nullptr;
    QMenu *mnuGuida = nullptr;
    QAction *mnuRelease = nullptr;
    QAction *mnuCheckUpdate = nullptr;
    QAction *mnuInfo = nullptr;
};
