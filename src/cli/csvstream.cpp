// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/csvstream.h"

#include "cli/methodcsv.h"
#include "cli/plaindesignrow.h"
#include "cli/vectorstate.h"
#include "core/csv/csvreader.h"
#include "core/csv/csvwriter.h"
#include "core/csv/textencoding.h"
#include "core/io/manifoldcsv.h"
#include "core/io/manifoldfields.h"

#include <QFuture>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <cerrno>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorva::cli {

namespace {

using Step = csv::CsvMachine::Step;

struct Batch {
    QByteArray raw; // whole rows
    int firstLine = 1;
};

struct BatchOut {
    QByteArray csv; // the rows computed, UTF-8
    qint64 designs = 0;
    qint64 notComputed = 0;
    QString error; // the first bad row or line; rows before it are in csv
};

struct Table {
    io::CsvColumns columns;
    ManifoldInput base;
    CalcMode mode;
    // Of the bytes the batches hold: UTF-8 or GBK (UTF-16 is turned into
    // UTF-8 as it is read).
    csv::Encoding encoding = csv::Encoding::Utf8;
};

bool blankRow(const QStringList& row) {
    return std::all_of(row.begin(), row.end(),
                       [](const QString& cell) { return cell.trimmed().isEmpty(); });
}

// Rows mostly share the manifold; its cells are made again only when a
// row's manifold differs from the row before.
class ManifoldCells {
public:
    const std::string& bytes(const ManifoldInput& manifold) {
        update(manifold);
        return bytes_;
    }
    const QStringList& list(const ManifoldInput& manifold) {
        update(manifold);
        if (list_.isEmpty())
            list_ = io::manifoldCsvCells(manifold_);
        return list_;
    }

private:
    void update(const ManifoldInput& manifold) {
        if (made_ && sameManifold(manifold, manifold_))
            return;
        made_ = true;
        manifold_ = manifold;
        bytes_ = manifoldCellBytes(manifold);
        list_.clear();
    }

