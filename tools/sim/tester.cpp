#include "tester.h"

#include <cctype>
#include <cstdio>

namespace pelvoro::sim {

namespace {

bool isUpper(char c) {
    return c >= 'A' && c <= 'Z';
}

bool parseDecimal(const std::string& text, long& out) {
    if (text.empty() || text.size() > 9) return false;
    long v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    out = v;
    return true;
}

bool parseHex(const std::string& text, long& out) {
    if (text.empty() || text.size() > 7) return false;
    long v = 0;
    for (char c : text) {
        int d = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                : (c >= 'A' && c <= 'F')                    ? c - 'A' + 10
                : (c >= 'a' && c <= 'f')                    ? c - 'a' + 10
                                                            : -1;
        if (d < 0) return false;
        v = v * 16 + d;
    }
    out = v;
    return true;
}

// Upper-case hexadecimal of at least `minDigits` digits, as the tester writes and reads
// its numbers ("7E8", "0C"; never "c" or "C").
bool isTesterHex(const std::string& text, size_t minDigits) {
    if (text.size() < minDigits || text.size() > 7) return false;
    for (char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return false;
    return true;
}

bool isDigits(const std::string& text) {
    if (text.empty() || text.size() > 3) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

std::string padNumber(const std::string& text, size_t width) {
    std::string t = text;
    while (t.size() < width) t.insert(t.begin(), '0');
    return t;
}

std::string printable(const std::string& bytes, size_t limit = 60) {
    std::string out;
    for (size_t i = 0; i < bytes.size() && i < limit; ++i) {
        unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (c >= 32 && c < 127) {
            out += static_cast<char>(c);
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "<%02X>", c);
            out += buf;
        }
    }
    if (bytes.size() > limit) out += "...";
    return out;
}

bool commandMatches(const std::string& pattern, const std::string& command) {
    return pattern.empty() || command.compare(0, pattern.size(), pattern) == 0;
}

std::string twoBytes(size_t n) {
    if (n > 0xFFFF) n = 0xFFFF;
    return {static_cast<char>((n >> 8) & 0xFF), static_cast<char>(n & 0xFF)};
}

}  // namespace

unsigned checksum16(const std::string& text) {
    unsigned sum = 0;
    for (unsigned char c : text) sum = (sum + c) & 0xFFFF;
    return sum;
}

std::string graphText(const std::vector<std::string>& lines, int announced) {
    std::string text = "#" + std::to_string(announced) + ";\n\r";
    for (const std::string& line : lines) text += line + "\n\r";
    // The end marker must follow a line end; a graph without lines has one empty line.
    if (lines.empty()) text += "\n\r";
    return text + "#EOF;";
}

Tester::Tester(const TesterModel& model, Scenario scenario, Log log)
    : model_(model), scenario_(std::move(scenario)), log_(std::move(log)) {}

std::vector<Chunk> Tester::feed(const std::string& bytes) {
    out_.clear();
    for (char b : bytes) {
        switch (model_.family) {
            case Family::A:
                feedA(b);
                break;
            case Family::B:
                feedB(b);
                break;
            case Family::C:
                feedC(b);
                break;
        }
    }
    return std::move(out_);
}

std::string Tester::instrumentValue(const std::string& key) const {
    auto it = scenario_.instrument.find(key);
    if (it != scenario_.instrument.end()) return it->second;
    if (key == "type") return model_.typeCode;
    if (key == "model") return model_.modelText;
    if (key == "name") return std::string("Simulated ") + model_.key;
    if (key == "firmware") return "1.10";
    if (key == "hardware") return "2.0";
    if (key == "serial") return "00001234";
    if (key == "docversion") return "1.0";
    if (key == "caldate") return "01.01.2026";
    return {};
}

int Tester::resultCount() const {
    if (scenario_.resultCount) return *scenario_.resultCount;
    return model_.family == Family::A ? int(scenario_.results.size())
                                      : int(scenario_.records.size());
}

// ---------------------------------------------------------------------------------------
// Replies and faults

void Tester::reply(const std::string& command, std::vector<Chunk> chunks) {
    if (chunks.empty()) return;
    chunks.front().delayMs += scenario_.replyDelayMs;
    for (Fault& fault : scenario_.faults) {
        if (!commandMatches(fault.command, command)) continue;
        ++fault.seen;
        if (fault.occurrence != 0 && fault.seen != fault.occurrence) continue;
        size_t total = 0;
        for (const Chunk& c : chunks) total += c.bytes.size();
        long n = -1;
        if (!fault.arg.empty()) parseDecimal(fault.arg, n);
        log_(std::string("fault ") + faultName(fault.kind) + " on the reply to " + command);
        switch (fault.kind) {
            case Fault::Kind::Silence:
                chunks.clear();
                break;
            case Fault::Kind::Late:
                if (!chunks.empty()) chunks.front().delayMs += n >= 0 ? int(n) : 3000;
                break;
            case Fault::Kind::Garbage: {
                size_t count = n >= 0 ? size_t(n) : std::max<size_t>(total, 8);
                // Junk lines: bytes 0x80-0xFE, every line (also the last) ended by CR, so
                // that a line reader gets complete lines of nonsense, not only a time-out.
                std::string junk;
                unsigned seed = 0x2545u + unsigned(fault.seen);
                for (size_t i = 0; i < count; ++i) {
                    seed = seed * 1103515245u + 12345u;
                    bool lineEnd = i + 1 == count ? count > 1 : i % 8 == 7;
                    junk += lineEnd ? '\r' : static_cast<char>(0x80 + (seed >> 16) % 0x7F);
                }
                int delay = chunks.empty() ? 0 : chunks.front().delayMs;
                chunks = {Chunk{delay, junk, false}};
                break;
            }
            case Fault::Kind::Short: {
                size_t drop = n >= 0 ? size_t(n) : std::max<size_t>(total / 2, 1);
                size_t keep = drop >= total ? 0 : total - drop;
                for (Chunk& c : chunks) {
                    size_t take = std::min(keep, c.bytes.size());
                    c.bytes.resize(take);
                    keep -= take;
                }
                break;
            }
            case Fault::Kind::NoLineEnd:
                for (Chunk& c : chunks) std::erase(c.bytes, '\r');
                break;
            case Fault::Kind::Status: {
                std::string code = fault.arg.empty() ? "5" : fault.arg;
                for (Chunk& c : chunks) {
                    size_t pos = 0;
                    while ((pos = c.bytes.find("SER", pos)) != std::string::npos) {
                        bool lineStart = pos == 0 || c.bytes[pos - 1] == '\r';
                        size_t end = c.bytes.find('\r', pos);
                        if (!lineStart || end == std::string::npos) {
                            pos += 3;
                            continue;
                        }
                        c.bytes.replace(pos + 3, end - pos - 3, code);
                        pos += 3 + code.size();
                    }
                }
                break;
            }
            case Fault::Kind::Skip: {
                // The first lines of the reply are left out (a tester that answers with its
                // status alone).
                long lines = n >= 0 ? n : 1;
                for (Chunk& c : chunks) {
                    while (lines > 0 && !c.bytes.empty()) {
                        size_t end = c.bytes.find('\r');
                        c.bytes.erase(0, end == std::string::npos ? c.bytes.size() : end + 1);
                        --lines;
                    }
                }
                break;
            }
            case Fault::Kind::Pull: {
                size_t at = n >= 0 ? size_t(n) : total / 2;
                std::vector<Chunk> kept;
                for (Chunk& c : chunks) {
                    if (at == 0 && !kept.empty()) break;
                    size_t take = std::min(at, c.bytes.size());
                    c.bytes.resize(take);
                    at -= take;
                    kept.push_back(c);
                    if (at == 0) break;
                }
                if (kept.empty())
                    kept.push_back(Chunk{chunks.empty() ? 0 : chunks[0].delayMs, {}, false});
                kept.back().pullAfter = true;
                chunks = std::move(kept);
                break;
            }
        }
    }
    for (Chunk& c : chunks) out_.push_back(std::move(c));
}

void Tester::replyLines(const std::string& command, const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines) bytes += line + "\r";
    reply(command, {Chunk{0, bytes, false}});
}

// ---------------------------------------------------------------------------------------
// Family A: text lines ending with CR

void Tester::feedA(char byte) {
    if (!binaryCommand_.empty()) {
        // checksum low, checksum high, the text, 0x00
        if (binary_.size() >= 2 && byte == '\0') {
            std::string name = binaryCommand_;
            binaryCommand_.clear();
            finishWrite(name, binary_);
            binary_.clear();
        } else if (binary_.size() > 4096) {
            log_("write " + binaryCommand_ + " without its closing 0x00; dropped");
            binaryCommand_.clear();
            binary_.clear();
        } else {
            binary_ += byte;
        }
        return;
    }
    if (byte == '\r') {
        std::string line;
        line.swap(line_);
        lineA(line);
    } else if (byte == '\n' && line_.empty()) {
        // a stray line feed between lines
    } else if (line_.size() < 4096) {
        line_ += byte;
    }
}

void Tester::lineA(const std::string& line) {
    if (!pendingCommand_.empty()) {
        pendingArgs_.push_back(line);
        if (pendingArgs_.size() == pendingNeeded_) {
            std::string name = pendingCommand_;
            std::vector<std::string> args = std::move(pendingArgs_);
            pendingCommand_.clear();
            pendingArgs_.clear();
            commandA(name, args);
        }
        return;
    }
    if (line == "-" && ack_ == Ack::None && lastCommand_ == "MAS") {
        log_("rx - : the program stopped sending its structure");
        lastCommand_.clear();
        return;
    }
    if (line == "+" || line == "-") {
        if (ack_ == Ack::None) {
            log_("rx \"" + line + "\" outside a transfer; ignored");
            return;
        }
        if (line == "-") {
            log_("rx - : the program stopped the transfer");
            ack_ = Ack::None;
            return;
        }
        ++ackIndex_;
        if (ack_ == Ack::Structure)
            sendStructureEntry();
        else
            sendMraResult();
        return;
    }
    bool command = line.size() >= 3 && isUpper(line[0]) && isUpper(line[1]) &&
                   (isUpper(line[2]) || line[2] == '1');
    if (!command) {
        log_("rx line \"" + printable(line) + "\" is no command; ignored");
        return;
    }
    ack_ = Ack::None;
    std::string name = line.substr(0, 3);
    lastCommand_ = name;
    bool takesArgument = name == "MN1" || name == "MR1" || name == "MPR" || name == "MAS";
    bool ownLines = model_.argumentStyle == 2;
    if (line.size() == 3) {
        log_("rx " + name);
        if (name == "MWN" || name == "MWF" || name == "MWU") {
            binaryCommand_ = name;
            binary_.clear();
            return;
        }
        size_t needed = 0;
        if (name == "MDT" || name == "MCD")
            needed = 6;
        else if (takesArgument && ownLines)
            needed = name == "MAS" ? 5 : 1;
        else if (takesArgument) {
            log_(name + " without its \";\" arguments: this tester takes them in the command line");
            replyLines(name, {"SER1"});
            return;
        }
        if (needed > 0) {
            pendingCommand_ = name;
            pendingNeeded_ = needed;
            pendingArgs_.clear();
            return;
        }
        commandA(name, {});
        return;
    }
    if (line[3] == ';' && takesArgument && !ownLines) {
        argumentsClosed_ = line.back() == ';';
        std::vector<std::string> args;
        size_t start = 4;
        while (start <= line.size()) {
            size_t semi = line.find(';', start);
            if (semi == std::string::npos) {
                if (start < line.size()) args.push_back(line.substr(start));
                break;
            }
            args.push_back(line.substr(start, semi - start));
            start = semi + 1;
        }
        log_("rx " + printable(line));
        commandA(name, args);
        return;
    }
    log_("rx \"" + printable(line) + "\": not understood by this tester");
    replyLines(name, {"SER1"});
}

std::string Tester::nextStructureId() const {
    long highest = 0;
    for (const StructureEntry& e : scenario_.structure) {
        long v = 0;
        if (parseHex(e.id, v) && v < 0xFFF0) highest = std::max(highest, v);
    }
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02lX", highest + 1);
    return buf;
}

void Tester::commandA(const std::string& name, const std::vector<std::string>& args) {
    auto number = [&](long& n) { return !args.empty() && parseDecimal(args[0], n); };
    long n = 0;
    if (name == "MRD") {
        std::vector<Chunk> chunks;
        for (int i = 0; i < scenario_.busyLines; ++i)
            chunks.push_back(Chunk{i == 0 ? 0 : scenario_.busyGapMs, "%\r", false});
        chunks.push_back(Chunk{scenario_.busyLines > 0 ? scenario_.busyGapMs : 0, "SER0\r", false});
        reply(name, std::move(chunks));
    } else if (name == "MWH") {
        static const char* kNumbers[] = {"01", "02", "03", "04", "05", "06",
                                         "07", "08", "09", "10", "11"};
        std::vector<std::string> lines;
        for (size_t i = 0; i < 11; ++i)
            lines.push_back(std::string(kNumbers[i]) + "." + instrumentValue(instrumentKeys()[i]));
        lines.push_back("SER0");
        replyLines(name, lines);
    } else if (name == "MNS") {
        int count = scenario_.structureCount.value_or(int(scenario_.structure.size()));
        replyLines(name, {std::to_string(count), "SER0"});
    } else if (name == "MNU") {
        replyLines(name, {std::to_string(resultCount()), "SER0"});
    } else if (name == "MNN") {
        replyLines(name, {std::to_string(scenario_.named.size()), "SER0"});
    } else if (name == "MN1") {
        if (number(n) && n >= 1 && size_t(n) <= scenario_.named.size())
            replyLines(name, {scenario_.named[size_t(n) - 1]});
        else
            replyLines(name, {"SER3"});
    } else if (name == "MPR") {
        if (number(n) && n >= 1) {
            resultPointer_ = size_t(n);
            replyLines(name, {"SER0"});
        } else {
            replyLines(name, {"SER3"});
        }
    } else if (name == "MR1") {
        if (number(n) && n >= 1 && size_t(n) <= scenario_.results.size())
            replyLines(name, scenario_.results[size_t(n) - 1].lines);
        else
            replyLines(name, {"SER3"});
    } else if (name == "MRA") {
        ack_ = Ack::Results;
        ackIndex_ = resultPointer_ - 1;
        sendMraResult();
    } else if (name == "MST") {
        ack_ = Ack::Structure;
        ackIndex_ = 0;
        sendStructureEntry();
    } else if (name == "MCM") {
        std::vector<Chunk> chunks;
        int gap = scenario_.busyGapMs / 2;
        for (int percent = 0; percent <= 100; percent += 25)
            chunks.push_back(
                Chunk{percent == 0 ? 0 : gap, "%" + std::to_string(percent) + "\r", false});
        chunks.push_back(Chunk{gap, "SER0\r", false});
        scenario_.structure.clear();
        scenario_.named.clear();
        log_("structure memory cleared");
        reply(name, std::move(chunks));
    } else if (name == "MAS") {
        addStructureEntry(args);
    } else if (name == "MDT" || name == "MCD") {
        // Six numbers in upper-case hexadecimal of at least two digits each.
        long v[6] = {};
        bool ok = args.size() == 6;
        for (size_t i = 0; ok && i < 6; ++i)
            ok = isTesterHex(args[i], 2) && parseHex(args[i], v[i]);
        ok = ok && v[1] >= 1 && v[1] <= 12 && v[2] >= 1 && v[2] <= 31 && v[3] < 24 && v[4] < 60 &&
             v[5] < 60;
        if (!ok) {
            log_(name + " with a malformed date");
            replyLines(name, {"SER1"});
            return;
        }
        char buf[160];
        std::snprintf(buf, sizeof buf, "%02ld.%02ld.%04ld %02ld:%02ld:%02ld", v[2], v[1], v[0],
                      v[3], v[4], v[5]);
        if (name == "MCD") {
            scenario_.instrument["caldate"] = std::string(buf).substr(0, 10);
            log_(std::string("calibration date set to ") + buf);
        } else {
            log_(std::string("clock set to ") + buf);
        }
        replyLines(name, {"SER0"});
    } else if (name == "MEX") {
        ack_ = Ack::None;
        resultPointer_ = 1;
        log_("connection ended");
    } else {
        log_(name + " is no command of this tester");
        replyLines(name, {"SER1"});
    }
}

// "MAS": one structure entry. The fields are checked as the tester checks them; a refused
// entry is answered "SER1" (with "FFFF" as its number in the own-lines style) and stored
// nowhere. Every stored entry is logged as the tester keeps it ("stored ..."), so that
// what arrived can be compared with what was sent.
void Tester::addStructureEntry(const std::vector<std::string>& args) {
    const bool ownLines = model_.argumentStyle == 2;
    auto refuse = [&](const std::string& why) {
        log_("MAS refused: " + why);
        replyLines("MAS", ownLines ? std::vector<std::string>{"FFFF", "SER1"}
                                   : std::vector<std::string>{"SER1"});
    };
    if (ownLines) {
        // "FFF0", parent, "FFF0", name, type text
        const std::string &parent = args[1], &name = args[3], &typeText = args[4];
        if (args[0] != "FFF0" || args[2] != "FFF0")
            return refuse("first and third texts must be \"FFF0\", not \"" + printable(args[0]) +
                          "\" and \"" + printable(args[2]) + "\"");
        bool known = parent == "FFFF";
        for (const StructureEntry& e : scenario_.structure) known = known || e.id == parent;
        if (!known)
            return refuse("parent \"" + printable(parent) +
                          "\" is neither FFFF nor a number this tester gave");
        if (name.size() > 16)
            return refuse("name of " + std::to_string(name.size()) + " characters (at most 16)");
        if (typeText.size() != 12 || !isTesterHex(typeText.substr(0, 6), 6) ||
            !isTesterHex(typeText.substr(6), 6))
            return refuse("type text \"" + printable(typeText) +
                          "\" is not 12 upper-case hexadecimal digits");
        if (int(scenario_.structure.size()) >= scenario_.capacity) {
            log_("MAS: the structure memory is full");
            replyLines("MAS", {"FFFF", "SER99"});
            return;
        }
        StructureEntry entry{nextStructureId(), parent, "FFFF", name, typeText};
        scenario_.structure.push_back(entry);
        log_("stored " + entry.id + "|" + entry.pid + "|" + entry.bid + "|" +
             printable(entry.name) + "|" + entry.type);
        replyLines("MAS", {entry.id, "SER0"});
        return;
    }
    // ";" style: level 1, level 2, level 3, item number, name, each closed by ";".
    if (!argumentsClosed_) return refuse("the line does not end with \";\"");
    if (args.size() != 5) return refuse(std::to_string(args.size()) + " fields instead of five");
    for (size_t i = 0; i < 4; ++i)
        if (!isDigits(args[i]))
            return refuse("field " + std::to_string(i + 1) + " \"" + printable(args[i]) +
                          "\" is not a number");
    long level[3] = {}, item = 0;
    for (size_t i = 0; i < 3; ++i) parseDecimal(args[i], level[i]);
    parseDecimal(args[3], item);
    if (item < 1 || item > 14) return refuse("item number " + args[3] + " is unknown");
    if (level[0] == 0 || (level[1] == 0 && level[2] != 0))
        return refuse("position " + args[0] + ";" + args[1] + ";" + args[2] + " is no position");
    auto position = [&](long a, long b, long c) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "P;%03ld;%03ld;%03ld;", a, b, c);
        return std::string(buf);
    };
    auto taken = [&](const std::string& prefix) {
        for (const std::string& e : scenario_.named)
            if (e.compare(0, prefix.size(), prefix) == 0) return true;
        return false;
    };
    if (taken(position(level[0], level[1], level[2])))
        return refuse("position " + args[0] + ";" + args[1] + ";" + args[2] + " is taken");
    if (level[1] != 0 && !taken(position(level[0], level[2] != 0 ? level[1] : 0, 0)))
        return refuse("entry " + args[0] + ";" + args[1] + ";" + args[2] + " has no parent");
    if (int(scenario_.named.size()) >= scenario_.capacity) {
        log_("MAS: the structure memory is full");
        replyLines("MAS", {"SER99"});
        return;
    }
    std::string entry =
        position(level[0], level[1], level[2]) + padNumber(args[3], 2) + ";" + args[4] + ";";
    scenario_.named.push_back(entry);
    log_("stored " + printable(entry));
    replyLines("MAS", {"SER0"});
}

