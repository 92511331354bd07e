#include "cli/csvstream.h"

#include "cli/plaindesignrow.h"
#include "cli/recordsplitter.h"
#include "cli/vectorstate.h"
#include "core/csv/csvtable.h"
#include "core/io/manifoldcsv.h"
#include "core/io/manifoldfields.h"

#include <QFuture>
#include <QStringDecoder>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace zorva::cli {

namespace {

enum class Encoding { Utf8, Gbk };

// The bytes at the start that tell UTF-8 from GBK: the same for a file
// and for a pipe, however the reads happen to split it.
constexpr qsizetype kEncodingSampleBytes = 64 * 1024;

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
    Encoding encoding = Encoding::Utf8;
};

QString encodingName(Encoding encoding) {
    return encoding == Encoding::Utf8 ? QStringLiteral("UTF-8") : QStringLiteral("GBK");
}

bool decodeBytes(QByteArrayView raw, Encoding encoding, QString& text) {
    if (encoding == Encoding::Utf8) {
        // The file's own byte-order mark is dropped before; another one is text.
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                      QStringDecoder::Flag::ConvertInitialBom);
        text = utf8.decode(raw);
        return !utf8.hasError();
    }
    QStringDecoder gbk("GBK", QStringDecoder::Flag::Stateless);
    text = gbk.decode(raw);
    // Bytes without a GBK character may come back as the replacement
    // character without an error being flagged.
    return !gbk.hasError() && !text.contains(QChar::ReplacementCharacter);
}

// The first line of `raw` that does not decode, counting lines as
// CsvRowReader does.
int undecodableLine(QByteArrayView raw, int firstLine, Encoding encoding) {
    int line = firstLine;
    qsizetype start = 0;
    QString text;
    for (qsizetype i = 0; i <= raw.size(); ++i) {
        if (i < raw.size() && raw[i] != '\r' && raw[i] != '\n')
            continue;
        if (!decodeBytes(raw.sliced(start, i - start), encoding, text))
            return line;
        if (i < raw.size() && (raw[i] == '\r' || !(i > 0 && raw[i - 1] == '\r')))
            ++line;
        start = i + 1;
    }
    return firstLine;
}

QString decodeError(QByteArrayView raw, int firstLine, Encoding encoding) {
    return QStringLiteral("第 %1 行：其中有不是 %2 编码的字节（编码按文件开头判断）")
        .arg(undecodableLine(raw, firstLine, encoding))
        .arg(encodingName(encoding));
}

bool blankRow(const QStringList& row) {
    return std::all_of(row.begin(), row.end(),
                       [](const QString& cell) { return cell.trimmed().isEmpty(); });
}

// The cells as csvField writes them; most cells are numbers, which are
// appended without a copy.
void appendCsvRow(QString& out, const QStringList& row) {
    for (qsizetype i = 0; i < row.size(); ++i) {
        if (i > 0)
            out += u',';
        const QString& cell = row[i];
        const bool plain = std::none_of(cell.begin(), cell.end(), [](QChar c) {
            return c == u',' || c == u'"' || c == u'\r' || c == u'\n';
        });
        out += plain ? cell : io::csvField(cell);
    }
    out += QLatin1String("\r\n");
}

bool sameManifold(const ManifoldInput& a, const ManifoldInput& b) {
    for (int i = 0; i < io::kManifoldNumberCount; ++i)
        if (io::manifoldNumber(a, i) != io::manifoldNumber(b, i))
            return false;
    return true;
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
    io::CsvDesignRow design;
    out.error = io::readCsvDesignRow(table.columns, row, line, table.base, design);
    if (!out.error.isEmpty())
        return false;
    clearUpperVectorState();
    const LoopResult result = runner.compute(design.manifold, design.loop);
    count(out, result);
    QString text;
    appendCsvRow(text, io::manifoldCsvRow(design.manifold, design.loop, &result,
                                          cells.list(design.manifold)));
    csv += text.toStdString();
    return true;
}

