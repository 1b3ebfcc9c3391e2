#include "files/document_file.h"

#include <algorithm>
#include <deque>
#include <istream>
#include <iterator>
#include <ostream>
#include <sstream>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/lang_text.h"
#include "common/text.h"
#include "document/item_types.h"
#include "document/structure_document.h"
#include "document/results_hook.h"

namespace pelvoro {

namespace {

constexpr std::string_view kTerminator = "------";
constexpr std::string_view kBlockEnd = "----------";
constexpr std::string_view kInstrumentMarker = "$InstrumentData%";
constexpr std::string_view kOperatorMarker = "$HeaderOperator%";
constexpr std::string_view kHeaderInstrMarker = "$HeaderInstrData%";
constexpr std::string_view kCommentsMarker = "$ReportComments%";
constexpr std::string_view kItemsMarker = "$StructureItems%";

// File numbers 1 .. 7 of the header operator section, as indexes of TOperatorData:
// Operator1, Operator2, TestSite1, TestSite2, Footer, Operator3, TestSite3.
constexpr int kOperatorSlot[7] = {0, 1, 3, 4, 6, 2, 5};
// The header instrument data section holds instrument lines 2, 3, 7 and 8.
constexpr int kHeaderInstrLine[4] = {2, 3, 7, 8};

bool versionHasComments(int v) {
    return v == 3 || v == 7 || v == 8 || v == 9 || v == 12 || v == 15 || v == 20 || v == 25;
}

std::string_view tail(std::string_view s, size_t from) {
    return from < s.size() ? s.substr(from) : std::string_view{};
}

// ------------------------------------------------------------------------------------
// Writing

class Writer {
  public:
    explicit Writer(std::ostream& out) : out_(out) {}
    void line(std::string_view text) { out_ << text << "\r\n"; }
    void value(std::string_view prefix, const std::string& v) {
        out_ << prefix << flattenValue(v) << "\r\n";
    }
    void numbered(int n, const std::string& v) {
        if (!v.empty()) value(std::to_string(n) + ": ", v);
    }
    void number(std::string_view prefix, int n) { out_ << prefix << n << "\r\n"; }

  private:
    std::ostream& out_;
};

// ------------------------------------------------------------------------------------
// Reading

struct ReadError {
    int line;
    std::string message;
};

class Lines {
  public:
    explicit Lines(std::string_view bytes) {
        size_t start = 0;
        for (size_t i = 0; i < bytes.size(); ++i) {
            char c = bytes[i];
            if (c != '\r' && c != '\n') continue;
            lines_.push_back(bytes.substr(start, i - start));
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
            start = i + 1;
        }
        if (start < bytes.size()) lines_.push_back(bytes.substr(start));
    }
    bool atEnd() const { return pos_ >= lines_.size(); }
    std::string_view next() { return lines_[pos_++]; }
    void rewind() { pos_ = 0; }
    // 1-based number of the line returned last.
    int lineNumber() const { return int(pos_); }

  private:
    std::vector<std::string_view> lines_;
    size_t pos_ = 0;
};

int toInt(std::string_view text, const Lines& lines) {
    if (auto v = parseInt(text)) return *v;
    throw ReadError{lines.lineNumber(), "'" + std::string(text) + "' is not a valid integer value"};
}

// Reads lines until `marker`; false when `stop` or the end came first.
bool seekMarker(Lines& lines, std::string_view marker, std::string_view stop) {
    while (!lines.atEnd()) {
        std::string_view l = lines.next();
        if (l == marker) return true;
        if (l == stop) return false;
    }
    return false;
}
// Reads lines until `marker`; false at the end.
bool seekMarker(Lines& lines, std::string_view marker) {
    while (!lines.atEnd())
        if (lines.next() == marker) return true;
    return false;
}

// Places the loaded items (top-level items after the root, in file order) by their
// PID, then orders every item's children by BID.
//
// An item goes under the first item, in the tree's pre-order at that moment, whose ID
// equals its PID. The items are grouped in sets by the tree they currently belong to
// (the root's tree or the tree of a top-level item still to be placed), so finding an
// item's tree takes near-constant time; only duplicate IDs need a comparison of
// positions. A PID that leads into the item's own tree (a cycle) is treated as missing.
class Relinker {
  public:
    Relinker(StructureDocument& doc, std::vector<std::unique_ptr<StructureItem>>& pending)
        : doc_(doc), pending_(pending) {
        int n = int(pending.size());
        items_.reserve(n);
        set_.resize(n + 1);
        zone_.resize(n + 1);
        for (int i = 0; i < n; ++i) {
            items_.push_back(pending[i].get());
            set_[i] = i;
            zone_[i] = i + 1;
            byId_[pending[i]->data.ID].push_back(i);
        }
        rootSet_ = n;
        set_[n] = n;
        zone_[n] = 0;
    }

