#pragma once
// The worked example of one manifold with four rooms and five loops, worked
// out here from its inputs with the formulas of the method the hydraulics
// build on (EN 1264-2 characteristic and limit curve of the four floors,
// EN 1264-3 design supply and temperature drops, design flow with the
// downward loss, loop length, water by temperature, laminar / Blasius
// friction, local losses), all in full double precision. The suites check
// these intermediate numbers against the example's printed table before
// they feed them to the presetting, pump and mixing code, so that every
// downstream number can be compared to its printed digits.

#include <QString>

#include <array>
#include <cmath>
#include <numbers>
#include <string>

namespace zorva::test {

// Whether `actual` rounds to the number printed as `printed` ("14340.59",
// "2.014824e-4", "0.6273611"): within half a unit of its last printed digit.
inline bool agreesWithPrinted(double actual, const QString& text) {
    const qsizetype e = text.indexOf(QLatin1Char('e'));
    const QString mantissa = e < 0 ? text : text.left(e);
    const int exponent = e < 0 ? 0 : text.mid(e + 1).toInt();
    const qsizetype dot = mantissa.indexOf(QLatin1Char('.'));
    const int decimals = dot < 0 ? 0 : static_cast<int>(mantissa.size() - dot - 1);
    const double expected = text.toDouble();
    const double halfUnit = 0.5 * std::pow(10.0, exponent - decimals);
    return std::abs(actual - expected) <= halfUnit * (1 + 1e-9);
}

// Fails the test with both numbers when `actual` does not round to `printed`.
#define CHECK_PRINTED(actual, printed)                                                             \
    QVERIFY2(zorva::test::agreesWithPrinted((actual), QString(printed)),                           \
             qPrintable(QStringLiteral("%1 = %2, printed %3")                                      \
                            .arg(QLatin1String(#actual))                                           \
                            .arg((actual), 0, 'g', 12)                                             \
                            .arg(QString(printed))))

// Water by temperature, ℃: density (kg/m³) and dynamic viscosity (Pa·s,
// Vogel).
inline double waterDensity(double t) {
    return 1000 * (1 - (t + 288.9414) / (508929.2 * (t + 68.12963)) * (t - 3.9863) * (t - 3.9863));
}
inline double waterViscosity(double t) {
    return 2.414e-5 * std::pow(10.0, 247.8 / (t + 273.15 - 140));
}

struct ExampleLoop {
    const char* name;
    const char* room;
    int roomIndex;
    double leaderM; // one way
    int bends;
    // worked out
    double flowKgs = 0;
    double returnTemp = 0;
    double meanTemp = 0;
    double lengthM = 0;
    double density = 0;
    double pressureDropPa = 0;
};

struct ExampleManifold {
    double supplyTemp = 0;
    std::array<double, 4> sigma{};
    std::array<ExampleLoop, 5> loops{{{"living-1", "客厅", 0, 2, 2},
                                      {"living-2", "客厅", 0, 4, 2},
                                      {"bed1", "主卧", 1, 6, 2},
                                      {"bed2", "次卧", 2, 9, 2},
                                      {"bath", "卫生间", 3, 3, 4}}};
};

inline ExampleManifold systemExample() {
    // Rooms: living, bedroom 1, bedroom 2, bathroom.
    constexpr std::array<double, 4> roomTemp{20, 20, 18, 24};
    constexpr std::array<double, 4> area{30, 16, 12, 5};
    constexpr std::array<int, 4> loopsIn{2, 1, 1, 1};
    constexpr std::array<double, 4> spacing{0.15, 0.20, 0.25, 0.10};
    constexpr std::array<double, 4> diameter{0.020, 0.020, 0.020, 0.016};
    constexpr std::array<double, 4> covering{0.10, 0.10, 0.10, 0};
    constexpr std::array<double, 4> designFlux{70, 60, 55, 120};
    // EN 1264-2 table values a_T (by covering) and a_D (by spacing).
    constexpr std::array<double, 4> aT{1.156, 1.156, 1.156, 1.23};
    constexpr std::array<double, 4> aD{1.029, 1.035, 1.04, 1.029};
    constexpr double alpha = 10.8, screedRatio = 0.045 / 1.2, belowR = 1.02, belowTemp = 20;
    constexpr double cW = 4190, sigmaDes = 5;

    std::array<double, 4> kH{}, flux{}, excess{};
    for (int j = 0; j < 4; ++j) {
        const double aB = (1 / alpha + 0.045 / 1.0) / (1 / alpha + screedRatio + covering[j]);
        const double mT = 1 - spacing[j] / 0.075;
        const double mD = 250 * (diameter[j] - 0.020);
        kH[j] = 6.7 * aB * std::pow(aT[j], mT) * std::pow(aD[j], mD);
        flux[j] = designFlux[j];
        excess[j] = flux[j] / kH[j];
    }
    // The bathroom is capped at its limit curve (B_G 89.3, n_G 0.033, φ 1).
    excess[3] = std::pow(89.3 / kH[3], 1 / (1 - 0.033));
    flux[3] = 89.3 * std::pow(excess[3], 0.033);

    ExampleManifold m;
    m.supplyTemp = roomTemp[0] + excess[0] + sigmaDes / 2; // living room decides, function 8
    std::array<double, 4> flowKgs{};
    for (int j = 0; j < 4; ++j) {
        const double dv = m.supplyTemp - roomTemp[j];
        const double s10 = 2 * (dv - excess[j]);
        m.sigma[j] =
            j == 0 ? sigmaDes
            : s10 / excess[j] <= 0.5
                ? s10
                : 3 * excess[j] * (std::sqrt(1 + 4 * (dv - excess[j]) / (3 * excess[j])) - 1);
        const double ro = 1 / alpha + covering[j] + screedRatio;
        flowKgs[j] = area[j] * flux[j] / (m.sigma[j] * cW) *
                     (1 + ro / belowR + (roomTemp[j] - belowTemp) / (flux[j] * belowR));
    }
    for (ExampleLoop& l : m.loops) {
        const int j = l.roomIndex;
        l.flowKgs = flowKgs[j] / loopsIn[j];
        l.returnTemp = m.supplyTemp - m.sigma[j];
        l.meanTemp = m.supplyTemp - m.sigma[j] / 2;
        l.lengthM = area[j] / loopsIn[j] / spacing[j] + 2 * l.leaderM;
        l.density = waterDensity(l.meanTemp);
        const double di = diameter[j] - 0.004;
        const double nu = waterViscosity(l.meanTemp) / l.density;
        const double v = l.flowKgs / l.density / (std::numbers::pi * di * di / 4);
        const double re = v * di / nu;
        const double lambda = re < 2300 ? 64 / re : 0.3164 * std::pow(re, -0.25);
        const double dynamic = l.density * v * v / 2;
        l.pressureDropPa = lambda * l.lengthM / di * dynamic + (1.5 + 0.4 * l.bends) * dynamic;
    }
    return m;
}

} // namespace zorva::test