    bool made_ = false;
    ManifoldInput manifold_;
    std::string bytes_;
    QStringList list_;
};

void count(BatchOut& out, const LoopResult& result) {
    ++out.designs;
    if (!result.converged())
        ++out.notComputed;
}

// One row through readCsvDesignRow and manifoldCsvRow; false (with
// out.error set) for a row that is not a design.
bool computeRow(const QStringList& row, int line, const Table& table, LoopRunner& runner,
                ManifoldCells& cells, BatchOut& out, std::string& csv) {
    if (blankRow(row))
        return true;
    const Result<io::CsvDesignRow> design =
        io::readCsvDesignRow(table.columns, row, line, table.base);
    if (!design) {
        out.error = design.problem().message;
        return false;
    }
    QString text;
    if (methodRows(table.mode)) {
        // By EN 1264-2 or for cooling: the sheet's input cells, the method's results.
        QStringList inputs = io::manifoldCsvRow(design->manifold, design->loop, nullptr,
                                                cells.list(design->manifold));
        inputs = inputs.mid(0, sheetInputColumns());
        bool computed = false;
        const QStringList row =
            methodCsvRow(table.mode, design->manifold, design->loop, inputs, computed);
        ++out.designs;
        if (!computed)
            ++out.notComputed;
        csv::appendRow(text, row);
        csv += text.toStdString();
        return true;
    }
    clearUpperVectorState();
    const LoopResult result = runner.compute(design->manifold, design->loop);
    count(out, result);
    csv::appendRow(text, io::manifoldCsvRow(design->manifold, design->loop, &result,
                                            cells.list(design->manifold)));
    csv += text.toStdString();
    return true;
}

// Any batch: decoded, then read by CsvRowReader.
BatchOut computeDecodedBatch(const Batch& batch, const Table& table) {
    BatchOut out;
    const Result<QString> text = csv::decodeText(batch.raw, table.encoding, batch.firstLine);
    if (!text) {
        out.error = text.problem().message;
        return out;
    }
    csv::CsvRowReader reader(batch.firstLine);
    reader.feed(*text);
    reader.finish();
    std::string csv;
    csv.reserve(static_cast<std::size_t>(text->size()) * 4);
    LoopRunner runner;
    ManifoldCells cells;
    QStringList row;
    int line = 0;
    while (reader.takeRow(row, line))
        if (!computeRow(row, line, table, runner, cells, out, csv))
            break;
    out.csv = QByteArray(csv.data(), static_cast<qsizetype>(csv.size()));
    if (out.error.isEmpty() && reader.failed())
        out.error = reader.error();
    return out;
}

// A batch of valid UTF-8 without quotation marks, cut into rows and cells on
// its bytes by the CSV rules. Plain rows are read and written on the bytes,
// the others decoded one by one.
BatchOut computePlainBatch(const Batch& batch, const Table& table) {
    BatchOut out;
    std::string csv;
    csv.reserve(static_cast<std::size_t>(batch.raw.size()) * 4);
    LoopRunner runner;
    ManifoldCells cells;
    std::vector<std::string_view> rowCells;
    LoopInput loop;
    ManifoldInput manifold;
    const std::string_view raw(batch.raw.constData(), static_cast<std::size_t>(batch.raw.size()));
    // False when the row stops the batch.
    const auto row = [&](std::size_t start, std::size_t end, int line) {
        if (std::all_of(rowCells.begin(), rowCells.end(),
                        [](std::string_view cell) { return cell.empty(); }))
            return true; // a blank row
        if (readPlainDesign(table.columns, rowCells, table.base, loop, manifold)) {
            clearUpperVectorState();
            const LoopResult result = runner.compute(manifold, loop);
            count(out, result);
            appendResultRow(csv, manifold, loop, result, cells.bytes(manifold));
            return true;
        }
        const QString text = QString::fromUtf8(raw.substr(start, end - start));
        return computeRow(text.split(u','), line, table, runner, cells, out, csv);
    };
    csv::CsvMachine machine(batch.firstLine);
    std::size_t rowStart = 0;
    std::size_t cellStart = 0;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        i = static_cast<std::size_t>(machine.skipText(raw.data() + i, raw.data() + raw.size()) -
                                     raw.data());
        if (i == raw.size())
            break;
        const int line = machine.rowLine();
        switch (machine.step(raw[i])) {
        case Step::Text:
            continue;
        case Step::Skip: // the LF of a CR LF
            rowStart = cellStart = i + 1;
            continue;
        case Step::FieldEnd:
            rowCells.push_back(raw.substr(cellStart, i - cellStart));
            cellStart = i + 1;
            continue;
        case Step::RowEnd:
            rowCells.push_back(raw.substr(cellStart, i - cellStart));
            if (!row(rowStart, i, line)) {
                out.csv = QByteArray(csv.data(), static_cast<qsizetype>(csv.size()));
                return out;
            }
            rowCells.clear();
            rowStart = cellStart = i + 1;
            continue;
        case Step::Fault: // no quotation marks here
            break;
        }
    }
    const int line = machine.rowLine();
    if (machine.finish() == Step::RowEnd) {
        rowCells.push_back(raw.substr(cellStart));
        (void)row(rowStart, raw.size(), line);
    }
    out.csv = QByteArray(csv.data(), static_cast<qsizetype>(csv.size()));
    return out;
}

BatchOut computeBatch(const Batch& batch, const Table& table) {
    if (!methodRows(table.mode) && table.encoding == csv::Encoding::Utf8 &&
        !batch.raw.contains('"') && csv::plainUtf8(batch.raw))
        return computePlainBatch(batch, table);
    return computeDecodedBatch(batch, table);
}

// UTF-16 input turned into UTF-8 piece by piece. At the first unit that is
// not part of a character the text stops, and error() names its line,
// counted as the CSV reader counts.
class Utf16ToUtf8 {
public:
    explicit Utf16ToUtf8(csv::Encoding encoding) : encoding_(encoding) {}

    // The UTF-8 of `bytes` after what came before; `last` when the input
    // ends after them.
    QByteArray convert(QByteArrayView bytes, bool last) {
        QString text;
        text.reserve(bytes.size() / 2 + 2);
        for (const char byte : bytes) {
            if (!error_.isEmpty())
                break;
            if (carry_ < 0) {
                carry_ = static_cast<unsigned char>(byte);
                continue;
            }
            const auto second = static_cast<unsigned char>(byte);
            const char16_t unit = encoding_ == csv::Encoding::Utf16Le
                                      ? char16_t(second << 8 | carry_)
                                      : char16_t(carry_ << 8 | second);
            carry_ = -1;
            take(unit, text);
        }
        if (last && error_.isEmpty() && (carry_ >= 0 || high_ != 0))
            fail();
        return text.toUtf8();
    }
    const QString& error() const { return error_; }

private:
    void take(char16_t unit, QString& text) {
        if (high_ != 0) {
            if (!QChar::isLowSurrogate(unit))
                return fail();
            text += QChar(high_);
            text += QChar(unit);
            high_ = 0;
            return;
        }
        if (QChar::isHighSurrogate(unit)) {
            high_ = unit;
            return;
        }
        if (QChar::isLowSurrogate(unit))
            return fail();
        if (unit == u'\r' || (unit == u'\n' && !lastWasCr_))
            ++lines_;
        lastWasCr_ = unit == u'\r';
        text += QChar(unit);
    }

