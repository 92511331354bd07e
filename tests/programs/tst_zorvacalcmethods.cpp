// SPDX-License-Identifier: GPL-3.0-or-later
// zorva-calc's designs by EN 1264-2 and for floor cooling, run as a user
// runs them: the worked examples of both methods to their printed digits,
// range checks naming the option, the verdict's exit status, and today's
// output unchanged without the new options.

#include "core/csv/csvreader.h"
#include "support/patience.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

#include <cmath>

using namespace zorva;

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

QJsonObject json(const QStringList& args) {
    const Run r = runCalc(args + QStringList{"--json"});
    return r.code == 0 ? QJsonDocument::fromJson(r.out).object() : QJsonObject{};
}

// `value` agrees with `printed` to the printed digits: within half a unit
// of the last one.
bool toDigits(double value, double printed, int decimals) {
    return std::abs(value - printed) <= 0.5 * std::pow(10.0, -decimals) * (1 + 1e-9);
}

// Keys and printed values with their decimals: "key=value@decimals".
void compareKeys(const QJsonObject& o, const QStringList& expected) {
    for (const QString& item : expected) {
        const QString key = item.section(u'=', 0, 0);
        const QString value = item.section(u'=', 1).section(u'@', 0, 0);
        const int decimals = item.section(u'@', 1).toInt();
        QVERIFY2(o.value(key).isDouble(), qPrintable(key));
        QVERIFY2(toDigits(o.value(key).toDouble(), value.toDouble(), decimals),
                 qPrintable(QStringLiteral("%1: %2, printed %3")
                                .arg(key)
                                .arg(o.value(key).toDouble(), 0, 'g', 17)
                                .arg(value)));
    }
}

const QByteArray kHeader = "环路,室内温度,盘管间距,单管长度\r\n";

} // namespace

class ZorvaCalcMethodsTest : public QObject {
    Q_OBJECT

private slots:
    void standardExamples_data();
    void standardExamples();
    void coolingExamples_data();
    void coolingExamples();
    void outputIndependentOfLoopLength_data();
    void outputIndependentOfLoopLength();
    void badValuesNameTheOption_data();
    void badValuesNameTheOption();
    void strictFailsOnlyOnAFailedVerdict_data();
    void strictFailsOnlyOnAFailedVerdict();
    void todaysOutputWithoutTheNewOptions_data();
    void todaysOutputWithoutTheNewOptions();
    void csvRowsByMethodAndSeason_data();
    void csvRowsByMethodAndSeason();
};

// The EN 1264-2 type A examples a–e, their construction given as our
// layers: the surface layer is the covering (R = t/λ), the levelling layer
// and the filling above the pipe the screed, the depth the three layers.
void ZorvaCalcMethodsTest::standardExamples_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<bool>("within");
    QTest::newRow("a: plain case")
        << QStringList{"--thickness",      "20,20,45,2", "--conductivity",
                       "0.2,1.2,1.2,0.35", "--design",   "20,45,35,150,85,20,100"}
        << QStringList{"heatOutput=67.84795@5", "floorTempMean=26.32507@5",
                       "limitOutput=98.39302@5", "limitOutputMax=100.0073@4"}
        << true;
    QTest::newRow("b: our construction at its defaults")
        << QStringList{"--design", "18,50,40,300,90,20,120"}
        << QStringList{"heatOutput=102.8685@4", "floorTempMean=27.23379@5",
                       "limitOutput=88.84253@5", "limitOutputMax=124.7087@4"}
        << false;
    QTest::newRow("c: wide spacing")
        << QStringList{"--thickness",    "0,20,97,2", "--conductivity",
                       "1,1.2,1.2,0.35", "--design",  "20,45,35,450,117,17,100"}
        << QStringList{"heatOutput=41.20883@5", "floorTempMean=24.01980@5",
                       "limitOutput=83.07121@5"}
        << true;
    QTest::newRow("d: thick screed, thin pipe wall")
        << QStringList{"--thickness",      "5,20,116,2", "--conductivity",
                       "0.1,1.4,1.4,0.22", "--design",   "20,35,28,100,141,16,100"}
        << QStringList{"heatOutput=38.15039@5", "floorTempMean=23.74764@5", "limitOutput=100@5"}
        << true;
    QTest::newRow("e: spacing 200 mm, 45/35")
        << QStringList{"--design", "20,45,35,200,90,20,100"}
        << QStringList{"heatOutput=98.04101@5", "floorTempMean=28.83899@5",
                       "limitOutput=86.36281@5"}
        << false;
}