    int run() {
        int orphans = 0;
        for (int i = 0; i < int(items_.size()); ++i) {
            StructureItem* item = items_[i];
            std::unique_ptr<StructureItem> owned = std::move(pending_[i]);
            int pid = item->data.PID;
            if (pid == -1) {
                doc_.attach(doc_.root(), std::move(owned));
                join(i, rootSet_);
                continue;
            }
            int target = findFirst(pid);
            if (target < 0 || zoneOf(target) == i + 1) {
                if (!unknown_) {
                    auto c = std::make_unique<StructureItem>();
                    c->data.Type = ItemType::Root;
                    c->data.ID = -1;
                    c->data.Name = LangText("UnKnown_15");
                    unknown_ = doc_.attach(doc_.root(), std::move(c), 0);
                }
                doc_.attach(*unknown_, std::move(owned));
                join(i, rootSet_);
                ++orphans;
                continue;
            }
            doc_.attach(*items_[target], std::move(owned));
            join(i, target);
        }
        return orphans;
    }

  private:
    int find(int x) {
        while (set_[x] != x) {
            set_[x] = set_[set_[x]];
            x = set_[x];
        }
        return x;
    }
    int zoneOf(int i) { return zone_[find(i)]; }
    // The set of `moved` joins the set of `target` and takes its zone.
    void join(int moved, int target) {
        int a = find(moved), b = find(target);
        if (a == b) return;
        int z = zone_[b];
        set_[a] = b;
        zone_[b] = z;
    }

    int findFirst(int id) {
        auto it = byId_.find(id);
        if (it == byId_.end()) return -1;
        const std::vector<int>& c = it->second;
        int best = c[0];
        for (size_t k = 1; k < c.size(); ++k)
            if (before(c[k], best)) best = c[k];
        return best;
    }

    // Whether item a comes before item b in the pre-order of the whole forest.
    bool before(int a, int b) {
        int za = zoneOf(a), zb = zoneOf(b);
        if (za != zb) return za < zb;
        std::vector<const StructureItem*> pa = chain(items_[a]), pb = chain(items_[b]);
        size_t k = 0;
        while (k < pa.size() && k < pb.size() && pa[k] == pb[k]) ++k;
        if (k == pa.size()) return true;   // a is an ancestor of b (or b itself)
        if (k == pb.size()) return false;  // b is an ancestor of a
        return pa[k]->indexInParent() < pb[k]->indexInParent();
    }
    static std::vector<const StructureItem*> chain(const StructureItem* item) {
        std::vector<const StructureItem*> c;
        for (const StructureItem* p = item; p; p = p->parent()) c.push_back(p);
        std::reverse(c.begin(), c.end());
        return c;
    }

