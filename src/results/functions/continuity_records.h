#pragma once
// Continuity records: low-ohm, earth continuity, ring and socket continuity.
// Part of the parsed-result record (results/results_data.h): what visit() and the value
// pairs mean is said there.

#include <array>
#include <cstdint>
#include <string>

#include "results/result_value.h"

namespace pelvoro {

struct TFunct_CONT {
    uint8_t SubFunction = 0;
    uint8_t Status = 0;
    uint8_t EarthingSystem = 0;
    std::string FuseType;
    TResultValue R, Rplus, Rminus, Limit, Rpe;
    TResultValue Text598;  // the value shown under text code 598
    TResultValue Fuse_I, Uc;
    TResultValue Limit2;
    TResultValue Text596;  // the value shown under text code 596
    TResultValue RPEcal, RPE_lim;

    template <class V>
    void visit(V&& v) const {
        v("sub-function", SubFunction), v("status", Status), v("earthing system", EarthingSystem),
            v("fuse type", FuseType);
        v("R", R), v("R+", Rplus), v("R-", Rminus), v("limit", Limit), v("Rpe", Rpe),
            v("text598", Text598), v("Fuse_I", Fuse_I), v("Uc", Uc), v("limit 2", Limit2),
            v("text596", Text596), v("RPEcal", RPEcal), v("RPE_lim", RPE_lim);
    }
};

struct TFunct_ERTCONT {
    uint8_t SubFunction = 0;
    uint8_t Status = 0;
    uint8_t EarthingSystem = 0;
    TResultValue R, Rplus, Rminus, Limit, TestCurrent;
    std::string ProtectiveDevice;
    TResultValue CrossSection, DeviceCurrent, Re_lim;

    template <class V>
    void visit(V&& v) const {
        v("sub-function", SubFunction), v("status", Status), v("earthing system", EarthingSystem);
        v("R", R), v("R+", Rplus), v("R-", Rminus), v("limit", Limit),
            v("test current", TestCurrent);
        v("protective device", ProtectiveDevice);
        v("cross-section", CrossSection), v("device current", DeviceCurrent), v("Re_lim", Re_lim);
    }
};

struct TFunct_RING {
    uint8_t SubFunction = 0;
    uint8_t EarthingSystem = 0;
    uint8_t Status = 0;
    TResultValue r1, rN, r2;
    TResultValue R1RN;    // R1+RN
    TResultValue R1R2;    // R1+R2
    TResultValue r1rN_4;  // (r1+rN)/4
    TResultValue r1r2_4;  // (r1+r2)/4
    std::string Text;
    TResultValue Rplus, Rminus, Limit;
    TResultValue R1RN_2;  // a second R1+RN

    template <class V>
    void visit(V&& v) const {
        v("sub-function", SubFunction), v("earthing system", EarthingSystem), v("status", Status);
        v("r1", r1), v("rN", rN), v("r2", r2), v("R1+RN", R1RN), v("R1+R2", R1R2),
            v("(r1+rN)/4", r1rN_4), v("(r1+r2)/4", r1r2_4);
        v("text", Text);
        v("R+", Rplus), v("R-", Rminus), v("limit", Limit), v("R1+RN (second)", R1RN_2);
    }
};

struct TFunct_CONTAT {
    uint8_t SubFunction = 0;
    uint8_t EarthingSystem = 0;
    uint8_t Status = 0;
    TResultValue R2;
    TResultValue R1R2;  // R1+R2
    TResultValue R, Rplus, Rminus, Limit;
    TResultValue TestCurrent;  // "limit 2": "7" or "200" mA
    std::string SocketKind;    // "Universal" or "Plug"

    template <class V>
    void visit(V&& v) const {
        v("sub-function", SubFunction), v("earthing system", EarthingSystem), v("status", Status);
        v("R2", R2), v("R1+R2", R1R2), v("R", R), v("R+", Rplus), v("R-", Rminus),
            v("limit", Limit), v("test current", TestCurrent);
        v("socket kind", SocketKind);
    }
};

}  // namespace pelvoro
