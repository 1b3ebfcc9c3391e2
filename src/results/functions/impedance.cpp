// Line and loop impedance, fault loop, earth loop and neutral impedance: the field tables of the
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
using ZLine = TFunct_ZLINE;
using ZLoop = TFunct_ZLOOP;
using Folt = TFunct_FOLTLOOP;

// The limit field holds the prospective short-circuit current limit when a fuse is given,
// except for the "KORVEN" variant, which always holds the impedance limit.
template <class R>
bool fuseLimit(const R& s, const Parser& p, sv) {
    return !p.korven() && !s.FuseType.empty();
}
template <class R>
bool korvenLimit(const R&, const Parser& p, sv) {
    return p.korven();
}

constexpr Units<ZLine> kZLineUnits[] = {
    {unit::O, {&ZLine::Z, &ZLine::R, &ZLine::Xl, &ZLine::Z_lim, &ZLine::Zref}},
    {unit::A,
     {&ZLine::Isc, &ZLine::Isc_lim, &ZLine::IscMaxLN, &ZLine::IscMinLN, &ZLine::IscMax3ph,
      &ZLine::IscMin3ph, &ZLine::IscMax2ph, &ZLine::IscMin2ph, &ZLine::IscStd}},
};
constexpr Units<ZLoop> kZLoopUnits[] = {
    {unit::O,
     {&ZLoop::Z, &ZLoop::Z1, &ZLoop::Z2, &ZLoop::R, &ZLoop::Xl, &ZLoop::Z_lim, &ZLoop::Rlim}},
    {unit::A,
     {&ZLoop::Isc, &ZLoop::Isc1, &ZLoop::Isc2, &ZLoop::Isc_lim, &ZLoop::IscMaxLPE,
      &ZLoop::IscMinLPE, &ZLoop::IscStd}},
    {unit::V, {&ZLoop::Ub, &ZLoop::Uc}},
    {unit::mA, {&ZLoop::RCD}},
};
constexpr Units<Folt> kFoltUnits[] = {
    {unit::O, {&Folt::Z, &Folt::R, &Folt::Z1, &Folt::Z2, &Folt::Rphe_lim, &Folt::Zphe_lim}},
    {unit::mm2, {&Folt::CrossSection1, &Folt::CrossSection2}},
    {unit::A, {&Folt::DeviceCurrent}},
    {unit::s, {&Folt::DisconnectionTime}},
};
constexpr Units<TFunct_LOOP_Re> kLoopReUnits[] = {{unit::O, {&TFunct_LOOP_Re::Re}}};
using Neutr = TFunct_INC_NEUTR;
constexpr Units<Neutr> kNeutrUnits[] = {
    {unit::O, {&Neutr::Z, &Neutr::R, &Neutr::Xl, &Neutr::Z_lim}},
    {unit::A, {&Neutr::Isc}},
};

// Line impedance (4, 104). Sub-function 11 is the voltage-drop measurement; 1 and 9 (L-N)
// and 2 and 10 (L-L) carry the prospective short-circuit current limits in fields 13 on.
// Code 4 results of sub-function 0 mark fields 13, 16 and 18 with "3".
constexpr uint64_t kDrop = subs({11}), kLN = subs({1, 9}), kLL = subs({2, 10}), kPlain = subs({0});
bool marked(const ZLine&, const Parser& p, sv t) {
    return p.code() == 4 && t == "3";
}
constexpr Row<ZLine> kZLine4[] = {
    hook<ZLine>(3,
                [](Parser& p, ZLine& s, sv t) {
                    if (auto v = lookupSpan(
                            t, {{0, 2, 0}, {3, 3, 11}, {10, 15, 3}, {98, 98, 9}, {99, 99, 10}}))
                        s.SubFunction = uint8_t(*v);
                    else if (auto number = parseInt(t); number && *number >= 4 && *number <= 9)
                        s.SubFunction = 0;
                    else
                        p.flag();
                }),
    {4, Status, &ZLine::Status},
    {5, Text, &ZLine::FuseType},
    {6, Split, &ZLine::Fuse_I},
    {7, Split, &ZLine::Fuse_t},
    {8, Set, &ZLine::dU_lim, kDrop},
    {8, Set, &ZLine::Isc_lim, 0, fuseLimit<ZLine>},
    {8, Set, &ZLine::Z_lim},
    {9, Set, &ZLine::dU, kDrop},
    {9, Split, &ZLine::Z},
    {10, Split, &ZLine::Isc},
    {11, Set, &ZLine::Z, kDrop},
    {11, Split, &ZLine::R},
    {12, Set, &ZLine::Zref, kDrop},
    {12, Split, &ZLine::Xl},
    {13, Set, &ZLine::IscMaxLN, kLN},
    {13, Set, &ZLine::IscMax3ph, kLL},
    {13, Mark, &ZLine::dUFlag, kPlain, marked},
    {14, Set, &ZLine::IscMinLN, kLN},
    {14, Set, &ZLine::IscMin3ph, kLL},
    {15, Set, &ZLine::IscStd, kLN},
    {15, Set, &ZLine::IscMax2ph, kLL},
    {16, Set, &ZLine::IscMin2ph, kLL},
    {16, Mark, &ZLine::dUFlag, kPlain, marked},
    {17, Set, &ZLine::IscStd, kLL},
    {18, Esys, &ZLine::EarthingSystem, 0,
     [](const ZLine&, const Parser& p, sv) { return p.code() == 104; }},
    {18, Mark, &ZLine::dUFlag, kPlain, marked},
    {19, Esys, &ZLine::EarthingSystem, kLL},
};

