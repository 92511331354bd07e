// SPDX-License-Identifier: GPL-3.0-or-later
// The project window on the flat example: every control reaches a screen
// reader by name, the files open and save through the dialog seam with
// the reason named when they fail, a typed outdoor temperature out of range
// is refused without an edit, and the room table's screenshot for the
// README (ZORVA_SCREENSHOT=docs/screenshot-project.png).

#include "support/fakedialogs.h"
#include "support/patience.h"
#include "widgets/cooling/seasonswindow.h"
#include "widgets/plan/planwindow.h"
#include "widgets/project/projectwindow.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using namespace zorva;
using namespace zorva::ui;

namespace {

const QString kFlat = QStringLiteral(ZORVA_TESTS_SOURCE_DIR "/../examples/flat.zorvaproj");

struct Fixture {
    FakeDialogs dialogs;
    ProjectWindow window{dialogs};

    bool openFlat() {
        dialogs.answerOpen(kFlat);
        if (!window.openProject())
            return false;
        window.document().waitForResult();
        return true;
    }
};

} // namespace

class ProjectWindowTest : public QObject {
    Q_OBJECT

private slots:
    void controlsHaveAccessibleNames_data();
    void controlsHaveAccessibleNames();
    void openEditSaveAndReopen();
    void badFilesNameTheReason_data();
    void badFilesNameTheReason();
    void outdoorTemperatureOutOfRangeIsRefused_data();
    void outdoorTemperatureOutOfRangeIsRefused();
    void viewsShowTheLatestResult();
    void screenshot();
};

void ProjectWindowTest::controlsHaveAccessibleNames_data() {
    QTest::addColumn<QString>("object");
    QTest::addColumn<QString>("name");
    QTest::newRow("window") << "projectWindow" << QStringLiteral("项目（房间与环路）");
    QTest::newRow("load method") << "loadMethod" << QStringLiteral("负荷计算方法");
    QTest::newRow("city") << "city" << QStringLiteral("城市");
    QTest::newRow("outdoor") << "outdoorTemp" << QStringLiteral("室外计算温度");
    QTest::newRow("allowance") << "allowance" << QStringLiteral("地面辐射供暖负荷折减");
    QTest::newRow("method") << "method" << QStringLiteral("计算方法");
    QTest::newRow("rooms") << "roomTable" << QStringLiteral("房间表");
    QTest::newRow("envelope") << "envelopeTable" << QStringLiteral("围护结构表");
    QTest::newRow("breakdown") << "breakdownTable" << QStringLiteral("热负荷构成表");
    QTest::newRow("add element") << "addElement" << QStringLiteral("添加围护结构");
    QTest::newRow("remove element") << "removeElement" << QStringLiteral("删除围护结构");
    QTest::newRow("manifold") << "manifold" << QStringLiteral("分集水器");
    QTest::newRow("design line") << "designLine" << QStringLiteral("分集水器设计");
    QTest::newRow("loops") << "loopTable" << QStringLiteral("环路表");
    QTest::newRow("manifold totals") << "manifoldTotals" << QStringLiteral("分集水器合计");
    QTest::newRow("project totals") << "projectTotals" << QStringLiteral("项目合计");
    QTest::newRow("status") << "projectStatus" << QStringLiteral("计算状态");
    QTest::newRow("tool bar") << "projectToolBar" << QStringLiteral("项目工具栏");
}

void ProjectWindowTest::controlsHaveAccessibleNames() {
    QFETCH(QString, object);
    QFETCH(QString, name);
    Fixture fx;
    QWidget* w =
        object == fx.window.objectName() ? &fx.window : fx.window.findChild<QWidget*>(object);
    QVERIFY2(w != nullptr, qPrintable(object));
    QCOMPARE(w->accessibleName(), name);
}

// Open the example, change a room's load and save it elsewhere; the saved
// file opens again with the change and the same room table.
void ProjectWindowTest::openEditSaveAndReopen() {
    Fixture fx;
    QVERIFY(fx.openFlat());
    QTableView* rooms = fx.window.roomTable();
    QCOMPARE(rooms->model()->rowCount(), 5);
    QVERIFY(fx.window.windowTitle().contains(QStringLiteral("flat.zorvaproj")));
    QVERIFY(rooms->model()->setData(rooms->model()->index(0, 0), QStringLiteral("起居室")));
    QVERIFY(fx.window.isWindowModified());
    fx.window.document().waitForResult();
    QStringList shown;
    for (int c = 0; c < rooms->model()->columnCount(); ++c)
        shown << rooms->model()->index(0, c).data().toString();

    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("副本"));
    fx.dialogs.answerSave(copy);
    QVERIFY(fx.window.saveProjectAs());
    QVERIFY(!fx.window.isWindowModified());
    QCOMPARE(fx.window.document().fileName(), copy + QStringLiteral(".zorvaproj"));

    Fixture again;
    again.dialogs.answerOpen(copy + QStringLiteral(".zorvaproj"));
    QVERIFY(again.window.openProject());
    again.window.document().waitForResult();
    QStringList reopened;
    for (int c = 0; c < rooms->model()->columnCount(); ++c)
        reopened << again.window.roomTable()->model()->index(0, c).data().toString();
    QCOMPARE(reopened, shown);
}

