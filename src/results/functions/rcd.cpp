// RCD tests: trip time, trip current, automatic test, touch voltage: the field tables of the parser
// and the result lines.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "results/functions/field_parser.h"
#include "results/functions/line_writer.h"

namespace pelvoro {

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

namespace fp {

void Parser::rcdUnits() {
    const sv V = "V";
    const sv A = "A";
    const sv s = "s";
    const sv O = kOhm;
    switch (layout_) {
        case 6:
        case 54: {
            auto& x = r_.RCD;
            units(A, {&x.I, &x.Id_0, &x.Id_180, &x.Idn});
            units(V, {&x.Uci, &x.Uc, &x.Uc1, &x.Uc2, &x.Ulim});
            units(s, {&x.t, &x.t12_0, &x.t12_180, &x.t1_0, &x.t1_180, &x.t5_0, &x.t5_180, &x.t2_0,
                      &x.t2_180});
            units(O, {&x.Rl, &x.Rl1, &x.Rl2, &x.Rlim});
            break;
        }
        default:
            break;
    }
}

bool Parser::rcdFields(int n, sv t) {
    switch (layout_) {
        case 6:
            return rcd6(n, t);
        case 54:
            return rcd54(n, t);
        default:
            return false;
    }
}

// RCD tests. The layout of code 54 from field 8 on, by test; code 6 and 106 read the same
// layout one field later (their field 5 holds the earthing system).
void Parser::rcdColumn(RcdColumn column, int n54, sv t, bool systemDependent) {
    auto& s = r_.RCD;
    switch (column) {
        case RcdColumn::TripTime:
            if (n54 == 8)
                set(s.Ulim, t);
            else if (n54 == 9)
                split(s.t, t);
            else if (n54 == 10)
                set(s.Uc, t);
            else if (n54 >= 11 && n54 <= 15)
                flag();
            return;
        case RcdColumn::TripCurrent:
            if (n54 == 8)
                split(s.I, t);
            else if (n54 == 9)
                set(s.Uci, t);
            else if (n54 == 10)
                split(s.t, t);
            else if (n54 == 11)
                set(s.Uc, t);
            else if (n54 >= 12 && n54 <= 15)
                flag();
            return;
        case RcdColumn::AutoOld: {
            TResultValue* const kOrder[] = {&s.t1_0,  &s.t1_180,  &s.t5_0, &s.t5_180,
                                            &s.t12_0, &s.t12_180, &s.Id_0, &s.Id_180};
            if (n54 >= 8 && n54 <= 15)
                split(*kOrder[n54 - 8], t);
            else if (n54 == 16)
                set(s.Uc, t);
            return;
        }
        case RcdColumn::AutoNew: {
            TResultValue* const kOrder[] = {&s.t1_0,   &s.t1_180, &s.t2_0,    &s.t2_180, &s.t5_0,
                                            &s.t5_180, &s.t12_0,  &s.t12_180, &s.Id_0,   &s.Id_180};
            if (n54 >= 8 && n54 <= 17)
                split(*kOrder[n54 - 8], t);
            else if (n54 == 18)
                set(s.Uc, t);
            return;
        }
        case RcdColumn::TouchVoltage: {
            const bool tn = s.EarthingSystem == 1 || s.EarthingSystem == 2;
            const bool reduced = systemDependent && s.EarthingSystem >= 3 && s.EarthingSystem <= 5;
            if (n54 == 8) {
                if (tn)
                    set(s.Uc, t);
                else if (reduced)
                    set(s.Uc1, t);
            } else if (n54 == 9) {
                if (tn)
                    set(s.Rl, t);
                else if (reduced)
                    set(s.Rl1, t);
            } else if (n54 == 10) {
                set(reduced ? s.Uc2 : s.Rlim, t);
            } else if (n54 == 11) {
                if (reduced) set(s.Rl2, t);
            } else if (n54 >= 12 && n54 <= 15) {
                flag();
            }
            return;
        }
    }
}

bool Parser::rcd54(int n, sv t) {
    auto& s = r_.RCD;
    const int sub = s.SubFunction;
    switch (n) {
        case 3:
            mapSpan(s.SubFunction, t, {{1, 4, 0}});
            return true;
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            split(s.Idn, t);
            return true;
        case 6:
            s.RcdType.assign(t);
            return true;
        case 7:
            if (sub != 0)
                set(s.Ulim, t);
            else
                s.Multiplier.assign(t);
            return true;
        default:
            break;
    }
    if (n < 8 || n > 18) return false;
    switch (sub) {
        case 0:
            rcdColumn(RcdColumn::TripTime, n, t, false);
            break;
        case 1:
            rcdColumn(RcdColumn::TripCurrent, n, t, false);
            break;
        case 2:
            rcdColumn(c_.protVer >= 2 ? RcdColumn::AutoNew : RcdColumn::AutoOld, n, t, false);
            break;
        case 3:
            rcdColumn(RcdColumn::TouchVoltage, n, t, false);
            break;
        default:
            break;
    }
    return true;
}

// Sub-functions of 6 and 106: 0 .. 3 the four tests, 4 .. 15 the same on phases L1 .. L3
// (touch voltage 4 .. 6, trip time 7 .. 9, trip current 10 .. 12, automatic test 13 .. 15).
bool Parser::rcd6(int n, sv t) {
    auto& s = r_.RCD;
    const int sub = s.SubFunction;
    switch (n) {
        case 3:
            mapSpan(s.SubFunction, t, {{0, 3, 0}, {10, 21, 4}});
            return true;
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            esys(s.EarthingSystem, t);
            return true;
        case 6:
            split(s.Idn, t);
            return true;
        case 7:
            s.RcdType.assign(t);
            return true;
        case 8:
            if (sub >= 7 && sub <= 9)
                s.Multiplier.assign(t);
            else if (sub == 0 || (sub >= 3 && sub <= 6) || (sub >= 10 && sub <= 15))
                set(s.Ulim, t);
            return true;
        default:
            break;
    }
    if (n < 9 || n > 19) return false;
    if (sub == 1 || (sub >= 10 && sub <= 12))
        rcdColumn(RcdColumn::TripCurrent, n - 1, t, true);
    else if (sub == 2 || (sub >= 13 && sub <= 15))
        rcdColumn(RcdColumn::AutoNew, n - 1, t, true);
    else if (sub == 0 || (sub >= 7 && sub <= 9))
        rcdColumn(RcdColumn::TripTime, n - 1, t, true);
    else if (sub >= 3 && sub <= 6)
        rcdColumn(RcdColumn::TouchVoltage, n - 1, t, true);
    return true;
}

}  // namespace fp

namespace lines {

void Generator::rcdLines() {
    switch (code_) {
        case 6:
            return rcd();
        case 54:
            return rcd();
        case 106:
            return rcd();
        default:
            return;
    }
}

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

}  // namespace lines

}  // namespace pelvoro
