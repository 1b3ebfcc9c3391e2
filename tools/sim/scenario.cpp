#include "scenario.h"

#include <cctype>
#include <sstream>

namespace pelvoro::sim {

namespace {

std::string trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
    return s.substr(b, e - b);
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool parseNumber(const std::string& text, int& out) {
    if (text.empty() || text.size() > 9) return false;
    int v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    out = v;
    return true;
}

bool parseYesNo(const std::string& text, bool& out) {
    if (text == "yes" || text == "on" || text == "1") return out = true, true;
    if (text == "no" || text == "off" || text == "0") return out = false, true;
    return false;
}

struct FaultNameEntry {
    const char* name;
    Fault::Kind kind;
};
const FaultNameEntry kFaultNames[] = {
    {"silence", Fault::Kind::Silence}, {"late", Fault::Kind::Late},
    {"garbage", Fault::Kind::Garbage}, {"short", Fault::Kind::Short},
    {"nocr", Fault::Kind::NoLineEnd},  {"ser", Fault::Kind::Status},
    {"pull", Fault::Kind::Pull},       {"skip", Fault::Kind::Skip},
};

}  // namespace

const char* faultName(Fault::Kind kind) {
    for (const auto& f : kFaultNames)
        if (f.kind == kind) return f.name;
    return "?";
}

std::optional<Fault> parseFault(const std::string& text, std::string& error) {
    Fault fault;
    std::string rest = trim(text);
    size_t colon = rest.find(':');
    if (colon != std::string::npos) {
        fault.arg = rest.substr(colon + 1);
        rest = rest.substr(0, colon);
    }
    size_t hash = rest.find('#');
    if (hash != std::string::npos) {
        if (!parseNumber(rest.substr(hash + 1), fault.occurrence) || fault.occurrence < 1) {
            error = "fault \"" + text + "\": the occurrence after # must be a number from 1";
            return std::nullopt;
        }
        rest = rest.substr(0, hash);
    }
    size_t at = rest.find('@');
    if (at != std::string::npos) {
        fault.command = rest.substr(at + 1);
        rest = rest.substr(0, at);
        if (fault.command.empty()) {
            error = "fault \"" + text + "\": a command name must follow @";
            return std::nullopt;
        }
    }
    bool known = false;
    for (const auto& f : kFaultNames) {
        if (rest == f.name) {
            fault.kind = f.kind;
            known = true;
        }
    }
    if (!known) {
        error =
            "unknown fault \"" + rest + "\" (silence, late, garbage, short, nocr, ser, pull, skip)";
        return std::nullopt;
    }
    int n = 0;
    bool numeric = fault.kind == Fault::Kind::Late || fault.kind == Fault::Kind::Garbage ||
                   fault.kind == Fault::Kind::Short || fault.kind == Fault::Kind::Pull ||
                   fault.kind == Fault::Kind::Skip;
    if (numeric && !fault.arg.empty() && !parseNumber(fault.arg, n)) {
        error = "fault \"" + text + "\": the value after : must be a number";
        return std::nullopt;
    }
    return fault;
}

const std::vector<std::string>& instrumentKeys() {
    static const std::vector<std::string> kKeys = {"type",     "name",       "model",   "firmware",
                                                   "hardware", "extra",      "serial",  "firm",
                                                   "user",     "docversion", "caldate", "fwfield"};
    return kKeys;
}

std::string unescape(const std::string& text, std::string& error) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c != '\\' || i + 1 >= text.size()) {
            out += c;
            continue;
        }
        char e = text[++i];
        switch (e) {
            case 'r':
                out += '\r';
                break;
            case 'n':
                out += '\n';
                break;
            case 't':
                out += '\t';
                break;
            case '0':
                out += '\0';
                break;
            case '\\':
                out += '\\';
                break;
            case '"':
                out += '"';
                break;
            case 'x': {
                int h = i + 1 < text.size() ? hexDigit(text[i + 1]) : -1;
                int l = i + 2 < text.size() ? hexDigit(text[i + 2]) : -1;
                if (h < 0 || l < 0) {
                    error = "\\x must be followed by two hexadecimal digits";
                    return {};
                }
                out += static_cast<char>(h * 16 + l);
                i += 2;
                break;
            }
            default:
                error = std::string("unknown escape \\") + e;
                return {};
        }
    }
    return out;
}

bool parseBytes(const std::string& text, std::string& out, std::string& error) {
    size_t i = 0;
    while (i < text.size()) {
        char c = text[i];
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
        } else if (c == '"') {
            size_t j = i + 1;
            std::string raw;
            while (j < text.size() && text[j] != '"') {
                if (text[j] == '\\' && j + 1 < text.size()) raw += text[j++];
                raw += text[j++];
            }
            if (j >= text.size()) {
                error = "a quoted string is not closed";
                return false;
            }
            std::string bytes = unescape(raw, error);
            if (!error.empty()) return false;
            out += bytes;
            i = j + 1;
        } else {
            int h = hexDigit(c);
            int l = i + 1 < text.size() ? hexDigit(text[i + 1]) : -1;
            if (h < 0 || l < 0) {
                error = "expected hexadecimal byte pairs or quoted strings";
                return false;
            }
            out += static_cast<char>(h * 16 + l);
            i += 2;
        }
    }
    return true;
}

