// Continuity: low-ohm, ring, earth continuity and continuity at sockets: the field tables of the
// parser and the result lines.

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
using Cont = TFunct_CONT;
using Ert = TFunct_ERTCONT;
using Ring = TFunct_RING;
using ContAt = TFunct_CONTAT;

constexpr Units<Cont> kContUnits[] = {
    {unit::O,
     {&Cont::R, &Cont::Rplus, &Cont::Rminus, &Cont::Limit, &Cont::Rpe, &Cont::Text598,
      &Cont::Limit2, &Cont::Text596, &Cont::RPEcal, &Cont::RPE_lim}},
    {unit::A, {&Cont::Fuse_I}},
    {unit::V, {&Cont::Uc}},
};
constexpr Units<Ert> kErtUnits[] = {
    {unit::O, {&Ert::R, &Ert::Rplus, &Ert::Rminus, &Ert::Limit, &Ert::Re_lim}},
    {unit::mA, {&Ert::TestCurrent}},
    {unit::mm2, {&Ert::CrossSection}},
    {unit::A, {&Ert::DeviceCurrent}},
};
constexpr Units<Ring> kRingUnits[] = {
    {unit::O,
     {&Ring::r1, &Ring::rN, &Ring::r2, &Ring::R1RN, &Ring::R1R2, &Ring::r1rN_4, &Ring::r1r2_4,
      &Ring::Rplus, &Ring::Rminus, &Ring::Limit, &Ring::R1RN_2}},
};
constexpr Units<ContAt> kContAtUnits[] = {
    {unit::O,
     {&ContAt::R2, &ContAt::R1R2, &ContAt::R, &ContAt::Rplus, &ContAt::Rminus, &ContAt::Limit}},
    {unit::mA, {&ContAt::TestCurrent}},
};

// Only code 3 carries the earthing system in the fields that follow the values.
template <class R>
bool code3(const R&, const Parser& p, sv) {
    return p.code() == 3;
}
// A chosen test current of 200 mA measures with both polarities; 7 mA does not.
template <class R>
bool highCurrent(const R& s, const Parser&, sv) {
    return s.TestCurrent.Value == "200";
}
template <class R>
bool lowCurrent(const R& s, const Parser&, sv) {
    return s.TestCurrent.Value == "7";
}
template <class R>
void testCurrent(Parser& p, R& s, sv t) {
    p.mapText(s.TestCurrent.Value, t, {{"0", "7"}, {"1", "200"}});
}

// Continuity (3, 103): sub-functions 0 and 4 a single resistance, 1 and 3 with reversed
// polarity, 2 the protective conductor with its fuse, 5 the protective conductor by the loop.
constexpr uint64_t kSingle = subs({0, 4}), kBoth = subs({1, 3}), kFuse = subs({2}),
                   kLoop = subs({5});
bool noFuse(const Cont& s, const Parser&, sv) {
    return s.FuseType == "0";
}
constexpr Row<Cont> kCont3[] = {
    hook<Cont>(3,
               [](Parser& p, Cont& s, sv t) {
                   p.mapSpan(s.SubFunction, t, {{0, 5, 0}});
               }),
    {4, Status, &Cont::Status},
    {5, Set, &Cont::Limit, kSingle | kBoth},
    {5, Text, &Cont::FuseType, kFuse},
    {5, Split, &Cont::Fuse_I, kLoop},
    {6, Set, &Cont::R, kSingle | kBoth},
    {6, Split, &Cont::Fuse_I, kFuse, noFuse},
    {6, Set, &Cont::Uc, kLoop},
    {7, Esys, &Cont::EarthingSystem, kSingle, code3<Cont>},
    {7, Set, &Cont::Rplus, kBoth},
    {7, Set, &Cont::Uc, kFuse, noFuse},
    {7, Set, &Cont::RPE_lim, kLoop},
    {8, Set, &Cont::Rminus, kBoth},
    {8, Set, &Cont::Limit2, kFuse},
    {8, Set, &Cont::RPEcal, kLoop},
    {9, Esys, &Cont::EarthingSystem, kBoth, code3<Cont>},
    {9, Set, &Cont::Text596, kFuse},
    {9, Set, &Cont::Rpe, kLoop},
    {10, Set, &Cont::Rpe, kFuse},
    {10, Esys, &Cont::EarthingSystem, kLoop, code3<Cont>},
    {11, Set, &Cont::Text598},
    {12, Esys, &Cont::EarthingSystem},
};

