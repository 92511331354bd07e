// SPDX-License-Identifier: GPL-3.0-or-later
// What reaches the fields: number texts in the forms Chinese input methods
// and pasted text give them, texts longer than Qt's default limit, keys typed
// into a field the program rewrites, and the fault messages each place
// gives.

#include "support/patience.h"
#include "support/windowtest.h"

#include "widgets/dialogs/messages.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QTest>

#include <limits>
#include <memory>

using namespace zorva;
using namespace zorva::ui;

namespace {

QLineEdit* field(TestWindows& w, const QString& name) {
    if (auto* f = w.main().findChild<QLineEdit*>(name))
        return f;
    return w.construction().findChild<QLineEdit*>(name);
}

} // namespace

class FieldInputTest : public WindowTest {
    Q_OBJECT

private slots:
    void wideAndInvisibleCharactersReadAsNumber_data();
    void wideAndInvisibleCharactersReadAsNumber();
    void longPasteIsKeptWhole_data();
    void longPasteIsKeptWhole();
    void typingOverRewrittenTextReplacesIt_data();
    void typingOverRewrittenTextReplacesIt();
    void faultMessageNamesWhere_data();
    void faultMessageNamesWhere();
};

void FieldInputTest::wideAndInvisibleCharactersReadAsNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("typed");
    const std::pair<const char*, QString> texts[] = {
        {"full-width digits", QStringLiteral("１８")},
        {"ideographic space", QStringLiteral("\u300018")},
        {"no-break space", QStringLiteral("\u00a018")},
        {"direction marks", QStringLiteral("\u200e18\u200f")},
    };
    for (const auto& [tag, text] : texts) {
        QTest::addRow("%s, pasted", tag) << text << false;
        QTest::addRow("%s, from input method", tag) << text << true;
    }
}

// The room temperature as an input method or a clipboard gives it: the
// field shows the plain form and the default design gives its results.
void FieldInputTest::wideAndInvisibleCharactersReadAsNumber() {
    QFETCH(QString, text);
    QFETCH(bool, typed);
    QLineEdit* room = w_->field(0);
    if (typed) {
        // An input method commits its text character by character.
        room->selectAll();
        for (QChar c : text) {
            QInputMethodEvent commit;
            commit.setCommitString(c);
            QApplication::sendEvent(room, &commit);
        }
    } else {
        room->setText(text);
    }
    QCOMPARE(room->text().trimmed(), QString("18"));
    QCOMPARE(w_->main().calculate(), CalcOutcome::Converged);
    QCOMPARE(w_->results().mid(0, 2), QStringList({"92.6", "27.1"}));
}

void FieldInputTest::longPasteIsKeptWhole_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("main window room temperature") << "Txt_0";
    QTest::newRow("main window result") << "Txt_13";
    QTest::newRow("construction conductivity") << "Text1_3";
}

void FieldInputTest::longPasteIsKeptWhole() {
    QFETCH(QString, name);
    // Qt's default limit is 32,767 characters.
    const QString text = QStringLiteral("1") + QString(40000, u'0');
    QLineEdit* target = field(*w_, name);
    QVERIFY(target != nullptr);
    QCOMPARE(target->maxLength(), std::numeric_limits<int>::max());
    target->setText(text);
    QCOMPARE(target->text().size(), text.size());
}

void FieldInputTest::typingOverRewrittenTextReplacesIt_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("fieldAfter");
    QTest::addColumn<QString>("depth");
    QTest::addColumn<QString>("fill");
    // "9" is rewritten to "50", selected; "5" replaces it and is rewritten
    // to "50" again, instead of making "505" with a 465 mm filling layer.
    QTest::newRow("depth 95") << "Txt_4"
                              << "95"
                              << "50"
                              << "50"
                              << "10";
    // "0" becomes "10", selected; "6" replaces it instead of making "106".
    QTest::newRow("filling 06") << "Txt1_2"
                                << "06"
                                << "6"
                                << "46"
                                << "6";
}

void FieldInputTest::typingOverRewrittenTextReplacesIt() {
    QFETCH(QString, name);
    QFETCH(QString, keys);
    QFETCH(QString, fieldAfter);
    QFETCH(QString, depth);
    QFETCH(QString, fill);
    QLineEdit* target = field(*w_, name);
    QWidget* window = target->window();
    window->show();
    QApplication::setActiveWindow(window);
    QVERIFY(QTest::qWaitForWindowActive(window, kPatienceMs));
    target->setFocus();
    QVERIFY(target->hasFocus());
    target->selectAll();
    QTest::keyClicks(target, keys);
    QCOMPARE(target->text(), fieldAfter);
    QCOMPARE(w_->field(4)->text(), depth);
    QCOMPARE(w_->thickness(2)->text(), fill);
}

void FieldInputTest::faultMessageNamesWhere_data() {
    QTest::addColumn<QStringList>("edits"); // name, text, name, text, ...
    QTest::addColumn<int>("site");
    QTest::addColumn<bool>("calculate");
    QTest::newRow("depth from layers")
        << QStringList{"Txt1_0", "1e309"} << int(FaultSite::DepthFromLayers) << false;
    QTest::newRow("filling from depth") << QStringList{"Txt1_0", "1.7e308", "Txt_4", "-1.7e308"}
                                        << int(FaultSite::FillFromDepth) << false;
    QTest::newRow("construction values read") << QStringList{"Text1_3", "1e39", "Txt_0", "19"}
                                              << int(FaultSite::ConstructionLoad) << false;
    QTest::newRow("calculate, no earlier results")
        << QStringList{"Txt_2", "50"} << int(FaultSite::Calculation) << true;
}

// Only a Calculate run says the calculation stopped; and it claims the
// results of an earlier run only when there are some.
void FieldInputTest::faultMessageNamesWhere() {
    QFETCH(QStringList, edits);
    QFETCH(int, site);
    QFETCH(bool, calculate);
    w_->dialogs.expectMessages(1);
    for (qsizetype i = 0; i + 1 < edits.size(); i += 2)
        field(*w_, edits[i])->setText(edits[i + 1]);
    if (calculate)
        QCOMPARE(w_->main().calculate(), CalcOutcome::Fault);
    QCOMPARE(w_->dialogs.messages().size(), 1);
    const QString text = w_->dialogs.messages().first().text;
    QCOMPARE(text.contains(QStringLiteral("计算已中止")), calculate);
    QVERIFY(!text.contains(QStringLiteral("上一次成功计算")));
    QVERIFY(text.startsWith(
        arithmeticErrorText(zorva::Fault::Overflow, FaultSite(site)).section(u'：', 0, 0)));
}

QTEST_MAIN(FieldInputTest)
#include "tst_fieldinput.moc"
