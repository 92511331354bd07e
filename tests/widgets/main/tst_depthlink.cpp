// SPDX-License-Identifier: GPL-3.0-or-later
// The link between the burial depth on the main window and the layer
// thicknesses on the construction window, for whole-text writes (pasting) and
// for entries typed key by key.

#include "support/windowtest.h"

#include "core/engine/depthlink.h"
#include "core/wording/fieldtext.h"
#include "widgets/dialogs/messages.h"

#include <QLineEdit>
#include <QTest>

#include <memory>
#include <random>

using namespace zorva;
using namespace zorva::ui;

namespace {

// A field of either window by its object name, e.g. "Txt_4" or "Txt1_2".
QLineEdit* field(TestWindows& w, const QString& name) {
    if (auto* f = w.main().findChild<QLineEdit*>(name))
        return f;
    return w.construction().findChild<QLineEdit*>(name);
}

// Pastes the layers and the depth in the given order, then checks that the
// exchange stayed within its bound and left the depth equal to the sum of
// the three layers as the windows show them.
void pasteAndCheck(TestWindows& w, const QString& surface, const QString& level,
                   const QString& depth, bool depthFirst) {
    if (depthFirst)
        w.field(4)->setText(depth);
    w.thickness(0)->setText(surface);
    w.thickness(1)->setText(level);
    if (!depthFirst)
        w.field(4)->setText(depth);
    QVERIFY(w.registry.depthLink().nestingPeak() <= DepthLinkBridge::kNestingLimit);
    const QString sum = zorva::toQString(zorva::layerSumText(
        zorva::leadingNumber(w.thickness(0)->text()), zorva::leadingNumber(w.thickness(1)->text()),
        zorva::leadingNumber(w.thickness(2)->text())));
    QCOMPARE(w.field(4)->text(), sum);
    QVERIFY(w.dialogs.messages().isEmpty());
}

} // namespace

class DepthLinkTest : public WindowTest {
    Q_OBJECT

private slots:
    void defaultsKeepDepthEqualToLayerSum();
    void wholeTextWriteSettlesBothWindows_data();
    void wholeTextWriteSettlesBothWindows();
    void typedEntrySettlesAfterEveryKey_data();
    void typedEntrySettlesAfterEveryKey();
    void typedDepthTurnsToFiftyAfterFirstDigit();
    void emptyingDepthByKeyboardRestoresMinimum();
    void layersWithDecimalsSumExactly();
    void clampRaisesFillingLayerAndDepth_data();
    void clampRaisesFillingLayerAndDepth();
    void layerSumOverflowReportsFaultAndKeepsDepth();
    void endlessExchangeEndsConsistent_data();
    void endlessExchangeEndsConsistent();
    void randomLongNumbersStayWithinBound();
};

void DepthLinkTest::defaultsKeepDepthEqualToLayerSum() {
    QCOMPARE(w_->field(4)->text(), QString("90"));
    QCOMPARE(w_->thickness(0)->text(), QString("20"));
    QCOMPARE(w_->thickness(1)->text(), QString("20"));
    QCOMPARE(w_->thickness(2)->text(), QString("50"));
}

