// Voltage, phase order, touch voltage and varistor tests: the field tables of the parser and the
// result lines.

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
using Volt = TFunct_VOLT;
using Varistor = TFunct_VARISTOR;
using Touch = TFunct_TCH_VOLT;

constexpr Units<Volt> kVoltUnits[] = {
    {unit::V, {&Volt::Uln, &Volt::Ulpe, &Volt::Unpe, &Volt::U21, &Volt::U1pe, &Volt::U2pe}},
    {unit::Hz, {&Volt::f}},
};
constexpr Units<Varistor> kVaristorUnits[] = {
    {unit::V, {&Varistor::U, &Varistor::Uac, &Varistor::LoLim, &Varistor::HiLim}},
    {unit::A, {&Varistor::It}},
};
constexpr Units<Touch> kTouchUnits[] = {{unit::V, {&Touch::Udc, &Touch::Uac}}};

// Voltage and phase order (1, 101): in mode 0 on a TN/TT system fields 8 .. 10 hold the
// voltages against N and PE, otherwise the line-to-line voltages.
bool tnLayout(const Volt& s, const Parser&, sv) {
    return s.Mode == 0 && s.EarthingSystem == 1;
}
constexpr Row<Volt> kVolt1[] = {
    {4, Status, &Volt::Status},
    hook<Volt>(5,
               [](Parser& p, Volt& s, sv t) {
                   if (t == "0" || t == "255")
                       s.EarthingSystem = 0;
                   else
                       p.esys(s.EarthingSystem, t);
               }),
    // A second system field; "0" and "255" keep what field 5 gave.
    hook<Volt>(6,
               [](Parser& p, Volt& s, sv t) {
                   if (t != "0" && t != "255") p.mapSpan(s.EarthingSystem, t, {{1, 5, 1}});
               }),
    hook<Volt>(7,
               [](Parser& p, Volt& s, sv t) {
                   p.mapSpan(s.Mode, t, {{0, 3, 0}});
               }),
    {8, Set, &Volt::Uln, 0, tnLayout},
    {8, Set, &Volt::U21},
    {9, Set, &Volt::Ulpe, 0, tnLayout},
    {9, Set, &Volt::U1pe},
    {10, Set, &Volt::Unpe, 0, tnLayout},
    {10, Set, &Volt::U2pe},
    {11, Set, &Volt::f},
};

constexpr Row<Volt> kVolt51[] = {
    {4, Status, &Volt::Status},
    {5, Esys, &Volt::EarthingSystem},
    hook<Volt>(6,
               [](Parser& p, Volt& s, sv t) {
                   p.mapSpan(s.Mode, t, {{0, 2, 0}});
               }),
    {7, Set, &Volt::Uln},
    {8, Dash, &Volt::Ulpe},
    {9, Dash, &Volt::Unpe},
    {10, Set, &Volt::f},
};

constexpr Row<Varistor> kVaristor28[] = {
    {4, Status, &Varistor::Status},
    {5, Set, &Varistor::LoLim},
    {6, Set, &Varistor::HiLim},
    {7, Split, &Varistor::It},
    {8, Set, &Varistor::U},
    {9, Set, &Varistor::Uac},
    {10, Esys, &Varistor::EarthingSystem},
};

constexpr Row<Touch> kTouch33[] = {
    {4, Status, &Touch::Status}, {5, Text, &Touch::Limit},          {6, Set, &Touch::Udc},
    {7, Set, &Touch::Uac},       {8, Esys, &Touch::EarthingSystem},
};

constexpr auto kVolt = &TResultsData::VOLT;
constexpr Layout kLayouts[] = {
    layout<kVolt, kVolt1, kVoltUnits>(1),
    layout<kVolt, kVolt51, kVoltUnits>(51),
    layout<&TResultsData::VARISTOR, kVaristor28, kVaristorUnits>(28),
    layout<&TResultsData::TCH_VOLT, kTouch33, kTouchUnits>(33),
};

}  // namespace

std::span<const Layout> voltageLayouts() {
    return kLayouts;
}

}  // namespace fp

