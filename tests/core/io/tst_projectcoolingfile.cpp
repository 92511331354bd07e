// SPDX-License-Identifier: GPL-3.0-or-later
// The cooling members of the project file (docs/project-format.md,
// "cooling"): absent they read as a heating project and a heating project
// writes none; present they read back and write the same bytes; unknown keys
// inside them are kept; every bad value is refused naming the place.

#include "core/io/projectfile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace zorva;
using namespace zorva::project;

namespace {

Project oneRoom() {
    Project p = newProject();
    p.settings.heatLoad.method = LoadMethod::Typed;
    Room room;
    room.name = "客厅";
    room.floorArea = 20;
    room.heatedArea = 18;
    room.typedLoad = 1000;
    p.rooms.push_back(room);
    return p;
}

// The bytes of `p` with `cooling` set on the settings, the first manifold
// or the first room (by `owner`).
QByteArray withCooling(const Project& p, const QString& owner, const QJsonObject& cooling) {
    QJsonObject top = QJsonDocument::fromJson(io::projectDocumentText(p)).object();
    const auto set = [&](const QString& arrayKey) {
        QJsonArray array = top.value(arrayKey).toArray();
        QJsonObject first = array[0].toObject();
        first.insert(QStringLiteral("cooling"), cooling);
        array[0] = first;
        top.insert(arrayKey, array);
    };
    if (owner == QLatin1String("settings")) {
        QJsonObject settings = top.value(owner).toObject();
        settings.insert(QStringLiteral("cooling"), cooling);
        top.insert(owner, settings);
    } else {
        set(owner);
    }
    return QJsonDocument(top).toJson();
}

} // namespace

class ProjectCoolingFileTest : public QObject {
    Q_OBJECT

private slots:
    void heatingProjectWritesNoCooling();
    void roundTrip_data();
    void roundTrip();
    void refused_data();
    void refused();
    void unknownKeysKept();
};

void ProjectCoolingFileTest::heatingProjectWritesNoCooling() {
    const QByteArray before = io::projectDocumentText(oneRoom());
    QVERIFY(!before.contains("cooling"));
    const Result<io::ProjectDocument> read = io::readProjectDocument(before);
    QVERIFY2(read.ok(), qPrintable(read.error()));
    QCOMPARE(read->project.settings.cooling.season, Season::Heating);
    QVERIFY(isDefault(read->project.rooms[0].cooling));
    QCOMPARE(io::projectDocumentText(read->project), before);
}

void ProjectCoolingFileTest::roundTrip_data() {
    QTest::addColumn<int>("season");
    QTest::addColumn<double>("humidity");
    QTest::addColumn<bool>("load");
    QTest::addColumn<int>("occupancy");
    QTest::newRow("both, 55 %, load, seated")
        << int(Season::Both) << 0.55 << true << int(cooling::Occupancy::Seated);
    QTest::newRow("cooling, 100 %, no load, transit")
        << int(Season::Cooling) << 1.0 << false << int(cooling::Occupancy::Transit);
    QTest::newRow("heating with a room's cooling kept")
        << int(Season::Heating) << 0.6 << true << int(cooling::Occupancy::Standing);
}

void ProjectCoolingFileTest::roundTrip() {
    QFETCH(int, season);
    QFETCH(double, humidity);
    QFETCH(bool, load);
    QFETCH(int, occupancy);
    Project p = oneRoom();
    p.settings.cooling.season = Season(season);
    p.settings.cooling.dewMargin = 1.5;
    p.manifolds[0].cooling.supplyTemp = 17.3;
    p.manifolds[0].cooling.returnTemp = 20.1;
    RoomCooling& c = p.rooms[0].cooling;
    c.roomTemp = 26.5;
    c.humidity = humidity;
    if (load)
        c.sensibleLoad = 1234.5;
    c.occupancy = cooling::Occupancy(occupancy);
    const Result<QByteArray> bytes = io::projectDocumentBytes(p);
    QVERIFY2(bytes.ok(), qPrintable(bytes.error()));
    QVERIFY(bytes->contains("\"cooling\""));
    const Result<io::ProjectDocument> read = io::readProjectDocument(*bytes);
    QVERIFY2(read.ok(), qPrintable(read.error()));
    const Project& q = read->project;
    QCOMPARE(int(q.settings.cooling.season), season);
    QCOMPARE(q.settings.cooling.dewMargin, 1.5);
    // Values other than the defaults are kept in a heating project too.
    QCOMPARE(q.manifolds[0].cooling.supplyTemp, 17.3);
    QCOMPARE(q.manifolds[0].cooling.returnTemp, 20.1);
    QCOMPARE(q.rooms[0].cooling.roomTemp, 26.5);
    QCOMPARE(q.rooms[0].cooling.humidity, humidity);
    QCOMPARE(q.rooms[0].cooling.sensibleLoad, load ? std::optional(1234.5) : std::nullopt);
    QCOMPARE(int(q.rooms[0].cooling.occupancy), occupancy);
    QVERIFY(q.rooms[0].extraKeys.empty());
    QVERIFY(q.settings.extraKeys.empty());
    QCOMPARE(io::projectDocumentText(q), *bytes);
}

