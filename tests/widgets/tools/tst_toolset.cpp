// SPDX-License-Identifier: GPL-3.0-or-later
// The tools see the original windows through the session: a converged run
// of the main window is published with the texts it read, an edit of either
// window marks it, a design written back runs the depth link, and closing
// the main window asks the tool windows first.

#include "support/patience.h"
#include "support/windowtestkit.h"
#include "widgets/manifold/manifoldwindow.h"
#include "widgets/tools/toolset.h"

#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>

using namespace zorva;
using namespace zorva::models;
using namespace zorva::ui;

class ToolSetTest : public QObject {
    Q_OBJECT

private slots:
    void publishedRunMatchesTheResultFields_data() {
        QTest::addColumn<QString>("trigger");
        QTest::newRow("button") << "button";
        QTest::newRow("enter") << "enter";
    }
    void publishedRunMatchesTheResultFields() {
        QFETCH(QString, trigger);
        TestWindows w;
        ToolSet tools(w.registry, w.dialogs, nullptr);
        int published = 0;
        QObject::connect(&tools.session(), &DesignSession::calculated, [&] { ++published; });
        if (trigger == "button")
            w.main().calculateButton()->click();
        else
            QTest::keyClick(w.field(zorva::RoomTempField), Qt::Key_Return);
        QCOMPARE(published, 1);
        const auto& last = tools.session().lastCalculation();
        QVERIFY(last.has_value());
        QCOMPARE(QString::number(last->run.heatOutput, 'f', 1), w.field(7)->text());
        QCOMPARE(QString::number(last->run.waterFlow, 'f', 0), w.field(12)->text());
        QCOMPARE(last->fields.design[zorva::SupplyTempField], std::string("50"));
    }

    void faultedRunPublishesNothing() {
        TestWindows w;
        ToolSet tools(w.registry, w.dialogs, nullptr);
        w.dialogs.expectMessages(1);
        w.field(zorva::ReturnTempField)->setText(QStringLiteral("50")); // supply = return
        w.main().calculateButton()->click();
        QVERIFY(!tools.session().lastCalculation().has_value());
    }

    void editsOfEitherWindowMarkTheCalculation_data() {
        QTest::addColumn<QString>("window");
        QTest::newRow("main spacing") << "main";
        QTest::newRow("construction conductivity") << "construction";
    }
    void editsOfEitherWindowMarkTheCalculation() {
        QFETCH(QString, window);
        TestWindows w;
        ToolSet tools(w.registry, w.dialogs, nullptr);
        w.main().calculate();
        QVERIFY(!tools.session().editedSinceCalculation());
        if (window == "main")
            w.field(zorva::SpacingField)->setText(QStringLiteral("200"));
        else
            w.conductivity(zorva::SurfaceLayerRow)->setText(QStringLiteral("1.1"));
        QVERIFY(tools.session().editedSinceCalculation());
        QVERIFY(tools.session().lastCalculation().has_value());
    }

    void writtenDesignRunsTheDepthLink() {
        TestWindows w;
        ToolSet tools(w.registry, w.dialogs, nullptr);
        zorva::FieldRecord record = zorva::FieldRecord::defaults();
        record.thickness[zorva::SurfaceLayerRow] = "10";
        record.design[zorva::DepthField] = "80"; // 10 + 20 + 50
        record.design[zorva::SpacingField] = "150";
        tools.session().writeFields(record);
        const zorva::FieldRecord now = tools.session().currentFields();
        QCOMPARE(now.design[zorva::DepthField], std::string("80"));
        QCOMPARE(now.thickness[zorva::FillingLayerRow], std::string("50"));
        QCOMPARE(now.design[zorva::SpacingField], std::string("150"));
    }

    void toolsMenuFollowsTheOriginalMenus() {
        TestWindows w;
        ToolSet tools(w.registry, w.dialogs, nullptr);
        const QList<QAction*> menus = w.main().menuBar()->actions();
        QVERIFY(menus.size() >= 2);
        QCOMPARE(menus.at(menus.size() - 2)->text(), QStringLiteral("关于"));
        QCOMPARE(menus.last()->text(), QStringLiteral("工具"));
        QVERIFY(tools.windows().menu()->findChild<QAction*>("designCheck") != nullptr);
    }

    void manifoldSheetAsksBeforeTheProgramEnds() {
        TestWindows w;
        ToolSet tools(w.registry, w.dialogs, nullptr);
        auto* item = tools.windows().menu()->findChild<QAction*>("manifold");
        QVERIFY(item != nullptr);
        QCOMPARE(item->text(), QStringLiteral("多环路计算"));
        item->trigger();
        auto* sheet = qobject_cast<ManifoldWindow*>(tools.windows().existing("manifold"));
        QVERIFY(sheet != nullptr);
        QCOMPARE(sheet->manifold().thickness[2], 50.0); // the construction window's filling
        // Nothing unsaved: the main window closes without a question.
        QVERIFY(tools.windows().confirmEnd());
        sheet->sheet().addLoop(0, sheet->sheet().newLoop());
        w.dialogs.answerQuestion(QMessageBox::Cancel);
        QCloseEvent close;
        QApplication::sendEvent(&w.main(), &close);
        QVERIFY(!close.isAccepted());
        QVERIFY(sheet->isVisible());
        QCOMPARE(w.dialogs.questions().size(), 1);
        w.dialogs.answerQuestion(QMessageBox::Discard);
        QVERIFY(tools.windows().confirmEnd());
    }

    void manifoldReportExportsThePdf() {
        TestWindows w;
        ToolSet tools(w.registry, w.dialogs, nullptr);
        auto* sheet = qobject_cast<ManifoldWindow*>(tools.windows().show("manifold"));
        QVERIFY(sheet != nullptr);
        sheet->sheet().addLoop(0, sheet->sheet().newLoop());
        QTRY_VERIFY_WITH_TIMEOUT(sheet->resultsCurrent(), kPatienceMs);
        QVERIFY(sheet->reportAction()->isEnabled());
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("环路.pdf"));
        w.dialogs.answerSave(path);
        sheet->reportAction()->trigger();
        // Made and written in the background.
        QTRY_VERIFY_WITH_TIMEOUT(!sheet->reportJob().busy(), kPatienceMs);
        QVERIFY(sheet->reportAction()->isEnabled());
        QFile pdf(path);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.read(5) == "%PDF-");
        QVERIFY(pdf.size() > 1000);
    }
};

QTEST_MAIN(ToolSetTest)
#include "tst_toolset.moc"
