// SPDX-License-Identifier: GPL-3.0-or-later
// Reading RFC 4180 text: rows, the line each starts on, the faults named by
// their line, and the same rows whether the text comes whole or a character
// at a time; what the writer writes reads back.

#include "core/csv/csvreader.h"
#include "core/csv/csvwriter.h"

#include <QTest>

using namespace zorva;
using namespace zorva::csv;

class CsvReaderTest : public QObject {
    Q_OBJECT

private slots:
    void parseReadsRfc4180_data();
    void parseReadsRfc4180();
    void faultsNameTheirLine_data();
    void faultsNameTheirLine();
};

void CsvReaderTest::parseReadsRfc4180_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<QStringList>>("rows");
    QTest::addColumn<QList<int>>("lines");
    using Rows = QList<QStringList>;
    QTest::newRow("crlf, last line ended") << "a,b\r\nc,d\r\n"
                                           << Rows{{"a", "b"}, {"c", "d"}} << QList<int>{1, 2};
    QTest::newRow("lf and lone cr, last line open")
        << "a\nb\rc" << Rows{{"a"}, {"b"}, {"c"}} << QList<int>{1, 2, 3};
    QTest::newRow("quoted break moves the line")
        << "\"x\r\ny\",1\r\nz,2" << Rows{{"x\r\ny", "1"}, {"z", "2"}} << QList<int>{1, 3};
    QTest::newRow("doubled quote and empty fields") << "\"\"\"\",,\r\n"
                                                    << Rows{{"\"", "", ""}} << QList<int>{1};
    QTest::newRow("empty line is one empty field")
        << "a\r\n\r\nb" << Rows{{"a"}, {""}, {"b"}} << QList<int>{1, 2, 3};
    QTest::newRow("text ends after a comma") << "a," << Rows{{"a", ""}} << QList<int>{1};
    QTest::newRow("quote inside an unquoted field is text")
        << "a\"b,c" << Rows{{"a\"b", "c"}} << QList<int>{1};
    QTest::newRow("quoted lf after cr counts once")
        << "\"p\r\n\nq\"\nr" << Rows{{"p\r\n\nq"}, {"r"}} << QList<int>{1, 4};
    QTest::newRow("nothing") << "" << Rows{} << QList<int>{};
}

void CsvReaderTest::parseReadsRfc4180() {
    QFETCH(QString, text);
    QFETCH(QList<QStringList>, rows);
    QFETCH(QList<int>, lines);
    const Result<CsvTable> t = parseCsv(text);
    QVERIFY2(t.ok(), qPrintable(t.error()));
    QCOMPARE(t->rows, rows);
    QCOMPARE(t->lines, lines);
    // Fed one character at a time, the reader gives the same rows.
    CsvRowReader reader;
    for (const QChar c : text)
        reader.feed(QStringView(&c, 1));
    reader.finish();
    QStringList row;
    int line = 0;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        QVERIFY(reader.takeRow(row, line));
        QCOMPARE(row, rows[i]);
        QCOMPARE(line, lines[i]);
    }
    QVERIFY(!reader.takeRow(row, line));
    // What is written reads back as the same rows.
    const Result<CsvTable> back = readCsv(csvBytes(rows));
    QVERIFY(back.ok());
    QCOMPARE(back->rows, rows);
}

void CsvReaderTest::faultsNameTheirLine_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("text after a closing quote") << "a\r\n\"b\r\nc\"x,1"
                                                << "第 3 行：引号后面应是逗号或行尾";
    QTest::newRow("quote left open") << "a\n\"b\nc\nd"
                                     << "第 2 行：引号括起的字段没有结束";
    QTest::newRow("open quote after quoted line breaks") << "\"1\n2\",x\n\"y"
                                                         << "第 3 行：引号括起的字段没有结束";
}

void CsvReaderTest::faultsNameTheirLine() {
    QFETCH(QString, text);
    QFETCH(QString, message);
    const Result<CsvTable> t = parseCsv(text);
    QVERIFY(!t.ok());
    QCOMPARE(t.error(), message);
}

QTEST_APPLESS_MAIN(CsvReaderTest)
#include "tst_csvreader.moc"
