// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Number texts as Chinese input methods and pasted text deliver them: turned
// into the ASCII forms the leading-number parse reads.
//
// - Full-width digits ０–９ and full-width "．", "＋", "－", "Ｅ", "ｅ" become
//   their ASCII forms.
// - The ideographic space U+3000 and the no-break space U+00A0 become a
//   blank.
// - Invisible direction controls are removed: the marks U+200E, U+200F and
//   U+061C, the embeddings and overrides U+202A–U+202E, the isolates
//   U+2066–U+2069, and the byte order mark U+FEFF.
//
// Every other character stays as it is (a full-width comma too: it is no
// decimal separator in a field).

#include <cstddef>
#include <string>
#include <string_view>

namespace zorva {

// The text with the changes above; the same text when none applies.
std::u16string normalizeNumberText(std::u16string_view text);

// Whether normalizeNumberText would change the text.
bool needsNumberNormalizing(std::u16string_view text) noexcept;

// Where a caret standing before text[position] stands in the normalized
// text: removed characters before it no longer count. A position past the
// end maps to the end.
std::size_t normalizedPosition(std::u16string_view text, std::size_t position) noexcept;

} // namespace zorva
