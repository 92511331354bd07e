// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The design check of one cooled loop as a table: 项目, 计算值, 限值, 结论,
// 依据. The loop is the main window's (spacing, length, pipe) on the
// construction window's floor, cooled with the session's cooling design
// data by EN 1264-5 / ISO 11855-2: the cooling output, the floor surface
// temperatures, the dew point, the lowest allowed supply and floor surface
// temperature, and the checks D1–D3, F1, R1 and, with a load, L1. Each value
// is shown with the decimals that put it on the side of its limit it lies
// on, so a verdict never contradicts the number beside it
// (docs/cooling.md, "The cooling check").

#include "core/cooling/room.h"
#include "core/engine/inputs.h"
#include "models/session/coolingsettings.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <optional>
#include <vector>

namespace zorva::models {

// The loop's cooling numbers and, with a load, its room's.
struct CoolingCheck {
    cooling::LoopResult loop;
    std::optional<cooling::RoomResult> room; // only with a load
    // The supply the check proposes: with a load the warmest that carries it
    // within every limit (or the coldest admissible), without one the lowest
    // admissible; never below θ_d + Δθ_s. Empty where no water is admissible.
    std::optional<double> proposedSupplyTemp;
};

CoolingCheck coolingCheck(const FieldRecord& fields, const CoolingSettings& settings);

// Why a loop has no cooling numbers, as a sentence.
QString coolingApplicabilityText(cooling::Applicability applicability);

// `value` with the fewest decimals (at least `decimals`) at which it and
// `limit`, both rounded, compare as the unrounded numbers do.
QString numberBeside(double value, double limit, int decimals = 2);
// The required checks of a cooled loop that fail (D1, D2, D3, F1), one
// sentence each with the values beside their limits; empty when all pass.
QStringList coolingFailures(const cooling::LoopResult& loop);

// One line for the status: the method, the overall verdict and the first
// reason that fails.
QString coolingSummary(const CoolingCheck& check);

class CoolingCheckModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { NameColumn, ValueColumn, LimitColumn, VerdictColumn, BasisColumn, ColumnCount };
    enum Row {
        OutputRow,         // q_C, against the load (L1)
        CharacteristicRow, // K_C
        FloorDewRow,       // θ_F,m against θ_d + Δθ_s (D2)
        FloorComfortRow,   // θ_F,m against θ_F,min (F1)
        InletRow,          // θ_F,V against θ_d + Δθ_s (D3)
        SupplyRow,         // θ_V against θ_d + Δθ_s (D1)
        RiseRow,           // σ within 2–5 K (R1)
        DewPointRow,       // θ_d
        MinSupplyRow,      // θ_V,min
        MinFloorRow,       // θ_F,lower
        MaxOutputRow,      // q_max,adm
        LoadRow,           // Q_adm against the sensible load Q_s (L1)
        ProposedRow,       // the proposed supply
        RowCount
    };
    // The unrounded value of a row's 计算值 (a double), for tests and exports.
    static constexpr int ValueRole = Qt::UserRole + 2;

    explicit CoolingCheckModel(QObject* parent = nullptr);

    void setCheck(const CoolingCheck& check);
    void clear();
    const std::optional<CoolingCheck>& check() const { return check_; }

    // The verdict of a row (未校核 for rows without a limit).
    Verdict verdict(int row) const;
    // The worst verdict of the rows.
    Verdict overall() const;
    QString rowSentence(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    struct Line {
        QString name;
        double value = 0;
        bool hasValue = true;
        QString unit;
        QString limitText;
        std::optional<double> limit; // the compared limit, for the decimals
        Verdict verdict = Verdict::NotChecked;
        bool judged = false; // a check's row: its verdict is shown
        QString basis;
    };
    void build();
    QString cellText(int row, int column) const;

    std::optional<CoolingCheck> check_;
    std::vector<Line> lines_;
};

} // namespace zorva::models