// Any batch: decoded, then read by CsvRowReader.
BatchOut computeDecodedBatch(const Batch& batch, const Table& table) {
    BatchOut out;
    QString text;
    if (!decodeBytes(batch.raw, table.encoding, text)) {
        out.error = decodeError(batch.raw, batch.firstLine, table.encoding);
        return out;
    }
    io::CsvRowReader reader(batch.firstLine);
    reader.feed(text);
    reader.finish();
    std::string csv;
    csv.reserve(static_cast<std::size_t>(text.size()) * 4);
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

// A batch of valid UTF-8 without quotation marks: every row is one line,
// its cells cut at the commas. Plain rows are read and written on the bytes,
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
    int line = batch.firstLine;
    std::size_t pos = 0;
    for (; pos < raw.size(); ++line) {
        std::size_t end = pos;
        while (end < raw.size() && raw[end] != '\r' && raw[end] != '\n')
            ++end;
        const std::string_view text = raw.substr(pos, end - pos);
        pos = end + 1;
        if (end < raw.size() && raw[end] == '\r' && pos < raw.size() && raw[pos] == '\n')
            ++pos;
        rowCells.clear();
        for (std::size_t start = 0;;) {
            const std::size_t comma = text.find(',', start);
            rowCells.push_back(text.substr(start, comma - start));
            if (comma == std::string_view::npos)
                break;
            start = comma + 1;
        }
        if (std::all_of(rowCells.begin(), rowCells.end(),
                        [](std::string_view cell) { return cell.empty(); }))
            continue; // a blank row
        if (readPlainDesign(table.columns, rowCells, table.base, loop, manifold)) {
            clearUpperVectorState();
            const LoopResult result = runner.compute(manifold, loop);
            count(out, result);
            appendResultRow(csv, manifold, loop, result, cells.bytes(manifold));
            continue;
        }
        QString row;
        decodeBytes(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())),
                    Encoding::Utf8, row);
        if (!computeRow(row.split(u','), line, table, runner, cells, out, csv))
            break;
    }
    out.csv = QByteArray(csv.data(), static_cast<qsizetype>(csv.size()));
    return out;
}

BatchOut computeBatch(const Batch& batch, const Table& table) {
    if (table.encoding == Encoding::Utf8 && !batch.raw.contains('"') && plainUtf8(batch.raw))
        return computePlainBatch(batch, table);
    return computeDecodedBatch(batch, table);
}

class CsvStream {
public:
    CsvStream(QIODevice& in, std::FILE* out, const CsvStreamOptions& options, CsvStreamStats& stats)
        : in_(in), out_(out), options_(options), stats_(stats) {
        table_.base = options.base;
        maxInFlight_ = 2 * static_cast<std::size_t>(
                               std::max(1, QThreadPool::globalInstance()->maxThreadCount()));
    }