bool parseScenario(const std::string& text, Scenario& out, std::string& error) {
    std::istringstream in(text);
    std::string raw;
    int lineNo = 0;
    std::string section;
    auto fail = [&](const std::string& why) {
        error = "line " + std::to_string(lineNo) + ": " + why;
        return false;
    };
    while (std::getline(in, raw)) {
        ++lineNo;
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        std::string line = trim(raw);
        if (line.empty() || line[0] == '#') continue;
        if (line.front() == '[' && line.back() == ']') {
            section = line.substr(1, line.size() - 2);
            if (section == "result") {
                out.results.emplace_back();
            } else if (section == "record") {
                out.records.emplace_back();
            } else if (section != "tester" && section != "instrument" && section != "structure" &&
                       section != "named") {
                return fail("unknown section [" + section + "]");
            }
            continue;
        }
        size_t space = line.find_first_of(" \t");
        std::string key = line.substr(0, space);
        std::string rawValue = space == std::string::npos ? "" : trim(line.substr(space));
        std::string why;
        if (section.empty() || section == "tester") {
            int n = 0;
            bool yes = false;
            if (key == "model") {
                out.model = rawValue;
            } else if (key == "busy" && parseNumber(rawValue, n)) {
                out.busyLines = n;
            } else if (key == "busy-gap" && parseNumber(rawValue, n)) {
                out.busyGapMs = n;
            } else if (key == "delay" && parseNumber(rawValue, n)) {
                out.replyDelayMs = n;
            } else if (key == "count-bytes" && parseNumber(rawValue, n) && (n == 3 || n == 4)) {
                out.countReplyBytes = n;
            } else if (key == "after-last") {
                if (rawValue == "empty")
                    out.afterLast = AfterLast::Empty;
                else if (rawValue == "silent")
                    out.afterLast = AfterLast::Silent;
                else if (rawValue == "repeat")
                    out.afterLast = AfterLast::Repeat;
                else
                    return fail("after-last takes empty, silent or repeat");
            } else if (key == "capacity" && parseNumber(rawValue, n)) {
                out.capacity = n;
            } else if (key == "baud" && parseNumber(rawValue, n)) {
                out.baud = n;
            } else if (key == "strict-baud" && parseYesNo(rawValue, yes)) {
                out.strictBaud = yes;
            } else if (key == "lenient" && parseYesNo(rawValue, yes)) {
                out.lenient = yes;
            } else if (key == "result-count" && parseNumber(rawValue, n)) {
                out.resultCount = n;
            } else if (key == "structure-count" && parseNumber(rawValue, n)) {
                out.structureCount = n;
            } else if (key == "fault") {
                auto fault = parseFault(rawValue, why);
                if (!fault) return fail(why);
                out.faults.push_back(*fault);
            } else {
                return fail("unknown or malformed setting \"" + line + "\"");
            }
        } else if (section == "instrument") {
            bool known = false;
            for (const std::string& k : instrumentKeys()) known = known || k == key;
            if (!known) return fail("unknown instrument value \"" + key + "\"");
            std::string value = unescape(rawValue, why);
            if (!why.empty()) return fail(why);
            out.instrument[key] = value;
        } else if (section == "structure") {
            // Split first, so that an escaped "|" (\x7C) stays inside its field.
            std::vector<std::string> fields;
            size_t start = 0;
            for (;;) {
                size_t bar = line.find('|', start);
                std::string field =
                    unescape(line.substr(start, bar == std::string::npos ? bar : bar - start), why);
                if (!why.empty()) return fail(why);
                fields.push_back(field);
                if (bar == std::string::npos) break;
                start = bar + 1;
            }
            if (fields.size() != 5) return fail("a structure entry is ID|PID|BID|NAME|TYPE");
            out.structure.push_back({fields[0], fields[1], fields[2], fields[3], fields[4]});
        } else if (section == "named") {
            std::string value = unescape(line, why);
            if (!why.empty()) return fail(why);
            out.named.push_back(value);
        } else if (section == "result") {
            if (key == "parent") {
                out.results.back().parent = rawValue;
                continue;
            }
            std::string value = unescape(line, why);
            if (!why.empty()) return fail(why);
            out.results.back().lines.push_back(value);
        } else if (section == "record") {
            RecordEntry& record = out.records.back();
            int n = 0;
            if (key == "data") {
                if (!parseBytes(rawValue, record.bytes, why)) return fail(why);
            } else if (key == "graph") {
                std::string value = unescape(rawValue, why);
                if (!why.empty()) return fail(why);
                record.graph.push_back(value);
            } else if (key == "graph-count" && parseNumber(rawValue, n)) {
                record.graphCount = n;
            } else {
                return fail("a record holds data, graph and graph-count lines");
            }
        }
    }
    return true;
}

}  // namespace pelvoro::sim