void Tester::finishWrite(const std::string& name, const std::string& payload) {
    unsigned low = static_cast<unsigned char>(payload[0]);
    unsigned high = static_cast<unsigned char>(payload[1]);
    std::string text = payload.substr(2);
    if (name != "MWN" && text.find('\n') != std::string::npos) {
        // The program removes line feeds before it sums; a text that still holds one
        // is refused.
        log_(name + " refused: the text holds a line feed");
        replyLines(name, {"SER1"});
        return;
    }
    unsigned expected = checksum16(text);
    if (name == "MWN") expected ^= 0x58E3;
    if ((low | (high << 8)) != expected) {
        char buf[80];
        std::snprintf(buf, sizeof buf, " checksum %04X, expected %04X", low | (high << 8),
                      expected);
        log_(name + buf);
        replyLines(name, {"SER2"});
        return;
    }
    // Several lines are kept with "_" between them, as the tester reports them.
    std::string stored;
    for (char c : text) {
        if (c == '\r')
            stored += '_';
        else
            stored += c;
    }
    const char* key = name == "MWN" ? "serial" : name == "MWF" ? "firm" : "user";
    scenario_.instrument[key] = stored;
    log_(std::string(key) + " written: \"" + printable(stored) + "\"");
    replyLines(name, {"SER0"});
}