// The earlier typed testers' line and loop impedance (52, 53) begin alike: the verdict,
// the fuse, the limit and the impedance with its current.
template <class R>
constexpr std::array<Row<R>, 8> kEarlierFuse = {{
    {4, Status, &R::Status},
    {5, Text, &R::FuseType},
    {6, Split, &R::Fuse_I},
    {7, Split, &R::Fuse_t},
    {8, Set, &R::Z_lim, 0, korvenLimit<R>},
    {8, Set, &R::Isc_lim},
    {9, Split, &R::Z},
    {10, Split, &R::Isc},
}};

constexpr auto kZLine52 =
    join(std::to_array<Row<ZLine>>({
             hook<ZLine>(3,
                         [](Parser& p, ZLine& s, sv t) {
                             if (t == "0")
                                 s.SubFunction = 0;
                             else if (t == "1")
                                 s.SubFunction = 11;
                             else if (auto number = parseInt(t); number && *number >= 3)
                                 s.SubFunction = 0;
                             else
                                 p.flag();
                         }),
             {11, Set, &ZLine::dU_lim},
             {12, Set, &ZLine::dU},
             {13, Split, &ZLine::Zref},
         }),
         kEarlierFuse<ZLine>);

// Loop impedance (5, 105). Under the reduced-voltage systems (3 .. 5) fields 10 to 13 hold
// the two loops' impedances and currents; sub-function 12 is the loop behind an RCD.
constexpr uint64_t kRcdLoop = subs({12});
constexpr Row<ZLoop> kZLoop5[] = {
    hook<ZLoop>(
        3,
        [](Parser& p, ZLoop& s, sv t) {
            p.mapSpan(s.SubFunction, t, {{0, 2, 0}, {3, 3, 2}, {5, 5, 5}, {9, 9, 12}, {10, 15, 6}});
        }),
    {4, Status, &ZLoop::Status},
    {5, Esys, &ZLoop::EarthingSystem},
    {6, Set, &ZLoop::RCD, kRcdLoop},
    {6, Text, &ZLoop::FuseType},
    {7, Set, &ZLoop::Rlim, kRcdLoop},
    {7, Split, &ZLoop::Fuse_I},
    {8, Set, &ZLoop::Uc, kRcdLoop},
    {8, Split, &ZLoop::Fuse_t},
    {9, Set, &ZLoop::Isc_lim, 0, fuseLimit<ZLoop>},
    // Without a fuse a limit of 70.0 marks a touch-voltage measurement.
    hook<ZLoop>(9,
                [](Parser&, ZLoop& s, sv t) {
                    set(s.Z_lim, t);
                    if (s.FuseType.empty() && t == "70.0") s.UbFlag = 1;
                }),
    {10, Set, &ZLoop::Z1, 0, reducedSystem<ZLoop>},
    {10, Split, &ZLoop::Z},
    {11, Set, &ZLoop::Z2, 0, reducedSystem<ZLoop>},
    {11, Split, &ZLoop::Isc},
    {12, Split, &ZLoop::R, 0, tnSystem<ZLoop>},
    {12, Split, &ZLoop::Isc1, 0, reducedSystem<ZLoop>},
    {13, Split, &ZLoop::Xl, 0, tnSystem<ZLoop>},
    {13, Split, &ZLoop::Isc2, 0, reducedSystem<ZLoop>},
    hook<ZLoop>(14,
                [](Parser&, ZLoop& s, sv t) {
                    set(s.IscMaxLPE, t);
                    const int sub = s.SubFunction;
                    if (t == "3" && (sub == 0 || (sub >= 2 && sub <= 5))) s.UbFlag = 1;
                }),
    {15, Set, &ZLoop::IscMinLPE},
    {16, Set, &ZLoop::IscStd},
    {17, Set, &ZLoop::Ub},
    {18, Mark, &ZLoop::UbFlag, subs({1}),
     [](const ZLoop&, const Parser&, sv t) { return t == "3"; }},
};

