#pragma once
// Inspection, schedule and checklist records.
// Part of the parsed-result record (results/results_data.h): what visit() and the value
// pairs mean is said there.

#include <array>
#include <cstdint>
#include <string>

#include "results/result_value.h"

namespace pelvoro {

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

struct TFunct_REBT_02 : TFunct_Checklist {};

struct TFunct_REBT_73 : TFunct_Checklist {};

struct TFunct_REBT_75 : TFunct_Checklist {};

}  // namespace pelvoro
