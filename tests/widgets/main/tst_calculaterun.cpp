// SPDX-License-Identifier: GPL-3.0-or-later
// The Calculate run as the user starts it: the button, Enter in any field,
// the documented designs, and the messages for runs without results.

#include "support/windowtest.h"

#include "widgets/dialogs/messages.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace zorva;
using namespace zorva::ui;

class CalculateRunTest : public WindowTest {
    Q_OBJECT

private slots:
    void resultsAreEmptyBeforeFirstRun();
    void clickOnCalculateShowsDefaultResults();
    void typedDesignAndEnterShowDocumentedResults_data();
    void typedDesignAndEnterShowDocumentedResults();
    void enterInAnyFieldRecalculates_data();
    void enterInAnyFieldRecalculates();
    void enterInResultFieldRecalculates();
    void enterTwiceRunsTwice();
    void typedOverResultStaysUntilNextRun();
    void leadingNumberOfInputIsUsed();
    void workingValuesHoldLastRun();
    void arithmeticFaultReportsAndKeepsResults_data();
    void arithmeticFaultReportsAndKeepsResults();
    void nonConvergingRunReportsAndKeepsResults();
    void resultWritesBringDepthLinkIntoStep();

private:
    void setDesign(const QStringList& inputs);
};

void CalculateRunTest::setDesign(const QStringList& inputs) {
    for (int i = 0; i < inputs.size(); ++i)
        w_->field(i)->setText(inputs[i]);
}

void CalculateRunTest::resultsAreEmptyBeforeFirstRun() {
    QCOMPARE(w_->results(), QStringList(7, QString()));
}

void CalculateRunTest::clickOnCalculateShowsDefaultResults() {
    QTest::mouseClick(w_->main().calculateButton(), Qt::LeftButton);
    QCOMPARE(w_->results(), defaultResults());
}

void CalculateRunTest::typedDesignAndEnterShowDocumentedResults_data() {
    QTest::addColumn<QStringList>("inputs"); // Txt(0) .. Txt(6), typed
    QTest::addColumn<QStringList>("results");

    QTest::newRow("defaults") << QStringList{"18", "50", "40", "300", "90", "20", "120"}
                              << defaultResults();
    QTest::newRow("small room") << QStringList{"20", "45", "35", "200", "90", "20", "80"}
                                << QStringList{"67.3", "26.7", "1.7", "25.7", "41.6", "93", "0.13"};
}

void CalculateRunTest::typedDesignAndEnterShowDocumentedResults() {
    QFETCH(QStringList, inputs);
    QFETCH(QStringList, results);

    for (int i = 0; i < inputs.size(); ++i) {
        if (i == 4)
            continue; // typing the depth digit by digit would move the layers
        retype(w_->field(i), inputs[i]);
    }
    QTest::keyClick(w_->field(6), Qt::Key_Return);
    QCOMPARE(w_->results(), results);
}

void CalculateRunTest::enterInAnyFieldRecalculates_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("key");
    for (int i = 0; i < MainWindow::kFieldCount; ++i)
        QTest::addRow("Txt(%d) Return", i) << i << int(Qt::Key_Return);
    QTest::newRow("keypad Enter") << 2 << int(Qt::Key_Enter);
}

void CalculateRunTest::enterInAnyFieldRecalculates() {
    QFETCH(int, index);
    QFETCH(int, key);

    QLineEdit* field = w_->field(index);
    QSignalSpy reached(field, &QLineEdit::returnPressed);
    QTest::keyClick(field, Qt::Key(key));
    QCOMPARE(w_->results(), defaultResults());
    // The key still reaches the field.
    QCOMPARE(reached.count(), 1);
}

void CalculateRunTest::enterInResultFieldRecalculates() {
    w_->main().calculate();
    w_->field(7)->setText("x");
    w_->field(12)->clear();
    QTest::keyClick(w_->field(13), Qt::Key_Return);
    QCOMPARE(w_->results(), defaultResults());
}

void CalculateRunTest::enterTwiceRunsTwice() {
    // Every run of this design ends in a fault, so each run shows itself.
    w_->field(2)->setText("50");
    w_->dialogs.expectMessages(2);
    QTest::keyClick(w_->field(0), Qt::Key_Return);
    QTest::keyClick(w_->field(0), Qt::Key_Return);
    QCOMPARE(w_->dialogs.messages().size(), 2);
}

