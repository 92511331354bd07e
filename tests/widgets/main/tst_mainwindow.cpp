// The main window as built: texts, places, fonts, colours, names, keyboard
// order, menus and the start of the program.

#include "support/patience.h"
#include "support/windowtestkit.h"

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
#include <limits>

#include <memory>

using namespace zorva;
using namespace zorva::models;
using namespace zorva::ui;

namespace {

constexpr int kRowTop[] = {360, 960, 1320, 2040, 2400, 3240, 3600,
                           360, 840, 1320, 360,  720,  1080, 1440};

QRect fromTwips(int left, int top, int width, int height) {
    return QRect(left / 15, top / 15, width / 15, height / 15);
}

bool rendersAll(const QFont& font, const QString& text) {
    const QFontMetrics metrics(font);
    for (QChar c : text) {
        if (!metrics.inFont(c))
            return false;
    }
    return true;
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() { w_ = std::make_unique<TestWindows>(); }
    void cleanup() {
        QVERIFY(w_->dialogs.unexpected().isEmpty());
        w_.reset();
    }

    void field_defaults_data();
    void field_defaults();
    void client_area_is_fixed_size_under_menu_bar();
    void controls_sit_at_their_places_data();
    void controls_sit_at_their_places();
    void rows_carry_caption_unit_and_names_data();
    void rows_carry_caption_unit_and_names();
    void colours_and_fonts();
    void button_and_label_array_names();
    void chinese_captions_render_with_installed_font();
    void tab_order_follows_the_form();
    void menu_items_carry_names_and_captions_data();
    void menu_items_carry_names_and_captions();
    void cancelled_print_changes_nothing();
    void start_shows_main_centred_with_settings_hidden();
    void resizing_moves_nothing();

private:
    std::unique_ptr<TestWindows> w_;
};

void MainWindowTest::field_defaults_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    const char* defaults[] = {"18", "50", "40", "300", "90", "20", "120"};
    for (int i = 0; i < MainWindow::kFieldCount; ++i)
        QTest::addRow("Txt(%d)", i) << i << QString(i < 7 ? defaults[i] : "");
}

void MainWindowTest::field_defaults() {
    QFETCH(int, index);
    QFETCH(QString, text);
    QLineEdit* field = w_->field(index);
    QCOMPARE(field->text(), text);
    QCOMPARE(field->objectName(), QStringLiteral("Txt_%1").arg(index));
    QVERIFY(!field->isReadOnly());
    // No length limit: a pasted text is never cut short.
    QCOMPARE(field->maxLength(), std::numeric_limits<int>::max());
    QCOMPARE(field->size(), QSize(57, 21));
}

void MainWindowTest::client_area_is_fixed_size_under_menu_bar() {
    MainWindow& main = w_->main();
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main, kPatienceMs));
    QCOMPARE(main.windowTitle(), QString("Zorva程序"));
    QCOMPARE(main.centralWidget()->size(), QSize(594, 408));
    QCOMPARE(main.centralWidget()->y(), main.menuBar()->height());
}

void MainWindowTest::controls_sit_at_their_places_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("place");
    auto place = [](const char* name, const char* parent, QRect rect) {
        QTest::newRow(name) << QString(name) << QString(parent) << rect;
    };
    place("Frame1", "client", fromTwips(720, 480, 3735, 4215));
    place("Frame2", "client", fromTwips(4440, 480, 3735, 1815));
    place("Frame4", "client", fromTwips(4440, 2280, 3735, 2415));
    place("Command1", "client", fromTwips(3960, 5160, 975, 375));
    for (int i = 0; i < MainWindow::kFieldCount; ++i) {
        const char* frame = i < 7 ? "Frame1" : i < 10 ? "Frame2" : "Frame4";
        QTest::addRow("Txt(%d)", i) << QString("Txt_%1").arg(i) << QString(frame)
                                    << fromTwips(i < 7 ? 1560 : 1800, kRowTop[i], 855, 315);
    }
    // Units, and the small "2" raised after "W/m".
    place("Lb_0", "Frame1", fromTwips(2520, 360, 315, 255));
    place("Lb_4", "Frame1", fromTwips(2520, 2400, 315, 315));
    place("Lb_7", "Frame2", fromTwips(2880, 360, 435, 255));
    place("Lb_9", "Frame2", fromTwips(2880, 1320, 555, 255));
    place("Lb_11", "Frame4", fromTwips(2880, 720, 675, 255));
    place("Lb_13", "Frame4", fromTwips(2880, 1440, 555, 255));
    place("Lb_20", "Frame2", fromTwips(3300, 360, 195, 255));
    place("Lb_21", "Frame4", fromTwips(3300, 360, 195, 255));
    place("Lb_22", "Frame4", fromTwips(3300, 720, 195, 255));
    // The one caption that does not size itself.
    place("Lab_1", "Frame1", fromTwips(600, 960, 855, 210));
}

