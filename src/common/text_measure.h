#pragma once
// Width of texts in a font, for word wrapping of result lines.

#include <functional>
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
// the call only).
void wrapWords(TextMeasure& measure, std::string_view text, const FontSpec& font, int maxWidth,
               const std::function<void(std::string_view)>& emit);

}  // namespace pelvoro
