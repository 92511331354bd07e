// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading RFC 4180 tables. One set of rules, CsvMachine, takes a character
// at a time and says what it is (text of a field, the end of a field or of a
// row, or a fault); everything that reads CSV runs on it:
// - CsvRowReader builds the rows of decoded text (the manifold sheet's
//   import, zorva-calc's general path);
// - CsvRowSplitter finds where rows end in raw bytes, so that a large table
//   can be cut into pieces of whole rows and each piece decoded on its own
//   (quotation marks, commas, CR and LF are single bytes in UTF-8 and GBK
//   and never part of another character);
// - zorva-calc's fast path cuts unquoted UTF-8 rows into cells on their
//   bytes.
//
// The rules: CR LF, a lone LF and a lone CR all end a row and count one
// line, inside quotation marks as well; a line ending right at the end of
// the text adds no row, and an empty line is a row of one empty field. A
// quotation mark inside an unquoted field is kept as text; text after a
// closing quotation mark is a fault, and so is a quoted field left open at
// the end.

#include "core/csv/textencoding.h"
#include "core/io/result.h"

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstdint>
#include <deque>
#include <utility>

namespace zorva::csv {

class CsvMachine {
public:
    enum class Step : std::uint8_t {
        Text,     // the character belongs to the field
        Skip,     // a quotation mark of the syntax, or the LF of a CR LF
        FieldEnd, // a comma
        RowEnd,   // a line end outside quotation marks
        Fault,    // text after a closing quotation mark (and everything after it)
    };

    // `firstLine` numbers the first line, for text cut from a larger table
    // at a row boundary.
    explicit CsvMachine(int firstLine = 1)
        : line_(firstLine), rowLine_(firstLine), quoteLine_(firstLine) {}

    // `c` is a byte of UTF-8 or GBK text, or a UTF-16 unit.
    template <typename Char> Step step(Char c) {
        const bool afterCr = lastWasCr_;
        lastWasCr_ = c == Char('\r');
        if (swallowLf_) {
            swallowLf_ = false;
            if (c == Char('\n'))
                return Step::Skip;
        }
        switch (state_) {
        case State::FieldStart:
            if (c == Char('"')) {
                state_ = State::Quoted;
                quoteLine_ = line_;
                return Step::Skip;
            }
            [[fallthrough]];
        case State::Unquoted:
            if (c == Char(',') || c == Char('\r') || c == Char('\n'))
                return endField(c == Char(','), c == Char('\r'));
            state_ = State::Unquoted;
            return Step::Text;
        case State::Quoted:
            if (c == Char('"')) {
                state_ = State::QuoteSeen;
                return Step::Skip;
            }
            if (c == Char('\r') || (c == Char('\n') && !afterCr))
                ++line_;
            return Step::Text;
        case State::QuoteSeen:
            if (c == Char('"')) {
                state_ = State::Quoted;
                return Step::Text;
            }
            if (c == Char(',') || c == Char('\r') || c == Char('\n'))
                return endField(c == Char(','), c == Char('\r'));
            state_ = State::Failed;
            return Step::Fault;
        case State::Failed:
            break;
        }
        return Step::Fault;
    }

    // Steps over the characters from p that are text and change nothing but
    // the state (no quotation mark, comma or line end; inside quotation
    // marks no quotation mark or line end), as step() would one by one;
    // returns where it stopped. For readers that take a field as a range.
    template <typename Char> const Char* skipText(const Char* p, const Char* end) {
        const Char* const start = p;
        if (swallowLf_ || state_ == State::QuoteSeen || state_ == State::Failed)
            return p;
        if (state_ == State::Quoted) {
            while (p < end && *p != Char('"') && *p != Char('\r') && *p != Char('\n'))
                ++p;
        } else {
            while (p < end && *p != Char('"') && *p != Char(',') && *p != Char('\r') &&
                   *p != Char('\n'))
                ++p;
            if (p != start)
                state_ = State::Unquoted;
        }
        if (p != start)
            lastWasCr_ = false;
        return p;
    }

    // The end of the text: RowEnd when it completes a row, Skip when no row
    // was open, Fault for a quoted field left open.
    Step finish();

    bool failed() const { return state_ == State::Failed; }
    // Inside quotation marks, where a line end is text.
    bool quoted() const { return state_ == State::Quoted; }
    int line() const { return line_; }           // the line being read
    int rowLine() const { return rowLine_; }     // the line the current row starts on
    int quoteLine() const { return quoteLine_; } // the line of the last opening quote

private:
    enum class State : std::uint8_t { FieldStart, Unquoted, Quoted, QuoteSeen, Failed };

    Step endField(bool comma, bool cr) {
        state_ = State::FieldStart;
        if (comma) {
            fieldsEnded_ = true;
            return Step::FieldEnd;
        }
        swallowLf_ = cr;
        fieldsEnded_ = false;
        rowLine_ = ++line_;
        return Step::RowEnd;
    }

    State state_ = State::FieldStart;
    bool swallowLf_ = false;
    bool lastWasCr_ = false;
    bool fieldsEnded_ = false; // a comma was read in the current row
    int line_;
    int rowLine_;
    int quoteLine_;
};

// Rows of decoded text that arrives in pieces, so that a large table need
// not be held at once.
class CsvRowReader {
public:
    explicit CsvRowReader(int firstLine = 1) : machine_(firstLine) {}
    void feed(QStringView text);
    // The end of the text: completes the last row or reports an open quote.
    void finish();
    // The next complete row and the line (from 1) it starts on.
    bool takeRow(QStringList& row, int& line);
    bool failed() const { return !error_.isEmpty(); }
    QString error() const { return error_; } // Chinese, naming the line

private:
    void endRow();

    CsvMachine machine_;
    QString field_;
    QStringList row_;
    int rowLine_;
    std::deque<std::pair<QStringList, int>> ready_;
    QString error_;
};

// Where the rows of raw UTF-8 or GBK bytes end.
class CsvRowSplitter {
public:
    // Scans data[pos..] and stops just after the next row end, returning
    // true; false when the data ends first (pos then marks where scanning
    // goes on once more bytes are appended) or the table is broken (text
    // after a closing quotation mark; CsvRowReader reports it). A CR at the
    // end of the data waits for the next byte, which may be its LF.
    bool next(QByteArrayView data, qsizetype& pos);
    // Line ends passed so far.
    int lines() const { return machine_.line() - 1; }
    bool broken() const { return machine_.failed(); }

private:
    CsvMachine machine_;
};

struct CsvTable {
    QList<QStringList> rows;
    QList<int> lines;                   // the line (from 1) each row starts on
    Encoding encoding = Encoding::Utf8; // of the bytes read
};

// The whole text through a CsvRowReader.
Result<CsvTable> parseCsv(QStringView text);
// decodeFileText, then parseCsv.
Result<CsvTable> readCsv(QByteArrayView bytes);

} // namespace zorva::csv
