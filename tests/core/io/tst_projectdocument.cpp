// SPDX-License-Identifier: GPL-3.0-or-later
// The project file of version 2: a whole project saved opens as the same
// project to the last bit, a version-1 file opens as one manifold by the
// program's method and saves as version 2 with the same numbers, keys this
// version does not know survive at every level, bad files are refused
// naming the room, manifold, element and key, and the writer refuses what
// the reader would refuse.

#include "core/io/projectfile.h"
#include "core/project/compute.h"

#include <QJsonDocument>
#include <QTest>

#include <cmath>
#include <limits>

using namespace zorva;
using namespace zorva::io;

namespace {

QByteArray version1() {
    return "{\"format\":\"zorva-manifold\",\"version\":1,"
           "\"manifold\":{\"supplyTemp\":45,\"tempDiff\":8,\"surfaceThickness\":20,"
           "\"levelThickness\":20,\"fillThickness\":50,\"pipeWallThickness\":2,"
           "\"surfaceConductivity\":2.91,\"levelConductivity\":1.84,\"fillConductivity\":1.28,"
           "\"pipeConductivity\":0.41,\"pipeDiameter\":20,\"elbows\":2,\"allowance\":5},"
           "\"loops\":[{\"name\":\"客厅\",\"roomTemp\":18,\"spacing\":200,\"length\":95,"
           "\"load\":1450},{\"name\":\"卫生间\",\"roomTemp\":24,\"spacing\":100,\"length\":38,"
           "\"load\":420,\"tempDiff\":5}]}";
}

// A small version-2 project: one manifold "户内", one manual loop "走廊", one
// room "客厅" with an envelope of a wall and a window.
QByteArray version2(const QByteArray& roomExtra = {}, const QByteArray& elementExtra = {},
                    const QByteArray& settings = "\"method\":\"en1264\"") {
    return "{\"format\":\"zorva-manifold\",\"version\":2,\"settings\":{" + settings +
           "},\"manifolds\":[{\"name\":\"户内\",\"supplyTemp\":45,\"tempDiff\":10,"
           "\"surfaceThickness\":10,\"levelThickness\":20,\"fillThickness\":45,"
           "\"pipeWallThickness\":2,\"surfaceConductivity\":0.1,\"levelConductivity\":1.2,"
           "\"fillConductivity\":1.2,\"pipeConductivity\":0.35,\"pipeDiameter\":20,"
           "\"elbows\":2,\"allowance\":10,\"loops\":[{\"name\":\"走廊\",\"roomTemp\":18,"
           "\"spacing\":300,\"length\":40,\"load\":300}]}],"
           "\"rooms\":[{\"name\":\"客厅\",\"indoorTemp\":20,\"floorArea\":20,\"heatedArea\":17" +
           roomExtra +
           ",\"envelope\":{\"height\":2.8,\"elements\":[{\"name\":\"南外墙\",\"kind\":"
           "\"outerWall\","
           "\"area\":9,\"u\":1,\"orientation\":\"S\"},{\"name\":\"南外窗\",\"kind\":\"window\","
           "\"area\":3,\"u\":2.8,\"orientation\":\"S\"" +
           elementExtra + "}]}}]}";
}

// Every field set away from its default, with doubles that need all 17
// digits.
project::Project everyField() {
    project::Project p = project::newProject();
    project::Settings& s = p.settings;
    s.method = method::Method::Program;
    s.heatLoad.method = project::LoadMethod::En12831;
    s.heatLoad.climate = {"54511", "北京", -9.123456789012345, 55.5};
    s.heatLoad.gb.windRate = 0.05;
    s.heatLoad.gb.storeys = 7;
    s.heatLoad.gb.intermittentRate = 0.2;
    s.heatLoad.gb.allowance = heatload::FloorAllowance::ShareOfLoad;
    s.heatLoad.gb.allowanceShare = 0.9;
    s.heatLoad.gb.interDwelling = true;
    s.heatLoad.gb.interDwellingDelta = 5.5;
    s.heatLoad.gb.interDwellingCap = 0.4;
    s.heatLoad.en.thermalBridgeAddition = 0.05;
    s.conditions.spacings = {0.125, 0.175};
    s.conditions.maxLoopLength = 100;
    s.conditions.maxPressureDrop = 25;
    s.standard.mode = en1264::DesignMode::FixedPair;
    s.standard.designDrop = 4;
    s.standard.minimumDrop = 1.5;
    s.standard.friction = hydraulics::FrictionLaw::Colebrook;
    s.standard.roughness = 1e-5;
    s.standard.connectionLoss = 2;
    s.standard.bendLoss = 0.3;
    project::Manifold& m = p.manifolds[0];
    m.name = "一层";
    m.input.supplyTemp = 41.3;
    m.input.allowance = 2.75;
    m.manualBelow = {en1264::BelowKind::Ground, 1.25, 0.1, 0, 10.5};
    m.loops.push_back({{"储藏", 16, 250, 33.333333333333336, std::nullopt, 4.5}, {}});
    p.manifolds.push_back(project::Manifold{});
    p.manifolds[1].name = "二层";
    project::Room r;
    r.name = "书房 \"北\"";
    r.category = RoomCategory::ShortStay;
    r.indoorTemp = 19.1;
    r.floorArea = 12.345678901234567;
    r.heatedArea = 10.1;
    r.coveringResistance = 0.15;
    r.below = {en1264::BelowKind::OutdoorAir, 2, 0.2, 0.02, -7.6};
    r.leaderLength = 7.25;
    r.peripheral = rooms::PeripheralZone{0.5, 3.5, 0.1};
    r.typedLoad = 812.5;
    r.overrides.spacing = 0.125;
    r.overrides.loopCount = 2;
    r.overrides.loopLengths = {std::nullopt, 66.6};
    r.manifold = 1;
    heatload::RoomEnvelope e;
    e.height = 3.1;
    e.volume = 30.5;
    e.system = heatload::HeatingSystem::Radiators;
    e.stairwell = true;
    e.airChanges = 1;
    e.airFlow = 40;
    e.heatedShare = 0.6;
    e.heatingUpFlux = 6;
    heatload::EnvelopeElement door{.name = "外门", .kind = heatload::ElementKind::Door};
    door.boundary = heatload::Boundary::KnownTemperature;
    door.area = 2.1;
    door.u = 2.5;
    door.orientation = heatload::Orientation::NW;
    door.alpha = 0.7;
    door.fx = 0.4;
    door.adjacentTemp = 5;
    door.orientationRate = 0.05;
    door.otherRate = 0.1;
    door.entrance = heatload::DoorEntrance::TwoDoors;
    door.otherDwelling = true;
    e.elements = {door};
    r.envelope = e;
    p.rooms.push_back(r);
    return p;
}

} // namespace

