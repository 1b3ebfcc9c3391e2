#pragma once
// Line, loop, fault-loop, earth-loop and neutral impedance records.
// Part of the parsed-result record (results/results_data.h): what visit() and the value
// pairs mean is said there.

#include <array>
#include <cstdint>
#include <string>

#include "results/result_value.h"

namespace pelvoro {

struct TFunct_ZLINE {
    uint8_t Status = 0;
    uint8_t EarthingSystem = 0;
    uint8_t SubFunction = 0;
    std::string FuseType;
    TResultValue Z, Isc, R, Xl;
    TResultValue Fuse_I, Fuse_t, Isc_lim, Z_lim;
    TResultValue IscMaxLN, IscMinLN, IscMax3ph, IscMin3ph, IscMax2ph, IscMin2ph, IscStd;
    // Set by code 4 results that mark their limit fields with "3".
    uint8_t dUFlag = 0;
    TResultValue dU_lim, dU, Zref;

    template <class V>
    void visit(V&& v) const {
        v("status", Status), v("earthing system", EarthingSystem), v("sub-function", SubFunction),
            v("fuse type", FuseType);
        v("Z", Z), v("Isc", Isc), v("R", R), v("Xl", Xl);
        v("Fuse_I", Fuse_I), v("Fuse_t", Fuse_t), v("Isc_lim", Isc_lim), v("Z_lim", Z_lim);
        v("IscMaxLN", IscMaxLN), v("IscMinLN", IscMinLN), v("IscMax3ph", IscMax3ph),
            v("IscMin3ph", IscMin3ph), v("IscMax2ph", IscMax2ph), v("IscMin2ph", IscMin2ph),
            v("IscStd", IscStd);
        v("dU flag", dUFlag);
        v("dU_lim", dU_lim), v("dU", dU), v("Zref", Zref);
    }
};

struct TFunct_ZLOOP {
    uint8_t Status = 0;
    uint8_t EarthingSystem = 0;
    uint8_t SubFunction = 0;
    std::string FuseType;
    TResultValue Z, Isc;
    TResultValue Z1;  // R1 under the reduced-voltage systems
    TResultValue Isc1;
    TResultValue Z2;  // R2 likewise
    TResultValue Isc2, R, Xl;
    TResultValue Fuse_I, Fuse_t, Isc_lim, Z_lim;
    TResultValue IscMaxLPE, IscMinLPE, IscStd, Ub;
    uint8_t UbFlag = 0;
    TResultValue RCD, Rlim, Uc;

    template <class V>
    void visit(V&& v) const {
        v("status", Status), v("earthing system", EarthingSystem), v("sub-function", SubFunction),
            v("fuse type", FuseType);
        v("Z", Z), v("Isc", Isc), v("Z1", Z1), v("Isc1", Isc1), v("Z2", Z2), v("Isc2", Isc2),
            v("R", R), v("Xl", Xl);
        v("Fuse_I", Fuse_I), v("Fuse_t", Fuse_t), v("Isc_lim", Isc_lim), v("Z_lim", Z_lim);
        v("IscMaxLPE", IscMaxLPE), v("IscMinLPE", IscMinLPE), v("IscStd", IscStd), v("Ub", Ub);
        v("Ub flag", UbFlag);
        v("RCD", RCD), v("Rlim", Rlim), v("Uc", Uc);
    }
};

struct TFunct_FOLTLOOP {
    uint8_t Status = 0;
    uint8_t EarthingSystem = 0;
    // 0: protective device with cross-sections; 1: device kind with disconnection time.
    uint8_t DeviceFlag = 0;
    std::string DeviceKind;  // "RCD" or "FUSE"
    std::string DeviceType;  // "-", "B", "C", "D", "Fuse"
    TResultValue Z, R, Z1, Z2;
    TResultValue CrossSection1, CrossSection2, DeviceCurrent;
    TResultValue Rphe_lim, DisconnectionTime, Zphe_lim;

    template <class V>
    void visit(V&& v) const {
        v("status", Status), v("earthing system", EarthingSystem), v("device flag", DeviceFlag);
        v("device kind", DeviceKind), v("device type", DeviceType);
        v("Z", Z), v("R", R), v("Z1", Z1), v("Z2", Z2);
        v("cross-section 1", CrossSection1), v("cross-section 2", CrossSection2),
            v("device current", DeviceCurrent);
        v("Rphe_lim", Rphe_lim), v("disconnection time", DisconnectionTime),
            v("Zphe_lim", Zphe_lim);
    }
};

struct TFunct_LOOP_Re {
    uint8_t Status = 0;
    uint8_t EarthingSystem = 0;
    TResultValue Re;

    template <class V>
    void visit(V&& v) const {
        v("status", Status), v("earthing system", EarthingSystem);
        v("Re", Re);
    }
};

struct TFunct_INC_NEUTR {
    uint8_t Status = 0;
    uint8_t EarthingSystem = 0;
    TResultValue Z, Isc, R, Xl, Z_lim;

    template <class V>
    void visit(V&& v) const {
        v("status", Status), v("earthing system", EarthingSystem);
        v("Z", Z), v("Isc", Isc), v("R", R), v("Xl", Xl), v("Z_lim", Z_lim);
    }
};

}  // namespace pelvoro
