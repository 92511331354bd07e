// SPDX-License-Identifier: GPL-3.0-or-later
// The original windows' forms as a whole: every named control with its
// place, size, text, accessible name, tooltip, font and background, compared
// with the saved files in tests/golden/ (support/golden.h says how to write
// them anew after an intended change).

#include "support/golden.h"
#include "support/layoutdump.h"
#include "support/patience.h"
#include "support/windowtest.h"

#include <QTest>

#include <limits>

using namespace zorva;
using namespace zorva::ui;

class WindowLayoutsTest : public WindowTest {
    Q_OBJECT

private slots:
    void formMatchesItsGoldenFile_data();
    void formMatchesItsGoldenFile();
    void fieldsTakeAnyTextAndCanBeEdited();
};

void WindowLayoutsTest::formMatchesItsGoldenFile_data() {
    QTest::addColumn<QString>("window");
    QTest::newRow("main") << QStringLiteral("Zorva");
    QTest::newRow("construction") << QStringLiteral("shezhi");
    QTest::newRow("principle") << QStringLiteral("yuanli");
}

void WindowLayoutsTest::formMatchesItsGoldenFile() {
    QFETCH(QString, window);
    QWidget* shown = nullptr;
    if (window == QLatin1String("Zorva"))
        shown = &w_->main();
    else if (window == QLatin1String("shezhi"))
        shown = &w_->construction();
    else
        shown = &w_->registry.principle();
    QCOMPARE(shown->objectName(), window);
    shown->show();
    QVERIFY(QTest::qWaitForWindowExposed(shown, kPatienceMs));
    ZORVA_COMPARE_GOLDEN(window + QStringLiteral(".layout"), windowLayout(*shown));
}

// What a form file cannot say: no field cuts a pasted text short (Qt's
// default limit is 32,767 characters) and none is read-only.
void WindowLayoutsTest::fieldsTakeAnyTextAndCanBeEdited() {
    QList<QLineEdit*> fields = w_->main().findChildren<QLineEdit*>();
    fields << w_->construction().findChildren<QLineEdit*>();
    QCOMPARE(fields.size(), MainWindow::kFieldCount + 9);
    for (const QLineEdit* field : fields) {
        QCOMPARE(field->maxLength(), std::numeric_limits<int>::max());
        QVERIFY2(!field->isReadOnly(), qPrintable(field->objectName()));
    }
}

QTEST_MAIN(WindowLayoutsTest)
#include "tst_windowlayouts.moc"