class ProjectDocumentTest : public QObject {
    Q_OBJECT

private slots:
    void everyFieldRoundTrips();
    void versionOneOpensAsProgramProject();
    void methodWhenAbsent_data();
    void methodWhenAbsent();
    void unknownKeysKeptAtEveryLevel();
    void badFilesNameThePlace_data();
    void badFilesNameThePlace();
    void writerRefusesWhatWouldNotReadBack_data();
    void writerRefusesWhatWouldNotReadBack();
    void overridesKeptAndMarkedAcrossSaveAndOpen();
    void sheetRefusesRooms();
};

void ProjectDocumentTest::everyFieldRoundTrips() {
    const project::Project p = everyField();
    const Result<QByteArray> bytes = projectDocumentBytes(p);
    QVERIFY2(bytes.ok(), qPrintable(bytes.error()));
    QVERIFY(bytes->endsWith('\n'));
    const Result<ProjectDocument> read = readProjectDocument(*bytes);
    QVERIFY2(read.ok(), qPrintable(read.error()));
    QCOMPARE(projectDocumentText(read->project), *bytes);
    const project::Project& q = read->project;
    QCOMPARE(q.settings.heatLoad.climate.outdoorTemp, p.settings.heatLoad.climate.outdoorTemp);
    QCOMPARE(q.settings.standard.friction, hydraulics::FrictionLaw::Colebrook);
    QCOMPARE(q.settings.conditions.spacings, p.settings.conditions.spacings);
    QCOMPARE(q.manifolds.size(), std::size_t(2));
    QCOMPARE(q.manifolds[0].manualBelow.temp, std::optional<double>(10.5));
    QCOMPARE(q.manifolds[0].loops[0].input.lengthM, 33.333333333333336);
    QCOMPARE(q.manifolds[0].loops[0].input.ownTempDiff, std::optional<double>(4.5));
    const project::Room& r = q.rooms[0];
    QCOMPARE(r.name, p.rooms[0].name);
    QCOMPARE(r.floorArea, 12.345678901234567);
    QCOMPARE(r.manifold, std::size_t(1));
    QCOMPARE(r.below.kind, en1264::BelowKind::OutdoorAir);
    QCOMPARE(r.peripheral->length, 3.5);
    QCOMPARE(r.overrides.loopLengths, p.rooms[0].overrides.loopLengths);
    QCOMPARE(r.overrides.loopCount, std::optional<int>(2));
    const heatload::EnvelopeElement& door = r.envelope->elements[0];
    QCOMPARE(door.entrance, heatload::DoorEntrance::TwoDoors);
    QCOMPARE(door.fx, std::optional<double>(0.4));
    QVERIFY(door.otherDwelling && !door.heatedFloor);
    QCOMPARE(r.envelope->airFlow, std::optional<double>(40));
}

