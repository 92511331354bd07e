// CSV bytes as spreadsheet programs exchange them, the encoding detection,
// and the manifold sheet's loop import with its messages.

#include "core/csv/csvtable.h"
#include "core/io/manifoldcsv.h"

#include <QTemporaryDir>
#include <QTest>

using namespace zorva;
using namespace zorva::io;

class CsvTableTest : public QObject {
    Q_OBJECT

private slots:
    void written_bytes_have_bom_crlf_and_quotes();
    void parse_reads_rfc4180_data();
    void parse_reads_rfc4180();
    void gbk_file_is_detected();
    void export_reads_back_as_the_same_loops();
    void bad_rows_are_named_data();
    void bad_rows_are_named();
    void oversized_file_is_not_read();
};

void CsvTableTest::written_bytes_have_bom_crlf_and_quotes() {
    const QByteArray bytes =
        csvBytes({{"a", "b,c", ""}, {"say \"hi\"", "two\nlines", "\xe5\xae\xa2"}});
    QCOMPARE(bytes, QByteArray("\xEF\xBB\xBF"
                               "a,\"b,c\",\r\n"
                               "\"say \"\"hi\"\"\",\"two\nlines\",\xe5\xae\xa2\r\n"));
}

void CsvTableTest::parse_reads_rfc4180_data() {
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
}

void CsvTableTest::parse_reads_rfc4180() {
    QFETCH(QString, text);
    QFETCH(QList<QStringList>, rows);
    QFETCH(QList<int>, lines);
    const CsvTable t = parseCsv(text);
    QVERIFY2(t.ok, qPrintable(t.error));
    QCOMPARE(t.rows, rows);
    QCOMPARE(t.lines, lines);
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
    QCOMPARE(readCsv(csvBytes(rows)).rows, rows);
}

void CsvTableTest::gbk_file_is_detected() {
    // 环路,室内温度,盘管间距,单管长度 / 客厅,18,200,80 in GBK.
    const QByteArray gbk = QByteArray::fromHex("bbb7c2b72c cad2c4dacec2b6c82c c5ccb9dcbce4bee02c"
                                               "b5a5b9dcb3a4b6c8 0d0a bfcdccfc2c31382c3230302c3830"
                                               "0d0a");
    const LoopCsvImport in = importLoopsCsv(gbk, ManifoldInput{});
    QVERIFY2(in.ok, qPrintable(in.error));
    QCOMPARE(in.encoding, QStringLiteral("GBK"));
    QCOMPARE(in.rows.size(), 1);
    QCOMPARE(QString::fromStdString(in.rows[0].loop.name), QStringLiteral("客厅"));
    QCOMPARE(in.rows[0].loop.lengthM, 80.0);
    QVERIFY(!in.rows[0].loop.loadW);
    // The same text in UTF-8 without a mark is UTF-8.
    const QByteArray utf8 =
        QStringLiteral("环路,室内温度,盘管间距,单管长度\r\n客厅,18,200,80\r\n").toUtf8();
    QCOMPARE(readCsv(utf8).encoding, QStringLiteral("UTF-8"));
    QCOMPARE(readCsv(utf8).rows, readCsv(gbk).rows);
    // Bytes neither UTF-8 nor GBK.
    QVERIFY(!readCsv(QByteArray::fromHex("41a1")).ok); // a GBK lead byte cut off
}

