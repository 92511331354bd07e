// SPDX-License-Identifier: GPL-3.0-or-later
// zorva-calc project.zorvaproj --layout: the example flat routed and drawn
// as DXF and SVG by the program as a user runs it; the DXF read back has
// one layer per loop whose pipes are as long as the loops the pipeline
// routes in this process, and a project without outlines draws no loop.

#include "cli/projectjson.h"
#include "core/dxf/dxfreader.h"
#include "core/io/citytablefile.h"
#include "core/io/projectfile.h"
#include "core/project/compute.h"

#include <QFile>
#include <QJsonArray>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <map>

using namespace zorva;

namespace {

struct Run {
    int code = -1;
    QByteArray out;
    QByteArray err;
};

Run runCalc(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(ZORVA_CALC_PROGRAM), args);
    p.waitForFinished(120000);
    Run r;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return r;
}

const QString kFlat = QStringLiteral(ZORVA_TESTS_SOURCE_DIR "/../examples/flat.zorvaproj");

project::ProjectResult computeFlat(const project::Project& p) {
    const io::CityTableLoad cities = io::loadBuiltinCityTable();
    project::ComputeOptions options;
    options.cities = &*cities;
    return project::computeProject(p, options);
}

} // namespace

class CalcLayoutTest : public QObject {
    Q_OBJECT

private slots:
    void dxfReadsBackWithTheRoutedLengths();
    void ezdxfReadsTheSameLengths();
    void svgHasALayerPerLoop();
    void refused_data();
    void refused();
    void jsonKeys_data();
    void jsonKeys();
};

void CalcLayoutTest::dxfReadsBackWithTheRoutedLengths() {
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("flat.dxf"));
    const Run r = runCalc({kFlat, QStringLiteral("--layout"), out});
    QVERIFY2(r.code == 0, r.err.constData());
    QVERIFY(r.out.isEmpty());

    const Result<io::ProjectDocument> read = io::readProjectDocumentFile(kFlat);
    QVERIFY(read.ok());
    const project::ProjectResult result = computeFlat(read->project);
    std::vector<double> routed; // m, in drawing order
    for (const project::RoomResult& room : result.rooms)
        if (room.plan.routed())
            for (const layout::RoutedLoop& l : room.plan.layout->loops)
                routed.push_back(l.routedLength);
    QCOMPARE(routed.size(), std::size_t(6)); // 客厅 two, the others one each
    QVERIFY(r.err.contains(QStringLiteral("5 个房间，6 个环路").toUtf8()));

    const dxf::ImportResult back = dxf::readDxfFile(out.toStdString());
    QVERIFY2(back.ok, back.error.c_str());
    // The five room outlines and the five no-pipe areas come back closed.
    int rooms = 0;
    for (const dxf::ImportedOutline& o : back.outlines)
        rooms += o.layer == "ROOMS" ? 1 : 0;
    QCOMPARE(rooms, 5);
    std::map<std::string, double> pipe; // mm per layer
    std::map<std::string, int> pieces;
    for (const dxf::DrawnPolyline& p : back.background.polylines) {
        pipe[p.layer] += layout::length(p.points);
        ++pieces[p.layer];
    }
    for (std::size_t n = 0; n < routed.size(); ++n) {
        char layer[16];
        std::snprintf(layer, sizeof layer, "LOOP-%02d", int(n + 1));
        QCOMPARE(pieces[layer], 2); // supply and return
        QVERIFY2(std::fabs(pipe[layer] / 1000 - routed[n]) < 1e-3,
                 qPrintable(QStringLiteral("%1: %2 m drawn, %3 m routed")
                                .arg(layer)
                                .arg(pipe[layer] / 1000)
                                .arg(routed[n])));
    }
    QCOMPARE(pieces.count("LOOP-07"), std::size_t(0));
}

// A second reader, python3-ezdxf, where it is installed: the length of
// every loop layer's polylines, m.
void CalcLayoutTest::ezdxfReadsTheSameLengths() {
    QProcess probe;
    probe.start(QStringLiteral(ZORVA_PYTHON3), {"-c", "import ezdxf"});
    if (!probe.waitForFinished(30000) || probe.exitCode() != 0)
        QSKIP("python3-ezdxf is not installed");
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("flat.dxf"));
    QCOMPARE(runCalc({kFlat, QStringLiteral("--layout"), out}).code, 0);
    const char* reader = R"(
import sys, math, ezdxf
doc = ezdxf.readfile(sys.argv[1])
lengths = {}
for e in doc.modelspace().query("LWPOLYLINE"):
    p = [(x, y) for x, y, *rest in e.get_points()]
    lengths[e.dxf.layer] = lengths.get(e.dxf.layer, 0) + sum(
        math.dist(p[i], p[i + 1]) for i in range(len(p) - 1))
