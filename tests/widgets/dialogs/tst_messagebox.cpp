// SPDX-License-Identifier: GPL-3.0-or-later
// Message boxes fit the available area of the screen whatever text they
// show, with the OK button on screen; short texts keep Qt's own box.

#include "support/patience.h"
#include "widgets/dialogs/messagebox.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

using namespace zorva;
using namespace zorva::ui;

class MessageBoxTest : public QObject {
    Q_OBJECT

private slots:
    void boxFitsAvailableArea_data();
    void boxFitsAvailableArea();
};

void MessageBoxTest::boxFitsAvailableArea_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("plainBox");
    QTest::newRow("short") << QStringLiteral("计算未能收敛。") << true;
    QTest::newRow("2000 wide characters") << QString(2000, u'宽') << false;
    QString lines = QString(1880, u'宽');
    for (int i = 0; i < 39; ++i)
        lines += QStringLiteral("\n行");
    QTest::newRow("1880 wide characters and 39 short lines") << lines << false;
    QTest::newRow("1990 tabs") << QString(1990, u'\t') << false;
}

void MessageBoxTest::boxFitsAvailableArea() {
    QFETCH(QString, text);
    QFETCH(bool, plainBox);
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(area.width() <= 1024 && area.height() <= 768);

    auto box = makeMessageBox(nullptr, QMessageBox::Information, QStringLiteral("Zorva"), text);
    QCOMPARE(qobject_cast<QMessageBox*>(box.get()) != nullptr, plainBox);
    box->show();
    QVERIFY(QTest::qWaitForWindowExposed(box.get(), kPatienceMs));
    QVERIFY2(box->width() <= area.width() && box->height() <= area.height(),
             qPrintable(QStringLiteral("%1 x %2").arg(box->width()).arg(box->height())));
    QList<QPushButton*> buttons = box->findChildren<QPushButton*>();
    QCOMPARE(buttons.size(), 1);
    const QRect button(buttons.first()->mapTo(box.get(), QPoint(0, 0)), buttons.first()->size());
    QVERIFY(box->rect().contains(button));
    QTest::mouseClick(buttons.first(), Qt::LeftButton);
    QCOMPARE(box->result(), plainBox ? int(QMessageBox::Ok) : int(QDialog::Accepted));
}

// The test runs on an offscreen screen of 1024 x 768.
int main(int argc, char* argv[]) {
    QTemporaryDir dir;
    QFile config(dir.filePath(QStringLiteral("screen.json")));
    if (!config.open(QIODevice::WriteOnly) ||
        config.write(R"({"screens": [{"name": "small", "x": 0, "y": 0, "width": 1024,
                         "height": 768, "logicalDpi": 96, "dpr": 1}]})") < 0)
        return 1;
    config.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName().toLocal8Bit());
    QApplication app(argc, argv);
    MessageBoxTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_messagebox.moc"
