// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts the installer's windows and the commissioning sheet share: a
// valve setting as it is dialled, the commissioning steps with their
// clauses, the names of the bill's items and units, and the pump duty with
// the method it comes from (docs/hydraulics.md, docs/materials.md).

#include "core/hydraulics/commissioning.h"
#include "core/hydraulics/pump.h"
#include "core/materials/bill.h"

#include <QString>

namespace zorva::models {

// "5.75", "6（全开）", "1（无法节流到位）", "—" when the loop has no setting.
QString valveSettingText(const hydraulics::CommissioningRow& row);
// A dial setting alone: up to three decimals, no trailing zeros.
QString settingNumber(double setting);

// "JGJ 142" / "EN 1264-4".
QString standardText(hydraulics::Standard standard);
// The step's short name (水压试验, 初始加热 …) and what it asks for.
QString stepName(const hydraulics::CommissioningStep& step);
QString stepRequirement(const hydraulics::CommissioningStep& step);
// The clause, with a note when its number was not checked against the
// current edition.
QString stepClause(const hydraulics::CommissioningStep& step);

// The unit of a bill's item as shown: m, m², 个 … (the item's name is
// io::materialName).
QString materialUnit(materials::MaterialUnit unit);
// Where the quantity comes from: the rule and the page that explains it.
QString materialBasis(const materials::MaterialItem& item, const materials::BillOptions& options);

} // namespace zorva::models
