// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's message boxes, built so that they always fit the available
// area of their screen: a text that would make the box larger than that
// area (a long record, many lines, many tabs) is shown in a scrollable
// read-only field instead, with the button always on screen.

#include <QMessageBox>
#include <QString>

#include <memory>

class QDialog;
class QWidget;

namespace zorva::ui {

// A modal box with the icon, title, text (never read as HTML) and one OK
// button, ready to exec().
std::unique_ptr<QDialog> makeMessageBox(QWidget* parent, QMessageBox::Icon icon,
                                        const QString& title, const QString& text);

} // namespace zorva::ui