    StructureDocument& doc_;
    std::vector<std::unique_ptr<StructureItem>>& pending_;
    std::vector<StructureItem*> items_;
    std::vector<int> set_, zone_;
    int rootSet_ = 0;
    std::unordered_map<int32_t, std::vector<int>> byId_;
    StructureItem* unknown_ = nullptr;
};

// Walks the child positions k = 0, 1, ... with a previous ID that starts at -1: the first
// child at k or later whose BID equals the previous ID moves to k and its ID becomes the
// previous ID; when none matches, position k keeps its child.
void orderChildrenByBid(StructureDocument& doc, StructureItem& parent) {
    int n = parent.childCount();
    if (n < 2) return;
    std::vector<std::unique_ptr<StructureItem>> kids(n);
    for (int i = n - 1; i >= 0; --i) kids[i] = doc.detach(*parent.child(i));
    std::unordered_map<int32_t, std::deque<int>> byBid;
    for (int i = 0; i < n; ++i) byBid[kids[i]->data.BID].push_back(i);
    std::vector<bool> placed(n, false);
    int firstRemaining = 0;
    int32_t previous = -1;
    for (int k = 0; k < n; ++k) {
        while (placed[firstRemaining]) ++firstRemaining;
        int chosen;
        auto it = byBid.find(previous);
        if (it != byBid.end() && !it->second.empty()) {
            chosen = it->second.front();
            it->second.pop_front();
            previous = kids[chosen]->data.ID;
        } else {
            chosen = firstRemaining;
            byBid[kids[chosen]->data.BID].pop_front();
        }
        placed[chosen] = true;
        doc.attach(parent, std::move(kids[chosen]));
    }
}

class Reader {
  public:
    Reader(StructureDocument& doc, std::string_view bytes, const DocumentReadOptions& options)
        : doc_(doc), lines_(bytes), options_(options) {
        hook_ = options.hook;
        if (!hook_ && options.useInstalledHook) hook_ = resultsHook();
    }

    DocumentReadResult run() {
        try {
            readAll();
        } catch (const ReadError& e) {
            damaged(e.line, e.message);
        }
        // Files with a version line always have the item list marker: without it every
        // item of the file is lost. (Version 1 files keep the rule that the marker ends
        // the search at the first terminator.)
        if (version_ >= 2 && !result_.hasItemList)
            damaged(lines_.lineNumber(),
                    std::string("the line \"") + std::string(kItemsMarker) +
                        "\" is missing or out of place: the items of the file were not read");
        if (itemPhase_) finishItems();
        doc_.setModified(false);
        return result_;
    }

  private:
    // The file is read only in part; the first damage is the one reported.
    void damaged(int line, const std::string& message) {
        if (!result_.ok) return;
        result_.ok = false;
        result_.errorLine = line;
        result_.error = "Line " + std::to_string(line) + ": " + message;
    }

    void readAll() {
        readVersion();
        if (version_ >= 2) {
            if (!readInstrumentData()) return;
        }
        readHeaderOperator();
        readHeaderInstrData();
        if (versionHasComments(version_)) {
            if (!readComments()) return;
        }
        // After a comments section the search skips terminators: a comment line "------"
        // from another writer ends the comments early, and the rest of them (with the
        // section's own terminator) stands before the marker. Files without comments
        // keep the terminator as the end of the search.
        if (versionHasComments(version_) ? !seekMarker(lines_, kItemsMarker)
                                         : !seekMarker(lines_, kItemsMarker, kTerminator))
            return;
        result_.hasItemList = true;
        itemPhase_ = true;
        readItems();
    }

    void readVersion() {
        while (!lines_.atEnd()) {
            std::string_view l = lines_.next();
            if (l.empty()) continue;
            if (startsWith(l, "Version")) {
                version_ = toInt(tail(l, 9), lines_);
                result_.version = version_;
                return;
            }
            break;
        }
        lines_.rewind();
        version_ = 1;
        result_.version = 1;
    }

