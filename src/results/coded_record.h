#pragma once
// Reading the value groups of a coded measurement record, as later installation and
// high-voltage testers store them: after the header and the function byte, groups of
// a kind letter, a quantity code, a unit code (one character each, read as 0-255) and
// a value text closed by a character 0.

#include <cstddef>
#include <string>
#include <string_view>

namespace pelvoro {

struct ValueGroup {
    char kind = 0;
    int quantity = -1;  // -1: the group has no quantity code (or the record ended)
    int unit = -1;      // -1: the group has no unit code (or the record ended)
    std::string value;  // blanks around removed
    // The record ended before the group's codes: nothing but the kind letter was there.
    bool truncated = false;
    // The value held a ";", CR or LF, which would break the FP string or the document
    // line; each was replaced by a blank.
    bool unsafeValue = false;
};

class CodedRecordReader {
  public:
    // `groups` is the part of the record after the function byte.
    explicit CodedRecordReader(std::string_view groups) : data_(groups) {}

    bool atEnd() const { return pos_ >= data_.size(); }

    // Reads the next group. With `timeAndDateHaveNoCodes`, a group of kind 'T' or 'D'
    // has its value right after the letter (high-voltage testers).
    ValueGroup next(bool timeAndDateHaveNoCodes);

  private:
    std::string_view data_;
    std::size_t pos_ = 0;
};

// Leading and trailing blanks removed; ";", CR and LF replaced by blanks first.
std::string cleanValueText(std::string_view raw, bool* hadUnsafe = nullptr);

}  // namespace pelvoro
