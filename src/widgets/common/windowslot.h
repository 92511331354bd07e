// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One window of a kind, built on demand: the first reach builds it (hidden,
// placed as its owner asks), later reaches return the same window, and once
// the user closes it (and it agrees to close) it is forgotten and destroyed
// with everything typed into it, so that the next reach builds it anew. The
// program's own windows (the construction and principle windows) and every
// tool window are held this way.

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <vector>

namespace zorva::ui {

class WindowSlot : public QObject {
    Q_OBJECT

public:
    using Factory = std::function<QWidget*()>;
    // Places a newly built window before it is first shown.
    using Placement = std::function<void(QWidget& window)>;

    explicit WindowSlot(Factory factory, Placement place = {}, QObject* parent = nullptr);
    // Destroys the window it holds and the closed ones not yet deleted.
    ~WindowSlot() override;

    // The window as it is now, without building anything.
    QWidget* existing() const { return window_; }
    // The window; built hidden and placed when it does not exist.
    QWidget& reach();
    // The window shown modeless in front (restored when minimised), built
    // when it does not exist.
    QWidget& show();
    // Forgets the window without asking it (the program ends): hidden now,
    // destroyed once control returns to the event loop.
    void discard();
    // Destroys the window and every closed one not yet deleted, now.
    void destroyAll();

signals:
    // A window was built; it has not been shown yet.
    void built(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Factory factory_;
    Placement place_;
    QPointer<QWidget> window_;
    // Closed windows waiting for their deferred deletion.
    std::vector<QPointer<QWidget>> closed_;
    bool delivering_ = false;
};

// The slot of a window class: the same, typed.
template <typename Window> class WindowSlotOf {
public:
    using Factory = std::function<Window*()>;

    explicit WindowSlotOf(Factory factory, WindowSlot::Placement place = {})
        : slot_([factory = std::move(factory)]() -> QWidget* { return factory(); },
                std::move(place)) {}

    Window* existing() const { return static_cast<Window*>(slot_.existing()); }
    Window& reach() { return static_cast<Window&>(slot_.reach()); }
    Window& show() { return static_cast<Window&>(slot_.show()); }
    void discard() { slot_.discard(); }
    void destroyAll() { slot_.destroyAll(); }
    WindowSlot& slot() { return slot_; }

private:
    WindowSlot slot_;
};

// Shows a top-level window in front: restored when minimised, raised and
// activated.
void bringToFront(QWidget& window);

// Places `window` to the right of `main` when it fits on the screen, else to
// its left, else over it; never beyond the screen's free area. A window that
// chose its own size keeps it (within the screen); others take their hint.
void placeBeside(QWidget& window, const QWidget& main);

} // namespace zorva::ui
