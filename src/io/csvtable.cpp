#include "csvtable.h"

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

CsvTable parseCsv(const QString& text) {
    CsvTable t;
    const qsizetype n = text.size();
    qsizetype pos = 0;
    int line = 1;
    // Ends a line at `pos` if there is one there; returns whether it did.
    const auto lineEnd = [&]() {
        if (pos < n && text[pos] == u'\r') {
            pos += (pos + 1 < n && text[pos + 1] == u'\n') ? 2 : 1;
            ++line;
            return true;
        }
        if (pos < n && text[pos] == u'\n') {
            ++pos;
            ++line;
            return true;
        }
        return false;
    };
    while (pos < n) {
        QStringList row;
        const int rowLine = line;
        for (;;) {
            QString field;
            if (pos < n && text[pos] == u'"') {
                const int openLine = line;
                ++pos;
                for (;;) {
                    if (pos >= n) {
                        t.error = QStringLiteral("第 %1 行：引号括起的字段没有结束").arg(openLine);
                        return t;
                    }
                    const QChar c = text[pos];
                    if (c == u'"') {
                        if (pos + 1 < n && text[pos + 1] == u'"') {
                            field += u'"';
                            pos += 2;
                            continue;
                        }
                        ++pos;
                        break;
                    }
                    if (c == u'\n' || (c == u'\r' && !(pos + 1 < n && text[pos + 1] == u'\n')))
                        ++line;
                    field += c;
                    ++pos;
                }
                if (pos < n && text[pos] != u',' && text[pos] != u'\r' && text[pos] != u'\n') {
                    t.error = QStringLiteral("第 %1 行：引号后面应是逗号或行尾").arg(line);
                    return t;
                }
            } else {
                const qsizetype start = pos;
                while (pos < n && text[pos] != u',' && text[pos] != u'\r' && text[pos] != u'\n')
                    ++pos;
                field = text.mid(start, pos - start);
            }
            row.append(field);
            if (pos < n && text[pos] == u',') {
                ++pos;
                continue;
            }
            lineEnd();
            break;
        }
        t.rows.append(row);
        t.lines.append(rowLine);
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
