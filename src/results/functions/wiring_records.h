#pragma once
// Polarity, wiring check and socket records.
// Part of the parsed-result record (results/results_data.h): what visit() and the value
// pairs mean is said there.

#include <array>
#include <cstdint>
#include <string>

#include "results/result_value.h"

namespace pelvoro {

struct TFunct_POLAR {
    uint8_t SubFunction = 0;
    uint8_t EarthingSystem = 0;
    uint8_t Status = 0;
    TResultValue R, U;
    // 0 none, 1 ln, 2 lpe, 3 npe.
    uint8_t WiringResult = 0;

    template <class V>
    void visit(V&& v) const {
        v("sub-function", SubFunction), v("earthing system", EarthingSystem), v("status", Status);
        v("R", R), v("U", U);
        v("wiring result", WiringResult);
    }
};

struct TFunct_CorrCONN {
    uint8_t SubFunction = 0;
    uint8_t EarthingSystem = 0;
    uint8_t Status = 0;
    TResultValue R, Rln, Rlpe, Rnpe, Rln_lim, Rlpe_lim, Rnpe_lim;
    uint8_t WiringResult = 0;

    template <class V>
    void visit(V&& v) const {
        v("sub-function", SubFunction), v("earthing system", EarthingSystem), v("status", Status);
        v("R", R), v("Rln", Rln), v("Rlpe", Rlpe), v("Rnpe", Rnpe), v("Rln_lim", Rln_lim),
            v("Rlpe_lim", Rlpe_lim), v("Rnpe_lim", Rnpe_lim);
        v("wiring result", WiringResult);
    }
};

struct TFunct_SOCKET {
    uint8_t SubFunction = 0;
    uint8_t Status = 0;
    TResultValue Rln, Rlpe, Rnpe, Rpe, Limit;

    template <class V>
    void visit(V&& v) const {
        v("sub-function", SubFunction), v("status", Status);
        v("Rln", Rln), v("Rlpe", Rlpe), v("Rnpe", Rnpe), v("Rpe", Rpe), v("limit", Limit);
    }
};

}  // namespace pelvoro
