#pragma once
// The program's windows, one of each kind, each reached through its one
// reference here. Reaching a window that does not exist builds it hidden,
// with its defaults; a window the user closes is destroyed with everything
// typed into it, and the next reach builds it anew. The registry is also the
// link between the main window and the construction window, in both
// directions.

#include "widgets/construction/constructionwindow.h"
#include "widgets/construction/mainlink.h"
#include "widgets/info/principlewindow.h"
#include "widgets/main/constructionlink.h"
#include "widgets/main/mainwindow.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <vector>

class DialogSeam;

namespace zorva::ui {
class DesignSession;
}

class WindowRegistry : public QObject, public MainLink, public ConstructionLink {
    Q_OBJECT

public:
    explicit WindowRegistry(DialogSeam& dialogs, QObject* parent = nullptr);
    ~WindowRegistry() override;

    DialogSeam& dialogs() const { return dialogs_; }

    // Connects the tool windows' session to the main and construction
    // windows: it reads and writes their fields and hears of every edit and
    // every converged run.
    void setSession(zorva::ui::DesignSession* session);

    // Asked before closing the main window ends the program; returning false
    // keeps the program running (a tool window's unsaved work, cancelled).
    void setEndGuard(std::function<bool()> guard) { endGuard_ = std::move(guard); }

    // Writes a whole design into both windows as a paste would: the
    // construction fields first, then the design fields, each with its
    // change handling (so the depth link runs).
    void writeDesign(const zorva::FieldRecord& record);

    // The main window; built and loaded when it does not exist.
    MainWindow& main();
    // The construction window; built hidden when it does not exist.
    ConstructionWindow& construction();
    // The principle window; built hidden when it does not exist.
    PrincipleWindow& principle();

    // The windows as they are now, without building anything.
    MainWindow* existingMain() const { return main_; }
    ConstructionWindow* existingConstruction() const { return construction_; }
    PrincipleWindow* existingPrinciple() const { return principle_; }

    // Program start: builds and loads the main window, then shows it in the
    // middle of the screen.
    MainWindow& start();

    // "设置": shows the construction window modeless, without an owner, in
    // front.
    void showConstruction();
    // "原理": shows the principle window modeless, without an owner, in front.
    void showPrinciple();

    // The depth link rewrites the two windows in turn, each write nested in
    // the handling of the one before. Beyond 15 significant digits a round
    // trip can round differently every time, so the nesting is bounded: a
    // filling-layer write this deep is dropped, and both windows keep the
    // last pair the construction window wrote (the depth is the sum of the
    // three layers as they stand). Every exchange that settles within the
    // bound is untouched by it.
    static constexpr int kLinkNestingLimit = 1000;
    // The deepest the link's filling-layer writes have been nested so far.
    int linkNestingPeak() const { return linkNestingPeak_; }

    // MainLink
    void setDepthText(const QString& text) override;
    void focusCalculate() override;

    // ConstructionLink
    void readConstruction(zorva::FieldRecord& record) override;
    void setFillText(const QString& text) override;

protected:
    // Closing a window: the main window ends the program, any other window
    // is forgotten and destroyed.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void discard(QWidget* window);
    void endProgram();

    void watchConstructionEdits();

    DialogSeam& dialogs_;
    zorva::ui::DesignSession* session_ = nullptr;
    std::function<bool()> endGuard_;
    int linkNesting_ = 0;
    int linkNestingPeak_ = 0;
    QPointer<MainWindow> main_;
    QPointer<ConstructionWindow> construction_;
    QPointer<PrincipleWindow> principle_;
    // Closed windows waiting for their deferred deletion.
    std::vector<QPointer<QWidget>> discarded_;
};
