#include "instrument/models.h"

namespace pelvoro {

const std::vector<InstrumentModel>& instrumentModels() {
    using P = ProtocolFamily;
    static const std::vector<InstrumentModel> kModels = {
        {"TQ41", "TQ 41", {"TQ 41"}, 2, P::A, "TQ41", "TQ 41"},
        {"TQ45", "TQ 45", {"TQ 45"}, 2, P::A, "TQ45", "TQ 45"},
        {"TQ42",
         "TQ 42",
         {"TQ 42", "ULVANOR UT 12", "ULVANOR UT 12 B", "UT 12"},
         1,
         P::B,
         "TQ42",
         "TQ 42"},
        {"TQ42H", "TQ42H", {"TQ 42H"}, 1, P::B, "TQ42H", "TQ 42H"},
        {"TQ22", "TQ 22", {"TQ 22"}, 1, P::B, "TQ22", "TQ 22"},
        {"TQ60", "TQ 60", {"TQ 60"}, 1, P::B, "TQ60", "TQ 60"},
        {"TQ61", "TQ 61", {"TQ 61"}, 1, P::B, "TQ61", "TQ 61"},
        {"RB7", "RB-7", {"RB-7"}, 1, P::B, "RB-7", "RB-7"},
        {"RB5", "RB-5", {"RB-5"}, 1, P::B, "RB-5", "RB-5"},
        {"GS880", "GS 880", {"GS880"}, 1, P::B, "GS880", "GS880"},
        {"TQ71H", "TQ 71H", {"TQ 71H"}, 2, P::A, "TQ71H", "TQ 71H"},
        {"TQ71", "TQ 71", {"TQ 71"}, 2, P::A, "TQ71", "TQ 71"},
        {"TQ72", "TQ 72", {"TQ 72"}, 2, P::A, "TQ72", "TQ 72"},
        {"TQ73", "TQ 73", {"TQ 73"}, 2, P::A, "TQ73", "TQ 73"},
        {"SF12", "SF 12", {"NORDA SF12"}, 2, P::A, "SF12", "SF 12"},
        {"SF32", "SF 32", {"NORDA SF32"}, 2, P::A, "SF32", "SF 32"},
        {"SF42", "SF 42", {"NORDA SF42"}, 2, P::A, "SF42", "SF 42"},
        {"TQ75", "TQ 75", {"TQ 75", "TQ 75B", "GN 45"}, 3, P::A, "TQ75", "TQ 75"},
        {"CV61", "CV 61", {}, 1, P::C, "CV61", "CV 61"},
        {"LP40000112", "LP 40000112", {"LP 40000112"}, 1, P::B, "LP40000112", "LP 40000112"},
        {"LR40000115", "LR 40000115", {"LR 40000115"}, 2, P::A, "LR40000115", "LR 40000115"},
        {"LS40000118", "LS 40000118", {"LS 40000118"}, 2, P::A, "LS40000118", "LS 40000118"},
        {"TQ95M", "TQ 95M", {"TQ 95M"}, 3, P::A, "TQ95M", "TQ 95M"},
        {"TQ52", "TQ 52", {"TQ 52"}, 3, P::A, "TQ52", "TQ 52"},
        {"AutoFind", "Auto Find", {}, 0, P::None, "AutoFind", "Auto Find"},
    };
    return kModels;
}

const InstrumentModel* modelByKey(const std::string& key) {
    for (const auto& m : instrumentModels())
        if (key == m.key) return &m;
    return nullptr;
}

const InstrumentModel* modelBySettingsValue(const std::string& value) {
    for (const auto& m : instrumentModels())
        if (value == m.settingsValue) return &m;
    return nullptr;
}

}  // namespace pelvoro
