#include "widgets/tools/toolwindows.h"

#include <QAction>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QWidget>

namespace zorva::ui {

ToolWindows::ToolWindows(QMainWindow& main, QObject* parent) : QObject(parent), main_(main) {
    menu_ = new QMenu(QStringLiteral("工具"), main.menuBar());
    menu_->setObjectName(QStringLiteral("tools"));
    menu_->menuAction()->setObjectName(QStringLiteral("tools"));
    main.menuBar()->addMenu(menu_);
}

ToolWindows::~ToolWindows() {
    for (Entry& entry : entries_)
        delete entry.window.data();
}

QAction* ToolWindows::addWindow(const char* name, const QString& caption, Factory factory) {
    entries_.push_back(Entry{QLatin1String(name), std::move(factory), {}});
    const QString key = QLatin1String(name);
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

ToolWindows::Entry* ToolWindows::find(const QString& name) {
    for (Entry& entry : entries_)
        if (entry.name == name)
            return &entry;
    return nullptr;
}

const ToolWindows::Entry* ToolWindows::find(const QString& name) const {
    for (const Entry& entry : entries_)
        if (entry.name == name)
            return &entry;
    return nullptr;
}

QWidget* ToolWindows::existing(const QString& name) const {
    const Entry* entry = find(name);
    return entry == nullptr ? nullptr : entry->window.data();
}

QWidget* ToolWindows::show(const QString& name) {
    Entry* entry = find(name);
    if (entry == nullptr)
        return nullptr;
    QWidget* window = entry->window.data();
    if (window == nullptr) {
        window = entry->factory();
        window->setObjectName(entry->name);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->setWindowIcon(main_.windowIcon());
        entry->window = window;
        placeBesideMain(*window);
    }
    if (window->isMinimized())
        window->showNormal();
    else
        window->show();
    window->raise();
    window->activateWindow();
    return window;
}

// To the right of the main window when it fits on the screen, else to its
// left, else over it; never beyond the screen's free area.
void ToolWindows::placeBesideMain(QWidget& window) const {
    // A window that chose its own size keeps it; others take their hint.
    if (!window.testAttribute(Qt::WA_Resized))
        window.adjustSize();
    const QScreen* screen = main_.screen() ? main_.screen() : QGuiApplication::primaryScreen();
    const QRect free = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    // The frame around the client area: not known before the window is first
    // shown, so taken to be the main window's.
    const QSize frame = (window.frameGeometry().size() - window.geometry().size())
                            .expandedTo(main_.frameGeometry().size() - main_.geometry().size());
    const QSize client = window.size().boundedTo(free.size() - frame);
    if (client != window.size())
        window.resize(client);
    const QSize size = client + frame;
    const QRect mainFrame = main_.frameGeometry();
    constexpr int gap = 8;
    int left = mainFrame.right() + 1 + gap;
    if (left + size.width() > free.right() + 1)
        left = mainFrame.left() - gap - size.width();
    if (left < free.left())
        left = free.right() + 1 - size.width();
    int top = mainFrame.top();
    if (top + size.height() > free.bottom() + 1)
        top = free.bottom() + 1 - size.height();
    window.move(qMax(left, free.left()), qMax(top, free.top()));
}

bool ToolWindows::confirmEnd() {
    for (Entry& entry : entries_) {
        if (auto* guard = dynamic_cast<CloseGuard*>(entry.window.data())) {
            if (!guard->confirmClose())
                return false;
        }
    }
    return true;
}

} // namespace zorva::ui
