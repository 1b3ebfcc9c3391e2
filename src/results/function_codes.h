#pragma once
// Function codes: the second field of every FP string names the measurement a result
// holds, and with it the result record that the parser fills and the name the result is
// shown under. The code is compared as text ("7", never "07").

#include <optional>
#include <span>
#include <string_view>

namespace pelvoro {

// Where the FP strings of a code come from.
enum class CodeFamily {
    Unknown,
    Earlier,       // 1-35: earlier installation testers, the instrument's function number
    EarlierTyped,  // 51-64: earlier testers with instrument type code "51".."54" (code + 50)
    Single,        // 71, 72, 73, 80: single functions with layouts of their own
    LaterInstall,  // 101-127: later installation testers (DecodeInstallRecord)
    HighVoltage,   // 201-207: high-voltage insulation testers (DecodeHvRecord)
    Machine,       // 301-305: machine testers
};

// The family of a code by its range; Unknown outside every range. Being in a family's
// range does not make a code known: see findFunctionCode.
CodeFamily codeFamily(int code);

// The number of a function code text: decimal digits only, no sign, no blanks, no
// leading zero. Anything else is no function code.
std::optional<int> functionCodeNumber(std::string_view text);

// Every result record of TResultsData, once: its kind, its type, its member and the
// measurement family that reads and shows it (src/results/functions/<family>.cpp). This
// one list gives the enum, the names, the members of TResultsData, the dispatch to them
// and to the families.
#define PELVORO_RESULT_RECORDS(X)                         \
    X(Volt, TFunct_VOLT, VOLT, voltage)                   \
    X(Iso, TFunct_ISO, ISO, insulation)                   \
    X(Cont, TFunct_CONT, CONT, continuity)                \
    X(ZLine, TFunct_ZLINE, ZLINE, impedance)              \
    X(ZLoop, TFunct_ZLOOP, ZLOOP, impedance)              \
    X(Rcd, TFunct_RCD, RCD, rcd)                          \
    X(Earth, TFunct_EARTH, EARTH, earth)                  \
    X(Current, TFunct_CURRENT, CURRENT, current)          \
    X(Sensor, TFunct_SENSOR, SENSOR, current)             \
    X(Imd, TFunct_IMD, IMD, current)                      \
    X(Isfl, TFunct_ISFL, ISFL, current)                   \
    X(Visual, TFunct_VISUAL, VISUAL, inspection)          \
    X(ErtCont, TFunct_ERTCONT, ERTCONT, continuity)       \
    X(Polar, TFunct_POLAR, POLAR, wiring)                 \
    X(CorrConn, TFunct_CorrCONN, CorrCONN, wiring)        \
    X(FoltLoop, TFunct_FOLTLOOP, FOLTLOOP, impedance)     \
    X(FulSched, TFunct_FULSCHED, FULSCHED, inspection)    \
    X(DomSched, TFunct_DOMSCHED, DOMSCHED, inspection)    \
    X(Function, TFunct_FUNCTION, FUNCTION, inspection)    \
    X(Ring, TFunct_RING, RING, continuity)                \
    X(ContAt, TFunct_CONTAT, CONTAT, continuity)          \
    X(Varistor, TFunct_VARISTOR, VARISTOR, voltage)       \
    X(LoopRe, TFunct_LOOP_Re, LOOP_Re, impedance)         \
    X(Rebt02, TFunct_REBT_02, REBT_02, inspection)        \
    X(Rebt73, TFunct_REBT_73, REBT_73, inspection)        \
    X(Rebt75, TFunct_REBT_75, REBT_75, inspection)        \
    X(TchVolt, TFunct_TCH_VOLT, TCH_VOLT, voltage)        \
    X(IncNeutr, TFunct_INC_NEUTR, INC_NEUTR, impedance)   \
    X(Socket, TFunct_SOCKET, SOCKET, wiring)              \
    X(ContVolt, TFunct_CONTVOLT, CONTVOLT, machine)       \
    X(StepVolt, TFunct_STEPVOLT, STEPVOLT, machine)       \
    X(ResMicro, TFunct_RES_MICRO, RES_MICRO, machine)     \
    X(VoltTo, TFunct_VOLT_TO, VOLT_TO, highVoltage)       \
    X(IsoTo, TFunct_ISO_TO, ISO_TO, highVoltage)          \
    X(DiagnTo, TFunct_DIAGN_TO, DIAGN_TO, highVoltage)    \
    X(StepvTo, TFunct_STEPV_TO, STEPV_TO, highVoltage)    \
    X(WithstTo, TFunct_WITHST_TO, WITHST_TO, highVoltage) \
    X(HvMt, TFunct_HV_MT, HV_MT, machine)                 \
    X(DuMt, TFunct_dU_MT, dU_MT, machine)                 \
    X(R10aMt, TFunct_R10A_MT, R10A_MT, machine)           \
    X(MohmMt, TFunct_MOhm_MT, MOhm_MT, machine)           \
    X(DtMt, TFunct_dt_MT, dt_MT, machine)

// The result record of TResultsData that a code fills.
enum class ResultRecord {
    None,
#define PELVORO_RECORD_KIND(kind, type, member, family) kind,
    PELVORO_RESULT_RECORDS(PELVORO_RECORD_KIND)
#undef PELVORO_RECORD_KIND
};

// "TFunct_VOLT" ... ; "" for None.
std::string_view resultRecordName(ResultRecord record);

// A heading name is either a translation key, fetched with LangText when the heading
// line is generated ("Funct_R-ISO", "HV_16"), or mark-up written into the line as it
// stands and resolved when the line is drawn ("#K302: ", "#K301/PHASE SEQ.").
enum class HeadingKind { Key, Markup };

struct HeadingName {
    HeadingKind kind = HeadingKind::Key;
    std::string_view text;
};

struct FunctionCodeInfo {
    int code;
    ResultRecord record;
    // The first name is the usual one. Where there are more, the record's own fields
    // choose between them when the lines are generated (code 1: the second name is for
    // the variant word "AUS"; code 101: "Funct_VOLT" or "Funct_PHASEROT"; code 106:
    // trip time, trip current, automatic test, touch voltage ...).
    HeadingName names[4];
    int nameCount;
    bool boldHeading;  // the schedule and checklist codes 22-24 and 30-32
};

// The highest known code: tables indexed by code have one slot more.
inline constexpr int kHighestFunctionCode = 305;

// Every known code in ascending order.
std::span<const FunctionCodeInfo> functionCodeTable();

// Null for an unrecognised code: the parser then fills no record, sets the document's
// NewFunctionsSeen flag and the result shows no lines.
const FunctionCodeInfo* findFunctionCode(int code);
const FunctionCodeInfo* findFunctionCode(std::string_view codeText);

}  // namespace pelvoro
