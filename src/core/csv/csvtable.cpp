#include "core/csv/csvtable.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace zorva::io {

namespace {

// The one byte-order mark the file may start with is dropped by hand; a
// second one is text.
constexpr auto kUtf8Flags =
    QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom;

} // namespace

QString csvField(const QString& field) {
    const bool quote = field.contains(u',') || field.contains(u'"') || field.contains(u'\r') ||
                       field.contains(u'\n');
    if (!quote)
        return field;
    QString out = field;
    out.replace(u'"', QStringLiteral("\"\""));
    return u'"' + out + u'"';
}

QString csvText(const QList<QStringList>& rows) {
    QString text;
    for (const QStringList& row : rows) {
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (i > 0)
                text += u',';
            text += csvField(row[i]);
        }
        text += QStringLiteral("\r\n");
    }
    return text;
}

QByteArray csvBytes(const QList<QStringList>& rows) {
    return QByteArray("\xEF\xBB\xBF") + csvText(rows).toUtf8();
}

DecodedText decodeText(const QByteArray& bytes) {
    DecodedText out;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        QStringDecoder utf8(QStringDecoder::Utf8, kUtf8Flags);
        out.text = utf8.decode(QByteArrayView(bytes).sliced(3));
        out.encoding = QStringLiteral("UTF-8");
        out.ok = !utf8.hasError();
        if (!out.ok)
            out.error = QStringLiteral("文件以 UTF-8 标记开头，但其中有不是 UTF-8 的字节");
        return out;
    }
    QStringDecoder utf8(QStringDecoder::Utf8, kUtf8Flags);
    out.text = utf8.decode(bytes);
    if (!utf8.hasError()) {
        out.ok = true;
        out.encoding = QStringLiteral("UTF-8");
        return out;
    }
    QStringDecoder gbk("GBK", QStringDecoder::Flag::Stateless);
    if (!gbk.isValid()) {
        out.error = QStringLiteral("文件不是 UTF-8 编码，且本系统不能读取 GBK 编码");
        return out;
    }
    out.text = gbk.decode(bytes);
    out.encoding = QStringLiteral("GBK");
    // Bytes without a GBK character may come back as the replacement
    // character without an error being flagged.
    out.ok = !gbk.hasError() && !out.text.contains(QChar::ReplacementCharacter);
    if (!out.ok)
        out.error = QStringLiteral("文件既不是 UTF-8 也不是 GBK 编码的文本");
    return out;
}

void CsvRowReader::endField() {
    row_.append(field_);
    field_.clear();
}

void CsvRowReader::endRow() {
    endField();
    ready_.push_back({std::move(row_), rowLine_});
    row_.clear();
    state_ = State::FieldStart;
    ++line_;
}

void CsvRowReader::fail(const QString& message) {
    error_ = message;
    state_ = State::Failed;
}

void CsvRowReader::feed(QStringView text) {
    for (const QChar c : text) {
        if (state_ == State::Failed)
            return;
        const bool afterCr = lastWasCr_;
        lastWasCr_ = c == u'\r';
        // The LF of a CR LF that ended a row.
        if (swallowLf_) {
            swallowLf_ = false;
            if (c == u'\n')
                continue;
        }
        const bool lineEnd = c == u'\r' || c == u'\n';
        switch (state_) {
        case State::FieldStart:
        case State::Unquoted:
            if (state_ == State::FieldStart && row_.isEmpty())
                rowLine_ = line_;
            if (state_ == State::FieldStart && c == u'"') {
                state_ = State::Quoted;
                quoteLine_ = line_;
            } else if (c == u',') {
                endField();
                state_ = State::FieldStart;
            } else if (lineEnd) {
                endRow();
                swallowLf_ = c == u'\r';
            } else {
                field_ += c;
                state_ = State::Unquoted;
            }
            break;
        case State::Quoted:
            if (c == u'"') {
                state_ = State::QuoteSeen;
                break;
            }
            if (c == u'\r' || (c == u'\n' && !afterCr))
                ++line_;
            field_ += c;
            break;
        case State::QuoteSeen:
            if (c == u'"') {
                field_ += c;
                state_ = State::Quoted;
            } else if (c == u',') {
                endField();
                state_ = State::FieldStart;
            } else if (lineEnd) {
                endRow();
                swallowLf_ = c == u'\r';
            } else {
                fail(QStringLiteral("第 %1 行：引号后面应是逗号或行尾").arg(line_));
            }
            break;
        case State::Failed:
            return;
        }
    }
}

void CsvRowReader::finish() {
    switch (state_) {
    case State::Quoted:
        fail(QStringLiteral("第 %1 行：引号括起的字段没有结束").arg(quoteLine_));
        break;
    case State::Unquoted:
    case State::QuoteSeen:
        endRow();
        break;
    case State::FieldStart:
        if (!row_.isEmpty()) // the text ended after a comma
            endRow();
        break;
    case State::Failed:
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

CsvTable parseCsv(const QString& text) {
    CsvTable t;
    CsvRowReader reader;
    reader.feed(text);
    reader.finish();
    if (reader.failed()) {
        t.error = reader.error();
        return t;
    }
    QStringList row;
    int line = 0;
    while (reader.takeRow(row, line)) {
        t.rows.append(std::move(row));
        t.lines.append(line);
    }
    t.ok = true;
    return t;
}

CsvTable readCsv(const QByteArray& bytes) {
    CsvTable t;
    if (bytes.size() > kMaxCsvBytes) {
        t.error = QStringLiteral("文件太大（超过 16 MiB），不能读取");
        return t;
    }
    const DecodedText decoded = decodeText(bytes);
    if (!decoded.ok) {
        t.error = decoded.error;
        return t;
    }
    t = parseCsv(decoded.text);
    t.encoding = decoded.encoding;
    return t;
}

} // namespace zorva::io
