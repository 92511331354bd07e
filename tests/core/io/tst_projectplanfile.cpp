// SPDX-License-Identifier: GPL-3.0-or-later
// The floor plan's section of the project file: read into the rooms and
// manifolds, written back byte for byte with the keys this version does not
// know, absent from a project without a plan, and refused naming the place
// when it would not read.

#include "core/io/projectfile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

#include <cmath>
#include <limits>

using namespace zorva;
using namespace zorva::io;

namespace {

// Two rooms on one manifold; `plan` is the text of the section, if any.
QByteArray file(const QByteArray& plan) {
    QByteArray text =
        "{\"format\":\"zorva-manifold\",\"version\":2,\"settings\":{\"method\":\"en1264\"},"
        "\"manifolds\":[{\"name\":\"户内\",\"supplyTemp\":45,\"tempDiff\":10,"
        "\"surfaceThickness\":10,\"levelThickness\":20,\"fillThickness\":45,"
        "\"pipeWallThickness\":2,\"surfaceConductivity\":0.1,\"levelConductivity\":1.2,"
        "\"fillConductivity\":1.2,\"pipeConductivity\":0.35,\"pipeDiameter\":20,"
        "\"elbows\":2,\"allowance\":10,\"loops\":[]}],"
        "\"rooms\":[{\"name\":\"客厅\",\"indoorTemp\":20,\"floorArea\":20,\"heatedArea\":17,"
        "\"load\":1500},{\"name\":\"厨房\",\"indoorTemp\":16,\"floorArea\":7.2,"
        "\"heatedArea\":4.8,\"load\":400}]";
    if (!plan.isEmpty())
        text += ",\"plan\":" + plan;
    return text + "}";
}

const QByteArray kFullPlan =
    "{\"background\":{\"dxf\":\"底图.dxf\",\"image\":\"scan.png\",\"imageScale\":0.0125,"
    "\"imageOrigin\":[-1.5,2.25],\"layerHidden\":true},"
    "\"manifolds\":[{\"manifold\":0,\"position\":[5,6.3],\"box\":\"HL-8\"}],"
    "\"rooms\":[{\"room\":1,\"outline\":[[2.4,6.75],[5.4,6.75],[5.4,9.15],[2.4,9.15]],"
    "\"doors\":[{\"position\":[3.9,6.75],\"width\":0.8}],"
    "\"noPipeAreas\":[{\"outline\":[[2.4,8.35],[5.4,8.35],[5.4,9.15],[2.4,9.15]],"
    "\"label\":\"橱柜\"}],\"pattern\":\"serpentine\",\"wallClearance\":0.15,"
    "\"leaderPath\":[[3.9,6.5],[5,6.5]],\"colour\":\"#ff0000\"}],"
    "\"grid\":0.3}";

} // namespace

class ProjectPlanFileTest : public QObject {
    Q_OBJECT

private slots:
    void readsEveryField();
    void roundTripsByteForByte();
    void withoutSectionWritesNone();
    void dividersRoundTrip_data();
    void dividersRoundTrip();
    void refused_data();
    void refused();
    void writerRefuses_data();
    void writerRefuses();
};

void ProjectPlanFileTest::readsEveryField() {
    const Result<ProjectDocument> read = readProjectDocument(file(kFullPlan));
    QVERIFY2(read.ok(), qPrintable(read.error()));
    const project::Project& p = read->project;
    QCOMPARE(p.settings.planBackground.dxfFile, std::string("底图.dxf"));
    QCOMPARE(p.settings.planBackground.imageFile, std::string("scan.png"));
    QCOMPARE(p.settings.planBackground.imageScale, 0.0125);
    QCOMPARE(p.settings.planBackground.imageOrigin, (project::PlanPoint{-1.5, 2.25}));
    QCOMPARE(p.manifolds[0].plan.position, std::optional(project::PlanPoint{5, 6.3}));
    QVERIFY(!p.rooms[0].plan.hasOutline());
    const project::RoomPlan& kitchen = p.rooms[1].plan;
    QCOMPARE(kitchen.outline.size(), std::size_t(4));
    QCOMPARE(kitchen.outline[2], (project::PlanPoint{5.4, 9.15}));
    QCOMPARE(kitchen.doors.size(), std::size_t(1));
    QCOMPARE(kitchen.doors[0].width, 0.8);
    QCOMPARE(kitchen.noPipeAreas.at(0).label, std::string("橱柜"));
    QCOMPARE(kitchen.pattern, layout::Pattern::Serpentine);
    QCOMPARE(kitchen.wallClearance, 0.15);
    QCOMPARE(kitchen.leaderPath.size(), std::size_t(2));
}

