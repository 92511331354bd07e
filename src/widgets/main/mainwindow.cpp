// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/main/mainwindow.h"

#include "core/engine/calculate.h"
#include "core/engine/checked.h"
#include "core/engine/depthlink.h"
#include "core/engine/evaluation.h"
#include "core/engine/numparse.h"
#include "core/wording/fieldtext.h"
#include "models/session/designsession.h"
#include "widgets/common/uikit.h"
#include "widgets/dialogs/messages.h"
#include "widgets/main/constructionlink.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>

#include <algorithm>

using zorva::toQString;

namespace zorva::ui {

// The main window's fields as the fields of a Calculate run: read from both
// windows, with the clamp's texts written back into them.
class MainWindow::WindowFields final : public zorva::RunFields {
public:
    explicit WindowFields(MainWindow& window) : window_(window) {}

    const zorva::FieldRecord& current() override {
        record_ = window_.currentFields();
        return record_;
    }

    void writeClampFill(const zorva::NumberText& fill) override {
        window_.construction_.setFillText(toQString(fill));
    }

    void writeClampDepth(const zorva::NumberText&) override {
        // The filling layer's own handling has run: the depth is summed from
        // the layers as they now stand, as after any change of a layer.
        const zorva::LinkWrite depth =
            zorva::depthLinkWrite(zorva::LinkEvent::LayerChanged, window_.linkNumbers());
        rewriteField(window_.fields_[zorva::DepthField], toQString(depth.text));
    }

private:
    MainWindow& window_;
    zorva::FieldRecord record_;
};

MainWindow::MainWindow(ConstructionLink& construction, DialogSeam& dialogs,
                       WindowCommands& commands)
    : construction_(construction), dialogs_(dialogs), commands_(commands), fileDialog_(dialogs) {
    setUpWindow(*this, QStringLiteral("Zorva"), QStringLiteral("Zorva程序"));
    buildLayout();
    buildMenus();
    // The client area has a fixed size of its own; the menu bar sits above it.
    resize(twips(8910), twips(6120) + menuBar()->sizeHint().height());
    // The default texts are in place: from here on every change counts.
    connectHandlers();
}

MainWindow::~MainWindow() = default;

void MainWindow::connectHandlers() {
    for (QLineEdit* field : fields_) {
        connect(field, &QLineEdit::textChanged, this, [this] { onFieldChanged(); });
        field->installEventFilter(this);
    }
    // Edits of the inputs (not the results the run writes) tell the tool
    // windows that their numbers belong to the last calculation.
    for (int i = 0; i < kFirstResultField; ++i) {
        connect(fields_[static_cast<std::size_t>(i)], &QLineEdit::textChanged, this, [this] {
            if (session_ != nullptr)
                session_->noteInputsEdited();
        });
    }
    connect(calculateButton_, &QPushButton::clicked, this, [this] { calculate(); });
}

QLineEdit* MainWindow::field(int index) const {
    Q_ASSERT(index >= 0 && index < kFieldCount);
    return fields_[index];
}

QLineEdit* MainWindow::resultField(int k) const {
    Q_ASSERT(k >= 0 && k < kResultFieldCount);
    return fields_[kFirstResultField + k];
}

bool MainWindow::isField(const QObject* object) const {
    return std::find(fields_.begin(), fields_.end(), object) != fields_.end();
}

zorva::FieldRecord MainWindow::currentFields() const {
    zorva::FieldRecord fields;
    for (std::size_t i = 0; i < fields.design.size(); ++i)
        fields.design[i] = fields_[i]->text().toStdString();
    construction_.readConstruction(fields);
    return fields;
}

zorva::LinkNumbers MainWindow::linkNumbers() const {
    zorva::FieldRecord construction;
    construction_.readConstruction(construction);
    zorva::LinkNumbers now;
    now.surface = zorva::parseLeadingNumber(construction.thickness[zorva::SurfaceLayerRow]);
    now.level = zorva::parseLeadingNumber(construction.thickness[zorva::LevellingLayerRow]);
    now.fill = zorva::parseLeadingNumber(construction.thickness[zorva::FillingLayerRow]);
    now.depth = zorva::leadingNumber(fields_[zorva::DepthField]->text());
    return now;
}

void MainWindow::loadConstruction() {
    zorva::readSettings(vars_, currentFields());
}

// Whether the result fields show what the last converged run wrote.
bool MainWindow::resultsFromLastRun() const {
    if (lastResults_.isEmpty())
        return false;
    for (int k = 0; k < kResultFieldCount; ++k) {
        if (resultField(k)->text() != lastResults_[k])
            return false;
    }
    return true;
}

void MainWindow::load() {
    try {
        loadConstruction();
    } catch (const zorva::ArithmeticError& e) {
        showArithmeticFault(dialogs(), this, e.fault(), FaultSite::ConstructionLoad);
    }
}

// Any field changed: the filling layer of the construction window follows
// the burial depth, and the depth never leaves less than the surface and
// levelling layers above the pipe. Results are not recalculated.
void MainWindow::onFieldChanged() {
    FaultSite step = FaultSite::FillFromDepth;
    try {
        const zorva::LinkWrite fill =
            zorva::depthLinkWrite(zorva::LinkEvent::DesignChanged, linkNumbers());
        construction_.setFillText(toQString(fill.text));

        step = FaultSite::DepthFromLayers;
        const zorva::LinkWrite depth =
            zorva::depthLinkWrite(zorva::LinkEvent::FillFollowed, linkNumbers());
        if (depth.target == zorva::LinkTarget::None) {
            step = FaultSite::ConstructionLoad;
            loadConstruction();
        } else {
            rewriteField(fields_[zorva::DepthField], toQString(depth.text));
        }
    } catch (const zorva::ArithmeticError& e) {
        showArithmeticFault(dialogs(), this, e.fault(), step);
    }
}

CalcOutcome MainWindow::calculate() {
    try {
        WindowFields fields(*this);
        const zorva::RunReport report = zorva::calculate(vars_, fields);
        if (report.outcome != zorva::Outcome::Converged) {
            // The result fields still show an earlier design: say so.
            showNotConverged(dialogs(), this);
            return CalcOutcome::NotConverged;
        }
        const zorva::ResultTexts results = zorva::resultTexts(vars_, report);
        lastResults_.clear();
        for (int k = 0; k < kResultFieldCount; ++k) {
            resultField(k)->setText(toQString(results[static_cast<std::size_t>(k)]));
            lastResults_ << resultField(k)->text();
        }
        if (session_ != nullptr)
            session_->publishCalculation({fields.current(), zorva::evaluationOf(vars_, report)});
        return CalcOutcome::Converged;
    } catch (const zorva::ArithmeticError& e) {
        showArithmeticFault(dialogs(), this, e.fault(), FaultSite::Calculation,
                            resultsFromLastRun());
        return CalcOutcome::Fault;
    }
}

// Enter in any field runs the calculation; the key still reaches the field.
bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && isField(watched)) {
        const auto* key = static_cast<const QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        const auto chorded = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
        if (enter && (key->modifiers() & chorded) == Qt::NoModifier)
            calculate();
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace zorva::ui
