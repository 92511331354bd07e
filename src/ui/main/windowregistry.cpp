#include "windowregistry.h"

#include "shezhi.h"
#include "uikit.h"
#include "zorva.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QPushButton>

namespace {

void bringToFront(QWidget& window) {
    if (window.isMinimized())
        window.showNormal();
    else
        window.show();
    window.raise();
    window.activateWindow();
}

} // namespace

WindowRegistry::WindowRegistry(DialogSeam& dialogs, QObject* parent)
    : QObject(parent), dialogs_(dialogs) {}

WindowRegistry::~WindowRegistry() {
    // The other windows go first: they may still refer to the main window.
    delete principle_.data();
    delete settings_.data();
    for (const QPointer<QWidget>& window : discarded_)
        delete window.data();
    delete main_.data();
}

Zorva& WindowRegistry::main() {
    if (main_.isNull()) {
        main_ = new Zorva(*this);
        connect(main_, &Zorva::closed, this, &WindowRegistry::endProgram);
        main_->load();
    }
    return *main_;
}

shezhi& WindowRegistry::settings() {
    if (settings_.isNull()) {
        settings_ = new shezhi(*this, dialogs_);
        connect(settings_, &shezhi::closing, this, [this] { discard(settings_); });
    }
    return *settings_;
}

yuanli& WindowRegistry::principle() {
    if (principle_.isNull()) {
        principle_ = new yuanli;
        principle_->installEventFilter(this);
    }
    return *principle_;
}

Zorva& WindowRegistry::start() {
    Zorva& window = main();
    zorva::ui::centreOnScreen(window);
    window.show();
    return window;
}

void WindowRegistry::showSettings() {
    bringToFront(settings());
}

void WindowRegistry::showPrinciple() {
    bringToFront(principle());
}

void WindowRegistry::setDepthText(const QString& text) {
    main().txt(4)->setText(text);
}

void WindowRegistry::focusCalculate() {
    Zorva& window = main();
    if (window.isVisible())
        bringToFront(window);
    window.calculateButton()->setFocus(Qt::OtherFocusReason);
}

bool WindowRegistry::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Close && watched == principle_)
        discard(principle_);
    return QObject::eventFilter(watched, event);
}

// Forgets a closed window; it is deleted once its close has been handled.
void WindowRegistry::discard(QWidget* window) {
    if (window == nullptr)
        return;
    if (window == settings_)
        settings_ = nullptr;
    if (window == principle_)
        principle_ = nullptr;
    window->hide();
    window->deleteLater();
    std::erase_if(discarded_, [](const QPointer<QWidget>& gone) { return gone.isNull(); });
    discarded_.emplace_back(window);
}

// Closing the main window ends the program; the other windows go with it.
void WindowRegistry::endProgram() {
    discard(principle_);
    discard(settings_);
    QCoreApplication::quit();
}
