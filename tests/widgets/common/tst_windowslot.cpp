// SPDX-License-Identifier: GPL-3.0-or-later
// One window of a kind in its slot: built once on demand and placed then;
// forgotten at once when it agrees to close (and deleted soon after),
// kept when it refuses; a discarded window goes without being asked; and no
// window outlives its slot, closed or not.

#include "widgets/common/windowslot.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QPointer>
#include <QTest>

using namespace zorva::ui;

namespace {

// A window that agrees to close or not, as told.
class Probe : public QWidget {
public:
    explicit Probe(bool agree) : agree_(agree) {}

protected:
    void closeEvent(QCloseEvent* event) override { event->setAccepted(agree_); }

private:
    bool agree_;
};

} // namespace

class WindowSlotTest : public QObject {
    Q_OBJECT

private slots:
    void endOfAWindow_data();
    void endOfAWindow();
    void closedWindowGoesWithItsSlot();
};

void WindowSlotTest::endOfAWindow_data() {
    QTest::addColumn<QString>("how"); // close, or discard
    QTest::addColumn<bool>("agree");  // the window's answer to a close
    QTest::addColumn<bool>("gone");   // forgotten and deleted
    QTest::newRow("closed, agreeing") << "close" << true << true;
    QTest::newRow("closed, refusing") << "close" << false << false;
    QTest::newRow("discarded, refusing") << "discard" << false << true;
}

void WindowSlotTest::endOfAWindow() {
    QFETCH(QString, how);
    QFETCH(bool, agree);
    QFETCH(bool, gone);
    int built = 0;
    int placed = 0;
    WindowSlot slot(
        [&] {
            ++built;
            return new Probe(agree);
        },
        [&](QWidget&) { ++placed; });
    QVERIFY(slot.existing() == nullptr);
    QWidget& first = slot.reach();
    QVERIFY(!first.isVisible()); // built hidden
    slot.show();
    QCOMPARE(&slot.show(), &first);
    QVERIFY(first.isVisible());
    QCOMPARE(built, 1);
    QCOMPARE(placed, 1);

    QPointer<QWidget> watched = &first;
    if (how == QLatin1String("close"))
        QCOMPARE(first.close(), agree);
    else
        slot.discard();
    // Forgotten before the deferred deletion runs.
    QCOMPARE(slot.existing() == nullptr, gone);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(watched.isNull(), gone);
    QCOMPARE(&slot.reach() == watched.data(), !gone);
    QCOMPARE(built, gone ? 2 : 1);
    QCOMPARE(placed, gone ? 2 : 1);
}

void WindowSlotTest::closedWindowGoesWithItsSlot() {
    QPointer<QWidget> open;
    QPointer<QWidget> closed;
    {
        WindowSlot slot([] { return new QWidget; });
        closed = &slot.show();
        closed->close(); // its deferred deletion never runs here
        QVERIFY(!closed.isNull());
        open = &slot.show();
        QVERIFY(open != closed);
    }
    QVERIFY(open.isNull());
    QVERIFY(closed.isNull());
}

QTEST_MAIN(WindowSlotTest)
#include "tst_windowslot.moc"
