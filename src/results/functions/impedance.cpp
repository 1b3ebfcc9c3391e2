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

void Parser::impedanceUnits() {
    const sv V = "V";
    const sv A = "A";
    const sv s = "s";
    const sv mA = "mA";
    const sv mm2 = "mm2";
    const sv O = kOhm;
    switch (layout_) {
        case 4:
        case 52: {
            auto& x = r_.ZLINE;
            units(O, {&x.Z, &x.R, &x.Xl, &x.Z_lim, &x.Zref});
            units(A, {&x.Isc, &x.Isc_lim, &x.IscMaxLN, &x.IscMinLN, &x.IscMax3ph, &x.IscMin3ph,
                      &x.IscMax2ph, &x.IscMin2ph, &x.IscStd});
            break;
        }
        case 5:
        case 53: {
            auto& x = r_.ZLOOP;
            units(O, {&x.Z, &x.Z1, &x.Z2, &x.R, &x.Xl, &x.Z_lim, &x.Rlim});
            units(A, {&x.Isc, &x.Isc1, &x.Isc2, &x.Isc_lim, &x.IscMaxLPE, &x.IscMinLPE, &x.IscStd});
            units(V, {&x.Ub, &x.Uc});
            x.RCD.Unit = mA;
            break;
        }
        case 21: {
            auto& x = r_.FOLTLOOP;
            units(O, {&x.Z, &x.R, &x.Z1, &x.Z2, &x.Rphe_lim, &x.Zphe_lim});
            units(mm2, {&x.CrossSection1, &x.CrossSection2});
            x.DeviceCurrent.Unit = A;
            x.DisconnectionTime.Unit = s;
            break;
        }
        case 29:
            r_.LOOP_Re.Re.Unit = O;
            break;
        case 35: {
            auto& x = r_.INC_NEUTR;
            units(O, {&x.Z, &x.R, &x.Xl, &x.Z_lim});
            x.Isc.Unit = A;
            break;
        }
        default:
            break;
    }
}

bool Parser::impedanceFields(int n, sv t) {
    switch (layout_) {
        case 4:
            return zline4(n, t);
        case 5:
            return zloop5(n, t);
        case 21:
            return foltloop21(n, t);
        case 29:
            return loopRe29(n, t);
        case 35:
            return incneutr35(n, t);
        case 52:
            return zline52(n, t);
        case 53:
            return zloop53(n, t);
        default:
            return false;
    }
}

// Line impedance (4, 104). Sub-function 11 is the voltage-drop measurement; 1 and 9 (L-N)
// and 2 and 10 (L-L) carry the prospective short-circuit current limits in fields 13 on.
bool Parser::zline4(int n, sv t) {
    auto& s = r_.ZLINE;
    const int sub = s.SubFunction;
    const bool drop = sub == 11;
    const bool lineToNeutral = sub == 1 || sub == 9;
    const bool lineToLine = sub == 2 || sub == 10;
    // Code 4 results of sub-function 0 mark fields 13, 16 and 18 with "3".
    const bool marked = code_ == 4 && sub == 0 && t == "3";
    switch (n) {
        case 3:
            if (auto v =
                    lookupSpan(t, {{0, 2, 0}, {3, 3, 11}, {10, 15, 3}, {98, 98, 9}, {99, 99, 10}}))
                s.SubFunction = uint8_t(*v);
            else if (auto number = parseInt(t); number && *number >= 4 && *number <= 9)
                s.SubFunction = 0;
            else
                flag();
            return true;
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            s.FuseType.assign(t);
            return true;
        case 6:
            split(s.Fuse_I, t);
            return true;
        case 7:
            split(s.Fuse_t, t);
            return true;
        case 8:
            if (drop)
                set(s.dU_lim, t);
            else if (!korven() && !s.FuseType.empty())
                set(s.Isc_lim, t);
            else
                set(s.Z_lim, t);
            return true;
        case 9:
            if (drop)
                set(s.dU, t);
            else
                split(s.Z, t);
            return true;
        case 10:
            split(s.Isc, t);
            return true;
        case 11:
            if (drop)
                set(s.Z, t);
            else
                split(s.R, t);
            return true;
        case 12:
            if (drop)
                set(s.Zref, t);
            else
                split(s.Xl, t);
            return true;
        case 13:
            if (lineToNeutral)
                set(s.IscMaxLN, t);
            else if (lineToLine)
                set(s.IscMax3ph, t);
            else if (marked)
                s.dUFlag = 1;
            return true;
        case 14:
            if (lineToNeutral)
                set(s.IscMinLN, t);
            else if (lineToLine)
                set(s.IscMin3ph, t);
            return true;
        case 15:
            if (lineToNeutral)
                set(s.IscStd, t);
            else if (lineToLine)
                set(s.IscMax2ph, t);
            return true;
        case 16:
            if (lineToLine)
                set(s.IscMin2ph, t);
            else if (marked)
                s.dUFlag = 1;
            return true;
        case 17:
            if (lineToLine) set(s.IscStd, t);
            return true;
        case 18:
            if (code_ == 104)
                esys(s.EarthingSystem, t);
            else if (marked)
                s.dUFlag = 1;
            return true;
        case 19:
            if (sub == 2 || sub == 10) esys(s.EarthingSystem, t);
            return true;
        default:
            return false;
    }
}

