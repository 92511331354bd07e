// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading a number from the start of a field text.
//
// Blanks, tabs and line feeds anywhere in the text are skipped; then come an
// optional sign, digits with at most one "." and an optional exponent
// introduced by E or D. Reading stops at the first character that does not
// fit; a text without a leading number reads as 0. The parse never fails: a
// number beyond the double range reads as an infinity (the next arithmetic
// step then reports the overflow) and one below it as zero.

#include <string_view>

namespace zorva {

double parseLeadingNumber(std::string_view text) noexcept;
double parseLeadingNumber(std::u16string_view text) noexcept;

} // namespace zorva
