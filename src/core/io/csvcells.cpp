// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/io/csvcells.h"

#include <cmath>

namespace zorva::io {

bool formulaLike(const QString& name) {
    qsizetype i = 0;
    while (i < name.size() && name[i] == u'\'')
        ++i;
    return i < name.size() && QStringLiteral("=+-@").contains(name[i]);
}

QString nameCell(const QString& name) {
    return formulaLike(name) ? u'\'' + name : name;
}

QString nameFromCell(const QString& cell) {
    const QString name = cell.trimmed();
    return formulaLike(name) && name.startsWith(u'\'') ? name.mid(1) : name;
}

bool headerMatches(const QString& cell, const NumberRange& numberField) {
    const QString c = cell.trimmed();
    return c == numberField.caption() || c == QString::fromUtf8(numberField.name);
}

bool readNumber(const QString& cell, const NumberRange& numberField, std::optional<double>& value,
                QString& error) {
    const QString text = cell.trimmed();
    value.reset();
    if (text.isEmpty()) {
        if (!numberField.optional)
            error = QStringLiteral("“%1”为空").arg(QString::fromUtf8(numberField.name));
        return numberField.optional;
    }
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !std::isfinite(v)) {
        error = QStringLiteral("“%1”不是数字：%2").arg(QString::fromUtf8(numberField.name), text);
        return false;
    }
    if (!inRange(numberField, v)) {
        error = rangeMessage(numberField, text);
        return false;
    }
    value = v;
    return true;
}

} // namespace zorva::io