    bool readInstrumentData() {
        bool found = false;
        while (!lines_.atEnd()) {
            std::string_view l = lines_.next();
            if (l == kInstrumentMarker) {
                found = true;
                break;
            }
            if (l == kTerminator) break;
        }
        if (lines_.atEnd() && !found) return false;
        // The section's lines were skipped up to its terminator: the tester's type code,
        // firmware and calibration date are gone.
        if (!found)
            damaged(lines_.lineNumber(),
                    std::string("the line \"") + std::string(kInstrumentMarker) +
                        "\" is missing: the instrument data of the file are lost");
        if (found) {
            TInstrumentData& data = doc_.InstrumentData;
            while (!lines_.atEnd()) {
                std::string_view l = lines_.next();
                if (l == kTerminator) break;
                if (l.empty() || l[0] < '0' || l[0] > '9') continue;
                int n = l[0] - '0';
                bool colon = l.size() > 1 && l[1] == ':';
                if (n >= 1 && (n != 1 || colon)) data.line(n) = std::string(tail(l, 3));
                if (!colon) {
                    int two = toInt(l.substr(0, std::min<size_t>(2, l.size())), lines_);
                    if (two == 10 || two == 11) data.line(two) = std::string(tail(l, 4));
                }
            }
        }
        doc_.InstrumentData.deriveVariant();
        if (options_.instrumentDataRead) options_.instrumentDataRead(doc_.InstrumentData);
        return true;
    }

    void readHeaderOperator() {
        if (!seekMarker(lines_, kOperatorMarker, "****")) return;
        auto& header = doc_.HeaderLines.lines;
        int turn = 0;
        while (!lines_.atEnd()) {
            std::string_view l = lines_.next();
            if (l == kTerminator) break;
            if (version_ >= 2) {
                int n = toInt(l.substr(0, std::min<size_t>(1, l.size())), lines_);
                if (n >= 1 && n <= 7) header[kOperatorSlot[n - 1]] = std::string(tail(l, 3));
            } else {
                header[kOperatorSlot[turn]] = std::string(l);
                turn = (turn + 1) % 5;
            }
        }
    }

    void readHeaderInstrData() {
        if (!seekMarker(lines_, kHeaderInstrMarker, kTerminator)) return;
        TInstrumentData& data = doc_.InstrumentData;
        int turn = 0;
        while (!lines_.atEnd()) {
            std::string_view l = lines_.next();
            if (l == kTerminator) break;
            if (version_ >= 2) {
                if (l.empty() || l[0] < '0' || l[0] > '9') break;
                int n = l[0] - '0';
                if (n >= 1 && n <= 4) data.line(kHeaderInstrLine[n - 1]) = std::string(tail(l, 3));
            } else if (turn < 4) {
                data.line(kHeaderInstrLine[turn++]) = std::string(l);
            }
        }
        std::string& firm = data.line(8);
        firm.erase(0, std::min(firm.find_first_not_of(' '), firm.size()));
    }

    bool readComments() {
        while (!lines_.atEnd()) {
            std::string_view l = lines_.next();
            if (l == kCommentsMarker || l == kTerminator) break;
        }
        if (lines_.atEnd()) return false;
        // Also after a search that stopped at a terminator: the lines after it are
        // taken as comments.
        while (!lines_.atEnd()) {
            std::string_view l = lines_.next();
            if (l == kTerminator) break;
            doc_.ReportComments.emplace_back(l);
        }
        return true;
    }