void ZorvaCalcMethodsTest::standardExamples() {
    QFETCH(QStringList, args);
    QFETCH(QStringList, expected);
    QFETCH(bool, within);
    const QJsonObject o = json(args + QStringList{"--method", "en1264"});
    QCOMPARE(o.value("method").toString(), QStringLiteral("en1264"));
    QCOMPARE(o.value("methodName").toString(), QStringLiteral("EN 1264-2"));
    compareKeys(o, expected);
    QCOMPARE(o.value("withinLimit").toBool(), within);
    QCOMPARE(o.value("verdict").toString(),
             within ? QStringLiteral("pass") : QStringLiteral("fail"));
    // The text names the method and shows q with the verdict beside it.
    const Run text = runCalc(args + QStringList{"--method", "en1264"});
    QCOMPARE(text.code, 0);
    const QString out = QString::fromUtf8(text.out);
    QVERIFY(out.startsWith(QStringLiteral("计算方法：EN 1264-2\n")));
    QVERIFY(out.contains(QStringLiteral("结论：") +
                         (within ? QStringLiteral("合格\n") : QStringLiteral("不合格\n"))));
}

// Floor-cooling examples 1, 1b and 2; no space below is known, so the flow
// is the loop's output alone: G = Q_j·3.6/(4.1868·σ).
void ZorvaCalcMethodsTest::coolingExamples_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<double>("loopOutput");
    QTest::addColumn<bool>("supplyPasses");
    QTest::newRow("1: 300 mm, 18/21, 26 ℃ 50 %")
        << QStringList{"--design", "26,18,21,300,90,20,120"}
        << QStringList{"coolingCoeff=3.009132@6",  "coolingOutput=19.20708@5",
                       "floorTempMean=23.25613@5", "floorTempInlet=22.56099@5",
                       "dewPoint=14.77001@5",      "minSupplyTemp=16.77001@5",
                       "minFloorTemp=19@5",        "dewLimitedOutput=22.96561@5",
                       "underTemp=6.382929@6"}
        << 691.4548 << true;
    QTest::newRow("1b: 150 mm, one of two loops")
        << QStringList{"--design", "26,18,21,150,90,20,120", "--humidity", "50"}
        << QStringList{"coolingCoeff=4.080127@6", "coolingOutput=26.04316@5",
                       "floorTempMean=22.27955@5", "floorTempInlet=21.337@3"}
        << 468.7769 << true;
    QTest::newRow("2: carpet, 16/19, 26 ℃ 60 %")
        << QStringList{"--thickness",        "10,20,50,2", "--conductivity",
                       "0.1,1.84,1.28,0.41", "--design",   "26,16,19,150,80,20,120",
                       "--humidity",         "60"}
        << QStringList{"coolingCoeff=2.841306@6",  "coolingOutput=23.89828@5",
                       "floorTempMean=22.58596@5", "floorTempInlet=21.94099@5",
                       "dewPoint=17.63204@5",      "minSupplyTemp=19.63204@5",
                       "minFloorTemp=19.63204@5",  "dewLimitedOutput=13.38195@5"}
        << 23.89828 * 18 << false;
    QTest::newRow("--room-temp replaces the design's room")
        << QStringList{"--design", "20,18,21,300,90,20,120", "--room-temp", "26"}
        << QStringList{"coolingOutput=19.20708@5", "dewPoint=14.77001@5"} << 691.4548 << true;
}

