// SPDX-License-Identifier: GPL-3.0-or-later
// The manifold sheet's CSV: the export reads back as the same loops, GBK,
// UTF-16 and marked files import, every bad file is refused with a message
// naming the line and field, and the largest sheet round-trips.

#include "core/csv/csvreader.h"
#include "core/csv/csvwriter.h"
#include "core/io/manifoldcsv.h"

#include <QTemporaryDir>
#include <QTest>

using namespace zorva;
using namespace zorva::io;
using zorva::csv::csvBytes;

class ManifoldCsvTest : public QObject {
    Q_OBJECT

private slots:
    void gbkFileIsDetected();
    void exportReadsBackAsTheSameLoops();
    void badRowsAreNamed_data();
    void badRowsAreNamed();
    void oversizedFileIsNotRead();
    void imports_data();
    void imports();
    void largestSheetRoundTrips();
};

namespace {

QByteArray utf16(const QString& text, bool littleEndian) {
    QByteArray bytes = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
    for (const QChar c : text) {
        const auto lo = char(c.unicode() & 0xFF);
        const auto hi = char(c.unicode() >> 8);
        bytes.append(littleEndian ? lo : hi).append(littleEndian ? hi : lo);
    }
    return bytes;
}

} // namespace

void ManifoldCsvTest::gbkFileIsDetected() {
    // 环路,室内温度,盘管间距,单管长度 / 客厅,18,200,80 in GBK.
    const QByteArray gbk = QByteArray::fromHex("bbb7c2b72c cad2c4dacec2b6c82c c5ccb9dcbce4bee02c"
                                               "b5a5b9dcb3a4b6c8 0d0a bfcdccfc2c31382c3230302c3830"
                                               "0d0a");
    const Result<LoopCsvImport> in = importLoopsCsv(gbk, ManifoldInput{});
    QVERIFY2(in.ok(), qPrintable(in.error()));
    QCOMPARE(in->encoding, csv::Encoding::Gbk);
    QCOMPARE(in->rows.size(), 1);
    QCOMPARE(QString::fromStdString(in->rows[0].loop.name), QStringLiteral("客厅"));
    QCOMPARE(in->rows[0].loop.lengthM, 80.0);
    QVERIFY(!in->rows[0].loop.loadW);
    // The same text in UTF-8 without a mark is UTF-8.
    const QByteArray utf8 =
        QStringLiteral("环路,室内温度,盘管间距,单管长度\r\n客厅,18,200,80\r\n").toUtf8();
    QCOMPARE(csv::readCsv(utf8)->encoding, csv::Encoding::Utf8);
    QCOMPARE(csv::readCsv(utf8)->rows, csv::readCsv(gbk)->rows);
    // Bytes neither UTF-8 nor GBK.
    QVERIFY(!csv::readCsv(QByteArray::fromHex("41a1")).ok()); // a GBK lead byte cut off
}

