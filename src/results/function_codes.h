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

// The result record of TResultsData that a code fills.
enum class ResultRecord {
    None,
    Volt,      // TFunct_VOLT
    Iso,       // TFunct_ISO
    Cont,      // TFunct_CONT
    ZLine,     // TFunct_ZLINE
    ZLoop,     // TFunct_ZLOOP
    Rcd,       // TFunct_RCD
    Earth,     // TFunct_EARTH
    Current,   // TFunct_CURRENT
    Sensor,    // TFunct_SENSOR
    Imd,       // TFunct_IMD
    Isfl,      // TFunct_ISFL
    Visual,    // TFunct_VISUAL
    ErtCont,   // TFunct_ERTCONT
    Polar,     // TFunct_POLAR
    CorrConn,  // TFunct_CorrCONN
    FoltLoop,  // TFunct_FOLTLOOP
    FulSched,  // TFunct_FULSCHED
    DomSched,  // TFunct_DOMSCHED
    Function,  // TFunct_FUNCTION
    Ring,      // TFunct_RING
    ContAt,    // TFunct_CONTAT
    Varistor,  // TFunct_VARISTOR
    LoopRe,    // TFunct_LOOP_Re
    Rebt02,    // TFunct_REBT_02
    Rebt73,    // TFunct_REBT_73
    Rebt75,    // TFunct_REBT_75
    TchVolt,   // TFunct_TCH_VOLT
    IncNeutr,  // TFunct_INC_NEUTR
    Socket,    // TFunct_SOCKET
    ContVolt,  // TFunct_CONTVOLT
    StepVolt,  // TFunct_STEPVOLT
    ResMicro,  // TFunct_RES_MICRO
    VoltTo,    // TFunct_VOLT_TO
    IsoTo,     // TFunct_ISO_TO
    DiagnTo,   // TFunct_DIAGN_TO
    StepvTo,   // TFunct_STEPV_TO
    WithstTo,  // TFunct_WITHST_TO
    HvMt,      // TFunct_HV_MT
    DuMt,      // TFunct_dU_MT
    R10aMt,    // TFunct_R10A_MT
    MohmMt,    // TFunct_MOhm_MT
    DtMt,      // TFunct_dt_MT
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

// Every known code in ascending order.
std::span<const FunctionCodeInfo> functionCodeTable();

// Null for an unrecognised code: the parser then fills no record, sets the document's
// NewFunctionsSeen flag and the result shows no lines.
const FunctionCodeInfo* findFunctionCode(int code);
const FunctionCodeInfo* findFunctionCode(std::string_view codeText);

}  // namespace pelvoro