void Tester::sendStructureEntry() {
    if (ackIndex_ >= scenario_.structure.size()) {
        ack_ = Ack::None;
        replyLines("MST", {"SER0"});
        return;
    }
    const StructureEntry& e = scenario_.structure[ackIndex_];
    replyLines("MST", {e.id, e.pid, e.bid, e.name, e.type});
}

void Tester::sendMraResult() {
    if (ackIndex_ >= scenario_.results.size()) {
        ack_ = Ack::None;
        replyLines("MRA", {"#---", "SER0"});
        return;
    }
    const ResultEntry& r = scenario_.results[ackIndex_];
    std::vector<std::string> lines = {"#" + r.parent};
    lines.insert(lines.end(), r.lines.begin(), r.lines.end());
    lines.push_back("-");
    replyLines("MRA", lines);
}

// ---------------------------------------------------------------------------------------
// Family B: three-letter commands, binary replies

void Tester::feedB(char byte) {
    if (isUpper(byte)) {
        letters_ += byte;
        if (letters_.size() == 3) {
            std::string name;
            name.swap(letters_);
            commandB(name);
        }
        return;
    }
    char buf[48];
    std::snprintf(buf, sizeof buf, "rx byte 0x%02X ignored", static_cast<unsigned char>(byte));
    log_(buf);
    letters_.clear();
}