void ZorvaCalcMethodsTest::coolingExamples() {
    QFETCH(QStringList, args);
    QFETCH(QStringList, expected);
    QFETCH(double, loopOutput);
    QFETCH(bool, supplyPasses);
    const QJsonObject o = json(args + QStringList{"--mode", "cooling"});
    QCOMPARE(o.value("mode").toString(), QStringLiteral("cooling"));
    compareKeys(o, expected);
    QVERIFY(toDigits(o.value("loopOutput").toDouble(), loopOutput, 3));
    QVERIFY(toDigits(o.value("flow").toDouble(), loopOutput * 3.6 / (4.1868 * 3), 2));
    QCOMPARE(o.value("supplyVerdict").toString(),
             supplyPasses ? QStringLiteral("pass") : QStringLiteral("fail"));
    QCOMPARE(o.value("surfaceVerdict").toString(), QStringLiteral("pass"));
    QCOMPARE(o.value("supplyClause").toString(), QStringLiteral("JGJ 142-2012 §3.1"));
    const Run text = runCalc(args + QStringList{"--mode", "cooling"});
    QCOMPARE(text.code, 0);
    QVERIFY(QString::fromUtf8(text.out).contains(
        QStringLiteral("供水温度结论：") +
        (supplyPasses ? QStringLiteral("合格") : QStringLiteral("不合格"))));
}

// At 45/35 ℃ and 200 mm EN 1264-2 gives 98.04101 W/m² whatever the length.
void ZorvaCalcMethodsTest::outputIndependentOfLoopLength_data() {
    QTest::addColumn<QString>("length");
    for (const char* length : {"30", "60", "120", "200"})
        QTest::newRow(length) << QString::fromLatin1(length);
}

void ZorvaCalcMethodsTest::outputIndependentOfLoopLength() {
    QFETCH(QString, length);
    const QJsonObject o =
        json({"--method", "en1264", "--design", QStringLiteral("20,45,35,200,90,20,") + length});
    QVERIFY(toDigits(o.value("heatOutput").toDouble(), 98.04101, 5));
    QVERIFY(toDigits(o.value("area").toDouble(), length.toDouble() * 0.2, 9));
}

void ZorvaCalcMethodsTest::badValuesNameTheOption_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    const QStringList cool{"--design", "26,18,21,300,90,20,120", "--mode", "cooling"};
    QTest::newRow("humidity 0") << cool + QStringList{"--humidity", "0"} << 2 << "--humidity";
    QTest::newRow("humidity above 100")
        << cool + QStringList{"--humidity", "100.5"} << 2 << "--humidity 的“相对湿度”的值 100.5";
    QTest::newRow("humidity not a number")
        << cool + QStringList{"--humidity", "5O"} << 2 << "--humidity 的“相对湿度”不是数字：5O";
    QTest::newRow("room below 10") << cool + QStringList{"--room-temp", "9.9"} << 2
                                   << "--room-temp 的“室内温度”的值 9.9 超出范围 10 ~ 40 ℃";
    QTest::newRow("room above 40")
        << cool + QStringList{"--room-temp", "40.1"} << 2 << "--room-temp";
    QTest::newRow("unknown method")
        << QStringList{"--design", "18,50,40,300,90,20,120", "--method", "en12831"} << 2
        << "--method 的值“en12831”";
    QTest::newRow("unknown mode") << QStringList{"--design", "18,50,40,300,90,20,120", "--mode",
                                                 "summer"}
                                  << 2 << "--mode 的值“summer”";
    QTest::newRow("cooling return below supply")
        << QStringList{"--design", "26,18,15,300,90,20,120", "--mode", "cooling"} << 2
        << "--design 的“回水温度”15";
    QTest::newRow("cooling return not below the room")
        << QStringList{"--design", "20,18,21,300,90,20,120", "--mode", "cooling"} << 2
        << "--design 的设计不能按供冷计算";
    QTest::newRow("heating return above supply")
        << QStringList{"--design", "18,40,45,300,90,20,120", "--method", "en1264"} << 2
        << "--design 的“回水温度”45";
    QTest::newRow("humidity without cooling")
        << QStringList{"--design", "18,50,40,300,90,20,120", "--humidity", "50"} << 1
        << "--humidity 和 --room-temp 只用于 --mode cooling";
    QTest::newRow("category in cooling")
        << cool + QStringList{"--category", "bathroom"} << 1 << "--load 和 --category 不用于供冷";
    QTest::newRow("load by EN 1264-2")
        << QStringList{"--design", "18,50,40,300,90,20,120", "--method", "en1264", "--load", "80"}
        << 1 << "--load 只用于本程序方法";
    QTest::newRow("cooling by the program's method")
        << cool + QStringList{"--method", "program"} << 1 << "--method program";
}

