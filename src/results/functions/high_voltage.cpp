// High-voltage insulation testers: the field tables of the parser and the result lines.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "results/functions/field_parser.h"
#include "results/functions/line_writer.h"

namespace pelvoro {

namespace fp {

void Parser::highVoltageUnits() {
    const sv V = "V";
    const sv A = "A";
    const sv s = "s";
    const sv F = "F";
    const sv O = kOhm;
    switch (layout_) {
        case 201:
            r_.VOLT_TO.f.Unit = "Hz";
            break;
        case 202: {
            auto& x = r_.ISO_TO;
            units(O, {&x.R, &x.Rmax, &x.Rmin});
            units(V, {&x.U, &x.Un});
            x.I.Unit = A;
            x.C.Unit = F;
            break;
        }
        case 204: {
            auto& x = r_.DIAGN_TO;
            units(O, {&x.R, &x.Rt1, &x.Rt2, &x.Rt3});
            units(V, {&x.U, &x.Un});
            x.I.Unit = A;
            x.C.Unit = F;
            units(s, {&x.t1, &x.t2, &x.t3});
            break;
        }
        case 206: {
            // The step times carry their own unit ("s" or "min") in the field.
            auto& x = r_.STEPV_TO;
            units(O, {&x.R});
            units(V, {&x.U, &x.Un});
            for (auto& v : x.StepR) v.Unit = O;
            for (auto& v : x.StepU) v.Unit = V;
            x.I.Unit = A;
            x.C.Unit = F;
            break;
        }
        case 207: {
            auto& x = r_.WITHST_TO;
            units(V, {&x.U, &x.Un_start, &x.Un_stop});
            units(A, {&x.I, &x.Itrigg});
            break;
        }
        default:
            break;
    }
}

bool Parser::highVoltageFields(int n, sv t) {
    switch (layout_) {
        case 201:
            return voltTo201(n, t);
        case 202:
            return isoTo202(n, t);
        case 204:
            return diagnTo204(n, t);
        case 206:
            return stepvTo206(n, t);
        case 207:
            return withstTo207(n, t);
        default:
            return false;
    }
}

bool Parser::voltTo201(int n, sv t) {
    auto& s = r_.VOLT_TO;
    switch (n) {
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            set(s.U, t);
            return true;
        case 6:
            set(s.f, t);
            return true;
        case 7:
            s.Time.assign(t);
            return true;
        case 8:
            s.Date.assign(t);
            return true;
        default:
            return false;
    }
}

bool Parser::isoTo202(int n, sv t) {
    auto& s = r_.ISO_TO;
    TResultValue* const kValues[] = {&s.R, &s.U, &s.I, &s.C, &s.Rmax, &s.Rmin, &s.Un, &s.tm};
    if (n == 4)
        status(s.Status, t);
    else if (n >= 5 && n <= 12)
        set(*kValues[n - 5], t);
    else if (n == 13)
        s.Time.assign(t);
    else if (n == 14)
        s.Date.assign(t);
    else
        return false;
    return true;
}

bool Parser::diagnTo204(int n, sv t) {
    auto& s = r_.DIAGN_TO;
    TResultValue* const kValues[] = {&s.R,   &s.U,   &s.I,  &s.C,  &s.Rt1, &s.Rt2,
                                     &s.Rt3, &s.DAR, &s.PI, &s.DD, &s.Un,  &s.tm};
    TResultValue* const kTimes[] = {&s.t1, &s.t2, &s.t3};
    if (n == 4)
        status(s.Status, t);
    else if (n >= 5 && n <= 16)
        set(*kValues[n - 5], t);
    else if (n >= 17 && n <= 19)
        splitReplace(*kTimes[n - 17], t);
    else if (n == 20)
        s.Time.assign(t);
    else if (n == 21)
        s.Date.assign(t);
    else
        return false;
    return true;
}

bool Parser::stepvTo206(int n, sv t) {
    auto& s = r_.STEPV_TO;
    TResultValue* const kValues[] = {&s.R, &s.U, &s.I, &s.C};
    if (n == 4)
        status(s.Status, t);
    else if (n >= 5 && n <= 8)
        set(*kValues[n - 5], t);
    else if (n >= 9 && n <= 13)
        set(s.StepR.at(n - 9), t);
    else if (n >= 14 && n <= 18)
        set(s.StepU.at(n - 14), t);
    else if (n == 19)
        set(s.Un, t);
    else if (n == 20)
        set(s.tm, t);
    else if (n >= 21 && n <= 25)
        set(s.StepTime.at(n - 21), t);
    else if (n == 26)
        s.Time.assign(t);
    else if (n == 27)
        s.Date.assign(t);
    else
        return false;
    return true;
}

bool Parser::withstTo207(int n, sv t) {
    auto& s = r_.WITHST_TO;
    TResultValue* const kValues[] = {&s.U,      &s.I,     &s.Un_start, &s.Un_stop,
                                     &s.Itrigg, &s.Tstep, &s.Tend,     &s.tm};
    if (n == 4)
        status(s.Status, t);
    else if (n >= 5 && n <= 12)
        set(*kValues[n - 5], t);
    else if (n == 13)
        s.Time.assign(t);
    else if (n == 14)
        s.Date.assign(t);
    else
        return false;
    return true;
}

}  // namespace fp

namespace lines {

void Generator::highVoltageLines() {
    highVoltage();
}

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

}  // namespace lines

}  // namespace pelvoro