constexpr Row<Cont> kCont56[] = {
    hook<Cont>(3,
               [](Parser& p, Cont& s, sv t) {
                   p.mapSpan(s.SubFunction, t, {{0, 1, 0}});
               }),
    {4, Status, &Cont::Status},
    {5, Dash, &Cont::Limit, subs({0, 1})},
    {6, Set, &Cont::R, subs({0, 1})},
    {7, Set, &Cont::Rplus, subs({1})},
    {8, Set, &Cont::Rminus, subs({1})},
};

// Earth continuity (17): sub-function 0 with a chosen test current, 1 and 3 with reversed
// polarity, 2 and 4 the earthing conductor with its protective device.
constexpr uint64_t kChosen = subs({0}), kReversed = subs({1, 3}), kDevice = subs({2, 4});
constexpr Row<Ert> kErtCont17[] = {
    hook<Ert>(3,
              [](Parser& p, Ert& s, sv t) {
                  p.mapSpan(s.SubFunction, t, {{0, 2, 1}, {3, 3, 0}, {4, 4, 4}});
              }),
    {4, Status, &Ert::Status},
    hook<Ert>(5, testCurrent<Ert>, kChosen),
    {5, Set, &Ert::Limit, kReversed},
    hook<Ert>(
        5,
        [](Parser& p, Ert& s, sv t) {
            p.mapText(s.ProtectiveDevice, t,
                      {{"0", ""}, {"1", "B"}, {"2", "C"}, {"3", "D"}, {"4", "Fuse"}});
        },
        kDevice),
    {6, Set, &Ert::Limit, kChosen},
    {6, Set, &Ert::R, kReversed},
    {6, Set, &Ert::CrossSection, kDevice},
    {7, Set, &Ert::R, kChosen},
    {7, Set, &Ert::Rplus, kReversed},
    {7, Set, &Ert::DeviceCurrent, kDevice},
    {8, Set, &Ert::Rplus, kChosen, highCurrent<Ert>},
    {8, Esys, &Ert::EarthingSystem, kChosen, lowCurrent<Ert>},
    {8, Set, &Ert::Rminus, kReversed},
    {8, Set, &Ert::Re_lim, kDevice},
    {9, Set, &Ert::Rminus, kChosen, highCurrent<Ert>},
    {9, Esys, &Ert::EarthingSystem, kReversed},
    {9, Set, &Ert::R, kDevice},
    {10, Esys, &Ert::EarthingSystem, kChosen, highCurrent<Ert>},
    {10, Set, &Ert::Rplus, kDevice},
    {11, Set, &Ert::Rminus, kDevice},
    {12, Esys, &Ert::EarthingSystem, kDevice},
};

// Ring continuity (25, 125): sub-functions 0 .. 2 the ring measurements, 3 .. 5 (the
// later testers' r1, rn, r2) single conductors with reversed polarity.
constexpr uint64_t kConductor = subs({3, 4, 5});
constexpr Row<Ring> kRing25[] = {
    hook<Ring>(3,
               [](Parser& p, Ring& s, sv t) {
                   p.mapSpan(s.SubFunction, t, {{0, 2, 0}, {4, 6, 3}});
               }),
    {4, Status, &Ring::Status},
    {5, Set, &Ring::r1},
    {6, Set, &Ring::rN},
    {7, Set, &Ring::r2},
    {8, Set, &Ring::R1RN, subs({0, 2})},
    {8, Set, &Ring::R1R2, subs({1})},
    {8, Set, &Ring::Rplus, kConductor},
    {9, Set, &Ring::r1rN_4, subs({0})},
    {9, Set, &Ring::r1r2_4, subs({1})},
    {9, Set, &Ring::R1R2, subs({2})},
    {9, Set, &Ring::Rminus, kConductor},
    {10, Set, &Ring::r1rN_4, subs({2})},
    {10, Esys, &Ring::EarthingSystem},
    {11, Set, &Ring::r1r2_4, subs({2})},
    {11, Set, &Ring::Limit, kConductor},
    {12, Esys, &Ring::EarthingSystem, subs({2})},
};

constexpr uint64_t kRing61 = subs({3, 4, 5, 6});
constexpr Row<Ring> kRing61Rows[] = {
    hook<Ring>(3,
               [](Parser& p, Ring& s, sv t) {
                   p.mapSpan(s.SubFunction, t, {{2, 4, 3}, {7, 7, 6}});
               }),
    {4, Status, &Ring::Status},
    {5, Dash, &Ring::Limit, kRing61},
    {6, Set, &Ring::r1, subs({3})},
    {6, Set, &Ring::rN, subs({4})},
    {6, Set, &Ring::r2, subs({5})},
    {6, Set, &Ring::R1RN, subs({6})},
    {7, Set, &Ring::Rplus, kRing61},
    {8, Set, &Ring::Rminus, kRing61},
};

