// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's original windows, one of each kind: the main window, the
// construction window and the principle window. Reaching a window that does
// not exist builds it hidden, with its defaults; a window the user closes is
// destroyed with everything typed into it, and the next reach builds it
// anew; closing the main window ends the program. The registry gives each
// window only the small interfaces it needs (the depth link, the dialog
// seam, the window commands) and connects the tools' design session to the
// two windows' fields.

#include "widgets/common/windowslot.h"
#include "widgets/construction/constructionwindow.h"
#include "widgets/info/principlewindow.h"
#include "widgets/main/depthlinkbridge.h"
#include "widgets/main/mainwindow.h"
#include "widgets/main/windowcommands.h"

#include <QObject>
#include <QPointer>

#include <functional>

namespace zorva::models {
class DesignSession;
}

namespace zorva::ui {

class DialogSeam;

class WindowRegistry : public QObject, public WindowCommands {
    Q_OBJECT

public:
    explicit WindowRegistry(DialogSeam& dialogs, QObject* parent = nullptr);
    ~WindowRegistry() override;

    DialogSeam& dialogs() const { return dialogs_; }

    // Connects the tool windows' session to the main and construction
    // windows: it reads and writes their fields and hears of every edit and
    // every converged run.
    void setSession(models::DesignSession* session);

    // Asked before closing the main window ends the program; returning false
    // keeps the program running (a tool window's unsaved work, cancelled).
    void setEndGuard(std::function<bool()> guard) { endGuard_ = std::move(guard); }

    // Writes a whole design into both windows as a paste would: the
    // construction fields first, then the design fields, each with its
    // change handling (so the depth link runs).
    void writeDesign(const FieldRecord& record);

    // The main window; built and loaded when it does not exist.
    MainWindow& main();
    // The construction window; built hidden when it does not exist.
    ConstructionWindow& construction() { return construction_.reach(); }
    // The principle window; built hidden when it does not exist.
    PrincipleWindow& principle() { return principle_.reach(); }

    // The windows as they are now, without building anything.
    MainWindow* existingMain() const { return main_; }
    ConstructionWindow* existingConstruction() const { return construction_.existing(); }
    PrincipleWindow* existingPrinciple() const { return principle_.existing(); }

    // The depth link between the main and construction windows.
    const DepthLinkBridge& depthLink() const { return link_; }

    // Program start: builds and loads the main window, then shows it in the
    // middle of the screen.
    MainWindow& start();

    // WindowCommands
    void showConstruction() override { construction_.show(); }
    void showPrinciple() override { principle_.show(); }
    QImage principlePicture() override { return principle().picture(); }

protected:
    // Closing the main window ends the program (when the end guard agrees).
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void watchConstructionEdits();
    void endProgram();

    DialogSeam& dialogs_;
    models::DesignSession* session_ = nullptr;
    std::function<bool()> endGuard_;
    DepthLinkBridge link_;
    QPointer<MainWindow> main_;
    WindowSlotOf<ConstructionWindow> construction_;
    WindowSlotOf<PrincipleWindow> principle_;
};

} // namespace zorva::ui
