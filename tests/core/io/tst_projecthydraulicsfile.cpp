// SPDX-License-Identifier: GPL-3.0-or-later
// The project file's "hydraulics" section: the flat example's section read
// as written in it, every field written and read back to the same bytes, a
// file without it unchanged, and refusals that name the place.

#include "core/io/projectdocument.h"
#include "core/io/projectfile.h"
#include "core/io/projecthydraulics.h"

#include <QFile>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTest>

using namespace zorva;
using namespace zorva::project;

namespace {

QByteArray flatBytes() {
    QFile f(QStringLiteral(ZORVA_TESTS_SOURCE_DIR "/../examples/flat.zorvaproj"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

Project flat() {
    const Result<io::ProjectDocument> d = io::readProjectDocument(flatBytes());
    return d ? d->project : Project{};
}

// A project with every field of the section away from a new project's.
Project everyField() {
    Project p = flat();
    ManifoldHydraulicsInputs& h = p.manifolds[0].hydraulics;
    h.valve.source = ValveSource::Table;
    h.valve.table = {"某阀 FH-1", false, {0.5, 1, 2.5}, {0.05, 0.31, 0.92}, 0.5};
    h.connectionDropKpa = 1.25;
    h.pipes = ConnectionPipeInput{12.5, 0.0204, 3.5};
    h.bodyKv = 4.2;
    h.barInnerDiameter = 0.032;
    h.pumpCurve = {{0, 60}, {1.5, 45}, {3, 12.5}};
    h.mixing = MixingStationInput{65, 0.4, 7.5, false};
    h.meterRange = hydraulics::MeterRange{0, 4};
    materials::BillOptions& b = p.settings.materials.bill;
    b.rollLengthsM = {120, 240};
    b.loopAllowanceM = 0.5;
    b.minOutlets = 3;
    b.maxOutlets = 10;
    b.splitOversize = false;
    b.insulationBoardM2 = 0.72;
    b.edgeStripRollM = 50;
    b.screedThicknessMm = 40;
    p.rooms[1].materials = {14.25, 55.0, false};
    return p;
}

QByteArray withSection(const char* section) {
    QByteArray text = flatBytes();
    const qsizetype at = text.indexOf("\"hydraulics\"");
    const qsizetype end = text.lastIndexOf('}');
    return text.left(at) + "\"hydraulics\": " + section + "\n" + text.mid(end);
}

// The flat example with its "rebalance" section (its last) replaced.
QByteArray withRebalance(const char* section) {
    QByteArray text = flatBytes();
    const qsizetype at = text.indexOf("\"rebalance\"");
    const qsizetype end = text.lastIndexOf('}');
    return text.left(at) + "\"rebalance\": " + section + "\n" + text.mid(end);
}

} // namespace

class ProjectHydraulicsFileTest : public QObject {
    Q_OBJECT

private slots:
    void flatSection();
    void everyFieldReadsBack();
    void newProjectWritesNoSection();
    void fileValveFromTheProjectFolder();
    void refused_data();
    void refused();
    void rebalanceReadsBack();
    void rebalanceRefused_data();
    void rebalanceRefused();
};

// The numbers typed into the flat example's section reach the model.
void ProjectHydraulicsFileTest::flatSection() {
    const Project p = flat();
    QCOMPARE(p.manifolds.size(), std::size_t(1));
    const ManifoldHydraulicsInputs& h = p.manifolds[0].hydraulics;
    QCOMPARE(h.valve.source, ValveSource::Generic);
    QCOMPARE(h.connectionDropKpa, 2.0);
    QVERIFY(h.meterRange);
    QCOMPARE(h.meterRange->max, 5.0);
    QCOMPARE(p.settings.materials.bill.loopAllowanceM, 1.0);
    QCOMPARE(p.settings.materials.bill.screedWaste, 0.03);
    QCOMPARE(*p.rooms[0].materials.perimeter, 22.8);
    QVERIFY(!p.rooms[4].materials.thermostat);
    QVERIFY(p.rooms[3].materials.thermostat);
}

// Written, read and written again: the same bytes and the same values.
void ProjectHydraulicsFileTest::everyFieldReadsBack() {
    const Project p = everyField();
    const Result<QByteArray> bytes = io::projectDocumentBytes(p);
    QVERIFY2(bytes.ok(), qPrintable(bytes.error()));
    const Result<io::ProjectDocument> again = io::readProjectDocument(*bytes);
    QVERIFY2(again.ok(), qPrintable(again.error()));
    QCOMPARE(io::projectDocumentText(again->project), *bytes);
    const ManifoldHydraulicsInputs& h = again->project.manifolds[0].hydraulics;
    QCOMPARE(h.valve.table.name, std::string("某阀 FH-1"));
    QCOMPARE(h.valve.table.kv, (std::vector<double>{0.05, 0.31, 0.92}));
    QCOMPARE(h.pipes->innerDiameter, 0.0204);
    QCOMPARE(h.pumpCurve.size(), std::size_t(3));
    QCOMPARE(h.pumpCurve[2].headKpa, 12.5);
    QCOMPARE(h.mixing->valveInPumpCircuit, false);
    QCOMPARE(h.mixing->primaryVariableDropKpa, 7.5);
    QCOMPARE(again->project.settings.materials.bill.maxOutlets, std::size_t(10));
    QCOMPARE(again->project.settings.materials.bill.splitOversize, false);
    QCOMPARE(*again->project.rooms[1].materials.screedThicknessMm, 55.0);
    QVERIFY(!again->project.rooms[1].materials.thermostat);
    QCOMPARE(*again->project.rooms[0].materials.perimeter, 22.8);
}

// A project with a new project's values is written as before the section
// existed, and such a file reads back to the same bytes.
void ProjectHydraulicsFileTest::newProjectWritesNoSection() {
    Project p = flat();
    for (Manifold& m : p.manifolds)
        m.hydraulics = {};
    for (Room& r : p.rooms)
        r.materials = {};
    p.settings.materials = {};
    const QByteArray bytes = io::projectDocumentText(p);
    QVERIFY(!bytes.contains("hydraulics"));
    const Result<io::ProjectDocument> again = io::readProjectDocument(bytes);
    QVERIFY(again.ok());
    QCOMPARE(io::projectDocumentText(again->project), bytes);
    QVERIFY(isDefault(again->project.manifolds[0].hydraulics));
}

// A valve file named by the project is read from the project's folder; a
// missing one leaves no table and says so.
void ProjectHydraulicsFileTest::fileValveFromTheProjectFolder() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile valve(dir.filePath(QStringLiteral("fh.csv")));
    QVERIFY(valve.open(QIODevice::WriteOnly));
    valve.write("name,某阀\nresolution,0.5\nsetting,kv\n1,0.1\n2,0.4\n3,0.8\n");
    valve.close();
    Project p = flat();
    p.manifolds[0].hydraulics.valve = {ValveSource::File, {}, "fh.csv"};
    QVERIFY(io::loadValveFiles(p, dir.path()).isEmpty());
    QCOMPARE(p.manifolds[0].hydraulics.valve.table.kv, (std::vector<double>{0.1, 0.4, 0.8}));
    // The table read from the file is not saved with the project.
    const QByteArray bytes = io::projectDocumentText(p);
    QVERIFY(bytes.contains("\"file\": \"fh.csv\""));
    QVERIFY(!bytes.contains("某阀"));
    p.manifolds[0].hydraulics.valve.file = "missing.csv";
    const QStringList problems = io::loadValveFiles(p, dir.path());
    QCOMPARE(problems.size(), 1);
    QVERIFY(problems[0].contains(QStringLiteral("missing.csv")));
    QVERIFY(p.manifolds[0].hydraulics.valve.table.settings.empty());
}

void ProjectHydraulicsFileTest::refused_data() {
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<QString>("message");
    QTest::newRow("not an object") << QByteArray("[]") << QStringLiteral("应是对象");
    QTest::newRow("unknown key") << QByteArray(R"({"pumps": []})") << QStringLiteral("“pumps”");
    QTest::newRow("more manifolds") << QByteArray(R"({"manifolds": [{}, {}]})")
                                    << QStringLiteral("有 2 个分集水器，项目只有 1 个");
    QTest::newRow("more rooms") << QByteArray(R"({"rooms": [{}, {}, {}, {}, {}, {}]})")
                                << QStringLiteral("有 6 个房间，项目只有 5 个");
    QTest::newRow("body kv zero") << QByteArray(R"({"manifolds": [{"bodyKv": 0}]})")
                                  << QStringLiteral("分集水器本体 kv");
    QTest::newRow("valve kv falling")
        << QByteArray(
               R"({"manifolds": [{"valve": {"source": "table", "name": "a", "resolution": 1, "points": [{"setting": 1, "kv": 0.5}, {"setting": 2, "kv": 0.4}]}}]})")
        << QStringLiteral("kv 应大于前一点");
    QTest::newRow("valve source") << QByteArray(R"({"manifolds": [{"valve": {"source": "x"}}]})")
                                  << QStringLiteral("“来源”（source）");
    QTest::newRow("file empty")
        << QByteArray(R"({"manifolds": [{"valve": {"source": "file", "file": ""}}]})")
        << QStringLiteral("为空");
    QTest::newRow("curve one point")
        << QByteArray(R"({"manifolds": [{"pumpCurve": [{"flow": 1, "head": 10}]}]})")
        << QStringLiteral("至少需要 2 个点");
    QTest::newRow("curve flow back")
        << QByteArray(
               R"({"manifolds": [{"pumpCurve": [{"flow": 1, "head": 10}, {"flow": 1, "head": 5}]}]})")
        << QStringLiteral("第 2 点的流量应大于前一点");
    QTest::newRow("meter range upside down")
        << QByteArray(R"({"manifolds": [{"meterRange": {"min": 3, "max": 2}}]})")
        << QStringLiteral("上限应大于下限");
    QTest::newRow("mixing without primary")
        << QByteArray(R"({"manifolds": [{"mixing": {"authority": 0.5}}]})")
        << QStringLiteral("一次侧供水温度");
    QTest::newRow("authority 1")
        << QByteArray(R"({"manifolds": [{"mixing": {"primarySupplyTemp": 70, "authority": 1}}]})")
        << QStringLiteral("目标阀权度");
    QTest::newRow("no rolls") << QByteArray(R"({"materials": {"rollLengths": []}})")
                              << QStringLiteral("应有 1 至 32 个数");
    QTest::newRow("negative roll")
        << QByteArray(R"({"materials": {"rollLengths": [100, -5]}})") << QStringLiteral("正数");
    QTest::newRow("outlets crossed")
        << QByteArray(R"({"materials": {"minOutlets": 9, "maxOutlets": 4}})")
        << QStringLiteral("最大路数应不小于最小路数");
    QTest::newRow("outlets not whole") << QByteArray(R"({"materials": {"maxOutlets": 4.5}})")
                                       << QStringLiteral("最大分集水器路数");
    QTest::newRow("thermostat text")
        << QByteArray(R"({"rooms": [{"thermostat": "yes"}]})") << QStringLiteral("房间温控器");
    QTest::newRow("room unknown key")
        << QByteArray(R"({"rooms": [{"walls": 4}]})") << QStringLiteral("第 1 个房间");
}

void ProjectHydraulicsFileTest::refused() {
    QFETCH(QByteArray, section);
    QFETCH(QString, message);
    const QByteArray bytes = withSection(section.constData());
    QVERIFY(QJsonDocument::fromJson(bytes).isObject());
    const Result<io::ProjectDocument> read = io::readProjectDocument(bytes);
    QVERIFY(!read.ok());
    QVERIFY2(read.error().contains(message), qPrintable(read.error()));
}

// Measurements with every optional field and without, written, read and
// written again to the same bytes; a project without any writes no section
// and its bytes stay as they were.
void ProjectHydraulicsFileTest::rebalanceReadsBack() {
    Project p = flat();
    // The flat's own measurements read as written in it.
    QCOMPARE(p.manifolds[0].rebalance.loops.size(), std::size_t(2));
    QCOMPARE(*p.manifolds[0].rebalance.loops[0].flowLpm, 1.95);
    QCOMPARE(*p.manifolds[0].rebalance.loops[1].roomTemp, 24.5);
    p.manifolds[0].rebalance = {};
    const QByteArray before = io::projectDocumentText(p);
    QVERIFY(!before.contains("rebalance"));
    RebalanceInputs& in = p.manifolds[0].rebalance;
    in.tolerance = 0.08;
    in.loops.push_back({"客厅-1", 44.5, 37.25, 3.1, 20.5, 4.25, 4.75});
    in.loops.push_back({"卫生间-1", 45, 35.5});
    const Result<QByteArray> bytes = io::projectDocumentBytes(p);
    QVERIFY2(bytes.ok(), qPrintable(bytes.error()));
    QVERIFY(bytes->contains("\"settingAfter\": 4.75"));
    const Result<io::ProjectDocument> again = io::readProjectDocument(*bytes);
    QVERIFY2(again.ok(), qPrintable(again.error()));
    QCOMPARE(io::projectDocumentText(again->project), *bytes);
    const RebalanceInputs& back = again->project.manifolds[0].rebalance;
    QCOMPARE(back.tolerance, 0.08);
    QCOMPARE(back.loops.size(), std::size_t(2));
    QCOMPARE(back.loops[0].loop, std::string("客厅-1"));
    QCOMPARE(*back.loops[0].flowLpm, 3.1);
    QCOMPARE(*back.loops[0].settingBefore, 4.25);
    QCOMPARE(back.loops[1].returnTemp, 35.5);
    QVERIFY(!back.loops[1].flowLpm && !back.loops[1].roomTemp && !back.loops[1].settingAfter);
    // Nothing measured any more: the file is as it was before.
    Project cleared = again->project;
    cleared.manifolds[0].rebalance = {};
    QCOMPARE(io::projectDocumentText(cleared), before);
}

void ProjectHydraulicsFileTest::rebalanceRefused_data() {
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<QString>("message");
    QTest::newRow("not an object") << QByteArray("[]") << QStringLiteral("调试后平衡");
    QTest::newRow("more manifolds than the project")
        << QByteArray(R"({"manifolds": [{}, {}]})") << QStringLiteral("项目只有 1 个");
    QTest::newRow("no return")
        << QByteArray(R"({"manifolds": [{"loops": [{"loop": "a", "supplyTemp": 40}]}]})")
        << QStringLiteral("实测回水温度");
    QTest::newRow("no name")
        << QByteArray(R"({"manifolds": [{"loops": [{"supplyTemp": 40, "returnTemp": 35}]}]})")
        << QStringLiteral("环路名称");
    QTest::newRow("supply above 100 ℃")
        << QByteArray(
               R"({"manifolds": [{"loops": [{"loop": "a", "supplyTemp": 140, "returnTemp": 35}]}]})")
        << QStringLiteral("实测供水温度");
    QTest::newRow("flow zero") << QByteArray(
                                      R"({"manifolds": [{"loops": [{"loop": "a", )"
                                      R"("supplyTemp": 40, "returnTemp": 35, "flow": 0}]}]})")
                               << QStringLiteral("实测流量");
    QTest::newRow("same loop twice")
        << QByteArray(R"({"manifolds": [{"loops": [{"loop": "a", "supplyTemp": 40, )"
                      R"("returnTemp": 35}, {"loop": "a", "supplyTemp": 41, "returnTemp": 35}]}]})")
        << QStringLiteral("已有测量值");
    QTest::newRow("tolerance above 1")
        << QByteArray(R"({"manifolds": [{"tolerance": 1.5}]})") << QStringLiteral("允许偏差");
    QTest::newRow("unknown key") << QByteArray(R"({"manifolds": [{"loops": [], "valves": 1}]})")
                                 << QStringLiteral("不认识的键");
}

void ProjectHydraulicsFileTest::rebalanceRefused() {
    QFETCH(QByteArray, section);
    QFETCH(QString, message);
    const QByteArray bytes = withRebalance(section.constData());
    QVERIFY(QJsonDocument::fromJson(bytes).isObject());
    const Result<io::ProjectDocument> read = io::readProjectDocument(bytes);
    QVERIFY(!read.ok());
    QVERIFY2(read.error().contains(message), qPrintable(read.error()));
}

QTEST_GUILESS_MAIN(ProjectHydraulicsFileTest)
#include "tst_projecthydraulicsfile.moc"
