#include "files/transcript_import.h"

#include <algorithm>
#include <ostream>
#include <string_view>

#include "common/lang_text.h"
#include "common/text.h"
#include "files/document_writer.h"
#include "files/text_lines.h"

namespace pelvoro {

namespace {

struct ConversionError {
    int line;
    std::string message;
};

bool skipTo(Lines& lines, std::string_view marker) {
    std::string_view l;
    while (lines.next(l))
        if (l == marker) return true;
    return false;
}

std::optional<int> hexValue(std::string_view text) {
    std::string t = trimmed(text);
    if (t.empty() || t.size() > 8) return std::nullopt;
    long long v = 0;
    for (char c : t) {
        const int d = hexDigit(c);
        if (d < 0) return std::nullopt;
        v = v * 16 + d;
    }
    if (v > 0x7FFFFFFF) return std::nullopt;
    return int(v);
}

// `back`: how many lines were read after the one that holds the number.
int hexOrFail(std::string_view text, const Lines& lines, int back = 0) {
    if (auto v = hexValue(text)) return *v;
    throw ConversionError{lines.lineNumber() - back,
                          "'" + std::string(text) + "' is not a valid hexadecimal number"};
}

// PID and BID: empty or "FFFF" is none (-1).
int linkValue(std::string_view text, const Lines& lines, int back) {
    std::string t = trimmed(text);
    if (t.empty() || equalsIgnoreCase(t, "FFFF")) return -1;
    return hexOrFail(t, lines, back);
}

struct SplitRule {
    const char* code;
    std::vector<std::pair<int, int>> slices;  // 1-based start, length; suffix ";k;"
};

const std::vector<SplitRule>& splitRules() {
    static const std::vector<SplitRule> rules = {
        {"22", {{1, 8}, {9, 5}, {14, 16}, {30, 29}, {59, 16}}},
        {"23", {{1, 7}, {8, 3}, {11, 8}, {19, 29}, {48, 13}}},
        {"24", {{1, 2}}},
        {"30", {{1, 7}, {8, 7}, {15, 3}, {18, 2}, {20, 11}, {31, 5}, {36, 5}, {41, 2}}},
        {"31", {{1, 7}, {8, 5}, {13, 2}, {15, 11}, {26, 5}, {31, 5}, {36, 2}}},
        {"32", {{1, 7}, {8, 4}, {12, 2}, {14, 8}, {22, 3}, {25, 5}, {30, 2}}},
    };
    return rules;
}

// Mark-up interpretation, only as far as a name line needs it: runs of text separated by
// tokens, text codes interpreted in place, symbols as runs of their own.
struct NameScan {
    std::vector<std::string> runs;
    std::string current;
    char kind = 0;

