// Insulation resistance: the field tables of the parser and the result lines.

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
using Iso = TFunct_ISO;

constexpr Units<Iso> kIsoUnits[] = {
    {unit::O,
     {&Iso::Rln, &Iso::Rlpe, &Iso::Rnpe, &Iso::R, &Iso::R12, &Iso::R13, &Iso::R23, &Iso::Lim,
      &Iso::R60}},
    {unit::V,
     {&Iso::UmRln, &Iso::UmRlpe, &Iso::UmRnpe, &Iso::UmR, &Iso::UmR12, &Iso::UmR13, &Iso::UmR23,
      &Iso::Uiso}},
};

bool code2(const Iso&, const Parser& p, sv) {
    return p.code() == 2;
}

// Insulation (2, 102): fields 7 to 12 carry the resistances that the sub-function measured
// and their measuring voltages, then (where there is room) the earthing system; code 102
// always has it in field 13.
constexpr Row<Iso> R(TResultValue Iso::*m) {
    return {0, Split, m};
}
constexpr Row<Iso> Um(TResultValue Iso::*m) {
    return {0, Set, m};
}
constexpr Row<Iso> kEsys{0, Esys, &Iso::EarthingSystem};
constexpr Row<Iso> kEsysCode2{0, Esys, &Iso::EarthingSystem, 0, code2};
constexpr Row<Iso> kNone{0, Ignore};
using Columns = std::array<Row<Iso>, 6>;
constexpr Columns single(TResultValue Iso::*r, TResultValue Iso::*um) {
    return {R(r), Um(um), kEsysCode2, kNone, kNone, kNone};
}
constexpr Columns kResistance = {R(&Iso::R), Um(&Iso::UmR), kNone, kNone, kNone, kNone};
// Indexed by sub-function 0 .. 23.
constexpr std::array<Columns, 24> kColumns = {
    single(&Iso::Rln, &Iso::UmRln),    // 0
    single(&Iso::Rlpe, &Iso::UmRlpe),  // 1
    single(&Iso::Rnpe, &Iso::UmRnpe),  // 2
    Columns{R(&Iso::Rln), R(&Iso::Rlpe), R(&Iso::Rnpe), Um(&Iso::UmRln), Um(&Iso::UmRlpe),
            Um(&Iso::UmRnpe)},                                                                // 3
    Columns{R(&Iso::Rlpe), R(&Iso::Rnpe), Um(&Iso::UmRlpe), Um(&Iso::UmRnpe), kEsys, kNone},  // 4
    Columns{R(&Iso::Rln), R(&Iso::Rlpe), Um(&Iso::UmRln), Um(&Iso::UmRlpe), kEsys, kNone},    // 5
    single(&Iso::R12, &Iso::UmR12),                                                           // 6
    single(&Iso::R13, &Iso::UmR13),                                                           // 7
    single(&Iso::R23, &Iso::UmR23),                                                           // 8
    Columns{R(&Iso::R12), R(&Iso::R13), R(&Iso::R23), Um(&Iso::UmR12), Um(&Iso::UmR13),
            Um(&Iso::UmR23)},          // 9
    single(&Iso::Rlpe, &Iso::UmRlpe),  // 10
    single(&Iso::Rln, &Iso::UmRln),    // 11
    single(&Iso::R12, &Iso::UmR12),    // 12
    single(&Iso::Rnpe, &Iso::UmRnpe),  // 13
    kResistance,
    kResistance,
    kResistance,
    kResistance,
    kResistance,  // 14 .. 18
    kResistance,
    kResistance,
    kResistance,
    kResistance,
    kResistance,  // 19 .. 23
};
template <int column>
void subColumn(Parser& p, Iso& s, sv t) {
    if (s.SubFunction >= kColumns.size()) return;
    const Row<Iso>& cell = kColumns[s.SubFunction][column];
    if (!cell.when || cell.when(s, p, t)) p.apply(s, cell, t);
}
constexpr Row<Iso> kIso2[] = {
    hook<Iso>(3,
              [](Parser& p, Iso& s, sv t) {
                  p.mapSpan(s.SubFunction, t, {{0, 9, 0}, {11, 14, 10}, {20, 29, 14}});
              }),
    {4, Status, &Iso::Status},
    {5, Set, &Iso::Uiso},
    {6, Split, &Iso::Lim},
    hook<Iso>(7, subColumn<0>),
    hook<Iso>(8, subColumn<1>),
    hook<Iso>(9, subColumn<2>),
    hook<Iso>(10, subColumn<3>),
    hook<Iso>(11, subColumn<4>),
    hook<Iso>(12, subColumn<5>),
    {13, Esys, &Iso::EarthingSystem, 0,
     [](const Iso& s, const Parser& p, sv) {
         return p.code() == 102 || s.SubFunction == 3 || s.SubFunction == 9;
     }},
};

