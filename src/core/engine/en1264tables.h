// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The type A tables of EN 1264-2 and their look-up: linear between grid
// points, held at the first and last point, exact on a grid point. Two-way
// tables are read row by row along the column variable first, then along
// the pipe spacing.

#include <span>

namespace zorva::en1264 {

// One-way table: grid x_0 < ... < x_n with values y_k.
double lookup(std::span<const double> grid, std::span<const double> values, double x);

// Two-way table with rows by `rowGrid` and columns by `columnGrid`; `cells`
// holds the rows one after another.
double lookup(std::span<const double> rowGrid, std::span<const double> columnGrid,
              std::span<const double> cells, double row, double column);

// Factors of the characteristic.
double tableAT(double coveringResistance);
double tableAU(double spacing, double coveringResistance);
double tableAD(double spacing, double coveringResistance);

// Limit-curve coefficients B_G (W/m²) and n_G by spacing and s_u/λ_E, for
// s_u/λ_E up to screedRatioTableEnd.
constexpr double screedRatioTableEnd = 0.0792;
double tableBG(double spacing, double screedResistance);
double tableNG(double spacing, double screedResistance);

// Limit-curve coefficients by s_u/T, for the thicker screeds.
double tableBGBySpacingRatio(double coverToSpacing);
double tableNGBySpacingRatio(double coverToSpacing);

} // namespace zorva::en1264
