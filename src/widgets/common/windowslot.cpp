// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/common/windowslot.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace zorva::ui {

WindowSlot::WindowSlot(Factory factory, Placement place, QObject* parent)
    : QObject(parent), factory_(std::move(factory)), place_(std::move(place)) {}

WindowSlot::~WindowSlot() {
    destroyAll();
}

void WindowSlot::destroyAll() {
    delete window_.data();
    for (const QPointer<QWidget>& window : closed_)
        delete window.data();
    closed_.clear();
}

QWidget& WindowSlot::reach() {
    if (window_.isNull()) {
        QWidget* window = factory_();
        // Destroyed when closed: what was typed into it goes with it.
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->installEventFilter(this);
        window_ = window;
        if (place_)
            place_(*window);
        emit built(window);
    }
    return *window_;
}

QWidget& WindowSlot::show() {
    QWidget& window = reach();
    bringToFront(window);
    return window;
}

void WindowSlot::discard() {
    QWidget* window = window_.data();
    if (window == nullptr)
        return;
    window_ = nullptr;
    window->removeEventFilter(this);
    window->hide();
    window->deleteLater();
    std::erase_if(closed_, [](const QPointer<QWidget>& gone) { return gone.isNull(); });
    closed_.emplace_back(window);
}

// A close is handed to the window first: only a window that accepts it (a
// tool window with unsaved work may refuse) is forgotten. Qt then hides it
// and deletes it later.
bool WindowSlot::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Close || delivering_ || watched != window_)
        return QObject::eventFilter(watched, event);
    delivering_ = true;
    QCoreApplication::sendEvent(watched, event);
    delivering_ = false;
    if (event->isAccepted()) {
        QWidget* window = window_.data();
        window_ = nullptr;
        window->removeEventFilter(this);
        std::erase_if(closed_, [](const QPointer<QWidget>& gone) { return gone.isNull(); });
        closed_.emplace_back(window);
    }
    return true;
}

void bringToFront(QWidget& window) {
    if (window.isMinimized())
        window.showNormal();
    else
        window.show();
    window.raise();
    window.activateWindow();
}

void placeBeside(QWidget& window, const QWidget& main) {
    if (!window.testAttribute(Qt::WA_Resized))
        window.adjustSize();
    const QScreen* screen = main.screen() ? main.screen() : QGuiApplication::primaryScreen();
    const QRect free = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    // The frame around the client area: not known before the window is first
    // shown, so taken to be the main window's.
    const QSize frame = (window.frameGeometry().size() - window.geometry().size())
                            .expandedTo(main.frameGeometry().size() - main.geometry().size());
    const QSize client = window.size().boundedTo(free.size() - frame);
    if (client != window.size())
        window.resize(client);
    const QSize size = client + frame;
    const QRect mainFrame = main.frameGeometry();
    constexpr int gap = 8;
    int left = mainFrame.right() + 1 + gap;
    if (left + size.width() > free.right() + 1)
        left = mainFrame.left() - gap - size.width();
    if (left < free.left())
        left = free.right() + 1 - size.width();
    int top = mainFrame.top();
    if (top + size.height() > free.bottom() + 1)
        top = free.bottom() + 1 - size.height();
    window.move(std::max(left, free.left()), std::max(top, free.top()));
}

} // namespace zorva::ui
