// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader hears of the tool windows: every visible text of
// every tool window is carried by some accessible property (name,
// description or value) of its control, found by walking the window's
// accessible tree; and the value labels name their caption and carry the
// value they show.

#include "core/engine/designcheck.h"
#include "support/patience.h"
#include "support/windowtest.h"
#include "widgets/tools/toolset.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>

#include <functional>

using namespace zorva;
using namespace zorva::ui;

namespace {

// The text a control shows, empty for one that shows none.
QString shownText(const QWidget& w) {
    if (const auto* label = qobject_cast<const QLabel*>(&w))
        return label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(&w))
        return button->text();
    if (const auto* edit = qobject_cast<const QLineEdit*>(&w))
        return edit->echoMode() == QLineEdit::Normal ? edit->text() : QString();
    if (const auto* group = qobject_cast<const QGroupBox*>(&w))
        return group->title();
    return {};
}

// Visits every interface of the tree below `root`, the root first.
void walk(QAccessibleInterface* root, const std::function<void(QAccessibleInterface*)>& visit) {
    if (root == nullptr)
        return;
    visit(root);
    for (int i = 0; i < root->childCount(); ++i)
        walk(root->child(i), visit);
}

// A text without its keyboard mnemonic ("恢复默认限值(&D)" reads "恢复默认
// 限值"): screen readers give the shortcut on its own.
QString strippedAccelerator(QString text) {
    text.remove(QRegularExpression(QStringLiteral("\\(&\\w\\)")));
    return text.remove(u'&');
}

} // namespace

class ScreenReaderTest : public WindowTest {
    Q_OBJECT

private slots:
    void everyShownTextIsCarried_data();
    void everyShownTextIsCarried();
    void valueLabelsNameTheirCaption_data();
    void valueLabelsNameTheirCaption();

private:
    // The tool window `name`, opened from the 工具 menu after a calculation
    // of the default design with a load of 100 W/m² entered.
    QWidget* openTool(ToolSet& tools, const QString& name);
};

QWidget* ScreenReaderTest::openTool(ToolSet& tools, const QString& name) {
    CheckLimits limits = tools.session().limits();
    limits.loadPerArea = 100;
    tools.session().setLimits(limits);
    w_->main().calculateButton()->click();
    QWidget* window = tools.windows().show(name);
    if (window != nullptr && !QTest::qWaitForWindowExposed(window, kPatienceMs))
        return nullptr;
    return window;
}

void ScreenReaderTest::everyShownTextIsCarried_data() {
    QTest::addColumn<QString>("tool");
    QTest::addColumn<int>("least"); // visible texts at least, so the walk is no empty one
    QTest::newRow("设计校核") << QStringLiteral("designCheck") << 8;
    QTest::newRow("特性曲线") << QStringLiteral("curves") << 4;
    QTest::newRow("多环路计算") << QStringLiteral("manifold") << 10;
    QTest::newRow("项目") << QStringLiteral("projectWindow") << 12;
}

void ScreenReaderTest::everyShownTextIsCarried() {
    QFETCH(QString, tool);
    QFETCH(int, least);
    ToolSet tools(w_->registry, w_->dialogs, nullptr);
    QWidget* window = openTool(tools, tool);
    QVERIFY(window != nullptr);

    QStringList silent;
    int checked = 0;
    walk(QAccessible::queryAccessibleInterface(window), [&](QAccessibleInterface* iface) {
        auto* widget = qobject_cast<QWidget*>(iface->object());
        if (widget == nullptr || !widget->isVisible())
            return;
        const QString text = strippedAccelerator(shownText(*widget)).trimmed();
        if (text.isEmpty())
            return;
        ++checked;
        for (const QAccessible::Text t :
             {QAccessible::Name, QAccessible::Description, QAccessible::Value}) {
            if (strippedAccelerator(iface->text(t)).contains(text))
                return;
        }
        silent << QStringLiteral("%1 %2 shows \"%3\", heard as \"%4\"")
                      .arg(QString::fromLatin1(widget->metaObject()->className()),
                           widget->objectName(), text, iface->text(QAccessible::Name));
    });
    QVERIFY2(silent.isEmpty(), qPrintable(silent.join(u'\n')));
    QVERIFY2(checked >= least, qPrintable(QString::number(checked)));
}

void ScreenReaderTest::valueLabelsNameTheirCaption_data() {
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("valueStart"); // the default design, load 100 W/m²
    QTest::newRow("required supply") << "designCheck"
                                     << "requiredSupply" << QStringLiteral("所需供水温度") << "";
    QTest::newRow("most output") << "designCheck"
                                 << "maxOutput" << QStringLiteral("地面温度限值下的最大散热量")
                                 << QStringLiteral("112.4 W/m²");
    QTest::newRow("shortfall") << "designCheck"
                               << "shortfall" << QStringLiteral("由其它采暖方式补充")
                               << QStringLiteral("无需");
    QTest::newRow("check status") << "designCheck"
                                  << "status" << QStringLiteral("校核状态")
                                  << QStringLiteral("最近一次计算的校核结论");
    QTest::newRow("curve status") << "curves"
                                  << "curveStatus" << QStringLiteral("曲线状态")
                                  << QStringLiteral("每条曲线");
    QTest::newRow("sheet totals") << "manifold"
                                  << "totals" << QStringLiteral("合计")
                                  << QStringLiteral("环路 0 个");
}

void ScreenReaderTest::valueLabelsNameTheirCaption() {
    QFETCH(QString, tool);
    QFETCH(QString, label);
    QFETCH(QString, caption);
    QFETCH(QString, valueStart);
    ToolSet tools(w_->registry, w_->dialogs, nullptr);
    QWidget* window = openTool(tools, tool);
    QVERIFY(window != nullptr);
    auto* shown = window->findChild<QLabel*>(label);
    QVERIFY(shown != nullptr);
    QTRY_VERIFY(!shown->text().isEmpty());
    QVERIFY2(shown->text().startsWith(valueStart), qPrintable(shown->text()));
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(shown);
    QVERIFY(iface != nullptr);
    QCOMPARE(iface->text(QAccessible::Name), caption);
    QCOMPARE(iface->text(QAccessible::Description), shown->text());
    // A value written later is heard as it is now.
    shown->setText(QStringLiteral("42 ℃"));
    QCOMPARE(iface->text(QAccessible::Description), QStringLiteral("42 ℃"));
    QCOMPARE(iface->text(QAccessible::Value), QStringLiteral("42 ℃"));
}

QTEST_MAIN(ScreenReaderTest)
#include "tst_screenreader.moc"