// A version-1 file is the sheet of today: one manifold of manual loops by
// the program's method, with the same numbers after a save as version 2.
void ProjectDocumentTest::versionOneOpensAsProgramProject() {
    const Result<ProjectDocument> v1 = readProjectDocument(version1());
    QVERIFY2(v1.ok(), qPrintable(v1.error()));
    QCOMPARE(v1->version, 1);
    QCOMPARE(v1->project.settings.method, method::Method::Program);
    QCOMPARE(v1->project.manifolds.size(), std::size_t(1));
    QVERIFY(v1->project.rooms.empty());
    const Result<QByteArray> saved = projectDocumentBytes(v1->project);
    QVERIFY(saved.ok());
    const Result<ProjectDocument> v2 = readProjectDocument(*saved);
    QVERIFY2(v2.ok(), qPrintable(v2.error()));
    QCOMPARE(v2->version, 2);
    QCOMPARE(v2->project.settings.method, method::Method::Program);
    const project::ProjectResult a = project::computeProject(v1->project);
    const project::ProjectResult b = project::computeProject(v2->project);
    QCOMPARE(a.manifolds[0].loops.size(), std::size_t(2));
    for (std::size_t i = 0; i < 2; ++i) {
        QCOMPARE(b.manifolds[0].loops[i].figures.heatOutput,
                 a.manifolds[0].loops[i].figures.heatOutput);
        QCOMPARE(b.manifolds[0].loops[i].input.ownTempDiff,
                 a.manifolds[0].loops[i].input.ownTempDiff);
    }
    QCOMPARE(b.manifolds[0].totals.pumpHeadKpa, a.manifolds[0].totals.pumpHeadKpa);
}

void ProjectDocumentTest::methodWhenAbsent_data() {
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<method::Method>("method");
    QTest::newRow("no method: the program's") << QByteArray() << method::Method::Program;
    QTest::newRow("en1264") << QByteArray("\"method\":\"en1264\"") << method::Method::En1264;
    QTest::newRow("program") << QByteArray("\"method\":\"program\"") << method::Method::Program;
    QTest::newRow("null: the program's")
        << QByteArray("\"method\":null") << method::Method::Program;
}

void ProjectDocumentTest::methodWhenAbsent() {
    QFETCH(QByteArray, settings);
    QFETCH(method::Method, method);
    const Result<ProjectDocument> r = readProjectDocument(version2({}, {}, settings));
    QVERIFY2(r.ok(), qPrintable(r.error()));
    QCOMPARE(r->project.settings.method, method);
    // A new project designs by the standard and says so in its file.
    QCOMPARE(
        QJsonDocument::fromJson(projectDocumentText(project::newProject()))["settings"]["method"]
            .toString(),
        QStringLiteral("en1264"));
}

void ProjectDocumentTest::unknownKeysKeptAtEveryLevel() {
    QByteArray bytes = version2(",\"colour\":\"red\",\"overrides\":{\"spacing\":0.2,\"note\":1}",
                                ",\"maker\":\"X\"",
                                "\"method\":\"en1264\",\"cooling\":{\"on\":true},"
                                "\"heatLoad\":{\"climate\":{\"station\":\"54511\",\"x\":2}}");
    bytes.replace("\"version\":2,", "\"version\":2,\"author\":\"李\",");
    bytes.replace("\"allowance\":10,", "\"allowance\":10,\"plant\":{\"pump\":\"P1\"},");
    bytes.replace("\"load\":300}", "\"load\":300,\"tag\":[1,2]}");
    const Result<ProjectDocument> r = readProjectDocument(bytes);
    QVERIFY2(r.ok(), qPrintable(r.error()));
    QCOMPARE(*r->project.rooms[0].overrides.spacing, 0.2);
    const QJsonDocument saved = QJsonDocument::fromJson(projectDocumentText(r->project));
    QCOMPARE(saved["author"].toString(), QStringLiteral("李"));
    QCOMPARE(saved["settings"]["cooling"]["on"].toBool(), true);
    QCOMPARE(saved["settings"]["heatLoad"]["climate"]["x"].toInt(), 2);
    QCOMPARE(saved["settings"]["heatLoad"]["climate"]["station"].toString(),
             QStringLiteral("54511"));
    QCOMPARE(saved["manifolds"][0]["plant"]["pump"].toString(), QStringLiteral("P1"));
    QCOMPARE(saved["manifolds"][0]["loops"][0]["tag"][1].toInt(), 2);
    QCOMPARE(saved["rooms"][0]["colour"].toString(), QStringLiteral("red"));
    QCOMPARE(saved["rooms"][0]["overrides"]["note"].toInt(), 1);
    QCOMPARE(saved["rooms"][0]["envelope"]["elements"][1]["maker"].toString(), QStringLiteral("X"));
    QVERIFY(!saved["rooms"][0]["envelope"]["elements"][0].toObject().contains("maker"));
}

