// SPDX-License-Identifier: GPL-3.0-or-later
// The construction window as built, beyond its form (tst_windowlayouts):
// window, frame line and button, keyboard order, and its OK button.

#include "support/patience.h"
#include "support/windowtest.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace zorva;
using namespace zorva::ui;

namespace {

QRect fromTwips(int left, int top, int width, int height) {
    return QRect(left / 15, top / 15, width / 15, height / 15);
}

} // namespace

class ConstructionWindowTest : public WindowTest {
    Q_OBJECT

private slots:
    void windowFrameLineAndButton();
    void tabOrderRunsRowByRow();
    void okHandsFocusToCalculate();
};

void ConstructionWindowTest::windowFrameLineAndButton() {
    ConstructionWindow& settings = w_->construction();
    QCOMPARE(settings.objectName(), QString("shezhi"));
    QCOMPARE(settings.windowTitle(), QString("Zorva"));
    QCOMPARE(settings.size(), QSize(336, 278));
    QVERIFY(!settings.isVisible());

    auto* line = settings.findChild<QFrame*>("Line1");
    QVERIFY(line != nullptr);
    QCOMPARE(line->geometry(), QRect(40, 144, 248, 1));
    QCOMPARE(line->palette().color(QPalette::Window), QColor(128, 128, 128));

    QPushButton* ok = settings.okButton();
    QCOMPARE(ok->objectName(), QString("Command1"));
    QCOMPARE(ok->text(), QString("OK"));
    QCOMPARE(ok->accessibleName(), QString("OK"));
    QCOMPARE(ok->geometry(), fromTwips(2040, 3240, 975, 375));
    QCOMPARE(ok->font().pointSizeF(), 10.5);
}

void ConstructionWindowTest::tabOrderRunsRowByRow() {
    ConstructionWindow& settings = w_->construction();
    QStringList order;
    QWidget* widget = w_->thickness(0);
    do {
        if ((widget->focusPolicy() & Qt::TabFocus) && widget->window() == &settings)
            order << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget != w_->thickness(0));
    const QStringList expected{"Txt1_0",  "Text1_0", "Txt1_1",  "Text1_1", "Txt1_2",
                               "Text1_2", "Txt1_3",  "Text1_3", "Txt1_5",  "Command1"};
    QCOMPARE(order, expected);
    QCOMPARE(settings.focusWidget(), static_cast<QWidget*>(w_->thickness(0)));
}

void ConstructionWindowTest::okHandsFocusToCalculate() {
    MainWindow& main = w_->registry.start();
    main.calculate();
    w_->registry.showConstruction();
    ConstructionWindow& settings = w_->construction();
    QVERIFY(QTest::qWaitForWindowExposed(&settings, kPatienceMs));
    w_->thickness(3)->setText("3");

    QTest::mouseClick(settings.okButton(), Qt::LeftButton);

    QCOMPARE(main.focusWidget(), static_cast<QWidget*>(main.calculateButton()));
    QTRY_VERIFY_WITH_TIMEOUT(main.isActiveWindow(), kPatienceMs);
    // The construction window stays open with its values; nothing is recalculated.
    QVERIFY(settings.isVisible());
    QCOMPARE(w_->thickness(3)->text(), QString("3"));
    QCOMPARE(w_->results(), defaultResults());
}

QTEST_MAIN(ConstructionWindowTest)
#include "tst_constructionwindow.moc"
