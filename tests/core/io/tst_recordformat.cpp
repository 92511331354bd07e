// SPDX-License-Identifier: GPL-3.0-or-later
// The record text and its bytes, and the field-by-field reading of a file.

#include "core/io/recordformat.h"

#include <QTest>

using namespace zorva::io;

namespace {

QString lines(std::initializer_list<const char16_t*> parts) {
    QString text;
    for (const char16_t* part : parts)
        text += QString::fromUtf16(part) + QStringLiteral("\r\n");
    return text;
}

} // namespace

class RecordFormatTest : public QObject {
    Q_OBJECT

private slots:
    void recordOfTheDefaultDesignIsExactGbkBytes();
    void valuesAreWrittenWithOneDecimal_data();
    void valuesAreWrittenWithOneDecimal();
    void fileBytesCloseTheLastLine();
    void fieldsAreReadByTheDelimiterRules_data();
    void fieldsAreReadByTheDelimiterRules();
    void savedRecordReadsBackAsItsOwnText_data();
    void savedRecordReadsBackAsItsOwnText();
};

void RecordFormatTest::recordOfTheDefaultDesignIsExactGbkBytes() {
    const QString record = composeRecord(18.0, 50.0, 40.0, 92.6f, 27.1);
    QCOMPARE(record, lines({u"Zorva程序：", u"室内温度18.0℃", u"供水温度50.0℃", u"回水温度40.0℃",
                            u"单位面积散热量92.6W/平米", u"地面平均温度27.1℃", u""}));

    // GB 2312 codes of the captions and units, line by line.
    const QByteArray expected =
        QByteArray::fromHex("5a6f727661b3ccd0f2a3ba0d0a"
                            "cad2c4dacec2b6c831382e30a1e60d0a"
                            "b9a9cbaecec2b6c835302e30a1e60d0a"
                            "bbd8cbaecec2b6c834302e30a1e60d0a"
                            "b5a5cebbc3e6bbfdc9a2c8c8c1bf39322e36572fc6bdc3d70d0a"
                            "b5d8c3e6c6bdbef9cec2b6c832372e31a1e60d0a"
                            "0d0a"
                            "0d0a");
    const QByteArray bytes = recordFileBytes(record);
    QCOMPARE(bytes.toHex(' '), expected.toHex(' '));
    QCOMPARE(bytes.count("\r\n"), 8);
    QVERIFY(bytes.endsWith(QByteArray::fromHex("a1e60d0a0d0a0d0a")));
}

void RecordFormatTest::valuesAreWrittenWithOneDecimal_data() {
    QTest::addColumn<double>("room");
    QTest::addColumn<float>("output");
    QTest::addColumn<QString>("roomText");
    QTest::addColumn<QString>("outputText");

    QTest::newRow("half rounds away from zero") << 18.25 << 0.25f << "18.3"
                                                << "0.3";
    QTest::newRow("negative half rounds away from zero") << -0.25 << 1.0f << "-0.3"
                                                         << "1.0";
    QTest::newRow("whole number gets its decimal") << -5.0 << 100.0f << "-5.0"
                                                   << "100.0";
    QTest::newRow("zero") << 0.0 << 0.0f << "0.0"
                          << "0.0";
    QTest::newRow("leading zero kept") << 0.4 << 0.04f << "0.4"
                                       << "0.0";
    QTest::newRow("no grouping") << 12345.67 << 1234.56f << "12345.7"
                                 << "1234.6";
    // The float 92.65f is 92.6500015..., so it rounds up as the result
    // field shows it.
    QTest::newRow("float just below a half rounds down") << 18.0 << 0.45f << "18.0"
                                                         << "0.4";
    QTest::newRow("float widened before rounding") << 18.0 << 92.65f << "18.0"
                                                   << "92.7";
}

void RecordFormatTest::valuesAreWrittenWithOneDecimal() {
    QFETCH(double, room);
    QFETCH(float, output);
    QFETCH(QString, roomText);
    QFETCH(QString, outputText);

    const QStringList recordLines =
        composeRecord(room, 50.0, 40.0, output, 27.1).split(QStringLiteral("\r\n"));
    QCOMPARE(recordLines.at(1), QStringLiteral("室内温度") + roomText + QStringLiteral("℃"));
    QCOMPARE(recordLines.at(4),
             QStringLiteral("单位面积散热量") + outputText + QStringLiteral("W/平米"));
}

void RecordFormatTest::fileBytesCloseTheLastLine() {
    QCOMPARE(recordFileBytes(QString()), QByteArray("\r\n"));
    QCOMPARE(recordFileBytes(QStringLiteral("℃\r\n")), QByteArray("\xa1\xe6\r\n\r\n"));
}