// Written, the section is the one read, unknown keys and all; written
// again from what it reads, the bytes are the same.
void ProjectPlanFileTest::roundTripsByteForByte() {
    const Result<ProjectDocument> read = readProjectDocument(file(kFullPlan));
    QVERIFY2(read.ok(), qPrintable(read.error()));
    const Result<QByteArray> bytes = projectDocumentBytes(read->project);
    QVERIFY2(bytes.ok(), qPrintable(bytes.error()));
    const QJsonObject written = QJsonDocument::fromJson(*bytes).object();
    QCOMPARE(written.value(QStringLiteral("plan")).toObject(),
             QJsonDocument::fromJson(kFullPlan).object());
    const Result<ProjectDocument> again = readProjectDocument(*bytes);
    QVERIFY2(again.ok(), qPrintable(again.error()));
    QCOMPARE(projectDocumentText(again->project), *bytes);
}

void ProjectPlanFileTest::withoutSectionWritesNone() {
    const Result<ProjectDocument> read = readProjectDocument(file({}));
    QVERIFY2(read.ok(), qPrintable(read.error()));
    for (const project::Room& r : read->project.rooms)
        QVERIFY(r.plan.empty());
    QVERIFY(read->project.settings.planBackground.empty());
    const QByteArray bytes = projectDocumentText(read->project);
    QVERIFY(!bytes.contains("\"plan\""));
    // An empty section is no section.
    const Result<ProjectDocument> empty = readProjectDocument(file("{}"));
    QVERIFY2(empty.ok(), qPrintable(empty.error()));
    QCOMPARE(projectDocumentText(empty->project), bytes);
}

// The dividers the user placed, read and written back byte for byte; an
// entry without them reads as before and writes no key.
void ProjectPlanFileTest::dividersRoundTrip_data() {
    QTest::addColumn<QByteArray>("dividers");
    QTest::addColumn<int>("count");
    QTest::addColumn<project::PlanDivider>("first");
    QTest::newRow("none") << QByteArray() << 0 << project::PlanDivider{};
    QTest::newRow("one") << QByteArray("[[[3.9,6.5],[3.9,9.5]]]") << 1
                         << project::PlanDivider{{3.9, 6.5}, {3.9, 9.5}};
    QTest::newRow("two, slanted") << QByteArray("[[[2.4,7.05],[5.4,8.125]],[[4.5,6],[4.5,10]]]")
                                  << 2 << project::PlanDivider{{2.4, 7.05}, {5.4, 8.125}};
}

void ProjectPlanFileTest::dividersRoundTrip() {
    QFETCH(QByteArray, dividers);
    QFETCH(int, count);
    QFETCH(project::PlanDivider, first);
    QByteArray plan = kFullPlan;
    if (!dividers.isEmpty())
        plan.replace("\"colour\"", "\"dividers\":" + dividers + ",\"colour\"");
    const Result<ProjectDocument> read = readProjectDocument(file(plan));
    QVERIFY2(read.ok(), qPrintable(read.error()));
    const std::vector<project::PlanDivider>& lines = read->project.rooms[1].plan.dividers;
    QCOMPARE(int(lines.size()), count);
    if (count > 0)
        QCOMPARE(lines[0], first);
    const QByteArray bytes = projectDocumentText(read->project);
    QCOMPARE(QJsonDocument::fromJson(bytes).object().value(QStringLiteral("plan")).toObject(),
             QJsonDocument::fromJson(plan).object());
    QCOMPARE(bytes.contains("\"dividers\""), count > 0);
    const Result<ProjectDocument> again = readProjectDocument(bytes);
    QVERIFY2(again.ok(), qPrintable(again.error()));
    QCOMPARE(projectDocumentText(again->project), bytes);
}

