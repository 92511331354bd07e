// SPDX-License-Identifier: GPL-3.0-or-later
// The menu items reach their commands through the real main window.

#include "core/engine/calculate.h"
#include "support/windowtest.h"
#include "widgets/info/infobox.h"
#include "widgets/info/principlewindow.h"

#include <QAction>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

using namespace zorva;
using namespace zorva::ui;

class MenuCommandsTest : public WindowTest {
    Q_OBJECT

private slots:
    void init();

    void infoItemsShowTheirTexts_data();
    void infoItemsShowTheirTexts();
    void saveItemCalculatesThenWritesTheRecord();
    void saveItemWritesNothingWhenTheRunFaults();
    void openItemReadsASavedRecordIntoTheBuffer();
    void imageItemSavesTheDiagramWithoutShowingTheWindow();
    void fileCommandsShareTheLastName();
    void printItemCancelledPrintsNothing();

private:
    void choose(const char* item);
    QTemporaryDir dir_;
};

void MenuCommandsTest::init() {
    WindowTest::init();
    w_->registry.start();
}

void MenuCommandsTest::choose(const char* item) {
    auto* action = w_->main().findChild<QAction*>(QLatin1String(item));
    QVERIFY2(action != nullptr, item);
    action->trigger();
}

void MenuCommandsTest::infoItemsShowTheirTexts_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("which");
    QTest::newRow("说明") << "introdce" << int(InfoText::Guidance);
    QTest::newRow("特性") << "character" << int(InfoText::Characteristics);
    QTest::newRow("关于") << "about" << int(InfoText::About);
}

void MenuCommandsTest::infoItemsShowTheirTexts() {
    QFETCH(QString, item);
    QFETCH(int, which);
    w_->dialogs.expectMessages(1);
    choose(item.toLatin1().constData());
    QCOMPARE(w_->dialogs.messages().size(), 1);
    const auto& box = w_->dialogs.messages().first();
    QCOMPARE(box.title, QStringLiteral("Zorva"));
    QCOMPARE(box.text, infoText(InfoText(which)));
    QCOMPARE(box.icon, QMessageBox::Question);
    // Nothing else changes.
    QCOMPARE(w_->results(), QStringList(7, QString()));
}

void MenuCommandsTest::saveItemCalculatesThenWritesTheRecord() {
    const QString path = dir_.filePath(QStringLiteral("record.txt"));
    w_->field(0)->setText(QStringLiteral("18.25"));
    w_->field(7)->setText(QStringLiteral("typed over")); // a result field typed into
    w_->dialogs.answerSave(path);
    choose("save");

    // The run filled the result fields with what the engine gives for these
    // inputs, and the file carries their digits.
    zorva::FieldRecord fields = zorva::FieldRecord::defaults();
    fields.design[zorva::RoomTempField] = "18.25";
    zorva::WorkingVars vars;
    const zorva::RunReport report = zorva::calculate(vars, fields);
    const zorva::ResultTexts expected = zorva::resultTexts(vars, report);
    const QByteArray output = QByteArray::fromStdString(expected[0].str());
    QCOMPARE(w_->field(7)->text().toLatin1(), output);
    QCOMPARE(w_->field(8)->text().toStdString(), expected[1].str());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith(QByteArray("Zorva\xB3\xCC\xD0\xF2\xA3\xBA\r\n")));
    QVERIFY(bytes.contains(QByteArray("\xCA\xD2\xC4\xDA\xCE\xC2\xB6\xC8"
                                      "18.3\xA1\xE6\r\n")));
    QVERIFY(bytes.contains(output + "W/"));
    QVERIFY(bytes.contains(w_->field(8)->text().toLatin1() + "\xA1\xE6\r\n\r\n\r\n"));
    QVERIFY(bytes.endsWith("\xA1\xE6\r\n\r\n\r\n"));
    QCOMPARE(bytes.count("\r\n"), 8);
}

void MenuCommandsTest::saveItemWritesNothingWhenTheRunFaults() {
    const QString path = dir_.filePath(QStringLiteral("kept.txt"));
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old record");
    }
    w_->field(2)->setText(QStringLiteral("50")); // return = supply
    w_->dialogs.answerSave(path);
    w_->dialogs.expectMessages(1);
    choose("save");
    QCOMPARE(w_->dialogs.messages().first().icon, QMessageBox::Critical);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("old record"));
    QCOMPARE(w_->results(), QStringList(7, QString()));
}

void MenuCommandsTest::openItemReadsASavedRecordIntoTheBuffer() {
    const QString path = dir_.filePath(QStringLiteral("round.txt"));
    w_->dialogs.answerSave(path);
    choose("save");
    const QString composed = w_->main().recordBuffer();
    QVERIFY(!composed.isEmpty());

    w_->main().setRecordBuffer(QString());
    w_->dialogs.answerOpen(path);
    w_->dialogs.expectMessages(1);
    choose("open");
    QCOMPARE(w_->main().recordBuffer(), composed + QStringLiteral("\r\n"));
}

void MenuCommandsTest::imageItemSavesTheDiagramWithoutShowingTheWindow() {
    QVERIFY(w_->registry.existingPrinciple() == nullptr);
    const QString path = dir_.filePath(QStringLiteral("diagram.gif"));
    w_->dialogs.answerSave(path);
    choose("image");

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.read(2), QByteArray("BM"));
    const QImage saved(path, "BMP");
    QCOMPARE(saved.size(), QSize(300, 250));
    PrincipleWindow* window = w_->registry.existingPrinciple();
    QVERIFY(window != nullptr);
    QVERIFY(!window->isVisible());
    QCOMPARE(saved.convertToFormat(QImage::Format_RGB32),
             window->picture().convertToFormat(QImage::Format_RGB32));
}

void MenuCommandsTest::fileCommandsShareTheLastName() {
    const QString path = dir_.filePath(QStringLiteral("first.txt"));
    w_->dialogs.answerSave(path);
    choose("save");
    w_->dialogs.answerSave(QString()); // cancelled
    choose("image");
    QCOMPARE(w_->dialogs.saveRequests().last().selected, path);
    QVERIFY(!QFile::exists(dir_.filePath(QStringLiteral("first.bmp"))));
}

void MenuCommandsTest::printItemCancelledPrintsNothing() {
    w_->dialogs.answerPrint(false);
    choose("print");
    QCOMPARE(w_->dialogs.printRequests(), 1);
    QCOMPARE(w_->results(), QStringList(7, QString()));
    QVERIFY(w_->registry.existingPrinciple() == nullptr);
}

QTEST_MAIN(MenuCommandsTest)
#include "tst_menucommands.moc"