void RecordFormatTest::fieldsAreReadByTheDelimiterRules_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("buffer");

    const QString bad = QString(QChar(QChar::ReplacementCharacter));

    QTest::newRow("empty file") << QByteArray() << QString();
    QTest::newRow("comma and blank") << QByteArray("a, b") << "a\r\nb\r\n";
    QTest::newRow("quoted comma") << QByteArray("\"x,y\"") << "x,y\r\n";
    QTest::newRow("quoted comma, line end") << QByteArray("\"x,y\"\r\n") << "x,y\r\n";
    QTest::newRow("quoted line end") << QByteArray("\"a\r\nb\",c") << "a\r\nb\r\nc\r\n";
    QTest::newRow("quote never closed") << QByteArray("\"abc, d") << "abc, d\r\n";
    QTest::newRow("text after closing quote dropped") << QByteArray("\"x\" y,z") << "x\r\nz\r\n";
    QTest::newRow("quote inside a field") << QByteArray("a\"b,c") << "a\"b\r\nc\r\n";
    QTest::newRow("empty line") << QByteArray("a\r\n\r\nb\r\n") << "a\r\n\r\nb\r\n";
    QTest::newRow("only a line end") << QByteArray("\r\n") << "\r\n";
    QTest::newRow("blank line is empty") << QByteArray("a\r\n  \r\nb") << "a\r\n\r\nb\r\n";
    QTest::newRow("trailing blanks") << QByteArray("a\r\n   ") << "a\r\n";
    QTest::newRow("only blanks") << QByteArray("   ") << QString();
    QTest::newRow("double comma") << QByteArray("a,,b") << "a\r\n\r\nb\r\n";
    QTest::newRow("comma then line end") << QByteArray("a,\r\nb") << "a\r\n\r\nb\r\n";
    QTest::newRow("comma at the end") << QByteArray("a,") << "a\r\n";
    QTest::newRow("no final line end") << QByteArray("a") << "a\r\n";
    QTest::newRow("lone CR") << QByteArray("a\rb") << "a\r\nb\r\n";
    QTest::newRow("lone LF") << QByteArray("a\nb\n") << "a\r\nb\r\n";
    QTest::newRow("LF CR is two line ends") << QByteArray("a\n\rb") << "a\r\n\r\nb\r\n";
    QTest::newRow("blanks inside and after a field kept")
        << QByteArray("a b ,c") << "a b \r\nc\r\n";
    QTest::newRow("tab is not skipped") << QByteArray("\ta") << "\ta\r\n";
    QTest::newRow("number kept as written") << QByteArray(" 018.50,1E3") << "018.50\r\n1E3\r\n";
    QTest::newRow("GBK text") << QByteArray("\xca\xd2\xc4\xda"
                                            "18.0\xa1\xe6\r\n")
                              << QStringLiteral("室内18.0℃\r\n");
    QTest::newRow("invalid trail byte") << QByteArray("a\x81\x30z") << "a" + bad + "0z\r\n";
    QTest::newRow("lead byte cut off at the end") << QByteArray("a\xc4") << "a" + bad + "\r\n";
    QTest::newRow("lead byte before line end") << QByteArray("\xc4\r\nb") << bad + "\r\nb\r\n";
    QTest::newRow("NUL byte") << QByteArray("a\0b", 3) << QString::fromLatin1("a\0b\r\n", 5);
}

void RecordFormatTest::fieldsAreReadByTheDelimiterRules() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, buffer);
    QCOMPARE(readRecordFields(bytes), buffer);
}

void RecordFormatTest::savedRecordReadsBackAsItsOwnText_data() {
    QTest::addColumn<double>("room");
    QTest::addColumn<float>("output");
    QTest::addColumn<double>("surface");

    QTest::newRow("defaults") << 18.0 << 92.6f << 27.1;
    QTest::newRow("negative values") << -5.0 << -0.25f << -12.05;
    QTest::newRow("large values") << 1e6 << 3.4e5f << 123456.78;
}

void RecordFormatTest::savedRecordReadsBackAsItsOwnText() {
    QFETCH(double, room);
    QFETCH(float, output);
    QFETCH(double, surface);

    const QString record = composeRecord(room, 50.0, 40.0, output, surface);
    const QString fileText = record + QStringLiteral("\r\n");
    QCOMPARE(readRecordFields(recordFileBytes(record)), fileText);
    QCOMPARE(fileText.count(QStringLiteral("\r\n")), 8);
}

QTEST_GUILESS_MAIN(RecordFormatTest)
#include "tst_recordformat.moc"
