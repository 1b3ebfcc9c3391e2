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

void Parser::currentUnits() {
    const sv A = "A";
    const sv O = kOhm;
    switch (layout_) {
        case 9:
        case 58:
            units(A, {&r_.CURRENT.I, &r_.CURRENT.Limit});
            break;
        case 13:
            units("lux", {&r_.SENSOR.E, &r_.SENSOR.Limit});
            break;
        case 14: {
            auto& x = r_.IMD;
            units(O, {&x.R1, &x.R2, &x.LimR});
            units(A, {&x.I1, &x.I2, &x.LimI});
            break;
        }
        case 15:
            units(A, {&r_.ISFL.Isc1, &r_.ISFL.Isc2, &r_.ISFL.Lim});
            break;
        default:
            break;
    }
}

bool Parser::currentFields(int n, sv t) {
    switch (layout_) {
        case 9:
            return current9(n, t);
        case 13:
            return sensor13(n, t);
        case 14:
            return imd14(n, t);
        case 15:
            return isfl15(n, t);
        case 58:
            return current58(n, t);
        default:
            return false;
    }
}

bool Parser::current9(int n, sv t) {
    auto& s = r_.CURRENT;
    switch (n) {
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            set(s.Limit, t);
            return true;
        case 6:
            split(s.I, t);
            return true;
        case 7:
            esys(s.EarthingSystem, t);
            return true;
        default:
            return false;
    }
}

bool Parser::current58(int n, sv t) {
    auto& s = r_.CURRENT;
    switch (n) {
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            dash(s.Limit, t);
            return true;
        case 6:
            split(s.I, t);
            return true;
        default:
            return false;
    }
}

bool Parser::sensor13(int n, sv t) {
    auto& s = r_.SENSOR;
    switch (n) {
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            set(s.Limit, t);
            return true;
        case 6:
            set(s.E, t);
            return true;
        case 7:
            esys(s.EarthingSystem, t);
            return true;
        default:
            return false;
    }
}

bool Parser::imd14(int n, sv t) {
    auto& s = r_.IMD;
    switch (n) {
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            if (t == "0")
                s.LimitKind = 0;
            else if (t == "1")
                s.LimitKind = 2;
            else if (t == "2")
                s.LimitKind = 1;
            else
                flag();
            return true;
        case 6:
            if (s.LimitKind == 2)
                split(s.LimR, t);
            else if (s.LimitKind == 1)
                split(s.LimI, t);
            return true;
        case 7:
            split(s.I1, t);
            return true;
        case 8:
            split(s.I2, t);
            return true;
        case 9:
            split(s.R1, t);
            return true;
        case 10:
            split(s.R2, t);
            return true;
        case 11:
            esys(s.EarthingSystem, t);
            return true;
        default:
            return false;
    }
}

bool Parser::isfl15(int n, sv t) {
    auto& s = r_.ISFL;
    switch (n) {
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            split(s.Lim, t);
            return true;
        case 6:
            split(s.Isc1, t);
            return true;
        case 7:
            split(s.Isc2, t);
            return true;
        case 8:
            return true;
        case 9:
            esys(s.EarthingSystem, t);
            return true;
        default:
            return false;
    }
}

}  // namespace fp

namespace lines {

void Generator::currentLines() {
    switch (code_) {
        case 9: {
            const auto& s = r_.CURRENT;
            heading("#K309", s.Status);
            value(kR2, "I: ", s.I);
            limit(s.Limit);
            systemWhenSet(s.EarthingSystem);
            return;
        }
        case 13: {
            const auto& s = r_.SENSOR;
            heading("#K313", s.Status);
            value(kR2, "E: ", s.E);
            limit(s.Limit);
            systemWhenSet(s.EarthingSystem);
            return;
        }
        case 14: {
            const auto& s = r_.IMD;
            heading("#K314", s.Status);
            value(kR2, "R1: ", s.R1);
            value(kR2, "R2: ", s.R2);
            value(kR2, "I1: ", s.I1);
            value(kR2, "I2: ", s.I2);
            if (s.LimitKind == 1) limit(s.LimI);
            if (s.LimitKind == 2) limit(s.LimR);
            systemWhenSet(s.EarthingSystem);
            return;
        }
        case 15: {
            const auto& s = r_.ISFL;
            heading("#K315", s.Status);
            value(kR2, "Isc1: ", s.Isc1);
            value(kR2, "Isc2: ", s.Isc2);
            limit(s.Lim);
            systemWhenSet(s.EarthingSystem);
            return;
        }
        case 58: {
            const auto& s = r_.CURRENT;
            heading("#K309", s.Status);
            value(kR2, "I: ", s.I);
            limit(s.Limit);
            return;
        }
        case 109: {
            const auto& s = r_.CURRENT;
            heading(key("Funct_CURRENT"), s.Status);
            value(kR2, "I: ", s.I);
            limit(s.Limit);
            system(s.EarthingSystem);
            return;
        }
        case 113: {
            const auto& s = r_.SENSOR;
            heading(key("Funct_ILLUM"), s.Status);
            value(kR2, "E: ", s.E);
            limit(s.Limit);
            system(s.EarthingSystem);
            return;
        }
        case 114: {
            const auto& s = r_.IMD;
            heading(key("Funct_IMD-CHECK"), s.Status);
            value(kR2, "R1: ", s.R1);
            value(kR2, "R2: ", s.R2);
            value(kR2, "I1: ", s.I1);
            value(kR2, "I2: ", s.I2);
            if (s.LimitKind != 0) limit(s.LimI);
            system(s.EarthingSystem);
            return;
        }
        case 115: {
            const auto& s = r_.ISFL;
            heading(key("Funct_ISFL"), s.Status);
            value(kR2, "Isc1: ", s.Isc1);
            value(kR2, "Isc2: ", s.Isc2);
            limit(s.Lim);
            system(s.EarthingSystem);
            return;
        }
        default:
            return;
    }
}

}  // namespace lines

}  // namespace pelvoro
