#include "results/render_result.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "common/lang_text.h"
#include "document/structure_document.h"
#include "results/function_codes.h"
#include "results/functions/line_writer.h"

namespace pelvoro {

namespace lines {

// The lines of the parsed code, written by the family of its record.
void Generator::run() {
    code_ = r_.functionCode();
    const FunctionCodeInfo* info = findFunctionCode(code_);
    if (!info) return;
    switch (info->record) {
        case ResultRecord::None:
            break;
#define PELVORO_FAMILY_LINES(kind, type, member, family) \
    case ResultRecord::kind:                             \
        family##Lines();                                 \
        break;
            PELVORO_RESULT_RECORDS(PELVORO_FAMILY_LINES)
#undef PELVORO_FAMILY_LINES
    }
}

}  // namespace lines

namespace {

// A number as an instrument writes it: blanks around, a sign, digits with a decimal point
// or comma; a leading "<" or ">" (below or above the range) counts as the bound itself.
bool parseNumber(const std::string& text, double& out) {
    std::string t;
    for (char c : text) t += c == ',' ? '.' : c;
    const size_t b = t.find_first_not_of(' ');
    if (b == std::string::npos) return false;
    const size_t e = t.find_last_not_of(' ');
    t = t.substr(b, e - b + 1);
    if (t[0] == '<' || t[0] == '>') t.erase(0, 1);
    bool digit = false;
    int points = 0;
    for (char c : t) {
        if (c >= '0' && c <= '9')
            digit = true;
        else if (c == '.')
            ++points;
        else if (c != '-' && c != '+')
            return false;
    }
    if (!digit || points > 1) return false;
    char* end = nullptr;
    out = std::strtod(t.c_str(), &end);
    return end && *end == '\0';
}

}  // namespace

int compareValueTexts(const std::string& a, const std::string& b) {
    double x = 0, y = 0;
    if (parseNumber(a, x) && parseNumber(b, y)) return x < y ? -1 : (x > y ? 1 : 0);
    const int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

std::vector<std::string> LineBuffer::strings() const {
    std::vector<std::string> out;
    out.reserve(size());
    for (size_t i = 0; i < size(); ++i) out.emplace_back((*this)[i]);
    return out;
}

std::vector<std::string> generateResultLines(const TResultsData& results,
                                             const RenderOptions& options) {
    LineBuffer lines;
    generateResultLines(results, options, lines);
    return lines.strings();
}

void generateResultLines(const TResultsData& results, const RenderOptions& options,
                         LineBuffer& lines) {
    lines.clear();
    lines::Generator(results, options, lines).run();
}

int countL1Lines(const std::vector<std::string>& lines) {
    int n = 0;
    for (const std::string& line : lines)
        if (line.find("#L1") != std::string::npos) ++n;
    return n;
}

void RenderResult(StructureItem& item, const TResultsData& results, const RenderOptions& options) {
    thread_local LineBuffer lines;
    generateResultLines(results, options, lines);
    auto& texts = item.data.ResTexts;
    // The lines already there came with the item; the generated ones follow them.
    if (item.data.FileTextCount < 0) item.data.FileTextCount = int32_t(texts.size());
    // Room for the lines at once, growing by at least half again for items of many results.
    const size_t needed = texts.size() + lines.size();
    if (texts.capacity() < needed) texts.reserve(std::max(needed, texts.capacity() * 3 / 2));
    for (size_t i = 0; i < lines.size(); ++i) texts.emplace_back(lines[i]);
    item.data.L1Count = countL1Lines(texts);
}

ResultRenderer makeLineRenderer(std::shared_ptr<TextMeasure> measure, FontSpec font,
                                int columnWidth) {
    return [measure = std::move(measure), font = std::move(font), columnWidth](
               StructureDocument& document, StructureItem& item, const TResultsData& results) {
        RenderOptions options;
        options.variant = document.InstrumentData.InstrVariant;
        options.measure = measure.get();
        options.font = font;
        options.columnWidth = columnWidth;
        RenderResult(item, results, options);
    };
}

}  // namespace pelvoro
