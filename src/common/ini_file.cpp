#include "common/ini_file.h"

#include <fstream>
#include <sstream>

#include "common/text.h"

namespace pelvoro {

IniFile IniFile::load(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return IniFile{};
    std::ostringstream ss;
    ss << in.rdbuf();
    IniFile f = parse(ss.str());
    f.exists_ = true;
    return f;
}

static std::string unquote(std::string v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

IniFile IniFile::parse(const std::string& text) {
    IniFile f;
    f.exists_ = true;
    Section* current = nullptr;
    for (const std::string& raw : splitLines(text)) {
        std::string line = trimmed(raw);
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            size_t close = line.find(']');
            std::string name =
                trimmed(line.substr(1, close == std::string::npos ? std::string::npos : close - 1));
            f.sections_.push_back(Section{name, {}});
            current = &f.sections_.back();
            continue;
        }
        if (!current) continue;
        size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        current->entries.push_back(
            Entry{trimmed(line.substr(0, eq)), unquote(trimmed(line.substr(eq + 1)))});
    }
    return f;
}

std::vector<std::string> IniFile::sectionNames() const {
    std::vector<std::string> names;
    for (const auto& s : sections_) names.push_back(s.name);
    return names;
}

const IniFile::Section* IniFile::section(const std::string& name) const {
    for (const auto& s : sections_)
        if (equalsIgnoreCase(s.name, name)) return &s;
    return nullptr;
}

bool IniFile::hasSection(const std::string& name) const {
    return section(name) != nullptr;
}

std::optional<std::string> IniFile::value(const std::string& sectionName,
                                          const std::string& key) const {
    // Sections of the same name are merged, the first occurrence of a key winning.
    for (const auto& s : sections_) {
        if (!equalsIgnoreCase(s.name, sectionName)) continue;
        for (const auto& e : s.entries)
            if (equalsIgnoreCase(e.key, key)) return e.value;
    }
    return std::nullopt;
}

std::string IniFile::value(const std::string& sectionName, const std::string& key,
                           const std::string& fallback) const {
    auto v = value(sectionName, key);
    return v ? *v : fallback;
}

std::string formatIni(const std::vector<IniFile::Section>& sections) {
    std::string out;
    for (const auto& s : sections) {
        out += "[" + s.name + "]\r\n";
        for (const auto& e : s.entries) out += e.key + "=" + e.value + "\r\n";
        out += "\r\n";
    }
    return out;
}

}  // namespace pelvoro
