#pragma once

#include "platform.h"

#include <optional>

constexpr quint32 FileDialogAllowMultiSelect = 0x200;

// The optional parameters of ShowFileDialog; an unset member takes its default.
struct FileDialogOptions
{
    quint32 *Flags = nullptr; // in/out
    std::optional<QString> InitialDir; // default: the current directory
    std::optional<QString> Filter; // default: empty
    std::optional<int> FilterIndex; // default: 1
    std::optional<QString> DefaultExt;
    std::optional<QString> FileName;
    std::optional<QString> DialogTitle;
    QWidget *Owner = nullptr;
    std::optional<bool> OpenDialog; // default: false, the save dialog
};

// The chosen full path, or an empty text when the dialog was cancelled. With the
// multiple-selection flag the chosen paths are joined by NUL characters.
QString ShowFileDialog(Platform &platform, const FileDialogOptions &options = {});

QString StripAtNul(const QString &text);
// Appends the path separator unless the path already ends with it.
QString AddBackslash(const QString &path);

// Turns a filter text into Qt name filters: pairs of description and pattern separated by
// NUL or "|" (the classic form), or Qt's own "Description (*.x);;Other (*.y)".
QStringList qtNameFilters(const QString &filter);
