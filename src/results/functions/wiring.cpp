// Polarity, wiring and socket tests: the field tables of the parser and the result lines.

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
using Polar = TFunct_POLAR;
using Conn = TFunct_CorrCONN;
using Socket = TFunct_SOCKET;

constexpr Units<Polar> kPolarUnits[] = {{unit::O, {&Polar::R}}, {unit::V, {&Polar::U}}};
constexpr Units<Conn> kConnUnits[] = {
    {unit::O,
     {&Conn::R, &Conn::Rln, &Conn::Rlpe, &Conn::Rnpe, &Conn::Rln_lim, &Conn::Rlpe_lim,
      &Conn::Rnpe_lim}},
};
constexpr Units<Socket> kSocketUnits[] = {
    {unit::O, {&Socket::Rln, &Socket::Rlpe, &Socket::Rnpe, &Socket::Rpe, &Socket::Limit}}};

template <class R>
void subFunction0to6(Parser& p, R& s, sv t) {
    p.mapSpan(s.SubFunction, t, {{0, 6, 0}});
}
template <class R>
void wiring(Parser&, R& s, sv t) {
    s.WiringResult = Parser::wiringResult(t);
}

// Polarity (19): sub-functions 0 .. 3 a resistance, 3 with the wiring result; 4 .. 6 a voltage.
constexpr Row<Polar> kPolar19[] = {
    hook<Polar>(3, subFunction0to6<Polar>),
    {4, Status, &Polar::Status},
    {5, Set, &Polar::R, subsFrom(0, 3)},
    {5, Set, &Polar::U, subsFrom(4, 6)},
    foreign<Polar>(5, 5),
    hook<Polar>(6, wiring<Polar>, subs({3})),
    {6, Esys, &Polar::EarthingSystem},
    {7, Esys, &Polar::EarthingSystem},
};

constexpr Row<Polar> kPolar26[] = {
    {4, Status, &Polar::Status},
    {5, Set, &Polar::R},
    {6, Esys, &Polar::EarthingSystem},
};

// Wiring check (20): sub-functions 0 .. 3 one resistance and the wiring result, 4 .. 6
// the three conductor resistances (5 and 6 with their limits).
constexpr uint64_t kOne = subsFrom(0, 3), kLimits = subs({5, 6});
constexpr Row<Conn> kCorrConn20[] = {
    hook<Conn>(3, subFunction0to6<Conn>),
    {4, Status, &Conn::Status},
    {5, Set, &Conn::R, kOne},
    {5, Set, &Conn::Rln},
    hook<Conn>(6, wiring<Conn>, kOne),
    {6, Set, &Conn::Rlpe},
    {7, Esys, &Conn::EarthingSystem, kOne},
    {7, Set, &Conn::Rnpe},
    {8, Esys, &Conn::EarthingSystem, subs({4})},
    {8, Set, &Conn::Rln_lim, kLimits},
    {9, Set, &Conn::Rlpe_lim, kLimits},
    {10, Set, &Conn::Rnpe_lim, kLimits},
    {11, Esys, &Conn::EarthingSystem, kLimits},
};

// Sockets (64): written 0 no switch (2), 1 switched on (0), 2 switched off (1).
constexpr Row<Socket> kSocket64[] = {
    hook<Socket>(3,
                 [](Parser& p, Socket& s, sv t) {
                     p.mapSpan(s.SubFunction, t, {{0, 0, 2}, {1, 2, 0}});
                 }),
    {4, Status, &Socket::Status},
    {5, Set, &Socket::Limit},
    {6, Set, &Socket::Rln},
    {7, Set, &Socket::Rlpe},
    {8, Set, &Socket::Rnpe},
    {9, Set, &Socket::Rpe},
};

constexpr auto kPolar = &TResultsData::POLAR;
constexpr Layout kLayouts[] = {
    layout<kPolar, kPolar19, kPolarUnits>(19),
    layout<kPolar, kPolar26, kPolarUnits>(26),
    layout<&TResultsData::CorrCONN, kCorrConn20, kConnUnits>(20),
    layout<&TResultsData::SOCKET, kSocket64, kSocketUnits>(64),
};

}  // namespace

