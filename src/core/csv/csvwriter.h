// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writing RFC 4180 tables: a cell is quoted when it holds a comma, quotation
// mark, CR or LF, its quotation marks doubled; every row ends in CR LF. The
// same cell writer serves text (QString) and UTF-8 bytes; a file starts
// with the UTF-8 byte-order mark, as spreadsheet programs read it.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <string>
#include <string_view>

namespace zorva::csv {

// Appends one cell as it is written.
void appendCell(QString& out, QStringView cell);
void appendCell(std::string& out, std::string_view cell);

// One cell as it is written.
QString cellText(const QString& cell);

// Appends the cells separated by commas, then CR LF.
void appendRow(QString& out, const QStringList& row);

// The rows as text, each ended by CR LF.
QString csvText(const QList<QStringList>& rows);
// csvText as UTF-8 after the byte-order mark.
QByteArray csvBytes(const QList<QStringList>& rows);

} // namespace zorva::csv