for layer in sorted(lengths):
    if layer.startswith("LOOP-"):
        print(layer, repr(lengths[layer] / 1000))
)";
    QProcess python;
    python.start(QStringLiteral(ZORVA_PYTHON3), {"-c", QString::fromUtf8(reader), out});
    QVERIFY(python.waitForFinished(60000));
    QCOMPARE(python.exitCode(), 0);
    const QList<QByteArray> lines = python.readAllStandardOutput().trimmed().split('\n');
    const Result<io::ProjectDocument> read = io::readProjectDocumentFile(kFlat);
    QVERIFY(read.ok());
    const project::ProjectResult result = computeFlat(read->project);
    std::vector<double> routed;
    for (const project::RoomResult& room : result.rooms)
        if (room.plan.routed())
            for (const layout::RoutedLoop& l : room.plan.layout->loops)
                routed.push_back(l.routedLength);
    QCOMPARE(std::size_t(lines.size()), routed.size());
    for (std::size_t n = 0; n < routed.size(); ++n)
        QVERIFY2(std::fabs(lines[qsizetype(n)].split(' ').at(1).toDouble() - routed[n]) < 1e-3,
                 lines[qsizetype(n)].constData());
}

void CalcLayoutTest::svgHasALayerPerLoop() {
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("flat.svg"));
    const Run r = runCalc({kFlat, QStringLiteral("--layout"), out});
    QVERIFY2(r.code == 0, r.err.constData());
    QFile f(out);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray svg = f.readAll();
    QVERIFY(svg.startsWith("<?xml"));
    QVERIFY(svg.contains("id=\"LOOP-06\""));
    QVERIFY(!svg.contains("id=\"LOOP-07\""));
    QVERIFY(svg.contains("id=\"ROOMS\""));
}

void CalcLayoutTest::refused_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    QTest::newRow("other suffix") << QStringList{kFlat, "--layout", "out.pdf"} << 1
                                  << QStringLiteral(".dxf 或 .svg");
    QTest::newRow("with --json") << QStringList{kFlat, "--json", "--layout", "out.dxf"} << 1
                                 << QStringLiteral("--layout 只写出布置图");
    QTest::newRow("no project") << QStringList{"--layout", "out.dxf", "--design",
                                               "18,50,40,300,90,20,120"}
                                << 1 << QStringLiteral("只用于项目文件");
    QTest::newRow("unwritable target")
        << QStringList{kFlat, "--layout", "/nonexistent/dir/out.dxf"} << 2 << QString();
}

// Refused without a file written; the output's failure is a failure.
void CalcLayoutTest::refused() {
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, message);
    const Run r = runCalc(args);
    QCOMPARE(r.code, code);
    QVERIFY2(QString::fromUtf8(r.err).contains(message), r.err.constData());
    QVERIFY(!QFile::exists(QStringLiteral("out.dxf")) && !QFile::exists(QStringLiteral("out.pdf")));
}

void CalcLayoutTest::jsonKeys_data() {
    QTest::addColumn<bool>("withPlan");
    QTest::newRow("the flat with its plan") << true;
    QTest::newRow("the flat without outlines") << false;
}

// With outlines every room loop's routedLength is the length its pressure
// drop used and every room has its layout; without, the JSON has neither.
void CalcLayoutTest::jsonKeys() {
    QFETCH(bool, withPlan);
    const Result<io::ProjectDocument> read = io::readProjectDocumentFile(kFlat);
    QVERIFY(read.ok());
    project::Project p = read->project;
    if (!withPlan)
        for (project::Room& room : p.rooms)
            room.plan = {};
    const QJsonObject json = cli::projectJson(p, computeFlat(p));
    const QJsonArray loops =
        json.value("manifolds").toArray().at(0).toObject().value("loops").toArray();
    QCOMPARE(loops.size(), 6); // 客厅 two loops either way
    for (const QJsonValue& v : loops) {
        const QJsonObject loop = v.toObject();
        QCOMPARE(loop.contains("routedLength"), withPlan);
        if (withPlan)
            QCOMPARE(loop.value("routedLength").toDouble(), loop.value("length").toDouble());
    }
    for (const QJsonValue& v : json.value("rooms").toArray()) {
        const QJsonObject room = v.toObject();
        QCOMPARE(room.contains("layout"), withPlan);
        if (!withPlan)
            continue;
        const QJsonObject layout = room.value("layout").toObject();
        QCOMPARE(layout.value("state").toString(), QStringLiteral("routed"));
        QVERIFY(layout.value("lengthsUsed").toBool());
        QVERIFY(layout.value("violations").isArray());
        const QJsonArray laid = layout.value("loops").toArray();
        QCOMPARE(laid.size(), room.value("loops").toArray().size());
        for (qsizetype n = 0; n < laid.size(); ++n)
            QCOMPARE(laid[n].toObject().value("routedLength").toDouble(),
                     room.value("loops").toArray()[n].toObject().value("length").toDouble());
    }
}

QTEST_GUILESS_MAIN(CalcLayoutTest)
#include "tst_calclayout.moc"