void DepthLinkTest::wholeTextWriteSettlesBothWindows_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("fieldAfter");
    QTest::addColumn<QString>("depth");
    QTest::addColumn<QString>("fill");
    auto row = [](const char* tag, const char* name, const char* text, const char* after,
                  const char* depth, const char* fill) {
        QTest::newRow(tag) << QString(name) << QString(text) << QString(after) << QString(depth)
                           << QString(fill);
    };

    // Main window fields.
    row("other input leaves link alone", "Txt_0", "19", "19", "90", "50");
    row("result field leaves link alone", "Txt_9", "abc", "abc", "90", "50");
    row("deeper pipe widens filling", "Txt_4", "100", "100", "100", "60");
    row("leading zero rewritten", "Txt_4", "095", "95", "95", "55");
    row("same filling keeps depth text", "Txt_4", "90.0", "90.0", "90.0", "50");
    row("unit after number", "Txt_4", "100mm", "100", "100", "60");
    row("depth just above layers", "Txt_4", "40.5", "40.5", "40.5", "0.5");
    row("depth equal to layers", "Txt_4", "40", "50", "50", "10");
    row("depth below layers", "Txt_4", "30", "50", "50", "10");
    row("negative depth", "Txt_4", "-90", "50", "50", "10");
    row("emptied depth", "Txt_4", "", "50", "50", "10");
    row("letters in depth", "Txt_4", "abc", "50", "50", "10");

    // Construction window thicknesses.
    row("surface layer thicker", "Txt1_0", "30", "30", "100", "50");
    row("surface layer fraction", "Txt1_0", "12.5", "12.5", "82.5", "50");
    row("levelling layer zero", "Txt1_1", "0", "0", "70", "50");
    row("negative surface layer", "Txt1_0", "-5", "0", "70", "50");
    row("negative levelling layer", "Txt1_1", "-3", "0", "70", "50");
    row("lone minus stays", "Txt1_0", "-", "-", "70", "50");
    row("filling leading zero", "Txt1_2", "060", "60", "100", "60");
    row("filling zero", "Txt1_2", "0", "10", "50", "10");
    row("filling emptied", "Txt1_2", "", "10", "50", "10");
    row("filling letters", "Txt1_2", "x", "10", "50", "10");
    row("filling negative", "Txt1_2", "-5", "10", "50", "10");
    row("filling lone minus", "Txt1_2", "-", "10", "50", "10");
    row("pipe wall", "Txt1_3", "3", "3", "90", "50");
    row("negative pipe wall", "Txt1_3", "-1", "0", "90", "50");
    row("elbow count", "Txt1_5", "4", "4", "90", "50");

    // Construction window conductivities never touch the depth.
    row("conductivity", "Text1_0", "1.1", "1.1", "90", "50");
    row("negative conductivity", "Text1_2", "-1", "0", "90", "50");
    row("conductivity lone minus", "Text1_3", "-", "-", "90", "50");
}

void DepthLinkTest::wholeTextWriteSettlesBothWindows() {
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, fieldAfter);
    QFETCH(QString, depth);
    QFETCH(QString, fill);

    QLineEdit* target = field(*w_, name);
    QVERIFY(target != nullptr);
    target->setText(text);
    QCOMPARE(target->text(), fieldAfter);
    QCOMPARE(w_->field(4)->text(), depth);
    QCOMPARE(w_->thickness(2)->text(), fill);
    QVERIFY(w_->dialogs.messages().isEmpty());
}

void DepthLinkTest::typedEntrySettlesAfterEveryKey_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("keys");
    // After each key: the typed field, the depth and the filling layer.
    QTest::addColumn<QStringList>("fieldAfter");
    QTest::addColumn<QStringList>("depth");
    QTest::addColumn<QStringList>("fill");

    using L = QStringList;
    auto row = [](const char* tag, const char* name, const char* keys, const L& field,
                  const L& depth, const L& fill) {
        QTest::newRow(tag) << QString(name) << QString(keys) << field << depth << fill;
    };
    // Every intermediate text passes through the link: a depth typed over
    // the old one falls to the minimum at its first digit.
    row("depth 30", "Txt_4", "30", {"50", "500"}, {"50", "500"}, {"10", "460"});
    row("depth 095", "Txt_4", "095", {"50", "509", "5095"}, {"50", "509", "5095"},
        {"10", "469", "5055"});
    row("surface 30", "Txt1_0", "30", {"3", "30"}, {"73", "100"}, {"50", "50"});
    row("surface 12.5", "Txt1_0", "12.5", {"1", "12", "12.", "12.5"}, {"71", "82", "82", "82.5"},
        {"50", "50", "50", "50"});
    row("surface -5", "Txt1_0", "-5", {"-", "0"}, {"70", "70"}, {"50", "50"});
    row("filling 0", "Txt1_2", "0", {"10"}, {"50"}, {"10"});
    row("filling 60", "Txt1_2", "60", {"6", "60"}, {"46", "100"}, {"6", "60"});
    row("conductivity -1", "Text1_2", "-1", {"-", "0"}, {"90", "90"}, {"50", "50"});
    row("letters in room", "Txt_0", "ab", {"a", "ab"}, {"90", "90"}, {"50", "50"});
}