bool Parser::zline52(int n, sv t) {
    auto& s = r_.ZLINE;
    switch (n) {
        case 3:
            if (t == "0")
                s.SubFunction = 0;
            else if (t == "1")
                s.SubFunction = 11;
            else if (auto number = parseInt(t); number && *number >= 3)
                s.SubFunction = 0;
            else
                flag();
            return true;
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            s.FuseType.assign(t);
            return true;
        case 6:
            split(s.Fuse_I, t);
            return true;
        case 7:
            split(s.Fuse_t, t);
            return true;
        case 8:
            set(korven() ? s.Z_lim : s.Isc_lim, t);
            return true;
        case 9:
            split(s.Z, t);
            return true;
        case 10:
            split(s.Isc, t);
            return true;
        case 11:
            set(s.dU_lim, t);
            return true;
        case 12:
            set(s.dU, t);
            return true;
        case 13:
            split(s.Zref, t);
            return true;
        default:
            return false;
    }
}

// Loop impedance (5, 105). Under the reduced-voltage systems (3 .. 5) fields 10 to 13 hold
// the two loops' impedances and currents.
bool Parser::zloop5(int n, sv t) {
    auto& s = r_.ZLOOP;
    const int sub = s.SubFunction;
    const bool rcdLoop = sub == 12;
    const bool tn = s.EarthingSystem == 1 || s.EarthingSystem == 2;
    const bool reduced = s.EarthingSystem >= 3 && s.EarthingSystem <= 5;
    switch (n) {
        case 3:
            mapSpan(s.SubFunction, t, {{0, 2, 0}, {3, 3, 2}, {5, 5, 5}, {9, 9, 12}, {10, 15, 6}});
            return true;
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            esys(s.EarthingSystem, t);
            return true;
        case 6:
            if (rcdLoop)
                set(s.RCD, t);
            else
                s.FuseType.assign(t);
            return true;
        case 7:
            if (rcdLoop)
                set(s.Rlim, t);
            else
                split(s.Fuse_I, t);
            return true;
        case 8:
            if (rcdLoop)
                set(s.Uc, t);
            else
                split(s.Fuse_t, t);
            return true;
        case 9:
            if (!korven() && !s.FuseType.empty()) {
                set(s.Isc_lim, t);
            } else {
                set(s.Z_lim, t);
                if (s.FuseType.empty() && t == "70.0") s.UbFlag = 1;
            }
            return true;
        case 10:
            if (reduced)
                set(s.Z1, t);
            else
                split(s.Z, t);
            return true;
        case 11:
            if (reduced)
                set(s.Z2, t);
            else
                split(s.Isc, t);
            return true;
        case 12:
            if (tn)
                split(s.R, t);
            else if (reduced)
                split(s.Isc1, t);
            return true;
        case 13:
            if (tn)
                split(s.Xl, t);
            else if (reduced)
                split(s.Isc2, t);
            return true;
        case 14:
            set(s.IscMaxLPE, t);
            if (t == "3" && (sub == 0 || (sub >= 2 && sub <= 5))) s.UbFlag = 1;
            return true;
        case 15:
            set(s.IscMinLPE, t);
            return true;
        case 16:
            set(s.IscStd, t);
            return true;
        case 17:
            set(s.Ub, t);
            return true;
        case 18:
            if (sub == 1 && t == "3") s.UbFlag = 1;
            return true;
        default:
            return false;
    }
}

