// SPDX-License-Identifier: GPL-3.0-or-later
// The design check limits kept between runs: limits saved by an earlier
// version move once to the JGJ 142-2012 defaults, with a notice taken once;
// values the user changed stay. The tools' calculation method: EN 1264-2
// for a new user, a stored choice wins and survives a restart.

#include "models/session/designsession.h"

#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace zorva;
using namespace zorva::models;

class DesignSessionTest : public QObject {
    Q_OBJECT

private slots:
    void storedLimitsMoveOnce_data();
    void storedLimitsMoveOnce();
    void methodSurvivesRestart_data();
    void methodSurvivesRestart();
    void methodAndCoolingAreKept_data();
    void methodAndCoolingAreKept();
};

void DesignSessionTest::storedLimitsMoveOnce_data() {
    QTest::addColumn<QStringList>("keys"); // "key=value" stored by the earlier version
    QTest::addColumn<bool>("notice");
    QTest::addColumn<double>("minTempDiff");
    QTest::addColumn<double>("maxTempDiff");
    QTest::newRow("old defaults") << QStringList{"category=0", "maxTempDiff=10", "minVelocity=0.25",
                                                 "maxSupplyTemp=60"}
                                  << true << 5.0 << 10.0;
    QTest::newRow("a changed limit stays")
        << QStringList{"category=2", "maxTempDiff=12"} << true << 5.0 << 12.0;
    QTest::newRow("nothing stored") << QStringList{} << false << 5.0 << 10.0;
    QTest::newRow("saved by this version")
        << QStringList{"edition=2012", "minTempDiff=3", "maxTempDiff=8"} << false << 3.0 << 8.0;
}

void DesignSessionTest::storedLimitsMoveOnce() {
    QFETCH(QStringList, keys);
    QFETCH(bool, notice);
    QFETCH(double, minTempDiff);
    QFETCH(double, maxTempDiff);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("zorva.ini"));
    {
        QSettings old(path, QSettings::IniFormat);
        for (const QString& kv : keys)
            old.setValue(QStringLiteral("designCheck/") + kv.section(u'=', 0, 0),
                         kv.section(u'=', 1).toDouble());
    }
    QSettings settings(path, QSettings::IniFormat);
    DesignSession session(&settings);
    QCOMPARE(!session.limitsNotice().isEmpty(), notice);
    QCOMPARE(session.limits().minTempDiff, minTempDiff);
    QCOMPARE(session.limits().maxTempDiff, maxTempDiff);
    if (notice)
        QVERIFY(session.takeLimitsNotice().contains(QStringLiteral("JGJ 142-2012")));
    QVERIFY(session.takeLimitsNotice().isEmpty()); // taken once

    // The next start finds the limits moved and says nothing.
    DesignSession again(&settings);
    QVERIFY(again.limitsNotice().isEmpty());
    QCOMPARE(again.limits().minTempDiff, minTempDiff);
    QCOMPARE(again.limits().maxTempDiff, maxTempDiff);
}

void DesignSessionTest::methodSurvivesRestart_data() {
    QTest::addColumn<QString>("stored"); // tools/method before the start; empty: none
    QTest::addColumn<int>("atStart");
    QTest::addColumn<int>("chosen"); // set during the run
    QTest::addColumn<int>("emitted");
    const int program = int(method::Method::Program);
    const int en = int(method::Method::En1264);
    QTest::newRow("new user") << QString() << en << en << 0;
    QTest::newRow("new user picks the program") << QString() << en << program << 1;
    QTest::newRow("stored program wins") << "program" << program << program << 0;
    QTest::newRow("stored en1264") << "en1264" << en << program << 1;
    QTest::newRow("unknown key: EN 1264-2") << "EN1264 " << en << en << 0;
}

void DesignSessionTest::methodSurvivesRestart() {
    QFETCH(QString, stored);
    QFETCH(int, atStart);
    QFETCH(int, chosen);
    QFETCH(int, emitted);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("zorva.ini"));
    if (!stored.isEmpty())
        QSettings(path, QSettings::IniFormat).setValue(QStringLiteral("tools/method"), stored);
    {
        QSettings settings(path, QSettings::IniFormat);
        DesignSession session(&settings);
        QCOMPARE(int(session.method()), atStart);
        QSignalSpy spy(&session, &DesignSession::methodChanged);
        session.setMethod(method::Method(chosen));
        QCOMPARE(spy.count(), emitted);
    }
    QSettings settings(path, QSettings::IniFormat);
    DesignSession again(&settings);
    QCOMPARE(int(again.method()), chosen);

    // Without settings nothing is remembered: the program's own method.
    DesignSession bare;
    QCOMPARE(bare.method(), method::Method::Program);
}

void DesignSessionTest::methodAndCoolingAreKept_data() {
    QTest::addColumn<QStringList>("keys"); // "key=value" stored before the start
    QTest::addColumn<QString>("method");   // key of the method read
    QTest::addColumn<bool>("cooling");
    QTest::addColumn<double>("humidity");
    QTest::addColumn<double>("supply");
    QTest::newRow("new user") << QStringList{} << "en1264" << false << 0.5 << 16.8;
    QTest::newRow("program kept") << QStringList{"tools/method=program", "tools/season=cooling",
                                                 "cooling/humidity=0.6", "cooling/supplyTemp=19.7"}
                                  << "program" << true << 0.6 << 19.7;
    // Unknown or out-of-range values fall back to the defaults.
    QTest::newRow("unknown values") << QStringList{"tools/method=iso", "tools/season=winter",
                                                   "cooling/humidity=1.5", "cooling/supplyTemp=nan"}
                                    << "en1264" << false << 0.5 << 16.8;
}

void DesignSessionTest::methodAndCoolingAreKept() {
    QFETCH(QStringList, keys);
    QFETCH(QString, method);
    QFETCH(bool, cooling);
    QFETCH(double, humidity);
    QFETCH(double, supply);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("zorva.ini"));
    {
        QSettings old(path, QSettings::IniFormat);
        for (const QString& kv : keys)
            old.setValue(kv.section(u'=', 0, 0), kv.section(u'=', 1));
    }
    QSettings settings(path, QSettings::IniFormat);
    DesignSession session(&settings);
    QCOMPARE(QLatin1String(method::methodKey(session.method())), method);
    QCOMPARE(session.season() == Season::Cooling, cooling);
    QCOMPARE(session.cooling().humidity, humidity);
    QCOMPARE(session.cooling().supplyTemp, supply);

    // A change is stored and read back by the next start.
    CoolingSettings c = session.cooling();
    c.loadPerArea = 30;
    c.occupancy = cooling::Occupancy::Seated;
    session.setCooling(c);
    session.setSeason(Season::Cooling);
    session.setMethod(method::Method::Program);
    DesignSession again(&settings);
    QCOMPARE(again.method(), method::Method::Program);
    QCOMPARE(again.season(), Season::Cooling);
    QCOMPARE(again.cooling().loadPerArea, std::optional<double>(30));
    QCOMPARE(again.cooling().occupancy, cooling::Occupancy::Seated);
    QCOMPARE(again.cooling().supplyTemp, supply);
}

QTEST_GUILESS_MAIN(DesignSessionTest)
#include "tst_designsession.moc"