// Insulation of code 18: mode 0 with a sub-function in field 5, modes 1 and 2 single
// measurements.
bool mode0(const Iso& s, const Parser&, sv) {
    return s.Mode == 0;
}
bool mode1(const Iso& s, const Parser&, sv) {
    return s.Mode == 1;
}
bool mode2(const Iso& s, const Parser&, sv) {
    return s.Mode == 2;
}
constexpr Row<Iso> kIso18[] = {
    hook<Iso>(3,
              [](Parser& p, Iso& s, sv t) {
                  p.mapSpan(s.Mode, t, {{0, 2, 0}});
              }),
    {4, Status, &Iso::Status},
    {5, Split, &Iso::Lim, 0, mode1},
    {6, Split, &Iso::R, 0, mode1},
    {7, Set, &Iso::UmR, 0, mode1},
    {8, Esys, &Iso::EarthingSystem, 0, mode1},
    {5, Split, &Iso::Lim, 0, mode2},
    {6, Split, &Iso::Rlpe, 0, mode2},
    {7, Set, &Iso::UmRlpe, 0, mode2},
    {8, Split, &Iso::Rnpe, 0, mode2},
    {9, Set, &Iso::UmRnpe, 0, mode2},
    {10, Esys, &Iso::EarthingSystem, 0, mode2},
    hook<Iso>(
        5,
        [](Parser& p, Iso& s, sv t) {
            p.mapSpan(s.SubFunction, t, {{0, 5, 0}});
        },
        0, mode0),
    {6, Set, &Iso::Uiso, 0, mode0},
    {7, Split, &Iso::Lim, 0, mode0},
    {8, Split, &Iso::Rln, subs({0, 3, 5}), mode0},
    {8, Split, &Iso::Rlpe, subs({1, 4}), mode0},
    {8, Split, &Iso::Rnpe, subs({2}), mode0},
    {9, Split, &Iso::Rlpe, subs({3, 5}), mode0},
    {9, Split, &Iso::Rnpe, subs({4}), mode0},
    {9, Set, &Iso::UmRln, subs({0}), mode0},
    {9, Set, &Iso::UmRlpe, subs({1}), mode0},
    {9, Set, &Iso::UmRnpe, subs({2}), mode0},
    {10, Split, &Iso::Rnpe, subs({3}), mode0},
    {10, Set, &Iso::UmRlpe, subs({4}), mode0},
    {10, Set, &Iso::UmRln, subs({5}), mode0},
    {10, Esys, &Iso::EarthingSystem, subs({0, 1, 2}), mode0},
    {11, Set, &Iso::UmRln, subs({3}), mode0},
    {11, Set, &Iso::UmRnpe, subs({4}), mode0},
    {11, Set, &Iso::UmRlpe, subs({5}), mode0},
    {12, Set, &Iso::UmRlpe, subs({3}), mode0},
    {12, Esys, &Iso::EarthingSystem, subs({4, 5}), mode0},
    {13, Set, &Iso::UmRnpe, subs({3}), mode0},
    {14, Esys, &Iso::EarthingSystem, subs({3}), mode0},
};

// Sub-functions 0 and 11 L/N, 10 L/PE, 12 L/L, 13 N/PE.
constexpr Row<Iso> kIso55[] = {
    hook<Iso>(3,
              [](Parser& p, Iso& s, sv t) {
                  p.mapSpan(s.SubFunction, t, {{0, 0, 0}, {1, 4, 10}});
              }),
    {4, Status, &Iso::Status},
    {5, Set, &Iso::Uiso},
    {6, SplitDash, &Iso::Lim},
    {7, Split, &Iso::Rln, subs({0, 11})},
    {7, Split, &Iso::Rlpe, subs({10})},
    {7, Split, &Iso::R12, subs({12})},
    {7, Split, &Iso::Rnpe, subs({13})},
    {8, Set, &Iso::UmRln, subs({0, 11})},
    {8, Set, &Iso::UmRlpe, subs({10})},
    {8, Set, &Iso::UmR12, subs({12})},
    {8, Set, &Iso::UmRnpe, subs({13})},
    {9, Set, &Iso::DAR},
    {10, Set, &Iso::PI},
    {11, Set, &Iso::R60},
};

constexpr Row<Iso> kIso116[] = {
    {4, Status, &Iso::Status}, {5, Set, &Iso::R},
    {6, Set, &Iso::UmR},       {7, Set, &Iso::R60},
    {8, Set, &Iso::DAR},       {9, Set, &Iso::PI},
    {10, Set, &Iso::Uiso},     {11, Esys, &Iso::EarthingSystem},
};

constexpr auto kIso = &TResultsData::ISO;
constexpr Layout kLayouts[] = {
    layout<kIso, kIso2, kIsoUnits>(2),
    layout<kIso, kIso18, kIsoUnits>(18),
    layout<kIso, kIso55, kIsoUnits>(55),
    layout<kIso, kIso116, kIsoUnits>(116),
};

}  // namespace

std::span<const Layout> insulationLayouts() {
    return kLayouts;
}

}  // namespace fp

