// SPDX-License-Identifier: GPL-3.0-or-later
// The cooling part of the project JSON and CSV (docs/cli.md, "Cooling in
// the project output"): the flat of both seasons carries every key for every
// manifold, loop and room; its other keys and rows are those of the flat in
// heating alone; a heating project has no `cooling` and no cooling rows.

#include "cli/projectcsv.h"
#include "cli/projectjson.h"
#include "core/io/citytablefile.h"
#include "core/io/projectfile.h"
#include "core/project/compute.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QTest>

#include <cmath>

using namespace zorva;
using namespace zorva::project;

namespace {

Project flatIn(Season season) {
    const auto read = io::readProjectDocumentFile(
        QStringLiteral(ZORVA_TESTS_SOURCE_DIR "/../examples/flat.zorvaproj"));
    if (!read.ok())
        qFatal("%s", qPrintable(read.error()));
    Project flat = read->project;
    flat.settings.cooling.season = season;
    return flat;
}

ProjectResult computed(const Project& p) {
    const io::CityTableLoad cities = io::loadBuiltinCityTable();
    ComputeOptions options;
    options.cities = &*cities;
    return computeProject(p, options);
}

QJsonObject flatJson(Season season) {
    const Project flat = flatIn(season);
    return cli::projectJson(flat, computed(flat));
}

QStringList missingKeys(const QJsonObject& o, const QStringList& keys) {
    QStringList missing;
    for (const QString& k : keys)
        if (!o.contains(k))
            missing << k;
    return missing;
}

} // namespace

class ProjectCoolingJsonTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void everyKey_data();
    void everyKey();
    void heatingKeysUnchanged();
    void dewPointAndFlows();
    void csvTables();

private:
    QJsonObject both_;
};

void ProjectCoolingJsonTest::initTestCase() {
    both_ = flatJson(Season::Both);
    QVERIFY(both_.contains(QStringLiteral("cooling")));
}

void ProjectCoolingJsonTest::everyKey_data() {
    QTest::addColumn<QString>("where");
    QTest::addColumn<QStringList>("keys");
    QTest::newRow("cooling") << ""
                             << QStringList{"season",    "seasonName", "method", "dewPointClause",
                                            "dewMargin", "manifolds",  "rooms",  "totals"};
    QTest::newRow("manifold") << "manifolds"
                              << QStringList{"name",        "supplyTemp",    "returnTemp",
                                             "area",        "coolingOutput", "waterLoad",
                                             "heatingFlow", "coolingFlow",   "sizingSeason",
                                             "failedLoops", "loops"};
    QTest::newRow("loop") << "loops" << QStringList{"name",
                                                    "applicable",
                                                    "heatingFlow",
                                                    "coolingOutput",
                                                    "floorTempMean",
                                                    "floorTempInlet",
                                                    "dewPoint",
                                                    "minSupplyTemp",
                                                    "coolingFlow",
                                                    "velocity",
                                                    "verdict",
                                                    "checks",
                                                    "coolingCharacteristic",
                                                    "upwardShare"};
    QTest::newRow("room") << "rooms"
                          << QStringList{"name",          "dewPoint",         "minSupplyTemp",
                                         "coolingOutput", "floorTempMean",    "floorTempLowest",
                                         "roomOutput",    "admissibleOutput", "verdict",
                                         "computed"};
    QTest::newRow("room with a load")
        << "loaded rooms" << QStringList{"sensibleLoad", "supplyForLoad", "proposedSupplyTemp",
                                         "loadMet",      "shortfall",     "shortfallReason",
                                         "load"};
    QTest::newRow("check") << "checks"
                           << QStringList{"code", "verdict", "value", "limit", "clause"};
}

void ProjectCoolingJsonTest::everyKey() {
    QFETCH(QString, where);
    QFETCH(QStringList, keys);
    const QJsonObject cooling = both_.value(QStringLiteral("cooling")).toObject();
    QList<QJsonObject> objects;
    const QJsonArray manifolds = cooling.value(QStringLiteral("manifolds")).toArray();
    const QJsonArray rooms = cooling.value(QStringLiteral("rooms")).toArray();
    QCOMPARE(manifolds.size(), 1);
    QCOMPARE(rooms.size(), 5);
    if (where.isEmpty())
        objects << cooling;
    for (const QJsonValue& m : manifolds) {
        if (where == QLatin1String("manifolds"))
            objects << m.toObject();
        for (const QJsonValue& l : m.toObject().value(QStringLiteral("loops")).toArray()) {
            if (where == QLatin1String("loops"))
                objects << l.toObject();
            if (where == QLatin1String("checks"))
                for (const QJsonValue& c : l.toObject().value(QStringLiteral("checks")).toArray())
                    objects << c.toObject();
        }
    }
    for (const QJsonValue& r : rooms) {
        if (where == QLatin1String("rooms"))
            objects << r.toObject();
        if (where == QLatin1String("loaded rooms") &&
            !r.toObject().value(QStringLiteral("sensibleLoad")).isNull())
            objects << r.toObject();
    }
    QVERIFY(!objects.isEmpty());
    for (const QJsonObject& o : objects) {
        const QStringList missing = missingKeys(o, keys);
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QLatin1Char(','))));
    }
}

