// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small helpers shared by the program's windows: window set-up, twip
// geometry, the fonts by name with their fallbacks, and the number in a
// field.

#include "core/wording/fieldtext.h"

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

// Makes a field one of the program's number fields: no length limit (Qt cuts
// a text at 32,767 characters by default), and full-width digits and signs,
// wide and no-break spaces and invisible direction marks turned into the
// plain forms as soon as they are typed or pasted, the caret kept in place.
// The field's change handling sees only the converted text.
void makeNumberField(QLineEdit* field);

// The program writes a field's text. When the user is typing in that field,
// the new text is selected, so that the next key replaces it instead of
// being added to it.
void rewriteField(QLineEdit* field, const QString& text);

// What every window of the program starts with: its object name (the name
// tests and assistive tools find it by), its caption and the program icon.
void setUpWindow(QWidget& window, const QString& objectName, const QString& caption);

// Places a top-level window in the middle of its screen's free area.
void centreOnScreen(QWidget& window);

} // namespace zorva::ui
