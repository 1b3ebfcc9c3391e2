#pragma once
// Translation texts: every caption, hint and message is fetched by key from the
// current language file. Keys are a name, an underscore and the maximum length meant
// for translators ("btnOK_8", "msgTerminate_35"); text codes are "text0" .. "text600".

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

namespace pelvoro {

class IniFile;

// One language file, read once: section "Language", values trimmed, quote pairs
// removed, byte 0xA7 turned into a line feed except in last position.
class LanguageFile {
  public:
    static std::shared_ptr<LanguageFile> load(const std::string& path);
    static std::shared_ptr<LanguageFile> fromText(const std::string& iniText);

    bool exists() const { return exists_; }
    // "**" when the key or the file is missing. The text lives as long as the file.
    const std::string& text(std::string_view key) const;
    bool hasKey(std::string_view key) const;

  private:
    // Keys compare as ini files compare them: ASCII letters without regard to case. The
    // lookup takes the caller's key as it is, without building an upper-case copy.
    struct KeyHash {
        using is_transparent = void;
        size_t operator()(std::string_view key) const;
    };
    struct KeyEqual {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const;
    };
    static std::shared_ptr<LanguageFile> fromIni(const IniFile& ini);
    const std::string* find(std::string_view key) const;
    std::unordered_map<std::string, std::string, KeyHash, KeyEqual> values_;
    bool exists_ = false;
};

// The current language of this run (fixed once chosen at startup).
void setCurrentLanguageFile(std::shared_ptr<LanguageFile> file);
std::shared_ptr<LanguageFile> currentLanguageFile();

// The text of a key in the current language; "**" when it is missing. The text stays
// valid until another language file is made current.
const std::string& LangText(std::string_view key);

// The 601 texts "text0" .. "text600" of a language, read once.
class TextCodeTable {
  public:
    static constexpr int kSize = 601;
    void fill(const LanguageFile& file);
    // Index outside 0 .. 600: the empty text.
    const std::string& at(int index) const;

  private:
    std::array<std::string, kSize> texts_;
};

// The table of the current run, filled at startup.
TextCodeTable& currentTextCodes();

// Sets `variant` from the tail of an instrument name; leaves it unchanged when no tail
// matches. Returns true when a tail matched.
bool deriveInstrVariant(const std::string& instrumentName, std::string& variant);

}  // namespace pelvoro
