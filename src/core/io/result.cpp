// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/io/result.h"

#include <algorithm>

namespace zorva {

QString escapedControls(const QString& text) {
    const auto plain = [](QChar c) {
        return c.unicode() >= 0x20 ? c.unicode() != 0x7F : c == u'\t' || c == u'\r' || c == u'\n';
    };
    if (std::all_of(text.begin(), text.end(), plain))
        return text;
    QString out;
    out.reserve(text.size() + 8);
    for (const QChar c : text) {
        if (plain(c))
            out += c;
        else if (c.unicode() == 0)
            out += QStringLiteral("\\0");
        else
            out += QStringLiteral("\\x") +
                   QString::number(c.unicode(), 16).toUpper().rightJustified(2, u'0');
    }
    return out;
}

QString Problem::text() const {
    return escapedControls(reason.isEmpty() ? message : message + QStringLiteral("：") + reason);
}

} // namespace zorva
