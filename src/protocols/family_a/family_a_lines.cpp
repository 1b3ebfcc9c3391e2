#include "protocols/family_a/family_a_lines.h"

#include <algorithm>

#include "common/lang_text.h"
#include "common/text.h"
#include "files/document_writer.h"
#include "instrument/models.h"
#include "transfer/download_tree.h"

namespace pelvoro {

namespace {}  // namespace

std::optional<int> familyADigits(std::string_view text) {
    if (text.empty()) return std::nullopt;
    int v = 0;
    for (char ch : text) {
        if (ch < '0' || ch > '9') return std::nullopt;
        v = v * 10 + (ch - '0');
    }
    return v;
}

std::string_view familyAChars(std::string_view s, std::size_t from, std::size_t n) {
    if (from == 0 || from > s.size()) return {};
    return s.substr(from - 1, n);
}

// ---- Pieces ---------------------------------------------------------------------------------

long familyAHex(std::string_view text) {
    long v = 0;
    for (char ch : text) {
        // A character that is no digit counts as 0.
        const int d = std::max(hexDigit(ch), 0);
        // Long garbage must not overflow: the IDs are 16-bit numbers.
        v = (v * 16 + d) & 0x0FFFFFFF;
    }
    return v;
}

std::string rewriteFamilyALine(std::string line, std::string_view typeCode) {
    auto code = [&line] { return std::string(familyAChars(line, 3, 2)); };
    auto at = [&line](std::size_t i) { return i <= line.size() ? line[i - 1] : '\0'; };
    if (typeCode == "51" || typeCode == "52" || typeCode == "53" || typeCode == "54") {
        if (line.size() >= 2) line.insert(2, "5");
        const char sub = at(6);
        if (code() == "56" && (sub == '2' || sub == '3' || sub == '4' || sub == '7'))
            line.replace(2, 2, "61");
        else if (code() == "59")
            line.replace(2, 2, "63");
        else if (code() == "56" && (sub == '5' || sub == '6'))
            line.replace(2, 2, "62");
        if (familyAChars(line, 3, 3) == "510") line = "F;64" + line.substr(5);
    } else if (typeCode == "55") {
        if (code() == "13")
            line.replace(2, 2, "71");
        else if (code() == "12")
            line.replace(2, 2, "72");
        else if (at(3) == '7')
            line.insert(3, "3");
    }
    return line;
}

namespace {

// The function names of the result codes: the translation key and what follows it. A
// code whose name depends on the sub-function has a row for each sub-function it knows;
// sub-function -1 names the code whatever its sub-function.
struct ResultName {
    int code;
    int sub;
    const char* key;
    const char* suffix = "";
};

constexpr ResultName kResultNames[] = {
    {51, -1, "Funct_VOLT"},     {52, 0, "text304"},         {52, 1, "text304", " dU"},
    {53, 1, "text305"},         {53, 2, "Funct_ZsRCD"},     {54, -1, "text538"},
    {55, -1, "Funct_R-ISO"},    {56, 0, "Funct_CONT"},      {56, 1, "Funct_R-LowOhm"},
    {57, -1, "text308"},        {58, -1, "text309"},        {61, -1, "Funct_CONT"},
    {62, -1, "Funct_CONT"},     {63, -1, "text525"},        {64, -1, "Funct_SOCKET"},
    {71, -1, "Funct_CONTVOLT"}, {72, -1, "Funct_STEPVOLT"}, {73, -1, "Funct_EARTH_RE"},
    {80, -1, "Funct_RESIST"},
};

}  // namespace

std::string familyAResultName(std::string_view line) {
    auto code = familyADigits(familyAChars(line, 3, 2));
    auto sub = familyADigits(familyAChars(line, 6, 1));
    if (!code) return {};
    for (const ResultName& n : kResultNames)
        if (n.code == *code && (n.sub == -1 || (sub && n.sub == *sub)))
            return LangText(n.key) + n.suffix;
    return {};
}

void readPositionNumbers(std::string_view line, int& a, int& b, int& c) {
    if (auto v = familyADigits(familyAChars(line, 3, 3))) a = *v;
    if (auto v = familyADigits(familyAChars(line, 7, 3))) b = *v;
    if (auto v = familyADigits(familyAChars(line, 11, 3))) c = *v;
}

bool parseNamedEntry(std::string_view line, FamilyANamedEntry& entry) {
    if (!startsWith(line, "P;")) return false;
    readPositionNumbers(line, entry.a, entry.b, entry.c);
    static const int kTypes[] = {-1, 1, 30, 2, 31, 5, 33, 42, 34, 36, 37, 38, 39, 40, 41};
    auto tt = familyADigits(familyAChars(line, 15, 2));
    entry.type = tt && *tt >= 1 && *tt <= 14 ? kTypes[*tt] : -1;
    // The name: after the fifth ";" up to the sixth.
    std::size_t pos = 0;
    for (int k = 0; k < 5; ++k) {
        pos = line.find(';', pos);
        if (pos == std::string_view::npos) return false;
        ++pos;
    }
    std::size_t end = line.find(';', pos);
    entry.name =
        std::string(line.substr(pos, end == std::string_view::npos ? line.npos : end - pos));
    return true;
}

// ---- Building the tree of a results download ------------------------------------------------

namespace {

// The kind code of a level (1 .. 3) in a position line.
int kindOf(const std::string& positionLine, int level) {
    static const std::size_t kAt[] = {0, 15, 18, 21};
    return familyADigits(familyAChars(positionLine, kAt[level], 2)).value_or(0);
}

// Name and type of a node of the ";"-style testers by the kind of its level.
bool nodeByKind(const TreePosition& n, const std::string& positionLine, std::string& name,
                int& type) {
    const int level = n.c != 0 ? 3 : n.b != 0 ? 2 : 1;
    const int kind = kindOf(positionLine, level);
    const std::string a = std::to_string(n.a), b = std::to_string(n.b), c = std::to_string(n.c);
    struct Row {
        int level, kind;
        const char* key;
        int number;  // 0 none, 1 a, 2 b, 3 c, 4 c - 8, 5 " " + a, 6 "1  " + b, 7 "2  " + c
        int type;
    };
    static const Row kRows[] = {
        {1, 1, "labObject_15", 1, 1},        {1, 2, "labObject_15", 1, 30},
        {1, 16, "labObject_15", 5, 1},       {2, 3, "labBlock_15", 2, 2},
        {2, 4, "labDistBoard_15", 2, 31},    {2, 17, "labLocation_15", 6, 12},
        {3, 5, "labFuse_15", 3, 5},          {3, 6, "labCicuit_15", 4, 33},
        {3, 7, "labEarthElectr_15", 0, 42},  {3, 8, "labEarthCond_15", 0, 34},
        {3, 9, "labWaterServ_15", 0, 36},    {3, 10, "labOilServ_15", 0, 37},
        {3, 11, "labLightProt_15", 0, 38},   {3, 12, "labGasServ_15", 0, 39},
        {3, 13, "labStructSteel_15", 0, 40}, {3, 14, "labOtherServ_15", 0, 41},
        {3, 18, "labLocation_15", 7, 13},
    };
    for (const Row& r : kRows) {
        if (r.level != level || r.kind != kind) continue;
        name = LangText(r.key);
        switch (r.number) {
            case 1:
                name += a;
                break;
            case 2:
                name += b;
                break;
            case 3:
                name += c;
                break;
            case 4:
                name += std::to_string(std::max(n.c - 8, 0));
                break;
            case 5:
                name += " " + a;
                break;
            case 6:
                name += "1  " + b;
                break;
            case 7:
                name += "2  " + c;
                break;
            default:
                break;
        }
        type = r.type;
        return true;
    }
    return false;
}

}  // namespace

std::vector<ItemBlock> resultsItemBlocks(const std::string& key, const std::string& typeCode,
                                         const std::vector<FamilyAResult>& results,
                                         const std::vector<FamilyANamedEntry>& named) {
    // Nodes for every result's position and their parents; names and types only from the
    // named structure (whose entries may add nodes of their own).
    DownloadTree tree;
    for (const FamilyAResult& r : results) tree.addResult({r.a, r.b, r.c});
    tree.completeParents();
    for (const FamilyANamedEntry& e : named) {
        int i = tree.nodeAt({e.a, e.b, e.c});
        if (i < 0) i = tree.addNode({e.a, e.b, e.c});
        tree.node(i).name = e.name;
        tree.node(i).type = e.type;
    }
    tree.number();

    std::vector<ItemBlock> out;
    out.reserve(tree.entries().size());
    const bool positionGroup = modelHas(key, kPositionGroups);
    const bool lightRods = typeCode == "53";
    long entry = 0;
    for (const DownloadTreeEntry& e : tree.entries()) {
        ItemBlock& block = out.emplace_back();
        block.add(ItemField::ID, e.id).add(ItemField::PID, e.pid).add(ItemField::BID, e.bid);
        const TreePosition& p = e.position;
        if (!e.isNode) {
            // Results are written as results whatever their level: a result measured at a
            // block (no fuse number) stays a result under that block.
            const FamilyAResult& r = results[std::size_t(e.source)];
            block.add(ItemField::Name, r.name).add(ItemField::Type, 23);
            if (!positionGroup && r.protVer > 1) block.add(ItemField::ProtVer, r.protVer);
            block.add(ItemField::ResText, r.resultLine).add(ItemField::FpString, r.fpLine);
            block.end = ++entry;
            continue;
        }
        std::string name;
        int type = -1;
        if (positionGroup) {
            if (p.b == 0 && p.c == 0) {
                name = LangText("labObject_15") + std::to_string(p.a);
                type = 1;
            } else if (p.c == 0) {
                name = LangText(lightRods ? "labLightRod_15" : "labBlock_15") + std::to_string(p.b);
                type = lightRods ? 3 : 2;
            } else {
                name = LangText(lightRods ? "labElectrode_15" : "labFuse_15") + std::to_string(p.c);
                type = lightRods ? 7 : 5;
            }
        } else if (!e.name.empty() && e.type != -1) {
            name = e.name;
            type = e.type;
        } else {
            const std::string positionLine =
                e.source >= 0 ? results[std::size_t(e.source)].positionLine : std::string();
            nodeByKind(p, positionLine, name, type);
        }
        if (type != -1) block.add(ItemField::Name, name).add(ItemField::Type, type);
        block.end = ++entry;
    }
    return out;
}

}  // namespace pelvoro