    void close() {
        if (!current.empty()) runs.push_back(std::move(current));
        current.clear();
    }
    void scan(std::string_view line, int depth) {
        for (size_t i = 1; i < line.size(); ++i) {
            unsigned char c = static_cast<unsigned char>(line[i]);
            if (c != '#') {
                if (c >= 32 && c != 255) current += char(c);
                continue;
            }
            close();
            if (++i >= line.size()) break;
            char t = line[i];
            if (t == '#') {
                current += '#';
            } else if (t == 'K' || t == 'S') {
                std::string_view digits = line.substr(i + 1, 3);
                i += digits.size();
                if (t == 'S') {
                    runs.emplace_back();  // a symbol holds a run of its own
                } else if (depth < 4) {
                    if (auto n = parseInt(digits); n && digits.size() == 3)
                        scan("X" + currentTextCodes().at(*n), depth + 1);
                }
            } else if (t == 'A' || t == 'C' || t == 'F' || t == 'H' || t == 'L' || t == 'P') {
                if (i + 1 < line.size()) {
                    ++i;
                    if (t == 'P') kind = line[i];
                }
            }
        }
    }
};

}  // namespace

std::vector<std::string> transcriptLosses(const TranscriptConversion& c) {
    auto partName = [](TranscriptPart part) {
        switch (part) {
            case TranscriptPart::InstrumentData:
                return LangText("InstrDataPart_35") + " (>>MWH<<)";
            case TranscriptPart::Structure:
                return LangText("StructurePart_35") + " (>>MST<<)";
            case TranscriptPart::Results:
                break;
        }
        return LangText("ResultsPart_35") + " (>>MRA<<)";
    };
    std::vector<std::string> out;
    for (TranscriptPart part : c.missingParts)
        out.push_back(LangText("msgPartMissing_35") + " " + partName(part));
    for (TranscriptPart part : c.cutParts)
        out.push_back(LangText("msgPartCut_35") + " " + partName(part));
    if (c.cutRecords > 0)
        out.push_back(LangText("msgRecordsCut_50") + " " + std::to_string(c.cutRecords));
    return out;
}

bool looksLikeTranscript(const std::string& bytes) {
    for (const char* marker : {">>MWH<<", ">>MST<<", ">>MRA<<"})
        if (bytes.find(marker) != std::string::npos) return true;
    return false;
}

bool isTranscriptPath(const std::string& path) {
    if (path.size() < 3) return false;
    std::string_view ext = std::string_view(path).substr(path.size() - 3);
    return ext == "KRD" || ext == "krd";
}

std::vector<std::string> splitCodedResultLine(const std::string& line) {
    if (line.size() < 4 || line[0] != 'F') return {line};
    std::string code = line.substr(2, 2);
    const SplitRule* rule = nullptr;
    for (const SplitRule& r : splitRules())
        if (code == r.code) rule = &r;
    if (!rule) return {line};
    // The prefix is the first four fields with their separators; the fifth field is V.
    size_t pos = 0;
    for (int k = 0; k < 4; ++k) {
        size_t sep = line.find(';', pos);
        if (sep == std::string::npos) return {line};
        pos = sep + 1;
    }
    std::string prefix = line.substr(0, pos);
    size_t end = line.find(';', pos);
    std::string value = line.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
    std::vector<std::string> out;
    int k = 1;
    for (auto [start, length] : rule->slices) {
        std::string slice =
            size_t(start - 1) < value.size() ? value.substr(start - 1, length) : std::string();
        out.push_back(prefix + slice + ";" + std::to_string(k++) + ";");
    }
    return out;
}

std::string markupLineName(const std::string& line) {
    NameScan scan;
    scan.scan(line, 0);
    scan.close();
    if (scan.kind != 'N' || scan.runs.empty()) return {};
    return scan.runs.front();
}

TranscriptConversion convertTranscript(const std::string& transcript, std::ostream& out) {
    StreamSink sink(out);
    return convertTranscript(transcript, sink);
}

TranscriptConversion convertTranscript(const std::string& transcript, ByteSink& sink) {
    TranscriptConversion result;
    DocumentWriter out(sink);
    out.emptyHead(9);

    // Each part is looked for on its own: a transcript that lost one part's marker still
    // gives the others, and says which part was missing. A part marker where a part's own
    // lines were expected ends that part as cut.
    auto isPartMarker = [](std::string_view l) { return l == ">>MST<<" || l == ">>MRA<<"; };
    Lines lines(transcript);
    auto seekPart = [&lines, &result](std::string_view marker, TranscriptPart part) {
        const Lines::Mark from = lines.mark();
        if (skipTo(lines, marker)) return true;
        lines.seek(from);
        result.missingParts.push_back(part);
        return false;
    };
    std::string_view l;
    try {
        // Instrument data.
        if (seekPart(">>MWH<<", TranscriptPart::InstrumentData)) {
            result.instrumentDataSeen = true;
            while (true) {
                const bool more = lines.next(l);
                if (!more || isPartMarker(l)) {
                    if (more) lines.back();
                    result.cutParts.push_back(TranscriptPart::InstrumentData);
                    break;
                }
                if (l.find(">>>SER") != std::string_view::npos) break;
                if (l.size() < 3 || l[2] != '.' || l[0] < '0' || l[0] > '9' || l[1] < '0' ||
                    l[1] > '9')
                    continue;
                int n = (l[0] - '0') * 10 + (l[1] - '0');
                if (n < 1 || n > 11) continue;
                std::string value(l.size() > 3 ? l.substr(3) : std::string_view{});
                if (n == 8 || n == 9) {
                    std::string cleaned;
                    for (char c : value) {
                        if (static_cast<unsigned char>(c) < 30) continue;
                        cleaned += c == '_' ? '\r' : c;
                    }
                    value = std::move(cleaned);
                }
                result.instrument.line(n) = std::move(value);
            }
        }

        // Structure.
        int highestId = -1;
        if (seekPart(">>MST<<", TranscriptPart::Structure)) {
            int generatedId = 10000;
            int position = 0;
            while (true) {
                std::string_view idLine, pidLine, bidLine, nameLine, typeLine;
                if (!lines.next(idLine) || idLine == ">>MRA<<") {
                    if (idLine == ">>MRA<<") lines.back();
                    result.cutParts.push_back(TranscriptPart::Structure);
                    break;
                }
                if (idLine.find(">>>SER") != std::string_view::npos) break;
                if (!lines.next(pidLine) || !lines.next(bidLine) || !lines.next(nameLine) ||
                    !lines.next(typeLine)) {
                    ++result.cutRecords;
                    result.cutParts.push_back(TranscriptPart::Structure);
                    break;
                }
                int id = trimmed(idLine).empty() ? generatedId++ : hexOrFail(idLine, lines, 4);
                int pid = linkValue(pidLine, lines, 3);
                int bid = linkValue(bidLine, lines, 2);
                int type = hexValue(typeLine.substr(0, 2)).value_or(0);
                if (type <= 0 || type > 42) type = 22;
                highestId = std::max(highestId, id);
                out.field(ItemField::ID, id);
                out.field(ItemField::PID, pid);
                out.field(ItemField::BID, bid);
                out.field(ItemField::Name, nameLine);
                out.field(ItemField::Type, type);
                out.blockEnd(position++);
                ++result.structureRecords;
                if (!skipTo(lines, ">+<")) {
                    result.cutParts.push_back(TranscriptPart::Structure);
                    break;
                }
            }
        }

        // Results.
        if (!seekPart(">>MRA<<", TranscriptPart::Results)) return result;
        // Result IDs lie above every structure ID: relinking files a result under the first
        // item with its owner's ID, which must never be another result.
        int resultId = std::max(5000, highestId + 1);
        while (lines.next(l)) {
            if (l == ">P---<") break;
            if (l.empty()) continue;
            int owner = hexOrFail(l.substr(1), lines);
            std::vector<std::string> taken;
            bool closed = false;
            while (lines.next(l)) {
                if (l == ">-<") {
                    closed = true;
                    break;
                }
                if (l.empty()) continue;
                if (l[0] == 'X' || l[0] == 'D') {
                    taken.emplace_back(l);
                } else if (l[0] == 'F') {
                    for (std::string& part : splitCodedResultLine(std::string(l)))
                        taken.push_back(std::move(part));
                }
            }
            // A record cut by the end of the file may end in a cut line: it is not taken.
            if (!closed) {
                ++result.cutRecords;
                break;
            }
            std::string name;
            for (const std::string& t : taken) {
                if (t.find("#PN") == std::string::npos) continue;
                name = markupLineName(t);
                break;
            }
            if (name.empty()) name = LangText("Result_10");
            out.field(ItemField::ID, resultId);
            out.field(ItemField::PID, owner);
            out.field(ItemField::Name, name);
            out.field(ItemField::Type, 23);
            for (const std::string& t : taken)
                out.field(t[0] == 'F' ? ItemField::FpString : ItemField::ResText, t);
            out.blockEnd(resultId);
            ++resultId;
            ++result.resultRecords;
            if (!skipTo(lines, ">+<")) break;
        }
    } catch (const ConversionError& e) {
        result.ok = false;
        result.errorLine = e.line;
        result.error = "Line " + std::to_string(e.line) + ": " + e.message;
    }
    return result;
}

}  // namespace pelvoro
