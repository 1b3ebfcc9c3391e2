#include "common/lang_text.h"

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

std::string LanguageFile::text(std::string_view key) const {
    // Keys are looked up as ini files look them up: blanks around them do not count
    // ("msgCanNotSend_35 " is "msgCanNotSend_35").
    auto it = values_.find(upperAscii(trimmed(key)));
    return it == values_.end() ? std::string("**") : it->second;
}

bool LanguageFile::hasKey(std::string_view key) const {
    return values_.count(upperAscii(trimmed(key))) != 0;
}

void setCurrentLanguageFile(std::shared_ptr<LanguageFile> file) {
    currentFile() = file ? std::move(file) : std::make_shared<LanguageFile>();
}

std::shared_ptr<LanguageFile> currentLanguageFile() {
    return currentFile();
}

std::string LangText(std::string_view key) {
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
