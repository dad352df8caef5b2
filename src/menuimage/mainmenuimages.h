#pragma once

class clsMenuImage;

// Puts the twelve menu pictures (resources 100-111) on the main window's menu items. Each
// picture keeps the index it got, so one that cannot be added leaves only its own item bare
// instead of shifting the others.
void putMainMenuImages(clsMenuImage &images);
