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

// Each word is measured once: the width of a line grows by a blank and the next word, so
// a candidate line is never built and measured again as a whole.
void wrapWords(TextMeasure& measure, std::string_view text, const FontSpec& font, int maxWidth,
               const std::function<void(std::string_view)>& emit) {
    // The buffers are kept from call to call (taken, so that a nested call would only start
    // buffers of its own).
    thread_local std::string spareLine, spareWord;
    std::string line = std::move(spareLine), word = std::move(spareWord);
    line.clear();
    word.clear();
    int lineWidth = 0;
    int blankWidth = -1;  // measured when first needed
    bool emitted = false;
    size_t pos = 0;
    auto flush = [&] {
        emit(line);
        emitted = true;
        line.clear();
        lineWidth = 0;
    };
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
                emit(std::string_view(word).substr(0, n));
                emitted = true;
                word.erase(0, n);
                wordWidth = measure.width(word, font);
            }
            line = word;
            lineWidth = wordWidth;
        }
        pos = end;
        while (pos < text.size() && text[pos] == ' ') ++pos;
    }
    if (!line.empty() || !emitted) emit(line);
    spareLine = std::move(line);
    spareWord = std::move(word);
}

}  // namespace pelvoro
