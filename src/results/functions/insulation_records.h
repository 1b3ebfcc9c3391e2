#pragma once
// The insulation resistance record.
// Part of the parsed-result record (results/results_data.h): what visit() and the value
// pairs mean is said there.

#include <array>
#include <cstdint>
#include <string>

#include "results/result_value.h"

namespace pelvoro {

struct TFunct_ISO {
    uint8_t Status = 0;
    uint8_t EarthingSystem = 0;
    uint8_t SubFunction = 0;
    uint8_t Mode = 0;  // code 18
    TResultValue Rln, Rlpe, Rnpe, R, R12, R13, R23;
    // The measuring voltage of each resistance above, in the same order.
    TResultValue UmRln, UmRlpe, UmRnpe, UmR, UmR12, UmR13, UmR23;
    TResultValue Uiso;
    TResultValue Lim;
    TResultValue PI;
    TResultValue DAR;
    TResultValue R60;

    template <class V>
    void visit(V&& v) const {
        v("status", Status), v("earthing system", EarthingSystem), v("sub-function", SubFunction),
            v("mode", Mode);
        v("Rln", Rln), v("Rlpe", Rlpe), v("Rnpe", Rnpe), v("R", R), v("R12", R12), v("R13", R13),
            v("R23", R23);
        v("Um(Rln)", UmRln), v("Um(Rlpe)", UmRlpe), v("Um(Rnpe)", UmRnpe), v("Um(R)", UmR),
            v("Um(R12)", UmR12), v("Um(R13)", UmR13), v("Um(R23)", UmR23);
        v("Uiso", Uiso), v("Lim", Lim), v("PI", PI), v("DAR", DAR), v("R60", R60);
    }
};

}  // namespace pelvoro