void DepthLinkTest::typedEntrySettlesAfterEveryKey() {
    QFETCH(QString, name);
    QFETCH(QString, keys);
    QFETCH(QStringList, fieldAfter);
    QFETCH(QStringList, depth);
    QFETCH(QStringList, fill);

    QLineEdit* target = field(*w_, name);
    QVERIFY(target != nullptr);
    target->selectAll();
    for (qsizetype k = 0; k < keys.size(); ++k) {
        QTest::keyClicks(target, keys.mid(k, 1));
        const QString step = QStringLiteral("after key %1 '%2'").arg(k + 1).arg(keys[k]);
        QVERIFY2(target->text() == fieldAfter[k], qPrintable(step + ": field " + target->text()));
        QVERIFY2(w_->field(4)->text() == depth[k],
                 qPrintable(step + ": depth " + w_->field(4)->text()));
        QVERIFY2(w_->thickness(2)->text() == fill[k],
                 qPrintable(step + ": fill " + w_->thickness(2)->text()));
    }
    QVERIFY(w_->dialogs.messages().isEmpty());
}

void DepthLinkTest::typedDepthTurnsToFiftyAfterFirstDigit() {
    QLineEdit* depth = w_->field(4);
    depth->selectAll();
    QTest::keyClick(depth, Qt::Key_9);
    QCOMPARE(depth->text(), QString("50"));
    QCOMPARE(w_->thickness(2)->text(), QString("10"));
    QTest::keyClick(depth, Qt::Key_5);
    // Whatever the caret did, the two windows agree again.
    const double d = depth->text().toDouble();
    QCOMPARE(w_->thickness(2)->text(), QString::number(d - 40));
}

void DepthLinkTest::emptyingDepthByKeyboardRestoresMinimum() {
    QLineEdit* depth = w_->field(4);
    depth->selectAll();
    QTest::keyClick(depth, Qt::Key_Backspace);
    QCOMPARE(depth->text(), QString("50"));
    QCOMPARE(w_->thickness(2)->text(), QString("10"));
}

void DepthLinkTest::layersWithDecimalsSumExactly() {
    w_->thickness(0)->setText("20.1");
    w_->thickness(1)->setText("20.2");
    w_->thickness(2)->setText("50.3");
    QCOMPARE(w_->field(4)->text(), QString("90.6"));
    QCOMPARE(w_->thickness(2)->text(), QString("50.3"));
}

void DepthLinkTest::clampRaisesFillingLayerAndDepth_data() {
    QTest::addColumn<QString>("fillBefore");
    QTest::addColumn<QString>("diameter");
    QTest::addColumn<QString>("fillAfter");
    QTest::addColumn<QString>("depthAfter");
    QTest::addColumn<double>("thickFill");

    auto row = [](const char* tag, const char* fillBefore, const char* diameter,
                  const char* fillAfter, const char* depthAfter, double thickFill) {
        QTest::newRow(tag) << QString(fillBefore) << QString(diameter) << QString(fillAfter)
                           << QString(depthAfter) << thickFill;
    };
    row("pipe wider than filling", "50", "60", "60", "100", 60.0);
    row("pipe as wide as filling", "50", "50", "50", "90", 50.0);
    row("fractional pipe", "20", "20.5", "20.5", "60.5", 20.5);
}

