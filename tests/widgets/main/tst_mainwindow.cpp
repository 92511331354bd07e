// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as built, beyond its form (tst_windowlayouts): client
// area, colours and fonts, names, keyboard order, menus and the start of the
// program.

#include "support/patience.h"
#include "support/windowtest.h"

#include <QAction>
#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>

#include <memory>

using namespace zorva;
using namespace zorva::ui;

namespace {

bool rendersAll(const QFont& font, const QString& text) {
    const QFontMetrics metrics(font);
    for (QChar c : text) {
        if (!metrics.inFont(c))
            return false;
    }
    return true;
}

} // namespace

class MainWindowTest : public WindowTest {
    Q_OBJECT

private slots:
    void clientAreaIsFixedSizeUnderMenuBar();
    void coloursAndFonts();
    void buttonAndLabelArrayNames();
    void chineseCaptionsRenderWithInstalledFont();
    void tabOrderFollowsTheForm();
    void menuItemsCarryNamesAndCaptions_data();
    void menuItemsCarryNamesAndCaptions();
    void cancelledPrintChangesNothing();
    void startShowsMainCentredWithSettingsHidden();
    void resizingMovesNothing();
};

void MainWindowTest::clientAreaIsFixedSizeUnderMenuBar() {
    MainWindow& main = w_->main();
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main, kPatienceMs));
    QCOMPARE(main.windowTitle(), QString("Zorva程序"));
    QCOMPARE(main.centralWidget()->size(), QSize(594, 408));
    QCOMPARE(main.centralWidget()->y(), main.menuBar()->height());
}

void MainWindowTest::coloursAndFonts() {
    MainWindow& main = w_->main();
    const QColor cyan(128, 255, 255);
    const QColor orange(255, 192, 128);
    QCOMPARE(main.centralWidget()->palette().color(QPalette::Window), cyan);
    QVERIFY(main.centralWidget()->autoFillBackground());
    for (const char* name : {"Frame1", "Frame2", "Frame4", "Lab_0", "Lab_8", "Lb_7", "Lb_20"}) {
        auto* widget = main.findChild<QWidget*>(name);
        QVERIFY2(widget != nullptr, name);
        QCOMPARE(widget->palette().color(QPalette::Window), orange);
        QVERIFY(widget->autoFillBackground());
    }
    auto* frame = main.findChild<QGroupBox*>("Frame1");
    QCOMPARE(frame->title(), QString("设计参数"));
    QCOMPARE(main.findChild<QGroupBox*>("Frame2")->title(), QString("计算结果"));
    QVERIFY(main.findChild<QGroupBox*>("Frame4")->title().isEmpty());
    QCOMPARE(frame->font().families().value(0), QString("宋体"));
    QCOMPARE(frame->font().pointSizeF(), 10.5);
    QCOMPARE(main.findChild<QLabel*>("Lab_8")->font().pointSizeF(), 9.0);
    QCOMPARE(main.findChild<QLabel*>("Lab_7")->font().pointSizeF(), 10.5);
    QCOMPARE(main.calculateButton()->font().families().value(0), QString("宋体"));
    QCOMPARE(w_->field(0)->font().families().value(0), QString("Times New Roman"));
    QCOMPARE(w_->field(0)->font().pointSizeF(), 10.5);
    QCOMPARE(main.findChild<QLabel*>("Lb_7")->font().families().value(0),
             QString("Times New Roman"));
    QCOMPARE(main.findChild<QLabel*>("Lb_7")->font().pointSizeF(), 10.5);
}

void MainWindowTest::buttonAndLabelArrayNames() {
    QPushButton* button = w_->main().calculateButton();
    QCOMPARE(button->objectName(), QString("Command1"));
    QCOMPARE(button->text(), QString("计算"));
    QCOMPARE(button->accessibleName(), QString("计算"));
    for (int missing = 14; missing < 20; ++missing)
        QVERIFY(w_->main().findChild<QLabel*>(QString("Lb_%1").arg(missing)) == nullptr);
    QCOMPARE(w_->main().findChildren<QLabel*>(QRegularExpression("^Lb_")).size(), 17);
}

void MainWindowTest::chineseCaptionsRenderWithInstalledFont() {
    // Without "宋体" or "Times New Roman" on the machine the fallbacks must
    // still carry every character of the captions.
    auto* caption = w_->main().findChild<QLabel*>("Lab_8");
    QVERIFY(rendersAll(caption->font(), caption->text()));
    auto* unit = w_->main().findChild<QLabel*>("Lb_0");
    QVERIFY(rendersAll(unit->font(), unit->text()));
    const QString family = QFontInfo(caption->font()).family();
    QVERIFY2(caption->font().families().contains(family), qPrintable(family));
}

