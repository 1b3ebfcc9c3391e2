#include "common/text_measure.h"

#include <string_view>

namespace pelvoro {

std::vector<std::string> wrapWords(TextMeasure& measure, const std::string& text,
                                   const FontSpec& font, int maxWidth) {
    std::vector<std::string> lines;
    wrapWordsEach(measure, text, font, maxWidth,
                  [&lines](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

}  // namespace pelvoro
