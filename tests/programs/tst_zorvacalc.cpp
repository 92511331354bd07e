// SPDX-License-Identifier: GPL-3.0-or-later
// zorva-calc run as a user runs it: exact result digits, exit statuses,
// messages naming the line and field, encodings, streaming of a table larger
// than the program's pieces, and the project file's totals.

#include "core/csv/csvreader.h"
#include "core/wording/translations.h"
#include "support/patience.h"

using namespace zorva;

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <unistd.h>

namespace {

struct Run {
    int code = -1;
    QByteArray out;
    QString err;
};

Run runCalc(const QStringList& args, const QByteArray& input = {}) {
    QProcess p;
    p.start(QStringLiteral(ZORVA_CALC_PROGRAM), args);
    if (!p.waitForStarted(kProcessPatienceMs))
        return {};
    p.write(input);
    p.closeWriteChannel();
    // A run that never ends is a failure, never the exit code of a
    // process still running.
    if (!p.waitForFinished(kProcessPatienceMs)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    Run r;
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// The values of the "caption：value unit" lines before the check.
QStringList resultValues(const QByteArray& out) {
    QStringList values;
    for (const QString& line : QString::fromUtf8(out).split(u'\n')) {
        if (line.startsWith(QStringLiteral("校核")))
            break;
        if (line.contains(u'：') && !line.startsWith(QStringLiteral("注")))
            values << line.section(u'：', 1).section(u' ', 0, 0);
    }
    return values;
}

csv::CsvTable table(const QByteArray& out) {
    const Result<csv::CsvTable> t = csv::parseCsv(QString::fromUtf8(out));
    return t ? *t : csv::CsvTable{};
}

QString cell(const csv::CsvTable& t, qsizetype row, const char* caption) {
    return t.rows.value(row).value(t.rows.value(0).indexOf(QString::fromUtf8(caption)));
}

const QByteArray kHeader = "环路,室内温度,盘管间距,单管长度\r\n";

} // namespace

class ZorvaCalcTest : public QObject {
    Q_OBJECT

private slots:
    void designResults_data();
    void designResults();
    void clampedLayerGivesTheTypedLayersResults();
    void exitStatus_data();
    void exitStatus();
    void csvRows_data();
    void csvRows();
    void csvRowMatchesTheDesignRun();
    void largeTableStreamsInOrder();
    void plainAndQuotedRowsWriteTheSameBytes_data();
    void plainAndQuotedRowsWriteTheSameBytes();
    void encodings_data();
    void encodings();
    void projectTotalsAndJson();
    void projectVerdicts();
    void versionAndHelp();
    void outputErrorsGiveTheReason_data();
    void outputErrorsGiveTheReason();
    void fileNameThatIsNotUtf8_data();
    void fileNameThatIsNotUtf8();
    void depthActsAsInTheMainWindow_data();
    void depthActsAsInTheMainWindow();
    void verdictsAgreeWithTheirNumbers_data();
    void verdictsAgreeWithTheirNumbers();
    void adviceAndCrossCheck();
};

void ZorvaCalcTest::designResults_data() {
    QTest::addColumn<QString>("design");
    QTest::addColumn<QStringList>("results");
    QTest::newRow("defaults") << "18,50,40,300,90,20,120"
                              << QStringList{"92.6", "27.1", "18.2", "38.5", "54.1", "287", "0.40"};
    QTest::newRow("room 20, 45/35, spacing 200, loop 80")
        << "20,45,35,200,90,20,80"
        << QStringList{"67.3", "26.7", "1.7", "25.7", "41.6", "93", "0.13"};
}

void ZorvaCalcTest::designResults() {
    QFETCH(QString, design);
    QFETCH(QStringList, results);
    const Run r = runCalc({QStringLiteral("--design"), design});
    QCOMPARE(r.code, 0);
    QCOMPARE(resultValues(r.out), results);
    QVERIFY(r.err.isEmpty());
}

// A pipe wider than the filling layer raises the layer as the main window
// does: the same results as with the raised layer and depth typed in.
void ZorvaCalcTest::clampedLayerGivesTheTypedLayersResults() {
    const Run clamped =
        runCalc({"--thickness", "20,20,10,2", "--design", "18,50,40,300,50,20,120"});
    const Run typed = runCalc({"--thickness", "20,20,20,2", "--design", "18,50,40,300,60,20,120"});
    QCOMPARE(clamped.code, 0);
    QVERIFY(QString::fromUtf8(clamped.out).startsWith(QStringLiteral("注：")));
    QCOMPARE(resultValues(clamped.out).size(), 7);
    QCOMPARE(resultValues(clamped.out), resultValues(typed.out));
}

void ZorvaCalcTest::exitStatus_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    QTest::newRow("computed") << QStringList{"--design", "18,50,40,300,90,20,120", "--load", "80"}
                              << 0 << "";
    QTest::newRow("nothing to do") << QStringList{} << 1 << "--design";
    QTest::newRow("six values") << QStringList{"--design", "18,50,40,300,90,20"} << 1
                                << "需要 7 个";
    QTest::newRow("unknown option") << QStringList{"--frobnicate"} << 1 << "frobnicate";
    QTest::newRow("unknown category")
        << QStringList{"--design", "18,50,40,300,90,20,120", "--category", "attic"} << 1 << "attic";
    QTest::newRow("json for a table") << QStringList{"--json", "-"} << 1 << "--json";
    QTest::newRow("not a number") << QStringList{"--design", "18,50,4o,300,90,20,120"} << 2
                                  << "“回水温度”不是数字：4o";
    QTest::newRow("bad conductivity")
        << QStringList{"--conductivity", "2.91,1.84,,0.41"} << 2 << "“填充层导热系数”";
    QTest::newRow("zero load") << QStringList{"--design", "18,50,40,300,90,20,120", "--load", "0"}
                               << 2 << "--load";
    QTest::newRow("missing file") << QStringList{"/nonexistent/designs.csv"} << 2 << "不能打开";
    QTest::newRow("missing project, named with the reason")
        << QStringList{"/nonexistent/p.zorvaproj"} << 2
        << "无法打开项目文件“/nonexistent/p.zorvaproj”：文件不存在："; // then the system's text
    QTest::newRow("json with a byte-order mark")
        << QStringList{"--json", "--bom", "/nonexistent/p.zorvaproj"} << 1
        << "--bom 只用于 CSV 输出";
    QTest::newRow("mark for the single design")
        << QStringList{"--bom", "--design", "18,50,40,300,90,20,120"} << 1
        << "--bom 只用于 CSV 输出";
    QTest::newRow("not converged")
        << QStringList{"--design", "25,50,30,300,90,32,10"} << 3 << "未能收敛";
    QTest::newRow("overflow") << QStringList{"--thickness", "500,20,50,2", "--conductivity",
                                             "0.001,1.84,1.28,0.41"}
                              << 3 << "数值溢出";
    // Every value within the range its CSV cell has.
    QTest::newRow("spacing 0") << QStringList{"--design", "18,50,40,0,90,20,120"} << 2
                               << "--design 的“盘管间距”的值 0 超出范围 10 ~ 1000 mm";
    QTest::newRow("negative depth") << QStringList{"--design", "18,50,40,300,-5,20,120"} << 2
                                    << "“盘管埋深”的值 -5 超出范围 0 ~ 2000 mm";
    QTest::newRow("depth leaving too thick a filling")
        << QStringList{"--design", "18,50,40,300,1500,20,120"} << 2
        << "使填充层厚度为 1460 mm，超出范围 0 ~ 1000 mm";
    QTest::newRow("room 60") << QStringList{"--design", "60,70,65,300,90,20,120"} << 2
                             << "“室内温度”的值 60 超出范围 -50 ~ 50 ℃";
    QTest::newRow("range quoted as typed")
        << QStringList{"--design", "50.00000000000001,60,55,300,90,20,120"} << 2
        << "的值 50.00000000000001 超出范围";
    QTest::newRow("no difference") << QStringList{"--design", "18,50,50,300,90,20,120"} << 2
                                   << "使供回水温差为 0，超出范围 0.1 ~ 50 ℃";
    QTest::newRow("elbows 2000") << QStringList{"--elbows", "2000"} << 2
                                 << "“90度弯头数”的值 2000 超出范围 0 ~ 1000";
    QTest::newRow("wall of 30 mm") << QStringList{"--thickness", "20,20,50,30"} << 2
                                   << "“塑料管壁厚度”的值 30 超出范围 0.01 ~ 20 mm";
    QTest::newRow("strict for a table") << QStringList{"--strict", "-"} << 1 << "--strict";
    QTest::newRow("strict and a failing check")
        << QStringList{"--design", "18,50,40,300,90,20,83", "--strict"} << 4 << "--strict";
    QTest::newRow("strict and every check passing")
        << QStringList{"--design", "18,50,40,300,90,20,120", "--strict"} << 0 << "";
}

void ZorvaCalcTest::exitStatus() {
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, message);
    const Run r = runCalc(args);
    QCOMPARE(r.code, code);
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
    QCOMPARE(r.err.isEmpty(), message.isEmpty());
}

