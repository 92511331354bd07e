// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/tools/toolwindows.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

namespace zorva::ui {

ToolWindows::ToolWindows(QMainWindow& main, QObject* parent) : QObject(parent), main_(main) {
    menu_ = new QMenu(QStringLiteral("工具"), main.menuBar());
    menu_->setObjectName(QStringLiteral("tools"));
    menu_->menuAction()->setObjectName(QStringLiteral("tools"));
    main.menuBar()->addMenu(menu_);
}

ToolWindows::~ToolWindows() = default;

QAction* ToolWindows::addWindow(const char* name, const QString& caption, Factory factory) {
    const QString key = QLatin1String(name);
    auto build = [this, key, factory = std::move(factory)] {
        QWidget* window = factory();
        window->setObjectName(key);
        window->setWindowIcon(main_.windowIcon());
        return window;
    };
    entries_.push_back(
        Entry{key, std::make_unique<WindowSlot>(
                       std::move(build), [this](QWidget& window) { placeBeside(window, main_); })});
    return addCommand(name, caption, [this, key] { show(key); });
}

QAction* ToolWindows::addCommand(const char* name, const QString& caption,
                                 std::function<void()> command) {
    auto* action = new QAction(caption, menu_);
    action->setObjectName(QLatin1String(name));
    menu_->addAction(action);
    connect(action, &QAction::triggered, this, [command = std::move(command)] { command(); });
    return action;
}

void ToolWindows::addSeparator() {
    menu_->addSeparator();
}

WindowSlot* ToolWindows::find(const QString& name) const {
    for (const Entry& entry : entries_)
        if (entry.name == name)
            return entry.slot.get();
    return nullptr;
}

QWidget* ToolWindows::existing(const QString& name) const {
    const WindowSlot* slot = find(name);
    return slot == nullptr ? nullptr : slot->existing();
}

QWidget* ToolWindows::show(const QString& name) {
    WindowSlot* slot = find(name);
    return slot == nullptr ? nullptr : &slot->show();
}

bool ToolWindows::confirmEnd() {
    for (const Entry& entry : entries_) {
        if (auto* guard = dynamic_cast<CloseGuard*>(entry.slot->existing())) {
            if (!guard->confirmClose())
                return false;
        }
    }
    return true;
}

} // namespace zorva::ui
