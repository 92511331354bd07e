// SPDX-License-Identifier: GPL-3.0-or-later
// The principle window: its layout, its picture, its icon and its life.

#include "support/patience.h"
#include "widgets/info/principlewindow.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QTest>

using namespace zorva;
using namespace zorva::ui;

namespace {

QImage resourceDiagram() {
    return QImage(QStringLiteral(":/diagram.png"));
}

// First pixel where two images differ, or an empty text when they agree.
QString firstDifference(const QImage& actual, const QImage& expected) {
    if (actual.size() != expected.size())
        return QStringLiteral("size %1x%2, expected %3x%4")
            .arg(actual.width())
            .arg(actual.height())
            .arg(expected.width())
            .arg(expected.height());
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            if (actual.pixel(x, y) != expected.pixel(x, y))
                return QStringLiteral("pixel (%1,%2) is #%3, expected #%4")
                    .arg(x)
                    .arg(y)
                    .arg(actual.pixel(x, y), 8, 16, QChar(u'0'))
                    .arg(expected.pixel(x, y), 8, 16, QChar(u'0'));
        }
    }
    return {};
}

} // namespace

class PrincipleWindowTest : public QObject {
    Q_OBJECT

private slots:
    void newWindowIsHiddenWithCaptionAndClientSize();
    void controlsStayPutWhenWindowIsResized();
    void pictureIsTheDiagramResourcePixelForPixel();
    void diagramIsAGreyDrawingOnWhite();
    void pictureBoxShowsDiagramInsideOnePixelBorder();
    void windowWearsTheStarIcon_data();
    void windowWearsTheStarIcon();
    void closingDestroysTheWindow_data();
    void closingDestroysTheWindow();
};

void PrincipleWindowTest::newWindowIsHiddenWithCaptionAndClientSize() {
    PrincipleWindow window;
    QCOMPARE(window.objectName(), QStringLiteral("yuanli"));
    QVERIFY(window.isWindow());
    QVERIFY(!window.isVisible());
    QCOMPARE(window.windowTitle(), QStringLiteral("Zorva"));
    QCOMPARE(window.size(), QSize(359, 280));
    QVERIFY(window.testAttribute(Qt::WA_DeleteOnClose));
}

void PrincipleWindowTest::controlsStayPutWhenWindowIsResized() {
    PrincipleWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window, kPatienceMs));
    for (const QSize size : {QSize(700, 520), QSize(150, 90), QSize(359, 280)}) {
        window.resize(size);
        QApplication::processEvents();
        QCOMPARE(window.captionLabel()->geometry(), QRect(8, 8, 89, 17));
        QCOMPARE(window.diagramBox()->geometry(), QRect(8, 24, 302, 252));
    }
}

void PrincipleWindowTest::pictureIsTheDiagramResourcePixelForPixel() {
    const QImage expected = resourceDiagram();
    QVERIFY(!expected.isNull());
    PrincipleWindow window;
    const QImage picture = window.picture();
    QCOMPARE(picture.size(), QSize(300, 250));
    const QString difference = firstDifference(picture, expected);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void PrincipleWindowTest::diagramIsAGreyDrawingOnWhite() {
    const QImage diagram = resourceDiagram();
    QCOMPARE(diagram.format(), QImage::Format_Indexed8);
    QCOMPARE(diagram.colorCount(), 16);

    // Eight greys, evenly from 43 up to white.
    const QList<QRgb> table = diagram.colorTable();
    QCOMPARE(table.first(), qRgb(43, 43, 43));
    QCOMPARE(table.at(7), qRgb(255, 255, 255));
    for (int k = 0; k < 8; ++k) {
        QCOMPARE(qRed(table.at(k)), qGreen(table.at(k)));
        QCOMPARE(qGreen(table.at(k)), qBlue(table.at(k)));
        if (k > 0)
            QVERIFY(qRed(table.at(k)) > qRed(table.at(k - 1)));
    }

    // Only those eight are used; the ground is white and the lines dark.
    QList<int> uses(16, 0);
    for (int y = 0; y < diagram.height(); ++y) {
        for (int x = 0; x < diagram.width(); ++x)
            ++uses[diagram.pixelIndex(x, y)];
    }
    for (int k = 8; k < 16; ++k)
        QCOMPARE(uses.at(k), 0);
    const int total = diagram.width() * diagram.height();
    QVERIFY(uses.at(7) > total / 2);
    QVERIFY(uses.at(0) > total / 100);
}

void PrincipleWindowTest::pictureBoxShowsDiagramInsideOnePixelBorder() {
    PrincipleWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window, kPatienceMs));
    const QImage shown =
        window.diagramBox()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown.size(), QSize(302, 252));

    const QImage inner = shown.copy(1, 1, 300, 250);
    const QImage expected = resourceDiagram().convertToFormat(QImage::Format_RGB32);
    const QString difference = firstDifference(inner, expected);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));

    const QRgb border = shown.pixel(0, 0);
    QVERIFY(qGray(border) < 128);
    for (int x = 0; x < shown.width(); ++x) {
        QCOMPARE(shown.pixel(x, 0), border);
        QCOMPARE(shown.pixel(x, shown.height() - 1), border);
    }
    for (int y = 0; y < shown.height(); ++y) {
        QCOMPARE(shown.pixel(0, y), border);
        QCOMPARE(shown.pixel(shown.width() - 1, y), border);
    }
}

void PrincipleWindowTest::windowWearsTheStarIcon_data() {
    QTest::addColumn<int>("size");

    QTest::newRow("16") << 16;
    QTest::newRow("32") << 32;
}

void PrincipleWindowTest::windowWearsTheStarIcon() {
    QFETCH(int, size);

    PrincipleWindow window;
    const QIcon icon = window.windowIcon();
    QVERIFY(icon.availableSizes().contains(QSize(size, size)));
    const QImage image = icon.pixmap(QSize(size, size)).toImage();
    QCOMPARE(image.size(), QSize(size, size));

    // A blue star: transparent corners, a blue middle.
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(image.pixel(size - 1, size - 1)), 0);
    const QRgb spoke = image.pixel(size / 2, size / 4);
    QCOMPARE(qAlpha(spoke), 255);
    QVERIFY(qBlue(spoke) > qRed(spoke) + 40);
}

void PrincipleWindowTest::closingDestroysTheWindow_data() {
    QTest::addColumn<bool>("shown");

    QTest::newRow("shown by the menu") << true;
    QTest::newRow("created hidden by a picture save") << false;
}

void PrincipleWindowTest::closingDestroysTheWindow() {
    QFETCH(bool, shown);

    QPointer<PrincipleWindow> window = new PrincipleWindow;
    if (shown) {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window, kPatienceMs));
    }
    QVERIFY(window->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(window.isNull());
}

QTEST_MAIN(PrincipleWindowTest)
#include "tst_principlewindow.moc"
