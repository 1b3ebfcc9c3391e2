#include "results/render_result.h"

#include <cstdlib>
#include <string_view>

#include "common/lang_text.h"
#include "document/structure_document.h"
#include "results/function_codes.h"

namespace pelvoro {

namespace {

using V = TResultValue;

constexpr const char* kR1 = "X#PR#L1";
constexpr const char* kR2 = "X#PR#L2";
constexpr const char* kR3 = "X#PR#L3";
constexpr const char* kL2 = "X#PL#L2";
constexpr const char* kL3 = "X#PL#L3";
constexpr std::string_view kPlaceholder = kNotDelivered;
constexpr int kWrapMargin = 160;

bool isSet(const V& v) {
    return !v.Value.empty();
}
bool isPlaceholder(const V& v) {
    return v.Value == kPlaceholder;
}

// The parts a line is built of: texts, and value pairs written as value then unit.
size_t partSize(std::string_view s) {
    return s.size();
}
size_t partSize(const V& v) {
    return v.Value.size() + v.Unit.size();
}
void appendPart(std::string& out, std::string_view s) {
    out.append(s);
}
void appendPart(std::string& out, const V& v) {
    out.append(v.Value).append(v.Unit);
}

class Generator {
  public:
    Generator(const TResultsData& r, const RenderOptions& o) : r_(r), o_(o) {}

    std::vector<std::string> run();

  private:
    // ---- building blocks ----
    void add(std::string line) { lines_.push_back(std::move(line)); }
    // One line of its parts, built in one buffer of the right size.
    template <class... P>
    void line(const P&... parts) {
        std::string out;
        out.reserve((partSize(parts) + ...));
        (appendPart(out, parts), ...);
        lines_.push_back(std::move(out));
    }
    void value(const char* prefix, std::string_view label, const V& v) { line(prefix, label, v); }
    void valueWhenSet(const char* prefix, std::string_view label, const V& v) {
        if (isSet(v)) value(prefix, label, v);
    }
    // "R: " value "  Um: " voltage
    void withUm(std::string_view label, const V& r, const V& um) {
        line(kR2, label, r, "  Um: ", um);
    }
    void keyLine(const char* prefix, std::string_view key, std::string_view text) {
        line(prefix, LangText(key), ": ", text);
    }
    void keyLine(const char* prefix, std::string_view key, const V& v) {
        line(prefix, LangText(key), ": ", v);
    }
    void limit(const V& v, bool skipPlaceholder = false) {
        if (v.Value == "-") return;
        if (skipPlaceholder && isPlaceholder(v)) return;
        keyLine(kL3, "text559", v);
    }
    void system(uint8_t esys) {
        static constexpr const char* kKeys[] = {"",
                                                "Unit_SYS-TN/TT",
                                                "Unit_SYS-IT",
                                                "Unit_SYS-RV55",
                                                "Unit_SYS-RV63",
                                                "Unit_SYS-PP230"};
        line(kR3, LangText("System_7"), " ",
             esys >= 1 && esys <= 5 ? std::string_view(LangText(kKeys[esys])) : std::string_view());
    }
    void systemWhenSet(uint8_t esys) {
        if (esys != 0) system(esys);
    }
    static std::string_view suffix(uint8_t status) {
        switch (status) {
            case 0:
                return "#Cb#AR#K023";
            case 1:
                return "#CR#AR#K020";
            case 2:
                return "#CR#AR#K024";
            case 5:
                return "#Cb#AR#K000";
            case 6:
                return "#Cb#AR";
            case 9:
                return "#Cb#AR"
                       "HIGH";
            case 10:
                return "#Cb#AR"
                       "LOW";
            default:
                return {};
        }
    }
    void heading(std::string_view text, uint8_t status) { line(kR1, text, suffix(status)); }
    void headingNoStatus(std::string_view text) { line(kR1, text); }
    static const std::string& key(std::string_view k) { return LangText(k); }
    bool variantIs(std::string_view v) const { return o_.variant == v; }

    void iscLine(const V& isc) { keyLine(kR3, "Quant_Isc", isc); }
    void fuseType(const std::string& type) { keyLine(kL3, "text582", type); }
    void fuseI(const V& v) { keyLine(kR3, "text536", v); }
    void fuseT(const V& v) { keyLine(kR3, "text537", v); }
    void fuseLines(const std::string& type, const V& i, const V& t) {
        fuseType(type);
        fuseI(i);
        fuseT(t);
    }
    void iscLimLine(const V& iscLim, const V& zLim) {
        if (variantIs("KORVEN"))
            value(kL3, "Z_lim: ", zLim);
        else
            keyLine(kL3, "Quant_Isc_lim", iscLim);
    }

