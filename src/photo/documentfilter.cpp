#include "documentfilter.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace {

// Lower case without accents, cut into words at anything but letters and digits.
QStringList foldedWords(const QString &text)
{
    QString folded;
    folded.reserve(text.size());
    for (const QChar c : text.normalized(QString::NormalizationForm_KD)) {
        if (c.isMark())
            continue;
        folded += c.isLetterOrNumber() ? c : QChar(u' ');
    }
    return folded.toCaseFolded().split(u' ', Qt::SkipEmptyParts);
}

} // namespace

QStringList documentWords(const IdDocument &document,
    const std::function<QString(const QString &code, const QString &languageCode)> &countryNameOf,
    const QString &languageCode, const QList<KindName> &kindNames)
{
    QStringList words { countryNameOf(document.country, languageCode),
        countryNameOf(document.country, QStringLiteral("en")), document.country, document.name };
    for (const KindName &kind : kindNames) {
        if (document.kinds & kind.kind)
            words += kind.name;
    }
    return words;
}

bool documentMatches(const QString &query, const QStringList &words)
{
    QStringList known;
    for (const QString &text : words)
        known += foldedWords(text);
    const QStringList asked = foldedWords(query);
    return std::all_of(asked.cbegin(), asked.cend(), [&known](const QString &word) {
        return std::any_of(known.cbegin(), known.cend(),
            [&word](const QString &candidate) { return candidate.startsWith(word); });
    });
}

QString headRangeText(const IdDocument &document, const QLocale &locale)
{
    const FaceRule &rule = document.rule;
    const bool percent = document.isDigital();
    const double height = percent ? 100 : document.size.height();
    // Figures as the offices write them: whole percents, tenths of a millimetre, the
    // eighths of an inch the US rule uses.
    const double perUnit = percent ? 1 : document.unit == SizeUnit::Inch ? 1000 : 10;
    auto figure = [&](double share) {
        return locale.toString(
            std::round(share * height * perUnit) / perUnit, 'g', QLocale::FloatingPointShortest);
    };
    const QString unit = percent          ? QStringLiteral("%")
        : document.unit == SizeUnit::Inch ? QStringLiteral("in")
                                          : QStringLiteral("mm");
    const QString range = document.headTarget ? figure(rule.headTarget)
                                              : figure(rule.headMin) + u'-' + figure(rule.headMax);
    return range + u' ' + unit;
}
