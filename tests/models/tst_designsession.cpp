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

QTEST_GUILESS_MAIN(DesignSessionTest)
#include "tst_designsession.moc"