bool Parser::zloop53(int n, sv t) {
    auto& s = r_.ZLOOP;
    switch (n) {
        case 3:
            mapSpan(s.SubFunction, t, {{1, 2, 3}});
            return true;
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            s.FuseType.assign(t);
            return true;
        case 6:
            split(s.Fuse_I, t);
            return true;
        case 7:
            split(s.Fuse_t, t);
            return true;
        case 8:
            set(korven() ? s.Z_lim : s.Isc_lim, t);
            return true;
        case 9:
            split(s.Z, t);
            return true;
        case 10:
            split(s.Isc, t);
            return true;
        case 11:
            split(s.R, t);
            return true;
        case 12:
            split(s.Xl, t);
            return true;
        default:
            return false;
    }
}

// Fault loop (21): device flag 0 a protective device with two cross-sections, 1 a fuse or
// RCD with its disconnection time.
bool Parser::foltloop21(int n, sv t) {
    auto& s = r_.FOLTLOOP;
    const bool deviceKind = s.DeviceFlag == 1;
    const std::initializer_list<std::pair<sv, sv>> kDeviceTypes = {
        {"0", "-"}, {"1", "B"}, {"2", "C"}, {"3", "D"}, {"4", "Fuse"}};
    const bool tn = s.EarthingSystem == 1 || s.EarthingSystem == 2;
    const bool reduced = s.EarthingSystem >= 3 && s.EarthingSystem <= 5;
    switch (n) {
        case 3:
            mapSpan(s.DeviceFlag, t, {{0, 1, 0}});
            return true;
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            esys(s.EarthingSystem, t);
            return true;
        case 6:
            if (deviceKind)
                mapText(s.DeviceKind, t, {{"0", "FUSE"}, {"1", "RCD"}});
            else
                mapText(s.DeviceType, t, kDeviceTypes);
            return true;
        case 7:
            if (deviceKind)
                mapText(s.DeviceType, t, kDeviceTypes);
            else
                set(s.CrossSection1, t);
            return true;
        case 8:
            set(deviceKind ? s.DeviceCurrent : s.CrossSection2, t);
            return true;
        case 9:
            set(deviceKind ? s.DisconnectionTime : s.DeviceCurrent, t);
            return true;
        case 10:
            set(deviceKind ? s.Zphe_lim : s.Rphe_lim, t);
            return true;
        case 11:
            if (!deviceKind)
                set(s.R, t);
            else if (tn)
                set(s.Z, t);
            else if (reduced)
                set(s.Z1, t);
            return true;
        case 12:
            if (deviceKind && reduced) set(s.Z2, t);
            return true;
        default:
            return false;
    }
}

bool Parser::loopRe29(int n, sv t) {
    auto& s = r_.LOOP_Re;
    switch (n) {
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            set(s.Re, t);
            return true;
        case 6:
            esys(s.EarthingSystem, t);
            return true;
        default:
            return false;
    }
}

bool Parser::incneutr35(int n, sv t) {
    auto& s = r_.INC_NEUTR;
    switch (n) {
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            set(s.Z_lim, t);
            return true;
        case 6:
            split(s.Z, t);
            return true;
        case 7:
            split(s.Isc, t);
            return true;
        case 8:
            split(s.R, t);
            return true;
        case 9:
            split(s.Xl, t);
            return true;
        case 10:
            esys(s.EarthingSystem, t);
            return true;
        default:
            return false;
    }
}

}  // namespace fp