void ZorvaCalcTest::csvRows_data() {
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("statuses"); // of the rows written
    QTest::newRow("two designs") << kHeader + "a,18,300,120\r\nb,20,200,80\r\n"
                                 << 0 << "" << QStringList{"完成", "完成"};
    QTest::newRow("blank rows and no final line end")
        << "\r\n" + kHeader + ",,,\r\n\r\na,18,300,120" << 0 << "" << QStringList{"完成"};
    QTest::newRow("header only") << kHeader << 0 << "" << QStringList{};
    QTest::newRow("bad spacing") << kHeader + "a,18,300,120\nb,18,x2,100\nc,18,300,120\n"
                                 << 2 << "第 3 行（环路“b”）：“盘管间距”不是数字：x2"
                                 << QStringList{"完成"};
    QTest::newRow("room out of range")
        << kHeader + "a,60,300,120\r\n"
        << 2 << "第 2 行（环路“a”）：“室内温度”的值 60 超出范围" << QStringList{};
    QTest::newRow("quoted line break counts as a line")
        << kHeader + "\"a\r\nb\",18,300,120\r\nc,18,,100\r\n"
        << 2 << "第 4 行（环路“c”）：“盘管间距”为空" << QStringList{"完成"};
    QTest::newRow("text after a closing quote") << kHeader + "\"a\"x,18,300,120\r\n"
                                                << 2 << "第 2 行" << QStringList{};
    QTest::newRow("missing column") << QByteArray("环路,室内温度,盘管间距\r\na,18,300\r\n") << 2
                                    << "缺少“单管长度(m)”一列" << QStringList{};
    QTest::newRow("quotation mark left open in a large table")
        << kHeader + "a,18,300,120\r\n\"b" + QByteArray(17 << 20, 'x') << 2
        << "第 3 行：一行超过 16 MiB" << QStringList{"完成"};
    QTest::newRow("empty input") << QByteArray() << 2 << "没有表头" << QStringList{};
    QTest::newRow("out of range, quoted as typed")
        << kHeader + "a,50.00000000000001,300,120\r\n"
        << 2 << "第 2 行（环路“a”）：“室内温度”的值 50.00000000000001 超出范围 -50 ~ 50 ℃"
        << QStringList{};
    QTest::newRow("NUL in a cell shown escaped")
        << kHeader + QByteArray("a,1\0x,300,120\r\n", 16) << 2
        << "第 2 行（环路“a”）：“室内温度”不是数字：1\\0x" << QStringList{};
    QTest::newRow("an unknown column is noted")
        << QByteArray("环路,室内温度,盘管间距,单管长度,备注\r\na,18,300,120,x\r\n") << 0
        << "注意：第 1 行：未识别的列“备注”未读取" << QStringList{"完成"};
    QTest::newRow("missing column named with the unrecognised one")
        << QByteArray("\xEF\xBB\xBF环路,室内温度,盘管间距,单管长度 m\r\n") << 2
        << "第 1 行：缺少“单管长度(m)”一列（未识别的列：“单管长度 m”）" << QStringList{};
    QTest::newRow("a design that does not converge")
        << QByteArray("室内温度,盘管间距,单管长度,供回水温差,盘管外径\n25,300,10,20,32\n"
                      "18,300,120,,\n")
        << 3 << "1 个设计" << QStringList{"未收敛", "完成"};
}