    void fail() {
        error_ = QStringLiteral("第 %1 行：其中有不是 %2 编码的字节")
                     .arg(lines_ + 1)
                     .arg(csv::encodingName(encoding_));
    }

    csv::Encoding encoding_;
    int carry_ = -1;    // the first byte of a unit
    char16_t high_ = 0; // a high surrogate waiting for its low one
    int lines_ = 0;
    bool lastWasCr_ = false;
    QString error_;
};

class CsvStream {
public:
    CsvStream(QIODevice& in, std::FILE* out, const CsvStreamOptions& options, CsvStreamStats& stats)
        : in_(in), out_(out), options_(options), stats_(stats) {
        table_.base = options.base;
        table_.mode = options.mode;
        maxInFlight_ = 2 * static_cast<std::size_t>(
                               std::max(1, QThreadPool::globalInstance()->maxThreadCount()));
    }

    Result<void> run() {
        bool decided = false;
        bool atEnd = false;
        while (!problem_) {
            if (!atEnd)
                atEnd = !readChunk(decided);
            if (problem_)
                break;
            if (!decided) {
                if (pending_.size() < csv::kEncodingSampleBytes && !atEnd)
                    continue;
                if (!decideEncoding(atEnd))
                    break;
                decided = true;
            }
            while (!problem_ && splitter_.next(pending_, scan_))
                rowEnded();
            if (problem_)
                break;
            if (splitter_.broken() || endProblem_)
                atEnd = true; // the reader of the last piece says where
            if (atEnd) {
                // Input cut short by a fault ends at its last whole row.
                const qsizetype end = endProblem_ ? rowStart_ : pending_.size();
                if (batchStart_ < end)
                    haveHeader_ ? submit(end) : takeHeader(end);
                if (!problem_ && !haveHeader_ && !endProblem_)
                    problem_ = stop(InputError, QStringLiteral("文件中没有表头和数据"));
                break;
            }
            // A row that never ends (a quotation mark left open, say) would
            // otherwise take the whole input into memory.
            // The rows before it are still computed and written.
            if (pending_.size() - rowStart_ > options_.maxRowBytes) {
                if (haveHeader_ && rowStart_ > batchStart_)
                    submit(rowStart_);
                endProblem_ = stop(InputError, QStringLiteral("第 %1 行：一行超过 %2 MiB，"
                                                              "可能是引号括起的字段没有结束")
                                                   .arg(rowStartLine_)
                                                   .arg(options_.maxRowBytes / (1024 * 1024)));
                break;
            }
            pending_.remove(0, batchStart_);
            scan_ -= batchStart_;
            rowStart_ -= batchStart_;
            batchStart_ = 0;
        }
        // After a fault the batches behind it are finished and dropped.
        while (!inFlight_.empty()) {
            if (!problem_) {
                collect();
            } else {
                inFlight_.front().waitForFinished();
                inFlight_.pop_front();
            }
        }
        if (!problem_ && endProblem_)
            problem_ = endProblem_;
        if (std::fflush(out_) != 0 || std::ferror(out_))
            if (!problem_)
                problem_ = writeFailed(errno);
        if (!problem_ && stats_.notComputed > 0)
            problem_ = stop(SomeNotComputed,
                            (methodRows(table_.mode)
                                 ? QStringLiteral("%1 个设计没有结果，见其“状态”一列")
                                 : QStringLiteral("%1 个设计出现运算错误或未收敛，见其“状态”一列"))
                                .arg(stats_.notComputed));
        if (problem_)
            return *problem_;
        return {};
    }

private:
    static Problem writeFailed(int error) {
        return stop(InputError, QStringLiteral("写出结果失败"),
                    error != 0 ? qt_error_string(error) : QString());
    }

    // False at the end of the input (or on a read error).
    bool readChunk(bool decided) {
        QByteArray chunk(options_.chunkBytes, Qt::Uninitialized);
        const qint64 n = in_.read(chunk.data(), chunk.size());
        if (n < 0) {
            problem_ = stop(InputError, QStringLiteral("读取输入失败"), in_.errorString());
            return false;
        }
        chunk.truncate(n);
        if (decided && utf16_)
            appendUtf16(chunk, n == 0);
        else
            pending_.append(chunk);
        return n > 0;
    }

    void appendUtf16(QByteArrayView bytes, bool last) {
        pending_.append(utf16_->convert(bytes, last));
        if (!utf16_->error().isEmpty() && !endProblem_)
            endProblem_ = stop(InputError, utf16_->error());
    }

