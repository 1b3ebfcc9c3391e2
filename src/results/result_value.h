#pragma once
// A value pair of the parsed-result record: the instrument's text unchanged and the unit it is
// shown with (the unit may carry the prefix that the value came with). Texts are bytes in the
// documents' single-byte code page.

#include <iosfwd>
#include <string>
#include <string_view>
#include <utility>

namespace pelvoro {

// A unit text with static storage: a literal, or a constant naming one. Only constants make
// one (the constructors run when compiling), so a unit may refer to it without a copy.
class FixedUnit {
  public:
    consteval FixedUnit(const char* text) : text_(text) {}
    consteval FixedUnit(std::string_view text) : text_(text) {}
    constexpr std::string_view text() const { return text_; }

  private:
    std::string_view text_;
};

// The unit of a value pair. The preset units of a record refer to their fixed texts, so
// presetting and clearing one costs a couple of stores; a unit that a string brought or
// changed (a prefix in front, a unit of its own) keeps a copy of its text. The copy's buffer
// stays with the unit from parse to parse.
class UnitText {
  public:
    UnitText() = default;
    UnitText(FixedUnit fixed) : text_(fixed.text()) {}
    UnitText(const char* text) : own_(text) { text_ = own_; }
    UnitText(std::string_view text) : own_(text) { text_ = own_; }
    UnitText(std::string text) : own_(std::move(text)) { text_ = own_; }

    UnitText(const UnitText& other) { *this = other; }
    UnitText(UnitText&& other) noexcept { *this = std::move(other); }
    UnitText& operator=(const UnitText& other) {
        if (this == &other) return *this;
        if (other.owns())
            assign(other.text_);
        else
            text_ = other.text_;
        return *this;
    }
    UnitText& operator=(UnitText&& other) noexcept {
        if (this == &other) return *this;
        if (other.owns()) {
            own_ = std::move(other.own_);
            text_ = own_;
            other.text_ = {};
        } else {
            text_ = other.text_;
        }
        return *this;
    }

    UnitText& operator=(FixedUnit fixed) {
        text_ = fixed.text();
        return *this;
    }
    UnitText& operator=(const char* text) { return assign(text); }
    UnitText& operator=(std::string_view text) { return assign(text); }
    UnitText& operator=(const std::string& text) { return assign(text); }

    // A copy of `text` (which may be this unit's own text or a part of it).
    UnitText& assign(std::string_view text) {
        if (owns()) {
            own_.assign(text.data(), text.size());
        } else {
            // Cleared and appended: the kept buffer takes it without the general replace.
            own_.clear();
            own_.append(text.data(), text.size());
        }
        text_ = own_;
        return *this;
    }
    // Puts `prefix` in front of the text: the prefix a value came with.
    void prepend(std::string_view prefix) {
        if (owns()) {
            own_.insert(0, prefix.data(), prefix.size());
        } else {
            own_.clear();
            own_.append(prefix.data(), prefix.size()).append(text_);
        }
        text_ = own_;
    }
    void clear() { text_ = {}; }

    bool empty() const { return text_.empty(); }
    size_t size() const { return text_.size(); }
    const char* data() const { return text_.data(); }
    std::string_view view() const { return text_; }
    operator std::string_view() const { return text_; }
    std::string str() const { return std::string(text_); }

    friend bool operator==(const UnitText& unit, std::string_view text) {
        return unit.text_ == text;
    }

  private:
    // The text is this unit's own copy (not a fixed text).
    bool owns() const { return text_.data() == own_.data(); }

    std::string_view text_;
    std::string own_;
};

std::ostream& operator<<(std::ostream& os, const UnitText& unit);

struct TResultValue {
    std::string Value;
    UnitText Unit;

    bool operator==(const TResultValue&) const = default;
};

// Symbol code of the ohm sign.
inline constexpr const char* kOhm = "#S258";
// A value that the instrument did not deliver (drawn as three blanks).
inline constexpr const char* kNotDelivered = "#S272#S272#S272";

}  // namespace pelvoro