void ZorvaCalcTest::csvRows() {
    QFETCH(QByteArray, csv);
    QFETCH(int, code);
    QFETCH(QString, message);
    QFETCH(QStringList, statuses);
    const Run r = runCalc({QStringLiteral("-")}, csv);
    QCOMPARE(r.code, code);
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
    const csv::CsvTable t = table(r.out);
    QStringList written;
    for (qsizetype row = 1; row < t.rows.size(); ++row)
        written << cell(t, row, "状态");
    QCOMPARE(written, statuses);
}

// A row is the same design as --design with the same values: the missing
// manifold columns come from the command line.
void ZorvaCalcTest::csvRowMatchesTheDesignRun() {
    const QStringList construction{"--thickness", "15,30,40,2", "--elbows", "4"};
    const Run design = runCalc(construction + QStringList{"--design", "16,48,38,250,85,16,90"});
    const Run csv = runCalc(construction + QStringList{"--design", "16,48,38,250,85,16,90", "-"},
                            kHeader + "x,16,250,90\r\n");
    QCOMPARE(csv.code, 0);
    const QStringList results = resultValues(design.out);
    QCOMPARE(results.size(), 7);
    const csv::CsvTable t = table(csv.out);
    QCOMPARE(cell(t, 1, "单位面积散热量(W/m²)"), results[0]);
    QCOMPARE(cell(t, 1, "地面平均温度(℃)"), results[1]);
    QCOMPARE(cell(t, 1, "阻力(kPa)"), results[2]);
    QCOMPARE(cell(t, 1, "流量(kg/h)"), results[5]);
    QCOMPARE(cell(t, 1, "流速(m/s)"), results[6]);
    QCOMPARE(cell(t, 1, "回水温度(℃)"), QStringLiteral("38"));
    QCOMPARE(cell(t, 1, "找平层厚度(mm)"), QStringLiteral("30"));
}

