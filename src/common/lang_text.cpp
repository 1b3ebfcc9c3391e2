#include "common/lang_text.h"

#include <atomic>
#include <cstdint>
#include <cstring>
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

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Blanks around a key do not count, as in ini files ("msgCanNotSend_35 ").
std::string_view trimmedKey(std::string_view key) {
    if (!key.empty() && !isBlank(key.front()) && !isBlank(key.back())) return key;
    const size_t b = key.find_first_not_of(" \t\r\n");
    if (b == std::string_view::npos) return {};
    return key.substr(b, key.find_last_not_of(" \t\r\n") - b + 1);
}

}  // namespace

// Keys equal without regard to case have the same bytes once bit 5 of every byte is set:
// the hash reads them eight bytes at a time that way (KeyEqual then tells letters apart
// from the few other bytes this folds together).
size_t LanguageFile::KeyHash::operator()(std::string_view key) const {
    constexpr uint64_t kFold = 0x2020202020202020ull;
    uint64_t h = 14695981039346656037ull ^ key.size();
    size_t i = 0;
    for (; i + 8 <= key.size(); i += 8) {
        uint64_t w;
        std::memcpy(&w, key.data() + i, 8);
        h = (h ^ (w | kFold)) * 1099511628211ull;
        h ^= h >> 29;
    }
    uint64_t tail = 0;
    for (size_t k = 0; i + k < key.size(); ++k)
        tail |= uint64_t(uint8_t(key[i + k]) | 0x20) << (8 * k);
    h = (h ^ tail) * 1099511628211ull;
    return size_t(h ^ (h >> 32));
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

namespace {

// Counts the language files made current; a cached text of another count is stale.
std::atomic<uint64_t> languageGeneration{1};

// The line generators and the parser ask for the same few dozen keys again and again: a
// small cache of each thread in front of the table. An entry holds its key's bytes, so a
// key is found only under exactly the bytes it was asked with; longer keys are not kept.
constexpr size_t kCachedKeyBytes = 40;

// The first and the last eight bytes of a key (overlapping for keys of 8 to 16 bytes; a
// shorter key is all in `head`). With the length they are the whole of a key of up to 16
// bytes, as most keys are ("text559", "Visual_E12", "Unit_SYS-TN/TT").
struct KeyEnds {
    uint64_t head = 0, tail = 0;
    explicit KeyEnds(std::string_view key) {
        const size_t n = key.size();
        if (n >= 8) {
            std::memcpy(&head, key.data(), 8);
            std::memcpy(&tail, key.data() + n - 8, 8);
        } else {
            for (size_t i = 0; i < n; ++i) head |= uint64_t(uint8_t(key[i])) << (8 * i);
        }
    }
    size_t slot(size_t n) const {
        uint64_t h = (head ^ (tail * 0x9E3779B97F4A7C15ull) ^ n) * 0xFF51AFD7ED558CCDull;
        h ^= h >> 33;
        h *= 0xC4CEB9FE1A85EC53ull;
        return size_t(h ^ (h >> 33));
    }
};

struct CachedText {
    uint64_t generation = 0;
    uint32_t size = 0;
    uint64_t head = 0, tail = 0;
    char key[kCachedKeyBytes];
    const std::string* text = nullptr;
};

}  // namespace

void setCurrentLanguageFile(std::shared_ptr<LanguageFile> file) {
    currentFile() = file ? std::move(file) : std::make_shared<LanguageFile>();
    languageGeneration.fetch_add(1);
}

std::shared_ptr<LanguageFile> currentLanguageFile() {
    return currentFile();
}

const std::string& LangText(std::string_view key) {
    // Two entries for each slot: the one asked for last first.
    constexpr size_t kSlots = 512;
    thread_local CachedText cache[kSlots][2];
    if (key.empty() || key.size() > kCachedKeyBytes) return currentFile()->text(key);
    const uint64_t generation = languageGeneration.load(std::memory_order_acquire);
    const KeyEnds ends(key);
    CachedText* slot = cache[ends.slot(key.size()) % kSlots];
    auto holds = [&](const CachedText& e) {
        return e.generation == generation && e.size == key.size() && e.head == ends.head &&
               e.tail == ends.tail &&
               (key.size() <= 16 || std::memcmp(e.key, key.data(), key.size()) == 0);
    };
    if (holds(slot[0])) return *slot[0].text;
    if (holds(slot[1])) return *slot[1].text;
    const std::string& text = currentFile()->text(key);
    slot[1] = slot[0];
    slot[0].generation = generation;
    slot[0].size = uint32_t(key.size());
    slot[0].head = ends.head;
    slot[0].tail = ends.tail;
    std::memcpy(slot[0].key, key.data(), key.size());
    slot[0].text = &text;
    return text;
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