void ZorvaCalcMethodsTest::badValuesNameTheOption() {
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, message);
    const Run r = runCalc(args);
    QCOMPARE(r.code, code);
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
    QVERIFY(r.out.isEmpty());
}

// 不合格 gives status 4 only with --strict; at the dew point plus margin
// the supply passes.
void ZorvaCalcMethodsTest::strictFailsOnlyOnAFailedVerdict_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    const QStringList carpet{"--thickness",        "10,20,50,2", "--conductivity",
                             "0.1,1.84,1.28,0.41", "--mode",     "cooling",
                             "--humidity",         "60",         "--design"};
    QTest::newRow("supply below dew point + margin")
        << carpet + QStringList{"26,16,19,150,80,20,120"} << 4;
    QTest::newRow("supply above dew point + margin")
        << carpet + QStringList{"26,19.7,22.7,150,80,20,120"} << 0;
    // θ_d at 26 ℃ and 50 % is 14.77001 ℃: 16.76 lies below 16.77001.
    QTest::newRow("supply 16.76 at 50 %")
        << QStringList{"--mode", "cooling", "--design", "26,16.76,19.76,300,90,20,120"} << 4;
    QTest::newRow("supply 16.769 at 50 %")
        << QStringList{"--mode", "cooling", "--design", "26,16.769,19.769,300,90,20,120"} << 4;
    QTest::newRow("supply 16.78 at 50 %")
        << QStringList{"--mode", "cooling", "--design", "26,16.78,19.78,300,90,20,120"} << 0;
    QTest::newRow("EN 1264-2 above the limit curve")
        << QStringList{"--method", "en1264", "--design", "18,50,40,300,90,20,120"} << 4;
    QTest::newRow("EN 1264-2 within the limit curve")
        << QStringList{"--method",       "en1264",
                       "--thickness",    "20,20,45,2",
                       "--conductivity", "0.2,1.2,1.2,0.35",
                       "--design",       "20,45,35,150,85,20,100"}
        << 0;
}

void ZorvaCalcMethodsTest::strictFailsOnlyOnAFailedVerdict() {
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QCOMPARE(runCalc(args).code, 0);
    const Run strict = runCalc(args + QStringList{"--strict"});
    QCOMPARE(strict.code, code);
    if (code == 4)
        QVERIFY(strict.out.contains("不合格"));
    // Shown to the digits that carry the verdict.
    if (args.contains(QStringLiteral("26,16.769,19.769,300,90,20,120")))
        QVERIFY(strict.out.contains("供水温度 16.769 ℃，要求 ≥ 露点温度 + 余量 = 16.770 ℃"));
}

// Without --method or --mode the output is today's, byte for byte; with
// --mode heating too; --method program only adds the lines naming it.
void ZorvaCalcMethodsTest::todaysOutputWithoutTheNewOptions_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("methodLines");
    const QByteArray csvLine = "计算方法,本程序方法,本程序方法：逐次逼近计算（docs/method.md）\r\n";
    const QByteArray textLines = "计算方法：本程序方法\n依据：本程序方法：逐次逼近计算"
                                 "（docs/method.md）\n\n";
    QTest::newRow("design") << QStringList{"--design", "18,50,40,300,90,20,120"} << QByteArray()
                            << textLines;
    QTest::newRow("table") << QStringList{"-"}
                           << kHeader + "a,18,300,120\r\nb,20,200,80\r\n\"c\",16,250,90\r\n"
                           << csvLine;
}

