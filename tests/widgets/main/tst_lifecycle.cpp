// SPDX-License-Identifier: GPL-3.0-or-later
// One window of each kind: built hidden when first reached, shown by the
// menu, destroyed with its typed values when closed, and all of them gone
// when the main window closes.

#include "support/patience.h"
#include "support/windowtest.h"

#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <memory>

using namespace zorva;
using namespace zorva::ui;

namespace {

int countConstructionWindows() {
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<ConstructionWindow*>(widget) != nullptr)
            ++count;
    }
    return count;
}

void chooseMenu(MainWindow& main, const char* name) {
    auto* action = main.menuBar()->findChild<QAction*>(name);
    QVERIFY(action != nullptr);
    action->trigger();
}

} // namespace

class LifecycleTest : public WindowTest {
    Q_OBJECT

private slots:
    void settingShowsOneWindowInFront();
    void settingCopiesNoValuesAndRunsNothing();
    void closingSettingsDiscardsTypedValues();
    void mainFieldChangeAfterCloseRebuildsSettingsHidden();
    void calculateAfterCloseUsesDefaultConstruction();
    void principleWindowIsBuiltOnceAndAnewAfterClose();
    void closingMainWindowEndsProgram();
};

void LifecycleTest::settingShowsOneWindowInFront() {
    MainWindow& main = w_->registry.start();
    QVERIFY(QTest::qWaitForWindowExposed(&main, kPatienceMs));
    chooseMenu(main, "setting");
    QPointer<ConstructionWindow> first = w_->registry.existingConstruction();
    QVERIFY(first != nullptr);
    QVERIFY(first->isVisible());
    QVERIFY(first->parentWidget() == nullptr);
    QVERIFY(!first->isModal());
    QTRY_VERIFY_WITH_TIMEOUT(first->isActiveWindow(), kPatienceMs);

    main.activateWindow();
    QTRY_VERIFY_WITH_TIMEOUT(main.isActiveWindow(), kPatienceMs);
    chooseMenu(main, "setting");
    QCOMPARE(w_->registry.existingConstruction(), first.data());
    QCOMPARE(countConstructionWindows(), 1);
    QTRY_VERIFY_WITH_TIMEOUT(first->isActiveWindow(), kPatienceMs);
    // The main window stays usable beside it.
    QVERIFY(main.isEnabled());
    QVERIFY(main.isVisible());
}

void LifecycleTest::settingCopiesNoValuesAndRunsNothing() {
    MainWindow& main = w_->registry.start();
    w_->field(4)->setText("100");
    chooseMenu(main, "setting");
    QCOMPARE(w_->thickness(2)->text(), QString("60"));
    QCOMPARE(w_->field(4)->text(), QString("100"));
    QCOMPARE(w_->results(), QStringList(7, QString()));
}

void LifecycleTest::closingSettingsDiscardsTypedValues() {
    MainWindow& main = w_->registry.start();
    chooseMenu(main, "setting");
    QPointer<ConstructionWindow> first = w_->registry.existingConstruction();
    w_->thickness(0)->setText("30");
    QCOMPARE(w_->field(4)->text(), QString("100"));

    first->close();
    QVERIFY(w_->registry.existingConstruction() == nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(first.isNull());

    chooseMenu(main, "setting");
    ConstructionWindow* second = w_->registry.existingConstruction();
    QVERIFY(second != nullptr);
    QVERIFY(second->isVisible());
    QCOMPARE(w_->thickness(0)->text(), QString("20"));
    QCOMPARE(w_->thickness(2)->text(), QString("50"));
    // The depth keeps its text until a main-window field changes.
    QCOMPARE(w_->field(4)->text(), QString("100"));

    w_->field(0)->setText("19");
    QCOMPARE(w_->thickness(2)->text(), QString("60"));
    QCOMPARE(w_->field(4)->text(), QString("100"));
}

void LifecycleTest::mainFieldChangeAfterCloseRebuildsSettingsHidden() {
    w_->registry.start();
    w_->registry.showConstruction();
    w_->thickness(1)->setText("25");
    QCOMPARE(w_->field(4)->text(), QString("95"));
    w_->construction().close();
    QVERIFY(w_->registry.existingConstruction() == nullptr);

    w_->field(0)->setText("19");
    ConstructionWindow* rebuilt = w_->registry.existingConstruction();
    QVERIFY(rebuilt != nullptr);
    QVERIFY(!rebuilt->isVisible());
    QCOMPARE(w_->thickness(1)->text(), QString("20"));
    QCOMPARE(w_->thickness(2)->text(), QString("55"));
}

void LifecycleTest::calculateAfterCloseUsesDefaultConstruction() {
    w_->registry.start();
    w_->conductivity(2)->setText("1.84");
    w_->construction().close();
    QCOMPARE(w_->main().calculate(), CalcOutcome::Converged);
    QCOMPARE(w_->main().workingVars().lambdaFill, 1.28);
    QCOMPARE(w_->results(), defaultResults());
}

void LifecycleTest::principleWindowIsBuiltOnceAndAnewAfterClose() {
    MainWindow& main = w_->registry.start();
    QVERIFY(w_->registry.existingPrinciple() == nullptr);

    PrincipleWindow* hidden = &w_->registry.principle();
    QVERIFY(!hidden->isVisible());
    chooseMenu(main, "principle");
    chooseMenu(main, "principle");
    QCOMPARE(w_->registry.existingPrinciple(), hidden);
    QVERIFY(hidden->isVisible());
    const QWidgetList windows = QApplication::topLevelWidgets();
    QCOMPARE(std::count_if(windows.begin(), windows.end(),
                           [](QWidget* w) {
                               return qobject_cast<PrincipleWindow*>(w) != nullptr &&
                                      w->isVisible();
                           }),
             1);

    QPointer<PrincipleWindow> closed = hidden;
    hidden->close();
    QVERIFY(w_->registry.existingPrinciple() == nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(closed.isNull(), kPatienceMs);
    chooseMenu(main, "principle");
    QVERIFY(w_->registry.existingPrinciple() != nullptr);
    QVERIFY(w_->registry.existingPrinciple()->isVisible());
}

void LifecycleTest::closingMainWindowEndsProgram() {
    MainWindow& main = w_->registry.start();
    QVERIFY(QTest::qWaitForWindowExposed(&main, kPatienceMs));
    w_->registry.showConstruction();
    w_->registry.showPrinciple();
    QPointer<PrincipleWindow> principle = w_->registry.existingPrinciple();

    QTimer::singleShot(0, &main, [&main] { main.close(); });
    // A program that never ends fails instead of hanging; the guard takes
    // the watchdog away with this test, so it never ends a later event loop.
    QObject watchdogGuard;
    QTimer::singleShot(kPatienceMs, &watchdogGuard, [] { QCoreApplication::exit(99); });
    QCOMPARE(QCoreApplication::exec(), 0);

    QVERIFY(!main.isVisible());
    QVERIFY(w_->registry.existingConstruction() == nullptr);
    QVERIFY(w_->registry.existingPrinciple() == nullptr);
    QVERIFY(principle.isNull() || !principle->isVisible());
}

QTEST_MAIN(LifecycleTest)
#include "tst_lifecycle.moc"
