#pragma once
// Records of the machine testers and their single functions.
// Part of the parsed-result record (results/results_data.h): what visit() and the value
// pairs mean is said there.

#include <array>
#include <cstdint>
#include <string>

#include "results/result_value.h"

namespace pelvoro {

// Continuous and stepped voltage tests of the machine testers.
struct TFunct_VoltTest {
    uint8_t Status = 0;
    TResultValue U, Um, Iset, Igen, Iflt, Rinp, Ulim;

    template <class V>
    void visit(V&& v) const {
        v("status", Status);
        v("U", U), v("Um", Um), v("Iset", Iset), v("Igen", Igen), v("Iflt", Iflt), v("Rinp", Rinp),
            v("Ulim", Ulim);
    }
};

struct TFunct_CONTVOLT : TFunct_VoltTest {};

struct TFunct_STEPVOLT : TFunct_VoltTest {};

struct TFunct_RES_MICRO {
    uint8_t Status = 0;
    TResultValue Rx, Ux, Ix, TestCurrent, Range, Duration;

    template <class V>
    void visit(V&& v) const {
        v("status", Status);
        v("Rx", Rx), v("Ux", Ux), v("Ix", Ix), v("test current", TestCurrent), v("Range", Range),
            v("Duration", Duration);
    }
};

struct TFunct_HV_MT {
    uint8_t Status = 0;
    TResultValue Un, Imax, I, U;

    template <class V>
    void visit(V&& v) const {
        v("status", Status);
        v("Un", Un), v("Imax", Imax), v("I", I), v("U", U);
    }
};

struct TFunct_dU_MT {
    uint8_t Status = 0;
    TResultValue dUmax, dU, U, I;

    template <class V>
    void visit(V&& v) const {
        v("status", Status);
        v("dUmax", dUmax), v("dU", dU), v("U", U), v("I", I);
    }
};

struct TFunct_R10A_MT {
    uint8_t Status = 0;
    TResultValue Rmax, R, I, U;

    template <class V>
    void visit(V&& v) const {
        v("status", Status);
        v("Rmax", Rmax), v("R", R), v("I", I), v("U", U);
    }
};

struct TFunct_MOhm_MT {
    uint8_t Status = 0;
    TResultValue Un, Rmin, R;

    template <class V>
    void visit(V&& v) const {
        v("status", Status);
        v("Un", Un), v("Rmin", Rmin), v("R", R);
    }
};

struct TFunct_dt_MT {
    uint8_t Status = 0;
    TResultValue Syst, t;

    template <class V>
    void visit(V&& v) const {
        v("status", Status);
        v("Syst", Syst), v("t", t);
    }
};

}  // namespace pelvoro
