#pragma once
// The RCD record: trip time, trip current, automatic test, touch voltage.
// Part of the parsed-result record (results/results_data.h): what visit() and the value
// pairs mean is said there.

#include <array>
#include <cstdint>
#include <string>

#include "results/result_value.h"

namespace pelvoro {

struct TFunct_RCD {
    uint8_t Status = 0;
    uint8_t EarthingSystem = 0;
    uint8_t SubFunction = 0;
    TResultValue I, Uci, t, Uc, Uc1, Uc2;
    // Trip times at 1/2, 1, 5 and 2 times the rated residual current, at 0 and 180 degrees.
    TResultValue t12_0, t12_180, t1_0, t1_180, t5_0, t5_180, t2_0, t2_180;
    // Trip currents.
    TResultValue Id_0, Id_180;
    TResultValue Rl, Rl1, Rl2, Idn;
    std::string RcdType;
    std::string Multiplier;
    TResultValue Ulim, Rlim;

    template <class V>
    void visit(V&& v) const {
        v("status", Status), v("earthing system", EarthingSystem), v("sub-function", SubFunction);
        v("I", I), v("Uci", Uci), v("t", t), v("Uc", Uc), v("Uc1", Uc1), v("Uc2", Uc2);
        v("t12_0", t12_0), v("t12_180", t12_180), v("t1_0", t1_0), v("t1_180", t1_180),
            v("t5_0", t5_0), v("t5_180", t5_180), v("t2_0", t2_0), v("t2_180", t2_180);
        v("Id_0", Id_0), v("Id_180", Id_180);
        v("Rl", Rl), v("Rl1", Rl1), v("Rl2", Rl2), v("Idn", Idn);
        v("RCD type", RcdType), v("multiplier", Multiplier);
        v("Ulim", Ulim), v("Rlim", Rlim);
    }
};

}  // namespace pelvoro