void MainWindowTest::tabOrderFollowsTheForm() {
    MainWindow& main = w_->main();
    QStringList order;
    QWidget* widget = w_->field(7);
    do {
        if ((widget->focusPolicy() & Qt::TabFocus) && widget->window() == &main &&
            widget->isVisibleTo(&main))
            order << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget != w_->field(7));
    const QStringList expected{"Txt_7", "Txt_8", "Txt_9",  "Txt_4",    "Txt_3",
                               "Txt_2", "Txt_1", "Txt_0",  "Txt_10",   "Txt_12",
                               "Txt_5", "Txt_6", "Txt_11", "Command1", "Txt_13"};
    QCOMPARE(order, expected);
}

void MainWindowTest::menuItemsCarryNamesAndCaptions_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("underFile");
    auto item = [](const char* name, const char* caption, bool underFile) {
        QTest::newRow(name) << QString(name) << QString(caption) << underFile;
    };
    item("file", "文件", false);
    item("save", "保存文件", true);
    item("open", "打开文件", true);
    item("image", "保存图片", true);
    item("print", "打印图片", true);
    item("setting", "设置", false);
    item("principle", "原理", false);
    item("introdce", "说明", false);
    item("character", "特性", false);
    item("about", "关于", false);
}

void MainWindowTest::menuItemsCarryNamesAndCaptions() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(bool, underFile);
    QMenuBar* bar = w_->main().menuBar();
    auto* file = bar->findChild<QMenu*>("file");
    QVERIFY(file != nullptr);
    const QList<QAction*> actions = underFile ? file->actions() : bar->actions();
    QAction* found = nullptr;
    for (QAction* action : actions) {
        if (action->objectName() == name)
            found = action;
    }
    QVERIFY(found != nullptr);
    QCOMPARE(found->text(), caption);
    QVERIFY(found->shortcut().isEmpty());
    QCOMPARE(found->menu() != nullptr, name == "file");
}

void MainWindowTest::cancelledPrintChangesNothing() {
    MainWindow& main = w_->main();
    main.calculate();
    const QWidgetList before = QApplication::topLevelWidgets();
    w_->dialogs.answerPrint(false);
    main.menuBar()->findChild<QAction*>("print")->trigger();
    QCOMPARE(w_->dialogs.printRequests(), 1);
    QCOMPARE(QApplication::topLevelWidgets(), before);
    QCOMPARE(w_->results(), defaultResults());
    QVERIFY(w_->dialogs.messages().isEmpty());
}

void MainWindowTest::startShowsMainCentredWithSettingsHidden() {
    QVERIFY(w_->registry.existingMain() == nullptr);
    MainWindow& main = w_->registry.start();
    QVERIFY(QTest::qWaitForWindowExposed(&main, kPatienceMs));
    // The load step has built the construction window, hidden.
    QVERIFY(w_->registry.existingConstruction() != nullptr);
    QVERIFY(!w_->registry.existingConstruction()->isVisible());
    QCOMPARE(main.focusWidget(), static_cast<QWidget*>(w_->field(7)));
    const QRect screen = main.screen()->availableGeometry();
    QVERIFY(qAbs(main.frameGeometry().center().x() - screen.center().x()) <= 16);
    QVERIFY(qAbs(main.frameGeometry().center().y() - screen.center().y()) <= 40);
    QCOMPARE(w_->results(), QStringList(7, QString()));
    // The load step copied the construction window's defaults.
    QCOMPARE(main.workingVars().lambdaSurface, 2.91);
    QCOMPARE(main.workingVars().thickFill, 50.0);
    QCOMPARE(main.workingVars().roomTemp, 0.0);
}

void MainWindowTest::resizingMovesNothing() {
    MainWindow& main = w_->main();
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main, kPatienceMs));
    const QRect button = main.calculateButton()->geometry();
    const QRect frame = main.findChild<QWidget*>("Frame4")->geometry();
    main.resize(main.width() + 200, main.height() + 150);
    QTRY_COMPARE_WITH_TIMEOUT(main.centralWidget()->width(), 794, kPatienceMs);
    QCOMPARE(main.calculateButton()->geometry(), button);
    QCOMPARE(main.findChild<QWidget*>("Frame4")->geometry(), frame);
}

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