// Far more rows than one piece read or one batch computed, with line breaks
// inside quoted names: every row comes back once and in order, and the bad
// last row is named by its line.
void ZorvaCalcTest::largeTableStreamsInOrder() {
    constexpr int rows = 30000;
    QByteArray csv = kHeader;
    int line = 2;
    for (int i = 0; i < rows; ++i) {
        const bool quoted = i % 11 == 0;
        csv += (quoted ? "\"r" + QByteArray::number(i) + "\r\nx\"" : "r" + QByteArray::number(i)) +
               "," + QByteArray::number(10 + i % 15) + "," + QByteArray::number(100 + i % 200) +
               "," + QByteArray::number(20 + i % 100) + "\r\n";
        line += quoted ? 2 : 1;
    }
    csv += "bad,18,300,abc\r\n";
    const Run r = runCalc({QStringLiteral("-")}, csv);
    QCOMPARE(r.code, 2);
    QVERIFY2(r.err.contains(QStringLiteral("第 %1 行（环路“bad”）：“单管长度”").arg(line)),
             qPrintable(r.err));
    const csv::CsvTable t = table(r.out);
    QCOMPARE(t.rows.size(), rows + 1);
    for (int i = 0; i < rows; ++i) {
        const QString name = cell(t, i + 1, "环路");
        QCOMPARE(name.section(u'\r', 0, 0), QStringLiteral("r%1").arg(i));
    }
}

void ZorvaCalcTest::plainAndQuotedRowsWriteTheSameBytes_data() {
    QTest::addColumn<int>("seed");
    QTest::addColumn<bool>("decimals");      // numbers with decimals and signs
    QTest::addColumn<bool>("manifoldCells"); // supply and elbows columns, some blank
    QTest::newRow("whole numbers") << 1 << false << false;
    QTest::newRow("decimals") << 2 << true << false;
    QTest::newRow("manifold columns") << 3 << true << true;
    QTest::newRow("another draw") << 4 << false << true;
}

// Random rows written plainly, with every name quoted, and with blanks around
// the numbers: the program reads the first on their bytes and the others
// through the whole CSV reader, and all three give the same output bytes.
void ZorvaCalcTest::plainAndQuotedRowsWriteTheSameBytes() {
    QFETCH(int, seed);
    QFETCH(bool, decimals);
    QFETCH(bool, manifoldCells);
    QRandomGenerator random(static_cast<quint32>(seed));
    const auto number = [&](int low, int high, bool blankAllowed) -> QByteArray {
        if (blankAllowed && random.bounded(3) == 0)
            return {};
        const double v =
            low + random.bounded(high - low) + (decimals ? random.bounded(1000) / 1000.0 : 0);
        return QByteArray::number(v, 'g', 15);
    };
    const char* const names[] = {"客厅", "=sum", "-a", "r 1", "😀", "x"};
    QByteArray header = "环路,室内温度,盘管间距,单管长度,热负荷,本环路温差";
    if (manifoldCells)
        header += ",供水温度,90度弯头数";
    QByteArray plain = header + "\r\n", quoted = plain, padded = plain;
    for (int i = 0; i < 3000; ++i) {
        const QByteArray name = names[random.bounded(6)] + QByteArray::number(i);
        QByteArrayList numbers{number(-20, 40, false), number(50, 400, false),
                               number(1, 150, false), number(0, 3000, true), number(1, 20, true)};
        if (manifoldCells)
            numbers << number(30, 80, true) << number(0, 9, true);
        const QByteArray cells = numbers.join(',');
        plain += name + "," + cells + "\r\n";
        quoted += "\"" + name + "\"," + cells + "\r\n";
        padded += name + ", " + numbers.join(" , ") + " \r\n";
    }
    const Run p = runCalc({QStringLiteral("-")}, plain);
    QVERIFY(p.code == 0 || p.code == 3); // 3: some designs do not converge
    QCOMPARE(table(p.out).rows.size(), 3001);
    for (const QByteArray& other : {quoted, padded}) {
        const Run o = runCalc({QStringLiteral("-")}, other);
        QCOMPARE(o.code, p.code);
        QVERIFY(o.out == p.out);
    }
}

