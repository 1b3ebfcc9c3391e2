// Polarity, wiring and socket tests: the field tables of the parser and the result lines.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "results/functions/field_parser.h"
#include "results/functions/line_writer.h"

namespace pelvoro {

namespace fp {

void Parser::wiringUnits() {
    const sv V = "V";
    const sv O = kOhm;
    switch (layout_) {
        case 19:
        case 26:
            r_.POLAR.R.Unit = O;
            r_.POLAR.U.Unit = V;
            break;
        case 20: {
            auto& x = r_.CorrCONN;
            units(O, {&x.R, &x.Rln, &x.Rlpe, &x.Rnpe, &x.Rln_lim, &x.Rlpe_lim, &x.Rnpe_lim});
            break;
        }
        case 64: {
            auto& x = r_.SOCKET;
            units(O, {&x.Rln, &x.Rlpe, &x.Rnpe, &x.Rpe, &x.Limit});
            break;
        }
        default:
            break;
    }
}

bool Parser::wiringFields(int n, sv t) {
    switch (layout_) {
        case 19:
            return polar19(n, t);
        case 20:
            return corrconn20(n, t);
        case 26:
            return polar26(n, t);
        case 64:
            return socket64(n, t);
        default:
            return false;
    }
}

bool Parser::polar19(int n, sv t) {
    auto& s = r_.POLAR;
    const int sub = s.SubFunction;
    switch (n) {
        case 3:
            mapSpan(s.SubFunction, t, {{0, 6, 0}});
            return true;
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            if (sub <= 3)
                set(s.R, t);
            else if (sub <= 6)
                set(s.U, t);
            else
                flag();
            return true;
        case 6:
            if (sub == 3)
                s.WiringResult = wiringResult(t);
            else
                esys(s.EarthingSystem, t);
            return true;
        case 7:
            esys(s.EarthingSystem, t);
            return true;
        default:
            return false;
    }
}

bool Parser::polar26(int n, sv t) {
    auto& s = r_.POLAR;
    switch (n) {
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            set(s.R, t);
            return true;
        case 6:
            esys(s.EarthingSystem, t);
            return true;
        default:
            return false;
    }
}

// Wiring check (20): sub-functions 0 .. 3 one resistance and the wiring result, 4 .. 6
// the three conductor resistances (5 and 6 with their limits).
bool Parser::corrconn20(int n, sv t) {
    auto& s = r_.CorrCONN;
    const int sub = s.SubFunction;
    const bool single = sub < 4;
    const bool withLimits = sub == 5 || sub == 6;
    switch (n) {
        case 3:
            mapSpan(s.SubFunction, t, {{0, 6, 0}});
            return true;
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            set(single ? s.R : s.Rln, t);
            return true;
        case 6:
            if (single)
                s.WiringResult = wiringResult(t);
            else
                set(s.Rlpe, t);
            return true;
        case 7:
            if (single)
                esys(s.EarthingSystem, t);
            else
                set(s.Rnpe, t);
            return true;
        case 8:
            if (sub == 4)
                esys(s.EarthingSystem, t);
            else if (withLimits)
                set(s.Rln_lim, t);
            return true;
        case 9:
            if (withLimits) set(s.Rlpe_lim, t);
            return true;
        case 10:
            if (withLimits) set(s.Rnpe_lim, t);
            return true;
        case 11:
            if (withLimits) esys(s.EarthingSystem, t);
            return true;
        default:
            return false;
    }
}

bool Parser::socket64(int n, sv t) {
    auto& s = r_.SOCKET;
    switch (n) {
        case 3:
            if (t == "0")
                s.SubFunction = 2;
            else if (t == "1")
                s.SubFunction = 0;
            else if (t == "2")
                s.SubFunction = 1;
            else
                flag();
            return true;
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            set(s.Limit, t);
            return true;
        case 6:
            set(s.Rln, t);
            return true;
        case 7:
            set(s.Rlpe, t);
            return true;
        case 8:
            set(s.Rnpe, t);
            return true;
        case 9:
            set(s.Rpe, t);
            return true;
        default:
            return false;
    }
}

}  // namespace fp

namespace lines {

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
            const auto parts = wrap(text, width);
            line(kR1, "#K319: ", parts.front(), suffix(s.Status));
            const std::string indent(LangText("text319").size(), ' ');
            for (size_t i = 1; i < parts.size(); ++i) line(kR2, indent, parts[i]);
            if (sub <= 3) {
                static constexpr const char* kWiring[] = {"", "ln", "lpe", "npe"};
                line(kR2, "R", s.WiringResult <= 3 ? kWiring[s.WiringResult] : "", ": ", s.R);
            } else if (sub <= 6) {
                value(kR2, "U: ", s.U);
            }
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
            if (sub <= 3) {
                static constexpr const char* kWiring[] = {"", "ln", "lpe", "npe"};
                line(kR2, "R", s.WiringResult <= 3 ? kWiring[s.WiringResult] : "", ": ", s.R);
            } else {
                value(kR2, "Rlpe: ", s.Rlpe);
                value(kR2, "Rnpe: ", s.Rnpe);
                value(kR2, "Rln: ", s.Rln);
            }
            if (sub == 5 || sub == 6) {
                value(kL3, "Rlpe_lim: ", s.Rlpe_lim);
                value(kL3, "Rnpe_lim: ", s.Rnpe_lim);
                value(kL3, "Rln_lim: ", s.Rln_lim);
            }
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
            value(kR2, "Rln: ", s.Rln);
            value(kR2, "Rlpe: ", s.Rlpe);
            value(kR2, "Rnpe: ", s.Rnpe);
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
