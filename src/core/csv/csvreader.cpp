// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/csv/csvreader.h"

namespace zorva::csv {

CsvMachine::Step CsvMachine::finish() {
    switch (state_) {
    case State::Quoted:
        state_ = State::Failed;
        return Step::Fault;
    case State::Unquoted:
    case State::QuoteSeen:
        state_ = State::FieldStart;
        fieldsEnded_ = false;
        return Step::RowEnd;
    case State::FieldStart:
        if (!fieldsEnded_)
            return Step::Skip;
        fieldsEnded_ = false; // the text ended after a comma
        return Step::RowEnd;
    case State::Failed:
        break;
    }
    return Step::Fault;
}

void CsvRowReader::endRow() {
    row_.append(std::move(field_));
    field_.clear();
    ready_.emplace_back(std::move(row_), rowLine_);
    row_.clear();
}

void CsvRowReader::feed(QStringView text) {
    if (failed())
        return;
    const char16_t* const begin = text.utf16();
    const char16_t* const end = begin + text.size();
    for (const char16_t* p = begin; p < end; ++p) {
        const char16_t* const run = machine_.skipText(p, end);
        field_.append(reinterpret_cast<const QChar*>(p), run - p);
        if (run == end)
            break;
        p = run;
        const QChar c(*p);
        rowLine_ = machine_.rowLine();
        switch (machine_.step(*p)) {
        case CsvMachine::Step::Text:
            field_ += c;
            break;
        case CsvMachine::Step::Skip:
            break;
        case CsvMachine::Step::FieldEnd:
            row_.append(std::move(field_));
            field_.clear();
            break;
        case CsvMachine::Step::RowEnd:
            endRow();
            break;
        case CsvMachine::Step::Fault:
            error_ = QStringLiteral("第 %1 行：引号后面应是逗号或行尾").arg(machine_.line());
            return;
        }
    }
}

void CsvRowReader::finish() {
    if (failed())
        return;
    rowLine_ = machine_.rowLine();
    switch (machine_.finish()) {
    case CsvMachine::Step::RowEnd:
        endRow();
        break;
    case CsvMachine::Step::Fault:
        error_ = QStringLiteral("第 %1 行：引号括起的字段没有结束").arg(machine_.quoteLine());
        break;
    default:
        break;
    }
}

bool CsvRowReader::takeRow(QStringList& row, int& line) {
    if (ready_.empty())
        return false;
    row = std::move(ready_.front().first);
    line = ready_.front().second;
    ready_.pop_front();
    return true;
}

bool CsvRowSplitter::next(QByteArrayView data, qsizetype& pos) {
    const qsizetype size = data.size();
    while (pos < size) {
        pos = machine_.skipText(data.data() + pos, data.data() + size) - data.data();
        if (pos == size)
            break;
        const char c = data[pos];
        if (c == '\r' && !machine_.quoted() && pos + 1 >= size)
            return false; // its LF, if any, is still to come
        const CsvMachine::Step step = machine_.step(c);
        if (step == CsvMachine::Step::Fault)
            return false;
        ++pos;
        if (step == CsvMachine::Step::RowEnd) {
            if (c == '\r' && data[pos] == '\n')
                (void)machine_.step(data[pos++]);
            return true;
        }
    }
    return false;
}

Result<CsvTable> parseCsv(QStringView text) {
    CsvRowReader reader;
    reader.feed(text);
    reader.finish();
    if (reader.failed())
        return Problem{reader.error(), {}};
    CsvTable table;
    QStringList row;
    int line = 0;
    while (reader.takeRow(row, line)) {
        table.rows.append(std::move(row));
        table.lines.append(line);
    }
    return table;
}

Result<CsvTable> readCsv(QByteArrayView bytes) {
    const Result<DecodedText> decoded = decodeFileText(bytes);
    if (!decoded)
        return decoded.problem();
    Result<CsvTable> table = parseCsv(decoded->text);
    if (table)
        table->encoding = decoded->encoding;
    return table;
}

} // namespace zorva::csv