void CalculateRunTest::typedOverResultStaysUntilNextRun() {
    w_->main().calculate();
    retype(w_->field(8), "hello");
    QCOMPARE(w_->field(8)->text(), QString("hello"));
    QCOMPARE(w_->field(4)->text(), QString("90"));
    QTest::mouseClick(w_->main().calculateButton(), Qt::LeftButton);
    QCOMPARE(w_->field(8)->text(), QString("27.1"));
}

void CalculateRunTest::leadingNumberOfInputIsUsed() {
    w_->field(0)->setText("18℃ room");
    w_->field(6)->setText(" 1 2 0 m");
    QCOMPARE(w_->main().calculate(), CalcOutcome::Converged);
    QCOMPARE(w_->results(), defaultResults());
}

void CalculateRunTest::workingValuesHoldLastRun() {
    setDesign({"20", "45", "35", "200", "90", "20", "80"});
    QCOMPARE(w_->main().calculate(), CalcOutcome::Converged);
    const zorva::WorkingVars& vars = w_->main().workingVars();
    QCOMPARE(vars.roomTemp, 20.0);
    QCOMPARE(vars.supplyTemp, 45.0);
    QCOMPARE(vars.returnTemp, 35.0);
    QCOMPARE(vars.thickFill, 50.0);
    QCOMPARE(QString::number(vars.heatOutput, 'f', 1), QString("67.3"));
}

void CalculateRunTest::arithmeticFaultReportsAndKeepsResults_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("fault");

    QTest::newRow("supply equals return") << 2 << "50" << int(zorva::Fault::DivisionByZero);
    QTest::newRow("water colder than room") << 0 << "60" << int(zorva::Fault::InvalidPower);
    QTest::newRow("zero spacing") << 3 << "0" << int(zorva::Fault::DivisionByZero);
}

void CalculateRunTest::arithmeticFaultReportsAndKeepsResults() {
    QFETCH(int, index);
    QFETCH(QString, text);
    QFETCH(int, fault);

    QTest::mouseClick(w_->main().calculateButton(), Qt::LeftButton);
    w_->field(index)->setText(text);
    w_->dialogs.expectMessages(1);
    QCOMPARE(w_->main().calculate(), CalcOutcome::Fault);

    QCOMPARE(w_->dialogs.messages().size(), 1);
    const auto& shown = w_->dialogs.messages().first();
    QCOMPARE(shown.title, QString("Zorva"));
    QCOMPARE(shown.text, arithmeticErrorText(zorva::Fault(fault), FaultSite::Calculation, true));
    // The results on screen are said to be the earlier run's.
    QVERIFY(shown.text.contains(QStringLiteral("上一次成功计算的结果")));
    QCOMPARE(shown.parent.data(), static_cast<QWidget*>(&w_->main()));
    QCOMPARE(w_->results(), defaultResults());
}

void CalculateRunTest::nonConvergingRunReportsAndKeepsResults() {
    QTest::mouseClick(w_->main().calculateButton(), Qt::LeftButton);
    setDesign({"25", "50", "30", "300", "90", "32", "10"});
    w_->dialogs.expectMessages(1);
    QTest::keyClick(w_->field(6), Qt::Key_Return);

    QCOMPARE(w_->dialogs.messages().size(), 1);
    const auto& shown = w_->dialogs.messages().first();
    QCOMPARE(shown.title, QString("Zorva"));
    QCOMPARE(shown.text, notConvergedText());
    QCOMPARE(w_->results(), defaultResults());
}

void CalculateRunTest::resultWritesBringDepthLinkIntoStep() {
    // A new construction window with default layers under a depth of 100: the
    // run itself uses the 50 mm filling layer, and its result writes then
    // put the filling layer in step with the depth.
    w_->thickness(0)->setText("30");
    QCOMPARE(w_->field(4)->text(), QString("100"));
    w_->construction().close();
    QCOMPARE(w_->main().calculate(), CalcOutcome::Converged);
    QCOMPARE(w_->results(), defaultResults());
    QCOMPARE(w_->thickness(0)->text(), QString("20"));
    QCOMPARE(w_->thickness(2)->text(), QString("60"));
    QCOMPARE(w_->field(4)->text(), QString("100"));
}

QTEST_MAIN(CalculateRunTest)
#include "tst_calculaterun.moc"
