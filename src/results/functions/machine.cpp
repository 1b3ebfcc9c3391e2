// Machine testers and the single functions of the earlier machine testers: the field tables of the
// parser and the result lines.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "results/functions/field_parser.h"
#include "results/functions/line_writer.h"

namespace pelvoro {

namespace fp {

void Parser::machineUnits() {
    const sv V = "V";
    const sv A = "A";
    const sv O = kOhm;
    switch (layout_) {
        case 71:
        case 72: {
            TFunct_VoltTest& x = code_ == 71 ? static_cast<TFunct_VoltTest&>(r_.CONTVOLT)
                                             : static_cast<TFunct_VoltTest&>(r_.STEPVOLT);
            units(V, {&x.U, &x.Um, &x.Ulim});
            units(A, {&x.Iset, &x.Igen, &x.Iflt});
            x.Rinp.Unit = O;
            break;
        }
        case 80: {
            auto& x = r_.RES_MICRO;
            x.Rx.Unit = O;
            x.Ux.Unit = V;
            units(A, {&x.Ix, &x.TestCurrent});
            x.Range.Unit = O;
            break;
        }
        default:
            break;
    }
}

bool Parser::machineFields(int n, sv t) {
    switch (layout_) {
        case 71:
            return voltTest(r_.CONTVOLT, n, t);
        case 72:
            return voltTest(r_.STEPVOLT, n, t);
        case 80:
            return resmicro80(n, t);
        case 301:
        case 302:
        case 303:
        case 304:
        case 305:
            return machine(n, t);
        default:
            return false;
    }
}

bool Parser::voltTest(TFunct_VoltTest& s, int n, sv t) {
    switch (n) {
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            return true;
        case 6:
            split(s.Iflt, t);
            return true;
        case 7:
            split(s.Iset, t);
            return true;
        case 8:
            split(s.Igen, t);
            return true;
        case 9:
            splitDash(s.Rinp, t);
            return true;
        case 10:
            set(s.Ulim, t);
            return true;
        case 11:
            set(s.U, t);
            return true;
        case 12:
            set(s.Um, t);
            return true;
        default:
            return false;
    }
}

bool Parser::resmicro80(int n, sv t) {
    auto& s = r_.RES_MICRO;
    switch (n) {
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            return true;
        case 6:
            set(s.Rx, t);
            return true;
        case 7:
            set(s.Ux, t);
            return true;
        case 8:
            set(s.Ix, t);
            return true;
        case 9:
            set(s.Range, t);
            return true;
        case 10:
            set(s.TestCurrent, t);
            return true;
        case 11:
            set(s.Duration, t);
            return true;
        case 12:
        case 13:
            return true;
        default:
            return false;
    }
}

// Machine testers (301 .. 305): no status field; fields up to 8, the rest ignored.
bool Parser::machine(int n, sv t) {
    if (n < 3 || n > 8) return false;
    switch (code_) {
        case 301: {
            auto& s = r_.HV_MT;
            if (n == 3)
                set(s.I, t);
            else if (n == 5)
                set(s.U, t);
            else if (n == 6)
                set(s.Imax, t);
            else if (n == 7)
                set(s.Un, t);
            break;
        }
        case 302: {
            auto& s = r_.dU_MT;
            if (n == 3)
                set(s.dU, t);
            else if (n == 4)
                set(s.I, t);
            else if (n == 5)
                set(s.U, t);
            else if (n == 6)
                set(s.dUmax, t);
            break;
        }
        case 303: {
            auto& s = r_.R10A_MT;
            if (n == 3)
                set(s.R, t);
            else if (n == 4)
                set(s.I, t);
            else if (n == 5)
                set(s.U, t);
            else if (n == 6)
                set(s.Rmax, t);
            break;
        }
        case 304: {
            auto& s = r_.MOhm_MT;
            if (n == 3)
                set(s.R, t);
            else if (n == 6)
                set(s.Rmin, t);
            else if (n == 7)
                set(s.Un, t);
            break;
        }
        case 305: {
            auto& s = r_.dt_MT;
            if (n == 3)
                set(s.t, t);
            else if (n == 7)
                set(s.Syst, t);
            break;
        }
    }
    return true;
}

}  // namespace fp

namespace lines {

void Generator::machineLines() {
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
            return machine();
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

}  // namespace lines

}  // namespace pelvoro
