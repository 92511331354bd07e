#include "core/csv/csvtable.h"

#include <QTest>

using zorva::io::csvBytes;

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
    QTest::newRow("no rows") << QList<QStringList>{} << QByteArray();
}

void CsvWriteTest::bytes() {
    QFETCH(QList<QStringList>, rows);
    QFETCH(QByteArray, expected);
    QCOMPARE(csvBytes(rows), QByteArray("\xEF\xBB\xBF") + expected);
}

QTEST_APPLESS_MAIN(CsvWriteTest)
#include "tst_csvwrite.moc"
