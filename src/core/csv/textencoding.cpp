// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/csv/textencoding.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

namespace zorva::csv {

namespace {

constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";
constexpr char kUtf16LeMark[] = "\xFF\xFE";
constexpr char kUtf16BeMark[] = "\xFE\xFF";

// A mark that starts the text is dropped by the detector; another one is
// text.
constexpr auto kUtf8Flags =
    QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom;

// The marks `mark` repeated at the start of `bytes`, in bytes.
qsizetype repeatedMarks(QByteArrayView bytes, QByteArrayView mark) {
    qsizetype n = 0;
    while (bytes.sliced(n).startsWith(mark))
        n += mark.size();
    return n;
}

struct Utf8Count {
    qsizetype valid = 0;   // well-formed characters of two bytes or more
    qsizetype invalid = 0; // bytes that start no well-formed character
};

// The length of the well-formed UTF-8 character at p (0 when it is not
// one, -1 when the bytes end inside it); `plain` also refuses noncharacters.
int utf8Length(const unsigned char* p, const unsigned char* end, bool plain) {
    const unsigned char b = *p;
    if (b < 0x80)
        return 1;
    int more = 0;
    char32_t c = 0;
    if (b >= 0xC2 && b <= 0xDF) {
        more = 1;
        c = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
        more = 2;
        c = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        more = 3;
        c = b & 0x07;
    } else {
        return 0;
    }
    for (int i = 1; i <= more; ++i) {
        if (p + i >= end)
            return -1;
        if ((p[i] & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (p[i] & 0x3F);
    }
    const char32_t least[] = {0, 0x80, 0x800, 0x10000};
    if (c < least[more] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return 0;
    if (plain && ((c >= 0xFDD0 && c <= 0xFDEF) || (c & 0xFFFE) == 0xFFFE))
        return 0;
    return more + 1;
}

// Characters cut off at the end of the sample count neither way.
Utf8Count countUtf8(QByteArrayView bytes) {
    Utf8Count count;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = p + bytes.size();
    while (p < end) {
        const int n = utf8Length(p, end, false);
        if (n < 0)
            break;
        if (n == 0) {
            ++count.invalid;
            ++p;
            continue;
        }
        count.valid += n > 1;
        p += n;
    }
    return count;
}

// Text with many NUL bytes at even or at odd offsets only is UTF-16 (mostly
// ASCII characters) without its mark.
bool looksLikeUtf16(QByteArrayView bytes) {
    qsizetype nul[2] = {0, 0};
    for (qsizetype i = 0; i < bytes.size(); ++i)
        nul[i % 2] += bytes[i] == '\0';
    const qsizetype more = std::max(nul[0], nul[1]);
    const qsizetype fewer = std::min(nul[0], nul[1]);
    return bytes.size() >= 4 && more * 8 >= bytes.size() && fewer * 8 < more;
}

bool gbkAvailable() {
    return QStringDecoder("GBK").isValid();
}

QString utf8Text(QByteArrayView bytes, bool* valid) {
    QStringDecoder utf8(QStringDecoder::Utf8, kUtf8Flags);
    QString text = utf8.decode(bytes);
    *valid = !utf8.hasError();
    return text;
}

// GBK has no U+FFFD, so a replacement character marks a byte that is not
// part of a character.
QString gbkText(QByteArrayView bytes, bool* valid) {
    QString text = decodeGbkLenient(bytes);
    *valid = !text.contains(QChar::ReplacementCharacter);
    return text;
}

// The first line of `bytes` that does not decode, decoding line by line:
// CR and LF are single bytes in UTF-8 and in GBK and never part of another
// character.
int badByteLine(QByteArrayView bytes, Encoding encoding, int firstLine) {
    int line = firstLine;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= bytes.size(); ++i) {
        if (i < bytes.size() && bytes[i] != '\r' && bytes[i] != '\n')
            continue;
        bool valid = false;
        const QByteArrayView piece = bytes.sliced(start, i - start);
        (void)(encoding == Encoding::Utf8 ? utf8Text(piece, &valid) : gbkText(piece, &valid));
        if (!valid)
            return line;
        if (i < bytes.size() && (bytes[i] == '\r' || !(i > 0 && bytes[i - 1] == '\r')))
            ++line;
        start = i + 1;
    }
    return firstLine;
}

// The line of the first UTF-16 unit that is not part of a character (an
// unpaired surrogate, or an odd byte at the end), or 0 when there is none.
int badUtf16Line(QByteArrayView bytes, bool littleEndian, int firstLine) {
    int line = firstLine;
    const qsizetype units = bytes.size() / 2;
    const auto unit = [&](qsizetype i) {
        const auto lo = static_cast<unsigned char>(bytes[2 * i + (littleEndian ? 0 : 1)]);
        const auto hi = static_cast<unsigned char>(bytes[2 * i + (littleEndian ? 1 : 0)]);
        return char16_t(hi << 8 | lo);
    };
    char16_t previous = 0;
    for (qsizetype i = 0; i < units; ++i) {
        const char16_t u = unit(i);
        if (QChar::isHighSurrogate(u) && !(i + 1 < units && QChar::isLowSurrogate(unit(i + 1))))
            return line;
        if (QChar::isLowSurrogate(u) && !QChar::isHighSurrogate(previous))
            return line;
        if (u == u'\r' || (u == u'\n' && previous != u'\r'))
            ++line;
        previous = u;
    }
    return bytes.size() % 2 != 0 ? line : 0;
}

Problem badBytes(int line, Encoding encoding) {
    return {QStringLiteral("第 %1 行：其中有不是 %2 编码的字节（编码按文件开头判断）")
                .arg(line)
                .arg(encodingName(encoding)),
            {}};
}

} // namespace

QString encodingName(Encoding encoding) {
    switch (encoding) {
    case Encoding::Utf8:
        return QStringLiteral("UTF-8");
    case Encoding::Gbk:
        return QStringLiteral("GBK");
    case Encoding::Utf16Le:
        return QStringLiteral("UTF-16LE");
    case Encoding::Utf16Be:
        break;
    }
    return QStringLiteral("UTF-16BE");
}

Result<TextStart> detectEncoding(QByteArrayView start) {
    start = start.first(std::min(start.size(), kEncodingSampleBytes));
    if (const qsizetype marks = repeatedMarks(start, kUtf8Mark); marks > 0)
        return TextStart{Encoding::Utf8, marks};
    if (start.startsWith(kUtf16LeMark))
        return TextStart{Encoding::Utf16Le, repeatedMarks(start, kUtf16LeMark)};
    if (start.startsWith(kUtf16BeMark))
        return TextStart{Encoding::Utf16Be, repeatedMarks(start, kUtf16BeMark)};
    if (looksLikeUtf16(start))
        return Problem{QStringLiteral("文件是 UTF-16 编码但没有字节顺序标记，不能可靠读取；"
                                      "请另存为 UTF-8（或带标记的 UTF-16）"),
                       {}};
    const Utf8Count count = countUtf8(start);
    // GBK text decoded as UTF-8 fails on most of its characters; a UTF-8
    // file with a few bad bytes has far more good characters than bad bytes.
    if (count.invalid == 0 || count.valid >= 4 * count.invalid)
        return TextStart{Encoding::Utf8, 0};
    if (!gbkAvailable())
        return Problem{QStringLiteral("文件不是 UTF-8 编码，且本系统不能读取 GBK 编码"), {}};
    return TextStart{Encoding::Gbk, 0};
}

Result<QString> decodeText(QByteArrayView bytes, Encoding encoding, int firstLine) {
    bool valid = false;
    switch (encoding) {
    case Encoding::Utf8:
    case Encoding::Gbk: {
        QString text =
            encoding == Encoding::Utf8 ? utf8Text(bytes, &valid) : gbkText(bytes, &valid);
        if (!valid)
            return badBytes(badByteLine(bytes, encoding, firstLine), encoding);
        return text;
    }
    case Encoding::Utf16Le:
    case Encoding::Utf16Be:
        break;
    }
    const bool littleEndian = encoding == Encoding::Utf16Le;
    if (const int line = badUtf16Line(bytes, littleEndian, firstLine); line > 0)
        return badBytes(line, encoding);
    QStringDecoder utf16(littleEndian ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
                         kUtf8Flags);
    return QString(utf16.decode(bytes));
}

Result<DecodedText> decodeFileText(QByteArrayView bytes) {
    const Result<TextStart> start = detectEncoding(bytes);
    if (!start)
        return start.problem();
    Result<QString> text = decodeText(bytes.sliced(start->markBytes), start->encoding);
    if (!text)
        return text.problem();
    return DecodedText{std::move(text).value(), start->encoding};
}

QString decodeGbkLenient(QByteArrayView bytes) {
    // The decoder holds an unfinished lead byte back waiting for its trail
    // byte, so a line feed is fed after the text and taken off again: it can
    // never be a trail byte and flushes the lead byte out as invalid.
    QByteArray ended(bytes.data(), bytes.size());
    ended += '\n';
    QStringDecoder decoder("GBK");
    QString text = decoder.decode(ended);
    text.chop(1);
    return text;
}

QString gbkCodecProblem() {
    if (QStringEncoder("GBK").isValid() && QStringDecoder("GBK").isValid())
        return {};
    return QStringLiteral("本程序所用的 Qt 不支持 GBK 编码，无法读写记录文件。"
                          "请安装带 ICU 支持的 Qt 库。");
}

qsizetype firstNonPlainUtf8(QByteArrayView bytes) {
    const auto* const begin = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = begin + bytes.size();
    for (const unsigned char* p = begin; p < end;) {
        if (*p < 0x80) {
            ++p;
            continue;
        }
        const int n = utf8Length(p, end, true);
        if (n <= 0)
            return p - begin;
        p += n;
    }
    return -1;
}

} // namespace zorva::csv
