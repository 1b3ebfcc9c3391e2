#pragma once
// Reader for ini-style text files (language list, language files, structure names).
// Section and key names compare without regard to case; the first occurrence of a
// section or key wins; lines starting with ';' are comments. Values are trimmed and a
// value enclosed in a pair of equal quote characters loses them.

#include <optional>
#include <string>
#include <vector>

namespace pelvoro {

class IniFile {
  public:
    struct Entry {
        std::string key;
        std::string value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };

    // Reads a file; an unreadable file gives an empty IniFile with exists() false.
    static IniFile load(const std::string& path);
    static IniFile parse(const std::string& text);

    bool exists() const { return exists_; }
    const std::vector<Section>& sections() const { return sections_; }
    std::vector<std::string> sectionNames() const;
    bool hasSection(const std::string& section) const;
    std::optional<std::string> value(const std::string& section, const std::string& key) const;
    std::string value(const std::string& section, const std::string& key,
                      const std::string& fallback) const;
    const Section* section(const std::string& name) const;

  private:
    std::vector<Section> sections_;
    bool exists_ = false;
};

// Writes sections to text with CR LF line ends (for files the program keeps itself).
std::string formatIni(const std::vector<IniFile::Section>& sections);

}  // namespace pelvoro