void Tester::commandB(const std::string& name) {
    log_("rx " + name);
    if (name == "MRD") {
        reply(name, {Chunk{0, std::string("SER\0\0", 5), false}});
    } else if (name == "MWH") {
        long type = 0;
        parseDecimal(instrumentValue("type"), type);
        std::string block(1, static_cast<char>(type & 0xFF));
        block += '\0';
        std::string firmwareField = scenario_.instrument.count("fwfield")
                                        ? scenario_.instrument.at("fwfield")
                                        : instrumentValue("firmware");
        for (const std::string& field :
             {instrumentValue("name"), instrumentValue("model"), firmwareField,
              instrumentValue("serial"), instrumentValue("firm"), instrumentValue("user"),
              instrumentValue("extra")}) {
            block += field;
            block += '\0';
        }
        reply(name, {Chunk{0, "SWH" + twoBytes(block.size()) + block, false}});
    } else if (name == "MHW") {
        std::string block = instrumentValue("hardware") + "\r";
        reply(name, {Chunk{0, "SHW" + twoBytes(block.size()) + block, false}});
    } else if (name == "MNU") {
        recordCursor_ = 0;
        reply(name,
              {Chunk{0, "SNU" + std::string(1, '\x02') + twoBytes(size_t(resultCount())), false}});
    } else if (name == "MRE" || name == "MRG") {
        if (recordCursor_ < scenario_.records.size()) {
            sendRecordB(name, scenario_.records[recordCursor_++]);
        } else if (scenario_.afterLast == AfterLast::Repeat && !scenario_.records.empty()) {
            sendRecordB(name, scenario_.records.back());
        } else if (scenario_.afterLast == AfterLast::Silent) {
            log_("no record left; no answer");
        } else {
            reply(name, {Chunk{0, "S" + name.substr(1) + std::string(1, '\0'), false}});
        }
    } else if (name == "MEX") {
        recordCursor_ = 0;
        log_("connection ended");
    } else {
        log_(name + " is no command of this tester; no answer");
    }
}

