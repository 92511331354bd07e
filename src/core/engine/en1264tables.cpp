// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/engine/en1264tables.h"

#include <array>
#include <cstddef>

namespace zorva::en1264 {

namespace {

constexpr std::array<double, 4> kCovering = {0, 0.05, 0.10, 0.15};
constexpr std::array<double, 8> kSpacing = {0.050, 0.075, 0.100, 0.150, 0.200, 0.225, 0.300, 0.375};
// n_G has two more spacing rows than the other tables.
constexpr std::array<double, 10> kSpacingNG = {0.0500, 0.0750, 0.1000, 0.1500, 0.2000,
                                               0.2250, 0.2625, 0.3000, 0.3375, 0.3750};
constexpr std::array<double, 9> kScreedResistance = {0.0100, 0.0208, 0.0292, 0.0375, 0.0458,
                                                     0.0542, 0.0625, 0.0708, 0.0792};
constexpr std::array<double, 13> kSpacingRatio = {0.173, 0.20, 0.25, 0.30, 0.35, 0.40, 0.45,
                                                  0.50,  0.55, 0.60, 0.65, 0.70, 0.75};

constexpr std::array<double, 4> kAT = {1.23, 1.188, 1.156, 1.134};

// clang-format off
constexpr std::array<double, 8 * 4> kAU = {
    1.069,  1.056,  1.043,  1.037,
    1.066,  1.053,  1.041,  1.035,
    1.063,  1.050,  1.039,  1.0335,
    1.057,  1.046,  1.035,  1.0305,
    1.051,  1.041,  1.0315, 1.0275,
    1.048,  1.038,  1.0295, 1.026,
    1.0395, 1.031,  1.024,  1.021,
    1.030,  1.0221, 1.0181, 1.015,
};

constexpr std::array<double, 8 * 4> kAD = {
    1.013, 1.013, 1.012, 1.011,
    1.021, 1.019, 1.016, 1.014,
    1.029, 1.025, 1.022, 1.018,
    1.040, 1.034, 1.029, 1.024,
    1.046, 1.040, 1.035, 1.030,
    1.049, 1.043, 1.038, 1.033,
    1.053, 1.049, 1.044, 1.039,
    1.056, 1.051, 1.046, 1.042,
};

constexpr std::array<double, 8 * 9> kBG = {
    85.0, 91.5, 96.8, 100,  100,  100,  100,  100,  100,
    75.3, 83.5, 89.9, 96.3, 99.5, 100,  100,  100,  100,
    66.0, 75.4, 82.9, 89.3, 95.5, 98.8, 100,  100,  100,
    51.0, 61.1, 69.2, 76.3, 82.7, 87.5, 91.8, 95.1, 97.8,
    38.5, 48.2, 56.2, 63.1, 69.1, 74.5, 81.3, 86.4, 90.0,
    33.0, 42.5, 49.5, 56.5, 62.0, 67.5, 75.3, 81.6, 86.1,
    20.5, 26.8, 31.6, 36.4, 41.5, 47.5, 57.5, 65.3, 72.4,
    11.5, 13.7, 15.5, 18.2, 21.5, 27.5, 40.0, 49.1, 58.3,
};

constexpr std::array<double, 10 * 9> kNG = {
    0.008, 0.005, 0.002, 0,     0,     0,     0,     0,     0,
    0.024, 0.021, 0.018, 0.011, 0.002, 0,     0,     0,     0,
    0.046, 0.043, 0.041, 0.033, 0.014, 0.005, 0,     0,     0,
    0.088, 0.085, 0.082, 0.076, 0.055, 0.038, 0.024, 0.014, 0.006,
    0.131, 0.130, 0.129, 0.123, 0.105, 0.083, 0.057, 0.040, 0.028,
    0.155, 0.154, 0.153, 0.146, 0.130, 0.110, 0.077, 0.056, 0.041,
    0.197, 0.196, 0.196, 0.190, 0.173, 0.150, 0.110, 0.083, 0.062,
    0.254, 0.253, 0.253, 0.245, 0.228, 0.195, 0.145, 0.114, 0.086,
    0.322, 0.321, 0.321, 0.310, 0.293, 0.260, 0.187, 0.148, 0.115,
    0.422, 0.421, 0.421, 0.405, 0.385, 0.325, 0.230, 0.183, 0.142,
};

constexpr std::array<double, 13> kBGBySpacingRatio = {27.5, 40.0, 57.5, 69.5, 78.2, 84.4, 88.3,
                                                      91.6, 94.0, 96.3, 98.6, 99.8, 100.0};
constexpr std::array<double, 13> kNGBySpacingRatio = {0.32,  0.23,  0.145, 0.097, 0.067,
                                                      0.048, 0.033, 0.023, 0.015, 0.009,
                                                      0.005, 0.002, 0};
// clang-format on

// Where x lies on a grid: between grid[index] and grid[index + 1] at the
// given weight, or on grid[index] itself (a grid point, or an end held).
struct Position {
    std::size_t index = 0;
    double weight = 0; // 0: exactly grid[index]
};

Position locate(std::span<const double> grid, double x) {
    const std::size_t last = grid.size() - 1;
    if (!(x > grid[0]))
        return {0, 0};
    if (x >= grid[last])
        return {last, 0};
    std::size_t k = 0;
    while (grid[k + 1] <= x)
        ++k;
    if (x == grid[k])
        return {k, 0};
    return {k, (x - grid[k]) / (grid[k + 1] - grid[k])};
}

double blend(double lower, double upper, double weight) {
    return lower + weight * (upper - lower);
}

} // namespace

double lookup(std::span<const double> grid, std::span<const double> values, double x) {
    const Position p = locate(grid, x);
    if (p.weight == 0)
        return values[p.index];
    return blend(values[p.index], values[p.index + 1], p.weight);
}

double lookup(std::span<const double> rowGrid, std::span<const double> columnGrid,
              std::span<const double> cells, double row, double column) {
    const std::size_t width = columnGrid.size();
    const auto rowValue = [&](std::size_t r) {
        return lookup(columnGrid, cells.subspan(r * width, width), column);
    };
    const Position p = locate(rowGrid, row);
    if (p.weight == 0)
        return rowValue(p.index);
    return blend(rowValue(p.index), rowValue(p.index + 1), p.weight);
}

double tableAT(double coveringResistance) {
    return lookup(kCovering, kAT, coveringResistance);
}

double tableAU(double spacing, double coveringResistance) {
    return lookup(kSpacing, kCovering, kAU, spacing, coveringResistance);
}

double tableAD(double spacing, double coveringResistance) {
    return lookup(kSpacing, kCovering, kAD, spacing, coveringResistance);
}

double tableBG(double spacing, double screedResistance) {
    return lookup(kSpacing, kScreedResistance, kBG, spacing, screedResistance);
}

double tableNG(double spacing, double screedResistance) {
    return lookup(kSpacingNG, kScreedResistance, kNG, spacing, screedResistance);
}

double tableBGBySpacingRatio(double coverToSpacing) {
    return lookup(kSpacingRatio, kBGBySpacingRatio, coverToSpacing);
}

double tableNGBySpacingRatio(double coverToSpacing) {
    return lookup(kSpacingRatio, kNGBySpacingRatio, coverToSpacing);
}

} // namespace zorva::en1264
