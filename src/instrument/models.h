#pragma once
// The tester models this program serves, one row each: key, menu caption, identification
// texts, model family number, protocol family, the value stored as "InstrModel", and what
// the model can do (how it downloads, how it takes a structure, which steps its exchanges
// have, where Send Structure is offered for it). Adding a tester is adding its row: no
// other file names a model.

#include <string>
#include <string_view>
#include <vector>

namespace pelvoro {

enum class ProtocolFamily { None, A, B, C };

// How Instrument ▸ DownLoad reads the tester.
enum class DownloadStyle {
    None,                 // nothing to download (Auto Find before identification)
    StructureAndResults,  // family A: "MST" structure entries, then "MRA" results
    ResultsOnly,          // family A: "MR1" results, the structure rebuilt from positions
    Records,              // family B: "MRE"/"MRG" records
    MachineRecords,       // family C: 21-byte machine records
};

// How Send Structure writes a structure into the tester.
enum class SendStyle {
    None,       // the tester takes no structure (family B takes its own exchange)
    OwnLines,   // entries in lines of their own; the tester numbers them
    Semicolon,  // entries closed by ";" with the program's numbers
};

// The Send button of the instrument data dialog when the model is checked.
enum class DataDialogSend { Leave, Enabled, Disabled };

// Capabilities that are yes or no.
enum ModelFlag : unsigned {
    kInstallationTester = 1u << 0,  // family B installation records; hardware-version step
    kPositionGroups = 1u << 1,      // results download: positions group the results
    kNamedStructure = 1u << 2,      // results download: the named structure follows
    kNoToolbarSend = 1u << 3,       // Send Structure's toolbar button is disabled
    kNoMenuSend = 1u << 4,          // Send Structure's menu command is disabled
    kHiddenByBrand = 1u << 5,       // the brand's start does not offer the model
};

struct IdentificationText {
    const char* text;             // item 3 of the instrument data, compared exactly
    const char* label = nullptr;  // what the port dialog shows; null: the caption
    bool portDialogOnly = false;  // only the port dialog's search knows it
};

struct InstrumentModel {
    const char* key;      // the model's key, "AutoFind" for Auto Find
    const char* caption;  // menu caption (never translated; Auto Find is)
    std::vector<IdentificationText> identificationTexts;
    int modelFamily;  // ModelFamily: 0 none, 1 family B/C, 2 A own lines, 3 A after ";"
    ProtocolFamily protocol;
    const char* settingsValue;
    const char* portDialogText;  // the model as the port dialog shows it
    DownloadStyle download;
    SendStyle send;
    DataDialogSend dataDialogSend;
    unsigned flags;  // ModelFlag bits
    // Brand titles (prefixes) that sell this family B tester above the others: Auto Find
    // preselects it before the tester's data names its model.
    std::vector<const char*> preselectingBrands;

    bool has(ModelFlag f) const { return (flags & f) != 0; }
};

// Every entry in the menu order, Auto Find last.
const std::vector<InstrumentModel>& instrumentModels();
const InstrumentModel* modelByKey(std::string_view key);
// The model whose settings value equals `value` exactly (case-sensitive); null otherwise.
const InstrumentModel* modelBySettingsValue(const std::string& value);
// Which protocol family a model key speaks (None for Auto Find and unknown keys).
ProtocolFamily protocolOfKey(std::string_view key);
// Whether the model of `key` has the capability (false for unknown keys).
bool modelHas(std::string_view key, ModelFlag flag);
// Whether `modelText` (item 3 of the instrument data) is one of the identification texts
// of the model of `key`: a download checks that the tester is the model selected.
bool isIdentificationTextOf(std::string_view key, std::string_view modelText);

constexpr const char* kAutoFindKey = "AutoFind";
// The model the brand's start always sets.
extern const char* const kForcedModelKey;

}  // namespace pelvoro