    Problem run() {
        bool decided = false;
        bool atEnd = false;
        Problem overlong;
        while (!problem_) {
            if (!atEnd)
                atEnd = !readChunk();
            if (problem_)
                break;
            if (!decided) {
                if (pending_.size() < kEncodingSampleBytes && !atEnd)
                    continue;
                if (!decideEncoding())
                    break;
                decided = true;
            }
            while (!problem_ && splitter_.next(pending_, scan_))
                rowEnded();
            if (problem_)
                break;
            if (splitter_.broken())
                atEnd = true; // the reader of the last piece says where
            if (atEnd) {
                if (batchStart_ < pending_.size())
                    haveHeader_ ? submit(pending_.size()) : takeHeader(pending_.size());
                if (!problem_ && !haveHeader_)
                    problem_ = {InputError, QStringLiteral("文件中没有表头和数据")};
                break;
            }
            // A row that never ends (a quotation mark left open, say) would
            // otherwise take the whole input into memory.
            // The rows before it are still computed and written.
            if (pending_.size() - rowStart_ > options_.maxRowBytes) {
                if (haveHeader_ && rowStart_ > batchStart_)
                    submit(rowStart_);
                overlong = {InputError, QStringLiteral("第 %1 行：一行超过 %2 MiB，"
                                                       "可能是引号括起的字段没有结束")
                                            .arg(rowStartLine_)
                                            .arg(options_.maxRowBytes / (1024 * 1024))};
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
        if (!problem_)
            problem_ = overlong;
        if (std::fflush(out_) != 0 || std::ferror(out_))
            if (!problem_)
                problem_ = {InputError, QStringLiteral("写出结果失败")};
        if (!problem_ && stats_.notComputed > 0)
            problem_ = {SomeNotComputed,
                        QStringLiteral("%1 个设计出现运算错误或未收敛，见其“状态”一列")
                            .arg(stats_.notComputed)};
        return problem_;
    }

private:
    // False at the end of the input (or on a read error).
    bool readChunk() {
        QByteArray chunk(options_.chunkBytes, Qt::Uninitialized);
        const qint64 n = in_.read(chunk.data(), chunk.size());
        if (n < 0) {
            problem_ = {InputError, QStringLiteral("读取输入失败：%1").arg(in_.errorString())};
            return false;
        }
        pending_.append(chunk.constData(), n);
        return n > 0;
    }

    bool decideEncoding() {
        if (pending_.startsWith("\xEF\xBB\xBF")) {
            pending_.remove(0, 3);
        } else {
            QStringDecoder utf8(QStringDecoder::Utf8); // a character cut at the end is no error
            // decode() converts when its result is read.
            const QString sample = utf8.decode(
                QByteArrayView(pending_).first(std::min(pending_.size(), kEncodingSampleBytes)));
            if (utf8.hasError())
                table_.encoding = Encoding::Gbk;
        }
        stats_.encoding = encodingName(table_.encoding);
        if (table_.encoding == Encoding::Gbk && !QStringDecoder("GBK").isValid()) {
            problem_ = {InputError,
                        QStringLiteral("输入不是 UTF-8 编码，且本系统不能读取 GBK 编码")};
            return false;
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
        QString text;
        if (!decodeBytes(raw, table_.encoding, text)) {
            problem_ = {InputError, decodeError(raw, line, table_.encoding)};
            return;
        }
        io::CsvRowReader reader(line);
        reader.feed(text);
        reader.finish();
        QStringList header;
        int headerLine = line;
        if (reader.failed() || !reader.takeRow(header, headerLine)) {
            if (reader.failed())
                problem_ = {InputError, reader.error()};
            return;
        }
        if (blankRow(header))
            return;
        QString error = io::mapCsvHeader(header, table_.columns);
        if (!error.isEmpty()) {
            error.replace(QStringLiteral("第 1 行"), QStringLiteral("第 %1 行").arg(headerLine));
            problem_ = {InputError, error};
            return;
        }
        haveHeader_ = true;
        QString out;
        appendCsvRow(out, io::manifoldCsvHeader());
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
            problem_ = {InputError, done.error};
    }

    void write(const QByteArray& bytes) {
        if (std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), out_) !=
                static_cast<std::size_t>(bytes.size()) &&
            !problem_)
            problem_ = {InputError, QStringLiteral("写出结果失败")};
    }

    QIODevice& in_;
    std::FILE* out_;
    const CsvStreamOptions& options_;
    CsvStreamStats& stats_;
    Table table_;
    RecordSplitter splitter_;
    QByteArray pending_;
    qsizetype scan_ = 0;
    qsizetype batchStart_ = 0;
    int batchLine_ = 1;
    qsizetype rowStart_ = 0; // where the row being read starts
    int rowStartLine_ = 1;
    bool haveHeader_ = false;
    std::deque<QFuture<BatchOut>> inFlight_;
    std::size_t maxInFlight_ = 2;
    Problem problem_;
};

} // namespace

Problem streamCsvDesigns(QIODevice& in, std::FILE* out, const CsvStreamOptions& options,
                         CsvStreamStats& stats) {
    CsvStream stream(in, out, options, stats);
    return stream.run();
}

} // namespace zorva::cli