void ProjectPlanFileTest::refused_data() {
    QTest::addColumn<QByteArray>("plan");
    QTest::addColumn<QString>("message");
    QTest::newRow("not an object") << QByteArray("[]") << QStringLiteral("平面图");
    QTest::newRow("room out of range")
        << QByteArray("{\"rooms\":[{\"room\":2}]}") << QStringLiteral("第 1 个房间轮廓");
    QTest::newRow("room twice") << QByteArray("{\"rooms\":[{\"room\":1},{\"room\":1}]}")
                                << QStringLiteral("出现了两次");
    QTest::newRow("room not whole")
        << QByteArray("{\"rooms\":[{\"room\":0.5}]}") << QStringLiteral("room");
    QTest::newRow("two points") << QByteArray(
                                       "{\"rooms\":[{\"room\":0,\"outline\":[[0,0],[1,0]]}]}")
                                << QStringLiteral("至少要有三个点");
    QTest::newRow("point of three numbers")
        << QByteArray("{\"rooms\":[{\"room\":0,\"outline\":[[0,0,0],[1,0],[1,1]]}]}")
        << QStringLiteral("第 1 个点应是两个数字");
    QTest::newRow("point far away")
        << QByteArray("{\"rooms\":[{\"room\":0,\"outline\":[[0,0],[2e6,0],[1,1]]}]}")
        << QStringLiteral("第 2 个点的坐标超出范围");
    QTest::newRow("unknown pattern")
        << QByteArray("{\"rooms\":[{\"room\":0,\"pattern\":\"zigzag\"}]}")
        << QStringLiteral("zigzag");
    QTest::newRow("door without width")
        << QByteArray("{\"rooms\":[{\"room\":0,\"doors\":[{\"position\":[0,0],\"width\":0}]}]}")
        << QStringLiteral("门宽");
    QTest::newRow("clearance negative")
        << QByteArray("{\"rooms\":[{\"room\":0,\"wallClearance\":-0.1}]}")
        << QStringLiteral("离墙距离");
    QTest::newRow("no-pipe area without outline")
        << QByteArray("{\"rooms\":[{\"room\":0,\"noPipeAreas\":[{\"label\":\"柜\"}]}]}")
        << QStringLiteral("缺少“轮廓”");
    QTest::newRow("manifold out of range")
        << QByteArray("{\"manifolds\":[{\"manifold\":1,\"position\":[0,0]}]}")
        << QStringLiteral("分集水器位置");
    QTest::newRow("divider of one point")
        << QByteArray("{\"rooms\":[{\"room\":0,\"dividers\":[[[1,0]]]}]}")
        << QStringLiteral("第 1 条分区线应是两个点");
    QTest::newRow("divider through one point twice")
        << QByteArray("{\"rooms\":[{\"room\":0,\"dividers\":[[[1,0],[2,0]],[[1,1],[1,1]]]}]}")
        << QStringLiteral("第 2 条分区线的两个点重合");
    QTest::newRow("dividers not a list")
        << QByteArray("{\"rooms\":[{\"room\":0,\"dividers\":3}]}") << QStringLiteral("分区线");
    QTest::newRow("scale negative")
        << QByteArray("{\"background\":{\"imageScale\":-1}}") << QStringLiteral("底图比例");
}

void ProjectPlanFileTest::refused() {
    QFETCH(QByteArray, plan);
    QFETCH(QString, message);
    const Result<ProjectDocument> read = readProjectDocument(file(plan));
    QVERIFY(!read.ok());
    QVERIFY2(read.error().contains(message), qPrintable(read.error()));
}

void ProjectPlanFileTest::writerRefuses_data() {
    QTest::addColumn<int>("fault");
    QTest::newRow("two-point outline") << 0;
    QTest::newRow("coordinate not finite") << 1;
    QTest::newRow("door of no width") << 2;
    QTest::newRow("manifold far away") << 3;
    QTest::newRow("divider of one point") << 4;
}

// What the reader would refuse is not saved, so that the file opens again.
void ProjectPlanFileTest::writerRefuses() {
    QFETCH(int, fault);
    const Result<ProjectDocument> read = readProjectDocument(file(kFullPlan));
    QVERIFY(read.ok());
    project::Project p = read->project;
    project::RoomPlan& plan = p.rooms[1].plan;
    if (fault == 0)
        plan.outline.resize(2);
    else if (fault == 1)
        plan.outline[1].x = std::numeric_limits<double>::quiet_NaN();
    else if (fault == 2)
        plan.doors[0].width = 0;
    else if (fault == 3)
        p.manifolds[0].plan.position = project::PlanPoint{0, 1e7};
    else
        plan.dividers = {{{1, 1}, {1, 1}}};
    const Result<QByteArray> bytes = projectDocumentBytes(p);
    QVERIFY(!bytes.ok());
    QVERIFY2(bytes.error().contains(QStringLiteral("平面图")), qPrintable(bytes.error()));
}

QTEST_GUILESS_MAIN(ProjectPlanFileTest)
#include "tst_projectplanfile.moc"
