#include "common/text_measure.h"

#include <string_view>

namespace pelvoro {

// Each word is measured once: the width of a line grows by a blank and the next word, so
// a candidate line is never built and measured again as a whole.
std::vector<std::string> wrapWords(TextMeasure& measure, const std::string& text,
                                   const FontSpec& font, int maxWidth) {
    std::vector<std::string> lines;
    std::string line;
    int lineWidth = 0;
    int blankWidth = -1;  // measured when first needed
    size_t pos = 0;
    auto flush = [&] {
        lines.push_back(line);
        line.clear();
        lineWidth = 0;
    };
    std::string word;
    while (pos < text.size()) {
        if (text[pos] == '\n') {
            flush();
            ++pos;
            continue;
        }
        size_t end = pos;
        while (end < text.size() && text[end] != ' ' && text[end] != '\n') ++end;
        word.assign(text, pos, end - pos);
        int wordWidth = measure.width(word, font);
        int candidateWidth = wordWidth;
        if (!line.empty()) {
            if (blankWidth < 0) blankWidth = measure.width(" ", font);
            candidateWidth = lineWidth + blankWidth + wordWidth;
        }
        if (candidateWidth <= maxWidth || (line.empty() && word.empty())) {
            if (!line.empty()) line.push_back(' ');
            line += word;
            lineWidth = candidateWidth;
        } else {
            if (!line.empty()) flush();
            // A word wider than the whole line is cut where it no longer fits.
            while (!word.empty() && wordWidth > maxWidth) {
                size_t n = 1;
                while (n < word.size() && measure.width(word.substr(0, n + 1), font) <= maxWidth)
                    ++n;
                lines.push_back(word.substr(0, n));
                word.erase(0, n);
                wordWidth = measure.width(word, font);
            }
            line = word;
            lineWidth = wordWidth;
        }
        pos = end;
        while (pos < text.size() && text[pos] == ' ') ++pos;
    }
    if (!line.empty() || lines.empty()) lines.push_back(line);
    return lines;
}

}  // namespace pelvoro
