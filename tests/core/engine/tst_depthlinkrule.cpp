// SPDX-License-Identifier: GPL-3.0-or-later
// Which text the depth link writes after a change, on plain numbers.

#include "core/engine/checked.h"
#include "core/engine/depthlink.h"
#include "core/engine/depthsettle.h"

#include <QTest>

using namespace zorva;

Q_DECLARE_METATYPE(zorva::LinkEvent)
Q_DECLARE_METATYPE(zorva::LinkTarget)

class DepthLinkRuleTest : public QObject {
    Q_OBJECT

private slots:
    void write_data();
    void write();
    void sumBeyondTheDoubleRangeIsAFault();
    void typedDepthSettlesAsInTheWindows_data();
    void typedDepthSettlesAsInTheWindows();
};

void DepthLinkRuleTest::write_data() {
    QTest::addColumn<LinkEvent>("event");
    QTest::addColumn<double>("depth");
    QTest::addColumn<double>("fill");
    QTest::addColumn<LinkTarget>("target");
    QTest::addColumn<QString>("text");
    // Surface 20.1 and levelling 20.2 in every row.
    QTest::newRow("depth gives filling")
        << LinkEvent::DesignChanged << 100.0 << 0.0 << LinkTarget::FillingLayer << "59.7";
    QTest::newRow("depth below the layers")
        << LinkEvent::DesignChanged << 30.0 << 0.0 << LinkTarget::FillingLayer << "-10.3";
    QTest::newRow("filling above 0 stays")
        << LinkEvent::FillFollowed << 0.0 << 1e-300 << LinkTarget::None << "";
    QTest::newRow("filling 0 resets depth")
        << LinkEvent::FillFollowed << 0.0 << 0.0 << LinkTarget::Depth << "50.3";
    QTest::newRow("negative filling resets depth")
        << LinkEvent::FillFollowed << 0.0 << -5.0 << LinkTarget::Depth << "50.3";
    QTest::newRow("layer gives depth")
        << LinkEvent::LayerChanged << 0.0 << 50.3 << LinkTarget::Depth << "90.6";
}

void DepthLinkRuleTest::write() {
    QFETCH(LinkEvent, event);
    QFETCH(double, depth);
    QFETCH(double, fill);
    QFETCH(LinkTarget, target);
    QFETCH(QString, text);

    const LinkWrite write = depthLinkWrite(event, LinkNumbers{depth, 20.1, 20.2, fill});
    QCOMPARE(write.target, target);
    QCOMPARE(QString::fromStdString(write.text.str()), text);
}

void DepthLinkRuleTest::sumBeyondTheDoubleRangeIsAFault() {
    QVERIFY_THROWS_EXCEPTION(
        ArithmeticError, depthLinkWrite(LinkEvent::LayerChanged, LinkNumbers{0, 1e308, 1e308, 1}));
    QVERIFY_THROWS_EXCEPTION(ArithmeticError, depthLinkWrite(LinkEvent::DesignChanged,
                                                             LinkNumbers{1e308, -1e308, 0, 0}));
}

// The exchange run on a record ends where the two windows end after the
// same depth is pasted (the rows of the windows' own depth-link test).
void DepthLinkRuleTest::typedDepthSettlesAsInTheWindows_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("depth");
    QTest::addColumn<QString>("fill");
    QTest::newRow("deeper pipe widens filling") << "100"
                                                << "100"
                                                << "60";
    QTest::newRow("leading zero rewritten") << "095"
                                            << "95"
                                            << "55";
    QTest::newRow("same filling keeps depth text") << "90.0"
                                                   << "90.0"
                                                   << "50";
    QTest::newRow("unit after number") << "100mm"
                                       << "100"
                                       << "60";
    QTest::newRow("depth just above layers") << "40.5"
                                             << "40.5"
                                             << "0.5";
    QTest::newRow("depth equal to layers") << "40"
                                           << "50"
                                           << "10";
    QTest::newRow("depth below layers") << "30"
                                        << "50"
                                        << "10";
    QTest::newRow("negative depth") << "-90"
                                    << "50"
                                    << "10";
    QTest::newRow("emptied depth") << ""
                                   << "50"
                                   << "10";
    QTest::newRow("letters in depth") << "abc"
                                      << "50"
                                      << "10";
}

void DepthLinkRuleTest::typedDepthSettlesAsInTheWindows() {
    QFETCH(QString, typed);
    QFETCH(QString, depth);
    QFETCH(QString, fill);
    FieldRecord f = FieldRecord::defaults();
    f.design[DepthField] = typed.toStdString();
    settleDepthEdit(f);
    QCOMPARE(QString::fromStdString(f.design[DepthField]), depth);
    QCOMPARE(QString::fromStdString(f.thickness[FillingLayerRow]), fill);
    QCOMPARE(f.thickness[SurfaceLayerRow], std::string("20"));
    QCOMPARE(f.thickness[LevellingLayerRow], std::string("20"));
}

QTEST_APPLESS_MAIN(DepthLinkRuleTest)
#include "tst_depthlinkrule.moc"
