#pragma once
// Which tester is connected, and where: the port and baud-rate settings, the
// identification lists, the identification that runs when Auto Find is selected, and
// the port dialog's search over every port and baud rate.

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/settings_store.h"
#include "instrument/instrument_context.h"
#include "instrument/models.h"

namespace pelvoro {

// ---- Port settings -----------------------------------------------------------------------

inline constexpr int kPortCount = 16;  // COM1 .. COM16
inline constexpr std::array<int, 5> kBaudRates = {300, 600, 1200, 2400, 4800};

// The two radio selections of the port dialog, as stored under "COMPort" and "BaudRate".
struct PortSelection {
    int portIndex = 0;  // 0 .. 15: COM1 .. COM16
    int baudIndex = 0;  // 0 .. 4: 300 .. 4800 baud
};

// Reads "COMPort" and "BaudRate" where present; missing values keep `current`.
PortSelection loadPortSelection(const SettingsStore& settings, PortSelection current = {});
void storePortSelection(SettingsStore& settings, const PortSelection& selection);
// Sets the port number and baud rate; an index outside the lists leaves that value.
void applyPortSettings(Link& link, const PortSelection& selection);
// "COM3", "4800".
std::string portText(int portIndex);
std::string baudText(int baudIndex);
// The baud index of a rate, or nullopt when the rate is not in the list.
std::optional<int> baudIndexOf(int baud);

// ---- Identification lists ---------------------------------------------------------------

struct IdentifiedModel {
    std::string key;
    int modelFamily = 0;
    std::string label;  // what the port dialog shows for it
};

// Model text (item 3 of the instrument data) -> model, compared exactly.
// `portDialog`: the port dialog's auto find also knows "GN 45".
std::optional<IdentifiedModel> identifyFamilyA(const std::string& modelText,
                                               bool portDialog = false);
std::optional<IdentifiedModel> identifyFamilyB(const std::string& modelText);

// ---- Identification ------------------------------------------------------------------------

struct IdentifyResult {
    bool ok = false;  // a tester answered the ready probe
    std::string key;  // empty when its model is not in the lists or its data failed
};

// Probes the configured port with the family A and family B ready probes for up to
// 4.32 s, reads the instrument data of the tester that answers and checks its model.
IdentifyResult autoIdentify(InstrumentContext& ctx);

// The key every instrument command starts with: the checked model's key, or, with Auto
// Find checked, the key identification finds (empty when it finds none).
std::string selectedModelKey(InstrumentContext& ctx);

// ---- The port dialog's search ---------------------------------------------------------------

enum class SearchStage { A, B, C };
// The stages a search with the given key runs, in order.
std::vector<SearchStage> searchStagesForKey(const std::string& key);

// One attempt of the full pass: each port from the first, at each port the baud rates
// from 4800 down to 300.
struct PortAttempt {
    int portIndex;
    int baudIndex;
};
std::vector<PortAttempt> fullPassOrder();

struct AutoFindResult {
    bool found = false;
    std::string family;      // "Instr_A", "Instr_B", "Instr_C" or empty
    std::string modelKey;    // the model recognised from its data (A and B), else empty
    std::string modelLabel;  // the model label's new text, empty to leave it
    bool cancelled = false;
    std::vector<std::string> log;  // "COM:1 / BR:4800   SUCCESS_1", "MRD #13", ...
};

// The search of the port dialog's Auto Find button. `selection` holds the dialog's radio
// selections: it is changed as the search walks the ports, left on the found port and
// rate, and restored when nothing is found. `cancelled` reports the dialog's "Cancel AF"
// button. Shows the result box or "msgConnectError_35".
AutoFindResult autoFind(InstrumentContext& ctx, PortSelection& selection,
                        const std::function<bool()>& cancelled);

}  // namespace pelvoro