constexpr auto kZLoop53 = join(std::to_array<Row<ZLoop>>({
                                   hook<ZLoop>(3,
                                               [](Parser& p, ZLoop& s, sv t) {
                                                   p.mapSpan(s.SubFunction, t, {{1, 2, 3}});
                                               }),
                                   {11, Split, &ZLoop::R},
                                   {12, Split, &ZLoop::Xl},
                               }),
                               kEarlierFuse<ZLoop>);

// Fault loop (21): device flag 0 a protective device with two cross-sections, 1 a fuse or
// RCD with its disconnection time.
bool deviceKind(const Folt& s, const Parser&, sv) {
    return s.DeviceFlag == 1;
}
void deviceType(Parser& p, Folt& s, sv t) {
    p.mapText(s.DeviceType, t, {{"0", "-"}, {"1", "B"}, {"2", "C"}, {"3", "D"}, {"4", "Fuse"}});
}
constexpr Row<Folt> kFoltLoop21[] = {
    hook<Folt>(3,
               [](Parser& p, Folt& s, sv t) {
                   p.mapSpan(s.DeviceFlag, t, {{0, 1, 0}});
               }),
    {4, Status, &Folt::Status},
    {5, Esys, &Folt::EarthingSystem},
    hook<Folt>(
        6,
        [](Parser& p, Folt& s, sv t) {
            p.mapText(s.DeviceKind, t, {{"0", "FUSE"}, {"1", "RCD"}});
        },
        0, deviceKind),
    hook<Folt>(6, deviceType),
    hook<Folt>(7, deviceType, 0, deviceKind),
    {7, Set, &Folt::CrossSection1},
    {8, Set, &Folt::DeviceCurrent, 0, deviceKind},
    {8, Set, &Folt::CrossSection2},
    {9, Set, &Folt::DisconnectionTime, 0, deviceKind},
    {9, Set, &Folt::DeviceCurrent},
    {10, Set, &Folt::Zphe_lim, 0, deviceKind},
    {10, Set, &Folt::Rphe_lim},
    {11, Set, &Folt::R, 0, [](const Folt& s, const Parser&, sv) { return s.DeviceFlag != 1; }},
    {11, Set, &Folt::Z, 0, tnSystem<Folt>},
    {11, Set, &Folt::Z1, 0, reducedSystem<Folt>},
    {12, Set, &Folt::Z2, 0,
     [](const Folt& s, const Parser& p, sv t) {
         return deviceKind(s, p, t) && reducedSystem(s, p, t);
     }},
};

using LoopRe = TFunct_LOOP_Re;
constexpr Row<LoopRe> kLoopRe29[] = {
    {4, Status, &LoopRe::Status},
    {5, Set, &LoopRe::Re},
    {6, Esys, &LoopRe::EarthingSystem},
};

constexpr Row<Neutr> kIncNeutr35[] = {
    {4, Status, &Neutr::Status},
    {5, Set, &Neutr::Z_lim},
    {6, Split, &Neutr::Z},
    {7, Split, &Neutr::Isc},
    {8, Split, &Neutr::R},
    {9, Split, &Neutr::Xl},
    {10, Esys, &Neutr::EarthingSystem},
};

