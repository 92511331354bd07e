// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/engine/inputtext.h"

#include <algorithm>

namespace zorva {
namespace {

bool isDirectionControl(char16_t c) noexcept {
    return c == u'\u200E' || c == u'\u200F' || c == u'\u061C' ||
           (c >= u'\u202A' && c <= u'\u202E') || (c >= u'\u2066' && c <= u'\u2069') ||
           c == u'\uFEFF';
}

// The ASCII form of `c`, or `c` itself.
char16_t asciiForm(char16_t c) noexcept {
    if (c >= u'\uFF10' && c <= u'\uFF19')
        return static_cast<char16_t>(u'0' + (c - u'\uFF10'));
    switch (c) {
    case u'\uFF0E':
        return u'.';
    case u'\uFF0B':
        return u'+';
    case u'\uFF0D':
        return u'-';
    case u'\uFF25':
        return u'E';
    case u'\uFF45':
        return u'e';
    case u'\u3000':
    case u'\u00A0':
        return u' ';
    default:
        return c;
    }
}

} // namespace

bool needsNumberNormalizing(std::u16string_view text) noexcept {
    return std::any_of(text.begin(), text.end(),
                       [](char16_t c) { return isDirectionControl(c) || asciiForm(c) != c; });
}

std::u16string normalizeNumberText(std::u16string_view text) {
    std::u16string result;
    result.reserve(text.size());
    for (const char16_t c : text) {
        if (!isDirectionControl(c))
            result.push_back(asciiForm(c));
    }
    return result;
}

std::size_t normalizedPosition(std::u16string_view text, std::size_t position) noexcept {
    const std::u16string_view before = text.substr(0, std::min(position, text.size()));
    const auto removed = std::count_if(before.begin(), before.end(), isDirectionControl);
    return before.size() - static_cast<std::size_t>(removed);
}

} // namespace zorva