namespace lines {

void Generator::impedanceLines() {
    switch (code_) {
        case 4:
            return zline4();
        case 5:
            return zloop5();
        case 21: {
            const auto& s = r_.FOLTLOOP;
            heading(std::string("#K521: ") + key(s.DeviceFlag == 0 ? "text580" : "text581"),
                    s.Status);
            const bool reduced = s.EarthingSystem >= 3 && s.EarthingSystem <= 5;
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
                if (reduced) {
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
            return;
        }
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
            value(kR3, "R: ", s.R);
            value(kR3, "Xl: ", s.Xl);
            value(kL3, "Z_lim: ", s.Z_lim);
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
                value(kR3, "Z: ", s.Z);
                value(kR3, "Zref: ", s.Zref);
            } else {
                value(kR2, "Z: ", s.Z);
                iscLine(s.Isc);
                if (s.FuseType != kPlaceholder) {
                    fuseLines(s.FuseType, s.Fuse_I, s.Fuse_t);
                    iscLimLine(s.Isc_lim, s.Z_lim);
                }
            }
            return;
        }
        case 53: {
            const auto& s = r_.ZLOOP;
            heading(s.SubFunction == 4 ? "#K305 Zs rcd" : "#K305", s.Status);
            const bool reduced = s.EarthingSystem >= 3 && s.EarthingSystem <= 5;
            if (reduced) {
                value(kR2, "Z1: ", s.Z1);
                value(kR2, "Z2: ", s.Z2);
                value(kR3, "Isc1: ", s.Isc1);
                value(kR3, "Isc2: ", s.Isc2);
            } else {
                value(kR2, "Z: ", s.Z);
                iscLine(s.Isc);
            }
            if (s.FuseType != kPlaceholder) {
                fuseLines(s.FuseType, s.Fuse_I, s.Fuse_t);
                iscLimLine(s.Isc_lim, s.Z_lim);
            }
            return;
        }
        case 104: {
            const auto& s = r_.ZLINE;
            static constexpr const char* kWhere[] = {" L1/N",  " L2/N",  " L3/N",
                                                     " L1/L2", " L1/L3", " L2/L3"};
            const bool reduced = s.EarthingSystem >= 3 && s.EarthingSystem <= 5;
            std::string h = key(reduced ? "Funct_R-LINE" : "Funct_Z-LINE");
            if (s.SubFunction >= 3 && s.SubFunction <= 8) h += kWhere[s.SubFunction - 3];
            heading(h, s.Status);
            value(kR2, reduced ? "R: " : "Z: ", s.Z);
            iscLine(s.Isc);
            if (s.FuseType != "*F") {
                limit(variantIs("KORVEN") ? s.Z_lim : s.Isc_lim);
                fuseLines(s.FuseType, s.Fuse_I, s.Fuse_t);
            }
            system(s.EarthingSystem);
            return;
        }
        case 105: {
            const auto& s = r_.ZLOOP;
            const bool reduced = s.EarthingSystem >= 3 && s.EarthingSystem <= 5;
            const int sub = s.SubFunction;
            std::string h;
            if (reduced) {
                h = key("Funct_R-LOOP");
            } else {
                h = key((sub == 2 || (sub >= 9 && sub <= 11)) ? "Funct_ZsRCD" : "Funct_Z-LOOP");
                if (sub == 6 || sub == 9) h += " L1/PE";
                if (sub == 7 || sub == 10) h += " L2/PE";
                if (sub == 8 || sub == 11) h += " L3/PE";
            }
            heading(h, s.Status);
            if (reduced) {
                value(kR2, "R1: ", s.Z1);
                value(kR3, "Isc1: ", s.Isc1);
                value(kR2, "R2: ", s.Z2);
                value(kR3, "Isc2: ", s.Isc2);
            } else {
                value(kR2, "Z: ", s.Z);
                iscLine(s.Isc);
            }
            if (s.FuseType != "*F") {
                limit(variantIs("KORVEN") ? s.Z_lim : s.Isc_lim);
                fuseLines(s.FuseType, s.Fuse_I, s.Fuse_t);
            }
            system(s.EarthingSystem);
            return;
        }
        default:
            return;
    }
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
    auto fuses = [&] {
        if (!fuse) return;
        fuseType(s.FuseType);
        if (isSet(s.Fuse_I)) fuseI(s.Fuse_I);
        if (isSet(s.Fuse_t)) fuseT(s.Fuse_t);
    };
    if (sub == 11) {
        value(kR2, "dU: ", s.dU);
        iscLine(s.Isc);
        value(kR3, "Z: ", s.Z);
        if (isSet(s.Zref) && !isPlaceholder(s.Zref)) value(kR3, "Zref: ", s.Zref);
        value(kL3, "dU_lim: ", s.dU_lim);
        fuses();
    } else {
        value(kR2, "Z: ", s.Z);
        iscLine(s.Isc);
        value(kR3, "R: ", s.R);
        value(kR3, "Xl: ", s.Xl);
        if (fuse) {
            fuses();
            iscLimLine(s.Isc_lim, s.Z_lim);
        }
        if (sub == 1 || sub == 9) {
            value(kR3, "IscMaxLN: ", s.IscMaxLN);
            value(kR3, "IscMinLN: ", s.IscMinLN);
            value(kR3, "IscStd: ", s.IscStd);
        }
        if (sub == 2 || sub == 10) {
            value(kR3, "IscMax3ph: ", s.IscMax3ph);
            value(kR3, "IscMin3ph: ", s.IscMin3ph);
            value(kR3, "IscMax2ph: ", s.IscMax2ph);
            value(kR3, "IscMin2ph: ", s.IscMin2ph);
            value(kR3, "IscStd: ", s.IscStd);
        }
    }
    systemWhenSet(s.EarthingSystem);
}