void ZorvaCalcTest::encodings_data() {
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QByteArray>("outStart");
    QStringEncoder gbk("GBK");
    const QByteArray gbkTable = gbk.encode(QStringLiteral("环路,室内温度,盘管间距,单管长度\r\n"
                                                          "客厅,18,300,120\r\n"));
    QVERIFY(!gbkTable.contains("室内")); // really GBK bytes
    QTest::newRow("GBK") << gbkTable << QStringList{"-"} << 0 << ""
                         << QByteArray("环路,室内温度(℃)");
    QTest::newRow("UTF-8 with mark, output with mark")
        << "\xEF\xBB\xBF" + kHeader + "客厅,18,300,120\r\n"
        << QStringList{"--bom", "-"} << 0 << "" << QByteArray("\xEF\xBB\xBF环路,");
    // The encoding is decided on the table's start; a GBK name far below an
    // ASCII start is named by its line.
    QByteArray late = kHeader;
    for (int i = 0; i < 6000; ++i)
        late += "loop,18,300,120\r\n";
    late += gbk.encode(QStringLiteral("客厅,18,300,120\r\n"));
    QTest::newRow("two byte-order marks keep the names")
        << "\xEF\xBB\xBF\xEF\xBB\xBF" + kHeader + "客厅,18,300,120\r\n"
        << QStringList{"-"} << 0 << "" << QByteArray("环路,");
    const auto utf16 = [](const QString& text) {
        QByteArray bytes = "\xFF\xFE";
        for (const QChar c : text)
            bytes.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
        return bytes;
    };
    const QString table = QString::fromUtf8(kHeader) + QStringLiteral("客厅,18,300,120\r\n");
    QTest::newRow("UTF-16LE by its mark")
        << utf16(table) << QStringList{"-"} << 0 << "" << QByteArray("环路,");
    QByteArray lone = utf16(table + QStringLiteral("b,18,"));
    lone += QByteArray("\x00\xDC", 2) + utf16(QStringLiteral(",120\r\n")).mid(2);
    QTest::newRow("UTF-16 unit that is no character, by its line")
        << lone << QStringList{"-"} << 2 << "第 3 行：其中有不是 UTF-16LE 编码的字节"
        << QByteArray("环路,");
    QTest::newRow("one bad byte in UTF-8, by its line")
        << kHeader + "客厅,18,300,120\r\nb\xB0,18,300,120\r\n"
        << QStringList{"-"} << 2 << "第 3 行：其中有不是 UTF-8 编码的字节" << QByteArray("环路,");
    QTest::newRow("GBK after a long ASCII start")
        << late << QStringList{"-"} << 2 << "第 6002 行：其中有不是 UTF-8 编码的字节"
        << QByteArray("环路,");
}

void ZorvaCalcTest::encodings() {
    QFETCH(QByteArray, csv);
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, message);
    QFETCH(QByteArray, outStart);
    const Run r = runCalc(args, csv);
    QCOMPARE(r.code, code);
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
    QVERIFY(r.out.startsWith(outStart));
    if (code == 0)
        QCOMPARE(cell(table(r.out.mid(r.out.startsWith("\xEF") ? 3 : 0)), 1, "环路"),
                 QStringLiteral("客厅"));
}

void ZorvaCalcTest::projectTotalsAndJson() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("house.zorvaproj"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(R"({"format": "zorva-manifold", "version": 1,
      "manifold": {"supplyTemp": 45, "tempDiff": 8, "surfaceThickness": 20, "levelThickness": 20,
        "fillThickness": 50, "pipeWallThickness": 2, "surfaceConductivity": 2.91,
        "levelConductivity": 1.84, "fillConductivity": 1.28, "pipeConductivity": 0.41,
        "pipeDiameter": 20, "elbows": 2, "allowance": 5},
      "loops": [{"name": "客厅", "roomTemp": 18, "spacing": 200, "length": 95, "load": 1450},
                {"name": "卫生间", "roomTemp": 24, "spacing": 100, "length": 38, "load": 420,
                 "tempDiff": 5}]})");
    file.close();

    const Run csv = runCalc({path});
    QCOMPARE(csv.code, 0);
    const csv::CsvTable t = table(csv.out);
    QCOMPARE(t.rows.size(), 6); // header, 2 loops, blank, totals header, totals
    QCOMPARE(t.rows[3], QStringList{QString()});
    const QStringList& captions = t.rows[4];
    const auto total = [&](const char* caption) {
        return t.rows[5].value(captions.indexOf(QString::fromUtf8(caption)));
    };
    QCOMPARE(total("环路数"), QStringLiteral("2"));
    QCOMPARE(total("有结果的环路数"), QStringLiteral("2"));
    const double sum =
        cell(t, 1, "环路散热量(W)").toDouble() + cell(t, 2, "环路散热量(W)").toDouble();
    QVERIFY(std::abs(total("总散热量(W)").toDouble() - sum) <= 1);
    const int index = cell(t, 1, "最不利环路") == u"是" ? 1 : 2;
    QCOMPARE(cell(t, 3 - index, "最不利环路"), QString());
    QVERIFY(total("最不利环路").contains(cell(t, index, "环路")));
    QCOMPARE(total("水泵扬程(kPa)").toDouble(), cell(t, index, "阻力(kPa)").toDouble() + 5);

    const Run json = runCalc({QStringLiteral("--json"), path});
    QCOMPARE(json.code, 0);
    QJsonParseError error;
    const QJsonObject root = QJsonDocument::fromJson(json.out, &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(root[u"totals"][u"loops"].toInt(), 2);
    QCOMPARE(root[u"totals"][u"indexLoop"].toInt(), index);
    const QJsonArray loops = root[u"loops"].toArray();
    QCOMPARE(loops.size(), 2);
    QCOMPARE(loops[1][u"name"].toString(), QStringLiteral("卫生间"));
    QCOMPARE(loops[1][u"heatOutput"].toDouble(), cell(t, 2, "单位面积散热量(W/m²)").toDouble());
    QCOMPARE(loops[1][u"returnTemp"].toDouble(), 40.0);
    QCOMPARE(root[u"manifold"][u"allowance"].toDouble(), 5.0);

    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write("{\"format\": \"zorva-manifold\", \"version\": 1,");
    file.close();
    const Run broken = runCalc({path});
    QCOMPARE(broken.code, 2);
    QVERIFY2(broken.err.contains(QStringLiteral("JSON")), qPrintable(broken.err));
    QVERIFY(broken.out.isEmpty());
}