void ManifoldCsvTest::exportReadsBackAsTheSameLoops() {
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
    const Result<LoopCsvImport> in = importLoopsCsv(bytes, ManifoldInput{});
    QVERIFY2(in.ok(), qPrintable(in.error()));
    QCOMPARE(in->rows.size(), 3);
    QVERIFY(bytes.contains("\r\n''=1+2,"));
    for (int i = 0; i < 3; ++i) {
        const LoopInput& l = in->rows[i].loop;
        QCOMPARE(l.name, loops[i].name);
        QCOMPARE(l.roomTemp, loops[i].roomTemp);
        QCOMPARE(l.loadW, loops[i].loadW);
        QCOMPARE(l.ownTempDiff, loops[i].ownTempDiff);
        QCOMPARE(in->rows[i].manifold.supplyTemp, 42.5);
        QCOMPARE(in->rows[i].manifold.pipeDiameter, 16.0);
        QCOMPARE(in->rows[i].line, i + 2);
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

void ManifoldCsvTest::badRowsAreNamed_data() {
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
    QTest::newRow("out of range, quoted as written")
        << head + "卧室,50.00000000000001,200,80,900"
        << "第 2 行（环路“卧室”）：“室内温度”的值 50.00000000000001 超出范围 -50 ~ 50 ℃";
    QTest::newRow("missing column named with the unrecognised ones")
        << "环路,室内温度,盘管间距,单管长度（m）,备注\r\n"
        << "第 1 行：缺少“单管长度(m)”一列（未识别的列：“单管长度（m）”、“备注”）";
}

void ManifoldCsvTest::badRowsAreNamed() {
    QFETCH(QString, text);
    QFETCH(QString, message);
    const Result<LoopCsvImport> in = importLoopsCsv(text.toUtf8(), ManifoldInput{});
    QVERIFY(!in.ok());
    QCOMPARE(in.error(), message);
}

void ManifoldCsvTest::oversizedFileIsNotRead() {
    QTemporaryDir dir;
    QFile f(dir.filePath("big.csv"));
    QVERIFY(f.open(QIODevice::WriteOnly) && f.resize(kMaxCsvImportBytes + 1));
    f.close();
    QCOMPARE(importLoopsCsvFile(f.fileName(), {}).error(),
             QStringLiteral("文件“%1”太大（超过 32 MiB），不能读取").arg(f.fileName()));
    QVERIFY(!importLoopsCsv(QByteArray(kMaxCsvImportBytes + 1, ' '), {}).ok());
}

void ManifoldCsvTest::imports_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("note");
    QTest::addColumn<QString>("error");
    const QString table = QStringLiteral("环路,室内温度,盘管间距,单管长度\r\n客厅,18,200,80\r\n"
                                         "卧室,19,200,80\r\n");
    const QStringList names{QStringLiteral("客厅"), QStringLiteral("卧室")};
    QTest::newRow("two byte-order marks keep the names")
        << "\xEF\xBB\xBF\xEF\xBB\xBF" + table.toUtf8() << names << ""
        << "";
    QTest::newRow("UTF-16LE by its mark") << utf16(table, true) << names << ""
                                          << "";
    QTest::newRow("UTF-16BE by its mark") << utf16(table, false) << names << ""
                                          << "";
    QTest::newRow("an unknown column is noted")
        << QByteArray("环路,室内温度,盘管间距,单管长度,备注\r\na,18,200,80,x\r\n")
        << QStringList{"a"} << "第 1 行：未识别的列“备注”未读取"
        << "";
    QTest::newRow("result columns of an export are known")
        << QByteArray("环路,室内温度,盘管间距,单管长度,状态\r\na,18,200,80,完成\r\n")
        << QStringList{"a"} << ""
        << "";
    QByteArray bad = table.toUtf8();
    bad.insert(bad.indexOf("19"), '\xB0'); // a Latin-1 degree sign
    QTest::newRow("one bad byte is named by its line, not read as GBK")
        << bad << QStringList{} << ""
        << "第 3 行：其中有不是 UTF-8 编码的字节（编码按文件开头判断）";
    QByteArray many = "室内温度,盘管间距,单管长度\r\n";
    for (int i = 0; i <= kMaxLoops; ++i)
        many += "18,200,80\r\n";
    QTest::newRow("more loops than a sheet holds")
        << many << QStringList{} << ""
        << QStringLiteral("第 %1 行：表中的环路超过 %2 个，不能导入")
               .arg(kMaxLoops + 2)
               .arg(kMaxLoops);
}

void ManifoldCsvTest::imports() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, names);
    QFETCH(QString, note);
    QFETCH(QString, error);
    const Result<LoopCsvImport> in = importLoopsCsv(bytes, ManifoldInput{});
    QCOMPARE(in.error(), error);
    if (!in)
        return;
    QStringList read;
    for (const CsvDesignRow& row : in->rows)
        read << QString::fromStdString(row.loop.name);
    QCOMPARE(read, names);
    QCOMPARE(in->note, note);
}

// A sheet of the most loops, every name as long as allowed in characters of
// three UTF-8 bytes and numbers of 15 significant digits, exports within
// half the import limit and imports as the same loops.
void ManifoldCsvTest::largestSheetRoundTrips() {
    ManifoldInput m;
    m.supplyTemp = 48.7654321098765;
    m.allowance = 1234.56789012345;
    std::vector<LoopInput> loops(kMaxLoops);
    for (int i = 0; i < kMaxLoops; ++i) {
        loops[i].name = QString(kMaxLoopNameLength, QChar(0x20AC)).toStdString(); // €
        loops[i].roomTemp = -12.3456789012345;
        loops[i].spacingMm = 123.456789012345;
        loops[i].lengthM = 87.6543210987654;
        loops[i].loadW = 9876543.21098765;
        loops[i].ownTempDiff = 9.87654321098765;
    }
    std::vector<LoopResult> results(loops.size());
    computeLoops(m, loops, results);
    balance(results);
    const Result<QByteArray> bytes = manifoldCsvFileBytes(manifoldCsvRows(m, loops, results));
    QVERIFY2(bytes.ok(), qPrintable(bytes.error()));
    QVERIFY2(bytes->size() * 2 < kMaxCsvImportBytes, qPrintable(QString::number(bytes->size())));
    const Result<LoopCsvImport> in = importLoopsCsv(*bytes, ManifoldInput{});
    QVERIFY2(in.ok(), qPrintable(in.error()));
    QCOMPARE(in->rows.size(), kMaxLoops);
    QCOMPARE(in->rows.last().loop.name, loops.back().name);
    QCOMPARE(in->rows.last().loop.lengthM, loops.back().lengthM);
    // One loop more is refused before anything is written.
    loops.push_back(loops.back());
    results.push_back(results.back());
    QVERIFY(!manifoldCsvFileBytes(manifoldCsvRows(m, loops, results)).ok());
}

QTEST_APPLESS_MAIN(ManifoldCsvTest)
#include "tst_manifoldcsv.moc"
