#pragma once
// The program's own message texts for a calculation that cannot give results.

#include "checked.h"

#include <QString>

// Title of every message box of the program.
QString messageTitle();

// "An arithmetic error occurred" with the fault named, in Chinese.
QString arithmeticErrorText(zorva::Fault fault);

// The run reached the pass limit without meeting the tolerance.
QString notConvergedText();
