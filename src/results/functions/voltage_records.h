#pragma once
// Voltage, phase order, varistor and touch-voltage records.
// Part of the parsed-result record (results/results_data.h): what visit() and the value
// pairs mean is said there.

#include <array>
#include <cstdint>
#include <string>

#include "results/result_value.h"

namespace pelvoro {

struct TFunct_VOLT {
    uint8_t Status = 0;
    uint8_t EarthingSystem = 0;
    uint8_t Mode = 0;
    TResultValue Uln;   // also U12
    TResultValue Ulpe;  // also U13
    TResultValue Unpe;  // also U23
    TResultValue U21;
    TResultValue U1pe;  // also U31
    TResultValue U2pe;  // also U32
    TResultValue f;

    template <class V>
    void visit(V&& v) const {
        v("status", Status), v("earthing system", EarthingSystem), v("mode", Mode);
        v("Uln", Uln), v("Ulpe", Ulpe), v("Unpe", Unpe), v("U21", U21), v("U1pe", U1pe),
            v("U2pe", U2pe), v("f", f);
    }
};

struct TFunct_VARISTOR {
    uint8_t Status = 0;
    uint8_t EarthingSystem = 0;
    TResultValue U, Uac, LoLim, HiLim, It;

    template <class V>
    void visit(V&& v) const {
        v("status", Status), v("earthing system", EarthingSystem);
        v("U", U), v("Uac", Uac), v("Lo lim", LoLim), v("Hi lim", HiLim), v("It", It);
    }
};

struct TFunct_TCH_VOLT {
    uint8_t Status = 0;
    uint8_t EarthingSystem = 0;
    TResultValue Udc, Uac;
    std::string Limit;  // shown without unit

    template <class V>
    void visit(V&& v) const {
        v("status", Status), v("earthing system", EarthingSystem);
        v("Udc", Udc), v("Uac", Uac);
        v("limit", Limit);
    }
};

}  // namespace pelvoro
