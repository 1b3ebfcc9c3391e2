#pragma once
// The earth resistance record.
// Part of the parsed-result record (results/results_data.h): what visit() and the value
// pairs mean is said there.

#include <array>
#include <cstdint>
#include <string>

#include "results/result_value.h"

namespace pelvoro {

struct TFunct_EARTH {
    uint8_t Status = 0;
    uint8_t EarthingSystem = 0;
    uint8_t SubFunction = 0;
    TResultValue R, Re, Rc, Rp, Limit;
    TResultValue Rho;  // resistivity
    TResultValue Distance;

    template <class V>
    void visit(V&& v) const {
        v("status", Status), v("earthing system", EarthingSystem), v("sub-function", SubFunction);
        v("R", R), v("Re", Re), v("Rc", Rc), v("Rp", Rp), v("limit", Limit), v("rho", Rho),
            v("distance", Distance);
    }
};

}  // namespace pelvoro
