#pragma once
// The parsed-result record: one FP string read into named values. There is one record per
// document window; every parse overwrites it, and the line generator reads it right after.
//
// Each sub-record begins with its byte fields (status, earthing system, sub-function and the
// like) followed by its value pairs. A value pair keeps the instrument's text unchanged and
// the unit it is shown with (the unit may carry the prefix that the value came with).
// Texts are bytes in the documents' single-byte code page.
//
// visit(v) calls v(label, field) for every field in order, with the label under which the
// value is shown; fields are uint8_t (byte fields), TResultValue or std::string (texts).

#include <array>
#include <cstdint>
#include <string>

#include "results/function_codes.h"

namespace pelvoro {

struct TResultValue {
    std::string Value;
    std::string Unit;

    bool operator==(const TResultValue&) const = default;
};

// Symbol code of the ohm sign.
inline constexpr const char* kOhm = "#S258";
// A value that the instrument did not deliver (drawn as three blanks).
inline constexpr const char* kNotDelivered = "#S272#S272#S272";

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

struct TFunct_VISUAL {
    uint8_t Kind = 0;
    uint8_t Status = 0;
    // The inspection answers G1 .. G6.
    std::array<std::string, 6> G;

    template <class V>
    void visit(V&& v) const {
        v("kind", Kind), v("status", Status);
        v("G1", G[0]), v("G2", G[1]), v("G3", G[2]), v("G4", G[3]), v("G5", G[4]), v("G6", G[5]);
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

// Checklists and schedules: one answer digit per question, starting at the section's
// first question.
struct TFunct_Checklist {
    uint8_t Status = 0;
    std::string Answers;
    std::string Section;

    template <class V>
    void visit(V&& v) const {
        v("status", Status);
        v("answers", Answers), v("section", Section);
    }
};
struct TFunct_FULSCHED : TFunct_Checklist {};
struct TFunct_DOMSCHED : TFunct_Checklist {};
struct TFunct_FUNCTION : TFunct_Checklist {};

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

struct TFunct_REBT_02 : TFunct_Checklist {};
struct TFunct_REBT_73 : TFunct_Checklist {};
struct TFunct_REBT_75 : TFunct_Checklist {};

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

struct TResultsData {
    // The function code as dispatched (after the +50 of the earlier typed instruments);
    // empty when the last parse recognised no code.
    std::string FunctionCode;

#define PELVORO_RECORD_MEMBER(kind, type, member, family) type member;
    PELVORO_RESULT_RECORDS(PELVORO_RECORD_MEMBER)
#undef PELVORO_RECORD_MEMBER

    // The number of FunctionCode; 0 when it is empty.
    int functionCode() const;
    // The sub-record that FunctionCode fills; None when it is empty.
    ResultRecord record() const;

    // Calls f(subRecord) with the sub-record of `which` (nothing for None).
    template <class F>
    void withRecord(ResultRecord which, F&& f) const;
};

template <class F>
void TResultsData::withRecord(ResultRecord which, F&& f) const {
    switch (which) {
        case ResultRecord::None:
            return;
#define PELVORO_RECORD_CASE(kind, type, member, family) \
    case ResultRecord::kind:                            \
        return f(member);
            PELVORO_RESULT_RECORDS(PELVORO_RECORD_CASE)
#undef PELVORO_RECORD_CASE
    }
}

}  // namespace pelvoro
