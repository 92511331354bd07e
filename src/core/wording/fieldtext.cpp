// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/wording/fieldtext.h"

#include "core/engine/numparse.h"

#include <string_view>

namespace zorva {

double leadingNumber(const QString& text) {
    return parseLeadingNumber(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                                  static_cast<std::size_t>(text.size())));
}

QString toQString(const NumberText& text) {
    const std::string_view v = text.view();
    return QString::fromLatin1(v.data(), static_cast<qsizetype>(v.size()));
}

} // namespace zorva