void ZorvaCalcTest::versionAndHelp() {
    const Run version = runCalc({QStringLiteral("--version")});
    QCOMPARE(version.code, 0);
    QCOMPARE(version.out.trimmed(), QByteArray("zorva-calc " ZORVA_VERSION));
    const Run help = runCalc({QStringLiteral("--help")});
    QCOMPARE(help.code, 0);
    for (const char* option : {"--design", "--thickness", "--conductivity", "--elbows", "--load",
                               "--category", "--json", "--bom", "--time", "--strict"})
        QVERIFY2(help.out.contains(option), option);
}

void ZorvaCalcTest::outputErrorsGiveTheReason_data() {
    QTest::addColumn<bool>("closed"); // standard output closed, else /dev/full
    QTest::addColumn<int>("error");
    QTest::newRow("/dev/full") << false << ENOSPC;
    QTest::newRow("closed standard output") << true << EBADF;
}

// The system's reason as zorva-calc words it: Qt's texts in Chinese.
void ZorvaCalcTest::outputErrorsGiveTheReason() {
    QFETCH(bool, closed);
    QFETCH(int, error);
    static const bool translated = installQtTranslations(*QCoreApplication::instance(),
                                                         QLocale(QLocale::Chinese, QLocale::China));
    Q_UNUSED(translated);
    QProcess p;
    if (closed)
        p.setChildProcessModifier([] { ::close(STDOUT_FILENO); });
    else
        p.setStandardOutputFile(QStringLiteral("/dev/full"));
    p.start(QStringLiteral(ZORVA_CALC_PROGRAM), {"--design", "18,50,40,300,90,20,120"});
    QVERIFY(p.waitForFinished(kProcessPatienceMs));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 2);
    const QString err = QString::fromUtf8(p.readAllStandardError());
    QVERIFY2(err.contains(QStringLiteral("写出结果失败：") + qt_error_string(error)),
             qPrintable(err));
}

void ZorvaCalcTest::fileNameThatIsNotUtf8_data() {
    QTest::addColumn<QByteArray>("name"); // GBK bytes of 测试, not UTF-8
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("CSV table") << QByteArray("\xB2\xE2\xCA\xD4.csv")
                               << kHeader + "a,18,300,120\r\n";
    QTest::newRow("project") << QByteArray("\xB2\xE2\xCA\xD4.zorvaproj")
                             << QByteArray(R"({"format": "zorva-manifold", "version": 1,
      "manifold": {"supplyTemp": 45, "tempDiff": 8, "surfaceThickness": 20, "levelThickness": 20,
        "fillThickness": 50, "pipeWallThickness": 2, "surfaceConductivity": 2.91,
        "levelConductivity": 1.84, "fillConductivity": 1.28, "pipeConductivity": 0.41,
        "pipeDiameter": 20, "elbows": 2, "allowance": 5},
      "loops": [{"name": "a", "roomTemp": 18, "spacing": 300, "length": 120}]})");
}

// The name reaches the program as its bytes (through the shell, since Qt
// passes arguments as text) and the file is read by them.
void ZorvaCalcTest::fileNameThatIsNotUtf8() {
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.path()) + '/' + name;
    FILE* f = std::fopen(path.constData(), "wb");
    QVERIFY(f);
    std::fwrite(content.constData(), 1, std::size_t(content.size()), f);
    std::fclose(f);
    QProcess p;
    p.setWorkingDirectory(dir.path());
    QString octal;
    for (const char c : name)
        octal += QStringLiteral("\\%1").arg(uint(static_cast<unsigned char>(c)), 3, 8, QChar(u'0'));
    p.start(QStringLiteral("/bin/sh"),
            {"-c", QStringLiteral("exec \"$0\" \"$(printf '%1')\"").arg(octal),
             QStringLiteral(ZORVA_CALC_PROGRAM)});
    QVERIFY(p.waitForFinished(kProcessPatienceMs));
    const QString err = QString::fromUtf8(p.readAllStandardError());
    QVERIFY2(p.exitCode() == 0, qPrintable(err));
    const csv::CsvTable t = table(p.readAllStandardOutput());
    QCOMPARE(cell(t, 1, "环路"), QStringLiteral("a"));
    QCOMPARE(cell(t, 1, "状态"), QStringLiteral("完成"));
}

