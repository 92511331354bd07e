// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's own message texts, and the boxes that show them through the
// dialog seam: a calculation that cannot give results, a file that could not
// be read or written.

#include "core/engine/checked.h"

#include <QString>

class QWidget;

namespace zorva::ui {

class DialogSeam;

// Title of every message box of the program.
QString messageTitle();

// Where an arithmetic fault stopped the program's work.
enum class FaultSite {
    Calculation,      // a Calculate run
    DepthFromLayers,  // the burial depth summed from the layer thicknesses
    FillFromDepth,    // the filling layer derived from the burial depth
    ConstructionLoad, // the construction values read into the calculation
};

// "An arithmetic error occurred" with the fault named and what it stopped,
// in Chinese. After a Calculate run, `resultsKept` adds that the result
// fields still hold the last successful calculation.
QString arithmeticErrorText(zorva::Fault fault, FaultSite site, bool resultsKept = false);

// The run reached the pass limit without meeting the tolerance.
QString notConvergedText();

// The box for an arithmetic fault: a critical box titled "Zorva".
void showArithmeticFault(DialogSeam& dialogs, QWidget* parent, zorva::Fault fault, FaultSite site,
                         bool resultsKept = false);

// The box for a run that did not converge: a warning box titled "Zorva".
void showNotConverged(DialogSeam& dialogs, QWidget* parent);

// The box for a file that could not be read or written: a warning box
// titled "Zorva" with the text of the failure.
void showFileWarning(DialogSeam& dialogs, QWidget* parent, const QString& text);

} // namespace zorva::ui