void ProjectDocumentTest::badFilesNameThePlace_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    const QByteArray good = version2();
    QTest::newRow("room area as text")
        << QByteArray(good).replace("\"heatedArea\":17", "\"heatedArea\":\"17\"")
        << "第 1 个房间（客厅）的“敷设面积”（heatedArea）应是数字，而不是文字";
    QTest::newRow("room without a name")
        << QByteArray(good).replace("\"name\":\"客厅\",", "") << "第 1 个房间缺少“名称”（name）";
    QTest::newRow("element out of range")
        << QByteArray(good).replace("\"area\":3,\"u\":2.8", "\"area\":3,\"u\":0")
        << "第 1 个房间（客厅）的围护结构第 2 项（南外窗）的“传热系数”的值 0 超出范围 0.001 ~ "
           "100 W/(m²·K)";
    QTest::newRow("element kind missing")
        << QByteArray(good).replace("\"kind\":\"window\",", "")
        << "第 1 个房间（客厅）的围护结构第 2 项（南外窗）缺少“类型”（kind）";
    QTest::newRow("no such manifold")
        << version2(",\"manifold\":1")
        << "第 1 个房间（客厅）的“分集水器序号”（manifold）1 不对应任何分集水器（项目有 1 个，"
           "序号从 0 开始）";
    QTest::newRow("manifold number missing")
        << QByteArray(good).replace("\"supplyTemp\":45,", "")
        << "第 1 个分集水器（户内）缺少“供水温度”（supplyTemp）";
    QTest::newRow("manual loop load as text")
        << QByteArray(good).replace("\"load\":300", "\"load\":\"300\"")
        << "第 1 个分集水器（户内）的第 1 个环路（走廊）的“热负荷”（load）应是数字，而不是文字";
    QTest::newRow("unknown method")
        << version2({}, {}, "\"method\":\"abc\"")
        << "项目设置的“计算方法”（method）应是 \"program\"、\"en1264\" 之一，而不是“abc”";
    QTest::newRow("fractional loop count")
        << version2(",\"overrides\":{\"loopCount\":2.5}")
        << "第 1 个房间（客厅）的指定值（overrides）的“指定环路数”（loopCount）应是整数，而不是 "
           "2.5";
    QTest::newRow("override length below range")
        << version2(",\"overrides\":{\"loopLengths\":[null,0.05]}")
        << "第 1 个房间（客厅）的指定值（overrides）第 2 个环路的“指定环路长度”的值 0.05 超出范围 "
           "0.1 ~ 1000 m";
    QTest::newRow("unknown category")
        << version2(",\"category\":\"garage\"")
        << "第 1 个房间（客厅）的“房间类别”（category）应是 \"longStay\"、\"shortStay\"、"
           "\"unoccupied\"、\"residential\"、\"bathroom\"、\"peripheral\" 之一，而不是“garage”";
    QTest::newRow("empty spacings")
        << version2({}, {}, "\"conditions\":{\"spacings\":[]}")
        << "项目设置的房间设计条件（conditions）的“可选管间距”（spacings）应有 1 ~ 50 个间距";
    QTest::newRow("manifolds not an array")
        << QByteArray(good)
               .replace("\"manifolds\":[", "\"manifolds\":{\"a\":[")
               .replace("}]}],\"rooms\"", "}]}]},\"rooms\"")
        << "项目文件的“分集水器”（manifolds）应是数组，而不是对象";
    QTest::newRow("station too long")
        << version2({}, {}, "\"heatLoad\":{\"climate\":{\"station\":\"123456789012345678901\"}}")
        << "项目设置的地点（climate）的“气象台站”超过 20 个字符";
    QTest::newRow("storeys fractional")
        << version2({}, {}, "\"heatLoad\":{\"gb50736\":{\"storeys\":1.5}}")
        << "项目设置的 GB 50736 选项（gb50736）的“建筑层数”（storeys）应是整数，而不是 1.5";
}

