#pragma once
// Reading a text line by line, as the document reader and the transcript import do: a
// line ends at CR LF, CR or LF; the last line needs no line end. Lines are views into the
// text, which must outlive the reader; nothing is copied or indexed.

#include <cstddef>
#include <string_view>

namespace pelvoro {

class Lines {
  public:
    // A place in the text to come back to.
    struct Mark {
        std::size_t offset = 0;
        int line = 0;
    };

    explicit Lines(std::string_view text) : text_(text) {}

    bool atEnd() const { return at_.offset >= text_.size(); }
    // The next line; only when not at the end.
    std::string_view next() {
        previous_ = at_;
        const std::size_t start = at_.offset;
        std::size_t i = start;
        const std::size_t size = text_.size();
        while (i < size && text_[i] != '\r' && text_[i] != '\n') ++i;
        const std::string_view line = text_.substr(start, i - start);
        if (i < size) {
            if (text_[i] == '\r' && i + 1 < size && text_[i + 1] == '\n') ++i;
            ++i;
        }
        at_.offset = i;
        ++at_.line;
        return line;
    }
    // The next line into `line`; false at the end.
    bool next(std::string_view& line) {
        if (atEnd()) return false;
        line = next();
        return true;
    }
    // 1-based number of the line returned last (0 before the first).
    int lineNumber() const { return at_.line; }

    Mark mark() const { return at_; }
    void seek(Mark mark) { at_ = previous_ = mark; }
    void rewind() { seek(Mark{}); }
    // The line returned last is returned again by the next call (one step only).
    void back() { at_ = previous_; }

  private:
    std::string_view text_;
    Mark at_;
    Mark previous_;
};

}  // namespace pelvoro