void ProjectCoolingFileTest::refused_data() {
    QTest::addColumn<QString>("owner");
    QTest::addColumn<QByteArray>("cooling");
    QTest::addColumn<QString>("message");
    QTest::newRow("season unknown") << "settings" << QByteArray(R"({"season": "summer"})")
                                    << "项目设置的供冷（cooling）的“设计季节”（season）应是";
    QTest::newRow("margin below 1 K")
        << "settings" << QByteArray(R"({"dewMargin": 0.9})") << "项目设置的供冷（cooling）";
    QTest::newRow("supply at the return")
        << "manifolds" << QByteArray(R"({"supplyTemp": 20, "returnTemp": 20})")
        << "第 1 个分集水器（分集水器1）的供冷（cooling）的供冷供水温度 20 ℃ 应低于回水温度 20 ℃";
    QTest::newRow("supply 4 ℃") << "manifolds" << QByteArray(R"({"supplyTemp": 4})")
                                << "第 1 个分集水器（分集水器1）的供冷（cooling）";
    QTest::newRow("humidity 0") << "rooms" << QByteArray(R"({"humidity": 0})")
                                << "第 1 个房间（客厅）的供冷（cooling）";
    QTest::newRow("humidity in %")
        << "rooms" << QByteArray(R"({"humidity": 50})") << "第 1 个房间（客厅）的供冷（cooling）";
    QTest::newRow("load as text") << "rooms" << QByteArray(R"({"load": "900"})")
                                  << "第 1 个房间（客厅）的供冷（cooling）";
    QTest::newRow("occupancy unknown")
        << "rooms" << QByteArray(R"({"occupancy": "sitting"})")
        << "第 1 个房间（客厅）的供冷（cooling）的“人员活动（地面温度下限）”（occupancy）应是";
    QTest::newRow("not an object") << "rooms" << QByteArray("[]") << "第 1 个房间（客厅）";
}

void ProjectCoolingFileTest::refused() {
    QFETCH(QString, owner);
    QFETCH(QByteArray, cooling);
    QFETCH(QString, message);
    QJsonObject object;
    const QJsonDocument doc = QJsonDocument::fromJson(cooling);
    QByteArray bytes;
    if (doc.isObject()) {
        bytes = withCooling(oneRoom(), owner, doc.object());
    } else {
        bytes = withCooling(oneRoom(), owner, {});
        bytes.replace("\"cooling\": {\n            }", "\"cooling\": []");
        QVERIFY(bytes.contains("\"cooling\": []"));
    }
    const Result<io::ProjectDocument> read = io::readProjectDocument(bytes);
    QVERIFY(!read.ok());
    QVERIFY2(read.error().contains(message), qPrintable(read.error()));
}

void ProjectCoolingFileTest::unknownKeysKept() {
    const QByteArray bytes = withCooling(
        oneRoom(), QStringLiteral("rooms"),
        QJsonObject{{QStringLiteral("humidity"), 0.6},
                    {QStringLiteral("shade"), QJsonObject{{QStringLiteral("g"), 0.4}}}});
    const Result<io::ProjectDocument> read = io::readProjectDocument(bytes);
    QVERIFY2(read.ok(), qPrintable(read.error()));
    QCOMPARE(read->project.rooms[0].cooling.humidity, 0.6);
    QVERIFY(read->project.rooms[0].extraKeys.empty());
    const QJsonObject again = QJsonDocument::fromJson(io::projectDocumentText(read->project))
                                  .object()["rooms"][0]["cooling"]
                                  .toObject();
    QCOMPARE(again.value(QStringLiteral("shade")).toObject().value(QStringLiteral("g")).toDouble(),
             0.4);
    QCOMPARE(again.value(QStringLiteral("humidity")).toDouble(), 0.6);
}

QTEST_GUILESS_MAIN(ProjectCoolingFileTest)
#include "tst_projectcoolingfile.moc"
