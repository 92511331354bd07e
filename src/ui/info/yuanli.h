#pragma once
// The principle window: the diagram of the calculation cell with its layers
// and dimensions, under the caption "1、计算原理图". It has nothing to edit and
// no handlers; closing it destroys it.

#include <QImage>
#include <QWidget>

class QLabel;

class yuanli : public QWidget {
    Q_OBJECT

public:
    explicit yuanli(QWidget* parent = nullptr);

    // The picture of Pic11: the diagram at its own 300 x 250 pixels.
    QImage picture() const { return picture_; }

    QLabel* Lab11() const { return lab11_; }
    QLabel* Pic11() const { return pic11_; }

private:
    QImage picture_;
    QLabel* lab11_;
    QLabel* pic11_;
};
