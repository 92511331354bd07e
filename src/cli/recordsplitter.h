#pragma once
// Finds where the rows of a CSV table end in its raw bytes, so that a large
// table can be cut into pieces of whole rows and each piece decoded and read
// on its own. Quotation marks, commas, CR and LF are single bytes in UTF-8
// and in GBK alike and never part of another character, so the bytes need
// not be decoded first. The rules are CsvRowReader's: CR LF, a lone LF and a
// lone CR end a row outside quotation marks, and lines are counted the same
// way inside and outside them.

#include <QByteArrayView>

namespace zorva::cli {

class RecordSplitter {
public:
    // Scans data[pos..] and stops just after the next row end, returning
    // true; false when the data ends first (pos then marks where scanning
    // goes on once more bytes are appended) or the table is broken (text
    // after a closing quotation mark; CsvRowReader reports it).
    bool next(QByteArrayView data, qsizetype& pos);
    // Line ends passed so far.
    int lines() const { return lines_; }
    bool broken() const { return state_ == State::Broken; }

private:
    enum class State { FieldStart, Unquoted, Quoted, QuoteSeen, Broken };
    State state_ = State::FieldStart;
    int lines_ = 0;
};

} // namespace zorva::cli
