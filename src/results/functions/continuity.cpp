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

void Parser::continuityUnits() {
    const sv V = "V";
    const sv A = "A";
    const sv mA = "mA";
    const sv mm2 = "mm2";
    const sv O = kOhm;
    switch (layout_) {
        case 3:
        case 56: {
            auto& x = r_.CONT;
            units(O, {&x.R, &x.Rplus, &x.Rminus, &x.Limit, &x.Rpe, &x.Text598, &x.Limit2,
                      &x.Text596, &x.RPEcal, &x.RPE_lim});
            x.Fuse_I.Unit = A;
            x.Uc.Unit = V;
            break;
        }
        case 17: {
            auto& x = r_.ERTCONT;
            units(O, {&x.R, &x.Rplus, &x.Rminus, &x.Limit, &x.Re_lim});
            x.TestCurrent.Unit = mA;
            x.CrossSection.Unit = mm2;
            x.DeviceCurrent.Unit = A;
            break;
        }
        case 25:
        case 61:
        case 63: {
            auto& x = r_.RING;
            units(O, {&x.r1, &x.rN, &x.r2, &x.R1RN, &x.R1R2, &x.r1rN_4, &x.r1r2_4, &x.Rplus,
                      &x.Rminus, &x.Limit, &x.R1RN_2});
            break;
        }
        case 27:
        case 62: {
            auto& x = r_.CONTAT;
            units(O, {&x.R2, &x.R1R2, &x.R, &x.Rplus, &x.Rminus, &x.Limit});
            x.TestCurrent.Unit = mA;
            break;
        }
        default:
            break;
    }
}

bool Parser::continuityFields(int n, sv t) {
    switch (layout_) {
        case 3:
            return cont3(n, t);
        case 17:
            return ertcont17(n, t);
        case 25:
            return ring25(n, t);
        case 27:
            return contat27(n, t);
        case 56:
            return cont56(n, t);
        case 61:
            return ring61(n, t);
        case 62:
            return contat62(n, t);
        case 63:
            return ring63(n, t);
        default:
            return false;
    }
}

// Continuity (3, 103).
bool Parser::cont3(int n, sv t) {
    auto& s = r_.CONT;
    const int sub = s.SubFunction;
    const bool code3 = code_ == 3;
    switch (n) {
        case 3:
            mapSpan(s.SubFunction, t, {{0, 5, 0}});
            return true;
        case 4:
            status(s.Status, t);
            return true;
        case 11:
            set(s.Text598, t);
            return true;
        case 12:
            esys(s.EarthingSystem, t);
            return true;
        default:
            break;
    }
    if (n < 5 || n > 10) return false;
    if (sub == 0 || sub == 4) {
        if (n == 5)
            set(s.Limit, t);
        else if (n == 6)
            set(s.R, t);
        else if (n == 7 && code3)
            esys(s.EarthingSystem, t);
    } else if (sub == 1 || sub == 3) {
        if (n == 5)
            set(s.Limit, t);
        else if (n == 6)
            set(s.R, t);
        else if (n == 7)
            set(s.Rplus, t);
        else if (n == 8)
            set(s.Rminus, t);
        else if (n == 9 && code3)
            esys(s.EarthingSystem, t);
    } else if (sub == 2) {
        const bool noFuse = s.FuseType == "0";
        switch (n) {
            case 5:
                s.FuseType.assign(t);
                break;
            case 6:
                if (noFuse) split(s.Fuse_I, t);
                break;
            case 7:
                if (noFuse) set(s.Uc, t);
                break;
            case 8:
                set(s.Limit2, t);
                break;
            case 9:
                set(s.Text596, t);
                break;
            case 10:
                set(s.Rpe, t);
                break;
        }
    } else if (sub == 5) {
        switch (n) {
            case 5:
                split(s.Fuse_I, t);
                break;
            case 6:
                set(s.Uc, t);
                break;
            case 7:
                set(s.RPE_lim, t);
                break;
            case 8:
                set(s.RPEcal, t);
                break;
            case 9:
                set(s.Rpe, t);
                break;
            case 10:
                if (code3) esys(s.EarthingSystem, t);
                break;
        }
    }
    return true;
}