std::span<const Layout> wiringLayouts() {
    return kLayouts;
}

}  // namespace fp

namespace lines {

namespace {

using Conn = TFunct_CorrCONN;
using Socket = TFunct_SOCKET;

constexpr ValueLine<Conn> kConductors[] = {
    {kR2, "Rlpe: ", &Conn::Rlpe}, {kR2, "Rnpe: ", &Conn::Rnpe}, {kR2, "Rln: ", &Conn::Rln}};
constexpr ValueLine<Conn> kConductorLimits[] = {{kL3, "Rlpe_lim: ", &Conn::Rlpe_lim},
                                                {kL3, "Rnpe_lim: ", &Conn::Rnpe_lim},
                                                {kL3, "Rln_lim: ", &Conn::Rln_lim}};
constexpr ValueLine<Socket> kSocketLines[] = {
    {kR2, "Rln: ", &Socket::Rln}, {kR2, "Rlpe: ", &Socket::Rlpe}, {kR2, "Rnpe: ", &Socket::Rnpe}};

}  // namespace

// The resistance named by the wiring result: ln, lpe or npe.
void Generator::wiringResistance(uint8_t result, const V& r) {
    static constexpr const char* kWiring[] = {"", "ln", "lpe", "npe"};
    line(kR2, "R", result <= 3 ? kWiring[result] : "", ": ", r);
}

void Generator::wiringLines() {
    switch (code_) {
        case 19: {
            const auto& s = r_.POLAR;
            const int sub = s.SubFunction;
            static constexpr const char* kKeys[] = {"text565", "text566", "text567", "text568",
                                                    "text569", "text570", "text571"};
            const std::string lead = LangText("text319") + ": ";
            const std::string text = sub <= 6 ? key(kKeys[sub]) : std::string();
            int width = wrapWidth();
            if (o_.measure) width -= o_.measure->width(lead, o_.font);
            const std::string indent(LangText("text319").size(), ' ');
            wrap(text, width, [&](size_t k, std::string_view part) {
                if (k == 0)
                    line(kR1, "#K319: ", part, suffix(s.Status));
                else
                    line(kR2, indent, part);
            });
            if (sub <= 3)
                wiringResistance(s.WiringResult, s.R);
            else if (sub <= 6)
                value(kR2, "U: ", s.U);
            systemWhenSet(s.EarthingSystem);
            return;
        }
        case 20: {
            const auto& s = r_.CorrCONN;
            const int sub = s.SubFunction;
            static constexpr const char* kSubs[] = {"#K572",   "#K573",     "#K574",     "#K575",
                                                    "General", "Switch ON", "Switch OFF"};
            heading(std::string(sub <= 3 ? "#K520: " : "#K549: ") + (sub <= 6 ? kSubs[sub] : ""),
                    s.Status);
            if (sub <= 3)
                wiringResistance(s.WiringResult, s.R);
            else
                values(s, kConductors);
            if (sub == 5 || sub == 6) values(s, kConductorLimits);
            systemWhenSet(s.EarthingSystem);
            return;
        }
        case 26: {
            const auto& s = r_.POLAR;
            heading("#K526", s.Status);
            value(kR2, "R: ", s.R);
            systemWhenSet(s.EarthingSystem);
            return;
        }
        case 64: {
            const auto& s = r_.SOCKET;
            heading(key("Funct_SOCKET"), s.Status);
            values(s, kSocketLines);
            if (s.SubFunction == 0) line(kR3, "Limits: Socket switch ON");
            if (s.SubFunction == 1) line(kR3, "Limits: Socket switch OFF");
            if (s.SubFunction != 1) value(kR2, "Rpe: ", s.Rpe);
            limit(s.Limit, true);
            return;
        }
        default:
            return;
    }
}

}  // namespace lines

}  // namespace pelvoro
