// SPDX-License-Identifier: GPL-3.0-or-later
// The encoding detector and decoder: byte-order marks of any number, UTF-16
// by its mark, GBK told from UTF-8, and the line of a byte that does not
// belong to the encoding.

#include "core/csv/textencoding.h"

#include <QStringEncoder>
#include <QTest>

using namespace zorva;
using namespace zorva::csv;

Q_DECLARE_METATYPE(zorva::csv::Encoding)

namespace {

const QString kText = QStringLiteral("环路,室内温度\r\n客厅,18\r\n卧室,20\r\n");

QByteArray utf16(const QString& text, bool littleEndian) {
    QByteArray bytes;
    for (const QChar c : text) {
        const auto lo = char(c.unicode() & 0xFF);
        const auto hi = char(c.unicode() >> 8);
        bytes.append(littleEndian ? lo : hi).append(littleEndian ? hi : lo);
    }
    return bytes;
}

} // namespace

class TextEncodingTest : public QObject {
    Q_OBJECT

private slots:
    void decodes_data();
    void decodes();
    void badBytesNameTheirLine_data();
    void badBytesNameTheirLine();
    void lenientGbkMarksBadBytes();
};

void TextEncodingTest::decodes_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Encoding>("encoding");
    QTest::addColumn<QString>("text");
    const QByteArray utf8 = kText.toUtf8();
    const QByteArray mark = "\xEF\xBB\xBF";
    QTest::newRow("UTF-8 without a mark") << utf8 << Encoding::Utf8 << kText;
    QTest::newRow("one UTF-8 mark") << mark + utf8 << Encoding::Utf8 << kText;
    QTest::newRow("two UTF-8 marks") << mark + mark + utf8 << Encoding::Utf8 << kText;
    QTest::newRow("five UTF-8 marks") << mark.repeated(5) + utf8 << Encoding::Utf8 << kText;
    QTest::newRow("a mark after the first line is text")
        << mark + "a\r\n" + mark + "b" << Encoding::Utf8 << QStringLiteral("a\r\n\uFEFFb");
    QTest::newRow("UTF-16LE") << "\xFF\xFE" + utf16(kText, true) << Encoding::Utf16Le << kText;
    QTest::newRow("UTF-16BE") << "\xFE\xFF" + utf16(kText, false) << Encoding::Utf16Be << kText;
    QTest::newRow("UTF-16LE, two marks")
        << "\xFF\xFE\xFF\xFE" + utf16(kText, true) << Encoding::Utf16Le << kText;
    QTest::newRow("UTF-16LE, a character outside the BMP")
        << "\xFF\xFE" + utf16(QStringLiteral("😀,1"), true) << Encoding::Utf16Le
        << QStringLiteral("😀,1");
    QTest::newRow("GBK") << QByteArray(QStringEncoder("GBK").encode(kText)) << Encoding::Gbk
                         << kText;
    QTest::newRow("empty") << QByteArray() << Encoding::Utf8 << QString();
}

void TextEncodingTest::decodes() {
    QFETCH(QByteArray, bytes);
    QFETCH(Encoding, encoding);
    QFETCH(QString, text);
    const Result<DecodedText> decoded = decodeFileText(bytes);
    QVERIFY2(decoded.ok(), qPrintable(decoded.error()));
    QCOMPARE(decoded->encoding, encoding);
    QCOMPARE(decoded->text, text);
}

void TextEncodingTest::badBytesNameTheirLine_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    // One Latin-1 byte among UTF-8 Chinese text is a bad byte, not GBK.
    QByteArray latin1 = kText.toUtf8();
    latin1.insert(latin1.indexOf("18"), '\xB0');
    QTest::newRow("UTF-8 with one bad byte on line 2")
        << latin1 << "第 2 行：其中有不是 UTF-8 编码的字节（编码按文件开头判断）";
    QTest::newRow("marked UTF-8, bad byte on line 4")
        << QByteArray("\xEF\xBB\xBF") + kText.toUtf8() + "\xFF\r\n"
        << "第 4 行：其中有不是 UTF-8 编码的字节（编码按文件开头判断）";
    QTest::newRow("GBK lead byte cut off at the end")
        << QByteArray(QStringEncoder("GBK").encode(kText)) + "\xA1"
        << "第 4 行：其中有不是 GBK 编码的字节（编码按文件开头判断）";
    QByteArray lone = "\xFF\xFE" + utf16(QStringLiteral("a\r\nb"), true);
    lone += QByteArray("\x00\xDC", 2); // a low surrogate without its high one
    QTest::newRow("UTF-16LE, lone surrogate on line 2")
        << lone << "第 2 行：其中有不是 UTF-16LE 编码的字节（编码按文件开头判断）";
    QTest::newRow("UTF-16BE, odd byte at the end")
        << "\xFE\xFF" + utf16(QStringLiteral("a\nb\nc"), false) + QByteArray(1, '\0')
        << "第 3 行：其中有不是 UTF-16BE 编码的字节（编码按文件开头判断）";
    QTest::newRow("UTF-16 without its mark")
        << utf16(QStringLiteral("room,18\r\n"), true)
        << "文件是 UTF-16 编码但没有字节顺序标记，不能可靠读取；"
           "请另存为 UTF-8（或带标记的 UTF-16）";
}

void TextEncodingTest::badBytesNameTheirLine() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    const Result<DecodedText> decoded = decodeFileText(bytes);
    QVERIFY(!decoded.ok());
    QCOMPARE(decoded.error(), message);
}

void TextEncodingTest::lenientGbkMarksBadBytes() {
    // 测 in GBK, then a lead byte cut off: the record reader shows it as U+FFFD.
    QCOMPARE(decodeGbkLenient(QByteArray("\xB2\xE2\xA1")), QStringLiteral("测\uFFFD"));
    QCOMPARE(firstNonPlainUtf8(QByteArray("ab\xEF\xB7\x90")), 2); // U+FDD0, a noncharacter
    QCOMPARE(firstNonPlainUtf8(kText.toUtf8()), -1);
}

QTEST_APPLESS_MAIN(TextEncodingTest)
#include "tst_textencoding.moc"
