#pragma once

#include <QString>

#include <optional>

// The number at the start of a text, read the way the copies box has always read it: blanks,
// tabs and line feeds are skipped wherever they stand, a sign, a decimal point and an
// exponent are taken, reading stops at the first character that cannot continue the number,
// and a text that does not begin with a number is 0. "1 2" is 12, "4 abc" is 4.
double leadingNumber(const QString &text);

constexpr int MaxCopies = 999;

// What the copies box asks for.
struct CopiesRequest
{
    enum class Kind {
        Keep, // no positive number: the printer keeps its copies setting
        Set, // print `copies` copies
        TooMany, // more than MaxCopies: refused
    };
    Kind kind = Kind::Keep;
    int copies = 0;
};

// A positive value is rounded halves to even (2.5 -> 2); one that rounds to 0 still asks
// for one copy, since the user clearly wanted a print.
CopiesRequest copiesFromText(const QString &text);

// The copies a job prints for the copies box's text: the number it asks for, `present` (the
// printer's setting) when it asks for none, and more than MaxCopies, which the job refuses,
// when it asks for too many.
int copiesToPrint(const QString &text, int present);
