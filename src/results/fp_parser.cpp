#include "results/fp_parser.h"

#include <initializer_list>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>

#include "common/text.h"
#include "document/structure_document.h"
#include "results/function_codes.h"

namespace pelvoro {

namespace {

using sv = std::string_view;

constexpr sv kKorven = "KORVEN";
// The status byte of a result without any verdict.
constexpr uint8_t kNoVerdict = 3;
// Field numbers stop counting here; every field this far out is beyond any code's fields.
constexpr int kFieldCap = 1 << 20;

// A number written the one way a table writes it: "0", "7", "12" (no sign, blank or
// leading zero).
std::optional<int> exactNumber(sv t) {
    if (t.empty() || t.size() > 9 || (t[0] == '0' && t.size() > 1)) return std::nullopt;
    int value = 0;
    for (char c : t) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

// A run of texts "lo".."hi" mapped to to, to + step, ...
struct Span {
    int lo, hi, to;
    int step = 1;
};

std::optional<int> lookupSpan(sv t, std::initializer_list<Span> spans) {
    auto n = exactNumber(t);
    if (!n) return std::nullopt;
    for (const Span& s : spans)
        if (*n >= s.lo && *n <= s.hi) return s.to + s.step * (*n - s.lo);
    return std::nullopt;
}

bool isValueChar(char c) {
    switch (c) {
        case ' ':
        case '#':
        case ',':
        case '-':
        case '.':
        case '<':
        case '=':
        case '>':
        case 'S':
            return true;
        default:
            return c >= '0' && c <= '9';
    }
}

// Length of the value part of a split field; the whole field when it is not divided.
size_t valueLength(sv t) {
    if (t.empty() || t == kNotDelivered) return t.size();
    size_t i = 0;
    while (i < t.size() && isValueChar(t[i])) ++i;
    return i;
}

void set(TResultValue& v, sv t) {
    v.Value.assign(t);
}
void dash(TResultValue& v, sv t) {
    if (!t.empty() && t[0] == '-')
        v.Value = "-";
    else
        v.Value.assign(t);
}
void split(TResultValue& v, sv t) {
    splitValueField(t, v);
}
void splitDash(TResultValue& v, sv t) {
    if (!t.empty() && t[0] == '-')
        v.Value = "-";
    else
        splitValueField(t, v);
}
// The times of the diagnostic test: a prefix (a unit of their own) replaces the unit.
void splitReplace(TResultValue& v, sv t) {
    size_t n = valueLength(t);
    v.Value.assign(t.substr(0, n));
    if (n < t.size()) v.Unit.assign(t.substr(n));
}

void units(sv unit, std::initializer_list<TResultValue*> values) {
    for (TResultValue* v : values) v->Unit.assign(unit);
}

// Every text of a sub-record emptied, every byte 0; the status starts at "no verdict at
// all" (3). Nothing of the previous string survives: a string without a status field has
// no verdict, and one without a sub-function field has sub-function 0.
// Cleared in place: the strings keep their buffers for the next parse.
template <class T>
void clearRecord(T& rec) {
    // visit() names every field of the record; the record itself is not const here.
    rec.visit([](const char*, const auto& field) {
        using F = std::decay_t<decltype(field)>;
        F& f = const_cast<F&>(field);
        if constexpr (std::is_same_v<F, uint8_t>) {
            f = 0;
        } else if constexpr (std::is_same_v<F, std::string>) {
            f.clear();
        } else {
            f.Value.clear();
            f.Unit.clear();
        }
    });
    if constexpr (requires { rec.Status; }) rec.Status = kNoVerdict;
}

void clearResults(TResultsData& r) {
    r.FunctionCode.clear();
    clearRecord(r.VOLT);
    clearRecord(r.ISO);
    clearRecord(r.CONT);
    clearRecord(r.ZLINE);
    clearRecord(r.ZLOOP);
    clearRecord(r.RCD);
    clearRecord(r.EARTH);
    clearRecord(r.CURRENT);
    clearRecord(r.SENSOR);
    clearRecord(r.IMD);
    clearRecord(r.ISFL);
    clearRecord(r.VISUAL);
    clearRecord(r.ERTCONT);
    clearRecord(r.POLAR);
    clearRecord(r.CorrCONN);
    clearRecord(r.FOLTLOOP);
    clearRecord(r.FULSCHED);
    clearRecord(r.DOMSCHED);
    clearRecord(r.FUNCTION);
    clearRecord(r.RING);
    clearRecord(r.CONTAT);
    clearRecord(r.VARISTOR);
    clearRecord(r.LOOP_Re);
    clearRecord(r.REBT_02);
    clearRecord(r.REBT_73);
    clearRecord(r.REBT_75);
    clearRecord(r.TCH_VOLT);
    clearRecord(r.INC_NEUTR);
    clearRecord(r.SOCKET);
    clearRecord(r.VOLT_TO);
    clearRecord(r.ISO_TO);
    clearRecord(r.DIAGN_TO);
    clearRecord(r.STEPV_TO);
    clearRecord(r.WITHST_TO);
    clearRecord(r.HV_MT);
    clearRecord(r.dU_MT);
    clearRecord(r.R10A_MT);
    clearRecord(r.MOhm_MT);
    clearRecord(r.dt_MT);
    clearRecord(r.CONTVOLT);
    clearRecord(r.STEPVOLT);
    clearRecord(r.RES_MICRO);
}

// The later installation codes read their fields like the earlier function they add 100
// to; 116 (the diagnostic insulation test) has a layout of its own.
int layoutOf(int code) {
    if (code > 100 && code < 128 && code != 116) return code - 100;
    return code;
}

enum class StatusMap {
    None,         // no status field (machine testers)
    Earlier,      // 51-64, 71-73, 80, 201: 0 -> 0, 1 -> 5, 2 -> 1, 3 -> 2 (80: 4 -> 9, 5 -> 10)
    HighVoltage,  // 202, 204, 206, 207: 0 -> 3, 1 -> 0, 2 -> 1, 3 -> 2
    Digit,        // 1-35, 101-127: the digit itself, 0 .. 6
};

StatusMap statusMapOf(int code) {
    if ((code >= 51 && code <= 64) || (code >= 71 && code <= 73) || code == 80 || code == 201)
        return StatusMap::Earlier;
    if (code >= 202 && code <= 207) return StatusMap::HighVoltage;
    if ((code >= 1 && code <= 35) || (code >= 101 && code <= 127)) return StatusMap::Digit;
    return StatusMap::None;
}

// Codes whose strings may end early with "!" at the start of a field.
bool hasEndMark(int code) {
    return (code >= 51 && code <= 64) || (code >= 71 && code <= 73) || code == 80 ||
           (code >= 301 && code <= 305);
}

enum class RcdColumn { TripTime, TripCurrent, AutoOld, AutoNew, TouchVoltage };

class Parser {
  public:
    Parser(TResultsData& r, const FpParseContext& c, bool& flag)
        : r_(r), c_(c), newFunctionsSeen_(flag) {}

    void run(sv fp);

  private:
    void flag() { newFunctionsSeen_ = true; }

    void status(uint8_t& b, sv t);
    void esys(uint8_t& b, sv t);
    void mapSpan(uint8_t& b, sv t, std::initializer_list<Span> spans) {
        if (auto v = lookupSpan(t, spans))
            b = uint8_t(*v);
        else
            flag();
    }
    void mapText(std::string& target, sv t, std::initializer_list<std::pair<sv, sv>> map) {
        for (const auto& [from, to] : map)
            if (t == from) {
                target.assign(to);
                return;
            }
        flag();
    }
    static uint8_t wiringResult(sv t) {
        if (t == "0") return 1;
        if (t == "1") return 2;
        if (t == "2") return 3;
        return 0;
    }
    bool korven() const { return c_.variant == kKorven; }

    void presetUnits();
    bool field(int n, sv t);

    bool volt1(int n, sv t);
    bool volt51(int n, sv t);
    bool iso2(int n, sv t);
    void isoSubField(int column, sv t);
    bool iso18(int n, sv t);
    bool iso55(int n, sv t);
    bool iso116(int n, sv t);
    bool cont3(int n, sv t);
    bool cont56(int n, sv t);
    bool zline4(int n, sv t);
    bool zline52(int n, sv t);
    bool zloop5(int n, sv t);
    bool zloop53(int n, sv t);
    bool rcd6(int n, sv t);
    bool rcd54(int n, sv t);
    void rcdColumn(RcdColumn column, int n54, sv t, bool systemDependent);
    bool earth8(int n, sv t);
    bool earth57(int n, sv t);
    bool earth73(int n, sv t);
    bool current9(int n, sv t);
    bool current58(int n, sv t);
    bool sensor13(int n, sv t);
    bool imd14(int n, sv t);
    bool isfl15(int n, sv t);
    bool visual16(int n, sv t);
    bool ertcont17(int n, sv t);
    bool polar19(int n, sv t);
    bool corrconn20(int n, sv t);
    bool foltloop21(int n, sv t);
    bool checklist(TFunct_Checklist& s, int n, sv t);
    bool ring25(int n, sv t);
    bool ring61(int n, sv t);
    bool ring63(int n, sv t);
    bool polar26(int n, sv t);
    bool contat27(int n, sv t);
    bool contat62(int n, sv t);
    bool varistor28(int n, sv t);
    bool loopRe29(int n, sv t);
    bool tchvolt33(int n, sv t);
    bool incneutr35(int n, sv t);
    bool socket64(int n, sv t);
    bool voltTest(TFunct_VoltTest& s, int n, sv t);
    bool resmicro80(int n, sv t);
    bool voltTo201(int n, sv t);
    bool isoTo202(int n, sv t);
    bool diagnTo204(int n, sv t);
    bool stepvTo206(int n, sv t);
    bool withstTo207(int n, sv t);
    bool machine(int n, sv t);

    TResultsData& r_;
    const FpParseContext& c_;
    bool& newFunctionsSeen_;
    int code_ = 0;
    int layout_ = 0;
    StatusMap statusMap_ = StatusMap::None;
};

void Parser::run(sv fp) {
    clearResults(r_);
    if (fp.empty() || fp[0] != 'F') return;
    // Character 2 is the ";" after "F"; the code runs from character 3 to the next ";".
    if (fp.size() < 3) return;
    const size_t codeEnd = fp.find(';', 2);
    if (codeEnd == sv::npos) return;
    std::optional<int> number = functionCodeNumber(fp.substr(2, codeEnd - 2));
    if (number && *number < 50) *number += functionCodeOffset(c_.typeCode);
    if (!number || !findFunctionCode(*number)) {
        flag();
        return;
    }
    code_ = *number;
    layout_ = layoutOf(code_);
    statusMap_ = statusMapOf(code_);
    r_.FunctionCode = std::to_string(code_);
    presetUnits();
    // The earlier typed instruments work on a TN/TT system unless a field says otherwise.
    if (code_ == 52) r_.ZLINE.EarthingSystem = 1;
    if (code_ == 53) r_.ZLOOP.EarthingSystem = 1;
    if (code_ == 54) r_.RCD.EarthingSystem = 1;

    const bool endMark = hasEndMark(code_);
    int n = 2;
    size_t start = codeEnd + 1;
    for (;;) {
        if (endMark && start < fp.size() && fp[start] == '!') return;
        const size_t end = fp.find(';', start);
        if (end == sv::npos) return;  // a field without its ";" is not read
        if (n < kFieldCap) ++n;
        const sv text = fp.substr(start, end - start);
        // Field 3 is the sub-function; codes without one ignore it.
        if (!field(n, text) && n != 3) flag();
        start = end + 1;
    }
}

void Parser::status(uint8_t& b, sv t) {
    if (layout_ == 25 && t == "255") {
        b = 3;
        return;
    }
    int mapped = -1;
    if (t.size() == 1 && t[0] >= '0' && t[0] <= '9') {
        const int d = t[0] - '0';
        switch (statusMap_) {
            case StatusMap::Earlier: {
                static constexpr int kMap[] = {0, 5, 1, 2};
                if (d < 4)
                    mapped = kMap[d];
                else if (code_ == 80 && d == 4)
                    mapped = 9;
                else if (code_ == 80 && d == 5)
                    mapped = 10;
                break;
            }
            case StatusMap::HighVoltage: {
                static constexpr int kMap[] = {3, 0, 1, 2};
                if (d < 4) mapped = kMap[d];
                break;
            }
            case StatusMap::Digit:
                if (d <= 6) mapped = d;
                break;
            case StatusMap::None:
                break;
        }
    }
    if (mapped < 0)
        flag();
    else
        b = uint8_t(mapped);
}

// 1 TN/TT, 2 IT, 3 reduced 55 V, 4 reduced 63 V, 5 the 230 V system; "255" none given.
void Parser::esys(uint8_t& b, sv t) {
    if (t == "255")
        b = 6;
    else
        mapSpan(b, t, {{0, 5, 0}});
}

// ---------------------------------------------------------------------------------------
// Base units: what each value is measured in before a field's prefix is put in front.

void Parser::presetUnits() {
    const sv V = "V", A = "A", s = "s", mA = "mA", mm2 = "mm2", F = "F";
    const sv O = kOhm;
    switch (layout_) {
        case 1:
        case 51: {
            auto& x = r_.VOLT;
            units(V, {&x.Uln, &x.Ulpe, &x.Unpe, &x.U21, &x.U1pe, &x.U2pe});
            x.f.Unit = "Hz";
            break;
        }
        case 2:
        case 18:
        case 55:
        case 116: {
            auto& x = r_.ISO;
            units(O, {&x.Rln, &x.Rlpe, &x.Rnpe, &x.R, &x.R12, &x.R13, &x.R23, &x.Lim, &x.R60});
            units(V,
                  {&x.UmRln, &x.UmRlpe, &x.UmRnpe, &x.UmR, &x.UmR12, &x.UmR13, &x.UmR23, &x.Uiso});
            break;
        }
        case 3:
        case 56: {
            auto& x = r_.CONT;
            units(O, {&x.R, &x.Rplus, &x.Rminus, &x.Limit, &x.Rpe, &x.Text598, &x.Limit2,
                      &x.Text596, &x.RPEcal, &x.RPE_lim});
            x.Fuse_I.Unit = A;
            x.Uc.Unit = V;
            break;
        }
        case 4:
        case 52: {
            auto& x = r_.ZLINE;
            units(O, {&x.Z, &x.R, &x.Xl, &x.Z_lim, &x.Zref});
            units(A, {&x.Isc, &x.Isc_lim, &x.IscMaxLN, &x.IscMinLN, &x.IscMax3ph, &x.IscMin3ph,
                      &x.IscMax2ph, &x.IscMin2ph, &x.IscStd});
            break;
        }
        case 5:
        case 53: {
            auto& x = r_.ZLOOP;
            units(O, {&x.Z, &x.Z1, &x.Z2, &x.R, &x.Xl, &x.Z_lim, &x.Rlim});
            units(A, {&x.Isc, &x.Isc1, &x.Isc2, &x.Isc_lim, &x.IscMaxLPE, &x.IscMinLPE, &x.IscStd});
            units(V, {&x.Ub, &x.Uc});
            x.RCD.Unit = mA;
            break;
        }
        case 6:
        case 54: {
            auto& x = r_.RCD;
            units(A, {&x.I, &x.Id_0, &x.Id_180, &x.Idn});
            units(V, {&x.Uci, &x.Uc, &x.Uc1, &x.Uc2, &x.Ulim});
            units(s, {&x.t, &x.t12_0, &x.t12_180, &x.t1_0, &x.t1_180, &x.t5_0, &x.t5_180, &x.t2_0,
                      &x.t2_180});
            units(O, {&x.Rl, &x.Rl1, &x.Rl2, &x.Rlim});
            break;
        }
        case 8:
        case 57:
        case 73: {
            auto& x = r_.EARTH;
            units(O, {&x.R, &x.Re, &x.Rc, &x.Rp, &x.Limit});
            break;
        }
        case 9:
        case 58:
            units(A, {&r_.CURRENT.I, &r_.CURRENT.Limit});
            break;
        case 13:
            units("lux", {&r_.SENSOR.E, &r_.SENSOR.Limit});
            break;
        case 14: {
            auto& x = r_.IMD;
            units(O, {&x.R1, &x.R2, &x.LimR});
            units(A, {&x.I1, &x.I2, &x.LimI});
            break;
        }
        case 15:
            units(A, {&r_.ISFL.Isc1, &r_.ISFL.Isc2, &r_.ISFL.Lim});
            break;
        case 17: {
            auto& x = r_.ERTCONT;
            units(O, {&x.R, &x.Rplus, &x.Rminus, &x.Limit, &x.Re_lim});
            x.TestCurrent.Unit = mA;
            x.CrossSection.Unit = mm2;
            x.DeviceCurrent.Unit = A;
            break;
        }
        case 19:
        case 26:
            r_.POLAR.R.Unit = O;
            r_.POLAR.U.Unit = V;
            break;
        case 20: {
            auto& x = r_.CorrCONN;
            units(O, {&x.R, &x.Rln, &x.Rlpe, &x.Rnpe, &x.Rln_lim, &x.Rlpe_lim, &x.Rnpe_lim});
            break;
        }
        case 21: {
            auto& x = r_.FOLTLOOP;
            units(O, {&x.Z, &x.R, &x.Z1, &x.Z2, &x.Rphe_lim, &x.Zphe_lim});
            units(mm2, {&x.CrossSection1, &x.CrossSection2});
            x.DeviceCurrent.Unit = A;
            x.DisconnectionTime.Unit = s;
            break;
        }
        case 25:
        case 61:
        case 63: {
            auto& x = r_.RING;
            units(O, {&x.r1, &x.rN, &x.r2, &x.R1RN, &x.R1R2, &x.r1rN_4, &x.r1r2_4, &x.Rplus,
                      &x.Rminus, &x.Limit, &x.R1RN_2});
            break;
        }
        case 27:
        case 62: {
            auto& x = r_.CONTAT;
            units(O, {&x.R2, &x.R1R2, &x.R, &x.Rplus, &x.Rminus, &x.Limit});
            x.TestCurrent.Unit = mA;
            break;
        }
        case 28: {
            auto& x = r_.VARISTOR;
            units(V, {&x.U, &x.Uac, &x.LoLim, &x.HiLim});
            x.It.Unit = A;
            break;
        }
        case 29:
            r_.LOOP_Re.Re.Unit = O;
            break;
        case 33:
            units(V, {&r_.TCH_VOLT.Udc, &r_.TCH_VOLT.Uac});
            break;
        case 35: {
            auto& x = r_.INC_NEUTR;
            units(O, {&x.Z, &x.R, &x.Xl, &x.Z_lim});
            x.Isc.Unit = A;
            break;
        }
        case 64: {
            auto& x = r_.SOCKET;
            units(O, {&x.Rln, &x.Rlpe, &x.Rnpe, &x.Rpe, &x.Limit});
            break;
        }
        case 71:
        case 72: {
            TFunct_VoltTest& x = code_ == 71 ? static_cast<TFunct_VoltTest&>(r_.CONTVOLT)
                                             : static_cast<TFunct_VoltTest&>(r_.STEPVOLT);
            units(V, {&x.U, &x.Um, &x.Ulim});
            units(A, {&x.Iset, &x.Igen, &x.Iflt});
            x.Rinp.Unit = O;
            break;
        }
        case 80: {
            auto& x = r_.RES_MICRO;
            x.Rx.Unit = O;
            x.Ux.Unit = V;
            units(A, {&x.Ix, &x.TestCurrent});
            x.Range.Unit = O;
            break;
        }
        case 201:
            r_.VOLT_TO.f.Unit = "Hz";
            break;
        case 202: {
            auto& x = r_.ISO_TO;
            units(O, {&x.R, &x.Rmax, &x.Rmin});
            units(V, {&x.U, &x.Un});
            x.I.Unit = A;
            x.C.Unit = F;
            break;
        }
        case 204: {
            auto& x = r_.DIAGN_TO;
            units(O, {&x.R, &x.Rt1, &x.Rt2, &x.Rt3});
            units(V, {&x.U, &x.Un});
            x.I.Unit = A;
            x.C.Unit = F;
            units(s, {&x.t1, &x.t2, &x.t3});
            break;
        }
        case 206: {
            // The step times carry their own unit ("s" or "min") in the field.
            auto& x = r_.STEPV_TO;
            units(O, {&x.R});
            units(V, {&x.U, &x.Un});
            for (auto& v : x.StepR) v.Unit = O;
            for (auto& v : x.StepU) v.Unit = V;
            x.I.Unit = A;
            x.C.Unit = F;
            break;
        }
        case 207: {
            auto& x = r_.WITHST_TO;
            units(V, {&x.U, &x.Un_start, &x.Un_stop});
            units(A, {&x.I, &x.Itrigg});
            break;
        }
        default:
            break;
    }
}

// ---------------------------------------------------------------------------------------
// Field tables. Each returns false for a field number its code does not define.

bool Parser::field(int n, sv t) {
    switch (layout_) {
        case 1:
            return volt1(n, t);
        case 2:
            return iso2(n, t);
        case 3:
            return cont3(n, t);
        case 4:
            return zline4(n, t);
        case 5:
            return zloop5(n, t);
        case 6:
            return rcd6(n, t);
        case 8:
            return earth8(n, t);
        case 9:
            return current9(n, t);
        case 13:
            return sensor13(n, t);
        case 14:
            return imd14(n, t);
        case 15:
            return isfl15(n, t);
        case 16:
            return visual16(n, t);
        case 17:
            return ertcont17(n, t);
        case 18:
            return iso18(n, t);
        case 19:
            return polar19(n, t);
        case 20:
            return corrconn20(n, t);
        case 21:
            return foltloop21(n, t);
        case 22:
            return checklist(r_.FULSCHED, n, t);
        case 23:
            return checklist(r_.DOMSCHED, n, t);
        case 24:
            return checklist(r_.FUNCTION, n, t);
        case 25:
            return ring25(n, t);
        case 26:
            return polar26(n, t);
        case 27:
            return contat27(n, t);
        case 28:
            return varistor28(n, t);
        case 29:
            return loopRe29(n, t);
        case 30:
            return checklist(r_.REBT_02, n, t);
        case 31:
            return checklist(r_.REBT_73, n, t);
        case 32:
            return checklist(r_.REBT_75, n, t);
        case 33:
            return tchvolt33(n, t);
        case 35:
            return incneutr35(n, t);
        case 51:
            return volt51(n, t);
        case 52:
            return zline52(n, t);
        case 53:
            return zloop53(n, t);
        case 54:
            return rcd54(n, t);
        case 55:
            return iso55(n, t);
        case 56:
            return cont56(n, t);
        case 57:
            return earth57(n, t);
        case 58:
            return current58(n, t);
        case 61:
            return ring61(n, t);
        case 62:
            return contat62(n, t);
        case 63:
            return ring63(n, t);
        case 64:
            return socket64(n, t);
        case 71:
            return voltTest(r_.CONTVOLT, n, t);
        case 72:
            return voltTest(r_.STEPVOLT, n, t);
        case 73:
            return earth73(n, t);
        case 80:
            return resmicro80(n, t);
        case 116:
            return iso116(n, t);
        case 201:
            return voltTo201(n, t);
        case 202:
            return isoTo202(n, t);
        case 204:
            return diagnTo204(n, t);
        case 206:
            return stepvTo206(n, t);
        case 207:
            return withstTo207(n, t);
        case 301:
        case 302:
        case 303:
        case 304:
        case 305:
            return machine(n, t);
        default:
            return false;
    }
}

// Voltage and phase order (1, 101).
bool Parser::volt1(int n, sv t) {
    auto& s = r_.VOLT;
    const bool tnLayout = s.Mode == 0 && s.EarthingSystem == 1;
    switch (n) {
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            if (t == "0" || t == "255")
                s.EarthingSystem = 0;
            else
                esys(s.EarthingSystem, t);
            return true;
        case 6:
            // A second system field; "0" and "255" keep what field 5 gave.
            if (t != "0" && t != "255") mapSpan(s.EarthingSystem, t, {{1, 5, 1}});
            return true;
        case 7:
            mapSpan(s.Mode, t, {{0, 3, 0}});
            return true;
        case 8:
            set(tnLayout ? s.Uln : s.U21, t);
            return true;
        case 9:
            set(tnLayout ? s.Ulpe : s.U1pe, t);
            return true;
        case 10:
            set(tnLayout ? s.Unpe : s.U2pe, t);
            return true;
        case 11:
            set(s.f, t);
            return true;
        default:
            return false;
    }
}

bool Parser::volt51(int n, sv t) {
    auto& s = r_.VOLT;
    switch (n) {
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            esys(s.EarthingSystem, t);
            return true;
        case 6:
            mapSpan(s.Mode, t, {{0, 2, 0}});
            return true;
        case 7:
            set(s.Uln, t);
            return true;
        case 8:
            dash(s.Ulpe, t);
            return true;
        case 9:
            dash(s.Unpe, t);
            return true;
        case 10:
            set(s.f, t);
            return true;
        default:
            return false;
    }
}

// Insulation (2, 102): fields 7 to 12 carry the resistances that the sub-function measured
// and their measuring voltages.
namespace iso {
enum Target : uint8_t {
    None,
    Rln,
    Rlpe,
    Rnpe,
    R12,
    R13,
    R23,
    R,
    UmRln,
    UmRlpe,
    UmRnpe,
    UmR12,
    UmR13,
    UmR23,
    UmR,
    Esys,       // both codes
    EsysCode2,  // code 2 only
};
using Row = std::array<Target, 6>;
constexpr Row kSingle(Target r, Target um) {
    return {r, um, EsysCode2, None, None, None};
}
// Indexed by sub-function 0 .. 23.
constexpr std::array<Row, 24> kRows = {
    kSingle(Rln, UmRln),                          // 0
    kSingle(Rlpe, UmRlpe),                        // 1
    kSingle(Rnpe, UmRnpe),                        // 2
    Row{Rln, Rlpe, Rnpe, UmRln, UmRlpe, UmRnpe},  // 3
    Row{Rlpe, Rnpe, UmRlpe, UmRnpe, Esys, None},  // 4
    Row{Rln, Rlpe, UmRln, UmRlpe, Esys, None},    // 5
    kSingle(R12, UmR12),                          // 6
    kSingle(R13, UmR13),                          // 7
    kSingle(R23, UmR23),                          // 8
    Row{R12, R13, R23, UmR12, UmR13, UmR23},      // 9
    kSingle(Rlpe, UmRlpe),                        // 10
    kSingle(Rln, UmRln),                          // 11
    kSingle(R12, UmR12),                          // 12
    kSingle(Rnpe, UmRnpe),                        // 13
    Row{R, UmR},                                  // 14
    Row{R, UmR},                                  // 15
    Row{R, UmR},                                  // 16
    Row{R, UmR},                                  // 17
    Row{R, UmR},                                  // 18
    Row{R, UmR},                                  // 19
    Row{R, UmR},                                  // 20
    Row{R, UmR},                                  // 21
    Row{R, UmR},                                  // 22
    Row{R, UmR},                                  // 23
};
}  // namespace iso

void Parser::isoSubField(int column, sv t) {
    auto& s = r_.ISO;
    if (s.SubFunction >= iso::kRows.size()) return;
    switch (iso::kRows[s.SubFunction][column]) {
        case iso::None:
            return;
        case iso::Rln:
            return split(s.Rln, t);
        case iso::Rlpe:
            return split(s.Rlpe, t);
        case iso::Rnpe:
            return split(s.Rnpe, t);
        case iso::R12:
            return split(s.R12, t);
        case iso::R13:
            return split(s.R13, t);
        case iso::R23:
            return split(s.R23, t);
        case iso::R:
            return split(s.R, t);
        case iso::UmRln:
            return set(s.UmRln, t);
        case iso::UmRlpe:
            return set(s.UmRlpe, t);
        case iso::UmRnpe:
            return set(s.UmRnpe, t);
        case iso::UmR12:
            return set(s.UmR12, t);
        case iso::UmR13:
            return set(s.UmR13, t);
        case iso::UmR23:
            return set(s.UmR23, t);
        case iso::UmR:
            return set(s.UmR, t);
        case iso::Esys:
            return esys(s.EarthingSystem, t);
        case iso::EsysCode2:
            if (code_ == 2) esys(s.EarthingSystem, t);
            return;
    }
}

bool Parser::iso2(int n, sv t) {
    auto& s = r_.ISO;
    switch (n) {
        case 3:
            mapSpan(s.SubFunction, t, {{0, 9, 0}, {11, 14, 10}, {20, 29, 14}});
            return true;
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            set(s.Uiso, t);
            return true;
        case 6:
            split(s.Lim, t);
            return true;
        case 13:
            if (code_ == 102 || s.SubFunction == 3 || s.SubFunction == 9) esys(s.EarthingSystem, t);
            return true;
        default:
            if (n >= 7 && n <= 12) {
                isoSubField(n - 7, t);
                return true;
            }
            return false;
    }
}

// Insulation of code 18: mode 0 with a sub-function in field 5, modes 1 and 2 single
// measurements.
bool Parser::iso18(int n, sv t) {
    auto& s = r_.ISO;
    if (n == 3) {
        mapSpan(s.Mode, t, {{0, 2, 0}});
        return true;
    }
    if (n == 4) {
        status(s.Status, t);
        return true;
    }
    if (n < 5 || n > 14) return false;
    const int sub = s.SubFunction;
    if (s.Mode == 1) {
        switch (n) {
            case 5:
                split(s.Lim, t);
                break;
            case 6:
                split(s.R, t);
                break;
            case 7:
                set(s.UmR, t);
                break;
            case 8:
                esys(s.EarthingSystem, t);
                break;
        }
        return true;
    }
    if (s.Mode == 2) {
        switch (n) {
            case 5:
                split(s.Lim, t);
                break;
            case 6:
                split(s.Rlpe, t);
                break;
            case 7:
                set(s.UmRlpe, t);
                break;
            case 8:
                split(s.Rnpe, t);
                break;
            case 9:
                set(s.UmRnpe, t);
                break;
            case 10:
                esys(s.EarthingSystem, t);
                break;
        }
        return true;
    }
    switch (n) {
        case 5:
            mapSpan(s.SubFunction, t, {{0, 5, 0}});
            break;
        case 6:
            set(s.Uiso, t);
            break;
        case 7:
            split(s.Lim, t);
            break;
        case 8:
            if (sub == 0 || sub == 3 || sub == 5)
                split(s.Rln, t);
            else if (sub == 1 || sub == 4)
                split(s.Rlpe, t);
            else if (sub == 2)
                split(s.Rnpe, t);
            break;
        case 9:
            if (sub == 3 || sub == 5)
                split(s.Rlpe, t);
            else if (sub == 4)
                split(s.Rnpe, t);
            else if (sub == 0)
                set(s.UmRln, t);
            else if (sub == 1)
                set(s.UmRlpe, t);
            else if (sub == 2)
                set(s.UmRnpe, t);
            break;
        case 10:
            if (sub == 3)
                split(s.Rnpe, t);
            else if (sub == 4)
                set(s.UmRlpe, t);
            else if (sub == 5)
                set(s.UmRln, t);
            else if (sub <= 2)
                esys(s.EarthingSystem, t);
            break;
        case 11:
            if (sub == 3)
                set(s.UmRln, t);
            else if (sub == 4)
                set(s.UmRnpe, t);
            else if (sub == 5)
                set(s.UmRlpe, t);
            break;
        case 12:
            if (sub == 3)
                set(s.UmRlpe, t);
            else if (sub == 4 || sub == 5)
                esys(s.EarthingSystem, t);
            break;
        case 13:
            if (sub == 3) set(s.UmRnpe, t);
            break;
        case 14:
            if (sub == 3) esys(s.EarthingSystem, t);
            break;
    }
    return true;
}

bool Parser::iso55(int n, sv t) {
    auto& s = r_.ISO;
    const int sub = s.SubFunction;
    switch (n) {
        case 3:
            mapSpan(s.SubFunction, t, {{0, 0, 0}, {1, 4, 10}});
            return true;
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            set(s.Uiso, t);
            return true;
        case 6:
            splitDash(s.Lim, t);
            return true;
        case 7:
            if (sub == 0 || sub == 11)
                split(s.Rln, t);
            else if (sub == 10)
                split(s.Rlpe, t);
            else if (sub == 12)
                split(s.R12, t);
            else if (sub == 13)
                split(s.Rnpe, t);
            return true;
        case 8:
            if (sub == 0 || sub == 11)
                set(s.UmRln, t);
            else if (sub == 10)
                set(s.UmRlpe, t);
            else if (sub == 12)
                set(s.UmR12, t);
            else if (sub == 13)
                set(s.UmRnpe, t);
            return true;
        case 9:
            set(s.DAR, t);
            return true;
        case 10:
            set(s.PI, t);
            return true;
        case 11:
            set(s.R60, t);
            return true;
        default:
            return false;
    }
}

bool Parser::iso116(int n, sv t) {
    auto& s = r_.ISO;
    switch (n) {
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            set(s.R, t);
            return true;
        case 6:
            set(s.UmR, t);
            return true;
        case 7:
            set(s.R60, t);
            return true;
        case 8:
            set(s.DAR, t);
            return true;
        case 9:
            set(s.PI, t);
            return true;
        case 10:
            set(s.Uiso, t);
            return true;
        case 11:
            esys(s.EarthingSystem, t);
            return true;
        default:
            return false;
    }
}

// Continuity (3, 103).
bool Parser::cont3(int n, sv t) {
    auto& s = r_.CONT;
    const int sub = s.SubFunction;
    const bool code3 = code_ == 3;
    switch (n) {
        case 3:
            mapSpan(s.SubFunction, t, {{0, 5, 0}});
            return true;
        case 4:
            status(s.Status, t);
            return true;
        case 11:
            set(s.Text598, t);
            return true;
        case 12:
            esys(s.EarthingSystem, t);
            return true;
        default:
            break;
    }
    if (n < 5 || n > 10) return false;
    if (sub == 0 || sub == 4) {
        if (n == 5)
            set(s.Limit, t);
        else if (n == 6)
            set(s.R, t);
        else if (n == 7 && code3)
            esys(s.EarthingSystem, t);
    } else if (sub == 1 || sub == 3) {
        if (n == 5)
            set(s.Limit, t);
        else if (n == 6)
            set(s.R, t);
        else if (n == 7)
            set(s.Rplus, t);
        else if (n == 8)
            set(s.Rminus, t);
        else if (n == 9 && code3)
            esys(s.EarthingSystem, t);
    } else if (sub == 2) {
        const bool noFuse = s.FuseType == "0";
        switch (n) {
            case 5:
                s.FuseType.assign(t);
                break;
            case 6:
                if (noFuse) split(s.Fuse_I, t);
                break;
            case 7:
                if (noFuse) set(s.Uc, t);
                break;
            case 8:
                set(s.Limit2, t);
                break;
            case 9:
                set(s.Text596, t);
                break;
            case 10:
                set(s.Rpe, t);
                break;
        }
    } else if (sub == 5) {
        switch (n) {
            case 5:
                split(s.Fuse_I, t);
                break;
            case 6:
                set(s.Uc, t);
                break;
            case 7:
                set(s.RPE_lim, t);
                break;
            case 8:
                set(s.RPEcal, t);
                break;
            case 9:
                set(s.Rpe, t);
                break;
            case 10:
                if (code3) esys(s.EarthingSystem, t);
                break;
        }
    }
    return true;
}

bool Parser::cont56(int n, sv t) {
    auto& s = r_.CONT;
    const int sub = s.SubFunction;
    switch (n) {
        case 3:
            mapSpan(s.SubFunction, t, {{0, 1, 0}});
            return true;
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            if (sub == 0 || sub == 1) dash(s.Limit, t);
            return true;
        case 6:
            if (sub < 2) set(s.R, t);
            return true;
        case 7:
            if (sub == 1) set(s.Rplus, t);
            return true;
        case 8:
            if (sub == 1) set(s.Rminus, t);
            return true;
        default:
            return false;
    }
}

// Line impedance (4, 104). Sub-function 11 is the voltage-drop measurement; 1 and 9 (L-N)
// and 2 and 10 (L-L) carry the prospective short-circuit current limits in fields 13 on.
bool Parser::zline4(int n, sv t) {
    auto& s = r_.ZLINE;
    const int sub = s.SubFunction;
    const bool drop = sub == 11;
    const bool lineToNeutral = sub == 1 || sub == 9;
    const bool lineToLine = sub == 2 || sub == 10;
    // Code 4 results of sub-function 0 mark fields 13, 16 and 18 with "3".
    const bool marked = code_ == 4 && sub == 0 && t == "3";
    switch (n) {
        case 3:
            if (auto v =
                    lookupSpan(t, {{0, 2, 0}, {3, 3, 11}, {10, 15, 3}, {98, 98, 9}, {99, 99, 10}}))
                s.SubFunction = uint8_t(*v);
            else if (auto number = parseInt(t); number && *number >= 4 && *number <= 9)
                s.SubFunction = 0;
            else
                flag();
            return true;
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            s.FuseType.assign(t);
            return true;
        case 6:
            split(s.Fuse_I, t);
            return true;
        case 7:
            split(s.Fuse_t, t);
            return true;
        case 8:
            if (drop)
                set(s.dU_lim, t);
            else if (!korven() && !s.FuseType.empty())
                set(s.Isc_lim, t);
            else
                set(s.Z_lim, t);
            return true;
        case 9:
            if (drop)
                set(s.dU, t);
            else
                split(s.Z, t);
            return true;
        case 10:
            split(s.Isc, t);
            return true;
        case 11:
            if (drop)
                set(s.Z, t);
            else
                split(s.R, t);
            return true;
        case 12:
            if (drop)
                set(s.Zref, t);
            else
                split(s.Xl, t);
            return true;
        case 13:
            if (lineToNeutral)
                set(s.IscMaxLN, t);
            else if (lineToLine)
                set(s.IscMax3ph, t);
            else if (marked)
                s.dUFlag = 1;
            return true;
        case 14:
            if (lineToNeutral)
                set(s.IscMinLN, t);
            else if (lineToLine)
                set(s.IscMin3ph, t);
            return true;
        case 15:
            if (lineToNeutral)
                set(s.IscStd, t);
            else if (lineToLine)
                set(s.IscMax2ph, t);
            return true;
        case 16:
            if (lineToLine)
                set(s.IscMin2ph, t);
            else if (marked)
                s.dUFlag = 1;
            return true;
        case 17:
            if (lineToLine) set(s.IscStd, t);
            return true;
        case 18:
            if (code_ == 104)
                esys(s.EarthingSystem, t);
            else if (marked)
                s.dUFlag = 1;
            return true;
        case 19:
            if (sub == 2 || sub == 10) esys(s.EarthingSystem, t);
            return true;
        default:
            return false;
    }
}

bool Parser::zline52(int n, sv t) {
    auto& s = r_.ZLINE;
    switch (n) {
        case 3:
            if (t == "0")
                s.SubFunction = 0;
            else if (t == "1")
                s.SubFunction = 11;
            else if (auto number = parseInt(t); number && *number >= 3)
                s.SubFunction = 0;
            else
                flag();
            return true;
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            s.FuseType.assign(t);
            return true;
        case 6:
            split(s.Fuse_I, t);
            return true;
        case 7:
            split(s.Fuse_t, t);
            return true;
        case 8:
            set(korven() ? s.Z_lim : s.Isc_lim, t);
            return true;
        case 9:
            split(s.Z, t);
            return true;
        case 10:
            split(s.Isc, t);
            return true;
        case 11:
            set(s.dU_lim, t);
            return true;
        case 12:
            set(s.dU, t);
            return true;
        case 13:
            split(s.Zref, t);
            return true;
        default:
            return false;
    }
}

// Loop impedance (5, 105). Under the reduced-voltage systems (3 .. 5) fields 10 to 13 hold
// the two loops' impedances and currents.
bool Parser::zloop5(int n, sv t) {
    auto& s = r_.ZLOOP;
    const int sub = s.SubFunction;
    const bool rcdLoop = sub == 12;
    const bool tn = s.EarthingSystem == 1 || s.EarthingSystem == 2;
    const bool reduced = s.EarthingSystem >= 3 && s.EarthingSystem <= 5;
    switch (n) {
        case 3:
            mapSpan(s.SubFunction, t, {{0, 2, 0}, {3, 3, 2}, {5, 5, 5}, {9, 9, 12}, {10, 15, 6}});
            return true;
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            esys(s.EarthingSystem, t);
            return true;
        case 6:
            if (rcdLoop)
                set(s.RCD, t);
            else
                s.FuseType.assign(t);
            return true;
        case 7:
            if (rcdLoop)
                set(s.Rlim, t);
            else
                split(s.Fuse_I, t);
            return true;
        case 8:
            if (rcdLoop)
                set(s.Uc, t);
            else
                split(s.Fuse_t, t);
            return true;
        case 9:
            if (!korven() && !s.FuseType.empty()) {
                set(s.Isc_lim, t);
            } else {
                set(s.Z_lim, t);
                if (s.FuseType.empty() && t == "70.0") s.UbFlag = 1;
            }
            return true;
        case 10:
            if (reduced)
                set(s.Z1, t);
            else
                split(s.Z, t);
            return true;
        case 11:
            if (reduced)
                set(s.Z2, t);
            else
                split(s.Isc, t);
            return true;
        case 12:
            if (tn)
                split(s.R, t);
            else if (reduced)
                split(s.Isc1, t);
            return true;
        case 13:
            if (tn)
                split(s.Xl, t);
            else if (reduced)
                split(s.Isc2, t);
            return true;
        case 14:
            set(s.IscMaxLPE, t);
            if (t == "3" && (sub == 0 || (sub >= 2 && sub <= 5))) s.UbFlag = 1;
            return true;
        case 15:
            set(s.IscMinLPE, t);
            return true;
        case 16:
            set(s.IscStd, t);
            return true;
        case 17:
            set(s.Ub, t);
            return true;
        case 18:
            if (sub == 1 && t == "3") s.UbFlag = 1;
            return true;
        default:
            return false;
    }
}

bool Parser::zloop53(int n, sv t) {
    auto& s = r_.ZLOOP;
    switch (n) {
        case 3:
            mapSpan(s.SubFunction, t, {{1, 2, 3}});
            return true;
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            s.FuseType.assign(t);
            return true;
        case 6:
            split(s.Fuse_I, t);
            return true;
        case 7:
            split(s.Fuse_t, t);
            return true;
        case 8:
            set(korven() ? s.Z_lim : s.Isc_lim, t);
            return true;
        case 9:
            split(s.Z, t);
            return true;
        case 10:
            split(s.Isc, t);
            return true;
        case 11:
            split(s.R, t);
            return true;
        case 12:
            split(s.Xl, t);
            return true;
        default:
            return false;
    }
}

// RCD tests. The layout of code 54 from field 8 on, by test; code 6 and 106 read the same
// layout one field later (their field 5 holds the earthing system).
void Parser::rcdColumn(RcdColumn column, int n54, sv t, bool systemDependent) {
    auto& s = r_.RCD;
    switch (column) {
        case RcdColumn::TripTime:
            if (n54 == 8)
                set(s.Ulim, t);
            else if (n54 == 9)
                split(s.t, t);
            else if (n54 == 10)
                set(s.Uc, t);
            else if (n54 >= 11 && n54 <= 15)
                flag();
            return;
        case RcdColumn::TripCurrent:
            if (n54 == 8)
                split(s.I, t);
            else if (n54 == 9)
                set(s.Uci, t);
            else if (n54 == 10)
                split(s.t, t);
            else if (n54 == 11)
                set(s.Uc, t);
            else if (n54 >= 12 && n54 <= 15)
                flag();
            return;
        case RcdColumn::AutoOld: {
            TResultValue* const kOrder[] = {&s.t1_0,  &s.t1_180,  &s.t5_0, &s.t5_180,
                                            &s.t12_0, &s.t12_180, &s.Id_0, &s.Id_180};
            if (n54 >= 8 && n54 <= 15)
                split(*kOrder[n54 - 8], t);
            else if (n54 == 16)
                set(s.Uc, t);
            return;
        }
        case RcdColumn::AutoNew: {
            TResultValue* const kOrder[] = {&s.t1_0,   &s.t1_180, &s.t2_0,    &s.t2_180, &s.t5_0,
                                            &s.t5_180, &s.t12_0,  &s.t12_180, &s.Id_0,   &s.Id_180};
            if (n54 >= 8 && n54 <= 17)
                split(*kOrder[n54 - 8], t);
            else if (n54 == 18)
                set(s.Uc, t);
            return;
        }
        case RcdColumn::TouchVoltage: {
            const bool tn = s.EarthingSystem == 1 || s.EarthingSystem == 2;
            const bool reduced = systemDependent && s.EarthingSystem >= 3 && s.EarthingSystem <= 5;
            if (n54 == 8) {
                if (tn)
                    set(s.Uc, t);
                else if (reduced)
                    set(s.Uc1, t);
            } else if (n54 == 9) {
                if (tn)
                    set(s.Rl, t);
                else if (reduced)
                    set(s.Rl1, t);
            } else if (n54 == 10) {
                set(reduced ? s.Uc2 : s.Rlim, t);
            } else if (n54 == 11) {
                if (reduced) set(s.Rl2, t);
            } else if (n54 >= 12 && n54 <= 15) {
                flag();
            }
            return;
        }
    }
}

bool Parser::rcd54(int n, sv t) {
    auto& s = r_.RCD;
    const int sub = s.SubFunction;
    switch (n) {
        case 3:
            mapSpan(s.SubFunction, t, {{1, 4, 0}});
            return true;
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            split(s.Idn, t);
            return true;
        case 6:
            s.RcdType.assign(t);
            return true;
        case 7:
            if (sub != 0)
                set(s.Ulim, t);
            else
                s.Multiplier.assign(t);
            return true;
        default:
            break;
    }
    if (n < 8 || n > 18) return false;
    switch (sub) {
        case 0:
            rcdColumn(RcdColumn::TripTime, n, t, false);
            break;
        case 1:
            rcdColumn(RcdColumn::TripCurrent, n, t, false);
            break;
        case 2:
            rcdColumn(c_.protVer >= 2 ? RcdColumn::AutoNew : RcdColumn::AutoOld, n, t, false);
            break;
        case 3:
            rcdColumn(RcdColumn::TouchVoltage, n, t, false);
            break;
        default:
            break;
    }
    return true;
}

// Sub-functions of 6 and 106: 0 .. 3 the four tests, 4 .. 15 the same on phases L1 .. L3
// (touch voltage 4 .. 6, trip time 7 .. 9, trip current 10 .. 12, automatic test 13 .. 15).
bool Parser::rcd6(int n, sv t) {
    auto& s = r_.RCD;
    const int sub = s.SubFunction;
    switch (n) {
        case 3:
            mapSpan(s.SubFunction, t, {{0, 3, 0}, {10, 21, 4}});
            return true;
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            esys(s.EarthingSystem, t);
            return true;
        case 6:
            split(s.Idn, t);
            return true;
        case 7:
            s.RcdType.assign(t);
            return true;
        case 8:
            if (sub >= 7 && sub <= 9)
                s.Multiplier.assign(t);
            else if (sub == 0 || (sub >= 3 && sub <= 6) || (sub >= 10 && sub <= 15))
                set(s.Ulim, t);
            return true;
        default:
            break;
    }
    if (n < 9 || n > 19) return false;
    if (sub == 1 || (sub >= 10 && sub <= 12))
        rcdColumn(RcdColumn::TripCurrent, n - 1, t, true);
    else if (sub == 2 || (sub >= 13 && sub <= 15))
        rcdColumn(RcdColumn::AutoNew, n - 1, t, true);
    else if (sub == 0 || (sub >= 7 && sub <= 9))
        rcdColumn(RcdColumn::TripTime, n - 1, t, true);
    else if (sub >= 3 && sub <= 6)
        rcdColumn(RcdColumn::TouchVoltage, n - 1, t, true);
    return true;
}

// Earth resistance (8, 108): sub-function 0 three-wire, 1 with the re-measured electrode,
// 2 clamp, 3 resistivity.
bool Parser::earth8(int n, sv t) {
    auto& s = r_.EARTH;
    const int sub = s.SubFunction;
    const bool code8 = code_ == 8;
    switch (n) {
        case 3:
            mapSpan(s.SubFunction, t, {{0, 3, 0}});
            return true;
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            if (sub < 3)
                set(s.Limit, t);
            else if (sub == 3)
                split(s.Distance, t);
            return true;
        case 6:
            if (sub < 3) set(s.R, t);
            return true;
        case 7:
            if (sub == 0)
                split(s.Rc, t);
            else if (sub == 1)
                split(s.Re, t);
            else if (sub == 3)
                split(s.Rho, t);
            else if (sub == 2 && code8)
                esys(s.EarthingSystem, t);
            return true;
        case 8:
            if (sub == 0)
                split(s.Rp, t);
            else if (sub == 1 || sub == 3)
                split(s.Rc, t);
            return true;
        case 9:
            if (sub == 1 || sub == 3)
                split(s.Rp, t);
            else if (sub == 0 && code8)
                esys(s.EarthingSystem, t);
            return true;
        case 10:
            esys(s.EarthingSystem, t);
            return true;
        default:
            return false;
    }
}

bool Parser::earth57(int n, sv t) {
    auto& s = r_.EARTH;
    const int sub = s.SubFunction;
    const bool resistance = sub < 3 || sub == 4;
    switch (n) {
        case 3:
            mapSpan(s.SubFunction, t, {{0, 4, 0}});
            return true;
        case 4:
            status(s.Status, t);
            return true;
        case 6:
            if (resistance)
                dash(s.Limit, t);
            else
                splitDash(s.Distance, t);
            return true;
        case 7:
            if (resistance)
                set(s.R, t);
            else if (sub == 3)
                set(s.Rho, t);
            return true;
        case 8:
            if (sub != 2) split(s.Rc, t);
            return true;
        case 9:
            if (sub != 2) split(s.Rp, t);
            return true;
        default:
            return false;
    }
}

bool Parser::earth73(int n, sv t) {
    auto& s = r_.EARTH;
    switch (n) {
        case 3:
            mapSpan(s.SubFunction, t, {{0, 4, 0}});
            return true;
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            return true;
        case 6:
            dash(s.Limit, t);
            return true;
        case 7:
            set(s.R, t);
            return true;
        case 8:
            split(s.Rc, t);
            return true;
        case 9:
            split(s.Rp, t);
            return true;
        default:
            return false;
    }
}

bool Parser::current9(int n, sv t) {
    auto& s = r_.CURRENT;
    switch (n) {
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            set(s.Limit, t);
            return true;
        case 6:
            split(s.I, t);
            return true;
        case 7:
            esys(s.EarthingSystem, t);
            return true;
        default:
            return false;
    }
}

bool Parser::current58(int n, sv t) {
    auto& s = r_.CURRENT;
    switch (n) {
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            dash(s.Limit, t);
            return true;
        case 6:
            split(s.I, t);
            return true;
        default:
            return false;
    }
}

bool Parser::sensor13(int n, sv t) {
    auto& s = r_.SENSOR;
    switch (n) {
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            set(s.Limit, t);
            return true;
        case 6:
            set(s.E, t);
            return true;
        case 7:
            esys(s.EarthingSystem, t);
            return true;
        default:
            return false;
    }
}

bool Parser::imd14(int n, sv t) {
    auto& s = r_.IMD;
    switch (n) {
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            if (t == "0")
                s.LimitKind = 0;
            else if (t == "1")
                s.LimitKind = 2;
            else if (t == "2")
                s.LimitKind = 1;
            else
                flag();
            return true;
        case 6:
            if (s.LimitKind == 2)
                split(s.LimR, t);
            else if (s.LimitKind == 1)
                split(s.LimI, t);
            return true;
        case 7:
            split(s.I1, t);
            return true;
        case 8:
            split(s.I2, t);
            return true;
        case 9:
            split(s.R1, t);
            return true;
        case 10:
            split(s.R2, t);
            return true;
        case 11:
            esys(s.EarthingSystem, t);
            return true;
        default:
            return false;
    }
}

bool Parser::isfl15(int n, sv t) {
    auto& s = r_.ISFL;
    switch (n) {
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            split(s.Lim, t);
            return true;
        case 6:
            split(s.Isc1, t);
            return true;
        case 7:
            split(s.Isc2, t);
            return true;
        case 8:
            return true;
        case 9:
            esys(s.EarthingSystem, t);
            return true;
        default:
            return false;
    }
}

// Visual inspection: kinds 0 .. 5 and 6 .. 11 are the two halves of the question groups;
// the answer goes to G1 .. G6 by group.
bool Parser::visual16(int n, sv t) {
    auto& s = r_.VISUAL;
    switch (n) {
        case 3:
            mapSpan(s.Kind, t, {{0, 5, 5, -1}, {6, 11, 11, -1}});
            return true;
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            s.G.at(s.Kind % s.G.size()).assign(t);
            return true;
        default:
            return false;
    }
}

// Earth continuity (17): sub-function 0 with a chosen test current, 1 and 3 with reversed
// polarity, 2 and 4 the earthing conductor with its protective device.
bool Parser::ertcont17(int n, sv t) {
    auto& s = r_.ERTCONT;
    const int sub = s.SubFunction;
    switch (n) {
        case 3:
            if (t == "0")
                s.SubFunction = 1;
            else if (t == "1")
                s.SubFunction = 2;
            else if (t == "2")
                s.SubFunction = 3;
            else if (t == "3")
                s.SubFunction = 0;
            else if (t == "4")
                s.SubFunction = 4;
            else
                flag();
            return true;
        case 4:
            status(s.Status, t);
            return true;
        default:
            break;
    }
    if (n < 5 || n > 12) return false;
    if (sub == 0) {
        const bool high = s.TestCurrent.Value == "200";
        const bool low = s.TestCurrent.Value == "7";
        switch (n) {
            case 5:
                mapText(s.TestCurrent.Value, t, {{"0", "7"}, {"1", "200"}});
                break;
            case 6:
                set(s.Limit, t);
                break;
            case 7:
                set(s.R, t);
                break;
            case 8:
                if (high)
                    set(s.Rplus, t);
                else if (low)
                    esys(s.EarthingSystem, t);
                break;
            case 9:
                if (high) set(s.Rminus, t);
                break;
            case 10:
                if (high) esys(s.EarthingSystem, t);
                break;
        }
    } else if (sub == 1 || sub == 3) {
        switch (n) {
            case 5:
                set(s.Limit, t);
                break;
            case 6:
                set(s.R, t);
                break;
            case 7:
                set(s.Rplus, t);
                break;
            case 8:
                set(s.Rminus, t);
                break;
            case 9:
                esys(s.EarthingSystem, t);
                break;
        }
    } else if (sub == 2 || sub == 4) {
        switch (n) {
            case 5:
                mapText(s.ProtectiveDevice, t,
                        {{"0", ""}, {"1", "B"}, {"2", "C"}, {"3", "D"}, {"4", "Fuse"}});
                break;
            case 6:
                set(s.CrossSection, t);
                break;
            case 7:
                set(s.DeviceCurrent, t);
                break;
            case 8:
                set(s.Re_lim, t);
                break;
            case 9:
                set(s.R, t);
                break;
            case 10:
                set(s.Rplus, t);
                break;
            case 11:
                set(s.Rminus, t);
                break;
            case 12:
                esys(s.EarthingSystem, t);
                break;
        }
    }
    return true;
}

bool Parser::polar19(int n, sv t) {
    auto& s = r_.POLAR;
    const int sub = s.SubFunction;
    switch (n) {
        case 3:
            mapSpan(s.SubFunction, t, {{0, 6, 0}});
            return true;
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            if (sub <= 3)
                set(s.R, t);
            else if (sub <= 6)
                set(s.U, t);
            else
                flag();
            return true;
        case 6:
            if (sub == 3)
                s.WiringResult = wiringResult(t);
            else
                esys(s.EarthingSystem, t);
            return true;
        case 7:
            esys(s.EarthingSystem, t);
            return true;
        default:
            return false;
    }
}

bool Parser::polar26(int n, sv t) {
    auto& s = r_.POLAR;
    switch (n) {
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            set(s.R, t);
            return true;
        case 6:
            esys(s.EarthingSystem, t);
            return true;
        default:
            return false;
    }
}

// Wiring check (20): sub-functions 0 .. 3 one resistance and the wiring result, 4 .. 6
// the three conductor resistances (5 and 6 with their limits).
bool Parser::corrconn20(int n, sv t) {
    auto& s = r_.CorrCONN;
    const int sub = s.SubFunction;
    const bool single = sub < 4;
    const bool withLimits = sub == 5 || sub == 6;
    switch (n) {
        case 3:
            mapSpan(s.SubFunction, t, {{0, 6, 0}});
            return true;
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            set(single ? s.R : s.Rln, t);
            return true;
        case 6:
            if (single)
                s.WiringResult = wiringResult(t);
            else
                set(s.Rlpe, t);
            return true;
        case 7:
            if (single)
                esys(s.EarthingSystem, t);
            else
                set(s.Rnpe, t);
            return true;
        case 8:
            if (sub == 4)
                esys(s.EarthingSystem, t);
            else if (withLimits)
                set(s.Rln_lim, t);
            return true;
        case 9:
            if (withLimits) set(s.Rlpe_lim, t);
            return true;
        case 10:
            if (withLimits) set(s.Rnpe_lim, t);
            return true;
        case 11:
            if (withLimits) esys(s.EarthingSystem, t);
            return true;
        default:
            return false;
    }
}

// Fault loop (21): device flag 0 a protective device with two cross-sections, 1 a fuse or
// RCD with its disconnection time.
bool Parser::foltloop21(int n, sv t) {
    auto& s = r_.FOLTLOOP;
    const bool deviceKind = s.DeviceFlag == 1;
    const std::initializer_list<std::pair<sv, sv>> kDeviceTypes = {
        {"0", "-"}, {"1", "B"}, {"2", "C"}, {"3", "D"}, {"4", "Fuse"}};
    const bool tn = s.EarthingSystem == 1 || s.EarthingSystem == 2;
    const bool reduced = s.EarthingSystem >= 3 && s.EarthingSystem <= 5;
    switch (n) {
        case 3:
            mapSpan(s.DeviceFlag, t, {{0, 1, 0}});
            return true;
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            esys(s.EarthingSystem, t);
            return true;
        case 6:
            if (deviceKind)
                mapText(s.DeviceKind, t, {{"0", "FUSE"}, {"1", "RCD"}});
            else
                mapText(s.DeviceType, t, kDeviceTypes);
            return true;
        case 7:
            if (deviceKind)
                mapText(s.DeviceType, t, kDeviceTypes);
            else
                set(s.CrossSection1, t);
            return true;
        case 8:
            set(deviceKind ? s.DeviceCurrent : s.CrossSection2, t);
            return true;
        case 9:
            set(deviceKind ? s.DisconnectionTime : s.DeviceCurrent, t);
            return true;
        case 10:
            set(deviceKind ? s.Zphe_lim : s.Rphe_lim, t);
            return true;
        case 11:
            if (!deviceKind)
                set(s.R, t);
            else if (tn)
                set(s.Z, t);
            else if (reduced)
                set(s.Z1, t);
            return true;
        case 12:
            if (deviceKind && reduced) set(s.Z2, t);
            return true;
        default:
            return false;
    }
}

bool Parser::checklist(TFunct_Checklist& s, int n, sv t) {
    switch (n) {
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            s.Answers.assign(t);
            return true;
        case 6:
            s.Section.assign(t);
            return true;
        default:
            return false;
    }
}

// Ring continuity (25, 125): sub-functions 0 .. 2 the ring measurements, 3 .. 5 (the
// later testers' r1, rn, r2) single conductors with reversed polarity.
bool Parser::ring25(int n, sv t) {
    auto& s = r_.RING;
    const int sub = s.SubFunction;
    const bool single = sub >= 3 && sub <= 5;
    switch (n) {
        case 3:
            mapSpan(s.SubFunction, t, {{0, 2, 0}, {4, 6, 3}});
            return true;
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            set(s.r1, t);
            return true;
        case 6:
            set(s.rN, t);
            return true;
        case 7:
            set(s.r2, t);
            return true;
        case 8:
            if (sub == 0 || sub == 2)
                set(s.R1RN, t);
            else if (sub == 1)
                set(s.R1R2, t);
            else if (single)
                set(s.Rplus, t);
            return true;
        case 9:
            if (sub == 0)
                set(s.r1rN_4, t);
            else if (sub == 1)
                set(s.r1r2_4, t);
            else if (sub == 2)
                set(s.R1R2, t);
            else if (single)
                set(s.Rminus, t);
            return true;
        case 10:
            if (sub == 2)
                set(s.r1rN_4, t);
            else
                esys(s.EarthingSystem, t);
            return true;
        case 11:
            if (sub == 2)
                set(s.r1r2_4, t);
            else if (single)
                set(s.Limit, t);
            return true;
        case 12:
            if (sub == 2) esys(s.EarthingSystem, t);
            return true;
        default:
            return false;
    }
}

bool Parser::ring61(int n, sv t) {
    auto& s = r_.RING;
    const int sub = s.SubFunction;
    const bool known = sub >= 3 && sub <= 6;
    switch (n) {
        case 3:
            if (t == "2")
                s.SubFunction = 3;
            else if (t == "3")
                s.SubFunction = 4;
            else if (t == "4")
                s.SubFunction = 5;
            else if (t == "7")
                s.SubFunction = 6;
            else
                flag();
            return true;
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            if (known) dash(s.Limit, t);
            return true;
        case 6:
            if (sub == 3)
                set(s.r1, t);
            else if (sub == 4)
                set(s.rN, t);
            else if (sub == 5)
                set(s.r2, t);
            else if (sub == 6)
                set(s.R1RN, t);
            return true;
        case 7:
            if (known) set(s.Rplus, t);
            return true;
        case 8:
            if (known) set(s.Rminus, t);
            return true;
        default:
            return false;
    }
}

bool Parser::ring63(int n, sv t) {
    auto& s = r_.RING;
    switch (n) {
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            set(s.r1, t);
            return true;
        case 6:
            set(s.rN, t);
            return true;
        case 7:
            set(s.r2, t);
            return true;
        case 8:
            set(s.r1rN_4, t);
            return true;
        case 9:
            set(s.r1r2_4, t);
            return true;
        case 10:
            set(s.R1RN, t);
            return true;
        case 11:
            set(s.R1R2, t);
            return true;
        default:
            return false;
    }
}

// Continuity at sockets (27, 127): sub-function 0 R2, 1 R1+R2, 2 a test with a chosen
// test current, 3 and 4 (the later testers' R1+R2 and R2) with reversed polarity.
bool Parser::contat27(int n, sv t) {
    auto& s = r_.CONTAT;
    const int sub = s.SubFunction;
    const bool chosenCurrent = sub == 2;
    const bool high = s.TestCurrent.Value == "200";
    const bool low = s.TestCurrent.Value == "7";
    switch (n) {
        case 3:
            mapSpan(s.SubFunction, t, {{0, 2, 0}, {4, 5, 3}});
            return true;
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            if (chosenCurrent)
                mapText(s.TestCurrent.Value, t, {{"0", "7"}, {"1", "200"}});
            else if (sub == 0 || sub == 1)
                mapText(s.SocketKind, t, {{"0", "Plug"}, {"1", "Universal"}});
            return true;
        case 6:
            set(s.Limit, t);
            return true;
        case 7:
            if (sub == 0 || sub == 4)
                set(s.R2, t);
            else if (sub == 1 || sub == 3)
                set(s.R1R2, t);
            else if (sub == 2)
                set(s.R, t);
            return true;
        case 8:
            if (!chosenCurrent || high)
                set(s.Rplus, t);
            else if (low)
                esys(s.EarthingSystem, t);
            return true;
        case 9:
            if (!chosenCurrent || high) set(s.Rminus, t);
            return true;
        case 10:
            if (sub < 5) esys(s.EarthingSystem, t);
            return true;
        default:
            return false;
    }
}

bool Parser::contat62(int n, sv t) {
    auto& s = r_.CONTAT;
    const int sub = s.SubFunction;
    const bool known = sub == 3 || sub == 4;
    switch (n) {
        case 3:
            mapSpan(s.SubFunction, t, {{5, 6, 3}});
            return true;
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            if (known) dash(s.Limit, t);
            return true;
        case 6:
            if (sub == 4)
                set(s.R2, t);
            else if (sub == 3)
                set(s.R1R2, t);
            return true;
        case 7:
            if (known) set(s.Rplus, t);
            return true;
        case 8:
            if (known) set(s.Rminus, t);
            return true;
        default:
            return false;
    }
}

bool Parser::varistor28(int n, sv t) {
    auto& s = r_.VARISTOR;
    switch (n) {
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            set(s.LoLim, t);
            return true;
        case 6:
            set(s.HiLim, t);
            return true;
        case 7:
            split(s.It, t);
            return true;
        case 8:
            set(s.U, t);
            return true;
        case 9:
            set(s.Uac, t);
            return true;
        case 10:
            esys(s.EarthingSystem, t);
            return true;
        default:
            return false;
    }
}

bool Parser::loopRe29(int n, sv t) {
    auto& s = r_.LOOP_Re;
    switch (n) {
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            set(s.Re, t);
            return true;
        case 6:
            esys(s.EarthingSystem, t);
            return true;
        default:
            return false;
    }
}

bool Parser::tchvolt33(int n, sv t) {
    auto& s = r_.TCH_VOLT;
    switch (n) {
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            s.Limit.assign(t);
            return true;
        case 6:
            set(s.Udc, t);
            return true;
        case 7:
            set(s.Uac, t);
            return true;
        case 8:
            esys(s.EarthingSystem, t);
            return true;
        default:
            return false;
    }
}

bool Parser::incneutr35(int n, sv t) {
    auto& s = r_.INC_NEUTR;
    switch (n) {
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            set(s.Z_lim, t);
            return true;
        case 6:
            split(s.Z, t);
            return true;
        case 7:
            split(s.Isc, t);
            return true;
        case 8:
            split(s.R, t);
            return true;
        case 9:
            split(s.Xl, t);
            return true;
        case 10:
            esys(s.EarthingSystem, t);
            return true;
        default:
            return false;
    }
}

bool Parser::socket64(int n, sv t) {
    auto& s = r_.SOCKET;
    switch (n) {
        case 3:
            if (t == "0")
                s.SubFunction = 2;
            else if (t == "1")
                s.SubFunction = 0;
            else if (t == "2")
                s.SubFunction = 1;
            else
                flag();
            return true;
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            set(s.Limit, t);
            return true;
        case 6:
            set(s.Rln, t);
            return true;
        case 7:
            set(s.Rlpe, t);
            return true;
        case 8:
            set(s.Rnpe, t);
            return true;
        case 9:
            set(s.Rpe, t);
            return true;
        default:
            return false;
    }
}

bool Parser::voltTest(TFunct_VoltTest& s, int n, sv t) {
    switch (n) {
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            return true;
        case 6:
            split(s.Iflt, t);
            return true;
        case 7:
            split(s.Iset, t);
            return true;
        case 8:
            split(s.Igen, t);
            return true;
        case 9:
            splitDash(s.Rinp, t);
            return true;
        case 10:
            set(s.Ulim, t);
            return true;
        case 11:
            set(s.U, t);
            return true;
        case 12:
            set(s.Um, t);
            return true;
        default:
            return false;
    }
}

bool Parser::resmicro80(int n, sv t) {
    auto& s = r_.RES_MICRO;
    switch (n) {
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            return true;
        case 6:
            set(s.Rx, t);
            return true;
        case 7:
            set(s.Ux, t);
            return true;
        case 8:
            set(s.Ix, t);
            return true;
        case 9:
            set(s.Range, t);
            return true;
        case 10:
            set(s.TestCurrent, t);
            return true;
        case 11:
            set(s.Duration, t);
            return true;
        case 12:
        case 13:
            return true;
        default:
            return false;
    }
}

bool Parser::voltTo201(int n, sv t) {
    auto& s = r_.VOLT_TO;
    switch (n) {
        case 4:
            status(s.Status, t);
            return true;
        case 5:
            set(s.U, t);
            return true;
        case 6:
            set(s.f, t);
            return true;
        case 7:
            s.Time.assign(t);
            return true;
        case 8:
            s.Date.assign(t);
            return true;
        default:
            return false;
    }
}

bool Parser::isoTo202(int n, sv t) {
    auto& s = r_.ISO_TO;
    TResultValue* const kValues[] = {&s.R, &s.U, &s.I, &s.C, &s.Rmax, &s.Rmin, &s.Un, &s.tm};
    if (n == 4)
        status(s.Status, t);
    else if (n >= 5 && n <= 12)
        set(*kValues[n - 5], t);
    else if (n == 13)
        s.Time.assign(t);
    else if (n == 14)
        s.Date.assign(t);
    else
        return false;
    return true;
}

bool Parser::diagnTo204(int n, sv t) {
    auto& s = r_.DIAGN_TO;
    TResultValue* const kValues[] = {&s.R,   &s.U,   &s.I,  &s.C,  &s.Rt1, &s.Rt2,
                                     &s.Rt3, &s.DAR, &s.PI, &s.DD, &s.Un,  &s.tm};
    TResultValue* const kTimes[] = {&s.t1, &s.t2, &s.t3};
    if (n == 4)
        status(s.Status, t);
    else if (n >= 5 && n <= 16)
        set(*kValues[n - 5], t);
    else if (n >= 17 && n <= 19)
        splitReplace(*kTimes[n - 17], t);
    else if (n == 20)
        s.Time.assign(t);
    else if (n == 21)
        s.Date.assign(t);
    else
        return false;
    return true;
}

bool Parser::stepvTo206(int n, sv t) {
    auto& s = r_.STEPV_TO;
    TResultValue* const kValues[] = {&s.R, &s.U, &s.I, &s.C};
    if (n == 4)
        status(s.Status, t);
    else if (n >= 5 && n <= 8)
        set(*kValues[n - 5], t);
    else if (n >= 9 && n <= 13)
        set(s.StepR.at(n - 9), t);
    else if (n >= 14 && n <= 18)
        set(s.StepU.at(n - 14), t);
    else if (n == 19)
        set(s.Un, t);
    else if (n == 20)
        set(s.tm, t);
    else if (n >= 21 && n <= 25)
        set(s.StepTime.at(n - 21), t);
    else if (n == 26)
        s.Time.assign(t);
    else if (n == 27)
        s.Date.assign(t);
    else
        return false;
    return true;
}

bool Parser::withstTo207(int n, sv t) {
    auto& s = r_.WITHST_TO;
    TResultValue* const kValues[] = {&s.U,      &s.I,     &s.Un_start, &s.Un_stop,
                                     &s.Itrigg, &s.Tstep, &s.Tend,     &s.tm};
    if (n == 4)
        status(s.Status, t);
    else if (n >= 5 && n <= 12)
        set(*kValues[n - 5], t);
    else if (n == 13)
        s.Time.assign(t);
    else if (n == 14)
        s.Date.assign(t);
    else
        return false;
    return true;
}

// Machine testers (301 .. 305): no status field; fields up to 8, the rest ignored.
bool Parser::machine(int n, sv t) {
    if (n < 3 || n > 8) return false;
    switch (code_) {
        case 301: {
            auto& s = r_.HV_MT;
            if (n == 3)
                set(s.I, t);
            else if (n == 5)
                set(s.U, t);
            else if (n == 6)
                set(s.Imax, t);
            else if (n == 7)
                set(s.Un, t);
            break;
        }
        case 302: {
            auto& s = r_.dU_MT;
            if (n == 3)
                set(s.dU, t);
            else if (n == 4)
                set(s.I, t);
            else if (n == 5)
                set(s.U, t);
            else if (n == 6)
                set(s.dUmax, t);
            break;
        }
        case 303: {
            auto& s = r_.R10A_MT;
            if (n == 3)
                set(s.R, t);
            else if (n == 4)
                set(s.I, t);
            else if (n == 5)
                set(s.U, t);
            else if (n == 6)
                set(s.Rmax, t);
            break;
        }
        case 304: {
            auto& s = r_.MOhm_MT;
            if (n == 3)
                set(s.R, t);
            else if (n == 6)
                set(s.Rmin, t);
            else if (n == 7)
                set(s.Un, t);
            break;
        }
        case 305: {
            auto& s = r_.dt_MT;
            if (n == 3)
                set(s.t, t);
            else if (n == 7)
                set(s.Syst, t);
            break;
        }
    }
    return true;
}

}  // namespace

void splitValueField(std::string_view text, TResultValue& target) {
    const size_t n = valueLength(text);
    target.Value.assign(text.substr(0, n));
    if (n < text.size()) target.Unit.insert(0, text.substr(n));
}

void ParseFpString(std::string_view fp, const FpParseContext& context, TResultsData& results,
                   bool& newFunctionsSeen) {
    Parser(results, context, newFunctionsSeen).run(fp);
}

void ParseFpString(std::string_view fp, int protVer, StructureDocument& document,
                   TResultsData& results) {
    const FpParseContext context{document.InstrumentData.typeCode(),
                                 document.InstrumentData.InstrVariant, protVer};
    ParseFpString(fp, context, results, document.NewFunctionsSeen);
}

int TResultsData::functionCode() const {
    return functionCodeNumber(FunctionCode).value_or(0);
}

ResultRecord TResultsData::record() const {
    const FunctionCodeInfo* info = findFunctionCode(functionCode());
    return info ? info->record : ResultRecord::None;
}

}  // namespace pelvoro
