#pragma once
// Records of the high-voltage insulation testers.
// Part of the parsed-result record (results/results_data.h): what visit() and the value
// pairs mean is said there.

#include <array>
#include <cstdint>
#include <string>

#include "results/result_value.h"

namespace pelvoro {

struct TFunct_VOLT_TO {
    uint8_t Status = 0;
    TResultValue U, f;
    std::string Time, Date;

    template <class V>
    void visit(V&& v) const {
        v("status", Status);
        v("U", U), v("f", f);
        v("time", Time), v("date", Date);
    }
};

struct TFunct_ISO_TO {
    uint8_t Status = 0;
    TResultValue R, U, I, C, Rmax, Rmin, Un, tm;
    std::string Time, Date;

    template <class V>
    void visit(V&& v) const {
        v("status", Status);
        v("R", R), v("U", U), v("I", I), v("C", C), v("Rmax", Rmax), v("Rmin", Rmin), v("Un", Un),
            v("tm", tm);
        v("time", Time), v("date", Date);
    }
};

struct TFunct_DIAGN_TO {
    uint8_t Status = 0;
    TResultValue R, U, I, C;
    // Resistances at the times t1, t2, t3.
    TResultValue Rt1, Rt2, Rt3;
    TResultValue DAR, PI, DD, Un, tm;
    TResultValue t1, t2, t3;
    std::string Time, Date;

    template <class V>
    void visit(V&& v) const {
        v("status", Status);
        v("R", R), v("U", U), v("I", I), v("C", C);
        v("R(t1)", Rt1), v("R(t2)", Rt2), v("R(t3)", Rt3);
        v("DAR", DAR), v("PI", PI), v("DD", DD), v("Un", Un), v("tm", tm);
        v("t1", t1), v("t2", t2), v("t3", t3);
        v("time", Time), v("date", Date);
    }
};

struct TFunct_STEPV_TO {
    static constexpr int kSteps = 5;
    uint8_t Status = 0;
    TResultValue R, U, I, C;
    std::array<TResultValue, kSteps> StepR;  // R(U1) .. R(U5)
    std::array<TResultValue, kSteps> StepU;  // U1 .. U5
    TResultValue Un, tm;
    std::array<TResultValue, kSteps> StepTime;  // the time of each step
    std::string Time, Date;

    template <class V>
    void visit(V&& v) const {
        static constexpr const char* kR[] = {"R(U1)", "R(U2)", "R(U3)", "R(U4)", "R(U5)"};
        static constexpr const char* kU[] = {"U1", "U2", "U3", "U4", "U5"};
        static constexpr const char* kT[] = {"t(U1)", "t(U2)", "t(U3)", "t(U4)", "t(U5)"};
        v("status", Status);
        v("R", R), v("U", U), v("I", I), v("C", C);
        for (int i = 0; i < kSteps; ++i) v(kR[i], StepR[i]);
        for (int i = 0; i < kSteps; ++i) v(kU[i], StepU[i]);
        v("Un", Un), v("tm", tm);
        for (int i = 0; i < kSteps; ++i) v(kT[i], StepTime[i]);
        v("time", Time), v("date", Date);
    }
};

struct TFunct_WITHST_TO {
    uint8_t Status = 0;
    TResultValue U, I, Un_start, Un_stop, Itrigg, Tstep, Tend, tm;
    std::string Time, Date;

    template <class V>
    void visit(V&& v) const {
        v("status", Status);
        v("U", U), v("I", I), v("Un_start", Un_start), v("Un_stop", Un_stop), v("Itrigg", Itrigg),
            v("Tstep", Tstep), v("Tend", Tend), v("tm", tm);
        v("time", Time), v("date", Date);
    }
};

}  // namespace pelvoro
