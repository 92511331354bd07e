#pragma once
// Small helpers shared by the program's windows: window set-up, twip
// geometry, the fonts by name with their fallbacks, and the number in a
// field.

#include "fieldtext.h"

#include <QFont>
#include <QRect>
#include <QString>

class QLineEdit;
class QWidget;

namespace zorva::ui {

// Fifteen twips make one device-independent pixel.
constexpr int twips(int n) {
    return (n + 7) / 15;
}

constexpr QRect twipsRect(int left, int top, int width, int height) {
    return QRect(twips(left), twips(top), twips(width), twips(height));
}

// "宋体" at the given size, falling back to an installed Song-style face.
QFont songFont(double pointSize);

// "Times New Roman" at the given size, falling back to a metric-compatible
// serif, and to a Song face for Chinese characters.
QFont timesFont(double pointSize);

// The number at the start of a field's text (0 when there is none).
double fieldNumber(const QLineEdit* field);

// What every window of the program starts with: its object name (the name
// tests and assistive tools find it by), its caption and the program icon.
void setUpWindow(QWidget& window, const QString& objectName, const QString& caption);

// Places a top-level window in the middle of its screen's free area.
void centreOnScreen(QWidget& window);

} // namespace zorva::ui
