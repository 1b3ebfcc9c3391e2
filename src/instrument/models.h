#pragma once
// The tester models this program serves: key, menu caption, identification texts,
// model family number, protocol family and the value stored as "InstrModel".

#include <string>
#include <vector>

namespace pelvoro {

enum class ProtocolFamily { None, A, B, C };

struct InstrumentModel {
    const char* key;      // "TQ41", ..., "AutoFind"
    const char* caption;  // menu caption (never translated; Auto Find is)
    std::vector<const char*> identificationTexts;
    int modelFamily;  // ModelFamily: 0 none, 1 family B/C, 2 A own lines, 3 A after ";"
    ProtocolFamily protocol;
    const char* settingsValue;
    const char* portDialogText;  // the model as the port dialog shows it
};

// Every entry in the menu order, Auto Find last.
const std::vector<InstrumentModel>& instrumentModels();
const InstrumentModel* modelByKey(const std::string& key);
// The model whose settings value equals `value` exactly (case-sensitive); null otherwise.
const InstrumentModel* modelBySettingsValue(const std::string& value);

constexpr const char* kAutoFindKey = "AutoFind";
constexpr const char* kForcedModelKey = "CV61";

}  // namespace pelvoro
