// Current, illuminance, insulation monitoring devices and first-fault currents: the field tables of
// the parser and the result lines.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "results/functions/field_parser.h"
#include "results/functions/line_writer.h"

namespace pelvoro {

namespace fp {

namespace {

using enum Conv;
using Current = TFunct_CURRENT;
using Sensor = TFunct_SENSOR;
using Imd = TFunct_IMD;
using Isfl = TFunct_ISFL;

constexpr Units<Current> kCurrentUnits[] = {{unit::A, {&Current::I, &Current::Limit}}};
constexpr Units<Sensor> kSensorUnits[] = {{"lux", {&Sensor::E, &Sensor::Limit}}};
constexpr Units<Imd> kImdUnits[] = {
    {unit::O, {&Imd::R1, &Imd::R2, &Imd::LimR}},
    {unit::A, {&Imd::I1, &Imd::I2, &Imd::LimI}},
};
constexpr Units<Isfl> kIsflUnits[] = {{unit::A, {&Isfl::Isc1, &Isfl::Isc2, &Isfl::Lim}}};

constexpr Row<Current> kCurrent9[] = {
    {4, Status, &Current::Status},
    {5, Set, &Current::Limit},
    {6, Split, &Current::I},
    {7, Esys, &Current::EarthingSystem},
};
constexpr Row<Current> kCurrent58[] = {
    {4, Status, &Current::Status},
    {5, Dash, &Current::Limit},
    {6, Split, &Current::I},
};
constexpr Row<Sensor> kSensor13[] = {
    {4, Status, &Sensor::Status},
    {5, Set, &Sensor::Limit},
    {6, Set, &Sensor::E},
    {7, Esys, &Sensor::EarthingSystem},
};

// The insulation monitor's limit is a current (kind 1, written "2") or a resistance (kind 2,
// written "1").
constexpr Row<Imd> kImd14[] = {
    {4, Status, &Imd::Status},
    hook<Imd>(5,
              [](Parser& p, Imd& s, sv t) {
                  p.mapSpan(s.LimitKind, t, {{0, 0, 0}, {1, 1, 2}, {2, 2, 1}});
              }),
    {6, Split, &Imd::LimR, 0, [](const Imd& s, const Parser&, sv) { return s.LimitKind == 2; }},
    {6, Split, &Imd::LimI, 0, [](const Imd& s, const Parser&, sv) { return s.LimitKind == 1; }},
    {7, Split, &Imd::I1},
    {8, Split, &Imd::I2},
    {9, Split, &Imd::R1},
    {10, Split, &Imd::R2},
    {11, Esys, &Imd::EarthingSystem},
};

constexpr Row<Isfl> kIsfl15[] = {
    {4, Status, &Isfl::Status},
    {5, Split, &Isfl::Lim},
    {6, Split, &Isfl::Isc1},
    {7, Split, &Isfl::Isc2},
    {8, Ignore},
    {9, Esys, &Isfl::EarthingSystem},
};

constexpr auto C = &TResultsData::CURRENT;
constexpr Layout kLayouts[] = {
    layout<C, kCurrent9, kCurrentUnits>(9),
    layout<C, kCurrent58, kCurrentUnits>(58),
    layout<&TResultsData::SENSOR, kSensor13, kSensorUnits>(13),
    layout<&TResultsData::IMD, kImd14, kImdUnits>(14),
    layout<&TResultsData::ISFL, kIsfl15, kIsflUnits>(15),
};

}  // namespace

std::span<const Layout> currentLayouts() {
    return kLayouts;
}

}  // namespace fp

namespace lines {

namespace {

using Imd = TFunct_IMD;
using Isfl = TFunct_ISFL;

constexpr ValueLine<Imd> kImdLines[] = {
    {kR2, "R1: ", &Imd::R1},
    {kR2, "R2: ", &Imd::R2},
    {kR2, "I1: ", &Imd::I1},
    {kR2, "I2: ", &Imd::I2},
};
constexpr ValueLine<Isfl> kIsflLines[] = {{kR2, "Isc1: ", &Isfl::Isc1},
                                          {kR2, "Isc2: ", &Isfl::Isc2}};

}  // namespace

void Generator::currentLines() {
    // The earlier testers (9 .. 15) head with a text code and show the earthing system only
    // when one was given; the later ones (109 .. 115) with a translated name and always.
    const bool later = code_ > 100;
    auto start = [&](const char* earlier, std::string_view name, uint8_t status) {
        heading(later ? std::string_view(key(name)) : std::string_view(earlier), status);
    };
    auto end = [&](const V* lim, uint8_t esys) {
        if (lim) limit(*lim);
        if (later)
            system(esys);
        else
            systemWhenSet(esys);
    };
    switch (code_) {
        case 9:
        case 109: {
            const auto& s = r_.CURRENT;
            start("#K309", "Funct_CURRENT", s.Status);
            value(kR2, "I: ", s.I);
            return end(&s.Limit, s.EarthingSystem);
        }
        case 58: {
            const auto& s = r_.CURRENT;
            heading("#K309", s.Status);
            value(kR2, "I: ", s.I);
            return limit(s.Limit);
        }
        case 13:
        case 113: {
            const auto& s = r_.SENSOR;
            start("#K313", "Funct_ILLUM", s.Status);
            value(kR2, "E: ", s.E);
            return end(&s.Limit, s.EarthingSystem);
        }
        case 14:
        case 114: {
            const auto& s = r_.IMD;
            start("#K314", "Funct_IMD-CHECK", s.Status);
            values(s, kImdLines);
            // The later testers show the current limit whatever the kind.
            const V* lim = s.LimitKind == 0            ? nullptr
                           : later || s.LimitKind == 1 ? &s.LimI
                           : s.LimitKind == 2          ? &s.LimR
                                                       : nullptr;
            return end(lim, s.EarthingSystem);
        }
        case 15:
        case 115: {
            const auto& s = r_.ISFL;
            start("#K315", "Funct_ISFL", s.Status);
            values(s, kIsflLines);
            return end(&s.Lim, s.EarthingSystem);
        }
        default:
            return;
    }
}

}  // namespace lines

}  // namespace pelvoro