bool Parser::cont56(int n, sv t) {
    auto& s = r_.CONT;
    const int sub = s.SubFunction;
    switch (n) {
        case 3:
            mapSpan(s.SubFunction, t, {{0, 1, 0}});
            return true;
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            if (sub == 0 || sub == 1) dash(s.Limit, t);
            return true;
        case 6:
            if (sub < 2) set(s.R, t);
            return true;
        case 7:
            if (sub == 1) set(s.Rplus, t);
            return true;
        case 8:
            if (sub == 1) set(s.Rminus, t);
            return true;
        default:
            return false;
    }
}

// Earth continuity (17): sub-function 0 with a chosen test current, 1 and 3 with reversed
// polarity, 2 and 4 the earthing conductor with its protective device.
bool Parser::ertcont17(int n, sv t) {
    auto& s = r_.ERTCONT;
    const int sub = s.SubFunction;
    switch (n) {
        case 3:
            if (t == "0")
                s.SubFunction = 1;
            else if (t == "1")
                s.SubFunction = 2;
            else if (t == "2")
                s.SubFunction = 3;
            else if (t == "3")
                s.SubFunction = 0;
            else if (t == "4")
                s.SubFunction = 4;
            else
                flag();
            return true;
        case 4:
            status(s.Status, t);
            return true;
        default:
            break;
    }
    if (n < 5 || n > 12) return false;
    if (sub == 0) {
        const bool high = s.TestCurrent.Value == "200";
        const bool low = s.TestCurrent.Value == "7";
        switch (n) {
            case 5:
                mapText(s.TestCurrent.Value, t, {{"0", "7"}, {"1", "200"}});
                break;
            case 6:
                set(s.Limit, t);
                break;
            case 7:
                set(s.R, t);
                break;
            case 8:
                if (high)
                    set(s.Rplus, t);
                else if (low)
                    esys(s.EarthingSystem, t);
                break;
            case 9:
                if (high) set(s.Rminus, t);
                break;
            case 10:
                if (high) esys(s.EarthingSystem, t);
                break;
        }
    } else if (sub == 1 || sub == 3) {
        switch (n) {
            case 5:
                set(s.Limit, t);
                break;
            case 6:
                set(s.R, t);
                break;
            case 7:
                set(s.Rplus, t);
                break;
            case 8:
                set(s.Rminus, t);
                break;
            case 9:
                esys(s.EarthingSystem, t);
                break;
        }
    } else if (sub == 2 || sub == 4) {
        switch (n) {
            case 5:
                mapText(s.ProtectiveDevice, t,
                        {{"0", ""}, {"1", "B"}, {"2", "C"}, {"3", "D"}, {"4", "Fuse"}});
                break;
            case 6:
                set(s.CrossSection, t);
                break;
            case 7:
                set(s.DeviceCurrent, t);
                break;
            case 8:
                set(s.Re_lim, t);
                break;
            case 9:
                set(s.R, t);
                break;
            case 10:
                set(s.Rplus, t);
                break;
            case 11:
                set(s.Rminus, t);
                break;
            case 12:
                esys(s.EarthingSystem, t);
                break;
        }
    }
    return true;
}

// Ring continuity (25, 125): sub-functions 0 .. 2 the ring measurements, 3 .. 5 (the
// later testers' r1, rn, r2) single conductors with reversed polarity.
bool Parser::ring25(int n, sv t) {
    auto& s = r_.RING;
    const int sub = s.SubFunction;
    const bool single = sub >= 3 && sub <= 5;
    switch (n) {
        case 3:
            mapSpan(s.SubFunction, t, {{0, 2, 0}, {4, 6, 3}});
            return true;
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            set(s.r1, t);
            return true;
        case 6:
            set(s.rN, t);
            return true;
        case 7:
            set(s.r2, t);
            return true;
        case 8:
            if (sub == 0 || sub == 2)
                set(s.R1RN, t);
            else if (sub == 1)
                set(s.R1R2, t);
            else if (single)
                set(s.Rplus, t);
            return true;
        case 9:
            if (sub == 0)
                set(s.r1rN_4, t);
            else if (sub == 1)
                set(s.r1r2_4, t);
            else if (sub == 2)
                set(s.R1R2, t);
            else if (single)
                set(s.Rminus, t);
            return true;
        case 10:
            if (sub == 2)
                set(s.r1rN_4, t);
            else
                esys(s.EarthingSystem, t);
            return true;
        case 11:
            if (sub == 2)
                set(s.r1r2_4, t);
            else if (single)
                set(s.Limit, t);
            return true;
        case 12:
            if (sub == 2) esys(s.EarthingSystem, t);
            return true;
        default:
            return false;
    }
}

