#pragma once

#include "iddocument.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QLocale;

// A kind of document and its name in the user's language, as the filter finds it.
struct KindName
{
    DocumentKind kind;
    QString name;
};

// The texts a document is found by: its country's name in the user's language and in English,
// the country's code, the table's name of the document and the names of its kinds.
QStringList documentWords(const IdDocument &document,
    const std::function<QString(const QString &code, const QString &languageCode)> &countryNameOf,
    const QString &languageCode, const QList<KindName> &kindNames);

// Whether every word of the query begins a word of those texts, ignoring case and accents
// ("kan pass" finds "Kanada" and "Passport", "e" finds "É"). An empty query matches.
bool documentMatches(const QString &query, const QStringList &words);

// "31-36 mm", "34.5 mm", "1-1.375 in", "50-69 %": the head's height the rule asks for, in the
// document's unit (a share of the height for a digital one); one figure where the office gives
// a target rather than a range.
QString headRangeText(const IdDocument &document, const QLocale &locale);
