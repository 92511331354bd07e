#pragma once
// The program's own message texts, and the boxes that show them through the
// dialog seam: a calculation that cannot give results, a file that could not
// be read or written.

#include "checked.h"

#include <QString>

class DialogSeam;
class QWidget;

// Title of every message box of the program.
QString messageTitle();

// "An arithmetic error occurred" with the fault named, in Chinese.
QString arithmeticErrorText(zorva::Fault fault);

// The run reached the pass limit without meeting the tolerance.
QString notConvergedText();

// The box for an arithmetic fault: a critical box titled "Zorva".
void showArithmeticFault(DialogSeam& dialogs, QWidget* parent, zorva::Fault fault);

// The box for a run that did not converge: a warning box titled "Zorva".
void showNotConverged(DialogSeam& dialogs, QWidget* parent);

// The box for a file that could not be read or written: a warning box
// titled "Zorva" with the text of the failure.
void showFileWarning(DialogSeam& dialogs, QWidget* parent, const QString& text);
