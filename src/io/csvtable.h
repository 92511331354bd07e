#pragma once
// Tables as CSV files that spreadsheet programs on Chinese desktops open
// directly: UTF-8 with a byte-order mark, CRLF after every record, and
// RFC 4180 quoting (a field holding a comma, a double quote, CR or LF is
// enclosed in double quotes, and its double quotes are doubled).

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace zorva::io {

// One field, quoted when it needs to be.
QString csvField(const QString& text);

// The whole file: the byte-order mark, then one record per row.
QByteArray csvBytes(const QList<QStringList>& rows);

} // namespace zorva::io