void ZorvaCalcMethodsTest::todaysOutputWithoutTheNewOptions() {
    QFETCH(QStringList, args);
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, methodLines);
    const Run today = runCalc(args, input);
    QCOMPARE(today.code, 0);
    // The first result digits of the defaults, as the main window shows them.
    QVERIFY(today.out.contains("92.6"));
    QCOMPARE(runCalc(args + QStringList{"--mode", "heating"}, input).out, today.out);
    const Run program = runCalc(args + QStringList{"--method", "program"}, input);
    QCOMPARE(program.out, methodLines + today.out);
}

void ZorvaCalcMethodsTest::csvRowsByMethodAndSeason_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("values");
    // Examples a and b, each row with its own construction.
    const QByteArray examples =
        "环路,室内温度,盘管间距,单管长度,供水温度,供回水温差,地面层厚度,地面层导热系数,"
        "找平层导热系数,填充层厚度,填充层导热系数,塑料管导热系数\r\n"
        "a,20,150,100,45,10,20,0.2,1.2,45,1.2,0.35\r\n"
        "\"b\",18,300,120,50,10,20,2.91,1.84,50,1.28,0.41\r\n";
    QTest::newRow("EN 1264-2, q of examples a and b")
        << QStringList{"--method", "en1264", "-"} << examples << 0 << "单位面积散热量(W/m²)"
        << QStringList{"67.8", "102.9"};
    QTest::newRow("EN 1264-2, verdicts of examples a and b")
        << QStringList{"--method", "en1264", "-"} << examples << 0 << "校核结论"
        << QStringList{"合格", "不合格"};
    QTest::newRow("cooling, example 1 at 50 % and 60 %")
        << QStringList{"--mode", "cooling", "--design", "26,18,21,300,90,20,120", "-"}
        << kHeader + "a,26,300,120\r\nb,26,150,120\r\n"
        << 0 << "单位面积供冷量(W/m²)" << QStringList{"19.21", "26.04"};
    QTest::newRow("cooling without a design: chilled water 18/21")
        << QStringList{"--mode", "cooling", "-"} << kHeader + "a,26,300,120\r\n"
        << 0 << "单位面积供冷量(W/m²)" << QStringList{"19.21"};
    QTest::newRow("cooling without a design: the return")
        << QStringList{"--mode", "cooling", "-"} << kHeader + "a,26,300,120\r\n"
        << 0 << "回水温度(℃)" << QStringList{"21.0"};
    QTest::newRow("cooling, a room too cold to cool")
        << QStringList{"--mode", "cooling", "--design", "26,18,21,300,90,20,120", "-"}
        << kHeader + "a,26,300,120\r\nb,20,300,120\r\n"
        << 3 << "状态" << QStringList{"完成", "供冷要求 供水温度 ≤ 回水温度 < 室内温度"};
}

void ZorvaCalcMethodsTest::csvRowsByMethodAndSeason() {
    QFETCH(QStringList, args);
    QFETCH(QByteArray, input);
    QFETCH(int, code);
    QFETCH(QString, caption);
    QFETCH(QStringList, values);
    const Run r = runCalc(args, input);
    QCOMPARE(r.code, code);
    const Result<csv::CsvTable> t = csv::parseCsv(QString::fromUtf8(r.out));
    QVERIFY(t);
    QCOMPARE(t->rows.value(0).value(0), QStringLiteral("计算方法"));
    const int column = int(t->rows.value(1).indexOf(caption));
    QVERIFY(column >= 0);
    QStringList written;
    for (qsizetype row = 2; row < t->rows.size(); ++row)
        written << t->rows[row].value(column);
    QCOMPARE(written, values);
}

QTEST_GUILESS_MAIN(ZorvaCalcMethodsTest)
#include "tst_zorvacalcmethods.moc"