void ProjectCoolingJsonTest::heatingKeysUnchanged() {
    const QJsonObject heating = flatJson(Season::Heating);
    QVERIFY(!heating.contains(QStringLiteral("cooling")));
    QJsonObject rest = both_;
    rest.remove(QStringLiteral("cooling"));
    QCOMPARE(rest, heating);
}

// 26 ℃ and 50 %: θ_d = 14.77001 ℃ (Magnus, docs/cooling.md) in every room
// and loop; the manifold's flows of both seasons as the loops add them.
void ProjectCoolingJsonTest::dewPointAndFlows() {
    const QJsonObject cooling = both_.value(QStringLiteral("cooling")).toObject();
    for (const QJsonValue& r : cooling.value(QStringLiteral("rooms")).toArray())
        QVERIFY(std::fabs(r[QStringLiteral("dewPoint")].toDouble() - 14.77001) < 5e-6);
    const QJsonObject m = cooling.value(QStringLiteral("manifolds")).toArray()[0].toObject();
    double heating = 0, chilled = 0;
    for (const QJsonValue& l : m.value(QStringLiteral("loops")).toArray()) {
        QVERIFY(std::fabs(l[QStringLiteral("dewPoint")].toDouble() - 14.77001) < 5e-6);
        QCOMPARE(l[QStringLiteral("minSupplyTemp")].toDouble(),
                 l[QStringLiteral("dewPoint")].toDouble() + 2);
        heating += l[QStringLiteral("heatingFlow")].toDouble();
        chilled += l[QStringLiteral("coolingFlow")].toDouble();
    }
    QVERIFY(std::fabs(m.value(QStringLiteral("coolingFlow")).toDouble() - chilled) <
            1e-9 * chilled);
    QVERIFY(std::fabs(m.value(QStringLiteral("heatingFlow")).toDouble() - heating) <
            1e-9 * heating);
    QCOMPARE(m.value(QStringLiteral("sizingSeason")).toString(),
             chilled > heating ? QStringLiteral("cooling") : QStringLiteral("heating"));
}

// The heating rows first, as in heating alone; then a blank row, the
// loops side by side, a blank row and the rooms with θ_d = 14.8 ℃.
void ProjectCoolingJsonTest::csvTables() {
    const Project heatingFlat = flatIn(Season::Heating);
    const Project bothFlat = flatIn(Season::Both);
    const QList<QStringList> heating = cli::projectCsvRows(heatingFlat, computed(heatingFlat));
    const QList<QStringList> both = cli::projectCsvRows(bothFlat, computed(bothFlat));
    const qsizetype loops = both_.value(QStringLiteral("cooling"))
                                .toObject()
                                .value(QStringLiteral("manifolds"))
                                .toArray()[0]
                                .toObject()
                                .value(QStringLiteral("loops"))
                                .toArray()
                                .size();
    QCOMPARE(both.size(), heating.size() + 1 + 1 + loops + 1 + 1 + 5);
    QCOMPARE(both.mid(0, heating.size()), heating);
    const QStringList loopHeader = both[heating.size() + 1];
    QCOMPARE(loopHeader.value(6), QStringLiteral("单位面积供冷量(W/m²)"));
    const qsizetype roomsAt = heating.size() + 2 + loops + 2;
    for (qsizetype i = 0; i < 5; ++i) {
        QCOMPARE(both[roomsAt + i].value(3), QStringLiteral("14.8"));
        QCOMPARE(both[roomsAt + i].value(4), QStringLiteral("16.8"));
    }
    QCOMPARE(both[roomsAt + 4].value(5), QString()); // the bathroom: no load
}

QTEST_GUILESS_MAIN(ProjectCoolingJsonTest)
#include "tst_projectcoolingjson.moc"