void Tester::sendRecordB(const std::string& name, const RecordEntry& record) {
    std::string bytes = record.bytes.substr(0, 255);
    std::string reply_ =
        "S" + name.substr(1) + std::string(1, static_cast<char>(bytes.size())) + bytes;
    if (name == "MRG" && bytes.size() > 5 &&
        bytes.find(std::string("\0G", 2), 5) != std::string::npos) {
        reply_ += graphText(record.graph, record.graphCount.value_or(int(record.graph.size())));
    }
    reply(name, {Chunk{0, reply_, false}});
}

// ---------------------------------------------------------------------------------------
// Family C: single letters

void Tester::feedC(char byte) {
    unsigned char b = static_cast<unsigned char>(byte);
    if (expectParameter_) {
        expectParameter_ = false;
        char name[8];
        std::snprintf(name, sizeof name, "R%02X", b);
        log_(std::string("rx ") + name);
        if (!armed_ && !scenario_.lenient) {
            log_(std::string(name) + " without a \"P\" first; no answer");
            return;
        }
        armed_ = false;
        if (b == 0xFF) {
            size_t count = size_t(std::max(resultCount(), 0));
            // 0x02, 0x00, then the count as byte 2 + 256 * byte 3; a three-byte tester
            // has no byte 3 and so only byte 2 of the count.
            std::string bytes("\x02\x00", 2);
            bytes += static_cast<char>(count & 0xFF);
            if (scenario_.countReplyBytes == 4) bytes += static_cast<char>((count >> 8) & 0xFF);
            reply(name, {Chunk{0, bytes, false}});
        } else if (b == 0x00 || b == 0x01) {
            if (b == 0x00) recordCursorC_ = 0;
            std::string record(21, '\0');
            if (recordCursorC_ < scenario_.records.size())
                record = scenario_.records[recordCursorC_].bytes.substr(0, 21);
            record.resize(21, '\0');
            ++recordCursorC_;
            reply(name, {Chunk{0, record, false}});
        } else {
            log_(std::string(name) + " is no command of this tester; no answer");
        }
        return;
    }
    switch (byte) {
        case 'P':
            log_("rx P");
            armed_ = true;
            reply("P", {Chunk{0, "E", false}});
            break;
        case 'R':
            expectParameter_ = true;
            break;
        case 't': {
            log_("rx t");
            if (!armed_ && !scenario_.lenient) {
                log_("t without a \"P\" first; no answer");
                break;
            }
            armed_ = false;
            std::string block(2, '\0');
            const char* fields[] = {"firm", "name", "firmware", "serial"};
            for (int i = 0; i < 9; ++i) {
                std::string field = i < 4 ? instrumentValue(fields[i]).substr(0, 40) : "";
                field.resize(40, '\xFF');
                block += field;
            }
            reply("t", {Chunk{0, block, false}});
            break;
        }
        case 'u':
            log_("rx u: the program's search has ended");
            break;
        default: {
            char buf[48];
            std::snprintf(buf, sizeof buf, "rx byte 0x%02X ignored", b);
            log_(buf);
        }
    }
}

}  // namespace pelvoro::sim
