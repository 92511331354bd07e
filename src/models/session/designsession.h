// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the tool windows share with the main and construction windows: the
// field texts as they stand now, the last converged calculation, whether the
// inputs were edited since, and the design-check limits the user chose.
// The main window feeds it; the tool windows read it and follow its signals.

#include "core/engine/designcheck.h"
#include "core/engine/evaluation.h"
#include "core/engine/inputs.h"
#include "core/method/method.h"
#include "models/session/coolingsettings.h"

#include <QObject>

#include <functional>
#include <optional>

class QSettings;

namespace zorva::models {

// One converged Calculate run of the main window.
struct CalculatedDesign {
    FieldRecord fields; // the texts the run read, after the filling-layer clamp
    Evaluation run;     // its numbers, unrounded
};

class DesignSession : public QObject {
    Q_OBJECT

public:
    using FieldReader = std::function<FieldRecord()>;
    using FieldWriter = std::function<void(const FieldRecord&)>;

    // `settings` keeps the check limits between runs of the program; without
    // it the limits live only as long as the session.
    explicit DesignSession(QSettings* settings = nullptr, QObject* parent = nullptr);

    // Set by the main window: how the texts of both windows are read, and
    // written as a paste would write them (so the depth link runs).
    void setFieldAccess(FieldReader reader, FieldWriter writer);
    FieldRecord currentFields() const;
    void writeFields(const FieldRecord& fields);

    const std::optional<CalculatedDesign>& lastCalculation() const { return last_; }
    bool editedSinceCalculation() const { return edited_; }

    // Called by the main window after every converged run, and after every
    // edit of an input field of either window.
    void publishCalculation(const CalculatedDesign& design);
    void noteInputsEdited();

    const CheckLimits& limits() const { return limits_; }
    void setLimits(const CheckLimits& limits);

    // Set once when the stored limits were moved to this edition's defaults
    // (migrateCheckLimits); the design check window shows it and takes it,
    // so it is shown once.
    const QString& limitsNotice() const { return limitsNotice_; }
    QString takeLimitsNotice();

    // The calculation method of the tools, kept under "tools/method". A user
    // without a stored choice gets EN 1264-2; a session without settings
    // starts with the program's method, as the main window calculates.
    method::Method method() const { return method_; }
    void setMethod(method::Method method);

    // The season the design check works in, and the cooling design data.
    Season season() const { return season_; }
    void setSeason(Season season);
    const CoolingSettings& cooling() const { return cooling_; }
    void setCooling(const CoolingSettings& cooling);

signals:
    void calculated();
    void inputsEdited();
    void limitsChanged();
    void methodChanged();
    void seasonChanged();
    void coolingChanged();

private:
    QSettings* settings_;
    FieldReader reader_;
    FieldWriter writer_;
    std::optional<CalculatedDesign> last_;
    bool edited_ = false;
    CheckLimits limits_;
    QString limitsNotice_;
    method::Method method_ = method::Method::Program;
    Season season_ = Season::Heating;
    CoolingSettings cooling_ = CoolingSettings::defaults();
};

// The method stored under "tools/method": EN 1264-2 when none is stored or
// the stored key is unknown.
method::Method loadMethod(QSettings& settings);
void saveMethod(QSettings& settings, method::Method method);

// The limits as stored in `settings` (defaults for what is missing or out of
// range), and back; a save records the edition of the defaults.
CheckLimits loadCheckLimits(QSettings& settings);
void saveCheckLimits(QSettings& settings, const CheckLimits& limits);

// The edition of the defaults: the limits of JGJ 142-2012 / GB 50736-2012.
constexpr int kCheckLimitsEdition = 2012;
// Limits stored by an earlier version (no edition recorded) move once to
// this edition's defaults: each stored value that equals the old default
// takes the new one, values the user changed stay. True when it moved them;
// the edition is then recorded, so it happens once.
bool migrateCheckLimits(QSettings& settings);

} // namespace zorva::models
