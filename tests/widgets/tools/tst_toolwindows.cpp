// SPDX-License-Identifier: GPL-3.0-or-later
// The tools menu keeps one window of each kind, builds it again after the
// user closed it, places it beside the main window, and lets a window with
// unsaved work stop the program from ending. The design session keeps the
// check limits between runs and falls back to defaults for damaged values.

#include "models/session/designsession.h"
#include "support/patience.h"
#include "widgets/tools/toolwindows.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace zorva;
using namespace zorva::models;
using namespace zorva::ui;

namespace {

class GuardedWindow : public QWidget, public CloseGuard {
public:
    explicit GuardedWindow(bool allow) : allow_(allow) {}
    bool confirmClose() override {
        ++asked;
        return allow_;
    }
    int asked = 0;

private:
    bool allow_;
};

} // namespace

class ToolWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void oneInstanceRebuiltAfterClose() {
        QMainWindow main;
        main.menuBar()->addMenu(QStringLiteral("关于"));
        main.setGeometry(100, 100, 300, 200);
        main.show();
        ToolWindows tools(main);
        int built = 0;
        tools.addWindow("probe", QStringLiteral("探针"), [&built] {
            ++built;
            auto* w = new QWidget;
            w->resize(200, 150);
            return w;
        });
        // The tools menu comes after the last existing menu.
        const QList<QAction*> menus = main.menuBar()->actions();
        QCOMPARE(menus.last()->text(), QStringLiteral("工具"));

        QAction* item = tools.menu()->findChild<QAction*>(QStringLiteral("probe"));
        QVERIFY(item != nullptr);
        item->trigger();
        item->trigger();
        QCOMPARE(built, 1);
        QPointer<QWidget> first = tools.existing(QStringLiteral("probe"));
        QVERIFY(first != nullptr);
        QVERIFY(first->isVisible());
        QCOMPARE(first->objectName(), QStringLiteral("probe"));
        QCOMPARE(first->size(), QSize(200, 150)); // its own size, kept
        QVERIFY(first->frameGeometry().left() > main.frameGeometry().right() ||
                first->frameGeometry().right() < main.frameGeometry().left());

        first->close();
        QTRY_VERIFY_WITH_TIMEOUT(first.isNull(), kPatienceMs);
        QVERIFY(tools.existing(QStringLiteral("probe")) == nullptr);
        item->trigger();
        QCOMPARE(built, 2);
    }

    void oversizedWindowFitsTheScreen() {
        QMainWindow main;
        main.setGeometry(50, 50, 300, 200);
        main.show();
        ToolWindows tools(main);
        tools.addWindow("huge", QStringLiteral("大"), [] {
            auto* w = new QWidget;
            w->resize(5000, 4000);
            return w;
        });
        QWidget* window = tools.show(QStringLiteral("huge"));
        const QRect free = main.screen()->availableGeometry();
        QVERIFY2(free.contains(window->frameGeometry()),
                 qPrintable(QStringLiteral("%1,%2 %3x%4 in %5x%6")
                                .arg(window->frameGeometry().x())
                                .arg(window->frameGeometry().y())
                                .arg(window->frameGeometry().width())
                                .arg(window->frameGeometry().height())
                                .arg(free.width())
                                .arg(free.height())));
    }

    void endAskedOfOpenWindows_data() {
        QTest::addColumn<bool>("allow");
        QTest::newRow("saved or not saved") << true;
        QTest::newRow("cancelled") << false;
    }
    void endAskedOfOpenWindows() {
        QFETCH(bool, allow);
        QMainWindow main;
        ToolWindows tools(main);
        GuardedWindow* made = nullptr;
        tools.addWindow("sheet", QStringLiteral("表"),
                        [&] { return made = new GuardedWindow(allow); });
        tools.addWindow("other", QStringLiteral("别"), [] { return new QWidget; });
        QVERIFY(tools.confirmEnd()); // nothing open yet: nothing to ask
        tools.show(QStringLiteral("other"));
        tools.show(QStringLiteral("sheet"));
        QCOMPARE(tools.confirmEnd(), allow);
        QCOMPARE(made->asked, 1);
    }

    void limitsKeptAndDamagedValuesIgnored_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<bool>("keptDefault");
        QTest::newRow("velocity in range") << "minVelocity" << QVariant(0.3) << false;
        QTest::newRow("velocity not a number") << "minVelocity" << QVariant("abc") << true;
        QTest::newRow("resistance negative") << "maxResistance" << QVariant(-1) << true;
        QTest::newRow("category beyond list") << "category" << QVariant(6) << true;
        QTest::newRow("category last") << "category" << QVariant(5) << false;
        QTest::newRow("load zero") << "loadPerArea" << QVariant(0) << true;
    }
    void limitsKeptAndDamagedValuesIgnored() {
        QFETCH(QString, key);
        QFETCH(QVariant, stored);
        QFETCH(bool, keptDefault);
        QTemporaryDir dir;
        QSettings settings(dir.filePath(QStringLiteral("z.ini")), QSettings::IniFormat);
        settings.setValue(QStringLiteral("designCheck/") + key, stored);
        const CheckLimits loaded = loadCheckLimits(settings);
        const CheckLimits defaults;
        const bool isDefault = loaded.minVelocity == defaults.minVelocity &&
                               loaded.maxResistance == defaults.maxResistance &&
                               loaded.category == defaults.category && !loaded.loadPerArea;
        QCOMPARE(isDefault, keptDefault);
    }

    void limitsSurviveTheSession() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("z.ini"));
        {
            QSettings settings(path, QSettings::IniFormat);
            DesignSession session(&settings);
            CheckLimits limits = session.limits();
            limits.loadPerArea = 100;
            limits.category = RoomCategory::Bathroom;
            limits.maxResistance = 50;
            session.setLimits(limits);
        }
        QSettings settings(path, QSettings::IniFormat);
        DesignSession again(&settings);
        QCOMPARE(again.limits().loadPerArea.value_or(0), 100.0);
        QCOMPARE(again.limits().category, RoomCategory::Bathroom);
        QCOMPARE(again.limits().maxResistance, 50.0);
    }

    void editAfterCalculationMarksIt() {
        DesignSession session;
        QVERIFY(!session.lastCalculation());
        session.publishCalculation(CalculatedDesign{FieldRecord::defaults(), Evaluation{}});
        QVERIFY(!session.editedSinceCalculation());
        session.noteInputsEdited();
        QVERIFY(session.editedSinceCalculation());
        session.publishCalculation(CalculatedDesign{FieldRecord::defaults(), Evaluation{}});
        QVERIFY(!session.editedSinceCalculation());
    }
};

QTEST_MAIN(ToolWindowsTest)
#include "tst_toolwindows.moc"