constexpr Row<Ring> kRing63[] = {
    {4, Status, &Ring::Status}, {5, Set, &Ring::r1},     {6, Set, &Ring::rN},
    {7, Set, &Ring::r2},        {8, Set, &Ring::r1rN_4}, {9, Set, &Ring::r1r2_4},
    {10, Set, &Ring::R1RN},     {11, Set, &Ring::R1R2},
};

// Continuity at sockets (27, 127): sub-function 0 R2, 1 R1+R2, 2 a test with a chosen
// test current, 3 and 4 (the later testers' R1+R2 and R2) with reversed polarity.
bool bothPolarities(const ContAt& s, const Parser& p, sv t) {
    return s.SubFunction != 2 || highCurrent(s, p, t);
}
constexpr Row<ContAt> kContAt27[] = {
    hook<ContAt>(3,
                 [](Parser& p, ContAt& s, sv t) {
                     p.mapSpan(s.SubFunction, t, {{0, 2, 0}, {4, 5, 3}});
                 }),
    {4, Status, &ContAt::Status},
    hook<ContAt>(5, testCurrent<ContAt>, subs({2})),
    hook<ContAt>(
        5,
        [](Parser& p, ContAt& s, sv t) {
            p.mapText(s.SocketKind, t, {{"0", "Plug"}, {"1", "Universal"}});
        },
        subs({0, 1})),
    {6, Set, &ContAt::Limit},
    {7, Set, &ContAt::R2, subs({0, 4})},
    {7, Set, &ContAt::R1R2, subs({1, 3})},
    {7, Set, &ContAt::R, subs({2})},
    {8, Set, &ContAt::Rplus, 0, bothPolarities},
    {8, Esys, &ContAt::EarthingSystem, 0, lowCurrent<ContAt>},
    {9, Set, &ContAt::Rminus, 0, bothPolarities},
    {10, Esys, &ContAt::EarthingSystem, subsFrom(0, 4)},
};

constexpr Row<ContAt> kContAt62[] = {
    hook<ContAt>(3,
                 [](Parser& p, ContAt& s, sv t) {
                     p.mapSpan(s.SubFunction, t, {{5, 6, 3}});
                 }),
    {4, Status, &ContAt::Status},
    {5, Dash, &ContAt::Limit, subs({3, 4})},
    {6, Set, &ContAt::R2, subs({4})},
    {6, Set, &ContAt::R1R2, subs({3})},
    {7, Set, &ContAt::Rplus, subs({3, 4})},
    {8, Set, &ContAt::Rminus, subs({3, 4})},
};

constexpr auto kCont = &TResultsData::CONT;
constexpr auto kRing = &TResultsData::RING;
constexpr auto kContAt = &TResultsData::CONTAT;
constexpr Layout kLayouts[] = {
    layout<kCont, kCont3, kContUnits>(3),
    layout<kCont, kCont56, kContUnits>(56),
    layout<&TResultsData::ERTCONT, kErtCont17, kErtUnits>(17),
    layout<kRing, kRing25, kRingUnits>(25),
    layout<kRing, kRing61Rows, kRingUnits>(61),
    layout<kRing, kRing63, kRingUnits>(63),
    layout<kContAt, kContAt27, kContAtUnits>(27),
    layout<kContAt, kContAt62, kContAtUnits>(62),
};

}  // namespace

std::span<const Layout> continuityLayouts() {
    return kLayouts;
}

}  // namespace fp

