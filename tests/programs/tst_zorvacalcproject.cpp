// SPDX-License-Identifier: GPL-3.0-or-later
// zorva-calc on a project of rooms: the installer's keys of the JSON on the
// flat example, the bill as CSV read back with the CSV reader, and a file
// without the hydraulics section giving the same design keys.

#include "core/csv/csvreader.h"
#include "support/patience.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace zorva;

namespace {

struct Run {
    int code = -1;
    QByteArray out;
    QString err;
};

Run runCalc(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(ZORVA_CALC_PROGRAM), args);
    if (!p.waitForStarted(kProcessPatienceMs))
        return {};
    p.closeWriteChannel();
    if (!p.waitForFinished(kProcessPatienceMs)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            QString::fromUtf8(p.readAllStandardError())};
}

const QString kFlat = QStringLiteral(ZORVA_TESTS_SOURCE_DIR "/../examples/flat.zorvaproj");

QJsonObject flatJson(const QString& path) {
    const Run r = runCalc({path, QStringLiteral("--json")});
    return r.code == 0 ? QJsonDocument::fromJson(r.out).object() : QJsonObject{};
}

// The dew point by the Magnus formula over water (WMO: b = 17.62,
// c = 243.12 ℃), as the psychrometric tables give it.
double magnusDewPoint(double temp, double humidity) {
    const double g = std::log(humidity) + 17.62 * temp / (243.12 + temp);
    return 243.12 * g / (17.62 - g);
}

// The flat with its season set to `season`, in `dir`.
QString flatIn(const QTemporaryDir& dir, const char* season) {
    QFile in(kFlat);
    in.open(QIODevice::ReadOnly);
    QByteArray text = in.readAll();
    text.replace("\"season\": \"both\"", QByteArray("\"season\": \"") + season + '"');
    const QString path = dir.filePath(QStringLiteral("flat.zorvaproj"));
    QFile out(path);
    out.open(QIODevice::WriteOnly);
    out.write(text);
    return path;
}

// The keys this program's hydraulics step adds, taken out.
QJsonObject withoutHydraulics(QJsonObject o) {
    for (const char* k : {"materials", "cuttingPlan", "materialsMethod"})
        o.remove(QLatin1String(k));
    QJsonArray manifolds = o.value(QStringLiteral("manifolds")).toArray();
    for (qsizetype i = 0; i < manifolds.size(); ++i) {
        QJsonObject m = manifolds[i].toObject();
        for (const char* k :
             {"valve", "valveGeneric", "valveProblem", "pumpMethod", "branchPressure", "pumpFlow",
              "pumpFlowLh", "pumpHead", "pumpHeadM", "bodyPressureDrop", "connectionPressureDrop",
              "barVelocity", "mixedReturnTemp", "systemTempDiff", "heatDelivered", "mixing",
              "operatingPoint", "hydraulicsWarnings"})
            m.remove(QLatin1String(k));
        QJsonArray loops = m.value(QStringLiteral("loops")).toArray();
        for (qsizetype j = 0; j < loops.size(); ++j) {
            QJsonObject l = loops[j].toObject();
            for (const char* k : {"valveSetting", "valveSettingExact", "valveRange", "kv",
                                  "extraPressureDrop", "valvePressureDrop", "flowMeter",
                                  "flowDeviationAtDial", "valveIndexLoop", "warnings"})
                l.remove(QLatin1String(k));
            loops[j] = l;
        }
        m.insert(QStringLiteral("loops"), loops);
        manifolds[i] = m;
    }
    o.insert(QStringLiteral("manifolds"), manifolds);
    return o;
}

} // namespace

class ZorvaCalcProjectTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void loopKeys_data();
    void loopKeys();
    void manifoldKeys();
    void materialsCsvReadsBack_data();
    void materialsCsvReadsBack();
    void withoutTheSectionTheDesignIsTheSame();
    void materialsRefusedWithJson();
    void methodOverridesTheFile_data();
    void methodOverridesTheFile();
    void seasonOptionsChecked_data();
    void seasonOptionsChecked();
    void humidityGivesEveryRoomItsDewPoint_data();
    void humidityGivesEveryRoomItsDewPoint();
    void bothSeasonsKeepTheHeating();

private:
    QJsonObject flat_;
};

void ZorvaCalcProjectTest::initTestCase() {
    flat_ = flatJson(kFlat);
    QVERIFY(!flat_.isEmpty());
}

