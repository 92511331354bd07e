// SPDX-License-Identifier: GPL-3.0-or-later
// The record reader over arbitrary bytes, and the record written for
// arbitrary values.
//
// - Any bytes read without fault into whole fields: the text read is empty
//   or ends in CR LF, and it is never longer than the decoded text plus one
//   CR LF for each field the bytes can delimit.
// - Bytes without quotation marks or commas read as their lines, each with
//   its leading spaces dropped and ended by CR LF (blank trailing lines
//   give no field).
// - A record composed from five finite values taken from the bytes reads
//   back as the file's own text.

#include "core/io/recordformat.h"
#include "fuzzcheck.h"

#include <QByteArray>
#include <QString>
#include <QStringDecoder>

#include <cmath>
#include <cstdint>

using namespace zorva::io;
#include <cstring>

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

// GBK with a lead byte cut off at the end flushed out as invalid: a line
// feed can never be a trail byte.
QString decodeGbk(const QByteArray& bytes) {
    QStringDecoder decoder("GBK");
    QString text = decoder.decode(bytes + '\n');
    text.chop(1);
    return text;
}

// The lines of a text without quotation marks or commas, read one field per
// line. CR LF, a lone CR and a lone LF each end a line.
QString linesOf(const QString& text) {
    QString out;
    qsizetype pos = 0;
    const qsizetype n = text.size();
    while (pos < n) {
        while (pos < n && text[pos] == u' ')
            ++pos;
        if (pos == n)
            break;
        qsizetype end = pos;
        while (end < n && text[end] != u'\r' && text[end] != u'\n')
            ++end;
        out += text.mid(pos, end - pos) + kLineEnd;
        pos = end;
        if (pos < n)
            pos += (text[pos] == u'\r' && pos + 1 < n && text[pos + 1] == u'\n') ? 2 : 1;
    }
    return out;
}

void checkComposedRecord(const std::uint8_t* data, std::size_t size) {
    double v[4];
    float heat;
    if (size < sizeof v + sizeof heat)
        return;
    std::memcpy(v, data, sizeof v);
    std::memcpy(&heat, data + sizeof v, sizeof heat);
    for (double x : v)
        if (!std::isfinite(x))
            return;
    if (!std::isfinite(heat))
        return;
    const QString buffer = composeRecord(v[0], v[1], v[2], heat, v[3]);
    FUZZ_CHECK(buffer.endsWith(kLineEnd + kLineEnd));
    FUZZ_CHECK(buffer.count(kLineEnd) == 7);
    FUZZ_CHECK(!buffer.contains(u',') && !buffer.contains(u'"'));
    const QByteArray file = recordFileBytes(buffer);
    FUZZ_CHECK(file.endsWith("\r\n\r\n\r\n"));
    FUZZ_CHECK(readRecordFields(file) == buffer + kLineEnd);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString read = readRecordFields(bytes);
    FUZZ_CHECK(read.isEmpty() || read.endsWith(kLineEnd));

    const QString text = decodeGbk(bytes);
    const qsizetype delimiters = text.count(u',') + text.count(u'\r') + text.count(u'\n');
    FUZZ_CHECK(read.size() <= text.size() + 2 * (delimiters + 1));

    if (!text.contains(u'"') && !text.contains(u','))
        FUZZ_CHECK(read == linesOf(text));

    checkComposedRecord(data, size);
    return 0;
}
