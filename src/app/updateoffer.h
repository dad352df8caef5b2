#pragma once

class Platform;
class QWidget;
class TextTable;

// Tells that a newer release exists and asks whether to open the program's page: true when
// the user said Yes.
bool askToOpenUpdatePage(Platform &platform, const TextTable &texts, QWidget *owner);
