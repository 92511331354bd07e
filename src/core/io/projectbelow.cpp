// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/io/projectbelow.h"

#include "core/io/jsonfields.h"

#include <array>

namespace zorva::io {

namespace {

using namespace json;
using en1264::Below;
using en1264::BelowKind;

constexpr std::pair<const char*, BelowKind> kKinds[] = {{"heatedRoom", BelowKind::HeatedRoom},
                                                        {"unheatedRoom", BelowKind::UnheatedRoom},
                                                        {"ground", BelowKind::Ground},
                                                        {"outdoorAir", BelowKind::OutdoorAir}};
const Choice<Below, BelowKind> kKind{"kind", "楼板下方", kKinds, Presence::Defaulted, &Below::kind};

const std::array<Number<Below>, 4> kNumbers{{
    plain<Below, &Below::insulation>({"insulation", "绝热层热阻", "m²·K/W", 0, 20, true}),
    plain<Below, &Below::slab>({"slab", "楼板热阻", "m²·K/W", 0, 20, true}),
    plain<Below, &Below::plaster>({"plaster", "顶棚抹灰热阻", "m²·K/W", 0, 20, true}),
    optional<Below, &Below::temp>({"temp", "下方温度", "℃", -60, 60, true}),
}};

QString at(const QString& where) {
    return where + QStringLiteral("的楼板下方（below）");
}

} // namespace

QString readBelow(const QJsonObject& obj, Below& below, const QString& where, QJsonObject& extras) {
    if (QString e = readChoice(obj, kKind, below, at(where)); !e.isEmpty())
        return e;
    extras = unknownKeys(obj, {"kind", "insulation", "slab", "plaster", "temp"});
    return readNumbers<Below>(obj, kNumbers, below, at(where));
}

QString writeBelow(const Below& below, const QString& where, QJsonObject& out) {
    out = {};
    writeChoice(out, kKind, below);
    writeNumbers<Below>(out, kNumbers, below);
    return checkNumbers<Below>(kNumbers, below, at(where));
}

} // namespace zorva::io
