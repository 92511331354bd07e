#pragma once
// The program's windows, one of each kind, each reached through its one
// reference here. Reaching a window that does not exist builds it hidden,
// with its defaults; a window the user closes is destroyed with everything
// typed into it, and the next reach builds it anew.

#include "mainlink.h"
#include "shezhi.h"
#include "yuanli.h"
#include "zorva.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <vector>

class DialogSeam;

class WindowRegistry : public QObject, public MainLink {
    Q_OBJECT

public:
    explicit WindowRegistry(DialogSeam& dialogs, QObject* parent = nullptr);
    ~WindowRegistry() override;

    DialogSeam& dialogs() const { return dialogs_; }

    // The main window; built and loaded when it does not exist.
    Zorva& main();
    // The settings window; built hidden when it does not exist.
    shezhi& settings();

    // The windows as they are now, without building anything.
    Zorva* existingMain() const { return main_; }
    shezhi* existingSettings() const { return settings_; }

    // Program start: builds and loads the main window, then shows it in the
    // middle of the screen.
    Zorva& start();

    // "设置": shows the settings window modeless, without an owner, in front.
    void showSettings();

    // The principle window; built hidden when it does not exist.
    yuanli& principle();
    yuanli* existingPrinciple() const { return principle_; }
    // "原理": shows the principle window modeless, without an owner, in front.
    void showPrinciple();

    // MainLink
    void setDepthText(const QString& text) override;
    void focusCalculate() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void discard(QWidget* window);
    void endProgram();

    DialogSeam& dialogs_;
    QPointer<Zorva> main_;
    QPointer<shezhi> settings_;
    QPointer<yuanli> principle_;
    // Closed windows waiting for their deferred deletion.
    std::vector<QPointer<QWidget>> discarded_;
};
