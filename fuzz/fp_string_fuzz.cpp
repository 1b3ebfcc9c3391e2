// Fuzz target: the result-string parser and the line generator after it. The first input
// byte chooses the instrument type code and the item's coding version, the second the
// variant word and the wrapping width; the rest is the string. The generated lines are
// laid out in the results table at every detail level and interpreted.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "document/item_types.h"
#include "document/structure_document.h"
#include "results/fp_parser.h"
#include "results/markup.h"
#include "results/render_result.h"
#include "results/result_rows.h"

namespace {

using namespace pelvoro;

// Texts the parser writes that are not taken from the string itself.
bool isMappedText(std::string_view s) {
    for (std::string_view t :
         {"-", "7", "200", "Plug", "Universal", "FUSE", "RCD", "B", "C", "D", "Fuse"})
        if (s == t) return true;
    return false;
}

struct Check {
    std::string_view input;
    bool dispatched;
    template <class T>
    void operator()(const char*, const T& field) const {
        if constexpr (std::is_same_v<T, TResultValue>) {
            text(field.Value);
            if (!dispatched && !field.Unit.empty()) __builtin_trap();
        } else if constexpr (std::is_same_v<T, std::string>) {
            text(field);
        }
    }
    void text(const std::string& s) const {
        if (s.empty()) return;
        // Records other than the one parsed are left empty.
        if (!dispatched) __builtin_trap();
        // Every text is a field of the string (never more than one) or a mapped word.
        if (s.find(';') != std::string::npos) __builtin_trap();
        if (input.find(s) == std::string_view::npos && !isMappedText(s)) __builtin_trap();
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const char* const typeCodes[] = {"", "51", "52", "53", "54", "20", "24", "55"};
    static const char* const variants[] = {"", "KORVEN", "AUS", "DOSK"};
    if (size < 2) return 0;
    const FpParseContext context{typeCodes[data[0] % 8], variants[data[1] % 4], (data[0] >> 3) % 4};
    const std::string_view fp(reinterpret_cast<const char*>(data) + 2, size - 2);

    TResultsData results;
    bool seen = false;
    ParseFpString(fp, context, results, seen);

    const ResultRecord parsed = results.record();
    if (!results.FunctionCode.empty() && parsed == ResultRecord::None) __builtin_trap();
    if (results.FunctionCode.empty() && !fp.empty() && fp[0] != 'F' && seen) __builtin_trap();
    for (int i = 1; i <= int(ResultRecord::DtMt); ++i) {
        const auto which = ResultRecord(i);
        results.withRecord(which, [&](const auto& sub) { sub.visit(Check{fp, which == parsed}); });
    }

    // The same string parsed again over the filled record gives the same record.
    TResultsData again = results;
    bool seenAgain = false;
    ParseFpString(fp, context, again, seenAgain);
    if (seenAgain != seen || again.FunctionCode != results.FunctionCode) __builtin_trap();

    // The lines of the parse, as a load generates them, in the table at every level.
    CharacterCellMeasure measure;
    RenderOptions render;
    render.variant = context.variant;
    render.measure = &measure;
    render.columnWidth = 40 + (data[1] >> 2) * 8;
    StructureDocument doc;
    StructureItem* item = doc.addItem(doc.root(), ItemType::Measurement, "R");
    RenderResult(*item, results, render);
    if (item->data.L1Count != countL1Lines(item->data.ResTexts)) __builtin_trap();
    // FP strings come from file lines and reply lines, which hold no line breaks; a string
    // that does carries them into its values, and the lines show them as they are.
    const bool noBreaks = fp.find_first_of("\r\n") == std::string::npos;
    for (const std::string& line : item->data.ResTexts)
        if (noBreaks && line.find_first_of("\r\n") != std::string::npos) __builtin_trap();
    for (int level : {kViewFull, kViewMedium, kViewLow}) {
        const ResultRows rows = AssignResultRows(doc, &doc.root(), level, true);
        if (results.FunctionCode.empty() || item->data.ResTexts.empty()) continue;
        if (rows.itemCount() != 1) __builtin_trap();
        for (int row = 1; row < rows.rowCount; ++row) {
            const std::vector<std::string> lines = BuildRowLines(rows, row);
            if (CountRowLines(lines, level) < 0) __builtin_trap();
            for (const std::string& line : lines) ParseMarkup(line, MarkupMode::Write);
        }
    }
    return 0;
}
