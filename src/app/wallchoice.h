#pragma once

class MainMenu;
class Platform;
class PhotoDocument;
class QWidget;
class TextTable;

// Options > Background: each choice puts its colour behind the person, or says why the wall
// cannot be told from the person.
void connectWallChoices(MainMenu &menu, PhotoDocument &document, Platform &platform,
    const TextTable &texts, QWidget *owner);
// The choice in force checked; the menu usable with one face, the document's colour where the
// document names one.
void showWallChoice(MainMenu &menu, const PhotoDocument &document, bool photo);
