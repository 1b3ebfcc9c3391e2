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

namespace {

using enum Conv;
using Rcd = TFunct_RCD;

constexpr Units<Rcd> kRcdUnits[] = {
    {unit::A, {&Rcd::I, &Rcd::Id_0, &Rcd::Id_180, &Rcd::Idn}},
    {unit::V, {&Rcd::Uci, &Rcd::Uc, &Rcd::Uc1, &Rcd::Uc2, &Rcd::Ulim}},
    {unit::s,
     {&Rcd::t, &Rcd::t12_0, &Rcd::t12_180, &Rcd::t1_0, &Rcd::t1_180, &Rcd::t5_0, &Rcd::t5_180,
      &Rcd::t2_0, &Rcd::t2_180}},
    {unit::O, {&Rcd::Rl, &Rcd::Rl1, &Rcd::Rl2, &Rcd::Rlim}},
};

// Sub-functions of 6 and 106: 0 .. 3 the four tests, 4 .. 15 the same on phases L1 .. L3
// (touch voltage 4 .. 6, trip time 7 .. 9, trip current 10 .. 12, automatic test 13 .. 15).
constexpr uint64_t kTripTime6 = subs({0, 7, 8, 9}), kTripCurrent6 = subs({1, 10, 11, 12}),
                   kAuto6 = subs({2, 13, 14, 15}), kTouch6 = subs({3, 4, 5, 6});
constexpr Row<Rcd> kRcd6[] = {
    hook<Rcd>(3,
              [](Parser& p, Rcd& s, sv t) {
                  p.mapSpan(s.SubFunction, t, {{0, 3, 0}, {10, 21, 4}});
              }),
    {4, Status, &Rcd::Status},
    {5, Esys, &Rcd::EarthingSystem},
    {6, Split, &Rcd::Idn},
    {7, Text, &Rcd::RcdType},
    {8, Text, &Rcd::Multiplier, subs({7, 8, 9})},
    {8, Set, &Rcd::Ulim, subs({0}) | kTouch6 | subsFrom(10, 15)},
};

constexpr Row<Rcd> kRcd54[] = {
    hook<Rcd>(3,
              [](Parser& p, Rcd& s, sv t) {
                  p.mapSpan(s.SubFunction, t, {{1, 4, 0}});
              }),
    {4, Status, &Rcd::Status},
    {5, Split, &Rcd::Idn},
    {6, Text, &Rcd::RcdType},
    {7, Text, &Rcd::Multiplier, subs({0})},
    {7, Set, &Rcd::Ulim},
};

// The fields of each test from field 8 on, numbered as code 54 numbers them; code 6 and 106
// read the same one field later (their field 5 holds the earthing system).
constexpr Row<Rcd> kTripTime[] = {
    {8, Set, &Rcd::Ulim},
    {9, Split, &Rcd::t},
    {10, Set, &Rcd::Uc},
    foreign<Rcd>(11, 15),
};
constexpr Row<Rcd> kTripCurrent[] = {
    {8, Split, &Rcd::I}, {9, Set, &Rcd::Uci},  {10, Split, &Rcd::t},
    {11, Set, &Rcd::Uc}, foreign<Rcd>(12, 15),
};
// The automatic test: trip times at 0 and 180 degrees, the trip currents, the touch voltage.
template <class... M>
constexpr auto automatic(M... times) {
    std::array<Row<Rcd>, sizeof...(M) + 1> rows{};
    int i = 0;
    ((rows[i] = {uint8_t(8 + i), Split, times}, ++i), ...);
    rows[i] = {uint8_t(8 + i), Set, &Rcd::Uc};
    return rows;
}
constexpr auto kAutoOld = automatic(&Rcd::t1_0, &Rcd::t1_180, &Rcd::t5_0, &Rcd::t5_180, &Rcd::t12_0,
                                    &Rcd::t12_180, &Rcd::Id_0, &Rcd::Id_180);
constexpr auto kAutoNew =
    automatic(&Rcd::t1_0, &Rcd::t1_180, &Rcd::t2_0, &Rcd::t2_180, &Rcd::t5_0, &Rcd::t5_180,
              &Rcd::t12_0, &Rcd::t12_180, &Rcd::Id_0, &Rcd::Id_180);
// Under the reduced-voltage systems codes 6 and 106 measure two touch voltages.
bool twoTouchVoltages(const Rcd& s, const Parser& p, sv t) {
    return p.code() != 54 && reducedSystem(s, p, t);
}
constexpr Row<Rcd> kTouchVoltage[] = {
    {8, Set, &Rcd::Uc, 0, tnSystem<Rcd>},      {8, Set, &Rcd::Uc1, 0, twoTouchVoltages},
    {9, Set, &Rcd::Rl, 0, tnSystem<Rcd>},      {9, Set, &Rcd::Rl1, 0, twoTouchVoltages},
    {10, Set, &Rcd::Uc2, 0, twoTouchVoltages}, {10, Set, &Rcd::Rlim},
    {11, Set, &Rcd::Rl2, 0, twoTouchVoltages}, foreign<Rcd>(12, 15),
};

enum class Column { None, TripTime, TripCurrent, AutoOld, AutoNew, TouchVoltage };

Column testColumn(int code, int sub, int protVer) {
    if (code == 54) {
        switch (sub) {
            case 0:
                return Column::TripTime;
            case 1:
                return Column::TripCurrent;
            case 2:
                return protVer >= 2 ? Column::AutoNew : Column::AutoOld;
            case 3:
                return Column::TouchVoltage;
            default:
                return Column::None;
        }
    }
    const uint64_t bit = sub < 64 ? uint64_t(1) << sub : 0;
    if (bit & kTripCurrent6) return Column::TripCurrent;
    if (bit & kAuto6) return Column::AutoNew;
    if (bit & kTripTime6) return Column::TripTime;
    if (bit & kTouch6) return Column::TouchVoltage;
    return Column::None;
}

// The fields of the test the sub-function chose follow the fields of every test (from field
// 8 on; the earlier typed testers' layout 54 one field sooner).
template <int number, const auto& table>
bool rcdFields(Parser& p, TResultsData& r, int n, sv t) {
    auto& s = r.RCD;
    if (p.read<table>(s, n, t)) return true;
    const int n54 = number == 54 ? n : n - 1;
    if (n54 < 8 || n54 > 18) return false;
    switch (testColumn(number, s.SubFunction, p.protVer())) {
        case Column::TripTime:
            p.read<kTripTime>(s, n54, t);
            break;
        case Column::TripCurrent:
            p.read<kTripCurrent>(s, n54, t);
            break;
        case Column::AutoOld:
            p.read<kAutoOld>(s, n54, t);
            break;
        case Column::AutoNew:
            p.read<kAutoNew>(s, n54, t);
            break;
        case Column::TouchVoltage:
            p.read<kTouchVoltage>(s, n54, t);
            break;
        case Column::None:
            break;
    }
    return true;
}

constexpr Layout kLayouts[] = {
    {6, ResultRecord::Rcd, &presetUnits<&TResultsData::RCD, kRcdUnits>, &rcdFields<6, kRcd6>},
    {54, ResultRecord::Rcd, &presetUnits<&TResultsData::RCD, kRcdUnits>, &rcdFields<54, kRcd54>},
};

}  // namespace