void ZorvaCalcProjectTest::loopKeys_data() {
    QTest::addColumn<int>("loop");
    const QJsonArray loops =
        flat_.value(QStringLiteral("manifolds")).toArray()[0].toObject()["loops"].toArray();
    QCOMPARE(loops.size(), 6);
    for (int i = 0; i < loops.size(); ++i)
        QTest::newRow(qPrintable(loops[i].toObject()["name"].toString())) << i;
}

// Every loop carries a setting within the generic valve's 1 … 6, a kv, its
// extra drop and a flow-meter target that is its flow at the supply
// density; the index loop is fully open.
void ZorvaCalcProjectTest::loopKeys() {
    QFETCH(int, loop);
    const QJsonObject m = flat_.value(QStringLiteral("manifolds")).toArray()[0].toObject();
    const QJsonObject l = m["loops"].toArray()[loop].toObject();
    for (const char* k : {"valveSetting", "kv", "extraPressureDrop", "flowMeter"})
        QVERIFY2(l.value(QLatin1String(k)).isDouble(), k);
    const double setting = l["valveSetting"].toDouble();
    QVERIFY(setting >= 1 && setting <= 6);
    QCOMPARE(std::fmod(setting, 0.25), 0.0);
    const double supply = l["supplyTemp"].toDouble();
    // ρ(θ_V) by the Thiesen–Scheel–Diesselhorst form.
    const double rho = 1000 * (1 - (supply + 288.9414) / (508929.2 * (supply + 68.12963)) *
                                       (supply - 3.9863) * (supply - 3.9863));
    QVERIFY(qFuzzyCompare(l["flowMeter"].toDouble(), l["flow"].toDouble() / rho * 1000 / 60));
    if (l["indexLoop"].toBool()) {
        QCOMPARE(l["extraPressureDrop"].toDouble(), 0.0);
        QCOMPARE(setting, 6.0);
        QCOMPARE(l["valveRange"].toString(), QStringLiteral("fullyOpen"));
    } else {
        // Another loop throttles unless it equals the index loop (the two
        // living-room loops are alike): then it stays fully open too.
        const double extra = l["extraPressureDrop"].toDouble();
        QVERIFY(extra >= 0);
        QCOMPARE(extra == 0, l["valveRange"].toString() == QStringLiteral("fullyOpen"));
    }
}

// The pump carries every loop's flow, at the head of the branch, the body
// and the typed connection drop.
void ZorvaCalcProjectTest::manifoldKeys() {
    const QJsonObject m = flat_.value(QStringLiteral("manifolds")).toArray()[0].toObject();
    for (const char* k : {"pumpFlow", "pumpHead", "mixedReturnTemp"})
        QVERIFY2(m.value(QLatin1String(k)).isDouble(), k);
    double meters = 0;
    for (const QJsonValue& l : m["loops"].toArray())
        meters += l.toObject()["flowMeter"].toDouble();
    QVERIFY(qFuzzyCompare(m["pumpFlow"].toDouble(), meters * 60 / 1000));
    const double body = std::pow(m["pumpFlow"].toDouble() / 5.0, 2) * 100;
    QVERIFY(qFuzzyCompare(m["pumpHead"].toDouble(), m["branchPressure"].toDouble() + body + 2.0));
    const double supply = m["loops"].toArray()[0].toObject()["supplyTemp"].toDouble();
    const double rho = 1000 * (1 - (supply + 288.9414) / (508929.2 * (supply + 68.12963)) *
                                       (supply - 3.9863) * (supply - 3.9863));
    QVERIFY(qFuzzyCompare(m["pumpHeadM"].toDouble(),
                          m["pumpHead"].toDouble() * 1000 / (rho * 9.80665)));
}

void ZorvaCalcProjectTest::materialsCsvReadsBack_data() {
    QTest::addColumn<QStringList>("args");
    QTest::newRow("UTF-8") << QStringList{kFlat, QStringLiteral("--materials")};
    QTest::newRow("with mark") << QStringList{kFlat, QStringLiteral("--materials"),
                                              QStringLiteral("--bom")};
}