bool Parser::ring61(int n, sv t) {
    auto& s = r_.RING;
    const int sub = s.SubFunction;
    const bool known = sub >= 3 && sub <= 6;
    switch (n) {
        case 3:
            if (t == "2")
                s.SubFunction = 3;
            else if (t == "3")
                s.SubFunction = 4;
            else if (t == "4")
                s.SubFunction = 5;
            else if (t == "7")
                s.SubFunction = 6;
            else
                flag();
            return true;
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            if (known) dash(s.Limit, t);
            return true;
        case 6:
            if (sub == 3)
                set(s.r1, t);
            else if (sub == 4)
                set(s.rN, t);
            else if (sub == 5)
                set(s.r2, t);
            else if (sub == 6)
                set(s.R1RN, t);
            return true;
        case 7:
            if (known) set(s.Rplus, t);
            return true;
        case 8:
            if (known) set(s.Rminus, t);
            return true;
        default:
            return false;
    }
}

bool Parser::ring63(int n, sv t) {
    auto& s = r_.RING;
    switch (n) {
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            set(s.r1, t);
            return true;
        case 6:
            set(s.rN, t);
            return true;
        case 7:
            set(s.r2, t);
            return true;
        case 8:
            set(s.r1rN_4, t);
            return true;
        case 9:
            set(s.r1r2_4, t);
            return true;
        case 10:
            set(s.R1RN, t);
            return true;
        case 11:
            set(s.R1R2, t);
            return true;
        default:
            return false;
    }
}

// Continuity at sockets (27, 127): sub-function 0 R2, 1 R1+R2, 2 a test with a chosen
// test current, 3 and 4 (the later testers' R1+R2 and R2) with reversed polarity.
bool Parser::contat27(int n, sv t) {
    auto& s = r_.CONTAT;
    const int sub = s.SubFunction;
    const bool chosenCurrent = sub == 2;
    const bool high = s.TestCurrent.Value == "200";
    const bool low = s.TestCurrent.Value == "7";
    switch (n) {
        case 3:
            mapSpan(s.SubFunction, t, {{0, 2, 0}, {4, 5, 3}});
            return true;
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            if (chosenCurrent)
                mapText(s.TestCurrent.Value, t, {{"0", "7"}, {"1", "200"}});
            else if (sub == 0 || sub == 1)
                mapText(s.SocketKind, t, {{"0", "Plug"}, {"1", "Universal"}});
            return true;
        case 6:
            set(s.Limit, t);
            return true;
        case 7:
            if (sub == 0 || sub == 4)
                set(s.R2, t);
            else if (sub == 1 || sub == 3)
                set(s.R1R2, t);
            else if (sub == 2)
                set(s.R, t);
            return true;
        case 8:
            if (!chosenCurrent || high)
                set(s.Rplus, t);
            else if (low)
                esys(s.EarthingSystem, t);
            return true;
        case 9:
            if (!chosenCurrent || high) set(s.Rminus, t);
            return true;
        case 10:
            if (sub < 5) esys(s.EarthingSystem, t);
            return true;
        default:
            return false;
    }
}

bool Parser::contat62(int n, sv t) {
    auto& s = r_.CONTAT;
    const int sub = s.SubFunction;
    const bool known = sub == 3 || sub == 4;
    switch (n) {
        case 3:
            mapSpan(s.SubFunction, t, {{5, 6, 3}});
            return true;
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            if (known) dash(s.Limit, t);
            return true;
        case 6:
            if (sub == 4)
                set(s.R2, t);
            else if (sub == 3)
                set(s.R1R2, t);
            return true;
        case 7:
            if (known) set(s.Rplus, t);
            return true;
        case 8:
            if (known) set(s.Rminus, t);
            return true;
        default:
            return false;
    }
}

}  // namespace fp

