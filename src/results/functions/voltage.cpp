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

void Parser::voltageUnits() {
    const sv V = "V";
    const sv A = "A";
    switch (layout_) {
        case 1:
        case 51: {
            auto& x = r_.VOLT;
            units(V, {&x.Uln, &x.Ulpe, &x.Unpe, &x.U21, &x.U1pe, &x.U2pe});
            x.f.Unit = "Hz";
            break;
        }
        case 28: {
            auto& x = r_.VARISTOR;
            units(V, {&x.U, &x.Uac, &x.LoLim, &x.HiLim});
            x.It.Unit = A;
            break;
        }
        case 33:
            units(V, {&r_.TCH_VOLT.Udc, &r_.TCH_VOLT.Uac});
            break;
        default:
            break;
    }
}

bool Parser::voltageFields(int n, sv t) {
    switch (layout_) {
        case 1:
            return volt1(n, t);
        case 28:
            return varistor28(n, t);
        case 33:
            return tchvolt33(n, t);
        case 51:
            return volt51(n, t);
        default:
            return false;
    }
}

// Voltage and phase order (1, 101).
bool Parser::volt1(int n, sv t) {
    auto& s = r_.VOLT;
    const bool tnLayout = s.Mode == 0 && s.EarthingSystem == 1;
    switch (n) {
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            if (t == "0" || t == "255")
                s.EarthingSystem = 0;
            else
                esys(s.EarthingSystem, t);
            return true;
        case 6:
            // A second system field; "0" and "255" keep what field 5 gave.
            if (t != "0" && t != "255") mapSpan(s.EarthingSystem, t, {{1, 5, 1}});
            return true;
        case 7:
            mapSpan(s.Mode, t, {{0, 3, 0}});
            return true;
        case 8:
            set(tnLayout ? s.Uln : s.U21, t);
            return true;
        case 9:
            set(tnLayout ? s.Ulpe : s.U1pe, t);
            return true;
        case 10:
            set(tnLayout ? s.Unpe : s.U2pe, t);
            return true;
        case 11:
            set(s.f, t);
            return true;
        default:
            return false;
    }
}

bool Parser::volt51(int n, sv t) {
    auto& s = r_.VOLT;
    switch (n) {
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            esys(s.EarthingSystem, t);
            return true;
        case 6:
            mapSpan(s.Mode, t, {{0, 2, 0}});
            return true;
        case 7:
            set(s.Uln, t);
            return true;
        case 8:
            dash(s.Ulpe, t);
            return true;
        case 9:
            dash(s.Unpe, t);
            return true;
        case 10:
            set(s.f, t);
            return true;
        default:
            return false;
    }
}

bool Parser::varistor28(int n, sv t) {
    auto& s = r_.VARISTOR;
    switch (n) {
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            set(s.LoLim, t);
            return true;
        case 6:
            set(s.HiLim, t);
            return true;
        case 7:
            split(s.It, t);
            return true;
        case 8:
            set(s.U, t);
            return true;
        case 9:
            set(s.Uac, t);
            return true;
        case 10:
            esys(s.EarthingSystem, t);
            return true;
        default:
            return false;
    }
}

bool Parser::tchvolt33(int n, sv t) {
    auto& s = r_.TCH_VOLT;
    switch (n) {
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            s.Limit.assign(t);
            return true;
        case 6:
            set(s.Udc, t);
            return true;
        case 7:
            set(s.Uac, t);
            return true;
        case 8:
            esys(s.EarthingSystem, t);
            return true;
        default:
            return false;
    }
}

}  // namespace fp

namespace lines {

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
            value(kR2, "U: ", s.U);
            value(kR2, "Uac: ", s.Uac);
            value(kL3, "Lo lim: ", s.LoLim);
            value(kL3, "Hi lim: ", s.HiLim);
            value(kL3, "It: ", s.It);
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
    if (s.Mode == 0) {
        if (s.EarthingSystem == 1) {
            value(kR2, "Uln: ", s.Uln);
            value(kR2, "Ulpe: ", s.Ulpe);
            value(kR2, "Unpe: ", s.Unpe);
        } else {
            value(kR2, "U21: ", s.U21);
            value(kR2, "U1pe: ", s.U1pe);
            value(kR2, "U2pe: ", s.U2pe);
        }
    } else if (threePhase) {
        value(kR2, "U21: ", s.U21);
        value(kR2, "U31: ", s.U1pe);
        value(kR2, "U32: ", s.U2pe);
    }
    if (s.Mode == 0 || threePhase) value(kR2, "f: ", s.f);
}

}  // namespace lines

}  // namespace pelvoro