void CsvTableTest::export_reads_back_as_the_same_loops() {
    ManifoldInput m;
    m.supplyTemp = 42.5;
    m.pipeDiameter = 16;
    std::vector<LoopInput> loops(3);
    loops[0].name = "主卧, \"南\"";
    loops[2].name = "'=1+2"; // would run as a formula without its apostrophe
    loops[0].loadW = 812.25;
    loops[1].name = "书房";
    loops[1].ownTempDiff = 6;
    loops[1].roomTemp = 0.1 + 0.2; // 15 significant digits survive
    std::vector<LoopResult> results{computeLoop(m, loops[0]), computeLoop(m, loops[1]),
                                    computeLoop(m, loops[2])};
    balance(results);
    const QByteArray bytes = csvBytes(manifoldCsvRows(m, loops, results));
    const LoopCsvImport in = importLoopsCsv(bytes, ManifoldInput{});
    QVERIFY2(in.ok, qPrintable(in.error));
    QCOMPARE(in.rows.size(), 3);
    QVERIFY(bytes.contains("\r\n''=1+2,"));
    for (int i = 0; i < 3; ++i) {
        const LoopInput& l = in.rows[i].loop;
        QCOMPARE(l.name, loops[i].name);
        QCOMPARE(l.roomTemp, loops[i].roomTemp);
        QCOMPARE(l.loadW, loops[i].loadW);
        QCOMPARE(l.ownTempDiff, loops[i].ownTempDiff);
        QCOMPARE(in.rows[i].manifold.supplyTemp, 42.5);
        QCOMPARE(in.rows[i].manifold.pipeDiameter, 16.0);
        QCOMPARE(in.rows[i].line, i + 2);
    }
    // The index loop carries 是 and a valve of 0.0.
    const QStringList header = manifoldCsvHeader();
    const int index = header.indexOf(QStringLiteral("最不利环路"));
    const int valve = header.indexOf(QStringLiteral("阀门附加压力(kPa)"));
    const auto row = [&](int i) { return manifoldCsvRow(m, loops[i], &results[i]); };
    const int idx = results[0].indexLoop ? 0 : results[1].indexLoop ? 1 : 2;
    QCOMPARE(row(idx)[index], QStringLiteral("是"));
    QCOMPARE(row(idx)[valve], QStringLiteral("0.0"));
    QCOMPARE(row((idx + 1) % 3)[index], QString());
}

void CsvTableTest::bad_rows_are_named_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    const QString head = QStringLiteral("环路,室内温度(℃),盘管间距,单管长度(m),热负荷(W)\r\n");
    QTest::newRow("not a number") << head + "a,18,200,80,\r\n客厅,18,x2,80,"
                                  << "第 3 行（环路“客厅”）：“盘管间距”不是数字：x2";
    QTest::newRow("out of range") << head + "\r\n卧室,60,200,80,900"
                                  << "第 3 行（环路“卧室”）：“室内温度”的值 60 超出范围 -50 ~ 50 ℃";
    QTest::newRow("required empty") << head + ",18,200, ,900"
                                    << "第 2 行：“单管长度”为空";
    QTest::newRow("missing column") << "环路,室内温度,盘管间距\r\n"
                                    << "第 1 行：缺少“单管长度(m)”一列";
    QTest::newRow("twice") << "室内温度,盘管间距,单管长度,室内温度(℃)\r\n"
                           << "第 1 行：“室内温度”一列出现了两次";
    QTest::newRow("open quote") << head + "\"a,18,200,80,900\r\n"
                                << "第 2 行：引号括起的字段没有结束";
    QTest::newRow("manifold column checked")
        << "室内温度,盘管间距,单管长度,盘管外径(mm)\r\n18,200,80,0.5"
        << "第 2 行：“盘管外径”的值 0.5 超出范围 1 ~ 200 mm";
    QTest::newRow("empty file") << "\r\n"
                                << "文件中没有表头和数据";
}

void CsvTableTest::bad_rows_are_named() {
    QFETCH(QString, text);
    QFETCH(QString, message);
    const LoopCsvImport in = importLoopsCsv(text.toUtf8(), ManifoldInput{});
    QVERIFY(!in.ok);
    QCOMPARE(in.error, message);
    QVERIFY(in.rows.isEmpty());
}

void CsvTableTest::oversized_file_is_not_read() {
    QTemporaryDir dir;
    QFile f(dir.filePath("big.csv"));
    QVERIFY(f.open(QIODevice::WriteOnly) && f.resize(kMaxCsvBytes + 1));
    f.close();
    QCOMPARE(importLoopsCsvFile(f.fileName(), {}).error,
             QStringLiteral("文件太大（超过 16 MiB），不能读取"));
    QVERIFY(!importLoopsCsv(QByteArray(kMaxCsvBytes + 1, ' '), {}).ok);
}

QTEST_APPLESS_MAIN(CsvTableTest)
#include "tst_csvtable.moc"
