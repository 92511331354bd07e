// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A presetting valve's characteristic: its flow factor kv against the dial
// setting, read by straight lines between the maker's points, and the
// conversions between flow, pressure drop and kv (docs/hydraulics.md §1,
// §2). kv is the flow in m³/h of water at a drop of 1 bar across the valve
// (IEC 60534-1).

#include <cstddef>
#include <string>
#include <vector>

namespace zorva::hydraulics {

// Volume flow, m³/h, of a mass flow in kg/h at a density in kg/m³.
double volumeFlowM3h(double flowKgh, double density);
// kv = V̇/√(Δp/1 bar), m³/h, with the drop in kPa.
double flowFactor(double flowM3h, double dropKpa);
// Δp = (V̇/kv)²·1 bar, kPa.
double valveDropKpa(double flowM3h, double kv);

struct ValveCharacteristic {
    std::string name; // UTF-8
    // The characteristic shipped with the program: no product's numbers,
    // a plausible shape for a manifold return valve (docs/hydraulics.md §2).
    bool generic = false;
    std::vector<double> settings; // dial settings or turns, strictly increasing
    std::vector<double> kv;       // m³/h at each setting, strictly increasing;
                                  // the last is the valve fully open
    double resolution = 0;        // the step the dial can be set to
};

// Points settings 1 … 6, kv 0.12 … 1.20 m³/h, resolution 0.25.
ValveCharacteristic genericValveCharacteristic();

// Bounds of a characteristic the program accepts.
constexpr std::size_t kMinValvePoints = 2;
constexpr std::size_t kMaxValvePoints = 200;
// kv of any valve on a heating manifold lies far inside these, m³/h; beyond
// them the drops would overflow or vanish.
constexpr double kMinValveKv = 0.001;
constexpr double kMaxValveKv = 1000;
// Settings and the resolution are at most this in size.
constexpr double kMaxValveSetting = 10000;

enum class CharacteristicFault {
    None,
    NameEmpty,
    TooFewPoints,
    TooManyPoints,
    CountMismatch,         // settings and kv of different lengths
    SettingNotFinite,      // point index: not a number or beyond ±kMaxValveSetting
    SettingNotIncreasing,  // point index (the later of the two)
    KvNotPositive,         // point index: not a finite positive number
    KvOutsideRange,        // point index: outside kMinValveKv … kMaxValveKv
    KvNotIncreasing,       // point index (the later of the two)
    ResolutionNotPositive, // not positive or above kMaxValveSetting
};

struct CharacteristicCheck {
    CharacteristicFault fault = CharacteristicFault::None;
    std::size_t point = 0; // 0-based, for the point faults
    bool ok() const { return fault == CharacteristicFault::None; }
};

// The first rule the characteristic breaks, in the order of the enum.
CharacteristicCheck checkCharacteristic(const ValveCharacteristic& valve);

enum class SettingRange {
    Inside,    // between the first and the last point
    FullyOpen, // kv at or above the fully open kv: the last setting
    BelowTable // kv below the first point's: the first setting, the valve
               // cannot throttle enough
};

struct SettingLookup {
    double setting = 0;
    SettingRange range = SettingRange::Inside;
};

// The setting that gives `kv`, by linear interpolation between the two
// neighbouring points; at the ends the end setting and its range. The
// characteristic must pass checkCharacteristic.
SettingLookup settingForKv(const ValveCharacteristic& valve, double kv);

// kv at a setting by linear interpolation, held at the end points outside.
double kvAtSetting(const ValveCharacteristic& valve, double setting);

// The setting to dial: the nearest multiple of the resolution (an exact tie
// goes up), kept between the first and the last setting.
double dialSetting(const ValveCharacteristic& valve, double setting);

} // namespace zorva::hydraulics