void DepthLinkTest::clampRaisesFillingLayerAndDepth() {
    QFETCH(QString, fillBefore);
    QFETCH(QString, diameter);
    QFETCH(QString, fillAfter);
    QFETCH(QString, depthAfter);
    QFETCH(double, thickFill);

    w_->thickness(2)->setText(fillBefore);
    w_->field(5)->setText(diameter);
    QCOMPARE(w_->main().calculate(), CalcOutcome::Converged);
    QCOMPARE(w_->thickness(2)->text(), fillAfter);
    QCOMPARE(w_->field(4)->text(), depthAfter);
    QCOMPARE(w_->main().workingVars().thickFill, thickFill);
}

void DepthLinkTest::layerSumOverflowReportsFaultAndKeepsDepth() {
    w_->dialogs.expectMessages(1);
    w_->thickness(0)->setText("1e309");
    QCOMPARE(w_->dialogs.messages().size(), 1);
    const auto& shown = w_->dialogs.messages().first();
    QCOMPARE(shown.title, QString("Zorva"));
    QCOMPARE(shown.text, arithmeticErrorText(zorva::Fault::Overflow, FaultSite::DepthFromLayers));
    QCOMPARE(w_->field(4)->text(), QString("90"));
    QCOMPARE(w_->thickness(0)->text(), QString("1e309"));
}

void DepthLinkTest::endlessExchangeEndsConsistent_data() {
    QTest::addColumn<QString>("surface");
    QTest::addColumn<QString>("level");
    QTest::addColumn<QString>("depth");
    QTest::addColumn<bool>("depthFirst");
    // Beyond 15 significant digits each round trip of these rounds one unit
    // differently, so the windows would rewrite each other for ever.
    const char* const triples[][3] = {{"11.2", "3.4", "9206560862142284"},
                                      {"42.5", "82.7", "9533868620643364"},
                                      {"84.7", "65.7", "30622560006247380"},
                                      {"86.721855122", "7178.7", "9053271753913770"}};
    for (const auto& t : triples) {
        for (bool depthFirst : {false, true}) {
            QTest::addRow("%s %s %s, %s", t[0], t[1], t[2],
                          depthFirst ? "depth first" : "layers first")
                << QString(t[0]) << QString(t[1]) << QString(t[2]) << depthFirst;
        }
    }
}

void DepthLinkTest::endlessExchangeEndsConsistent() {
    QFETCH(QString, surface);
    QFETCH(QString, level);
    QFETCH(QString, depth);
    QFETCH(bool, depthFirst);
    pasteAndCheck(*w_, surface, level, depth, depthFirst);
    // The bound was what ended it.
    QCOMPARE(w_->registry.depthLink().nestingPeak(), DepthLinkBridge::kNestingLimit);
}

// Pasted depths of 15 to 20 digits with layers of 1 to 20 digits, in both
// orders, from a fixed seed.
void DepthLinkTest::randomLongNumbersStayWithinBound() {
    std::mt19937 rng(20261208u);
    auto digits = [&rng](int count, bool point) {
        QString s = QString::number(std::uniform_int_distribution<int>(1, 9)(rng));
        while (s.size() < count)
            s += QString::number(std::uniform_int_distribution<int>(0, 9)(rng));
        if (point && count > 1)
            s.insert(std::uniform_int_distribution<int>(1, count - 1)(rng), u'.');
        return s;
    };
    for (int round = 0; round < 200; ++round) {
        TestWindows w;
        const QString surface = digits(std::uniform_int_distribution<int>(1, 20)(rng), round % 2);
        const QString level = digits(std::uniform_int_distribution<int>(1, 20)(rng), round % 3);
        const QString depth = digits(std::uniform_int_distribution<int>(15, 20)(rng), false);
        pasteAndCheck(w, surface, level, depth, round % 4 < 2);
        if (QTest::currentTestFailed())
            qWarning("after %s %s %s", qPrintable(surface), qPrintable(level), qPrintable(depth));
    }
}

QTEST_MAIN(DepthLinkTest)
#include "tst_depthlink.moc"
