// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The principle window: the diagram of the calculation cell with its layers
// and dimensions, under the caption "1、计算原理图". It has nothing to edit and
// no handlers; closing it destroys it.

#include <QImage>
#include <QWidget>

class QLabel;

namespace zorva::ui {

class PrincipleWindow : public QWidget {
    Q_OBJECT

public:
    explicit PrincipleWindow(QWidget* parent = nullptr);

    // The picture of the diagram box: the diagram at its own 300 x 250 pixels.
    QImage picture() const { return picture_; }

    QLabel* captionLabel() const { return captionLabel_; } // Lab11
    QLabel* diagramBox() const { return diagramBox_; }     // Pic11

private:
    QImage picture_;
    QLabel* captionLabel_;
    QLabel* diagramBox_;
};

} // namespace zorva::ui