void ProjectDocumentTest::badFilesNameThePlace() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    const Result<ProjectDocument> r = readProjectDocument(bytes);
    QVERIFY(!r.ok());
    QCOMPARE(r.error(), message);
}

void ProjectDocumentTest::writerRefusesWhatWouldNotReadBack_data() {
    QTest::addColumn<int>("variant");
    QTest::addColumn<QString>("message");
    QTest::newRow("heated area 0")
        << 0
        << "第 1 个房间（书房 \"北\"）的“敷设面积”的值 0 超出范围 0.01 ~ "
           "100000 m²，不能保存";
    QTest::newRow("U not a number") << 1
                                    << "第 1 个房间（书房 \"北\"）的围护结构第 1 "
                                       "项（外门）的“传热系数”的值 （不是数） 超出范围 "
                                       "0.001 ~ 100 W/(m²·K)，不能保存";
    QTest::newRow("no spacing") << 2 << "项目设置的可选管间距应有 1 ~ 50 个，不能保存";
    QTest::newRow("manifold index past the end")
        << 3 << "第 1 个房间（书房 \"北\"）没有对应的分集水器，不能保存";
    QTest::newRow("manifold supply") << 4
                                     << "第 2 个分集水器（二层）的“供水温度”的值 120 超出范围 1 ~ "
                                        "100 ℃，不能保存";
}

void ProjectDocumentTest::writerRefusesWhatWouldNotReadBack() {
    QFETCH(int, variant);
    QFETCH(QString, message);
    project::Project p = everyField();
    switch (variant) {
    case 0:
        p.rooms[0].heatedArea = 0;
        break;
    case 1:
        p.rooms[0].envelope->elements[0].u = std::numeric_limits<double>::quiet_NaN();
        break;
    case 2:
        p.settings.conditions.spacings.clear();
        break;
    case 3:
        p.rooms[0].manifold = 2;
        break;
    case 4:
        p.manifolds[1].input.supplyTemp = 120;
        break;
    }
    QCOMPARE(projectDocumentBytes(p).error(), message);
    // The text written anyway is refused on reading.
    QVERIFY(!readProjectDocument(projectDocumentText(p)).ok());
}

// The user's overrides survive a save and are marked again after opening.
void ProjectDocumentTest::overridesKeptAndMarkedAcrossSaveAndOpen() {
    Result<ProjectDocument> read = readProjectDocument(
        version2(",\"load\":1100,\"overrides\":{\"spacing\":0.15,\"loopLengths\":[130]}", {},
                 "\"method\":\"en1264\",\"heatLoad\":{\"method\":\"typed\"}"));
    QVERIFY2(read.ok(), qPrintable(read.error()));
    const project::ProjectResult before = project::computeProject(read->project);
    const Result<ProjectDocument> again = readProjectDocument(projectDocumentText(read->project));
    QVERIFY(again.ok());
    const project::ProjectResult after = project::computeProject(again->project);
    const unsigned marks = rooms::SpacingOverridden | rooms::LengthOverridden | rooms::BreaksLimits;
    QCOMPARE(before.rooms[0].design.marks, marks);
    QCOMPARE(after.rooms[0].design.marks, marks);
    QCOMPARE(after.rooms[0].design.spacing, 0.15);
    QCOMPARE(after.rooms[0].design.loops[0].length, 130.0);
    QVERIFY(after.rooms[0].design.loops[0].overLength);
}

void ProjectDocumentTest::sheetRefusesRooms() {
    const Result<ProjectData> sheet = readProject(version2());
    QCOMPARE(sheet.error(), QStringLiteral("这个项目有 1 个分集水器、1 个房间；多环路计算表只能打开"
                                           "一个分集水器、没有房间的项目"));
    // Without rooms the sheet opens it and keeps the rest on saving.
    QByteArray noRooms = version2();
    noRooms.replace(noRooms.indexOf(",\"rooms\""), noRooms.size(), "}");
    const Result<ProjectData> opened = readProject(noRooms);
    QVERIFY2(opened.ok(), qPrintable(opened.error()));
    const QJsonDocument saved = QJsonDocument::fromJson(projectBytes(*opened));
    QCOMPARE(saved["manifolds"][0]["name"].toString(), QStringLiteral("户内"));
    QCOMPARE(saved["settings"]["method"].toString(), QStringLiteral("en1264"));
}

QTEST_APPLESS_MAIN(ProjectDocumentTest)
#include "tst_projectdocument.moc"
