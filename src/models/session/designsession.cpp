// SPDX-License-Identifier: GPL-3.0-or-later
#include "models/session/designsession.h"

#include "core/wording/checkwording.h"

#include <QSettings>

#include <cmath>
#include <utility>

namespace zorva::models {

DesignSession::DesignSession(QSettings* settings, QObject* parent)
    : QObject(parent), settings_(settings) {
    if (settings_ != nullptr) {
        if (migrateCheckLimits(*settings_))
            limitsNotice_ = limitsMigrationText();
        limits_ = loadCheckLimits(*settings_);
        method_ = loadMethod(*settings_);
        season_ = loadSeason(*settings_);
        cooling_ = loadCoolingSettings(*settings_);
    }
}

void DesignSession::setMethod(method::Method method) {
    if (method == method_)
        return;
    method_ = method;
    if (settings_ != nullptr)
        saveMethod(*settings_, method_);
    emit methodChanged();
}

void DesignSession::setSeason(Season season) {
    if (season == season_)
        return;
    season_ = season;
    if (settings_ != nullptr)
        saveSeason(*settings_, season_);
    emit seasonChanged();
}

void DesignSession::setCooling(const CoolingSettings& cooling) {
    cooling_ = cooling;
    if (settings_ != nullptr)
        saveCoolingSettings(*settings_, cooling_);
    emit coolingChanged();
}

method::Method loadMethod(QSettings& settings) {
    const QByteArray key = settings.value(QStringLiteral("tools/method")).toString().toUtf8();
    method::Method m = method::Method::En1264;
    if (!key.isEmpty() && method::methodFromKey(key.constData(), m))
        return m;
    return method::Method::En1264;
}

void saveMethod(QSettings& settings, method::Method method) {
    settings.setValue(QStringLiteral("tools/method"), QLatin1String(method::methodKey(method)));
}

QString DesignSession::takeLimitsNotice() {
    return std::exchange(limitsNotice_, QString());
}

void DesignSession::setFieldAccess(FieldReader reader, FieldWriter writer) {
    reader_ = std::move(reader);
    writer_ = std::move(writer);
}

FieldRecord DesignSession::currentFields() const {
    return reader_ ? reader_() : FieldRecord::defaults();
}

void DesignSession::writeFields(const FieldRecord& fields) {
    if (writer_)
        writer_(fields);
}

void DesignSession::publishCalculation(const CalculatedDesign& design) {
    last_ = design;
    edited_ = false;
    emit calculated();
}

void DesignSession::noteInputsEdited() {
    edited_ = true;
    emit inputsEdited();
}

void DesignSession::setLimits(const CheckLimits& limits) {
    limits_ = limits;
    if (settings_ != nullptr)
        saveCheckLimits(*settings_, limits_);
    emit limitsChanged();
}

namespace {

// A stored number, or the fallback when it is missing, not a number or
// outside [low, high].
double storedNumber(QSettings& s, const char* key, double fallback, double low, double high) {
    bool ok = false;
    const double v = s.value(QLatin1String(key)).toDouble(&ok);
    return ok && std::isfinite(v) && v >= low && v <= high ? v : fallback;
}

} // namespace

CheckLimits loadCheckLimits(QSettings& s) {
    CheckLimits d;
    CheckLimits l;
    s.beginGroup(QStringLiteral("designCheck"));
    const QVariant load = s.value(QStringLiteral("loadPerArea"));
    bool ok = false;
    const double loadValue = load.toDouble(&ok);
    if (load.isValid() && ok && std::isfinite(loadValue) && loadValue > 0 && loadValue <= 1000)
        l.loadPerArea = loadValue;
    const int category = s.value(QStringLiteral("category"), 0).toInt(&ok);
    if (ok && category >= 0 && category < kRoomCategoryCount)
        l.category = static_cast<RoomCategory>(category);
    l.minVelocity = storedNumber(s, "minVelocity", d.minVelocity, 0, 5);
    l.maxResistance = storedNumber(s, "maxResistance", d.maxResistance, 0, 500);
    l.maxSupplyTemp = storedNumber(s, "maxSupplyTemp", d.maxSupplyTemp, 0, 100);
    l.minTempDiff = storedNumber(s, "minTempDiff", d.minTempDiff, 0, 100);
    l.maxTempDiff = storedNumber(s, "maxTempDiff", d.maxTempDiff, 0, 100);
    l.maxLoopLength = storedNumber(s, "maxLoopLength", d.maxLoopLength, 0, 1000);
    s.endGroup();
    return l;
}

void saveCheckLimits(QSettings& s, const CheckLimits& l) {
    s.beginGroup(QStringLiteral("designCheck"));
    if (l.loadPerArea)
        s.setValue(QStringLiteral("loadPerArea"), *l.loadPerArea);
    else
        s.remove(QStringLiteral("loadPerArea"));
    s.setValue(QStringLiteral("edition"), kCheckLimitsEdition);
    s.setValue(QStringLiteral("category"), static_cast<int>(l.category));
    s.setValue(QStringLiteral("minVelocity"), l.minVelocity);
    s.setValue(QStringLiteral("maxResistance"), l.maxResistance);
    s.setValue(QStringLiteral("maxSupplyTemp"), l.maxSupplyTemp);
    s.setValue(QStringLiteral("minTempDiff"), l.minTempDiff);
    s.setValue(QStringLiteral("maxTempDiff"), l.maxTempDiff);
    s.setValue(QStringLiteral("maxLoopLength"), l.maxLoopLength);
    s.endGroup();
}

namespace {

// A stored limit whose default changed with the edition.
struct DefaultMove {
    const char* key;
    std::optional<double> before; // empty: the key did not exist
    double after;
};

// What JGJ 142-2012 / GB 50736-2012 changed in the stored limits: the
// supply–return difference gained its lower bound of 5 ℃. (The floor
// temperatures belong to the room category and are not stored.)
const DefaultMove kMoves[] = {
    {"minTempDiff", std::nullopt, 5},
};

} // namespace

bool migrateCheckLimits(QSettings& s) {
    s.beginGroup(QStringLiteral("designCheck"));
    const bool stored = !s.childKeys().isEmpty();
    const bool current = s.contains(QStringLiteral("edition"));
    if (!stored || current) {
        s.endGroup();
        return false;
    }
    for (const DefaultMove& move : kMoves) {
        const QString key = QLatin1String(move.key);
        const QVariant value = s.value(key);
        bool ok = false;
        const double number = value.toDouble(&ok);
        const bool atOldDefault =
            move.before ? value.isValid() && ok && number == *move.before : !value.isValid();
        if (atOldDefault)
            s.setValue(key, move.after);
    }
    s.setValue(QStringLiteral("edition"), kCheckLimitsEdition);
    s.endGroup();
    return true;
}

} // namespace zorva::models
