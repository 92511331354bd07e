// SPDX-License-Identifier: GPL-3.0-or-later
// The manifold window on the offscreen platform: the construction taken
// from the session, project save → open through the dialogs, bad project
// files that leave the sheet as it was, asking before unsaved work is
// dropped, the supply suggestion applied on confirmation, and the names
// assistive tools read.
//
// With ZORVA_SCREENSHOT set to a file name, `screenshot` writes the window
// with a five-loop dwelling.

#include "models/session/designsession.h"
#include "support/fakedialogs.h"
#include "support/patience.h"
#include "support/sheetexamplea.h"
#include "widgets/manifold/manifoldinputs.h"
#include "widgets/manifold/manifoldwindow.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace zorva;
using namespace zorva::models;
using namespace zorva::ui;

namespace {

LoopInput loop(const char* name, double room, double spacing, double length,
               std::optional<double> load = {}) {
    LoopInput l;
    l.name = name;
    l.roomTemp = room;
    l.spacingMm = spacing;
    l.lengthM = length;
    l.loadW = load;
    return l;
}

void dwelling(ManifoldSheet& s) {
    const LoopInput loops[] = {loop("客厅", 18, 200, 110, 1800), loop("主卧", 18, 200, 85, 1100),
                               loop("次卧", 18, 250, 70, 800), loop("厨房", 16, 250, 45, 450),
                               loop("卫生间", 24, 150, 40, 520)};
    for (const LoopInput& l : loops)
        s.addLoop(s.model().rowCount(), l);
}

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// While `command` runs, a writer comes to the named pipe whenever a reader
// waits in it, so that a reader that blocks is released (and then reads an
// empty file) instead of hanging the suite.
template <typename Command> void withWriterOnDemand(const QByteArray& fifo, Command command) {
    std::atomic<bool> done{false};
    std::thread writer([&] {
        while (!done) {
            const int fd = ::open(fifo.constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0)
                ::close(fd);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
    command();
    done = true;
    writer.join();
}

struct Fixture {
    DesignSession session;
    FakeDialogs dialogs;
    ManifoldWindow window{session, dialogs};
    QTemporaryDir dir;
    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
};

} // namespace

class ManifoldWindowTest : public QObject {
    Q_OBJECT

private slots:
    void takesTheConstructionFromTheSession() {
        DesignSession session;
        FieldRecord f = FieldRecord::defaults();
        f.thickness[0] = "15";
        f.conductivity[2] = "1.5";
        f.design[ReturnTempField] = "42";
        session.setFieldAccess([f] { return f; }, {});
        FakeDialogs dialogs;
        ManifoldWindow w(session, dialogs);
        QCOMPARE(w.manifold().thickness[0], 15.0);
        QCOMPARE(w.manifold().conductivity[2], 1.5);
        QCOMPARE(w.manifold().tempDiff, 8.0);
        QCOMPARE(w.inputs()->box(0)->value(), 50.0);
        QCOMPARE(w.windowTitle(), QStringLiteral("多环路计算[*]"));
        QVERIFY(!w.isWindowModified());
        // An edit in a box is one undo step and marks the title.
        w.inputs()->box(12)->setValue(7.5);
        QCOMPARE(w.manifold().allowance, 7.5);
        QVERIFY(w.isWindowModified());
        w.sheet().undoStack().undo();
        QCOMPARE(w.inputs()->box(12)->value(), 0.0);
        QVERIFY(!w.isWindowModified());
    }

    void savesAndOpensAProject() {
        Fixture fx;
        ManifoldWindow& w = fx.window;
        dwelling(w.sheet());
        const QString path = fx.path("家.zorvaproj");
        fx.dialogs.answerSave(fx.path("家"));
        QVERIFY(w.saveProject());
        QCOMPARE(w.projectPath(), path);
        QVERIFY(!w.isWindowModified());
        QCOMPARE(w.windowTitle(), QStringLiteral("多环路计算 - 家.zorvaproj[*]"));
        const QByteArray saved = fileBytes(path);
        QVERIFY(saved.contains("\"name\": \"卫生间\""));

        // Changed, then opened again: asks first, and 不保存 drops the change.
        w.sheet().deleteRows({0, 1});
        ManifoldInput m = w.manifold();
        m.supplyTemp = 41;
        w.sheet().setManifold(m, {});
        fx.dialogs.answerQuestion(QMessageBox::Discard);
        fx.dialogs.answerOpen(path);
        w.openProject();
        QCOMPARE(fx.dialogs.questions().size(), 1);
        QCOMPARE(w.loops().size(), std::size_t(5));
        QCOMPARE(QString::fromStdString(w.loops()[4].name), QStringLiteral("卫生间"));
        QCOMPARE(*w.loops()[0].loadW, 1800.0);
        QCOMPARE(w.manifold().supplyTemp, 50.0);
        QCOMPARE(w.inputs()->box(0)->value(), 50.0);
        QVERIFY(w.resultsCurrent());
        QVERIFY(!w.isWindowModified());
        QVERIFY(!w.sheet().undoStack().canUndo());
        // Saving again writes the same bytes to the same file, without asking.
        w.sheet().undoStack().resetClean();
        QVERIFY(w.saveProject());
        QCOMPARE(fileBytes(path), saved);
        QCOMPARE(fx.dialogs.pendingExpectations(), 0);
    }

    void badProjectLeavesTheSheet_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("says");
        const QByteArray head = R"({"format": "zorva-manifold", "version": 1, "manifold": )";
        const QByteArray manifold =
            R"({"supplyTemp": 45, "tempDiff": 10, "surfaceThickness": 20, "levelThickness": 20,
            "fillThickness": 50, "pipeWallThickness": 2, "surfaceConductivity": 2.91,
            "levelConductivity": 1.84, "fillConductivity": 1.28, "pipeConductivity": 0.41,
            "pipeDiameter": 20, "elbows": 2, "allowance": 0})";
        QTest::newRow("broken JSON") << head + manifold + ",\n \"loops\": [}"
                                     << "第 5 行第 13 列";
        QTest::newRow("newer version")
            << QByteArray(R"({"format": "zorva-manifold", "version": 7})") << "版本";
        QTest::newRow("value out of range")
            << head + manifold +
                   R"(, "loops": [{"roomTemp": 18, "spacing": 200, "length": 80},
                   {"name": "书房", "roomTemp": 18, "spacing": 5, "length": 80}]})"
            << "第 2 个环路（书房）";
        QTest::newRow("wrong type")
            << head + manifold + R"(, "loops": [{"roomTemp": "18", "spacing": 200, "length": 80}]})"
            << "室内温度";
        QTest::newRow("not a project") << QByteArray("[1, 2]") << "";
    }

    void badProjectLeavesTheSheet() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, says);
        Fixture fx;
        ManifoldWindow& w = fx.window;
        dwelling(w.sheet());
        const QString path = fx.path("bad.zorvaproj");
        writeBytes(path, bytes);
        fx.dialogs.answerQuestion(QMessageBox::Discard);
        fx.dialogs.answerOpen(path);
        fx.dialogs.expectMessages(1);
        w.openProject();
        QCOMPARE(fx.dialogs.messages().size(), 1);
        const QString text = fx.dialogs.messages().first().text;
        QVERIFY2(text.contains(QStringLiteral("无法打开项目")) && text.contains(says),
                 qPrintable(text));
        QCOMPARE(w.loops().size(), std::size_t(5));
        QCOMPARE(QString::fromStdString(w.loops()[0].name), QStringLiteral("客厅"));
        QVERIFY(w.isWindowModified()); // still the unsaved sheet
        QVERIFY(w.projectPath().isEmpty());
    }

    // 打开项目 and 导入CSV on a named pipe: refused at once with the main
    // window's words, the sheet left as it was.
    void namedPipeIsRefused_data() {
        QTest::addColumn<bool>("project"); // else the CSV import
        QTest::newRow("open project") << true;
        QTest::newRow("import CSV") << false;
    }

    void namedPipeIsRefused() {
        QFETCH(bool, project);
        Fixture fx;
        ManifoldWindow& w = fx.window;
        dwelling(w.sheet());
        const QString path = fx.path(project ? "pipe.zorvaproj" : "pipe.csv");
        const QByteArray fifo = QFile::encodeName(path);
        QCOMPARE(::mkfifo(fifo.constData(), 0600), 0);
        if (project)
            fx.dialogs.answerQuestion(QMessageBox::Discard);
        fx.dialogs.answerOpen(path);
        fx.dialogs.expectMessages(1);
        withWriterOnDemand(fifo, [&] { project ? w.openProject() : w.importCsv(); });
        const QString text = fx.dialogs.messages().value(0).text;
        QVERIFY2(text.contains(QStringLiteral("“%1”不是普通文件，未读取。").arg(path)),
                 qPrintable(text));
        QCOMPARE(w.loops().size(), std::size_t(5));
    }

    void asksBeforeClosingUnsavedWork() {
        Fixture fx;
        ManifoldWindow& w = fx.window;
        w.show();
        QVERIFY(w.close()); // nothing to lose: no question
        w.show();
        dwelling(w.sheet());
        fx.dialogs.answerQuestion(QMessageBox::Cancel);
        QVERIFY(!w.close());
        QVERIFY(w.isVisible());
        QCOMPARE(fx.dialogs.questions().last().buttons,
                 QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        // 保存 with the save dialog cancelled keeps the window.
        fx.dialogs.answerQuestion(QMessageBox::Save);
        fx.dialogs.answerSave(QString());
        QVERIFY(!w.confirmClose());
        // Ending the program asks the same way; 保存 writes the project.
        fx.dialogs.answerQuestion(QMessageBox::Save);
        fx.dialogs.answerSave(fx.path("end.zorvaproj"));
        QVERIFY(w.confirmClose());
        QVERIFY(!fileBytes(fx.path("end.zorvaproj")).isEmpty());
        QVERIFY(w.close()); // saved: nothing more to ask
        w.show();
        w.sheet().deleteRows({0});
        fx.dialogs.answerQuestion(QMessageBox::Discard);
        QVERIFY(w.close());
        QCOMPARE(fx.dialogs.pendingExpectations(), 0);
    }

    void appliesTheSuggestedSupplyWhenConfirmed() {
        Fixture fx;
        ManifoldWindow& w = fx.window;
        dwelling(w.sheet());
        fx.dialogs.answerQuestion(QMessageBox::No);
        w.sheet().startSupplySuggestion();
        w.sheet().waitForIdle();
        QCOMPARE(w.manifold().supplyTemp, 50.0);
        const QString asked = fx.dialogs.questions().last().text;
        QVERIFY2(asked.contains(QStringLiteral("个环路（")), qPrintable(asked));
        fx.dialogs.answerQuestion(QMessageBox::Yes);
        w.sheet().startSupplySuggestion();
        w.sheet().waitForIdle();
        QVERIFY(w.manifold().supplyTemp != 50.0);
        QVERIFY(asked.contains(QString::number(w.manifold().supplyTemp, 'f', 1) + " ℃"));
        w.sheet().undoStack().undo();
        QCOMPARE(w.inputs()->box(0)->value(), 50.0);
    }

    // The difference search says what it found, which rule bounded it and
    // what it cannot serve, and writes only when the user answers 是.
    void writesTheDifferencesWhenConfirmed() {
        Fixture fx;
        ManifoldWindow& w = fx.window;
        dwelling(w.sheet());
        const int steps = w.sheet().undoStack().count();
        fx.dialogs.answerQuestion(QMessageBox::No);
        w.sheet().startDiffSearch();
        w.sheet().waitForIdle();
        const QString asked = fx.dialogs.questions().last().text;
        QVERIFY2(asked.contains(QStringLiteral("温差 5~10 ℃，流速 ≥ 0.25 m/s")), qPrintable(asked));
        QVERIFY(asked.contains(QStringLiteral("以下环路在校核限值内无法满足")));
        QVERIFY(asked.contains(QStringLiteral("第 1 个环路（客厅）：")));
        QCOMPARE(w.sheet().undoStack().count(), steps);
        for (const LoopInput& l : w.sheet().loops())
            QVERIFY(!l.ownTempDiff);
        fx.dialogs.answerQuestion(QMessageBox::Yes);
        w.sheet().startDiffSearch();
        w.sheet().waitForIdle();
        QCOMPARE(w.sheet().undoStack().count(), steps + 1);
        QVERIFY(w.sheet().loops()[0].ownTempDiff);
        const double d = *w.sheet().loops()[0].ownTempDiff;
        QVERIFY(d >= 5 && d <= 10);
        QCOMPARE(fx.dialogs.pendingExpectations(), 0);
    }

    void exchangesDesignsWithTheMainWindow() {
        DesignSession session;
        FieldRecord main = FieldRecord::defaults();
        main.design[SpacingField] = "150";
        main.design[LoopLengthField] = "80";
        FieldRecord written;
        session.setFieldAccess([&main] { return main; },
                               [&written](const FieldRecord& f) { written = f; });
        CheckLimits limits;
        limits.loadPerArea = 75;
        session.setLimits(limits);
        FakeDialogs dialogs;
        ManifoldWindow w(session, dialogs);
        // The main window's run is the program's method.
        w.sheet().setMethod(method::Method::Program);
        w.addFromMain();
        QCOMPARE(w.loops().size(), std::size_t(1));
        QCOMPARE(w.loops()[0].spacingMm, 150.0);
        QCOMPARE(*w.loops()[0].loadW, 75 * 80 * 0.15); // 900 W
        LoopInput l = w.loops()[0];
        l.roomTemp = 20;
        l.ownTempDiff = 6;
        w.sheet().setLoop(0, l);
        w.table()->selectRow(0);
        w.openInMain();
        QCOMPARE(written.design[RoomTempField], std::string("20"));
        QCOMPARE(written.design[SupplyTempField], std::string("50"));
        QCOMPARE(written.design[ReturnTempField], std::string("44"));
        QCOMPARE(written.design[LoopLengthField], std::string("80"));
        QCOMPARE(written.design[DepthField], std::string("90"));
        // The main window's run of what was written is the loop's result.
        QCOMPARE(double(evaluateDesign(written).heatOutput), w.results()[0].heatOutput);
    }

    void exportsAndImportsCsv() {
        Fixture fx;
        ManifoldWindow& w = fx.window;
        dwelling(w.sheet());
        const QString path = fx.path("loops.csv");
        fx.dialogs.answerSave(fx.path("loops"));
        w.exportCsv();
        const QByteArray csv = fileBytes(path);
        QVERIFY(csv.startsWith("\xEF\xBB\xBF"));
        QCOMPARE(csv.count("\r\n"), 6);
        const QList<LoopInput> before(w.loops().begin(), w.loops().end());
        w.sheet().deleteRows({0, 1, 2, 3});
        ManifoldInput m = w.manifold();
        m.allowance = 3;
        w.sheet().setManifold(m, {});
        fx.dialogs.answerOpen(path);
        w.importCsv();
        QCOMPARE(w.loops().size(), std::size_t(5));
        for (int i = 0; i < 5; ++i)
            QVERIFY(sameLoop(w.loops()[std::size_t(i)], before[i]));
        QCOMPARE(w.manifold().allowance, 0.0); // the file's manifold columns
        w.sheet().undoStack().undo();          // one step
        QCOMPARE(w.loops().size(), std::size_t(1));
        QCOMPARE(w.manifold().allowance, 3.0);
        // A bad value names its line and leaves the sheet.
        writeBytes(path, csv.left(csv.indexOf("\r\n") + 2) + "客厅,18,5,100\r\n");
        fx.dialogs.answerOpen(path);
        fx.dialogs.expectMessages(1);
        w.importCsv();
        QVERIFY2(fx.dialogs.messages().last().text.contains(QStringLiteral("第 2 行")),
                 qPrintable(fx.dialogs.messages().last().text));
        QCOMPARE(w.loops().size(), std::size_t(1));
        fx.dialogs.answerQuestion(QMessageBox::Discard);
    }

    void namesForAssistiveTools() {
        Fixture fx;
        QCOMPARE(fx.window.table()->accessibleName(), QStringLiteral("环路表"));
        const auto boxes = fx.window.inputs()->findChildren<QDoubleSpinBox*>();
        QCOMPARE(boxes.size(), 13);
        for (QDoubleSpinBox* box : boxes)
            QVERIFY2(!box->accessibleName().isEmpty(), qPrintable(box->objectName()));
        QCOMPARE(fx.window.inputs()->box(12)->accessibleName(),
                 QStringLiteral("分集水器及连接阻力(kPa)"));
    }

    // 计算方法: a new sheet by EN 1264-2; the choice an undo step that the
    // combo, the header and the summary follow; 新建 after an old file
    // starts by the standard again.
    void methodChoice_data() {
        QTest::addColumn<int>("pick");
        QTest::addColumn<QString>("header");
        QTest::addColumn<QString>("summaryStart");
        QTest::newRow("本程序方法") << 0 << QStringLiteral("散热量 (本程序方法)(W/m²)")
                                    << QStringLiteral("计算方法：本程序方法（");
        QTest::newRow("EN 1264-2") << 1 << QStringLiteral("散热量 (EN 1264-2)(W/m²)")
                                   << QStringLiteral("计算方法：EN 1264-2，EN 1264-3 设计：");
    }

    void methodChoice() {
        QFETCH(int, pick);
        QFETCH(QString, header);
        QFETCH(QString, summaryStart);
        Fixture fx;
        ManifoldWindow& w = fx.window;
        QComboBox* choice = w.methodChoice();
        QCOMPARE(choice->objectName(), QStringLiteral("methodChoice"));
        QCOMPARE(choice->accessibleName(), QStringLiteral("计算方法"));
        QCOMPARE(choice->currentText(), QStringLiteral("EN 1264-2"));
        QCOMPARE(w.sheet().method(), method::Method::En1264);
        w.sheet().setMethod(method::Method::Program);
        w.sheet().undoStack().clear();
        dwelling(w.sheet());
        const auto headerText = [&] {
            return w.table()
                ->model()
                ->headerData(models::ManifoldModel::HeatOutput, Qt::Horizontal)
                .toString();
        };
        choice->setCurrentIndex(pick);
        emit choice->activated(pick);
        QCOMPARE(headerText(), header);
        QVERIFY2(w.designSummary()->text().startsWith(summaryStart),
                 qPrintable(w.designSummary()->text()));
        QCOMPARE(w.findChild<QAction*>(QStringLiteral("diffSearch"))->isEnabled(), pick == 0);
        w.sheet().undoStack().undo();
        w.sheet().undoStack().undo();
        QCOMPARE(choice->currentText(), QStringLiteral("本程序方法"));
        QCOMPARE(headerText(), QStringLiteral("散热量 (本程序方法)(W/m²)"));
        fx.dialogs.answerQuestion(QMessageBox::Discard);
        w.newProject();
        QCOMPARE(choice->currentText(), QStringLiteral("EN 1264-2"));
        QCOMPARE(w.loops().size(), std::size_t(0));
        QVERIFY(!w.isWindowModified());
    }

    // The README's manifold designed by EN 1264-3: the worked example.
    void screenshotStandard() {
        Fixture fx;
        ManifoldWindow& w = fx.window;
        zorva::test::typeExampleA(w.sheet());
        w.table()->selectRow(3);
        w.resize(2300, 600);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w, kPatienceMs));
        QVERIFY(w.designSummary()->text().contains(QStringLiteral("42.70")));
        const QPixmap shot = w.grab();
        QVERIFY(!shot.isNull());
        const QString path = qEnvironmentVariable("ZORVA_SCREENSHOT");
        if (!path.isEmpty())
            QVERIFY(shot.save(path));
        fx.dialogs.answerQuestion(QMessageBox::Discard);
    }

    void screenshot() {
        Fixture fx;
        ManifoldWindow& w = fx.window;
        dwelling(w.sheet());
        w.inputs()->box(0)->setValue(45);
        w.table()->selectRow(4);
        w.resize(1700, 480);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w, kPatienceMs));
        const QPixmap shot = w.grab();
        QVERIFY(!shot.isNull());
        const QString path = qEnvironmentVariable("ZORVA_SCREENSHOT");
        if (!path.isEmpty())
            QVERIFY(shot.save(path));
        fx.dialogs.answerQuestion(QMessageBox::Discard);
    }
};

QTEST_MAIN(ManifoldWindowTest)
#include "tst_manifoldwindow.moc"
