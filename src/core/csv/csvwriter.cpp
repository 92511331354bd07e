// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/csv/csvwriter.h"

#include <algorithm>

namespace zorva::csv {

namespace {

template <typename Char> bool quoteNeeded(Char c) {
    return c == Char(',') || c == Char('"') || c == Char('\r') || c == Char('\n');
}

// A cell that starts with U+FEFF is quoted: in the first cell of a file the
// reader would take it for one more byte-order mark and drop it.
bool startsWithMark(QStringView cell) {
    return !cell.isEmpty() && cell.front() == QChar(0xFEFF);
}

bool startsWithMark(std::string_view cell) {
    return cell.starts_with("\xEF\xBB\xBF");
}

} // namespace

void appendCell(QString& out, QStringView cell) {
    const auto units = reinterpret_cast<const char16_t*>(cell.utf16());
    if (!startsWithMark(cell) && std::none_of(units, units + cell.size(), quoteNeeded<char16_t>)) {
        out += cell;
        return;
    }
    out += u'"';
    for (const QChar c : cell) {
        out += c;
        if (c == u'"')
            out += c;
    }
    out += u'"';
}

void appendCell(std::string& out, std::string_view cell) {
    if (!startsWithMark(cell) && std::none_of(cell.begin(), cell.end(), quoteNeeded<char>)) {
        out += cell;
        return;
    }
    out += '"';
    for (const char c : cell) {
        out += c;
        if (c == '"')
            out += c;
    }
    out += '"';
}

QString cellText(const QString& cell) {
    QString out;
    appendCell(out, cell);
    return out;
}

void appendRow(QString& out, const QStringList& row) {
    for (qsizetype i = 0; i < row.size(); ++i) {
        if (i > 0)
            out += u',';
        appendCell(out, row[i]);
    }
    out += QLatin1String("\r\n");
}

QString csvText(const QList<QStringList>& rows) {
    QString text;
    for (const QStringList& row : rows)
        appendRow(text, row);
    return text;
}

QByteArray csvBytes(const QList<QStringList>& rows) {
    return QByteArray("\xEF\xBB\xBF") + csvText(rows).toUtf8();
}

} // namespace zorva::csv
