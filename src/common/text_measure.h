#pragma once
// Width of texts in a font, for word wrapping of result lines.

#include <string>
#include <string_view>
#include <vector>

namespace pelvoro {

struct FontSpec {
    std::string family = "Arial";
    int pointSize = 8;
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

class TextMeasure {
  public:
    virtual ~TextMeasure() = default;
    // Width in pixels of a single-line text.
    virtual int width(const std::string& text, const FontSpec& font) = 0;
    // Height in pixels of one line.
    virtual int lineHeight(const FontSpec& font) = 0;
};

// Splits text into lines no wider than maxWidth, breaking at blanks where possible and
// inside a word only when the word alone is too wide.
std::vector<std::string> wrapWords(TextMeasure& measure, const std::string& text,
                                   const FontSpec& font, int maxWidth);

// The same, each line handed to `emit` as soon as it is complete (the view is valid during
// the call only). Each word is measured once: the width of a line grows by a blank and the next
// word, so a candidate line is never built and measured again as a whole. A line whose words stand
// one blank apart in the text is that part of the text; only others are built.
template <class Emit>
void wrapWordsEach(TextMeasure& measure, std::string_view text, const FontSpec& font, int maxWidth,
                   Emit&& emit) {
    // The buffers are kept from call to call (taken, so that a nested call would only start
    // buffers of its own).
    thread_local std::string spareBuilt, spareWord;
    std::string built = std::move(spareBuilt), word = std::move(spareWord);
    built.clear();
    // The line so far: text[begin, end) while `inText`, else `built`.
    bool inText = true;
    size_t begin = 0, end = 0;
    auto current = [&] {
        return inText ? text.substr(begin, end - begin) : std::string_view(built);
    };
    int lineWidth = 0;
    int blankWidth = -1;  // measured when first needed
    bool emitted = false;
    auto flush = [&] {
        emit(current());
        emitted = true;
        inText = true;
        begin = end = 0;
        lineWidth = 0;
    };
    size_t pos = 0;
    while (pos < text.size()) {
        if (text[pos] == '\n') {
            flush();
            ++pos;
            continue;
        }
        size_t wordEnd = pos;
        while (wordEnd < text.size() && text[wordEnd] != ' ' && text[wordEnd] != '\n') ++wordEnd;
        // Cleared and appended: the kept buffer takes it without the general replace.
        word.clear();
        word.append(text.data() + pos, wordEnd - pos);
        int wordWidth = measure.width(word, font);
        const bool lineEmpty = current().empty();
        int candidateWidth = wordWidth;
        if (!lineEmpty) {
            if (blankWidth < 0) blankWidth = measure.width(" ", font);
            candidateWidth = lineWidth + blankWidth + wordWidth;
        }
        if (candidateWidth <= maxWidth || (lineEmpty && word.empty())) {
            if (lineEmpty) {
                inText = true;
                begin = pos;
                end = wordEnd;
            } else if (inText && pos == end + 1) {
                end = wordEnd;
            } else {
                if (inText) built.assign(current());
                inText = false;
                built.push_back(' ');
                built += word;
            }
            lineWidth = candidateWidth;
        } else {
            if (!lineEmpty) flush();
            // A word wider than the whole line is cut where it no longer fits.
            size_t rest = pos;
            while (rest < wordEnd && wordWidth > maxWidth) {
                size_t n = 1;
                while (rest + n < wordEnd &&
                       measure.width(word.substr(rest - pos, n + 1), font) <= maxWidth)
                    ++n;
                emit(text.substr(rest, n));
                emitted = true;
                rest += n;
                wordWidth = measure.width(word.substr(rest - pos), font);
            }
            inText = true;
            begin = rest;
            end = wordEnd;
            lineWidth = wordWidth;
        }
        pos = wordEnd;
        while (pos < text.size() && text[pos] == ' ') ++pos;
    }
    if (!current().empty() || !emitted) emit(current());
    spareBuilt = std::move(built);
    spareWord = std::move(word);
}

}  // namespace pelvoro
