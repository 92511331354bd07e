// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/main/windowregistry.h"

#include "models/session/designsession.h"
#include "widgets/common/uikit.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>

namespace zorva::ui {

WindowRegistry::WindowRegistry(DialogSeam& dialogs, QObject* parent)
    : QObject(parent), dialogs_(dialogs),
      link_([this]() -> MainWindow& { return main(); },
            [this]() -> ConstructionWindow& { return construction(); }),
      construction_([this] { return new ConstructionWindow(link_, dialogs_); }),
      principle_([] { return new PrincipleWindow; }) {
    // A rebuilt construction window tells the tools of its edits as the
    // first one did.
    connect(&construction_.slot(), &WindowSlot::built, this,
            &WindowRegistry::watchConstructionEdits);
}

WindowRegistry::~WindowRegistry() {
    // The other windows go first: they may still refer to the main window.
    principle_.destroyAll();
    construction_.destroyAll();
    delete main_.data();
}

MainWindow& WindowRegistry::main() {
    if (main_.isNull()) {
        main_ = new MainWindow(link_, dialogs_, *this);
        main_->setSession(session_);
        main_->installEventFilter(this);
        main_->load();
    }
    return *main_;
}

MainWindow& WindowRegistry::start() {
    MainWindow& window = main();
    centreOnScreen(window);
    window.show();
    return window;
}

void WindowRegistry::setSession(models::DesignSession* session) {
    session_ = session;
    if (main_ != nullptr)
        main_->setSession(session);
    watchConstructionEdits();
    if (session != nullptr) {
        session->setFieldAccess([this] { return main().fieldRecord(); },
                                [this](const FieldRecord& record) { writeDesign(record); });
    }
}

void WindowRegistry::watchConstructionEdits() {
    ConstructionWindow* window = construction_.existing();
    if (session_ == nullptr || window == nullptr)
        return;
    for (QLineEdit* field : window->findChildren<QLineEdit*>()) {
        connect(field, &QLineEdit::textChanged, session_, &models::DesignSession::noteInputsEdited,
                Qt::UniqueConnection);
    }
}

void WindowRegistry::writeDesign(const FieldRecord& record) {
    ConstructionWindow& c = construction();
    for (int row = 0; row < kConstructionRows; ++row) {
        const auto r = static_cast<ConstructionRow>(row);
        c.conductivityField(r)->setText(QString::fromStdString(record.conductivity[row]));
    }
    c.elbowsField()->setText(QString::fromStdString(record.elbows));
    for (int row = 0; row < kConstructionRows; ++row) {
        const auto r = static_cast<ConstructionRow>(row);
        c.thicknessField(r)->setText(QString::fromStdString(record.thickness[row]));
    }
    MainWindow& m = main();
    for (int i = 0; i < static_cast<int>(record.design.size()); ++i)
        m.field(i)->setText(QString::fromStdString(record.design[static_cast<std::size_t>(i)]));
}

bool WindowRegistry::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Close && watched == main_) {
        if (endGuard_ && !endGuard_()) {
            event->ignore();
            return true;
        }
        endProgram();
    }
    return QObject::eventFilter(watched, event);
}

// Closing the main window ends the program; the other windows go with it.
void WindowRegistry::endProgram() {
    principle_.discard();
    construction_.discard();
    QCoreApplication::quit();
}

} // namespace zorva::ui
