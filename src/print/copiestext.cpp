#include "copiestext.h"

#include "platform/rounding.h"

#include <charconv>
#include <limits>

namespace {

bool isSkipped(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

} // namespace

double leadingNumber(const QString &text)
{
    // Gather the characters of the number with the blanks taken out, then convert.
    QString number;
    enum class Stage { Sign, Integer, Fraction, ExponentSign, Exponent } stage = Stage::Sign;
    bool digitsSeen = false;
    bool exponentDigits = false;
    qsizetype exponentStart = -1;
    for (const QChar c : text) {
        if (isSkipped(c))
            continue;
        if (stage == Stage::Sign && (c == u'+' || c == u'-')) {
            number.append(c);
            stage = Stage::Integer;
            continue;
        }
        if (c.isDigit() && c.unicode() < 128) {
            number.append(c);
            if (stage == Stage::Sign)
                stage = Stage::Integer;
            if (stage == Stage::ExponentSign)
                stage = Stage::Exponent;
            if (stage == Stage::Exponent)
                exponentDigits = true;
            else
                digitsSeen = true;
            continue;
        }
        if (c == u'.' && (stage == Stage::Sign || stage == Stage::Integer)) {
            number.append(c);
            stage = Stage::Fraction;
            continue;
        }
        if ((c == u'e' || c == u'E') && digitsSeen
            && (stage == Stage::Integer || stage == Stage::Fraction)) {
            exponentStart = number.size();
            number.append(u'e');
            stage = Stage::ExponentSign;
            continue;
        }
        if (stage == Stage::ExponentSign && (c == u'+' || c == u'-')
            && number.size() == exponentStart + 1) {
            number.append(c);
            continue;
        }
        break;
    }
    if (!digitsSeen)
        return 0.0;
    // An exponent mark without digits is not part of the number.
    if (exponentStart >= 0 && !exponentDigits)
        number.truncate(exponentStart);
    const QByteArray latin = number.toLatin1();
    const char *first = latin.constData();
    const char *last = first + latin.size();
    if (first != last && *first == '+')
        ++first;
    double value = 0.0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error == std::errc::result_out_of_range) {
        // Too many digits for a double: huge, or vanishingly small with a negative exponent.
        const bool tiny = latin.contains("e-");
        const bool negative = latin.startsWith('-');
        if (tiny)
            return 0.0;
        return negative ? -std::numeric_limits<double>::infinity()
                        : std::numeric_limits<double>::infinity();
    }
    return error == std::errc() ? value : 0.0;
}

CopiesRequest copiesFromText(const QString &text)
{
    const double value = leadingNumber(text);
    if (!(value > 0.0))
        return {};
    const double rounded = roundHalfEven(value);
    if (rounded > MaxCopies)
        return { CopiesRequest::Kind::TooMany, 0 };
    return { CopiesRequest::Kind::Set, rounded < 1.0 ? 1 : int(rounded) };
}

int copiesToPrint(const QString &text, int present)
{
    const CopiesRequest request = copiesFromText(text);
    switch (request.kind) {
    case CopiesRequest::Kind::Set:
        return request.copies;
    case CopiesRequest::Kind::TooMany:
        return MaxCopies + 1;
    case CopiesRequest::Kind::Keep:
        break;
    }
    return present;
}