void Generator::zloop5() {
    const auto& s = r_.ZLOOP;
    const int sub = s.SubFunction;
    heading(sub == 1 ? "#K305: m#S258 L-PE" : "#K305", s.Status);
    const bool reduced = s.EarthingSystem >= 3 && s.EarthingSystem <= 5;
    if (reduced) {
        value(kR2, "Z1: ", s.Z1);
        value(kR2, "Z2: ", s.Z2);
        value(kR3, "Isc1: ", s.Isc1);
        value(kR3, "Isc2: ", s.Isc2);
    } else {
        value(kR2, "Z: ", s.Z);
        iscLine(s.Isc);
        value(kR3, "R: ", s.R);
        value(kR3, "Xl: ", s.Xl);
    }
    const bool fuse = !s.FuseType.empty() && s.FuseType != kPlaceholder;
    auto fuseValues = [&] {
        if (isSet(s.Fuse_I)) fuseI(s.Fuse_I);
        if (isSet(s.Fuse_t)) fuseT(s.Fuse_t);
    };
    auto testLine = [&](const std::string& what) { line(kL3, key("text583"), ": ", what); };
    if (!variantIs("DOSK")) {
        if (fuse) {
            if (sub == 0) testLine(key("text539"));
            if (sub == 2) testLine(key("text538"));
            if (sub != 0 && sub != 1 && sub != 2) testLine(std::string());
            fuseType(s.FuseType);
            fuseValues();
            iscLimLine(s.Isc_lim, s.Z_lim);
        }
    } else {
        if (sub == 0) testLine(key("text539"));
        if (sub == 2) testLine(key("text538"));
        if (sub == 12) testLine(key("Test_6") + " Rs(RCD)");
        if (sub == 12) {
            value(kL3, "RCD: ", s.RCD);
            value(kL3, "Rlim: ", s.Rlim);
            value(kL3, "Uc: ", s.Uc);
        } else if (fuse) {
            fuseType(s.FuseType);
            fuseValues();
            iscLimLine(s.Isc_lim, s.Z_lim);
        }
    }
    if (sub == 1) {
        value(kR3, "IscMaxLPE: ", s.IscMaxLPE);
        value(kR3, "IscMinLPE: ", s.IscMinLPE);
        value(kR3, "IscStd: ", s.IscStd);
        value(kR3, "Ub: ", s.Ub);
    }
    systemWhenSet(s.EarthingSystem);
}

}  // namespace lines

}  // namespace pelvoro