// Two ways to the same construction: a depth typed on --design, and the
// filling layer it leads to typed on --thickness (with the depth the main
// window then shows). The results agree, and a note says what the depth did.
void ZorvaCalcTest::depthActsAsInTheMainWindow_data() {
    QTest::addColumn<QString>("depth");
    QTest::addColumn<QString>("layers"); // --thickness of the same construction
    QTest::addColumn<QString>("layersDepth");
    QTest::addColumn<QString>("note"); // empty: none
    QTest::newRow("as the layers") << "90"
                                   << "20,20,50,2"
                                   << "90"
                                   << "";
    QTest::newRow("deeper") << "100"
                            << "20,20,60,2"
                            << "100"
                            << "填充层厚度按 60 mm 计算";
    QTest::newRow("much deeper") << "1000"
                                 << "20,20,960,2"
                                 << "1000"
                                 << "填充层厚度按 960 mm 计算";
    // 30 leaves no filling layer: raised to 50, then to the pipe's 20 mm.
    QTest::newRow("shallower than the layers") << "30"
                                               << "20,20,20,2"
                                               << "60"
                                               << "盘管埋深按 50 mm、填充层厚度按 10 mm";
    QTest::newRow("zero") << "0"
                          << "20,20,20,2"
                          << "60"
                          << "盘管埋深按 50 mm";
}

void ZorvaCalcTest::depthActsAsInTheMainWindow() {
    QFETCH(QString, depth);
    QFETCH(QString, layers);
    QFETCH(QString, layersDepth);
    QFETCH(QString, note);
    const Run byDepth = runCalc({"--design", "18,50,40,300," + depth + ",20,120"});
    const Run byLayers =
        runCalc({"--thickness", layers, "--design", "18,50,40,300," + layersDepth + ",20,120"});
    QCOMPARE(byDepth.code, 0);
    QCOMPARE(byLayers.code, 0);
    QCOMPARE(resultValues(byDepth.out).size(), 7);
    QCOMPARE(resultValues(byDepth.out), resultValues(byLayers.out));
    const QString text = QString::fromUtf8(byDepth.out);
    QCOMPARE(text.startsWith(QStringLiteral("注：")), !note.isEmpty());
    QVERIFY2(text.section(u'\n', 0, 1).contains(note), qPrintable(text.section(u'\n', 0, 1)));
    // Before, every depth gave the default design's numbers.
    if (depth != QLatin1String("90"))
        QVERIFY(resultValues(byDepth.out) !=
                resultValues(runCalc({"--design", "18,50,40,300,90,20,120"}).out));
}

void ZorvaCalcTest::verdictsAgreeWithTheirNumbers_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("line"); // the rule's line starts so
    QTest::addColumn<QString>("verdict");
    // v = 0.2498 m/s: shown with the digits that make it fail.
    QTest::newRow("velocity at the limit")
        << QStringList{"--design", "18,50,40,300,90,20,83"} << "盘管水流速：0.2498 m/s，"
        << "，不合格";
    // 40.7 − 30.7 is 10 as typed.
    QTest::newRow("difference of 10 as typed")
        << QStringList{"--design", "18,40.7,30.7,300,90,20,120"} << "供回水温差：10 ℃，"
        << "，合格";
    QTest::newRow("difference of 1.3 is small")
        << QStringList{"--design", "18,50,48.7,300,90,20,120"} << "供回水温差：1.3 ℃，"
        << "，偏小";
    // EN 1264-2 example (e): q 98.0 above q_G 86.4 at θ_F,max 29 ℃.
    QTest::newRow("example e as residential")
        << QStringList{"--design", "20,45,35,200,90,20,120", "--category", "residential"}
        << "地面最高温度（EN 1264-2 极限曲线，q ≤ q_G）：98.0 W/m²，要求 ≤ q_G 86.4 W/m²"
        << "，不合格";
    // Mean floor temperature of a JGJ row, with the edition and the advice.
    QTest::newRow("mean floor temperature")
        << QStringList{"--design", "18,50,40,300,90,20,120"}
        << "地面平均温度：27.1 ℃，要求 ≤ 29 ℃，宜 25~27 ℃，依据 说明 第2条；JGJ 142-2012 表 3.1.3"
        << "，合格（高于推荐范围 25~27 ℃）";
}

