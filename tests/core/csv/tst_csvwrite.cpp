// SPDX-License-Identifier: GPL-3.0-or-later
// The cell writer, for text and for UTF-8 bytes: the same bytes either way.

#include "core/csv/csvreader.h"
#include "core/csv/csvwriter.h"

#include <QTest>

using namespace zorva;
using namespace zorva::csv;

class CsvWriteTest : public QObject {
    Q_OBJECT

private slots:
    void bytes_data();
    void bytes();
};

void CsvWriteTest::bytes_data() {
    QTest::addColumn<QList<QStringList>>("rows");
    QTest::addColumn<QByteArray>("expected"); // after the byte-order mark

    QTest::newRow("plain fields") << QList<QStringList>{{"a", "1.5"}, {"b", ""}}
                                  << QByteArray("a,1.5\r\nb,\r\n");
    QTest::newRow("comma") << QList<QStringList>{{"x,y", "z"}} << QByteArray("\"x,y\",z\r\n");
    QTest::newRow("quote doubled")
        << QList<QStringList>{{"say \"hi\""}} << QByteArray("\"say \"\"hi\"\"\"\r\n");
    QTest::newRow("line break kept inside quotes")
        << QList<QStringList>{{"one\ntwo", "cr\rx"}} << QByteArray("\"one\ntwo\",\"cr\rx\"\r\n");
    QTest::newRow("Chinese in UTF-8")
        << QList<QStringList>{{QStringLiteral("散热量 (W/m²)")}}
        << QByteArray("\xE6\x95\xA3\xE7\x83\xAD\xE9\x87\x8F (W/m\xC2\xB2)\r\n");
    QTest::newRow("a lone quotation mark")
        << QList<QStringList>{{"\""}} << QByteArray("\"\"\"\"\r\n");
    QTest::newRow("a cell led by a byte-order mark is quoted")
        << QList<QStringList>{{QStringLiteral("\uFEFF2n"), "x"}}
        << QByteArray("\"\xEF\xBB\xBF"
                      "2n\",x\r\n");
    QTest::newRow("no rows") << QList<QStringList>{} << QByteArray();
}

void CsvWriteTest::bytes() {
    QFETCH(QList<QStringList>, rows);
    QFETCH(QByteArray, expected);
    QCOMPARE(csvBytes(rows), QByteArray("\xEF\xBB\xBF") + expected);
    // The byte writer writes each cell as the text writer does.
    std::string utf8;
    for (const QStringList& row : rows) {
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (i > 0)
                utf8 += ',';
            appendCell(utf8, row[i].toStdString());
        }
        utf8 += "\r\n";
    }
    QCOMPARE(QByteArray::fromStdString(utf8), expected);
    // And the reader gives the same cells back.
    const Result<CsvTable> back = readCsv(csvBytes(rows));
    QVERIFY(back);
    QCOMPARE(back->rows, rows);
}

QTEST_APPLESS_MAIN(CsvWriteTest)
#include "tst_csvwrite.moc"
