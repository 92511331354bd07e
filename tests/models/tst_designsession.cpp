// SPDX-License-Identifier: GPL-3.0-or-later
// The design check limits kept between runs: limits saved by an earlier
// version move once to the JGJ 142-2012 defaults, with a notice taken once;
// values the user changed stay.

#include "models/session/designsession.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace zorva;
using namespace zorva::models;

class DesignSessionTest : public QObject {
    Q_OBJECT

private slots:
    void storedLimitsMoveOnce_data();
    void storedLimitsMoveOnce();
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

QTEST_GUILESS_MAIN(DesignSessionTest)
#include "tst_designsession.moc"