    void readItems() {
        while (!lines_.atEnd()) {
            auto item = std::make_unique<StructureItem>();
            TStructItemData& d = item->data;
            d.ID = d.PID = d.BID = d.Type = -1;
            int blockStart = 0;  // line of the block's first non-empty line
            bool ended = false;
            while (!lines_.atEnd()) {
                std::string_view l = lines_.next();
                if (startsWith(l, kBlockEnd)) {
                    ended = true;
                    break;
                }
                if (!blockStart && !l.empty()) blockStart = lines_.lineNumber();
                if (startsWith(l, "ID"))
                    d.ID = toInt(tail(l, 4), lines_);
                else if (startsWith(l, "PID"))
                    d.PID = toInt(tail(l, 5), lines_);
                else if (startsWith(l, "BID"))
                    d.BID = toInt(tail(l, 5), lines_);
                else if (startsWith(l, "Name"))
                    d.Name = std::string(tail(l, 6));
                else if (startsWith(l, "Type"))
                    d.Type = toInt(tail(l, 6), lines_);
                else if (startsWith(l, "ProtVer"))
                    d.ProtVer = toInt(tail(l, 9), lines_);
                else if (startsWith(l, "ResText")) {
                    std::string v(tail(l, 9));
                    if (!v.empty() && v[0] == 'D') v = rewriteDateRecord(v);
                    if (!v.empty()) d.ResTexts.push_back(std::move(v));
                } else if (startsWith(l, "FP_String")) {
                    std::string v(tail(l, 11));
                    if (!v.empty()) d.FpStrings.push_back(std::move(v));
                } else if (startsWith(l, "GraphString")) {
                    // Read in every version: downloads write their curves into version 9
                    // files, and this program's own files carry them too.
                    d.GraphString = std::string(tail(l, 13));
                }
            }
            // A file cut inside a block: what the block held is kept, but the items (and
            // results) after it are lost.
            if (!ended && blockStart)
                damaged(blockStart, std::string("the item block that begins here has no end line "
                                                "\"") +
                                        std::string(kBlockEnd) + "\": the file is cut short");
            if (d.ID == -1 && d.Type == -1) break;
            if (isResultType(d.Type) && d.FpStrings.empty() && d.ResTexts.empty()) continue;
            d.FileTextCount = int32_t(d.ResTexts.size());
            if (!d.GraphString.empty()) d.Graph = parseGraphString(d.GraphString);
            if (hook_ && (!d.FpStrings.empty() || !d.GraphString.empty()))
                hook_->resultItemLoaded(doc_, *item);
            d.L1Count =
                int(std::count_if(d.ResTexts.begin(), d.ResTexts.end(), [](const std::string& t) {
                    return t.find("#L1") != std::string::npos;
                }));
            pending_.push_back(std::move(item));
        }
    }

    void finishItems() {
        result_.itemsLoaded = int(pending_.size());
        Relinker relinker(doc_, pending_);
        result_.orphans = relinker.run();
        pending_.clear();
        // Collect first: ordering detaches and re-attaches children.
        std::vector<StructureItem*> parents;
        for (StructureItem* it : doc_.preorder())
            if (it->childCount() > 1) parents.push_back(it);
        for (StructureItem* p : parents) orderChildrenByBid(doc_, *p);
    }

