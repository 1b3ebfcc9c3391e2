// Insulation resistance: the field tables of the parser and the result lines.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "results/functions/field_parser.h"
#include "results/functions/line_writer.h"

namespace pelvoro {

namespace fp {

void Parser::insulationUnits() {
    const sv V = "V";
    const sv O = kOhm;
    switch (layout_) {
        case 2:
        case 18:
        case 55:
        case 116: {
            auto& x = r_.ISO;
            units(O, {&x.Rln, &x.Rlpe, &x.Rnpe, &x.R, &x.R12, &x.R13, &x.R23, &x.Lim, &x.R60});
            units(V,
                  {&x.UmRln, &x.UmRlpe, &x.UmRnpe, &x.UmR, &x.UmR12, &x.UmR13, &x.UmR23, &x.Uiso});
            break;
        }
        default:
            break;
    }
}

bool Parser::insulationFields(int n, sv t) {
    switch (layout_) {
        case 2:
            return iso2(n, t);
        case 18:
            return iso18(n, t);
        case 55:
            return iso55(n, t);
        case 116:
            return iso116(n, t);
        default:
            return false;
    }
}

// Insulation (2, 102): fields 7 to 12 carry the resistances that the sub-function measured
// and their measuring voltages.
namespace iso {
enum Target : uint8_t {
    None,
    Rln,
    Rlpe,
    Rnpe,
    R12,
    R13,
    R23,
    R,
    UmRln,
    UmRlpe,
    UmRnpe,
    UmR12,
    UmR13,
    UmR23,
    UmR,
    Esys,       // both codes
    EsysCode2,  // code 2 only
};
using Row = std::array<Target, 6>;
constexpr Row kSingle(Target r, Target um) {
    return {r, um, EsysCode2, None, None, None};
}
// Indexed by sub-function 0 .. 23.
constexpr std::array<Row, 24> kRows = {
    kSingle(Rln, UmRln),                          // 0
    kSingle(Rlpe, UmRlpe),                        // 1
    kSingle(Rnpe, UmRnpe),                        // 2
    Row{Rln, Rlpe, Rnpe, UmRln, UmRlpe, UmRnpe},  // 3
    Row{Rlpe, Rnpe, UmRlpe, UmRnpe, Esys, None},  // 4
    Row{Rln, Rlpe, UmRln, UmRlpe, Esys, None},    // 5
    kSingle(R12, UmR12),                          // 6
    kSingle(R13, UmR13),                          // 7
    kSingle(R23, UmR23),                          // 8
    Row{R12, R13, R23, UmR12, UmR13, UmR23},      // 9
    kSingle(Rlpe, UmRlpe),                        // 10
    kSingle(Rln, UmRln),                          // 11
    kSingle(R12, UmR12),                          // 12
    kSingle(Rnpe, UmRnpe),                        // 13
    Row{R, UmR},                                  // 14
    Row{R, UmR},                                  // 15
    Row{R, UmR},                                  // 16
    Row{R, UmR},                                  // 17
    Row{R, UmR},                                  // 18
    Row{R, UmR},                                  // 19
    Row{R, UmR},                                  // 20
    Row{R, UmR},                                  // 21
    Row{R, UmR},                                  // 22
    Row{R, UmR},                                  // 23
};
}  // namespace iso

void Parser::isoSubField(int column, sv t) {
    auto& s = r_.ISO;
    if (s.SubFunction >= iso::kRows.size()) return;
    switch (iso::kRows[s.SubFunction][column]) {
        case iso::None:
            return;
        case iso::Rln:
            return split(s.Rln, t);
        case iso::Rlpe:
            return split(s.Rlpe, t);
        case iso::Rnpe:
            return split(s.Rnpe, t);
        case iso::R12:
            return split(s.R12, t);
        case iso::R13:
            return split(s.R13, t);
        case iso::R23:
            return split(s.R23, t);
        case iso::R:
            return split(s.R, t);
        case iso::UmRln:
            return set(s.UmRln, t);
        case iso::UmRlpe:
            return set(s.UmRlpe, t);
        case iso::UmRnpe:
            return set(s.UmRnpe, t);
        case iso::UmR12:
            return set(s.UmR12, t);
        case iso::UmR13:
            return set(s.UmR13, t);
        case iso::UmR23:
            return set(s.UmR23, t);
        case iso::UmR:
            return set(s.UmR, t);
        case iso::Esys:
            return esys(s.EarthingSystem, t);
        case iso::EsysCode2:
            if (code_ == 2) esys(s.EarthingSystem, t);
            return;
    }
}

bool Parser::iso2(int n, sv t) {
    auto& s = r_.ISO;
    switch (n) {
        case 3:
            mapSpan(s.SubFunction, t, {{0, 9, 0}, {11, 14, 10}, {20, 29, 14}});
            return true;
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            set(s.Uiso, t);
            return true;
        case 6:
            split(s.Lim, t);
            return true;
        case 13:
            if (code_ == 102 || s.SubFunction == 3 || s.SubFunction == 9) esys(s.EarthingSystem, t);
            return true;
        default:
            if (n >= 7 && n <= 12) {
                isoSubField(n - 7, t);
                return true;
            }
            return false;
    }
}

// Insulation of code 18: mode 0 with a sub-function in field 5, modes 1 and 2 single
// measurements.
bool Parser::iso18(int n, sv t) {
    auto& s = r_.ISO;
    if (n == 3) {
        mapSpan(s.Mode, t, {{0, 2, 0}});
        return true;
    }
    if (n == 4) {
        status(s.Status, t);
        return true;
    }
    if (n < 5 || n > 14) return false;
    const int sub = s.SubFunction;
    if (s.Mode == 1) {
        switch (n) {
            case 5:
                split(s.Lim, t);
                break;
            case 6:
                split(s.R, t);
                break;
            case 7:
                set(s.UmR, t);
                break;
            case 8:
                esys(s.EarthingSystem, t);
                break;
        }
        return true;
    }
    if (s.Mode == 2) {
        switch (n) {
            case 5:
                split(s.Lim, t);
                break;
            case 6:
                split(s.Rlpe, t);
                break;
            case 7:
                set(s.UmRlpe, t);
                break;
            case 8:
                split(s.Rnpe, t);
                break;
            case 9:
                set(s.UmRnpe, t);
                break;
            case 10:
                esys(s.EarthingSystem, t);
                break;
        }
        return true;
    }
    switch (n) {
        case 5:
            mapSpan(s.SubFunction, t, {{0, 5, 0}});
            break;
        case 6:
            set(s.Uiso, t);
            break;
        case 7:
            split(s.Lim, t);
            break;
        case 8:
            if (sub == 0 || sub == 3 || sub == 5)
                split(s.Rln, t);
            else if (sub == 1 || sub == 4)
                split(s.Rlpe, t);
            else if (sub == 2)
                split(s.Rnpe, t);
            break;
        case 9:
            if (sub == 3 || sub == 5)
                split(s.Rlpe, t);
            else if (sub == 4)
                split(s.Rnpe, t);
            else if (sub == 0)
                set(s.UmRln, t);
            else if (sub == 1)
                set(s.UmRlpe, t);
            else if (sub == 2)
                set(s.UmRnpe, t);
            break;
        case 10:
            if (sub == 3)
                split(s.Rnpe, t);
            else if (sub == 4)
                set(s.UmRlpe, t);
            else if (sub == 5)
                set(s.UmRln, t);
            else if (sub <= 2)
                esys(s.EarthingSystem, t);
            break;
        case 11:
            if (sub == 3)
                set(s.UmRln, t);
            else if (sub == 4)
                set(s.UmRnpe, t);
            else if (sub == 5)
                set(s.UmRlpe, t);
            break;
        case 12:
            if (sub == 3)
                set(s.UmRlpe, t);
            else if (sub == 4 || sub == 5)
                esys(s.EarthingSystem, t);
            break;
        case 13:
            if (sub == 3) set(s.UmRnpe, t);
            break;
        case 14:
            if (sub == 3) esys(s.EarthingSystem, t);
            break;
    }
    return true;
}

bool Parser::iso55(int n, sv t) {
    auto& s = r_.ISO;
    const int sub = s.SubFunction;
    switch (n) {
        case 3:
            mapSpan(s.SubFunction, t, {{0, 0, 0}, {1, 4, 10}});
            return true;
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            set(s.Uiso, t);
            return true;
        case 6:
            splitDash(s.Lim, t);
            return true;
        case 7:
            if (sub == 0 || sub == 11)
                split(s.Rln, t);
            else if (sub == 10)
                split(s.Rlpe, t);
            else if (sub == 12)
                split(s.R12, t);
            else if (sub == 13)
                split(s.Rnpe, t);
            return true;
        case 8:
            if (sub == 0 || sub == 11)
                set(s.UmRln, t);
            else if (sub == 10)
                set(s.UmRlpe, t);
            else if (sub == 12)
                set(s.UmR12, t);
            else if (sub == 13)
                set(s.UmRnpe, t);
            return true;
        case 9:
            set(s.DAR, t);
            return true;
        case 10:
            set(s.PI, t);
            return true;
        case 11:
            set(s.R60, t);
            return true;
        default:
            return false;
    }
}

bool Parser::iso116(int n, sv t) {
    auto& s = r_.ISO;
    switch (n) {
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            set(s.R, t);
            return true;
        case 6:
            set(s.UmR, t);
            return true;
        case 7:
            set(s.R60, t);
            return true;
        case 8:
            set(s.DAR, t);
            return true;
        case 9:
            set(s.PI, t);
            return true;
        case 10:
            set(s.Uiso, t);
            return true;
        case 11:
            esys(s.EarthingSystem, t);
            return true;
        default:
            return false;
    }
}

}  // namespace fp

namespace lines {

void Generator::insulationLines() {
    switch (code_) {
        case 2: {
            const auto& s = r_.ISO;
            static constexpr const char* kSubs[] = {"#K320", "#K321", "#K322", "#K323", "#K343",
                                                    "#K344", "#K589", "#K590", "#K591", "#K592"};
            heading(std::string("#K302: ") + (s.SubFunction <= 9 ? kSubs[s.SubFunction] : ""),
                    s.Status);
            isoSubLines(s.SubFunction);
            value(kL3, "Uiso: ", s.Uiso);
            limit(s.Lim);
            systemWhenSet(s.EarthingSystem);
            return;
        }
        case 18: {
            const auto& s = r_.ISO;
            static constexpr const char* kSubs[] = {"#K320", "#K321", "#K322",
                                                    "#K323", "#K343", "#K344"};
            std::string h = "#K318: ";
            if (s.Mode == 0) {
                h += "#K555";
                if (s.SubFunction <= 5) h += std::string("  ") + kSubs[s.SubFunction];
            }
            if (s.Mode == 1) h += "#K576";
            if (s.Mode == 2) h += "#K577";
            heading(h, s.Status);
            if (s.Mode == 1) withUm("R: ", s.R, s.UmR);
            if (s.Mode == 2) {
                withUm("Rlpe: ", s.Rlpe, s.UmRlpe);
                withUm("Rnpe: ", s.Rnpe, s.UmRnpe);
            }
            if (s.Mode == 0 && s.SubFunction <= 5) isoSubLines(s.SubFunction);
            value(kL3, "Uiso: ", s.Uiso);
            limit(s.Lim);
            systemWhenSet(s.EarthingSystem);
            return;
        }
        case 55: {
            const auto& s = r_.ISO;
            static constexpr const char* kWhere[] = {" L/E", " L/N", " L/L", " N/E"};
            std::string h = key("Funct_R-ISO");
            const int sub = s.SubFunction;
            if (sub >= 10 && sub <= 13) h += kWhere[sub - 10];
            heading(h, s.Status);
            if (sub == 0 || sub == 11)
                withUm("R: ", s.Rln, s.UmRln);
            else if (sub == 10)
                withUm("R: ", s.Rlpe, s.UmRlpe);
            else if (sub == 12)
                withUm("R: ", s.R12, s.UmR12);
            else if (sub == 13)
                withUm("R: ", s.Rnpe, s.UmRnpe);
            value(kL3, "Uiso: ", s.Uiso);
            limit(s.Lim, true);
            if (isSet(s.DAR)) line(kL2, "DAR: ", s.DAR.Value);
            if (isSet(s.PI)) line(kL2, "PI: ", s.PI.Value);
            valueWhenSet(kL2, "R60: ", s.R60);
            return;
        }
        case 102: {
            const auto& s = r_.ISO;
            static constexpr const char* kWhere[] = {
                " L/E",   " L/N",   " L/L",   " N/E",  " L1/N",  " L2/N",  " L3/N",
                " L1/PE", " L2/PE", " L3/PE", " N/PE", " L1/L2", " L1/L3", " L2/L3"};
            std::string h = key("Funct_R-ISO");
            if (s.SubFunction >= 10 && s.SubFunction <= 23) h += kWhere[s.SubFunction - 10];
            heading(h, s.Status);
            const int sub = s.SubFunction;
            if (sub == 0 || sub == 11)
                withUm("R: ", s.Rln, s.UmRln);
            else if (sub == 10)
                withUm("R: ", s.Rlpe, s.UmRlpe);
            else if (sub == 12)
                withUm("R: ", s.R12, s.UmR12);
            else if (sub == 13)
                withUm("R: ", s.Rnpe, s.UmRnpe);
            else if (sub >= 14 && sub <= 23)
                withUm("R: ", s.R, s.UmR);
            value(kL3, "Uiso: ", s.Uiso);
            limit(s.Lim);
            system(s.EarthingSystem);
            return;
        }
        case 116: {
            const auto& s = r_.ISO;
            heading(key("Funct_R_DIAGN"), s.Status);
            withUm("R: ", s.R, s.UmR);
            value(kL3, "Uiso: ", s.Uiso);
            valueWhenSet(kL3, "R60: ", s.R60);
            if (isSet(s.DAR)) line(kL3, "DAR: ", s.DAR.Value);
            if (isSet(s.PI)) line(kL3, "PI: ", s.PI.Value);
            system(s.EarthingSystem);
            return;
        }
        default:
            return;
    }
}

// The resistances that an insulation sub-function measured (codes 2 and 18, mode 0).
void Generator::isoSubLines(int sub) {
    const auto& s = r_.ISO;
    auto ln = [&] { withUm("Rln: ", s.Rln, s.UmRln); };
    auto lpe = [&] { withUm("Rlpe: ", s.Rlpe, s.UmRlpe); };
    auto npe = [&] { withUm("Rnpe: ", s.Rnpe, s.UmRnpe); };
    auto r12 = [&] { withUm("R12: ", s.R12, s.UmR12); };
    auto r13 = [&] { withUm("R13: ", s.R13, s.UmR13); };
    auto r23 = [&] { withUm("R23: ", s.R23, s.UmR23); };
    switch (sub) {
        case 0:
            return ln();
        case 1:
            return lpe();
        case 2:
            return npe();
        case 3:
            return ln(), lpe(), npe();
        case 4:
            return lpe(), npe();
        case 5:
            return ln(), lpe();
        case 6:
            return r12();
        case 7:
            return r13();
        case 8:
            return r23();
        case 9:
            return r12(), r13(), r23();
        default:
            return;
    }
}

}  // namespace lines

}  // namespace pelvoro