namespace lines {

namespace {

using Iso = TFunct_ISO;

// A resistance with its measuring voltage.
struct Pair {
    const char* label;
    TResultValue Iso::*r;
    TResultValue Iso::*um;
};
constexpr Pair kLn{"Rln: ", &Iso::Rln, &Iso::UmRln}, kLpe{"Rlpe: ", &Iso::Rlpe, &Iso::UmRlpe},
    kNpe{"Rnpe: ", &Iso::Rnpe, &Iso::UmRnpe}, k12{"R12: ", &Iso::R12, &Iso::UmR12},
    k13{"R13: ", &Iso::R13, &Iso::UmR13}, k23{"R23: ", &Iso::R23, &Iso::UmR23},
    kR{"R: ", &Iso::R, &Iso::UmR};

// The resistances that an insulation sub-function measured (codes 2 and 18, mode 0).
constexpr std::array<std::array<const Pair*, 3>, 10> kSubPairs = {{
    {&kLn},
    {&kLpe},
    {&kNpe},
    {&kLn, &kLpe, &kNpe},
    {&kLpe, &kNpe},
    {&kLn, &kLpe},
    {&k12},
    {&k13},
    {&k23},
    {&k12, &k13, &k23},
}};

// The one resistance of codes 55 and 102, by sub-function: 0 and 11 L/N, 10 L/PE, 12 L/L,
// 13 N/PE, 14 .. 23 the later testers' single resistances.
const Pair* singlePair(int sub) {
    if (sub == 0 || sub == 11) return &kLn;
    if (sub == 10) return &kLpe;
    if (sub == 12) return &k12;
    if (sub == 13) return &kNpe;
    if (sub >= 14 && sub <= 23) return &kR;
    return nullptr;
}

}  // namespace

void Generator::insulationLines() {
    const auto& s = r_.ISO;
    const int sub = s.SubFunction;
    auto pair = [&](const Pair* p, const char* label) {
        if (p) withUm(label ? label : p->label, s.*p->r, s.*p->um);
    };
    auto subPairs = [&] {
        if (sub < int(kSubPairs.size()))
            for (const Pair* p : kSubPairs[sub]) pair(p, nullptr);
    };
    // The ratios are shown without a unit.
    auto ratios = [&](std::string_view prefix) {
        if (isSet(s.DAR)) line(prefix, "DAR: ", s.DAR.Value);
        if (isSet(s.PI)) line(prefix, "PI: ", s.PI.Value);
    };
    switch (code_) {
        case 2: {
            static constexpr const char* kSubs[] = {"#K320", "#K321", "#K322", "#K323", "#K343",
                                                    "#K344", "#K589", "#K590", "#K591", "#K592"};
            heading(std::string("#K302: ") + (sub <= 9 ? kSubs[sub] : ""), s.Status);
            subPairs();
            value(kL3, "Uiso: ", s.Uiso);
            limit(s.Lim);
            systemWhenSet(s.EarthingSystem);
            return;
        }
        case 18: {
            static constexpr const char* kSubs[] = {"#K320", "#K321", "#K322",
                                                    "#K323", "#K343", "#K344"};
            std::string h = "#K318: ";
            if (s.Mode == 0) {
                h += "#K555";
                if (sub <= 5) h += std::string("  ") + kSubs[sub];
            }
            if (s.Mode == 1) h += "#K576";
            if (s.Mode == 2) h += "#K577";
            heading(h, s.Status);
            if (s.Mode == 1) pair(&kR, nullptr);
            if (s.Mode == 2) pair(&kLpe, nullptr), pair(&kNpe, nullptr);
            if (s.Mode == 0 && sub <= 5) subPairs();
            value(kL3, "Uiso: ", s.Uiso);
            limit(s.Lim);
            systemWhenSet(s.EarthingSystem);
            return;
        }
        case 55:
        case 102: {
            static constexpr const char* kWhere[] = {
                " L/E",   " L/N",   " L/L",   " N/E",  " L1/N",  " L2/N",  " L3/N",
                " L1/PE", " L2/PE", " L3/PE", " N/PE", " L1/L2", " L1/L3", " L2/L3"};
            const int last = code_ == 55 ? 13 : 23;
            std::string h = key("Funct_R-ISO");
            if (sub >= 10 && sub <= last) h += kWhere[sub - 10];
            heading(h, s.Status);
            pair(code_ == 55 && sub > 13 ? nullptr : singlePair(sub), "R: ");
            value(kL3, "Uiso: ", s.Uiso);
            if (code_ == 102) {
                limit(s.Lim);
                return system(s.EarthingSystem);
            }
            limit(s.Lim, true);
            ratios(kL2);
            valueWhenSet(kL2, "R60: ", s.R60);
            return;
        }
        case 116:
            heading(key("Funct_R_DIAGN"), s.Status);
            pair(&kR, nullptr);
            value(kL3, "Uiso: ", s.Uiso);
            valueWhenSet(kL3, "R60: ", s.R60);
            ratios(kL3);
            system(s.EarthingSystem);
            return;
        default:
            return;
    }
}

}  // namespace lines

}  // namespace pelvoro