std::span<const Layout> rcdLayouts() {
    return kLayouts;
}

}  // namespace fp

namespace lines {

namespace {

using Rcd = TFunct_RCD;

constexpr ValueLine<Rcd> kTwoTouchVoltages[] = {
    {kR2, "Uc1: ", &Rcd::Uc1},
    {kR2, "Uc2: ", &Rcd::Uc2},
    {kR3, "Rl1: ", &Rcd::Rl1},
    {kR3, "Rl2: ", &Rcd::Rl2},
};
constexpr ValueLine<Rcd> kTripTimeLines[] = {{kR2, "t: ", &Rcd::t}, {kR3, "Uc: ", &Rcd::Uc}};
// The later tester's automatic test numbers its trip times.
constexpr Show kSet = Show::WhenSet;
constexpr ValueLine<Rcd> kAutoLines106[] = {
    {kR2, "t1: ", &Rcd::t12_0, kSet}, {kR2, "t2: ", &Rcd::t12_180, kSet},
    {kR2, "t3: ", &Rcd::t1_0, kSet},  {kR2, "t4: ", &Rcd::t1_180, kSet},
    {kR2, "t5: ", &Rcd::t5_0, kSet},  {kR2, "t6: ", &Rcd::t5_180, kSet},
    {kR3, "Uc: ", &Rcd::Uc},
};

}  // namespace

void Generator::rcdLines() {
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
                values(s, kTripTimeLines);
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
                values(s, kAutoLines106);
                value(kR3, "Idn: ", s.Idn);
                break;
            case RcdTest::TouchVoltage:
                if (reduced) {
                    values(s, kTwoTouchVoltages);
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
            values(s, kTripTimeLines);
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
                values(s, kTwoTouchVoltages);
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
