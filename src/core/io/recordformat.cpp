// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/io/recordformat.h"

#include "core/csv/textencoding.h"
#include "core/engine/numtext.h"
#include "core/wording/fieldtext.h"

#include <QStringEncoder>

namespace zorva::io {

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

QString oneDecimal(double value) {
    return toQString(patternText(value, 1));
}

bool isLineEnd(QChar c) {
    return c == u'\r' || c == u'\n';
}

// Reads fields from a decoded text, one per call of next().
class FieldReader {
public:
    explicit FieldReader(const QString& text) : text_(text) {}

    bool atEnd() const { return pos_ >= text_.size(); }

    // Skips the spaces before a field. Returns false when only spaces were
    // left, so the blanks at the end of a file add no field.
    bool skipLeadingSpaces() {
        while (!atEnd() && text_.at(pos_) == u' ')
            ++pos_;
        return !atEnd();
    }

    QString next() {
        if (text_.at(pos_) == u'"')
            return quotedField();
        const qsizetype start = pos_;
        while (!atEnd() && text_.at(pos_) != u',' && !isLineEnd(text_.at(pos_)))
            ++pos_;
        const QString field = text_.mid(start, pos_ - start);
        consumeDelimiter();
        return field;
    }

private:
    QString quotedField() {
        const qsizetype start = ++pos_;
        qsizetype close = text_.indexOf(u'"', start);
        if (close < 0)
            close = text_.size();
        const QString field = text_.mid(start, close - start);
        pos_ = close < text_.size() ? close + 1 : close;
        // Whatever stands between the closing mark and the delimiter is
        // not part of the field.
        while (!atEnd() && text_.at(pos_) != u',' && !isLineEnd(text_.at(pos_)))
            ++pos_;
        consumeDelimiter();
        return field;
    }

    void consumeDelimiter() {
        if (atEnd())
            return;
        const QChar c = text_.at(pos_++);
        if (c == u'\r' && !atEnd() && text_.at(pos_) == u'\n')
            ++pos_;
    }

    const QString& text_;
    qsizetype pos_ = 0;
};

} // namespace

QString composeRecord(double roomTemp, double supplyTemp, double returnTemp, float heatOutput,
                      double surfaceTemp) {
    QString record;
    record += QStringLiteral("Zorva程序：") + kLineEnd;
    record += QStringLiteral("室内温度") + oneDecimal(roomTemp) + QStringLiteral("℃") + kLineEnd;
    record += QStringLiteral("供水温度") + oneDecimal(supplyTemp) + QStringLiteral("℃") + kLineEnd;
    record += QStringLiteral("回水温度") + oneDecimal(returnTemp) + QStringLiteral("℃") + kLineEnd;
    record += QStringLiteral("单位面积散热量") + oneDecimal(static_cast<double>(heatOutput)) +
              QStringLiteral("W/平米") + kLineEnd;
    record +=
        QStringLiteral("地面平均温度") + oneDecimal(surfaceTemp) + QStringLiteral("℃") + kLineEnd;
    record += kLineEnd;
    return record;
}

QByteArray recordFileBytes(const QString& buffer) {
    QStringEncoder encoder("GBK");
    return encoder.encode(buffer + kLineEnd);
}

QString readRecordFields(const QByteArray& bytes) {
    const QString text = csv::decodeGbkLenient(bytes);
    FieldReader reader(text);
    QString buffer;
    while (!reader.atEnd()) {
        if (!reader.skipLeadingSpaces())
            break;
        buffer += reader.next() + kLineEnd;
    }
    return buffer;
}

} // namespace zorva::io