void ProjectWindowTest::badFilesNameTheReason_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    QTest::newRow("not JSON") << QByteArray("{ rooms") << QStringLiteral("第 1 行");
    QTest::newRow("other format") << QByteArray(R"({"format": "x", "version": 2})")
                                  << QStringLiteral("format");
    QTest::newRow("newer version")
        << QByteArray(R"({"format": "zorva-manifold", "version": 9})") << QStringLiteral("9");
}

// A file that does not read changes nothing and the box says why.
void ProjectWindowTest::badFilesNameTheReason() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    Fixture fx;
    QVERIFY(fx.openFlat());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("坏.zorvaproj"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    fx.dialogs.answerOpen(path);
    fx.dialogs.expectMessages(1);
    QVERIFY(!fx.window.openProject());
    QCOMPARE(fx.dialogs.messages().size(), 1);
    const QString text = fx.dialogs.messages().first().text;
    QVERIFY2(text.contains(path) && text.contains(reason), qPrintable(text));
    QCOMPARE(fx.window.document().fileName(), kFlat);
    QCOMPARE(fx.window.roomTable()->model()->rowCount(), 5);
}

void ProjectWindowTest::outdoorTemperatureOutOfRangeIsRefused_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("taken");
    QTest::newRow("−60 lowest") << QStringLiteral("-60") << true;
    QTest::newRow("below −60") << QStringLiteral("-60.1") << false;
    QTest::newRow("30 highest") << QStringLiteral("30") << true;
    QTest::newRow("above 30") << QStringLiteral("30.5") << false;
    QTest::newRow("full-width") << QStringLiteral("－１２") << true;
    QTest::newRow("not a number") << QStringLiteral("冷") << false;
}

void ProjectWindowTest::outdoorTemperatureOutOfRangeIsRefused() {
    QFETCH(QString, typed);
    QFETCH(bool, taken);
    Fixture fx;
    QVERIFY(fx.openFlat());
    auto* field = fx.window.findChild<QLineEdit*>(QStringLiteral("outdoorTemp"));
    QVERIFY(field != nullptr);
    if (!taken)
        fx.dialogs.expectMessages(1);
    field->setText(typed);
    emit field->editingFinished();
    const auto& climate = fx.window.document().project().settings.heatLoad.climate;
    QCOMPARE(climate.outdoorTemp.has_value(), taken);
    QCOMPARE(fx.window.document().undoStack().count(), taken ? 1 : 0);
    QCOMPARE(fx.dialogs.messages().size(), taken ? 0 : 1);
    if (!taken)
        QVERIFY(field->text().isEmpty());
}

// 平面布管图 draws one legend row per routed loop of the shown result, and
// a new result redraws it; 供暖和供冷 opens on the same project.
void ProjectWindowTest::viewsShowTheLatestResult() {
    Fixture fx;
    QVERIFY(fx.openFlat());
    const auto routedLoops = [&fx] {
        int n = 0;
        for (const project::RoomResult& room : fx.window.document().result().rooms)
            if (room.plan.routed())
                n += int(room.plan.layout->loops.size());
        return n;
    };
    const int before = routedLoops();
    QVERIFY(before > 0);
    fx.window.showPlan();
    auto* plan = fx.window.findChild<PlanWindow*>();
    QVERIFY(plan != nullptr);
    QCOMPARE(plan->legend()->topLevelItemCount(), before);

    // A room without its outline is no longer laid: the plan follows.
    project::Project changed = fx.window.document().project();
    changed.rooms[0].plan.outline.clear();
    fx.window.document().load(changed);
    fx.window.document().waitForResult();
    QVERIFY(routedLoops() < before);
    QTRY_COMPARE(fx.window.findChild<PlanWindow*>()->legend()->topLevelItemCount(), routedLoops());

    fx.window.showSeasons();
    auto* seasons = fx.window.findChild<SeasonsWindow*>();
    QVERIFY(seasons != nullptr);
    QVERIFY(seasons->isVisible());
}

void ProjectWindowTest::screenshot() {
    Fixture fx;
    QVERIFY(fx.openFlat());
    fx.window.roomTable()->selectRow(0);
    fx.window.resize(1600, 900);
    fx.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fx.window, kPatienceMs));
    const QPixmap shot = fx.window.grab();
    QVERIFY(!shot.isNull());
    const QString path = qEnvironmentVariable("ZORVA_SCREENSHOT");
    if (!path.isEmpty())
        QVERIFY(shot.save(path));
}

QTEST_MAIN(ProjectWindowTest)
#include "tst_projectwindow.moc"