namespace lines {

namespace {

using Volt = TFunct_VOLT;
using Varistor = TFunct_VARISTOR;

constexpr ValueLine<Volt> kTnVoltages[] = {
    {kR2, "Uln: ", &Volt::Uln}, {kR2, "Ulpe: ", &Volt::Ulpe}, {kR2, "Unpe: ", &Volt::Unpe}};
constexpr ValueLine<Volt> kLineVoltages[] = {
    {kR2, "U21: ", &Volt::U21}, {kR2, "U1pe: ", &Volt::U1pe}, {kR2, "U2pe: ", &Volt::U2pe}};
constexpr ValueLine<Volt> kThreePhases[] = {
    {kR2, "U21: ", &Volt::U21}, {kR2, "U31: ", &Volt::U1pe}, {kR2, "U32: ", &Volt::U2pe}};
constexpr ValueLine<Varistor> kVaristorLines[] = {
    {kR2, "U: ", &Varistor::U},          {kR2, "Uac: ", &Varistor::Uac},
    {kL3, "Lo lim: ", &Varistor::LoLim}, {kL3, "Hi lim: ", &Varistor::HiLim},
    {kL3, "It: ", &Varistor::It},
};

}  // namespace

void Generator::voltageLines() {
    switch (code_) {
        case 1: {
            const auto& s = r_.VOLT;
            headingNoStatus(
                std::string(variantIs("AUS") ? "#K301/PHASE SEQ." : "#K301 #K345 #S257") +
                "#AR#K000");
            voltLines(s, true);
            if (s.Mode == 1) line(kR2, "#S257: 1.2.3");
            if (s.Mode == 2) line(kR2, "#S257: 3.2.1");
            systemWhenSet(s.EarthingSystem);
            return;
        }
        case 28: {
            const auto& s = r_.VARISTOR;
            heading("#K528: ", s.Status);
            values(s, kVaristorLines);
            systemWhenSet(s.EarthingSystem);
            return;
        }
        case 33: {
            const auto& s = r_.TCH_VOLT;
            heading("#K533: ", s.Status);
            value(kR2, "Udc: ", s.Udc);
            value(kR2, "Uac: ", s.Uac);
            limit(V{s.Limit, {}}, true);
            systemWhenSet(s.EarthingSystem);
            return;
        }
        case 51: {
            const auto& s = r_.VOLT;
            heading(key("Funct_VOLT"), s.Status);
            const bool three = s.Mode == 1 || s.Mode == 2;
            value(kR2, three ? "U12: " : "Uln: ", s.Uln);
            if (s.Ulpe.Value != "-") value(kR2, three ? "U13: " : "Ulpe: ", s.Ulpe);
            if (s.Unpe.Value != "-") value(kR2, three ? "U23: " : "Unpe: ", s.Unpe);
            value(kR2, "f: ", s.f);
            if (s.Mode == 1) line(kR2, "#S257: 1.2.3");
            if (s.Mode == 2) line(kR2, "#S257: 3.2.1");
            return;
        }
        case 101: {
            const auto& s = r_.VOLT;
            if (s.Mode == 0 || s.Mode == 3)
                headingNoStatus(key("Funct_VOLT"));
            else
                heading(key("Funct_PHASEROT"), s.Status);
            if (s.Mode == 1) line(kR2, "Ph: 1.2.3");
            if (s.Mode == 2) line(kR2, "Ph: 2.1.3");
            voltLines(s, false);
            system(s.EarthingSystem);
            return;
        }
        default:
            return;
    }
}

// Voltage lines of codes 1 and 101 (mode 0 and the three-phase voltages).
void Generator::voltLines(const TFunct_VOLT& s, bool code1) {
    const bool threePhase = code1 ? (s.Mode == 1 || s.Mode == 2) : s.Mode == 3;
    if (s.Mode == 0)
        values(s, s.EarthingSystem == 1 ? kTnVoltages : kLineVoltages);
    else if (threePhase)
        values(s, kThreePhases);
    if (s.Mode == 0 || threePhase) value(kR2, "f: ", s.f);
}

}  // namespace lines

}  // namespace pelvoro
