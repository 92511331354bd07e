// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Field texts as Qt strings: the engine's leading-number parse of a QString
// and the engine's number text as a QString. Used by the windows and by the
// record format alike.

#include "core/engine/numtext.h"

#include <QString>

namespace zorva {

// The number at the start of a text (0 when there is none).
double leadingNumber(const QString& text);

// A number text as produced by the engine's formatting.
QString toQString(const NumberText& text);

} // namespace zorva
