#pragma once
// The program's windows, one of each kind, each reached through its one
// reference here. Reaching a window that does not exist builds it hidden,
// with its defaults; a window the user closes is destroyed with everything
// typed into it, and the next reach builds it anew. The registry is also the
// link between the main window and the construction window, in both
// directions.

#include "constructionlink.h"
#include "constructionwindow.h"
#include "mainlink.h"
#include "mainwindow.h"
#include "principlewindow.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <vector>

class DialogSeam;

class WindowRegistry : public QObject, public MainLink, public ConstructionLink {
    Q_OBJECT

public:
    explicit WindowRegistry(DialogSeam& dialogs, QObject* parent = nullptr);
    ~WindowRegistry() override;

    DialogSeam& dialogs() const { return dialogs_; }

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

    DialogSeam& dialogs_;
    QPointer<MainWindow> main_;
    QPointer<ConstructionWindow> construction_;
    QPointer<PrincipleWindow> principle_;
    // Closed windows waiting for their deferred deletion.
    std::vector<QPointer<QWidget>> discarded_;
};
