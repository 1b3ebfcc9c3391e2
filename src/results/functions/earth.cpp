// Earth resistance: the field tables of the parser and the result lines.

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
using Earth = TFunct_EARTH;

constexpr Units<Earth> kEarthUnits[] = {
    {unit::O, {&Earth::R, &Earth::Re, &Earth::Rc, &Earth::Rp, &Earth::Limit}}};

template <int last>
void subFunctionUpTo(Parser& p, Earth& s, sv t) {
    p.mapSpan(s.SubFunction, t, {{0, last, 0}});
}
bool code8(const Earth&, const Parser& p, sv) {
    return p.code() == 8;
}

// Earth resistance (8, 108): sub-function 0 three-wire, 1 with the re-measured electrode,
// 2 clamp, 3 resistivity.
constexpr uint64_t kResistance = subsFrom(0, 2), kRho = subs({3});
constexpr Row<Earth> kEarth8[] = {
    hook<Earth>(3, subFunctionUpTo<3>),
    {4, Status, &Earth::Status},
    {5, Set, &Earth::Limit, kResistance},
    {5, Split, &Earth::Distance, kRho},
    {6, Set, &Earth::R, kResistance},
    {7, Split, &Earth::Rc, subs({0})},
    {7, Split, &Earth::Re, subs({1})},
    {7, Split, &Earth::Rho, kRho},
    {7, Esys, &Earth::EarthingSystem, subs({2}), code8},
    {8, Split, &Earth::Rp, subs({0})},
    {8, Split, &Earth::Rc, subs({1, 3})},
    {9, Split, &Earth::Rp, subs({1, 3})},
    {9, Esys, &Earth::EarthingSystem, subs({0}), code8},
    {10, Esys, &Earth::EarthingSystem},
};

// The earlier typed tester (57): 0 and 4 four-wire, 1 re-measured electrode, 2 clamp,
// 3 resistivity.
constexpr uint64_t kResistance57 = subs({0, 1, 2, 4}), kWithProbes = subs({0, 1, 3, 4});
constexpr Row<Earth> kEarth57[] = {
    hook<Earth>(3, subFunctionUpTo<4>),      {4, Status, &Earth::Status},
    {6, Dash, &Earth::Limit, kResistance57}, {6, SplitDash, &Earth::Distance},
    {7, Set, &Earth::R, kResistance57},      {7, Set, &Earth::Rho, kRho},
    {8, Split, &Earth::Rc, kWithProbes},     {9, Split, &Earth::Rp, kWithProbes},
};

constexpr Row<Earth> kEarth73[] = {
    hook<Earth>(3, subFunctionUpTo<4>),
    {4, Status, &Earth::Status},
    {5, Ignore},
    {6, Dash, &Earth::Limit},
    {7, Set, &Earth::R},
    {8, Split, &Earth::Rc},
    {9, Split, &Earth::Rp},
};

constexpr auto kEarth = &TResultsData::EARTH;
constexpr Layout kLayouts[] = {
    layout<kEarth, kEarth8, kEarthUnits>(8),
    layout<kEarth, kEarth57, kEarthUnits>(57),
    layout<kEarth, kEarth73, kEarthUnits>(73),
};

}  // namespace

std::span<const Layout> earthLayouts() {
    return kLayouts;
}

}  // namespace fp

namespace lines {

void Generator::earthLines() {
    const auto& s = r_.EARTH;
    const int sub = s.SubFunction;
    // The auxiliary electrodes; the "AUS" variant of code 8 names them T1 and T2.
    auto probes = [&](bool aus) {
        value(kR3, aus ? "T1: " : "Rc: ", s.Rc);
        value(kR3, aus ? "T2: " : "Rp: ", s.Rp);
    };
    // The resistance, or the resistivity (sub-function 3).
    auto resistance = [&] {
        if (sub == 3)
            value(kR2, "#S274: ", s.Rho);
        else
            value(kR2, "R: ", s.R);
    };
    switch (code_) {
        case 8: {
            static constexpr const char* kSubs[] = {"#K340", "#K341", "#K342", "#S274"};
            heading(std::string("#K308: ") + (sub <= 3 ? kSubs[sub] : ""), s.Status);
            resistance();
            if (sub == 1) value(kR3, "Re: ", s.Re);
            if (sub != 2) probes(variantIs("AUS"));
            if (sub != 3) limit(s.Limit);
            if (sub == 3) keyLine(kL3, "text597", s.Distance);
            systemWhenSet(s.EarthingSystem);
            return;
        }
        case 57: {
            std::string h = "#K308: ";
            if (sub == 0 || sub == 4) h += key("Funct_4WIRE");
            if (sub == 1) h += "#K341";
            if (sub == 2) h += "#K342";
            if (sub == 3) h += "#S274";
            heading(h, s.Status);
            resistance();
            if (sub != 2) probes(false);
            if (sub != 3) limit(s.Limit);
            if (sub == 3 && s.Distance.Value != "-") keyLine(kL3, "text597", s.Distance);
            return;
        }
        case 73:
            heading(key("Funct_EARTH_RE"), s.Status);
            value(kR2, "R: ", s.R);
            probes(false);
            return;
        case 108:
            heading(sub == 0 ? key("Funct_EARTH") : std::string(), s.Status);
            if (sub == 0) {
                value(kR2, "R: ", s.R);
                probes(false);
                limit(s.Limit);
            }
            system(s.EarthingSystem);
            return;
        default:
            return;
    }
}

}  // namespace lines

}  // namespace pelvoro