constexpr auto kZLine = &TResultsData::ZLINE;
constexpr auto kZLoop = &TResultsData::ZLOOP;
constexpr Layout kLayouts[] = {
    layout<kZLine, kZLine4, kZLineUnits>(4),
    layout<kZLine, kZLine52, kZLineUnits>(52),
    layout<kZLoop, kZLoop5, kZLoopUnits>(5),
    layout<kZLoop, kZLoop53, kZLoopUnits>(53),
    layout<&TResultsData::FOLTLOOP, kFoltLoop21, kFoltUnits>(21),
    layout<&TResultsData::LOOP_Re, kLoopRe29, kLoopReUnits>(29),
    layout<&TResultsData::INC_NEUTR, kIncNeutr35, kNeutrUnits>(35),
};

}  // namespace

std::span<const Layout> impedanceLayouts() {
    return kLayouts;
}

}  // namespace fp

namespace lines {

namespace {

using ZLine = TFunct_ZLINE;
using ZLoop = TFunct_ZLOOP;
using Neutr = TFunct_INC_NEUTR;

constexpr ValueLine<ZLine> kZLineParts[] = {{kR3, "R: ", &ZLine::R}, {kR3, "Xl: ", &ZLine::Xl}};
constexpr ValueLine<ZLoop> kZLoopParts[] = {{kR3, "R: ", &ZLoop::R}, {kR3, "Xl: ", &ZLoop::Xl}};
constexpr ValueLine<ZLine> kDrop52[] = {{kR3, "Z: ", &ZLine::Z}, {kR3, "Zref: ", &ZLine::Zref}};
// The prospective short-circuit currents of line impedance: L-N (1, 9) and L-L (2, 10).
constexpr ValueLine<ZLine> kLineToNeutral[] = {
    {kR3, "IscMaxLN: ", &ZLine::IscMaxLN},
    {kR3, "IscMinLN: ", &ZLine::IscMinLN},
    {kR3, "IscStd: ", &ZLine::IscStd},
};
constexpr ValueLine<ZLine> kLineToLine[] = {
    {kR3, "IscMax3ph: ", &ZLine::IscMax3ph}, {kR3, "IscMin3ph: ", &ZLine::IscMin3ph},
    {kR3, "IscMax2ph: ", &ZLine::IscMax2ph}, {kR3, "IscMin2ph: ", &ZLine::IscMin2ph},
    {kR3, "IscStd: ", &ZLine::IscStd},
};
// The two loops under the reduced-voltage systems.
constexpr ValueLine<ZLoop> kTwoLoops[] = {
    {kR2, "Z1: ", &ZLoop::Z1},
    {kR2, "Z2: ", &ZLoop::Z2},
    {kR3, "Isc1: ", &ZLoop::Isc1},
    {kR3, "Isc2: ", &ZLoop::Isc2},
};
constexpr ValueLine<ZLoop> kTwoLoops105[] = {
    {kR2, "R1: ", &ZLoop::Z1},
    {kR3, "Isc1: ", &ZLoop::Isc1},
    {kR2, "R2: ", &ZLoop::Z2},
    {kR3, "Isc2: ", &ZLoop::Isc2},
};
constexpr ValueLine<ZLoop> kLoopRcd[] = {
    {kL3, "RCD: ", &ZLoop::RCD}, {kL3, "Rlim: ", &ZLoop::Rlim}, {kL3, "Uc: ", &ZLoop::Uc}};
constexpr ValueLine<ZLoop> kLoopLimits[] = {
    {kR3, "IscMaxLPE: ", &ZLoop::IscMaxLPE},
    {kR3, "IscMinLPE: ", &ZLoop::IscMinLPE},
    {kR3, "IscStd: ", &ZLoop::IscStd},
    {kR3, "Ub: ", &ZLoop::Ub},
};
constexpr ValueLine<Neutr> kNeutrParts[] = {
    {kR3, "R: ", &Neutr::R}, {kR3, "Xl: ", &Neutr::Xl}, {kL3, "Z_lim: ", &Neutr::Z_lim}};

bool reduced(uint8_t esys) {
    return esys >= 3 && esys <= 5;
}

}  // namespace

// The fuse of an earlier tester's line or loop impedance, unless the tester gave none.
template <class R>
void Generator::earlierFuse(const R& s) {
    if (s.FuseType == kPlaceholder) return;
    fuseLines(s.FuseType, s.Fuse_I, s.Fuse_t);
    iscLimLine(s.Isc_lim, s.Z_lim);
}

// The limit and fuse of a later tester's line or loop impedance ("*F": no fuse), then the
// earthing system.
template <class R>
void Generator::laterFuse(const R& s) {
    if (s.FuseType != "*F") {
        limit(variantIs("KORVEN") ? s.Z_lim : s.Isc_lim);
        fuseLines(s.FuseType, s.Fuse_I, s.Fuse_t);
    }
    system(s.EarthingSystem);
}

// The fuse values that were given.
template <class R>
void Generator::fuseWhenSet(const R& s) {
    fuseType(s.FuseType);
    if (isSet(s.Fuse_I)) fuseI(s.Fuse_I);
    if (isSet(s.Fuse_t)) fuseT(s.Fuse_t);
}

void Generator::impedanceLines() {
    switch (code_) {
        case 4:
            return zline4();
        case 5:
            return zloop5();
        case 21:
            return faultLoop21();
        case 29: {
            const auto& s = r_.LOOP_Re;
            heading("#K529: ", s.Status);
            value(kR2, "Re: ", s.Re);
            systemWhenSet(s.EarthingSystem);
            return;
        }
        case 35: {
            const auto& s = r_.INC_NEUTR;
            heading("#K535", s.Status);
            value(kR2, "Z: ", s.Z);
            iscLine(s.Isc);
            values(s, kNeutrParts);
            systemWhenSet(s.EarthingSystem);
            return;
        }
        case 52: {
            const auto& s = r_.ZLINE;
            const bool dU = s.SubFunction == 11;
            heading(dU ? "#K304 dU" : "#K304", s.Status);
            if (dU) {
                value(kR2, "dU: ", s.dU);
                value(kL3, "dU_lim: ", s.dU_lim);
                iscLine(s.Isc);
                values(s, kDrop52);
            } else {
                value(kR2, "Z: ", s.Z);
                iscLine(s.Isc);
                earlierFuse(s);
            }
            return;
        }
        case 53: {
            const auto& s = r_.ZLOOP;
            heading(s.SubFunction == 4 ? "#K305 Zs rcd" : "#K305", s.Status);
            if (reduced(s.EarthingSystem)) {
                values(s, kTwoLoops);
            } else {
                value(kR2, "Z: ", s.Z);
                iscLine(s.Isc);
            }
            earlierFuse(s);
            return;
        }
        case 104: {
            const auto& s = r_.ZLINE;
            static constexpr const char* kWhere[] = {" L1/N",  " L2/N",  " L3/N",
                                                     " L1/L2", " L1/L3", " L2/L3"};
            const bool r = reduced(s.EarthingSystem);
            std::string h = key(r ? "Funct_R-LINE" : "Funct_Z-LINE");
            if (s.SubFunction >= 3 && s.SubFunction <= 8) h += kWhere[s.SubFunction - 3];
            heading(h, s.Status);
            value(kR2, r ? "R: " : "Z: ", s.Z);
            iscLine(s.Isc);
            laterFuse(s);
            return;
        }
        case 105: {
            const auto& s = r_.ZLOOP;
            const int sub = s.SubFunction;
            std::string h;
            if (reduced(s.EarthingSystem)) {
                h = key("Funct_R-LOOP");
            } else {
                h = key((sub == 2 || (sub >= 9 && sub <= 11)) ? "Funct_ZsRCD" : "Funct_Z-LOOP");
                if (sub == 6 || sub == 9) h += " L1/PE";
                if (sub == 7 || sub == 10) h += " L2/PE";
                if (sub == 8 || sub == 11) h += " L3/PE";
            }
            heading(h, s.Status);
            if (reduced(s.EarthingSystem)) {
                values(s, kTwoLoops105);
            } else {
                value(kR2, "Z: ", s.Z);
                iscLine(s.Isc);
            }
            laterFuse(s);
            return;
        }
        default:
            return;
    }
}

// Fault loop (21): a protective device with its cross-sections, or a fuse or RCD with its
// disconnection time.
void Generator::faultLoop21() {
    const auto& s = r_.FOLTLOOP;
    heading(std::string("#K521: ") + key(s.DeviceFlag == 0 ? "text580" : "text581"), s.Status);
    const bool device = s.DeviceType != "-";
    auto deviceLine = [&] {
        std::string type = s.DeviceType;
        if (type == "Fuse") type = key("text585");
        if (type == "-") type = std::string(kPlaceholder);
        keyLine(kR3, "text561", type);
    };
    auto sub = [&](std::string_view k, const V& v) { line(kR3, "  ", key(k), ": ", v); };
    if (s.DeviceFlag == 0) {
        value(kR2, "R: ", s.R);
        deviceLine();
        if (device) {
            line(kR3, key("text562"), ": ");
            sub("text578", s.CrossSection1);
            sub("text579", s.CrossSection2);
            sub("text564", s.DeviceCurrent);
            value(kR3, "  Rphe_lim: ", s.Rphe_lim);
        }
    } else {
        if (reduced(s.EarthingSystem)) {
            value(kR2, "Z1: ", s.Z1);
            value(kR2, "Z2: ", s.Z2);
        } else {
            value(kR2, "Z: ", s.Z);
        }
        line(kR3, "RCD: ", (s.DeviceKind == "RCD" ? "YES" : "NO"));
        deviceLine();
        if (device) {
            sub("text564", s.DeviceCurrent);
            if (s.DeviceType == "Fuse" && s.DisconnectionTime.Value != "-")
                sub("text584", s.DisconnectionTime);
            value(kR3, "  Zphe_lim:  ", s.Zphe_lim);
        }
    }
    systemWhenSet(s.EarthingSystem);
}

void Generator::zline4() {
    const auto& s = r_.ZLINE;
    const int sub = s.SubFunction;
    std::string h = "#K304";
    if (sub == 11) h += " dU";
    if (sub == 1) h += ": m#S258 L-N";
    if (sub == 2) h += ": m#S258 L-L";
    heading(h, s.Status);
    const bool fuse = !s.FuseType.empty() && s.FuseType != kPlaceholder;
    if (sub == 11) {
        value(kR2, "dU: ", s.dU);
        iscLine(s.Isc);
        value(kR3, "Z: ", s.Z);
        if (isSet(s.Zref) && !isPlaceholder(s.Zref)) value(kR3, "Zref: ", s.Zref);
        value(kL3, "dU_lim: ", s.dU_lim);
        if (fuse) fuseWhenSet(s);
    } else {
        value(kR2, "Z: ", s.Z);
        iscLine(s.Isc);
        values(s, kZLineParts);
        if (fuse) {
            fuseWhenSet(s);
            iscLimLine(s.Isc_lim, s.Z_lim);
        }
        if (sub == 1 || sub == 9) values(s, kLineToNeutral);
        if (sub == 2 || sub == 10) values(s, kLineToLine);
    }
    systemWhenSet(s.EarthingSystem);
}

void Generator::zloop5() {
    const auto& s = r_.ZLOOP;
    const int sub = s.SubFunction;
    heading(sub == 1 ? "#K305: m#S258 L-PE" : "#K305", s.Status);
    if (reduced(s.EarthingSystem)) {
        values(s, kTwoLoops);
    } else {
        value(kR2, "Z: ", s.Z);
        iscLine(s.Isc);
        values(s, kZLoopParts);
    }
    const bool fuse = !s.FuseType.empty() && s.FuseType != kPlaceholder;
    auto testLine = [&](const std::string& what) { line(kL3, key("text583"), ": ", what); };
    auto fuseAndLimit = [&] {
        fuseWhenSet(s);
        iscLimLine(s.Isc_lim, s.Z_lim);
    };
    if (!variantIs("DOSK")) {
        if (fuse) {
            if (sub == 0) testLine(key("text539"));
            if (sub == 2) testLine(key("text538"));
            if (sub != 0 && sub != 1 && sub != 2) testLine(std::string());
            fuseAndLimit();
        }
    } else {
        if (sub == 0) testLine(key("text539"));
        if (sub == 2) testLine(key("text538"));
        if (sub == 12) {
            testLine(key("Test_6") + " Rs(RCD)");
            values(s, kLoopRcd);
        } else if (fuse) {
            fuseAndLimit();
        }
    }
    if (sub == 1) values(s, kLoopLimits);
    systemWhenSet(s.EarthingSystem);
}

}  // namespace lines

}  // namespace pelvoro