// The CSV reads back with the program's CSV reader; its pipe is the loops'
// lengths, its rolls hold every loop once.
void ZorvaCalcProjectTest::materialsCsvReadsBack() {
    QFETCH(QStringList, args);
    const Run r = runCalc(args);
    QCOMPARE(r.code, 0);
    QCOMPARE(r.out.startsWith("\xEF\xBB\xBF"), args.contains(QStringLiteral("--bom")));
    const Result<csv::CsvTable> t = csv::readCsv(r.out);
    QVERIFY(t.ok());
    const QList<QStringList>& rows = t->rows;
    QCOMPARE(rows[0], (QStringList{"材料", "名称", "管材", "规格", "数量", "单位"}));
    double lengths = 0;
    for (const QJsonValue& l :
         flat_.value(QStringLiteral("manifolds")).toArray()[0].toObject()["loops"].toArray())
        lengths += l.toObject()["length"].toDouble();
    const QJsonArray items = flat_.value(QStringLiteral("materials")).toArray();
    QCOMPARE(rows[1][0], QStringLiteral("pipe"));
    QVERIFY(std::fabs(rows[1][4].toDouble() - lengths) < 1e-6);
    for (qsizetype i = 0; i < items.size(); ++i)
        QCOMPARE(rows[i + 1][0], items[i].toObject()["item"].toString());
    QStringList cut;
    for (qsizetype i = items.size() + 3; i < rows.size(); ++i)
        cut << rows[i][2].split(QStringLiteral("、"));
    cut.sort();
    QStringList names;
    for (const QJsonValue& l :
         flat_.value(QStringLiteral("manifolds")).toArray()[0].toObject()["loops"].toArray())
        names << l.toObject()["name"].toString();
    names.sort();
    QCOMPARE(cut, names);
}

// The section changes no number of the design: without it the JSON has
// the same keys and values, less the installer's.
void ZorvaCalcProjectTest::withoutTheSectionTheDesignIsTheSame() {
    QFile in(kFlat);
    QVERIFY(in.open(QIODevice::ReadOnly));
    QJsonObject doc = QJsonDocument::fromJson(in.readAll()).object();
    QVERIFY(doc.contains(QStringLiteral("hydraulics")));
    doc.remove(QStringLiteral("hydraulics"));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("flat.zorvaproj"));
    QFile out(path);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(QJsonDocument(doc).toJson());
    out.close();
    const QJsonObject plain = flatJson(path);
    QVERIFY(!plain.isEmpty());
    QCOMPARE(withoutHydraulics(plain), withoutHydraulics(flat_));
    // Without a connection drop the head is the branch and the body alone.
    const QJsonObject m = plain["manifolds"].toArray()[0].toObject();
    QCOMPARE(m["connectionPressureDrop"].toDouble(), 0.0);
}

void ZorvaCalcProjectTest::materialsRefusedWithJson() {
    QCOMPARE(runCalc({kFlat, QStringLiteral("--materials"), QStringLiteral("--json")}).code, 1);
}

void ZorvaCalcProjectTest::methodOverridesTheFile_data() {
    QTest::addColumn<QStringList>("extra");
    QTest::addColumn<QString>("method"); // the JSON's method key
    QTest::addColumn<bool>("sameAsFile");
    QTest::newRow("the file's (en1264)") << QStringList{} << "en1264" << true;
    QTest::newRow("--method en1264") << QStringList{"--method", "en1264"} << "en1264" << true;
    QTest::newRow("--method program") << QStringList{"--method", "program"} << "program" << false;
}

// --method replaces the file's method: the output names it, and the
// program's method gives other outputs than the file's EN 1264-2.
void ZorvaCalcProjectTest::methodOverridesTheFile() {
    QFETCH(QStringList, extra);
    QFETCH(QString, method);
    QFETCH(bool, sameAsFile);
    const Run r = runCalc(QStringList{kFlat, QStringLiteral("--json")} + extra);
    QCOMPARE(r.code, 0);
    const QJsonObject o = QJsonDocument::fromJson(r.out).object();
    QCOMPARE(o["method"].toString(), method);
    QCOMPARE(o == flat_, sameAsFile);
}

void ZorvaCalcProjectTest::seasonOptionsChecked_data() {
    QTest::addColumn<QString>("fileSeason");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    QTest::newRow("humidity with heating")
        << "both" << QStringList{"--mode", "heating", "--humidity", "60"} << 1
        << "只用于供冷的项目";
    QTest::newRow("humidity on a heating file")
        << "heating" << QStringList{"--humidity", "60"} << 1 << "项目文件的工况为供暖";
    QTest::newRow("heating file, cooling asked")
        << "heating" << QStringList{"--mode", "cooling", "--humidity", "60"} << 0 << "";
    QTest::newRow("unknown season")
        << "both" << QStringList{"--mode", "summer"} << 2 << "--mode 的值“summer”";
    QTest::newRow("humidity 0") << "both" << QStringList{"--humidity", "0"} << 2 << "--humidity";
    QTest::newRow("room 41 ℃") << "both" << QStringList{"--room-temp", "41"} << 2 << "--room-temp";
    QTest::newRow("condensing water, strict")
        << "both" << QStringList{"--mode", "cooling", "--humidity", "90", "--strict"} << 4
        << "--strict";
    QTest::newRow("both seasons for a design")
        << "both" << QStringList{"--design", "26,18,21,300,90,20,120", "--mode", "both"} << 1
        << "--mode both 只用于项目文件";
}

