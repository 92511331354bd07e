// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The shared fixture of the suites that drive the program's windows: every
// test function gets a fresh set of windows answered by a strict fake dialog
// seam (TestWindows, windowtestkit.h), and ends with the same checks: no
// dialog the test did not announce, every announced dialog shown, and no
// window of the program left behind once the set is gone. A suite derives
// from WindowTest; one that needs more set-up defines its own init() and
// calls WindowTest::init() first.

#include "support/windowtestkit.h"
#include "widgets/info/principlewindow.h"

#include <QApplication>
#include <QObject>
#include <QTest>

#include <memory>

class WindowTest : public QObject {
    Q_OBJECT

protected:
    std::unique_ptr<TestWindows> w_;

    // The program's windows alive now (built, not yet deleted).
    static int programWindows() {
        int count = 0;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            count += qobject_cast<zorva::ui::MainWindow*>(widget) != nullptr ||
                     qobject_cast<zorva::ui::ConstructionWindow*>(widget) != nullptr ||
                     qobject_cast<zorva::ui::PrincipleWindow*>(widget) != nullptr;
        }
        return count;
    }

protected slots:
    void init() { w_ = std::make_unique<TestWindows>(); }

    void cleanup() {
        QVERIFY2(w_->dialogs.unexpected().isEmpty(),
                 qPrintable(w_->dialogs.unexpected().join(u'\n')));
        QCOMPARE(w_->dialogs.pendingExpectations(), 0);
        w_.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(programWindows(), 0);
    }
};