    StructureDocument& doc_;
    Lines lines_;
    const DocumentReadOptions& options_;
    std::shared_ptr<ResultsHook> hook_;
    DocumentReadResult result_;
    int version_ = 1;
    bool itemPhase_ = false;
    std::vector<std::unique_ptr<StructureItem>> pending_;
};

}  // namespace

bool looksLikeDocument(std::string_view bytes) {
    // Line by line from the head, without indexing the whole file: a document shows what
    // it is in its first lines.
    bool first = true;
    size_t start = 0;
    while (start < bytes.size()) {
        const size_t end = bytes.find_first_of("\r\n", start);
        const std::string_view l = bytes.substr(
            start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (first && !l.empty()) {
            if (startsWith(l, "Version")) return true;
            first = false;
        }
        if (l == kInstrumentMarker || l == kOperatorMarker || l == kHeaderInstrMarker ||
            l == kCommentsMarker || l == kItemsMarker)
            return true;
        if (end == std::string_view::npos) break;
        start = end + 1;
        if (bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n') ++start;
    }
    return false;
}

std::string flattenValue(const std::string& value) {
    if (value.find_first_of("\r\n") == std::string::npos) return value;
    std::string out;
    out.reserve(value.size());
    for (size_t i = 0; i < value.size(); ++i) {
        char c = value[i];
        if (c == '\r' || c == '\n') {
            out += ' ';
            if (c == '\r' && i + 1 < value.size() && value[i + 1] == '\n') ++i;
        } else {
            out += c;
        }
    }
    return out;
}

std::string rewriteDateRecord(const std::string& value) {
    if (value.size() < 3) return value;
    static const char* const kSeparators[4] = {".", ".", "  ", ":"};
    std::string copy;
    int separators = 0;
    for (size_t i = 2; i + 1 < value.size(); ++i) {
        char c = value[i];
        if (c == '!') break;
        if (c == ';') {
            if (separators == 4) break;
            copy += kSeparators[separators++];
        } else {
            copy += c;
        }
    }
    if (copy.empty()) return value;
    return "X#PD" + copy;
}

void writeDocument(StructureDocument& doc, std::ostream& out) {
    Writer w(out);
    w.line("Version: " + std::to_string(kDocumentFileVersion));
    w.line("");

    const TInstrumentData& instr = doc.InstrumentData;
    w.line(kInstrumentMarker);
    for (int n = 1; n <= TInstrumentData::kLines; ++n) w.numbered(n, instr.line(n));
    w.line(kTerminator);
    w.line("");

    w.line(kOperatorMarker);
    for (int n = 1; n <= 7; ++n) w.numbered(n, doc.HeaderLines.lines[kOperatorSlot[n - 1]]);
    w.line(kTerminator);
    w.line("");

    w.line(kHeaderInstrMarker);
    for (int n = 1; n <= 4; ++n) w.numbered(n, instr.line(kHeaderInstrLine[n - 1]));
    w.line(kTerminator);
    w.line("");

    w.line(kCommentsMarker);
    for (const std::string& c : doc.ReportComments) {
        std::string text = flattenValue(c);
        // A comment that reads exactly like the terminator would end the comments when
        // the file is read back and lose the rest: it gets a trailing blank.
        if (text == kTerminator) text += ' ';
        w.line(text);
    }
    w.line(kTerminator);
    w.line("");

    w.line(kItemsMarker);
    const std::vector<StructureItem*> all = doc.preorder();
    for (size_t i = 1; i < all.size(); ++i) {
        StructureItem* item = all[i];
        TStructItemData& d = item->data;
        d.ID = int32_t(i);
        StructureItem* parent = item->parent();
        StructureItem* previous = item->previousSibling();
        d.PID = (parent == nullptr || parent == &doc.root()) ? -1 : parent->data.ID;
        d.BID = previous ? previous->data.ID : -1;
        w.number("ID: ", d.ID);
        w.number("PID: ", d.PID);
        w.number("BID: ", d.BID);
        w.value("Name: ", d.Name);
        w.number("Type: ", d.Type);
        if (d.ProtVer > 1) w.number("ProtVer: ", d.ProtVer);
        for (const std::string& fp : d.FpStrings)
            if (!fp.empty() && fp[0] == 'F') w.value("FP_String: ", fp);
        if (d.FpStrings.empty()) {
            for (const std::string& t : d.ResTexts)
                if (!t.empty() && t[0] == 'X') w.value("ResText: ", t);
        } else {
            // The lines of coded results are generated again at every load and are not
            // stored. Every line that came beside them from the file, a download or a
            // transcript (a date, a tester's own text line) is kept, after the FP strings,
            // where a fresh download has its date lines too.
            const size_t carried =
                std::min(d.ResTexts.size(), size_t(std::max(0, d.FileTextCount)));
            for (size_t k = 0; k < carried; ++k) {
                const std::string& t = d.ResTexts[k];
                if (!t.empty() && t[0] == 'X') w.value("ResText: ", t);
            }
        }
        // Readers that know no graph texts ignore the line.
        if (!d.GraphString.empty()) w.value("GraphString: ", d.GraphString);
        w.number(kBlockEnd, d.ID);
    }
    doc.setModified(false);
}

std::string writeDocumentToString(StructureDocument& document) {
    std::ostringstream out;
    writeDocument(document, out);
    return std::move(out).str();  // the text itself, not a copy of it
}

DocumentReadResult readDocumentFromBytes(StructureDocument& document, const std::string& bytes,
                                         const DocumentReadOptions& options) {
    Reader reader(document, bytes, options);
    return reader.run();
}

DocumentReadResult readDocument(StructureDocument& document, std::istream& in,
                                const DocumentReadOptions& options) {
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return readDocumentFromBytes(document, bytes, options);
}

}  // namespace pelvoro