namespace lines {

void Generator::continuityLines() {
    switch (code_) {
        case 3: {
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
                value(kR3, "R+: ", s.Rplus);
                value(kR3, "R-: ", s.Rminus);
                limit(s.Limit);
            } else if (sub == 2) {
                value(kR2, "Rpe: ", s.Rpe);
                keyLine(kR2, "text598", s.Text598);
                if (s.FuseType == "0") {
                    value(kL3, "Fuse_I: ", s.Fuse_I);
                    value(kL3, "Uc: ", s.Uc);
                }
                limit(s.Limit2);
                keyLine(kL3, "text596", s.Text596);
            } else if (sub == 5) {
                value(kR2, "Rpe: ", s.Rpe);
                value(kR3, "RPEcal: ", s.RPEcal);
                if (!isPlaceholder(s.Fuse_I)) {
                    value(kL3, "Fuse_I: ", s.Fuse_I);
                    value(kL3, "Uc: ", s.Uc);
                    value(kL3, "RPE_lim: ", s.RPE_lim);
                }
            }
            systemWhenSet(s.EarthingSystem);
            return;
        }
        case 17: {
            const auto& s = r_.ERTCONT;
            const int sub = s.SubFunction;
            static constexpr const char* kSubs[] = {"#K555", "#K556", "#K557", "#K558",
                                                    "#K557-Fast"};
            heading(std::string("#K317: ") + (sub <= 4 ? kSubs[sub] : ""), s.Status);
            value(kR2, "R: ", s.R);
            if (sub == 1 || sub == 3) {
                value(kR3, "R+: ", s.Rplus);
                value(kR3, "R-: ", s.Rminus);
                limit(s.Limit);
            } else if (sub == 2 || sub == 4) {
                value(kR3, "R+: ", s.Rplus);
                value(kR3, "R-: ", s.Rminus);
                if (!s.ProtectiveDevice.empty()) {
                    keyLine(kL3, "text561",
                            s.ProtectiveDevice == "Fuse" ? key("text585") : s.ProtectiveDevice);
                    line(kL3, key("text562"), ": ");
                    line(kL3, "  ", key("text563"), ": ", s.CrossSection);
                    line(kL3, "  ", key("text564"), ": ", s.DeviceCurrent);
                    value(kL3, "  Re_lim: ", s.Re_lim);
                }
            } else if (sub == 0) {
                if (s.TestCurrent.Value == "200") {
                    value(kR3, "R+: ", s.Rplus);
                    value(kR3, "R-: ", s.Rminus);
                }
                if (s.TestCurrent.Value != "-") keyLine(kL3, "text560", s.TestCurrent);
                limit(s.Limit);
            }
            systemWhenSet(s.EarthingSystem);
            return;
        }
        case 25: {
            const auto& s = r_.RING;
            static constexpr const char* kSubs[] = {"#K593", "#K594", "#K595"};
            heading(std::string("#K525: ") + (s.SubFunction <= 2 ? kSubs[s.SubFunction] : ""),
                    s.Status);
            value(kR2, "r1: ", s.r1);
            value(kR2, "rN: ", s.rN);
            value(kR2, "r2: ", s.r2);
            if (s.SubFunction == 0) {
                value(kR2, "(R1+Rn)max: ", s.R1RN);
                value(kR2, "(r1+rN)/4: ", s.r1rN_4);
            } else if (s.SubFunction == 1) {
                value(kR2, "(R1+R2)max: ", s.R1R2);
                value(kR2, "(r1+r2)/4: ", s.r1r2_4);
            } else if (s.SubFunction == 2) {
                value(kR2, "(R1+Rn)max: ", s.R1RN);
                value(kR2, "(R1+R2)max: ", s.R1R2);
                value(kR2, "(r1+rN)/4: ", s.r1rN_4);
                value(kR2, "(r1+r2)/4: ", s.r1r2_4);
            }
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
            if (sub == 0 || sub == 1) {
                value(kR3, "R+: ", s.Rplus);
                value(kR3, "R-: ", s.Rminus);
            } else if (sub == 2) {
                if (s.TestCurrent.Value == "200") {
                    value(kR3, "R+: ", s.Rplus);
                    value(kR3, "R-: ", s.Rminus);
                }
                if (s.TestCurrent.Value != "-") keyLine(kL3, "text560", s.TestCurrent);
            }
            limit(s.Limit);
            systemWhenSet(s.EarthingSystem);
            return;
        }
        case 56: {
            const auto& s = r_.CONT;
            heading(key(s.SubFunction == 1 ? "Funct_R-LowOhm" : "Funct_CONT"), s.Status);
            value(kR2, "R: ", s.R);
            if (s.SubFunction == 1) {
                value(kR3, "R+: ", s.Rplus);
                value(kR3, "R-: ", s.Rminus);
            }
            limit(s.Limit, true);
            return;
        }
        case 61: {
            const auto& s = r_.RING;
            heading(key("Funct_CONT"), s.Status);
            if (s.SubFunction == 3) value(kR2, "r1: ", s.r1);
            if (s.SubFunction == 4) value(kR2, "rn: ", s.rN);
            if (s.SubFunction == 5) value(kR2, "r2: ", s.r2);
            if (s.SubFunction == 6) value(kR2, "R1+RN: ", s.R1RN);
            value(kR3, "R+: ", s.Rplus);
            value(kR3, "R-: ", s.Rminus);
            limit(s.Limit, true);
            return;
        }
        case 62: {
            const auto& s = r_.CONTAT;
            heading(key("Funct_CONT"), s.Status);
            if (s.SubFunction == 4) value(kR2, "R2: ", s.R2);
            if (s.SubFunction == 3) value(kR2, "R1+R2: ", s.R1R2);
            value(kR3, "R+: ", s.Rplus);
            value(kR3, "R-: ", s.Rminus);
            limit(s.Limit, true);
            return;
        }
        case 63: {
            const auto& s = r_.RING;
            heading("#K525", s.Status);
            value(kR2, "r1: ", s.r1);
            value(kR2, "rN: ", s.rN);
            value(kR2, "r2: ", s.r2);
            value(kR2, "R1+RN: ", s.R1RN);
            value(kR2, "R1+R2: ", s.R1R2);
            value(kR2, "(r1+rN)/4: ", s.r1rN_4);
            value(kR2, "(r1+r2)/4: ", s.r1r2_4);
            return;
        }
        case 103: {
            const auto& s = r_.CONT;
            heading(key(s.SubFunction == 1 ? "Funct_R-LowOhm" : "Funct_CONT"), s.Status);
            value(kR2, "R: ", s.R);
            if (s.SubFunction == 1) {
                value(kR3, "R+: ", s.Rplus);
                value(kR3, "R-: ", s.Rminus);
            }
            limit(s.Limit);
            system(s.EarthingSystem);
            return;
        }
        case 125: {
            const auto& s = r_.RING;
            std::string h = key("Funct_CONT");
            const V* r = nullptr;
            if (s.SubFunction == 3) h += " r1", r = &s.r1;
            if (s.SubFunction == 4) h += " rn", r = &s.rN;
            if (s.SubFunction == 5) h += " r2", r = &s.r2;
            heading(h, s.Status);
            value(kR2, "R: ", r ? *r : V{});
            value(kR3, "R+: ", s.Rplus);
            value(kR3, "R-: ", s.Rminus);
            limit(s.Limit);
            system(s.EarthingSystem);
            return;
        }
        case 127: {
            const auto& s = r_.CONTAT;
            std::string h = key("Funct_CONT");
            const V* r = nullptr;
            if (s.SubFunction == 3) h += " R1+R2", r = &s.R1R2;
            if (s.SubFunction == 4) h += " R2", r = &s.R2;
            heading(h, s.Status);
            value(kR2, "R: ", r ? *r : V{});
            value(kR3, "R+: ", s.Rplus);
            value(kR3, "R-: ", s.Rminus);
            limit(s.Limit);
            system(s.EarthingSystem);
            return;
        }
        default:
            return;
    }
}

}  // namespace lines

}  // namespace pelvoro
