#pragma once
// RFC 4180 tables: writing (UTF-8 with a byte-order mark, CR LF after every
// row, a field quoted when it holds a comma, quotation mark, CR or LF, its
// quotation marks doubled) and reading (UTF-8 with or without the mark, or
// GBK, told apart by whether the bytes are valid UTF-8).

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <deque>
#include <utility>

namespace zorva::io {

// The largest CSV file read, bytes.
constexpr qsizetype kMaxCsvBytes = 16 * 1024 * 1024;

// One field as it is written.
QString csvField(const QString& field);
// The rows as RFC 4180 text, each row ended by CR LF.
QString csvText(const QList<QStringList>& rows);
// csvText as UTF-8 with the byte-order mark, as spreadsheet programs read it.
QByteArray csvBytes(const QList<QStringList>& rows);

struct DecodedText {
    bool ok = false;
    QString text;
    QString encoding; // "UTF-8" or "GBK"
    QString error;    // Chinese, when not ok
};

// A leading UTF-8 byte-order mark means UTF-8 (the mark is dropped); bytes
// that are valid UTF-8 are UTF-8; anything else is read as GBK, and bytes
// that are not GBK either are an error.
DecodedText decodeText(const QByteArray& bytes);

// RFC 4180 rows from text that arrives in pieces, so that a large table need
// not be held at once. CR LF, a lone LF and a lone CR all end a row; a line
// ending right at the end of the text adds no row, and an empty line is a row
// of one empty field. A quotation mark inside an unquoted field is kept as
// text; text after a closing quotation mark is an error, and so is a quoted
// field left open at the end.
class CsvRowReader {
public:
    // `firstLine` numbers the text's first line, for a piece cut from a
    // larger table at a row boundary.
    explicit CsvRowReader(int firstLine = 1) : line_(firstLine), rowLine_(firstLine) {}
    void feed(QStringView text);
    // The end of the text: completes the last row or reports an open quote.
    void finish();
    // The next complete row and the line (from 1) it starts on.
    bool takeRow(QStringList& row, int& line);
    bool failed() const { return state_ == State::Failed; }
    QString error() const { return error_; } // Chinese, naming the line

private:
    enum class State { FieldStart, Unquoted, Quoted, QuoteSeen, Failed };
    void endField();
    void endRow();
    void fail(const QString& message);

    State state_ = State::FieldStart;
    QString field_;
    QStringList row_;
    std::deque<std::pair<QStringList, int>> ready_;
    int line_;
    int rowLine_;
    int quoteLine_ = 1;
    bool swallowLf_ = false;
    bool lastWasCr_ = false;
    QString error_;
};

struct CsvTable {
    bool ok = false;
    QString error; // Chinese, naming the line, when not ok
    QString encoding;
    QList<QStringList> rows;
    QList<int> lines; // the line (from 1) each row starts on
};

// The whole text through a CsvRowReader.
CsvTable parseCsv(const QString& text);

// decodeText then parseCsv; more than kMaxCsvBytes is an error.
CsvTable readCsv(const QByteArray& bytes);

} // namespace zorva::io
