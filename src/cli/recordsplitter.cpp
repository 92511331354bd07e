#include "cli/recordsplitter.h"

namespace zorva::cli {

bool RecordSplitter::next(QByteArrayView data, qsizetype& pos) {
    const qsizetype size = data.size();
    while (pos < size) {
        const char c = data[pos];
        if (state_ == State::Broken)
            return false;
        if (state_ == State::Quoted) {
            if (c == '"')
                state_ = State::QuoteSeen;
            else if (c == '\r' || (c == '\n' && !(pos > 0 && data[pos - 1] == '\r')))
                ++lines_;
            ++pos;
            continue;
        }
        if (c == '\n') {
            ++lines_;
            ++pos;
            state_ = State::FieldStart;
            return true;
        }
        if (c == '\r') {
            // The row ends after the LF of a CR LF; wait for the next byte.
            if (pos + 1 >= size)
                return false;
            ++lines_;
            pos += data[pos + 1] == '\n' ? 2 : 1;
            state_ = State::FieldStart;
            return true;
        }
        if (c == '"' && state_ != State::Unquoted)
            state_ = State::Quoted; // an opening quote, or the second of a doubled one
        else if (c == ',')
            state_ = State::FieldStart;
        else if (state_ == State::QuoteSeen)
            state_ = State::Broken;
        else
            state_ = State::Unquoted;
        if (state_ != State::Broken)
            ++pos;
    }
    return false;
}

} // namespace zorva::cli
