// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The text encodings of the files the program reads: UTF-8 (with or without
// byte-order marks, any number of them), GBK (what Chinese spreadsheet
// programs write by default) and UTF-16 in either byte order, recognised by
// its byte-order mark. One detector decides the encoding from the start of
// the bytes, the same for a whole file and for a pipe read in pieces, and
// one decoder turns bytes into text, naming the line of the first byte that
// does not belong to the encoding.

#include "core/io/result.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace zorva::csv {

enum class Encoding { Utf8, Gbk, Utf16Le, Utf16Be };

// "UTF-8", "GBK", "UTF-16LE", "UTF-16BE"
QString encodingName(Encoding encoding);

// The bytes at the start that decide the encoding.
constexpr qsizetype kEncodingSampleBytes = 64 * 1024;

struct TextStart {
    Encoding encoding = Encoding::Utf8;
    qsizetype markBytes = 0; // byte-order marks to skip before the text
};

// Decides the encoding from `start`, the first kEncodingSampleBytes of the
// bytes (or all of them when shorter):
// - UTF-8 byte-order marks (any number) mean UTF-8;
// - FF FE or FE FF mean UTF-16 (little or big endian), and further marks of
//   the same kind are skipped too;
// - bytes that are valid UTF-8 are UTF-8, and so are bytes whose non-ASCII
//   characters are nearly all valid UTF-8 (a stray byte in a UTF-8 file is
//   then reported by its line when decoding, not read as GBK);
// - anything else is GBK.
// Fails on text that looks like UTF-16 without a mark, and on GBK when this
// Qt has no GBK codec.
Result<TextStart> detectEncoding(QByteArrayView start);

// Decodes `bytes` (the marks already skipped). A byte-order mark inside the
// bytes is text. Fails on the first byte (or UTF-16 unit) that is not part of
// a character, naming its line counted as the CSV reader counts lines (CR LF,
// a lone CR and a lone LF each end one) from `firstLine`.
Result<QString> decodeText(QByteArrayView bytes, Encoding encoding, int firstLine = 1);

// detectEncoding on the start, then decodeText of the rest.
struct DecodedText {
    QString text;
    Encoding encoding = Encoding::Utf8;
};
Result<DecodedText> decodeFileText(QByteArrayView bytes);

// GBK read leniently, as the record reader reads: every byte that is not part
// of a character (a lead byte cut off at the end included) becomes U+FFFD.
QString decodeGbkLenient(QByteArrayView bytes);

// Empty when Qt can both encode and decode GBK; otherwise the reason, in
// Chinese, to show instead of reading or writing GBK.
QString gbkCodecProblem();

// Whether `bytes` are well-formed UTF-8 without noncharacters (which every
// UTF-8 decoder reads alike); the offset of the first byte that is not,
// or -1.
qsizetype firstNonPlainUtf8(QByteArrayView bytes);
inline bool plainUtf8(QByteArrayView bytes) {
    return firstNonPlainUtf8(bytes) < 0;
}

} // namespace zorva::csv
