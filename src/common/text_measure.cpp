#include "common/text_measure.h"

namespace pelvoro {

std::vector<std::string> wrapWords(TextMeasure& measure, const std::string& text,
                                   const FontSpec& font, int maxWidth) {
    std::vector<std::string> lines;
    std::string line;
    size_t pos = 0;
    auto flush = [&] {
        lines.push_back(line);
        line.clear();
    };
    while (pos < text.size()) {
        if (text[pos] == '\n') {
            flush();
            ++pos;
            continue;
        }
        size_t end = pos;
        while (end < text.size() && text[end] != ' ' && text[end] != '\n') ++end;
        std::string word = text.substr(pos, end - pos);
        std::string candidate = line.empty() ? word : line + " " + word;
        if (measure.width(candidate, font) <= maxWidth || (line.empty() && word.empty())) {
            line = candidate;
        } else {
            if (!line.empty()) flush();
            // A word wider than the whole line is cut where it no longer fits.
            while (!word.empty() && measure.width(word, font) > maxWidth) {
                size_t n = 1;
                while (n < word.size() && measure.width(word.substr(0, n + 1), font) <= maxWidth)
                    ++n;
                lines.push_back(word.substr(0, n));
                word.erase(0, n);
            }
            line = word;
        }
        pos = end;
        while (pos < text.size() && text[pos] == ' ') ++pos;
    }
    if (!line.empty() || lines.empty()) lines.push_back(line);
    return lines;
}

}  // namespace pelvoro
