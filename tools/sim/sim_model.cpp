#include "sim_model.h"

namespace pelvoro::sim {

namespace {

const TesterModel kModels[] = {
    {"TQ41", Family::A, 2, "TQ 41", "50", false},
    {"TQ45", Family::A, 2, "TQ 45", "50", false},
    {"LR40000115", Family::A, 2, "LR 40000115", "50", false},
    {"LS40000118", Family::A, 2, "LS 40000118", "50", false},
    {"TQ71H", Family::A, 2, "TQ 71H", "51", false},
    {"TQ71", Family::A, 2, "TQ 71", "51", false},
    {"TQ72", Family::A, 2, "TQ 72", "52", false},
    {"TQ73", Family::A, 2, "TQ 73", "53", false},
    {"SF12", Family::A, 2, "NORDA SF12", "54", false},
    {"SF32", Family::A, 2, "NORDA SF32", "54", false},
    {"SF42", Family::A, 2, "NORDA SF42", "54", false},
    {"TQ75", Family::A, 3, "TQ 75", "55", false},
    {"TQ95M", Family::A, 3, "TQ 95M", "60", false},
    {"TQ52", Family::A, 3, "TQ 52", "60", false},
    {"TQ42", Family::B, 0, "TQ 42", "20", false},
    {"TQ42H", Family::B, 0, "TQ 42H", "24", false},
    {"TQ22", Family::B, 0, "TQ 22", "25", false},
    {"LP40000112", Family::B, 0, "LP 40000112", "26", false},
    {"TQ60", Family::B, 0, "TQ 60", "20", true},
    {"TQ61", Family::B, 0, "TQ 61", "20", true},
    {"RB7", Family::B, 0, "RB-7", "20", true},
    {"RB5", Family::B, 0, "RB-5", "20", true},
    {"GS880", Family::B, 0, "GS880", "20", true},
    {"CV61", Family::C, 0, "", "", false},
};

}  // namespace

const TesterModel* findTesterModel(const std::string& key) {
    for (const TesterModel& m : kModels)
        if (key == m.key) return &m;
    return nullptr;
}

std::string testerModelKeys() {
    std::string keys;
    for (const TesterModel& m : kModels) {
        if (!keys.empty()) keys += ' ';
        keys += m.key;
    }
    return keys;
}

}  // namespace pelvoro::sim
