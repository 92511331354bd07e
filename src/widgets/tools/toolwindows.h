// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "工具" menu of the main window and the tool windows it opens. Each
// tool window exists at most once: the first request builds it and places it
// beside the main window, later requests bring it to the front, and a window
// the user closes is destroyed and built anew on the next request.

#include "widgets/common/windowslot.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QAction;
class QMainWindow;
class QMenu;
class QWidget;

namespace zorva::ui {

// A tool window that holds work of its own implements this, so that ending
// the program can ask it first (save / don't save / cancel).
class CloseGuard {
public:
    virtual ~CloseGuard() = default;
    // True when the window may go; false when the user cancelled.
    virtual bool confirmClose() = 0;
};

class ToolWindows : public QObject {
    Q_OBJECT

public:
    using Factory = std::function<QWidget*()>;

    // Adds the menu "工具" after the last menu of `main`.
    explicit ToolWindows(QMainWindow& main, QObject* parent = nullptr);
    ~ToolWindows() override;

    QMenu* menu() const { return menu_; }

    // A menu item that shows the window `factory` builds. The window's
    // objectName is `name`.
    QAction* addWindow(const char* name, const QString& caption, Factory factory);
    // A menu item that runs a command.
    QAction* addCommand(const char* name, const QString& caption, std::function<void()> command);
    void addSeparator();

    // Shows the named window, building it when it does not exist.
    QWidget* show(const QString& name);
    // The named window as it is now, without building anything.
    QWidget* existing(const QString& name) const;

    // Asks every open tool window with work of its own whether the program
    // may end.
    bool confirmEnd();

private:
    struct Entry {
        QString name;
        std::unique_ptr<WindowSlot> slot;
    };
    WindowSlot* find(const QString& name) const;

    QMainWindow& main_;
    QMenu* menu_;
    std::vector<Entry> entries_;
};

} // namespace zorva::ui
