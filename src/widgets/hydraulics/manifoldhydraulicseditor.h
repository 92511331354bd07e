// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window "分集水器水力参数": one manifold's presetting valve (the
// generic characteristic or a product's valve file), connection pipes or
// their typed drop, body kv, flow-meter range, pump curve and mixing
// station (docs/hydraulics.md §2–§5). 应用 checks every field against the
// project file's ranges and applies them as one undo step of the project.

#include "core/project/hydraulicsinputs.h"

#include <QMainWindow>

#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace zorva::models {
class ProjectDocument;
}

namespace zorva::ui {

class DialogSeam;

class ManifoldHydraulicsEditor : public QMainWindow {
    Q_OBJECT

public:
    ManifoldHydraulicsEditor(models::ProjectDocument& document, DialogSeam& dialogs,
                             QWidget* parent = nullptr);

    // The fields as inputs, or empty with the first field at fault named in
    // the status line.
    std::optional<project::ManifoldHydraulicsInputs> inputs();
    // Applies the fields to the chosen manifold; false when a field is at
    // fault or nothing changed.
    bool apply();
    // Asks for a valve file (CSV or JSON) and takes it as the valve.
    bool chooseValveFile();

    QLineEdit* field(const QString& objectName) const;
    QCheckBox* pipesBox() const { return pipes_; }
    QCheckBox* mixingBox() const { return mixing_; }

private:
    void refreshManifolds();
    void showManifold();

    models::ProjectDocument& document_;
    DialogSeam& dialogs_;
    QComboBox* manifold_ = nullptr;
    QComboBox* valveSource_ = nullptr;
    QLineEdit* valveFile_ = nullptr;
    QCheckBox* pipes_ = nullptr;
    QCheckBox* mixing_ = nullptr;
    QCheckBox* inPump_ = nullptr;
    QLineEdit* pumpCurve_ = nullptr;
    QLabel* status_ = nullptr;
    // The table of the valve file last chosen or read.
    hydraulics::ValveCharacteristic fileTable_;
};

// "0:60; 1.5:45" ↔ pump curve points (flow m³/h : head kPa).
QString pumpCurveText(const std::vector<hydraulics::PumpCurvePoint>& curve);
std::optional<std::vector<hydraulics::PumpCurvePoint>> pumpCurveFromText(const QString& text);

} // namespace zorva::ui
