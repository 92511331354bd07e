// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The construction window: the floor construction (thickness and
// conductivity of the three layers and of the pipe wall) and the elbow count
// of one loop. Its fields are the only store of these values. A change of a
// layer thickness rewrites the main window's burial depth.

#include "core/engine/inputs.h"

#include <QWidget>

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace zorva::ui {

class DialogSeam;
class MainLink;

class ConstructionWindow : public QWidget {
    Q_OBJECT

public:
    // Builds the window hidden, with its default texts.
    ConstructionWindow(MainLink& main, DialogSeam& dialogs, QWidget* parent = nullptr);

    // The thickness Txt1(row) and the conductivity Text1(row) of a row.
    QLineEdit* thicknessField(zorva::ConstructionRow row) const;
    QLineEdit* conductivityField(zorva::ConstructionRow row) const;
    // The elbow count Txt1(5).
    QLineEdit* elbowsField() const { return elbowsField_; }
    QPushButton* okButton() const { return okButton_; }

    // Copies the construction texts into the record.
    void readInto(zorva::FieldRecord& record) const;

private:
    void buildLayout();
    QLabel* addLabel(const QString& name, const QString& caption, int left, int top);
    QLineEdit* addField(const QString& name, const QString& text, const QString& accessible,
                        int left, int top);
    void connectHandlers();

    void onThicknessChanged(QLineEdit* field);
    void onConductivityChanged(QLineEdit* field);
    void onOkClicked();

    MainLink& main_;
    DialogSeam& dialogs_;
    std::array<QLineEdit*, zorva::kConstructionRows> thicknessFields_{};
    std::array<QLineEdit*, zorva::kConstructionRows> conductivityFields_{};
    QLineEdit* elbowsField_ = nullptr;
    QPushButton* okButton_ = nullptr;
};

} // namespace zorva::ui
