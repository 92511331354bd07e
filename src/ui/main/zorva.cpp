#include "zorva.h"

#include "calculate.h"
#include "checked.h"
#include "dialogseam.h"
#include "inputs.h"
#include "messages.h"
#include "shezhi.h"
#include "uikit.h"
#include "windowregistry.h"
#include "zorvaresources.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>

#include <algorithm>

using zorva::ui::leadingNumber;
using zorva::ui::toQString;
using zorva::ui::twips;

Zorva::Zorva(WindowRegistry& windows) : windows_(windows), commonDialog1_(windows.dialogs()) {
    setObjectName(QStringLiteral("Zorva"));
    setWindowTitle(QStringLiteral("Zorva程序"));
    setWindowIcon(zorva::programIcon());
    buildLayout();
    buildMenus();
    // The client area has a fixed size of its own; the menu bar sits above it.
    resize(twips(8910), twips(6120) + menuBar()->sizeHint().height());
    // The default texts are in place: from here on every change counts.
    connectHandlers();
}

Zorva::~Zorva() = default;

void Zorva::connectHandlers() {
    for (int i = 0; i < kFieldCount; ++i) {
        connect(txt_[i], &QLineEdit::textChanged, this, [this, i] { txtChange(i); });
        txt_[i]->installEventFilter(this);
    }
    connect(command1_, &QPushButton::clicked, this, [this] { calculate(); });
}

QLineEdit* Zorva::txt(int index) const {
    Q_ASSERT(index >= 0 && index < kFieldCount);
    return txt_[index];
}

DialogSeam& Zorva::dialogs() const {
    return windows_.dialogs();
}

shezhi& Zorva::settings() const {
    return windows_.settings();
}

bool Zorva::isTxt(const QObject* object) const {
    return std::find(txt_.begin(), txt_.end(), object) != txt_.end();
}

zorva::FieldRecord Zorva::currentFields() const {
    zorva::FieldRecord fields;
    for (std::size_t i = 0; i < fields.design.size(); ++i)
        fields.design[i] = txt_[i]->text().toStdString();
    settings().readInto(fields);
    return fields;
}

void Zorva::readSettings() {
    zorva::ReadSettings(vars_, currentFields());
}

void Zorva::reportFault(const zorva::ArithmeticError& error) {
    dialogs().message(this, QMessageBox::Critical, messageTitle(),
                      arithmeticErrorText(error.fault()));
}

void Zorva::load() {
    try {
        readSettings();
    } catch (const zorva::ArithmeticError& e) {
        reportFault(e);
    }
}

// Any field changed: the filling layer of the settings window follows the
// burial depth, and the depth never leaves less than the surface and
// levelling layers above the pipe. Results are not recalculated.
void Zorva::txtChange(int /*index*/) {
    try {
        const double surface = leadingNumber(settings().txt1(0));
        const double level = leadingNumber(settings().txt1(1));
        const double depth = leadingNumber(txt_[zorva::DepthField]);
        settings().txt1(2)->setText(toQString(zorva::fillFromDepthText(depth, surface, level)));

        if (leadingNumber(settings().txt1(2)) > 0) {
            readSettings();
        } else {
            // No room for the filling layer: give it 10 mm below the others.
            const double surfaceNow = leadingNumber(settings().txt1(0));
            const double levelNow = leadingNumber(settings().txt1(1));
            txt_[zorva::DepthField]->setText(
                toQString(zorva::layerSumText(surfaceNow, levelNow, 10)));
        }
    } catch (const zorva::ArithmeticError& e) {
        reportFault(e);
    }
}

CalcOutcome Zorva::calculate() {
    try {
        zorva::FieldRecord fields = currentFields();
        zorva::ReadSettings(vars_, fields);

        // The filling layer must be at least as thick as the pipe is wide.
        if (const auto clamp = zorva::clampFillingLayer(fields)) {
            settings().txt1(2)->setText(toQString(clamp->fill));
            const double level = leadingNumber(settings().txt1(1));
            const double fill = leadingNumber(settings().txt1(2));
            const double surface = leadingNumber(settings().txt1(0));
            txt_[zorva::DepthField]->setText(toQString(zorva::layerSumText(surface, level, fill)));
            fields = currentFields();
            zorva::ReadSettings(vars_, fields);
        }

        const zorva::RunReport report = zorva::runCalculation(vars_, fields);
        if (report.outcome != zorva::Outcome::Converged) {
            // The result fields still show an earlier design: say so.
            dialogs().message(this, QMessageBox::Warning, messageTitle(), notConvergedText());
            return CalcOutcome::NotConverged;
        }
        const zorva::ResultTexts results = zorva::resultTexts(vars_, report);
        for (std::size_t k = 0; k < results.size(); ++k)
            txt_[7 + k]->setText(toQString(results[k]));
        return CalcOutcome::Converged;
    } catch (const zorva::ArithmeticError& e) {
        reportFault(e);
        return CalcOutcome::Fault;
    }
}

// Enter in any field runs the calculation; the key still reaches the field.
bool Zorva::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && isTxt(watched)) {
        const auto* key = static_cast<const QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        const auto chorded = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
        if (enter && (key->modifiers() & chorded) == Qt::NoModifier)
            calculate();
    }
    return QMainWindow::eventFilter(watched, event);
}

void Zorva::closeEvent(QCloseEvent* event) {
    event->accept();
    emit closed();
}
