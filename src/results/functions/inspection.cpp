// Inspections, schedules and checklists: the field tables of the parser and the result lines.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "results/functions/field_parser.h"
#include "results/functions/line_writer.h"

namespace pelvoro {

namespace fp {

namespace {

using enum Conv;
using Visual = TFunct_VISUAL;
using Checklist = TFunct_Checklist;

// Visual inspection: kinds 0 .. 5 and 6 .. 11 are the two halves of the question groups
// (written 5 .. 0 and 11 .. 6); the answer goes to G1 .. G6 by group.
constexpr Row<Visual> kVisual16[] = {
    hook<Visual>(3,
                 [](Parser& p, Visual& s, sv t) {
                     p.mapSpan(s.Kind, t, {{0, 5, 5, -1}, {6, 11, 11, -1}});
                 }),
    {4, Status, &Visual::Status},
    hook<Visual>(5, [](Parser&, Visual& s, sv t) { s.G.at(s.Kind % s.G.size()).assign(t); }),
};

// Checklists and schedules: the answer digits and the section they begin at.
constexpr Row<Checklist> kChecklist[] = {
    {4, Status, &Checklist::Status},
    {5, Text, &Checklist::Answers},
    {6, Text, &Checklist::Section},
};

constexpr Layout kLayouts[] = {
    layoutWithoutUnits<&TResultsData::VISUAL, kVisual16>(16),
    layoutWithoutUnits<&TResultsData::FULSCHED, kChecklist>(22),
    layoutWithoutUnits<&TResultsData::DOMSCHED, kChecklist>(23),
    layoutWithoutUnits<&TResultsData::FUNCTION, kChecklist>(24),
    layoutWithoutUnits<&TResultsData::REBT_02, kChecklist>(30),
    layoutWithoutUnits<&TResultsData::REBT_73, kChecklist>(31),
    layoutWithoutUnits<&TResultsData::REBT_75, kChecklist>(32),
};

}  // namespace

std::span<const Layout> inspectionLayouts() {
    return kLayouts;
}

}  // namespace fp

namespace lines {

void Generator::inspectionLines() {
    switch (code_) {
        case 16:
            return visual16();
        case 22:
            return checklist(22, r_.FULSCHED);
        case 23:
            return checklist(23, r_.DOMSCHED);
        case 24:
            return checklist(24, r_.FUNCTION);
        case 30:
            return checklist(30, r_.REBT_02);
        case 31:
            return checklist(31, r_.REBT_73);
        case 32:
            return checklist(32, r_.REBT_75);
        default:
            return;
    }
}

void Generator::visual16() {
    const auto& s = r_.VISUAL;
    const int kind = s.Kind;
    static constexpr const char* kGroups[] = {"#K550", "#K551", "#K552", "#K553", "#K554", "#K555"};
    heading(std::string("#K316: ") + (kind <= 11 ? kGroups[kind % 6] : ""), s.Status);
    struct Group {
        const char* prefix;
        int first;
        int last;
    };
    // Kinds 0 .. 5 the first halves, 6 .. 11 the second halves.
    static constexpr Group kQuestions[12] = {
        {"Visual_E", 1, 8},   {"Visual_EE", 1, 7},  {"Visual_WS", 1, 7},  {"Visual_SB", 1, 7},
        {"Visual_CM", 1, 6},  {"Visual_G", 1, 5},   {"Visual_E", 9, 14},  {"Visual_EE", 8, 15},
        {"Visual_WS", 8, 14}, {"Visual_SB", 8, 14}, {"Visual_CM", 7, 13}, {"Visual_G", 6, 10},
    };
    if (kind > 11) return;
    const Group& g = kQuestions[kind];
    const std::string& answers = s.G[kind % s.G.size()];
    for (int q = g.first; q <= g.last; ++q) {
        const size_t i = size_t(q - g.first);
        std::string_view symbol;
        if (i < answers.size()) {
            if (answers[i] == '0') symbol = " #S343";
            if (answers[i] == '1') symbol = " #S344";
            if (answers[i] == '2') symbol = " #S342";
        }
        thread_local std::string text;  // kept from question to question
        text.assign(numberedKey(g.prefix, q)).append(" ").append(symbol);
        wrap(text, wrapWidth(), [&](size_t k, std::string_view part) {
            if (k == 0)
                line(kR2, part);
            else
                line(kR2, "   ", part);
        });
    }
}

void Generator::checklist(int code, const TFunct_Checklist& c) {
    // First question of each section 1 .. 8; 0: no such section.
    static constexpr int kFirst[6][8] = {
        {1, 9, 14, 30, 59, 0, 0, 0},     // 22
        {1, 8, 11, 19, 48, 0, 0, 0},     // 23
        {1, 0, 0, 0, 0, 0, 0, 0},        // 24
        {1, 8, 15, 18, 20, 31, 36, 41},  // 30
        {1, 8, 13, 15, 26, 31, 36, 0},   // 31
        {1, 8, 12, 14, 22, 25, 30, 0},   // 32
    };
    static constexpr const char* kKeys[6] = {"VisualFS_",  "VisualDS_",  "VisualFI_",
                                             "Visual_02_", "Visual_73_", "Visual_75_"};
    static constexpr const char* kTitles[6] = {"#K522", "#K523", "#K524",
                                               "#K530", "#K531", "#K532"};
    const int column = code <= 24 ? code - 22 : code - 27;
    const bool schedule = code <= 24;
    int section = 0;
    for (char ch : c.Section) {
        if (ch < '0' || ch > '9' || section > 100) {
            section = 0;
            break;
        }
        section = section * 10 + (ch - '0');
    }
    if (section == 1) line("X#PR#FB#L1", kTitles[column], suffix(c.Status));
    if (section < 1 || section > 8) return;
    const int first = kFirst[column][section - 1];
    if (first == 0) return;
    for (size_t i = 0; i < c.Answers.size(); ++i) {
        std::string_view symbol;
        switch (c.Answers[i]) {
            case '1':
                symbol = " #S348 ";
                break;
            case '2':
                symbol = " #S349 ";
                break;
            case '3':
                symbol = " #S352 ";
                break;
            case '4':
                symbol = " #S351 ";
                break;
            case '5':
                symbol = " #S350 ";
                break;
            default:
                break;
        }
        const std::string& question = numberedKey(kKeys[column], first + int(i));
        // The first three characters are a style prefix; the second chooses the tokens.
        const char style = question.size() > 1 ? question[1] : ' ';
        const std::string_view text =
            question.size() > 3 ? std::string_view(question).substr(3) : std::string_view();
        std::string_view before = "X#PR";  // the part of the prefix before the level
        std::string_view level;
        if (style == '4') before = "X#PR#FB", level = "#L1";
        if (style == '6' && schedule) before = "X#PR#FB#FU", level = "#L1";
        if (style == '7') before = "X#PR#H9#FB", level = "#L1";
        if (style == '8') before = "X#PR#H9", level = schedule ? "#L1" : "#L2";
        wrap(text, wrapWidth(), [&](size_t k, std::string_view part) {
            if (k == 0)
                line(before, level, symbol, part);
            else
                line(before, "#L2   ", part);
        });
    }
}

}  // namespace lines

}  // namespace pelvoro
