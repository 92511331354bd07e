// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Comparison with a number printed in a data sheet: the value must round to
// the printed digits, that is lie within half a unit of the last printed
// digit. A whole number printed without a point is an exact value.

#include <QByteArray>
#include <QString>

#include <cmath>

// Half a unit of the last digit of `printed` ("42.69708", "6.489919e-4",
// "0.0614253"); 0 for a whole number without a point or exponent.
inline double halfLastDigit(const QByteArray& printed) {
    QByteArray mantissa = printed;
    int exponent = 0;
    if (const qsizetype e = printed.indexOf('e'); e >= 0) {
        mantissa = printed.left(e);
        exponent = printed.mid(e + 1).toInt();
    }
    const qsizetype point = mantissa.indexOf('.');
    if (point < 0)
        return exponent == 0 ? 0 : 0.5 * std::pow(10.0, exponent);
    const qsizetype decimals = mantissa.size() - point - 1;
    return 0.5 * std::pow(10.0, exponent - int(decimals));
}

// Whether `value` shows as `printed`; an exact value may differ by rounding
// of the last bit only.
inline bool showsAs(double value, const QByteArray& printed) {
    const double expected = printed.toDouble();
    const double half = halfLastDigit(printed);
    if (half == 0)
        return std::fabs(value - expected) <= 1e-12 * std::max(1.0, std::fabs(expected));
    return std::fabs(value - expected) <= half * (1 + 1e-9);
}

inline QString sheetMismatch(const QString& name, double value, const QByteArray& printed) {
    return QStringLiteral("%1 = %2, sheet %3")
        .arg(name)
        .arg(value, 0, 'g', 12)
        .arg(QString::fromLatin1(printed));
}