    // Word wrapping of inspection texts.
    int wrapWidth() const { return o_.columnWidth - kWrapMargin; }
    std::vector<std::string> wrap(const std::string& text, int width) const {
        if (!o_.measure || width <= 0 || text.empty()) return {text};
        auto parts = wrapWords(*o_.measure, text, o_.font, width);
        if (parts.empty()) parts.push_back(std::string());
        return parts;
    }

    // ---- families ----
    void later();         // 101 .. 127
    void rcd();           // 6, 54, 106
    void single();        // 71 .. 80
    void machine();       // 301 .. 305
    void earlierTyped();  // 51 .. 64
    void earlier();       // 1 .. 35
    void highVoltage();   // 201 .. 207
    void visual16();
    void checklist(int code, const TFunct_Checklist& c);
    void voltLines(const TFunct_VOLT& s, bool code1);
    void isoSubLines(int sub);
    void zloop5();
    void zline4();

    const TResultsData& r_;
    const RenderOptions& o_;
    std::vector<std::string> lines_;
    int code_ = 0;
};

std::vector<std::string> Generator::run() {
    code_ = r_.functionCode();
    if (!findFunctionCode(code_)) return {};
    switch (codeFamily(code_)) {
        case CodeFamily::LaterInstall:
            later();
            break;
        case CodeFamily::Single:
            single();
            break;
        case CodeFamily::Machine:
            machine();
            break;
        case CodeFamily::EarlierTyped:
            earlierTyped();
            break;
        case CodeFamily::Earlier:
            earlier();
            break;
        case CodeFamily::HighVoltage:
            highVoltage();
            break;
        case CodeFamily::Unknown:
            break;
    }
    return std::move(lines_);
}

// ---------------------------------------------------------------------------------------
// Shared pieces

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

// ---------------------------------------------------------------------------------------
// Later installation testers, 101 .. 127

void Generator::later() {
    switch (code_) {
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
        case 106:
            return rcd();
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

// ---------------------------------------------------------------------------------------
// RCD results, 6, 54 and 106

namespace {

enum class RcdTest { TripTime, TripCurrent, Auto, TouchVoltage, None };

RcdTest rcdTest(int code, int sub) {
    if (sub == 0) return RcdTest::TripTime;
    if (sub == 1) return RcdTest::TripCurrent;
    if (sub == 2) return RcdTest::Auto;
    if (sub == 3) return RcdTest::TouchVoltage;
    if (code == 54) return RcdTest::None;
    if (sub >= 4 && sub <= 6) return RcdTest::TouchVoltage;
    if (sub >= 7 && sub <= 9) return RcdTest::TripTime;
    if (sub >= 10 && sub <= 12) return RcdTest::TripCurrent;
    if (sub >= 13 && sub <= 15) return RcdTest::Auto;
    return RcdTest::None;
}

enum class Wave { AC, A, B, None };

// Characters 3 to 5 of the RCD type text are the type's own symbol number.
Wave rcdWave(int code, const std::string& type) {
    if (type.size() < 5) return Wave::None;
    const std::string_view number = std::string_view(type).substr(2, 3);
    if (number == (code == 54 ? "300" : "318")) return Wave::AC;
    if (number == (code == 54 ? "302" : "319")) return Wave::A;
    if (number == "323") return Wave::B;
    return Wave::None;
}

// Time-line symbols: [multiple][wave][phase], multiples ½, 1, 2, 5.
constexpr const char* kTimeSymbols[4][3][2] = {
    {{"#S304", "#S305"}, {"#S306", "#S307"}, {"#S324", "#S325"}},
    {{"#S308", "#S309"}, {"#S310", "#S311"}, {"#S326", "#S327"}},
    {{"#S356", "#S357"}, {"#S358", "#S359"}, {"#S360", "#S361"}},
    {{"#S312", "#S313"}, {"#S314", "#S315"}, {"#S328", "#S329"}},
};
// Trip-current symbols of code 54; a type B current shows the plain B polarity pictures.
constexpr const char* kCurrentSymbols[3][2] = {
    {"#S300", "#S301"}, {"#S302", "#S303"}, {"#S322", "#S321"}};

}  // namespace

void Generator::rcd() {
    const auto& s = r_.RCD;
    const int sub = s.SubFunction;
    const RcdTest test = rcdTest(code_, sub);
    const Wave wave = rcdWave(code_, s.RcdType);

    // Heading
    if (code_ == 106) {
        std::string h;
        switch (test) {
            case RcdTest::TripTime:
                h = key("Funct_RCD-t");
                break;
            case RcdTest::TripCurrent:
                h = key("Funct_RCD-I") + " #S320";
                break;
            case RcdTest::Auto:
                h = key("Funct_RCD-Auto");
                break;
            case RcdTest::TouchVoltage:
                h = key("Funct_RCD-Uc");
                break;
            case RcdTest::None:
                break;
        }
        if (sub == 4 || sub == 7 || sub == 10 || sub == 13) h += " L1/PE";
        if (sub == 5 || sub == 8 || sub == 11 || sub == 14) h += " L2/PE";
        if (sub == 6 || sub == 9 || sub == 12 || sub == 15) h += " L3/PE";
        heading(h, s.Status);
    } else {
        static constexpr const char* kTests[] = {"#K335", "#K336", "#K337", "#K338", ""};
        heading(std::string("#K538: ") + kTests[int(test)], s.Status);
    }

    auto typeLine = [&] { line(kR3, key("Quant_type"), ": ", s.RcdType); };
    auto multLine = [&] { line(kR3, key("Quant_mult"), " ", s.Multiplier); };
    // multiple: 0 ½, 1 once, 2 twice, 3 five times
    auto timeLine = [&](int multiple, int phase, const V& t) {
        if (!isSet(t)) return;
        const bool symbol = wave != Wave::None;
        line(kR2, "t", symbol ? kTimeSymbols[multiple][int(wave)][phase] : "", symbol ? ": " : "",
             t);
    };
    auto currentLine = [&](int phase, const V& i) {
        if (!isSet(i)) return;
        const bool symbol = wave != Wave::None;
        line(kR2, "I#S320", symbol ? kCurrentSymbols[int(wave)][phase] : "", symbol ? ": " : "", i);
    };
    auto timePair = [&](int multiple, const V& t0, const V& t180) {
        timeLine(multiple, 0, t0);
        timeLine(multiple, 1, t180);
    };
    const bool reduced = s.EarthingSystem >= 3 && s.EarthingSystem <= 5;

    if (code_ == 106) {
        switch (test) {
            case RcdTest::TripTime:
                value(kR2, "t: ", s.t);
                value(kR3, "Uc: ", s.Uc);
                value(kR3, "Idn: ", s.Idn);
                multLine();
                break;
            case RcdTest::TripCurrent:
                value(kR2, "I: ", s.I);
                value(kR3, "Uci: ", s.Uci);
                value(kR3, "tI: ", s.t);
                value(kR3, "Idn: ", s.Idn);
                break;
            case RcdTest::Auto:
                valueWhenSet(kR2, "t1: ", s.t12_0);
                valueWhenSet(kR2, "t2: ", s.t12_180);
                valueWhenSet(kR2, "t3: ", s.t1_0);
                valueWhenSet(kR2, "t4: ", s.t1_180);
                valueWhenSet(kR2, "t5: ", s.t5_0);
                valueWhenSet(kR2, "t6: ", s.t5_180);
                value(kR3, "Uc: ", s.Uc);
                value(kR3, "Idn: ", s.Idn);
                break;
            case RcdTest::TouchVoltage:
                if (reduced) {
                    value(kR2, "Uc1: ", s.Uc1);
                    value(kR2, "Uc2: ", s.Uc2);
                    value(kR3, "Rl1: ", s.Rl1);
                    value(kR3, "Rl2: ", s.Rl2);
                    value(kR3, "Ulim: ", s.Ulim);
                } else {
                    value(kR2, "Uc: ", s.Uc);
                    value(kR3, "Rl: ", s.Rl);
                    value(kR3, "Ulim: ", s.Ulim);
                    valueWhenSet(kR3, "Rlim: ", s.Rlim);
                }
                value(kR3, "Idn: ", s.Idn);
                break;
            case RcdTest::None:
                break;
        }
        typeLine();
        system(s.EarthingSystem);
        return;
    }

    // Codes 6 and 54
    switch (test) {
        case RcdTest::TripTime:
            value(kR2, "t: ", s.t);
            value(kR3, "Uc: ", s.Uc);
            value(kR3, "Idn: ", s.Idn);
            typeLine();
            multLine();
            break;
        case RcdTest::TripCurrent:
            value(kR2, "I: ", s.I);
            // Code 54 shows the current's touch voltage and trip time only while the touch
            // voltage stays below its limit; otherwise the touch voltage alone.
            if (code_ == 6 || compareValueTexts(s.Uc.Value, s.Ulim.Value) < 0) {
                value(kR3, "Uci: ", s.Uci);
                value(kR3, "t: ", s.t);
            } else {
                value(kR3, "Uc: ", s.Uc);
            }
            value(kR3, "Idn: ", s.Idn);
            typeLine();
            break;
        case RcdTest::Auto:
            if (code_ == 6) {
                timePair(0, s.t12_0, s.t12_180);
                timePair(1, s.t1_0, s.t1_180);
                timePair(2, s.t2_0, s.t2_180);
                timePair(3, s.t5_0, s.t5_180);
            } else {
                timePair(1, s.t1_0, s.t1_180);
                if (variantIs("AUS")) timePair(2, s.t2_0, s.t2_180);
                timePair(3, s.t5_0, s.t5_180);
                timePair(0, s.t12_0, s.t12_180);
                currentLine(0, s.Id_0);
                currentLine(1, s.Id_180);
            }
            value(kR3, "Uc: ", s.Uc);
            value(kR3, "Idn: ", s.Idn);
            typeLine();
            break;
        case RcdTest::TouchVoltage:
            if (reduced) {
                value(kR2, "Uc1: ", s.Uc1);
                value(kR2, "Uc2: ", s.Uc2);
                value(kR3, "Rl1: ", s.Rl1);
                value(kR3, "Rl2: ", s.Rl2);
            } else {
                value(kR2, "Uc: ", s.Uc);
                value(kR3, "Rl: ", s.Rl);
                valueWhenSet(kR3, "Rmax: ", s.Rlim);
            }
            value(kR3, "Idn: ", s.Idn);
            typeLine();
            break;
        case RcdTest::None:
            break;
    }
    value(kR3, "Ulim: ", s.Ulim);
    if (code_ == 6) systemWhenSet(s.EarthingSystem);
}

// ---------------------------------------------------------------------------------------
// Single functions 71, 72, 73, 80 and the machine testers 301 .. 305

void Generator::single() {
    switch (code_) {
        case 71:
        case 72: {
            const TFunct_VoltTest& s =
                code_ == 71 ? static_cast<const TFunct_VoltTest&>(r_.CONTVOLT) : r_.STEPVOLT;
            heading(key(code_ == 71 ? "Funct_CONTVOLT" : "Funct_STEPVOLT"), s.Status);
            value(kR2, "U: ", s.U);
            value(kR2, "Um: ", s.Um);
            if (!isPlaceholder(s.Igen))
                value(kR3, "Igen: ", s.Igen);
            else
                value(kL3, "Iset: ", s.Iset);
            value(kR3, "Iflt: ", s.Iflt);
            value(kR3, "Rinp: ", s.Rinp);
            value(kL3, "Ulim: ", s.Ulim);
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
        case 80: {
            const auto& s = r_.RES_MICRO;
            heading(key("Funct_RESIST"), s.Status);
            value(kR2, "Rx: ", s.Rx);
            value(kR2, "Ux: ", s.Ux);
            value(kR2, "Ix: ", s.Ix);
            keyLine(kL3, "Range_15", s.Range);
            keyLine(kL3, "text560", s.TestCurrent);
            if (isSet(s.Duration)) keyLine(kL3, "Duration_15", s.Duration);
            return;
        }
        default:
            return;
    }
}

void Generator::machine() {
    // Machine tester values carry their unit in the value text.
    auto v = [&](const char* prefix, std::string_view label, const V& x) {
        line(prefix, label, x.Value);
    };
    switch (code_) {
        case 301:
            headingNoStatus(key("HV_16"));
            v(kR2, "I: ", r_.HV_MT.I);
            v(kR2, "U: ", r_.HV_MT.U);
            v(kL3, "Un: ", r_.HV_MT.Un);
            v(kL3, "Imax: ", r_.HV_MT.Imax);
            return;
        case 302:
            headingNoStatus(key("dU_16"));
            v(kR2, "dU: ", r_.dU_MT.dU);
            v(kR2, "I: ", r_.dU_MT.I);
            v(kR2, "U: ", r_.dU_MT.U);
            v(kL3, "dUmax: ", r_.dU_MT.dUmax);
            return;
        case 303:
            headingNoStatus(key("R-10A_16"));
            v(kR2, "R: ", r_.R10A_MT.R);
            v(kR2, "I: ", r_.R10A_MT.I);
            v(kR2, "U: ", r_.R10A_MT.U);
            v(kL3, "Rmax: ", r_.R10A_MT.Rmax);
            return;
        case 304:
            headingNoStatus(key("MOhm_16"));
            v(kR2, "R: ", r_.MOhm_MT.R);
            v(kL3, "Un: ", r_.MOhm_MT.Un);
            v(kL3, "Rmin: ", r_.MOhm_MT.Rmin);
            return;
        case 305:
            headingNoStatus(key("dT_16"));
            v(kR2, "t: ", r_.dt_MT.t);
            v(kL3, "Syst: ", r_.dt_MT.Syst);
            return;
        default:
            return;
    }
}

// ---------------------------------------------------------------------------------------
// Earlier testers with a type code, 51 .. 64

void Generator::earlierTyped() {
    switch (code_) {
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
        case 54:
            return rcd();
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
        case 58: {
            const auto& s = r_.CURRENT;
            heading("#K309", s.Status);
            value(kR2, "I: ", s.I);
            limit(s.Limit);
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

// ---------------------------------------------------------------------------------------
// Earlier installation testers, 1 .. 35

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

void Generator::earlier() {
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
        case 4:
            return zline4();
        case 5:
            return zloop5();
        case 6:
            return rcd();
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
        case 16:
            return visual16();
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
        case 22:
            return checklist(22, r_.FULSCHED);
        case 23:
            return checklist(23, r_.DOMSCHED);
        case 24:
            return checklist(24, r_.FUNCTION);
        case 30:
            return checklist(30, r_.REBT_02);
        case 31:
            return checklist(31, r_.REBT_73);
        case 32:
            return checklist(32, r_.REBT_75);
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
        case 26: {
            const auto& s = r_.POLAR;
            heading("#K526", s.Status);
            value(kR2, "R: ", s.R);
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
        case 29: {
            const auto& s = r_.LOOP_Re;
            heading("#K529: ", s.Status);
            value(kR2, "Re: ", s.Re);
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
        default:
            return;
    }
}

// ---------------------------------------------------------------------------------------
// Inspections

void Generator::visual16() {
    const auto& s = r_.VISUAL;
    const int kind = s.Kind;
    static constexpr const char* kGroups[] = {"#K550", "#K551", "#K552", "#K553", "#K554", "#K555"};
    heading(std::string("#K316: ") + (kind <= 11 ? kGroups[kind % 6] : ""), s.Status);
    struct Group {
        const char* prefix;
        int first;
        int last;
    };
    // Kinds 0 .. 5 the first halves, 6 .. 11 the second halves.
    static constexpr Group kQuestions[12] = {
        {"Visual_E", 1, 8},   {"Visual_EE", 1, 7},  {"Visual_WS", 1, 7},  {"Visual_SB", 1, 7},
        {"Visual_CM", 1, 6},  {"Visual_G", 1, 5},   {"Visual_E", 9, 14},  {"Visual_EE", 8, 15},
        {"Visual_WS", 8, 14}, {"Visual_SB", 8, 14}, {"Visual_CM", 7, 13}, {"Visual_G", 6, 10},
    };
    if (kind > 11) return;
    const Group& g = kQuestions[kind];
    const std::string& answers = s.G[kind % s.G.size()];
    for (int q = g.first; q <= g.last; ++q) {
        const size_t i = size_t(q - g.first);
        std::string symbol;
        if (i < answers.size()) {
            if (answers[i] == '0') symbol = " #S343";
            if (answers[i] == '1') symbol = " #S344";
            if (answers[i] == '2') symbol = " #S342";
        }
        const auto parts =
            wrap(key(std::string(g.prefix) + std::to_string(q)) + " " + symbol, wrapWidth());
        line(kR2, parts.front());
        for (size_t k = 1; k < parts.size(); ++k) line(kR2, "   ", parts[k]);
    }
}

void Generator::checklist(int code, const TFunct_Checklist& c) {
    // First question of each section 1 .. 8; 0: no such section.
    static constexpr int kFirst[6][8] = {
        {1, 9, 14, 30, 59, 0, 0, 0},     // 22
        {1, 8, 11, 19, 48, 0, 0, 0},     // 23
        {1, 0, 0, 0, 0, 0, 0, 0},        // 24
        {1, 8, 15, 18, 20, 31, 36, 41},  // 30
        {1, 8, 13, 15, 26, 31, 36, 0},   // 31
        {1, 8, 12, 14, 22, 25, 30, 0},   // 32
    };
    static constexpr const char* kKeys[6] = {"VisualFS_",  "VisualDS_",  "VisualFI_",
                                             "Visual_02_", "Visual_73_", "Visual_75_"};
    static constexpr const char* kTitles[6] = {"#K522", "#K523", "#K524",
                                               "#K530", "#K531", "#K532"};
    const int column = code <= 24 ? code - 22 : code - 27;
    const bool schedule = code <= 24;
    int section = 0;
    for (char ch : c.Section) {
        if (ch < '0' || ch > '9' || section > 100) {
            section = 0;
            break;
        }
        section = section * 10 + (ch - '0');
    }
    if (section == 1) line("X#PR#FB#L1", kTitles[column], suffix(c.Status));
    if (section < 1 || section > 8) return;
    const int first = kFirst[column][section - 1];
    if (first == 0) return;
    for (size_t i = 0; i < c.Answers.size(); ++i) {
        std::string symbol;
        switch (c.Answers[i]) {
            case '1':
                symbol = " #S348 ";
                break;
            case '2':
                symbol = " #S349 ";
                break;
            case '3':
                symbol = " #S352 ";
                break;
            case '4':
                symbol = " #S351 ";
                break;
            case '5':
                symbol = " #S350 ";
                break;
            default:
                break;
        }
        const std::string question = key(kKeys[column] + std::to_string(first + int(i)));
        // The first three characters are a style prefix; the second chooses the tokens.
        const char style = question.size() > 1 ? question[1] : ' ';
        const std::string text = question.size() > 3 ? question.substr(3) : std::string();
        std::string before = "X#PR";  // the part of the prefix before the level
        std::string level;
        if (style == '4') before += "#FB", level = "#L1";
        if (style == '6' && schedule) before += "#FB#FU", level = "#L1";
        if (style == '7') before += "#H9#FB", level = "#L1";
        if (style == '8') before += "#H9", level = schedule ? "#L1" : "#L2";
        const auto parts = wrap(text, wrapWidth());
        line(before, level, symbol, parts.front());
        for (size_t k = 1; k < parts.size(); ++k) line(before, "#L2   ", parts[k]);
    }
}

// ---------------------------------------------------------------------------------------
// High-voltage insulation testers, 201 .. 207

void Generator::highVoltage() {
    auto dateLine = [&](const std::string& date, const std::string& time) {
        line("X#PD", date, "  ", time);
    };
    switch (code_) {
        case 201: {
            const auto& s = r_.VOLT_TO;
            dateLine(s.Date, s.Time);
            headingNoStatus(key("Funct_VOLTAGE"));
            value(kR2, "U: ", s.U);
            value(kR2, "f: ", s.f);
            return;
        }
        case 202: {
            const auto& s = r_.ISO_TO;
            dateLine(s.Date, s.Time);
            headingNoStatus(key("Funct_INSUL-RES"));
            value(kR2, "R: ", s.R);
            value(kR2, "U: ", s.U);
            value(kR2, "I: ", s.I);
            value(kR2, "C: ", s.C);
            value(kR2, "Rmax: ", s.Rmax);
            value(kR2, "Rmin: ", s.Rmin);
            value(kL3, "Un: ", s.Un);
            valueWhenSet(kL3, "tm: ", s.tm);
            return;
        }
        case 204: {
            const auto& s = r_.DIAGN_TO;
            dateLine(s.Date, s.Time);
            headingNoStatus(key("Funct_DIAGN-TEST"));
            value(kR2, "R: ", s.R);
            value(kR2, "U: ", s.U);
            value(kR2, "I: ", s.I);
            value(kR2, "C: ", s.C);
            const V* times[] = {&s.t1, &s.t2, &s.t3};
            const V* rs[] = {&s.Rt1, &s.Rt2, &s.Rt3};
            for (int i = 0; i < 3; ++i)
                if (isSet(*times[i])) line(kR2, "R(", *times[i], "): ", *rs[i]);
            value(kL3, "Un: ", s.Un);
            value(kL3, "tm: ", s.tm);
            value(kR3, "DAR: ", s.DAR);
            valueWhenSet(kR3, "PI: ", s.PI);
            valueWhenSet(kR3, "DD: ", s.DD);
            return;
        }
        case 206: {
            const auto& s = r_.STEPV_TO;
            dateLine(s.Date, s.Time);
            headingNoStatus(key("Funct_STEP-VOLT"));
            value(kR2, "R: ", s.R);
            value(kR2, "U: ", s.U);
            value(kR2, "I: ", s.I);
            value(kR2, "C: ", s.C);
            for (int i = 0; i < TFunct_STEPV_TO::kSteps; ++i)
                line(kR2, "R(", s.StepTime[i], "): ", s.StepR[i], "  U", std::to_string(i + 1),
                     ": ", s.StepU[i]);
            value(kL3, "Un: ", s.Un);
            value(kL3, "tm: ", s.tm);
            return;
        }
        case 207: {
            const auto& s = r_.WITHST_TO;
            dateLine(s.Date, s.Time);
            headingNoStatus(key("Funct_WITH-VOLT"));
            value(kR2, "U: ", s.U);
            value(kR2, "I: ", s.I);
            value(kL3, "Un_start: ", s.Un_start);
            value(kL3, "Un_stop: ", s.Un_stop);
            value(kL3, "Itrigg: ", s.Itrigg);
            value(kL3, "Tstep: ", s.Tstep);
            value(kL3, "Tend: ", s.Tend);
            value(kL3, "tm: ", s.tm);
            return;
        }
        default:
            return;
    }
}

// A number as an instrument writes it: blanks around, a sign, digits with a decimal point
// or comma; a leading "<" or ">" (below or above the range) counts as the bound itself.
bool parseNumber(const std::string& text, double& out) {
    std::string t;
    for (char c : text) t += c == ',' ? '.' : c;
    const size_t b = t.find_first_not_of(' ');
    if (b == std::string::npos) return false;
    const size_t e = t.find_last_not_of(' ');
    t = t.substr(b, e - b + 1);
    if (t[0] == '<' || t[0] == '>') t.erase(0, 1);
    bool digit = false;
    int points = 0;
    for (char c : t) {
        if (c >= '0' && c <= '9')
            digit = true;
        else if (c == '.')
            ++points;
        else if (c != '-' && c != '+')
            return false;
    }
    if (!digit || points > 1) return false;
    char* end = nullptr;
    out = std::strtod(t.c_str(), &end);
    return end && *end == '\0';
}

}  // namespace

int compareValueTexts(const std::string& a, const std::string& b) {
    double x = 0, y = 0;
    if (parseNumber(a, x) && parseNumber(b, y)) return x < y ? -1 : (x > y ? 1 : 0);
    const int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

std::vector<std::string> generateResultLines(const TResultsData& results,
                                             const RenderOptions& options) {
    return Generator(results, options).run();
}

int countL1Lines(const std::vector<std::string>& lines) {
    int n = 0;
    for (const std::string& line : lines)
        if (line.find("#L1") != std::string::npos) ++n;
    return n;
}

void RenderResult(StructureItem& item, const TResultsData& results, const RenderOptions& options) {
    auto lines = generateResultLines(results, options);
    auto& texts = item.data.ResTexts;
    texts.insert(texts.end(), std::make_move_iterator(lines.begin()),
                 std::make_move_iterator(lines.end()));
    item.data.L1Count = countL1Lines(texts);
}

ResultRenderer makeLineRenderer(std::shared_ptr<TextMeasure> measure, FontSpec font,
                                int columnWidth) {
    return [measure = std::move(measure), font = std::move(font), columnWidth](
               StructureDocument& document, StructureItem& item, const TResultsData& results) {
        RenderOptions options;
        options.variant = document.InstrumentData.InstrVariant;
        options.measure = measure.get();
        options.font = font;
        options.columnWidth = columnWidth;
        RenderResult(item, results, options);
    };
}

}  // namespace pelvoro