    bool decideEncoding(bool atEnd) {
        const Result<csv::TextStart> start = csv::detectEncoding(pending_);
        if (!start) {
            problem_ = stop(InputError, start.problem().message);
            return false;
        }
        stats_.encoding = csv::encodingName(start->encoding);
        pending_.remove(0, start->markBytes);
        if (start->encoding == csv::Encoding::Utf16Le ||
            start->encoding == csv::Encoding::Utf16Be) {
            utf16_.emplace(start->encoding);
            const QByteArray raw = std::exchange(pending_, QByteArray());
            appendUtf16(raw, atEnd);
        } else {
            table_.encoding = start->encoding;
        }
        return true;
    }

    void rowEnded() {
        rowStart_ = scan_;
        rowStartLine_ = splitter_.lines() + 1;
        if (!haveHeader_)
            takeHeader(scan_);
        else if (scan_ - batchStart_ >= options_.batchBytes)
            submit(scan_);
    }

    // The row in pending_[batchStart_, end): the header unless it is blank.
    void takeHeader(qsizetype end) {
        const QByteArrayView raw = QByteArrayView(pending_).sliced(batchStart_, end - batchStart_);
        const int line = batchLine_;
        batchStart_ = end;
        batchLine_ = splitter_.lines() + 1;
        const Result<QString> text = csv::decodeText(raw, table_.encoding, line);
        if (!text) {
            problem_ = stop(InputError, text.problem().message);
            return;
        }
        csv::CsvRowReader reader(line);
        reader.feed(*text);
        reader.finish();
        QStringList header;
        int headerLine = line;
        if (reader.failed() || !reader.takeRow(header, headerLine)) {
            if (reader.failed())
                problem_ = stop(InputError, reader.error());
            return;
        }
        if (blankRow(header))
            return;
        Result<io::CsvColumns> columns = io::mapCsvHeader(header, headerLine);
        if (!columns) {
            problem_ = stop(InputError, columns.problem().message);
            return;
        }
        table_.columns = std::move(columns).value();
        stats_.note = io::unreadColumnsNote(table_.columns, headerLine);
        haveHeader_ = true;
        QString out;
        if (const QStringList method = methodLine(table_.mode); !method.isEmpty())
            csv::appendRow(out, method);
        csv::appendRow(out, methodRows(table_.mode) ? methodCsvHeader(table_.mode)
                                                    : io::manifoldCsvHeader());
        QByteArray bytes = out.toUtf8();
        if (options_.byteOrderMark)
            bytes.prepend("\xEF\xBB\xBF");
        write(bytes);
    }

    void submit(qsizetype end) {
        Batch batch{pending_.mid(batchStart_, end - batchStart_), batchLine_};
        batchStart_ = end;
        batchLine_ = splitter_.lines() + 1;
        inFlight_.push_back(QtConcurrent::run(
            [batch = std::move(batch), this] { return computeBatch(batch, table_); }));
        while (!problem_ && inFlight_.size() >= maxInFlight_)
            collect();
    }

    // Waits for the oldest batch and writes its rows.
    void collect() {
        const BatchOut done = inFlight_.front().result();
        inFlight_.pop_front();
        stats_.designs += done.designs;
        stats_.notComputed += done.notComputed;
        write(done.csv);
        if (!problem_ && !done.error.isEmpty())
            problem_ = stop(InputError, done.error);
    }

    void write(const QByteArray& bytes) {
        if (std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), out_) !=
                static_cast<std::size_t>(bytes.size()) &&
            !problem_)
            problem_ = writeFailed(errno);
    }

    QIODevice& in_;
    std::FILE* out_;
    const CsvStreamOptions& options_;
    CsvStreamStats& stats_;
    Table table_;
    std::optional<Utf16ToUtf8> utf16_;
    csv::CsvRowSplitter splitter_;
    QByteArray pending_;
    qsizetype scan_ = 0;
    qsizetype batchStart_ = 0;
    int batchLine_ = 1;
    qsizetype rowStart_ = 0; // where the row being read starts
    int rowStartLine_ = 1;
    bool haveHeader_ = false;
    std::deque<QFuture<BatchOut>> inFlight_;
    std::size_t maxInFlight_ = 2;
    std::optional<Problem> problem_;
    // Ends the input where it stands; reported after the rows before it.
    std::optional<Problem> endProblem_;
};

} // namespace

Result<void> streamCsvDesigns(QIODevice& in, std::FILE* out, const CsvStreamOptions& options,
                              CsvStreamStats& stats) {
    CsvStream stream(in, out, options, stats);
    return stream.run();
}

} // namespace zorva::cli
