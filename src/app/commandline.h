#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What the command line asks for: a photo to open, or only a text to print (--help,
// --version, a mistake) with the program's exit code.
struct CommandLine
{
    QString photo; // absolute; empty: none
    QString documentId; // --document: the document to start with
    bool listDocuments = false; // --list-documents: print the documents' ids and names
    std::optional<int> exitCode; // set: print `output` and end without a window
    QString output;
};

// The arguments as the program gets them, the program's name first.
CommandLine parseCommandLine(const QStringList &arguments);

struct IdDocument;
// One line a document: its id, then its country, name and size in English.
QString documentListing(const QList<IdDocument> &documents);
