#include "common/lang_text.h"

#include <cstdint>
#include <utility>

#include "common/ini_file.h"
#include "common/text.h"

namespace pelvoro {

namespace {

constexpr char kSectionByte = '\xA7';

std::shared_ptr<LanguageFile>& currentFile() {
    static std::shared_ptr<LanguageFile> file = std::make_shared<LanguageFile>();
    return file;
}

}  // namespace

std::shared_ptr<LanguageFile> LanguageFile::load(const std::string& path) {
    IniFile ini = IniFile::load(path);
    if (!ini.exists()) return std::make_shared<LanguageFile>();
    return fromIni(ini);
}

std::shared_ptr<LanguageFile> LanguageFile::fromText(const std::string& iniText) {
    return fromIni(IniFile::parse(iniText));
}

std::shared_ptr<LanguageFile> LanguageFile::fromIni(const IniFile& ini) {
    auto f = std::make_shared<LanguageFile>();
    f->exists_ = true;
    if (const auto* section = ini.section("Language")) {
        for (const auto& e : section->entries) {
            std::string value = e.value;
            if (value.size() >= 2)
                for (size_t i = 0; i + 1 < value.size(); ++i)
                    if (value[i] == kSectionByte) value[i] = '\n';
            f->values_.emplace(upperAscii(e.key), std::move(value));  // the first one wins
        }
    }
    return f;
}

namespace {

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

// Blanks around a key do not count, as in ini files ("msgCanNotSend_35 ").
std::string_view trimmedKey(std::string_view key) {
    const size_t b = key.find_first_not_of(" \t\r\n");
    if (b == std::string_view::npos) return {};
    return key.substr(b, key.find_last_not_of(" \t\r\n") - b + 1);
}

}  // namespace

size_t LanguageFile::KeyHash::operator()(std::string_view key) const {
    size_t h = 14695981039346656037ull;
    for (char c : key) h = (h ^ uint8_t(lowerAscii(c))) * 1099511628211ull;
    return h;
}

bool LanguageFile::KeyEqual::operator()(std::string_view a, std::string_view b) const {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    return true;
}

const std::string* LanguageFile::find(std::string_view key) const {
    auto it = values_.find(trimmedKey(key));
    return it == values_.end() ? nullptr : &it->second;
}

const std::string& LanguageFile::text(std::string_view key) const {
    static const std::string missing = "**";
    const std::string* t = find(key);
    return t ? *t : missing;
}

bool LanguageFile::hasKey(std::string_view key) const {
    return find(key) != nullptr;
}

void setCurrentLanguageFile(std::shared_ptr<LanguageFile> file) {
    currentFile() = file ? std::move(file) : std::make_shared<LanguageFile>();
}

std::shared_ptr<LanguageFile> currentLanguageFile() {
    return currentFile();
}

const std::string& LangText(std::string_view key) {
    return currentFile()->text(key);
}

void TextCodeTable::fill(const LanguageFile& file) {
    for (int i = 0; i < kSize; ++i) texts_[i] = file.text("text" + std::to_string(i));
}

const std::string& TextCodeTable::at(int index) const {
    static const std::string empty;
    if (index < 0 || index >= kSize) return empty;
    return texts_[index];
}

TextCodeTable& currentTextCodes() {
    static TextCodeTable table;
    return table;
}

bool deriveInstrVariant(const std::string& name, std::string& variant) {
    static const std::pair<const char*, const char*> kTails[] = {
        {"-E", "EU"},         {"-ESP", "ESP"},   {"-K", "KORVEN"},  {"-AUS", "AUS"},
        {"-OST", "AVSTRIJA"}, {"-CH", "SVICA"},  {"-IT", "MARUT"},  {"-DE", "DE"},
        {"UK  ", "KORVEN"},   {"-SO", "SOLVIK"}, {"-VARN", "VARN"}, {"-DOSK", "DOSK"},
    };
    for (const auto& [tail, word] : kTails) {
        if (endsWith(name, tail)) {
            variant = word;
            return true;
        }
    }
    return false;
}

}  // namespace pelvoro
