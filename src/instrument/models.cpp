#include "instrument/models.h"

namespace pelvoro {

namespace {

using P = ProtocolFamily;
using D = DownloadStyle;
using S = SendStyle;
using DS = DataDialogSend;

// The Send Structure places: a model offers it on the toolbar and in the menu unless
// flagged; the places differ for some models.
constexpr unsigned kNoSend = kNoToolbarSend | kNoMenuSend;

}  // namespace

// The brand sells the machine tester.
const char* const kForcedModelKey = "CV61";

const std::vector<InstrumentModel>& instrumentModels() {
    // clang-format off
    static const std::vector<InstrumentModel> kModels = {
        // key, caption, identification texts, model family, protocol, settings value,
        // port dialog text, download, send, data dialog's Send, flags, preselecting brands
        {"TQ41", "TQ 41", {{"TQ 41"}}, 2, P::A, "TQ41", "TQ 41",
         D::StructureAndResults, S::OwnLines, DS::Enabled, 0, {}},
        {"TQ45", "TQ 45", {{"TQ 45"}}, 2, P::A, "TQ45", "TQ 45",
         D::StructureAndResults, S::OwnLines, DS::Enabled, 0, {}},
        {"TQ42", "TQ 42",
         {{"TQ 42"}, {"ULVANOR UT 12", "ULVANOR UT 12 / 12 B"},
          {"ULVANOR UT 12 B", "ULVANOR UT 12 / 12 B"}, {"UT 12", "ULVANOR UT 12 / 12 B"}},
         1, P::B, "TQ42", "TQ 42",
         D::Records, S::None, DS::Disabled, kInstallationTester | kNoSend, {"Pelvoro", "ULVANOR"}},
        {"TQ42H", "TQ42H", {{"TQ 42H"}}, 1, P::B, "TQ42H", "TQ 42H",
         D::Records, S::None, DS::Disabled, kInstallationTester | kNoSend, {}},
        {"TQ22", "TQ 22", {{"TQ 22"}}, 1, P::B, "TQ22", "TQ 22",
         D::Records, S::None, DS::Disabled, kInstallationTester | kNoSend, {}},
        {"TQ60", "TQ 60", {{"TQ 60"}}, 1, P::B, "TQ60", "TQ 60",
         D::Records, S::None, DS::Disabled, kHiddenByBrand, {"Quorrel"}},
        {"TQ61", "TQ 61", {{"TQ 61"}}, 1, P::B, "TQ61", "TQ 61",
         D::Records, S::None, DS::Disabled, kHiddenByBrand, {}},
        {"RB7", "RB-7", {{"RB-7"}}, 1, P::B, "RB-7", "RB-7",
         D::Records, S::None, DS::Leave, kHiddenByBrand, {}},
        {"RB5", "RB-5", {{"RB-5"}}, 1, P::B, "RB-5", "RB-5",
         D::Records, S::None, DS::Leave, kHiddenByBrand, {}},
        {"GS880", "GS 880", {{"GS880"}}, 1, P::B, "GS880", "GS880",
         D::Records, S::None, DS::Leave, kHiddenByBrand, {}},
        {"TQ71H", "TQ 71H", {{"TQ 71H"}}, 2, P::A, "TQ71H", "TQ 71H",
         D::ResultsOnly, S::None, DS::Enabled, kPositionGroups | kNoSend, {}},
        {"TQ71", "TQ 71", {{"TQ 71"}}, 2, P::A, "TQ71", "TQ 71",
         D::ResultsOnly, S::None, DS::Enabled, kPositionGroups | kNoSend, {}},
        {"TQ72", "TQ 72", {{"TQ 72"}}, 2, P::A, "TQ72", "TQ 72",
         D::ResultsOnly, S::None, DS::Enabled, kPositionGroups | kNoSend, {}},
        {"TQ73", "TQ 73", {{"TQ 73"}}, 2, P::A, "TQ73", "TQ 73",
         D::ResultsOnly, S::None, DS::Enabled, kPositionGroups | kNoSend, {}},
        {"SF12", "SF 12", {{"NORDA SF12"}}, 2, P::A, "SF12", "SF 12",
         D::ResultsOnly, S::None, DS::Enabled, kPositionGroups | kNoSend, {}},
        {"SF32", "SF 32", {{"NORDA SF32"}}, 2, P::A, "SF32", "SF 32",
         D::ResultsOnly, S::None, DS::Enabled, kPositionGroups | kNoSend, {}},
        {"SF42", "SF 42", {{"NORDA SF42"}}, 2, P::A, "SF42", "SF 42",
         D::ResultsOnly, S::None, DS::Enabled, kPositionGroups | kNoSend, {}},
        {"TQ75", "TQ 75", {{"TQ 75"}, {"TQ 75B"}, {"GN 45", "Grannet GN 45", true}},
         3, P::A, "TQ75", "TQ 75",
         D::ResultsOnly, S::Semicolon, DS::Enabled, kNamedStructure, {}},
        {"CV61", "CV 61", {}, 1, P::C, "CV61", "CV 61",
         D::MachineRecords, S::None, DS::Leave, 0, {}},
        {"LP40000112", "LP 40000112", {{"LP 40000112"}}, 1, P::B, "LP40000112", "LP 40000112",
         D::Records, S::None, DS::Disabled, kInstallationTester | kNoSend | kHiddenByBrand, {}},
        {"LR40000115", "LR 40000115", {{"LR 40000115"}}, 2, P::A, "LR40000115", "LR 40000115",
         D::StructureAndResults, S::OwnLines, DS::Enabled, kHiddenByBrand, {}},
        {"LS40000118", "LS 40000118", {{"LS 40000118"}}, 2, P::A, "LS40000118", "LS 40000118",
         D::StructureAndResults, S::OwnLines, DS::Enabled, kHiddenByBrand, {}},
        {"TQ95M", "TQ 95M", {{"TQ 95M"}}, 3, P::A, "TQ95M", "TQ 95M",
         D::ResultsOnly, S::None, DS::Enabled, kNoToolbarSend | kHiddenByBrand, {}},
        {"TQ52", "TQ 52", {{"TQ 52"}}, 3, P::A, "TQ52", "TQ 52",
         D::ResultsOnly, S::None, DS::Enabled, kNoToolbarSend | kHiddenByBrand, {}},
        {"AutoFind", "Auto Find", {}, 0, P::None, "AutoFind", "Auto Find",
         D::None, S::None, DS::Enabled, kNoToolbarSend, {}},
    };
    // clang-format on
    return kModels;
}

const InstrumentModel* modelByKey(std::string_view key) {
    for (const auto& m : instrumentModels())
        if (key == m.key) return &m;
    return nullptr;
}

const InstrumentModel* modelBySettingsValue(const std::string& value) {
    for (const auto& m : instrumentModels())
        if (value == m.settingsValue) return &m;
    return nullptr;
}

ProtocolFamily protocolOfKey(std::string_view key) {
    const InstrumentModel* m = modelByKey(key);
    return m ? m->protocol : ProtocolFamily::None;
}

bool modelHas(std::string_view key, ModelFlag flag) {
    const InstrumentModel* m = modelByKey(key);
    return m && m->has(flag);
}

bool isIdentificationTextOf(std::string_view key, std::string_view modelText) {
    const InstrumentModel* m = modelByKey(key);
    if (!m) return false;
    for (const IdentificationText& t : m->identificationTexts)
        if (modelText == t.text) return true;
    return false;
}

}  // namespace pelvoro
