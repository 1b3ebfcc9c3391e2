// Earth resistance: the field tables of the parser and the result lines.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "results/functions/field_parser.h"
#include "results/functions/line_writer.h"

namespace pelvoro {

namespace fp {

void Parser::earthUnits() {
    const sv O = kOhm;
    switch (layout_) {
        case 8:
        case 57:
        case 73: {
            auto& x = r_.EARTH;
            units(O, {&x.R, &x.Re, &x.Rc, &x.Rp, &x.Limit});
            break;
        }
        default:
            break;
    }
}

bool Parser::earthFields(int n, sv t) {
    switch (layout_) {
        case 8:
            return earth8(n, t);
        case 57:
            return earth57(n, t);
        case 73:
            return earth73(n, t);
        default:
            return false;
    }
}

// Earth resistance (8, 108): sub-function 0 three-wire, 1 with the re-measured electrode,
// 2 clamp, 3 resistivity.
bool Parser::earth8(int n, sv t) {
    auto& s = r_.EARTH;
    const int sub = s.SubFunction;
    const bool code8 = code_ == 8;
    switch (n) {
        case 3:
            mapSpan(s.SubFunction, t, {{0, 3, 0}});
            return true;
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            if (sub < 3)
                set(s.Limit, t);
            else if (sub == 3)
                split(s.Distance, t);
            return true;
        case 6:
            if (sub < 3) set(s.R, t);
            return true;
        case 7:
            if (sub == 0)
                split(s.Rc, t);
            else if (sub == 1)
                split(s.Re, t);
            else if (sub == 3)
                split(s.Rho, t);
            else if (sub == 2 && code8)
                esys(s.EarthingSystem, t);
            return true;
        case 8:
            if (sub == 0)
                split(s.Rp, t);
            else if (sub == 1 || sub == 3)
                split(s.Rc, t);
            return true;
        case 9:
            if (sub == 1 || sub == 3)
                split(s.Rp, t);
            else if (sub == 0 && code8)
                esys(s.EarthingSystem, t);
            return true;
        case 10:
            esys(s.EarthingSystem, t);
            return true;
        default:
            return false;
    }
}

bool Parser::earth57(int n, sv t) {
    auto& s = r_.EARTH;
    const int sub = s.SubFunction;
    const bool resistance = sub < 3 || sub == 4;
    switch (n) {
        case 3:
            mapSpan(s.SubFunction, t, {{0, 4, 0}});
            return true;
        case 4:
            status(s.Status, t);
            return true;
        case 6:
            if (resistance)
                dash(s.Limit, t);
            else
                splitDash(s.Distance, t);
            return true;
        case 7:
            if (resistance)
                set(s.R, t);
            else if (sub == 3)
                set(s.Rho, t);
            return true;
        case 8:
            if (sub != 2) split(s.Rc, t);
            return true;
        case 9:
            if (sub != 2) split(s.Rp, t);
            return true;
        default:
            return false;
    }
}

bool Parser::earth73(int n, sv t) {
    auto& s = r_.EARTH;
    switch (n) {
        case 3:
            mapSpan(s.SubFunction, t, {{0, 4, 0}});
            return true;
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            return true;
        case 6:
            dash(s.Limit, t);
            return true;
        case 7:
            set(s.R, t);
            return true;
        case 8:
            split(s.Rc, t);
            return true;
        case 9:
            split(s.Rp, t);
            return true;
        default:
            return false;
    }
}

}  // namespace fp

namespace lines {

void Generator::earthLines() {
    switch (code_) {
        case 8: {
            const auto& s = r_.EARTH;
            const int sub = s.SubFunction;
            static constexpr const char* kSubs[] = {"#K340", "#K341", "#K342", "#S274"};
            heading(std::string("#K308: ") + (sub <= 3 ? kSubs[sub] : ""), s.Status);
            if (sub == 3)
                value(kR2, "#S274: ", s.Rho);
            else
                value(kR2, "R: ", s.R);
            if (sub == 1) value(kR3, "Re: ", s.Re);
            if (sub != 2) {
                const bool aus = variantIs("AUS");
                value(kR3, aus ? "T1: " : "Rc: ", s.Rc);
                value(kR3, aus ? "T2: " : "Rp: ", s.Rp);
            }
            if (sub != 3) limit(s.Limit);
            if (sub == 3) keyLine(kL3, "text597", s.Distance);
            systemWhenSet(s.EarthingSystem);
            return;
        }
        case 57: {
            const auto& s = r_.EARTH;
            const int sub = s.SubFunction;
            std::string h = "#K308: ";
            if (sub == 0 || sub == 4) h += key("Funct_4WIRE");
            if (sub == 1) h += "#K341";
            if (sub == 2) h += "#K342";
            if (sub == 3) h += "#S274";
            heading(h, s.Status);
            if (sub == 3)
                value(kR2, "#S274: ", s.Rho);
            else
                value(kR2, "R: ", s.R);
            if (sub != 2) {
                value(kR3, "Rc: ", s.Rc);
                value(kR3, "Rp: ", s.Rp);
            }
            if (sub != 3) limit(s.Limit);
            if (sub == 3 && s.Distance.Value != "-") keyLine(kL3, "text597", s.Distance);
            return;
        }
        case 73: {
            const auto& s = r_.EARTH;
            heading(key("Funct_EARTH_RE"), s.Status);
            value(kR2, "R: ", s.R);
            value(kR3, "Rc: ", s.Rc);
            value(kR3, "Rp: ", s.Rp);
            return;
        }
        case 108: {
            const auto& s = r_.EARTH;
            heading(s.SubFunction == 0 ? key("Funct_EARTH") : std::string(), s.Status);
            if (s.SubFunction == 0) {
                value(kR2, "R: ", s.R);
                value(kR3, "Rc: ", s.Rc);
                value(kR3, "Rp: ", s.Rp);
                limit(s.Limit);
            }
            system(s.EarthingSystem);
            return;
        }
        default:
            return;
    }
}

}  // namespace lines

}  // namespace pelvoro