// Options of the season are checked before anything is computed; a loop
// whose water condenses is 不合格 under --strict.
void ZorvaCalcProjectTest::seasonOptionsChecked() {
    QFETCH(QString, fileSeason);
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QStringList all = args;
    if (!args.contains(QStringLiteral("--design")))
        all.prepend(flatIn(dir, fileSeason.toUtf8().constData()));
    const Run r = runCalc(all);
    QCOMPARE(r.code, code);
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
}

void ZorvaCalcProjectTest::humidityGivesEveryRoomItsDewPoint_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<double>("humidity");
    QTest::addColumn<double>("roomTemp"); // 0: the file's
    QTest::newRow("60 %") << QStringList{"--humidity", "60"} << 0.6 << 0.0;
    QTest::newRow("40 % at 27 ℃") << QStringList{"--humidity", "40", "--room-temp", "27"} << 0.4
                                  << 27.0;
}

// zorva-calc flat.zorvaproj --mode cooling --humidity 60 --json: every room
// and loop at the dew point of 60 % (17.63204 ℃ at 26 ℃, docs/cooling.md),
// its lowest supply 2 K above, and no proposed supply below that.
void ZorvaCalcProjectTest::humidityGivesEveryRoomItsDewPoint() {
    QFETCH(QStringList, args);
    QFETCH(double, humidity);
    QFETCH(double, roomTemp);
    const Run r = runCalc(QStringList{kFlat, "--mode", "cooling", "--json"} + args);
    QCOMPARE(r.code, 0);
    const QJsonObject cooling = QJsonDocument::fromJson(r.out).object()["cooling"].toObject();
    QCOMPARE(cooling["season"].toString(), QStringLiteral("cooling"));
    const QJsonArray rooms = cooling["rooms"].toArray();
    QCOMPARE(rooms.size(), 5);
    for (const QJsonValue& v : rooms) {
        const QJsonObject room = v.toObject();
        QCOMPARE(room["humidity"].toDouble(), humidity);
        const double temp = room["roomTemp"].toDouble();
        if (roomTemp > 0)
            QCOMPARE(temp, roomTemp);
        const double dew = room["dewPoint"].toDouble();
        QVERIFY(std::fabs(dew - magnusDewPoint(temp, humidity)) < 1e-9);
        if (temp == 26 && humidity == 0.6)
            QVERIFY(std::fabs(dew - 17.63204) < 5e-6);
        QCOMPARE(room["minSupplyTemp"].toDouble(), dew + 2);
        if (room["proposedSupplyTemp"].isDouble())
            QVERIFY(room["proposedSupplyTemp"].toDouble() >= room["minSupplyTemp"].toDouble());
        if (room["computed"].toBool())
            QCOMPARE(room["supplyVerdict"].toString(),
                     18 >= dew + 2 ? QStringLiteral("pass") : QStringLiteral("fail"));
    }
    for (const QJsonValue& l : cooling["manifolds"][0]["loops"].toArray())
        QVERIFY(std::fabs(l["dewPoint"].toDouble() - 17.63204) < 5e-6 || roomTemp > 0 ||
                l["name"].toString().isEmpty());
}

// --mode both and --mode heating: the heating keys are one, byte for byte
// as JSON; heating has no cooling.
void ZorvaCalcProjectTest::bothSeasonsKeepTheHeating() {
    const Run heating = runCalc({kFlat, "--json", "--mode", "heating"});
    const Run both = runCalc({kFlat, "--json", "--mode", "both", "--humidity", "55"});
    QCOMPARE(heating.code, 0);
    QCOMPARE(both.code, 0);
    const QJsonObject h = QJsonDocument::fromJson(heating.out).object();
    QJsonObject b = QJsonDocument::fromJson(both.out).object();
    QVERIFY(!h.contains(QStringLiteral("cooling")));
    QVERIFY(b.contains(QStringLiteral("cooling")));
    b.remove(QStringLiteral("cooling"));
    QCOMPARE(b, h);
}

QTEST_GUILESS_MAIN(ZorvaCalcProjectTest)
#include "tst_zorvacalcproject.moc"
