// The construction window as built: texts, places, fonts, tooltips, names and
// keyboard order, and its OK button.

#include "support/patience.h"
#include "support/windowtestkit.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace zorva;
using namespace zorva::models;
using namespace zorva::ui;

namespace {

QRect fromTwips(int left, int top, int width, int height) {
    return QRect(left / 15, top / 15, width / 15, height / 15);
}

} // namespace

class ConstructionWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() { w_ = std::make_unique<TestWindows>(); }
    void cleanup() {
        QVERIFY(w_->dialogs.unexpected().isEmpty());
        w_.reset();
    }

    void fields_hold_defaults_at_their_places_data();
    void fields_hold_defaults_at_their_places();
    void labels_and_tooltips_data();
    void labels_and_tooltips();
    void window_frame_line_and_button();
    void tab_order_runs_row_by_row();
    void ok_hands_focus_to_calculate();

private:
    std::unique_ptr<TestWindows> w_;
};

void ConstructionWindowTest::fields_hold_defaults_at_their_places_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("accessible");
    QTest::addColumn<QRect>("place");
    auto field = [](const char* name, const char* text, const char* accessible, int left, int top) {
        QTest::newRow(name) << QString(name) << QString(text) << QString(accessible)
                            << fromTwips(left, top, 855, 270);
    };
    field("Txt1_0", "20", "1、地面层厚度", 1800, 480);
    field("Text1_0", "2.91", "1、地面层导热系数", 3000, 480);
    field("Txt1_1", "20", "2、找平层厚度", 1800, 840);
    field("Text1_1", "1.84", "2、找平层导热系数", 3000, 840);
    field("Txt1_2", "50", "3、填充层厚度", 1800, 1200);
    field("Text1_2", "1.28", "3、填充层导热系数", 3000, 1200);
    field("Txt1_3", "2", "4、塑料管壁厚度", 1800, 1560);
    field("Text1_3", "0.41", "4、塑料管壁导热系数", 3000, 1560);
    field("Txt1_5", "2", "90度弯头数", 1800, 2760);
}

void ConstructionWindowTest::fields_hold_defaults_at_their_places() {
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, accessible);
    QFETCH(QRect, place);
    auto* field = w_->construction().findChild<QLineEdit*>(name);
    QVERIFY(field != nullptr);
    QCOMPARE(field->text(), text);
    QCOMPARE(field->accessibleName(), accessible);
    QCOMPARE(field->geometry(), place);
    QCOMPARE(field->font().families().value(0), QString("Times New Roman"));
    QCOMPARE(field->font().pointSizeF(), 9.0);
    QVERIFY(!field->isReadOnly());
    QVERIFY(w_->construction().findChild<QLineEdit*>("Txt1_4") == nullptr);
    QVERIFY(w_->construction().findChild<QLineEdit*>("Text1_4") == nullptr);
}

void ConstructionWindowTest::labels_and_tooltips_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QPoint>("place");
    QTest::addColumn<QString>("tooltip");
    auto label = [](const char* name, const char* caption, int left, int top, const char* tooltip) {
        QTest::newRow(name) << QString(name) << QString(caption) << QPoint(left / 15, top / 15)
                            << QString(tooltip);
    };
    label("Lab2", "地板构造:", 600, 120, "主窗口总厚度与填充层厚度关联");
    label("Lab3", "厚度:mm", 1800, 120, "");
    label("Lab4", "导热系数:W/m/℃", 3000, 120, "");
    label("Lab1_0", "1、地面层", 600, 480,
          "大理石λ=2.91 瓷砖λ=1.10 木质地板λ=0.14 化纤地毯λ=0.036");
    label("Lab1_1", "2、找平层", 600, 840, "混凝土λ=1.28~1.84 厚度可以为0");
    label("Lab1_2", "3、填充层", 600, 1200, "混凝土λ=1.28~1.84 厚度≥加热管径");
    label("Lab1_3", "4、塑料管壁", 600, 1560, "λ视PB、PE-X、PP-B等材料而定");
    label("Lab5", "管路附件:", 600, 2400, "");
    label("Lab1_5", "90度弯头数", 600, 2760, "");
}

void ConstructionWindowTest::labels_and_tooltips() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QPoint, place);
    QFETCH(QString, tooltip);
    auto* label = w_->construction().findChild<QLabel*>(name);
    QVERIFY(label != nullptr);
    QCOMPARE(label->text(), caption);
    QCOMPARE(label->pos(), place);
    QCOMPARE(label->size(), label->sizeHint());
    QCOMPARE(label->toolTip(), tooltip);
    QCOMPARE(label->font().pointSizeF(), 9.0);
}

void ConstructionWindowTest::window_frame_line_and_button() {
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

void ConstructionWindowTest::tab_order_runs_row_by_row() {
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

void ConstructionWindowTest::ok_hands_focus_to_calculate() {
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
