#include "widgets/main/windowregistry.h"

#include "models/session/designsession.h"
#include "widgets/common/uikit.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

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
    delete construction_.data();
    for (const QPointer<QWidget>& window : discarded_)
        delete window.data();
    delete main_.data();
}

MainWindow& WindowRegistry::main() {
    if (main_.isNull()) {
        main_ = new MainWindow(*this);
        main_->setSession(session_);
        main_->installEventFilter(this);
        main_->load();
    }
    return *main_;
}

ConstructionWindow& WindowRegistry::construction() {
    if (construction_.isNull()) {
        construction_ = new ConstructionWindow(*this, dialogs_);
        construction_->installEventFilter(this);
        watchConstructionEdits();
    }
    return *construction_;
}

PrincipleWindow& WindowRegistry::principle() {
    if (principle_.isNull()) {
        principle_ = new PrincipleWindow;
        principle_->installEventFilter(this);
    }
    return *principle_;
}

MainWindow& WindowRegistry::start() {
    MainWindow& window = main();
    zorva::ui::centreOnScreen(window);
    window.show();
    return window;
}

void WindowRegistry::showConstruction() {
    bringToFront(construction());
}

void WindowRegistry::showPrinciple() {
    bringToFront(principle());
}

void WindowRegistry::setDepthText(const QString& text) {
    zorva::ui::rewriteField(main().designField(zorva::DepthField), text);
}

void WindowRegistry::focusCalculate() {
    MainWindow& window = main();
    if (window.isVisible())
        bringToFront(window);
    window.calculateButton()->setFocus(Qt::OtherFocusReason);
}

void WindowRegistry::readConstruction(zorva::FieldRecord& record) {
    construction().readInto(record);
}

void WindowRegistry::setFillText(const QString& text) {
    if (linkNesting_ >= kLinkNestingLimit)
        return;
    ++linkNesting_;
    linkNestingPeak_ = std::max(linkNestingPeak_, linkNesting_);
    // The handlers catch every fault, so the count always comes back down.
    zorva::ui::rewriteField(construction().thicknessField(zorva::FillingLayerRow), text);
    --linkNesting_;
}

void WindowRegistry::setSession(zorva::ui::DesignSession* session) {
    session_ = session;
    if (main_ != nullptr)
        main_->setSession(session);
    if (construction_ != nullptr)
        watchConstructionEdits();
    if (session != nullptr) {
        session->setFieldAccess([this] { return main().fieldRecord(); },
                                [this](const zorva::FieldRecord& record) { writeDesign(record); });
    }
}

void WindowRegistry::watchConstructionEdits() {
    if (session_ == nullptr)
        return;
    for (QLineEdit* field : construction_->findChildren<QLineEdit*>()) {
        connect(field, &QLineEdit::textChanged, session_,
                &zorva::ui::DesignSession::noteInputsEdited, Qt::UniqueConnection);
    }
}

void WindowRegistry::writeDesign(const zorva::FieldRecord& record) {
    ConstructionWindow& c = construction();
    for (int row = 0; row < zorva::kConstructionRows; ++row) {
        const auto r = static_cast<zorva::ConstructionRow>(row);
        c.conductivityField(r)->setText(QString::fromStdString(record.conductivity[row]));
    }
    c.elbowsField()->setText(QString::fromStdString(record.elbows));
    for (int row = 0; row < zorva::kConstructionRows; ++row) {
        const auto r = static_cast<zorva::ConstructionRow>(row);
        c.thicknessField(r)->setText(QString::fromStdString(record.thickness[row]));
    }
    MainWindow& m = main();
    for (int i = 0; i < static_cast<int>(record.design.size()); ++i)
        m.field(i)->setText(QString::fromStdString(record.design[static_cast<std::size_t>(i)]));
}

bool WindowRegistry::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Close) {
        if (watched == main_ && endGuard_ && !endGuard_()) {
            event->ignore();
            return true;
        }
        if (watched == main_)
            endProgram();
        else if (watched == construction_ || watched == principle_)
            discard(static_cast<QWidget*>(watched));
    }
    return QObject::eventFilter(watched, event);
}

// Forgets a closed window; it is deleted once its close has been handled.
void WindowRegistry::discard(QWidget* window) {
    if (window == nullptr)
        return;
    if (window == construction_)
        construction_ = nullptr;
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
    discard(construction_);
    QCoreApplication::quit();
}