void ZorvaCalcTest::verdictsAgreeWithTheirNumbers() {
    QFETCH(QStringList, args);
    QFETCH(QString, line);
    QFETCH(QString, verdict);
    const Run r = runCalc(args);
    const QStringList lines = QString::fromUtf8(r.out).split(u'\n');
    const auto found = std::find_if(lines.begin(), lines.end(),
                                    [&](const QString& l) { return l.startsWith(line); });
    QVERIFY2(found != lines.end(), qPrintable(QString::fromUtf8(r.out)));
    QVERIFY2(found->endsWith(verdict), qPrintable(*found));
}

// The advice and the EN 1264-2 cross-check of the check window, for example
// (e) as a residential room with a load of 100 W/m²: the floor may give at
// most q_G = 86.36 W/m², so 13.6 W/m² must come from other heating.
void ZorvaCalcTest::adviceAndCrossCheck() {
    const Run r = runCalc(
        {"--design", "20,45,35,200,90,20,120", "--category", "residential", "--load", "100"});
    QCOMPARE(r.code, 0);
    const QString out = QString::fromUtf8(r.out);
    for (const char* expected :
         {"地面温度限值下的最大散热量：86.4 W/m²（居住区：EN 1264-2 极限曲线 q_G",
          "由其它采暖方式补充：13.6 W/m²：热负荷 100 W/m²", "单位面积散热量 q：98.0 W/m²",
          "极限曲线 q_G（θ_F,max 29 ℃）：86.4 W/m²", "校核 q ≤ q_G：超出极限曲线"})
        QVERIFY2(out.contains(QString::fromUtf8(expected)), expected);
    // The supply temperature the load needs, and that it reaches the load.
    const QString supply = out.section(QStringLiteral("所需供水温度："), 1).section(u' ', 0, 0);
    bool ok = false;
    const double t = supply.toDouble(&ok);
    QVERIFY2(ok && t > 45 && t < 60, qPrintable(supply));
    const Run at = runCalc(
        {"--design", "20," + supply + "," + QString::number(t - 10, 'f', 1) + ",200,90,20,120"});
    QVERIFY(resultValues(at.out).value(0).toDouble() >= 100);
}

// The loop that misses its load (卫生间: 420 W at 0.07 m/s) is 不合格 in the
// 校核 column and in JSON, and --strict turns it into status 4.
void ZorvaCalcTest::projectVerdicts() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("house.zorvaproj"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(R"({"format": "zorva-manifold", "version": 1,
      "manifold": {"supplyTemp": 45, "tempDiff": 8, "surfaceThickness": 20, "levelThickness": 20,
        "fillThickness": 50, "pipeWallThickness": 2, "surfaceConductivity": 2.91,
        "levelConductivity": 1.84, "fillConductivity": 1.28, "pipeConductivity": 0.41,
        "pipeDiameter": 20, "elbows": 2, "allowance": 5},
      "loops": [{"name": "卫生间", "roomTemp": 24, "spacing": 100, "length": 38, "load": 420,
                 "tempDiff": 5}]})");
    file.close();
    const Run csv = runCalc({path});
    QCOMPARE(csv.code, 0);
    const csv::CsvTable t = table(csv.out);
    const QString verdict = cell(t, 1, "校核");
    QVERIFY2(verdict.startsWith(QStringLiteral("不合格：单位面积散热量")), qPrintable(verdict));
    QVERIFY(verdict.contains(QStringLiteral("盘管水流速 0.07 m/s（要求 ≥ 0.25 m/s）")));
    const QStringList& captions = t.rows[3];
    QCOMPARE(t.rows[4].value(captions.indexOf(QStringLiteral("校核结论"))),
             QStringLiteral("不合格"));
    QCOMPARE(runCalc({"--strict", path}).code, 4);

    const Run json = runCalc({"--json", "--category", "unoccupied", path});
    QCOMPARE(json.code, 0);
    const QJsonObject root = QJsonDocument::fromJson(json.out).object();
    QCOMPARE(root[u"totals"][u"verdict"].toString(), QStringLiteral("不合格"));
    const QJsonArray checks = root[u"loops"][0][u"checks"].toArray();
    QJsonObject velocity;
    for (const QJsonValue& c : checks)
        if (c[u"rule"].toString() == u"velocity")
            velocity = c.toObject();
    QCOMPARE(velocity[u"limit"].toDouble(), 0.25);
    QVERIFY(velocity[u"value"].toDouble() < 0.075 && velocity[u"value"].toDouble() > 0.065);
    QCOMPARE(velocity[u"verdict"].toString(), QStringLiteral("不合格"));
    QCOMPARE(root[u"check"][u"category"].toString(), QStringLiteral("无人停留"));
}

QTEST_GUILESS_MAIN(ZorvaCalcTest)
#include "tst_zorvacalc.moc"
