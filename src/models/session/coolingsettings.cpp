// SPDX-License-Identifier: GPL-3.0-or-later
#include "models/session/coolingsettings.h"

#include <QSettings>

#include <cmath>

namespace zorva::models {

CoolingSettings CoolingSettings::defaults() {
    CoolingSettings c;
    const auto water =
        cooling::designWater(c.roomTemp, c.humidity, c.dewMargin, cooling::kDefaultRise);
    c.supplyTemp = water ? water->supplyTemp : cooling::kTypicalSupplyHigh;
    c.returnTemp = water ? water->returnTemp : cooling::kTypicalSupplyHigh + cooling::kDefaultRise;
    return c;
}

namespace {

double stored(QSettings& s, const char* key, double fallback, double low, double high) {
    bool ok = false;
    const double v = s.value(QLatin1String(key)).toDouble(&ok);
    return ok && std::isfinite(v) && v >= low && v <= high ? v : fallback;
}

} // namespace

CoolingSettings loadCoolingSettings(QSettings& s) {
    const CoolingSettings d = CoolingSettings::defaults();
    CoolingSettings c;
    s.beginGroup(QStringLiteral("cooling"));
    c.roomTemp = stored(s, "roomTemp", d.roomTemp, 10, 40);
    c.humidity = stored(s, "humidity", d.humidity, 0.01, 1);
    c.supplyTemp = stored(s, "supplyTemp", d.supplyTemp, 5, 40);
    c.returnTemp = stored(s, "returnTemp", d.returnTemp, 5, 40);
    c.dewMargin = stored(s, "dewMargin", d.dewMargin, cooling::kLowestDewMargin, 10);
    bool ok = false;
    const int occupancy = s.value(QStringLiteral("occupancy"), 0).toInt(&ok);
    if (ok && occupancy >= 0 && occupancy <= static_cast<int>(cooling::Occupancy::Transit))
        c.occupancy = static_cast<cooling::Occupancy>(occupancy);
    const double load = stored(s, "loadPerArea", -1, 0.001, 1000);
    if (load > 0)
        c.loadPerArea = load;
    s.endGroup();
    return c;
}

void saveCoolingSettings(QSettings& s, const CoolingSettings& c) {
    s.beginGroup(QStringLiteral("cooling"));
    s.setValue(QStringLiteral("roomTemp"), c.roomTemp);
    s.setValue(QStringLiteral("humidity"), c.humidity);
    s.setValue(QStringLiteral("supplyTemp"), c.supplyTemp);
    s.setValue(QStringLiteral("returnTemp"), c.returnTemp);
    s.setValue(QStringLiteral("dewMargin"), c.dewMargin);
    s.setValue(QStringLiteral("occupancy"), static_cast<int>(c.occupancy));
    if (c.loadPerArea)
        s.setValue(QStringLiteral("loadPerArea"), *c.loadPerArea);
    else
        s.remove(QStringLiteral("loadPerArea"));
    s.endGroup();
}

Season loadSeason(QSettings& s) {
    return s.value(QStringLiteral("tools/season")).toString() == QLatin1String("cooling")
               ? Season::Cooling
               : Season::Heating;
}

void saveSeason(QSettings& s, Season season) {
    s.setValue(QStringLiteral("tools/season"),
               season == Season::Cooling ? QStringLiteral("cooling") : QStringLiteral("heating"));
}

} // namespace zorva::models
