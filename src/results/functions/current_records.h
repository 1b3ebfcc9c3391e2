#pragma once
// Current, illuminance, insulation monitor and first-fault current records.
// Part of the parsed-result record (results/results_data.h): what visit() and the value
// pairs mean is said there.

#include <array>
#include <cstdint>
#include <string>

#include "results/result_value.h"

namespace pelvoro {

struct TFunct_CURRENT {
    uint8_t Status = 0;
    uint8_t EarthingSystem = 0;
    TResultValue I, Limit;

    template <class V>
    void visit(V&& v) const {
        v("status", Status), v("earthing system", EarthingSystem);
        v("I", I), v("limit", Limit);
    }
};

struct TFunct_SENSOR {
    uint8_t Status = 0;
    uint8_t EarthingSystem = 0;
    TResultValue E;  // illuminance
    TResultValue Limit;

    template <class V>
    void visit(V&& v) const {
        v("status", Status), v("earthing system", EarthingSystem);
        v("E", E), v("limit", Limit);
    }
};

struct TFunct_IMD {
    uint8_t Status = 0;
    uint8_t EarthingSystem = 0;
    TResultValue R1, R2, I1, I2;
    // 0 none, 1 current limit (LimI), 2 resistance limit (LimR).
    uint8_t LimitKind = 0;
    TResultValue LimI, LimR;

    template <class V>
    void visit(V&& v) const {
        v("status", Status), v("earthing system", EarthingSystem);
        v("R1", R1), v("R2", R2), v("I1", I1), v("I2", I2);
        v("limit kind", LimitKind);
        v("LimI", LimI), v("LimR", LimR);
    }
};

struct TFunct_ISFL {
    uint8_t Status = 0;
    uint8_t EarthingSystem = 0;
    TResultValue Isc1, Isc2, Lim;

    template <class V>
    void visit(V&& v) const {
        v("status", Status), v("earthing system", EarthingSystem);
        v("Isc1", Isc1), v("Isc2", Isc2), v("Lim", Lim);
    }
};

}  // namespace pelvoro