namespace lines {

namespace {

using Cont = TFunct_CONT;
using Ring = TFunct_RING;

constexpr ValueLine<Cont> kFuse[] = {{kL3, "Fuse_I: ", &Cont::Fuse_I}, {kL3, "Uc: ", &Cont::Uc}};
constexpr ValueLine<Cont> kLoopFuse[] = {
    {kL3, "Fuse_I: ", &Cont::Fuse_I},
    {kL3, "Uc: ", &Cont::Uc},
    {kL3, "RPE_lim: ", &Cont::RPE_lim},
};
constexpr ValueLine<Ring> kRingConductors[] = {
    {kR2, "r1: ", &Ring::r1}, {kR2, "rN: ", &Ring::rN}, {kR2, "r2: ", &Ring::r2}};
// The ring results by sub-function: 0 line and neutral, 1 line and protective conductor,
// 2 both.
constexpr ValueLine<Ring> kRing0[] = {{kR2, "(R1+Rn)max: ", &Ring::R1RN},
                                      {kR2, "(r1+rN)/4: ", &Ring::r1rN_4}};
constexpr ValueLine<Ring> kRing1[] = {{kR2, "(R1+R2)max: ", &Ring::R1R2},
                                      {kR2, "(r1+r2)/4: ", &Ring::r1r2_4}};
constexpr ValueLine<Ring> kRing2[] = {
    {kR2, "(R1+Rn)max: ", &Ring::R1RN},
    {kR2, "(R1+R2)max: ", &Ring::R1R2},
    {kR2, "(r1+rN)/4: ", &Ring::r1rN_4},
    {kR2, "(r1+r2)/4: ", &Ring::r1r2_4},
};
constexpr ValueLine<Ring> kRing63[] = {
    {kR2, "R1+RN: ", &Ring::R1RN},
    {kR2, "R1+R2: ", &Ring::R1R2},
    {kR2, "(r1+rN)/4: ", &Ring::r1rN_4},
    {kR2, "(r1+r2)/4: ", &Ring::r1r2_4},
};

}  // namespace

// R+ and R-: the resistance with either polarity.
void Generator::polarities(const V& plus, const V& minus) {
    value(kR3, "R+: ", plus);
    value(kR3, "R-: ", minus);
}

// A chosen test current: 200 mA measures with both polarities, "-" is no current.
template <class R>
void Generator::testCurrent(const R& s) {
    if (s.TestCurrent.Value == "200") polarities(s.Rplus, s.Rminus);
    if (s.TestCurrent.Value != "-") keyLine(kL3, "text560", s.TestCurrent);
}

// One conductor of the later testers (125, 127): the heading names it, R shows its value.
void Generator::laterConductor(std::string_view name, const V* r, const V& plus, const V& minus,
                               const V& lim, uint8_t status, uint8_t esys) {
    heading(key("Funct_CONT") + std::string(r ? name : ""), status);
    value(kR2, "R: ", r ? *r : V{});
    polarities(plus, minus);
    limit(lim);
    system(esys);
}

void Generator::continuityLines() {
    switch (code_) {
        case 3:
            return continuity3();
        case 17:
            return earthContinuity17();
        case 25: {
            const auto& s = r_.RING;
            static constexpr const char* kSubs[] = {"#K593", "#K594", "#K595"};
            heading(std::string("#K525: ") + (s.SubFunction <= 2 ? kSubs[s.SubFunction] : ""),
                    s.Status);
            values(s, kRingConductors);
            if (s.SubFunction == 0) values(s, kRing0);
            if (s.SubFunction == 1) values(s, kRing1);
            if (s.SubFunction == 2) values(s, kRing2);
            systemWhenSet(s.EarthingSystem);
            return;
        }
        case 27: {
            const auto& s = r_.CONTAT;
            const int sub = s.SubFunction;
            static constexpr const char* kSubs[] = {"R2", "R1+R2", "#K555"};
            heading(std::string("#K527: ") + (sub <= 2 ? kSubs[sub] : ""), s.Status);
            if (sub == 0) value(kR2, "R2: ", s.R2);
            if (sub == 1) value(kR2, "R1+R2: ", s.R1R2);
            if (sub == 2) value(kR2, "R: ", s.R);
            if (sub == 0 || sub == 1) polarities(s.Rplus, s.Rminus);
            if (sub == 2) testCurrent(s);
            limit(s.Limit);
            systemWhenSet(s.EarthingSystem);
            return;
        }
        case 56:
        case 103: {
            const auto& s = r_.CONT;
            heading(key(s.SubFunction == 1 ? "Funct_R-LowOhm" : "Funct_CONT"), s.Status);
            value(kR2, "R: ", s.R);
            if (s.SubFunction == 1) polarities(s.Rplus, s.Rminus);
            if (code_ == 56) return limit(s.Limit, true);
            limit(s.Limit);
            system(s.EarthingSystem);
            return;
        }
        case 61: {
            const auto& s = r_.RING;
            heading(key("Funct_CONT"), s.Status);
            if (s.SubFunction == 3) value(kR2, "r1: ", s.r1);
            if (s.SubFunction == 4) value(kR2, "rn: ", s.rN);
            if (s.SubFunction == 5) value(kR2, "r2: ", s.r2);
            if (s.SubFunction == 6) value(kR2, "R1+RN: ", s.R1RN);
            polarities(s.Rplus, s.Rminus);
            limit(s.Limit, true);
            return;
        }
        case 62: {
            const auto& s = r_.CONTAT;
            heading(key("Funct_CONT"), s.Status);
            if (s.SubFunction == 4) value(kR2, "R2: ", s.R2);
            if (s.SubFunction == 3) value(kR2, "R1+R2: ", s.R1R2);
            polarities(s.Rplus, s.Rminus);
            limit(s.Limit, true);
            return;
        }
        case 63: {
            const auto& s = r_.RING;
            heading("#K525", s.Status);
            values(s, kRingConductors);
            values(s, kRing63);
            return;
        }
        case 125: {
            const auto& s = r_.RING;
            const int sub = s.SubFunction;
            const V* r = sub == 3 ? &s.r1 : sub == 4 ? &s.rN : sub == 5 ? &s.r2 : nullptr;
            return laterConductor(sub == 3   ? " r1"
                                  : sub == 4 ? " rn"
                                             : " r2",
                                  r, s.Rplus, s.Rminus, s.Limit, s.Status, s.EarthingSystem);
        }
        case 127: {
            const auto& s = r_.CONTAT;
            const int sub = s.SubFunction;
            const V* r = sub == 3 ? &s.R1R2 : sub == 4 ? &s.R2 : nullptr;
            return laterConductor(sub == 3 ? " R1+R2" : " R2", r, s.Rplus, s.Rminus, s.Limit,
                                  s.Status, s.EarthingSystem);
        }
        default:
            return;
    }
}

// Continuity (3): sub-functions 0 and 4 a single resistance, 1 and 3 with reversed
// polarity, 2 the protective conductor with its fuse, 5 the protective conductor by the loop.
void Generator::continuity3() {
    const auto& s = r_.CONT;
    const int sub = s.SubFunction;
    std::string h = "#K303: ";
    if (sub == 0 || sub == 4) h += "#K325";
    if (sub == 1 || sub == 3) h += "#K326";
    if (sub == 2) h += "#K529";
    if (!variantIs("AUS") && !variantIs("KORVEN")) {
        if (sub == 0 || sub == 1) h += " NPE";
        if (sub == 3 || sub == 4) h += " LPE";
    }
    if (sub == 5) h += " R-PE(loop)";
    heading(h, s.Status);
    if (sub == 0 || sub == 4) {
        value(kR2, "R: ", s.R);
        limit(s.Limit);
    } else if (sub == 1 || sub == 3) {
        value(kR2, "R: ", s.R);
        polarities(s.Rplus, s.Rminus);
        limit(s.Limit);
    } else if (sub == 2) {
        value(kR2, "Rpe: ", s.Rpe);
        keyLine(kR2, "text598", s.Text598);
        if (s.FuseType == "0") values(s, kFuse);
        limit(s.Limit2);
        keyLine(kL3, "text596", s.Text596);
    } else if (sub == 5) {
        value(kR2, "Rpe: ", s.Rpe);
        value(kR3, "RPEcal: ", s.RPEcal);
        if (!isPlaceholder(s.Fuse_I)) values(s, kLoopFuse);
    }
    systemWhenSet(s.EarthingSystem);
}

// Earth continuity (17).
void Generator::earthContinuity17() {
    const auto& s = r_.ERTCONT;
    const int sub = s.SubFunction;
    static constexpr const char* kSubs[] = {"#K555", "#K556", "#K557", "#K558", "#K557-Fast"};
    heading(std::string("#K317: ") + (sub <= 4 ? kSubs[sub] : ""), s.Status);
    value(kR2, "R: ", s.R);
    if (sub == 1 || sub == 3) {
        polarities(s.Rplus, s.Rminus);
        limit(s.Limit);
    } else if (sub == 2 || sub == 4) {
        polarities(s.Rplus, s.Rminus);
        if (!s.ProtectiveDevice.empty()) {
            keyLine(kL3, "text561",
                    s.ProtectiveDevice == "Fuse" ? key("text585") : s.ProtectiveDevice);
            line(kL3, key("text562"), ": ");
            line(kL3, "  ", key("text563"), ": ", s.CrossSection);
            line(kL3, "  ", key("text564"), ": ", s.DeviceCurrent);
            value(kL3, "  Re_lim: ", s.Re_lim);
        }
    } else if (sub == 0) {
        testCurrent(s);
        limit(s.Limit);
    }
    systemWhenSet(s.EarthingSystem);
}

}  // namespace lines

}  // namespace pelvoro
