#include "common/text_measure.h"

#include <string_view>

namespace pelvoro {

std::vector<std::string> wrapWords(TextMeasure& measure, const std::string& text,
                                   const FontSpec& font, int maxWidth) {
    std::vector<std::string> lines;
    wrapWords(measure, text, font, maxWidth,
              [&lines](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

void wrapWords(TextMeasure& measure, std::string_view text, const FontSpec& font, int maxWidth,
               const std::function<void(std::string_view)>& emit) {
    wrapWordsEach(measure, text, font, maxWidth, emit);
}

}  // namespace pelvoro
