#pragma once

#include "platform.h"

#include <optional>

// The chosen full path, or an empty text when the dialog was cancelled. With the
// multiple-selection flag the chosen paths are joined by NUL characters.
QString showFileDialog(Platform &platform, FileDialogRequest request);

QString stripAtNul(const QString &text);

// Turns a filter text into Qt name filters: pairs of description and pattern separated by
// NUL or "|" (the classic form), or Qt's own "Description (*.x);;Other (*.y)".
QStringList qtNameFilters(const QString &filter);