void MainWindowTest::controls_sit_at_their_places() {
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QRect, place);
    auto* widget = w_->main().findChild<QWidget*>(name);
    QVERIFY(widget != nullptr);
    QCOMPARE(widget->parentWidget()->objectName(), parent);
    QCOMPARE(widget->geometry(), place);
}

void MainWindowTest::rows_carry_caption_unit_and_names_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("unit");
    const char* rows[][2] = {
        {"室内温度", "℃"},      {"供水温度", "℃"},     {"回水温度", "℃"},     {"盘管间距", "mm"},
        {"盘管埋深", "mm"},     {"盘管外径", "mm"},    {"单管长度", "m"},     {"散热量", "W/m"},
        {"地面平均温度", "℃"},  {"环路水阻力", "kPa"}, {"对流散热量", "W/m"}, {"辐射散热量", "W/m"},
        {"单管水流量", "kg/h"}, {"盘管水流速", "m/s"},
    };
    for (int i = 0; i < MainWindow::kFieldCount; ++i)
        QTest::addRow("row %d", i) << i << QString(rows[i][0]) << QString(rows[i][1]);
}

void MainWindowTest::rows_carry_caption_unit_and_names() {
    QFETCH(int, index);
    QFETCH(QString, caption);
    QFETCH(QString, unit);
    auto* label = w_->main().findChild<QLabel*>(QString("Lab_%1").arg(index));
    QVERIFY(label != nullptr);
    QCOMPARE(label->text(), caption);
    QCOMPARE(label->pos(), QPoint(40, kRowTop[index] / 15));
    if (index != 1)
        QCOMPARE(label->size(), label->sizeHint());
    QCOMPARE(label->toolTip(), index == 6 ? QString("单个环路里加热盘管的长度") : QString());
    QCOMPARE(w_->field(index)->accessibleName(), caption);

    auto* unitLabel = w_->main().findChild<QLabel*>(QString("Lb_%1").arg(index));
    QVERIFY(unitLabel != nullptr);
    QCOMPARE(unitLabel->text(), unit);
    QVERIFY(unitLabel->alignment() & Qt::AlignTop);
    const bool raisedTwo = unit == "W/m";
    const int twoIndex = index == 7 ? 20 : index == 10 ? 21 : 22;
    auto* two = w_->main().findChild<QLabel*>(QString("Lb_%1").arg(twoIndex));
    QVERIFY(two != nullptr);
    if (raisedTwo) {
        QCOMPARE(two->text(), QString("2"));
        QCOMPARE(two->font().pointSizeF(), 6.0);
        QCOMPARE(two->y(), unitLabel->y());
    }
}

void MainWindowTest::colours_and_fonts() {
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

void MainWindowTest::button_and_label_array_names() {
    QPushButton* button = w_->main().calculateButton();
    QCOMPARE(button->objectName(), QString("Command1"));
    QCOMPARE(button->text(), QString("计算"));
    QCOMPARE(button->accessibleName(), QString("计算"));
    for (int missing = 14; missing < 20; ++missing)
        QVERIFY(w_->main().findChild<QLabel*>(QString("Lb_%1").arg(missing)) == nullptr);
    QCOMPARE(w_->main().findChildren<QLabel*>(QRegularExpression("^Lb_")).size(), 17);
}

void MainWindowTest::chinese_captions_render_with_installed_font() {
    // Without "宋体" or "Times New Roman" on the machine the fallbacks must
    // still carry every character of the captions.
    auto* caption = w_->main().findChild<QLabel*>("Lab_8");
    QVERIFY(rendersAll(caption->font(), caption->text()));
    auto* unit = w_->main().findChild<QLabel*>("Lb_0");
    QVERIFY(rendersAll(unit->font(), unit->text()));
    const QString family = QFontInfo(caption->font()).family();
    QVERIFY2(caption->font().families().contains(family), qPrintable(family));
}

void MainWindowTest::tab_order_follows_the_form() {
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

void MainWindowTest::menu_items_carry_names_and_captions_data() {
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

void MainWindowTest::menu_items_carry_names_and_captions() {
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

void MainWindowTest::cancelled_print_changes_nothing() {
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

void MainWindowTest::start_shows_main_centred_with_settings_hidden() {
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

void MainWindowTest::resizing_moves_nothing() {
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
