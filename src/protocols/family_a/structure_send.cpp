#include "protocols/family_a/structure_send.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <optional>

#include "common/lang_text.h"
#include "common/text.h"
#include "document/item_types.h"
#include "instrument/models.h"
#include "protocols/family_a/family_a_link_rules.h"
#include "protocols/family_a/family_a_requests.h"
#include "protocols/identification.h"
#include "protocols/link_rules_by_family.h"

namespace pelvoro {

namespace {

// Names the testers keep.
constexpr std::size_t kMaxNameLength = 16;
// Pause before the progress window goes, after the last entry or a failure.
constexpr double kEndPause = 0.3;
// Reads of an entry's status line before the entry counts as lost.
constexpr int kStatusReads = 3;
// Clearing reports its progress line by line; however many lines come, the wait for the
// final status ends after this long (Cancel works throughout).
constexpr double kClearLimit = 300.0;

std::string hexNumber(long value) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "%02lX", value);
    return buf;
}

std::optional<long> parseTesterNumber(const std::string& text) {
    if (text.empty() || text.size() > 7) return std::nullopt;
    long v = 0;
    for (char c : text) {
        const int d = hexDigit(c);
        if (d < 0) return std::nullopt;
        v = v * 16 + d;
    }
    return v;
}

std::string entryName(const std::string& name, bool semicolonStyle) {
    std::string out = name.substr(0, kMaxNameLength);
    for (char& c : out) {
        if (c == '\r' || c == '\n') c = ' ';
        if (semicolonStyle && c == ';') c = ',';
    }
    return out;
}

bool isFamilyBKey(const std::string& key) {
    return protocolOfKey(key) == ProtocolFamily::B;
}

// Step 7 of the command: the connection ends by the model's family.
void finish(Link& link, const std::string& key) {
    ProtocolFamily family = protocolOfKey(key);
    if (family == ProtocolFamily::A || family == ProtocolFamily::B)
        link.endConnection(linkRulesOf(family));
    else
        link.closePort();
    link.hideProgress();
    link.clearCancel();
}

// "MCM": empties the tester's structure memory. True when the tester reported success;
// otherwise the messages are shown (none after Cancel).
bool clearMemory(Link& link) {
    link.send("MCM\r");
    link.showProgress(LangText("msgDeleting_70"));
    link.progress().setGauge(0, 100);
    const double start = link.clock().elapsedSeconds();
    auto notSent = [&](bool communicationFailure) {
        if (communicationFailure) link.prompts().error(LangText("msgCommunFail_35"));
        link.hideProgress();
        link.prompts().error(LangText("msgStructNotSent_70"));
        return false;
    };
    for (;;) {
        ReplyLine line = link.readReplyLine();
        if (link.cancelRequested()) return false;
        if (!line.ok || link.clock().elapsedSeconds() - start > kClearLimit) {
            link.endConnection(kFamilyALinkRules);
            return notSent(false);
        }
        if (startsWith(line.text, "SER")) {
            if (Link::statusSuccess(line.text)) return true;
            link.checkStatus(line.text);  // "Error: #" and the code
            return notSent(false);
        }
        if (startsWith(line.text, "%")) {
            std::optional<int> percent = parseInt(line.text.substr(1));
            if (percent) link.progress().setGauge(std::clamp(*percent, 0, 100), 100);
            link.processEvents();
            continue;
        }
        return notSent(true);
    }
}

enum class EntryEnd { Sent, Failed, MemoryFull, Cancelled };

// The status line after an entry: read up to three times.
EntryEnd entryStatus(Link& link, const std::string& first) {
    std::string status = first;
    if (status.empty()) {
        ReplyLine line;
        for (int i = 0; i < kStatusReads && !line.ok; ++i) {
            line = link.readReplyLine();
            if (link.cancelRequested()) return EntryEnd::Cancelled;
        }
        if (!line.ok) return EntryEnd::Failed;
        status = line.text;
    }
    if (!Link::isStatusLine(status) || Link::statusSuccess(status)) return EntryEnd::Sent;
    if (Link::statusCode(status) == "99") {
        link.prompts().warning(LangText("msgMemoryFull_35"));
        return EntryEnd::MemoryFull;
    }
    link.checkStatus(status);  // "Error: #" and the code
    return EntryEnd::Failed;
}

// What is sent of one item, taken from the document before sending: while the entries
// go out the user interface runs, and the document may be edited meanwhile.
struct Entry {
    TStructItemData data;  // name, type, measures, level numbers
    int parent = -1;       // index of the nearest sent ancestor in the list, -1: the root
    int treeIndex = 0;     // position in the tree (the root is 0), for the gauge
};

std::vector<Entry> entriesOf(const StructureDocument& document) {
    std::vector<Entry> entries;
    std::map<const StructureItem*, int> indexOf;
    const std::vector<StructureItem*>& items = document.preorder();
    for (size_t i = 1; i < items.size(); ++i) {
        const StructureItem* item = items[i];
        if (isResultType(item->type())) continue;
        Entry e;
        e.data.Name = item->data.Name;
        e.data.Type = item->data.Type;
        e.data.Measures = item->data.Measures;
        e.data.editTexts().LevelNumbers = item->data.texts().LevelNumbers;
        e.treeIndex = int(i);
        for (const StructureItem* p = item->parent(); p; p = p->parent()) {
            auto it = indexOf.find(p);
            if (it != indexOf.end()) {
                e.parent = it->second;
                break;
            }
        }
        indexOf[item] = int(entries.size());
        entries.push_back(std::move(e));
    }
    return entries;
}

// Sends the entries in tree order; counts them in the outcome.
EntryEnd sendEntries(Link& link, const std::vector<Entry>& entries, int treeItems, bool ownLines,
                     SendStructureOutcome& out) {
    std::vector<long> testerNumbers(entries.size(), -1);
    int previousItemNumber = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
        const Entry& entry = entries[i];
        std::string statusLine;
        if (ownLines) {
            // Every parent sent has its number from the tester (an entry without one fails
            // the send below), so a child never names a parent the tester did not give.
            const long parentNumber = entry.parent < 0 ? -1 : testerNumbers[size_t(entry.parent)];
            if (entry.parent >= 0 && parentNumber < 0) return EntryEnd::Failed;
            std::string parent = entry.parent < 0 ? std::string("FFFF") : hexNumber(parentNumber);
            link.send(ownLinesEntryCommand(entry.data, parent));
            ReplyLine number = link.readReplyLine();
            if (link.cancelRequested()) {
                link.send("-\r");
                return EntryEnd::Cancelled;
            }
            if (!number.ok) return EntryEnd::Failed;
            if (startsWith(number.text, "SER")) {
                // A tester that refuses an entry may send its status without a number. One
                // that reports success without a number has stored an entry nobody can
                // name as a parent: the send fails there.
                if (Link::statusSuccess(number.text)) return EntryEnd::Failed;
                statusLine = number.text;
            } else {
                // The tester's number for the entry: the entries below it refer to it.
                std::optional<long> n = parseTesterNumber(number.text);
                if (!n) return EntryEnd::Failed;
                testerNumbers[i] = *n;
            }
        } else {
            int itemNumber = instrumentItemNumber(entry.data.Type);
            // A type the tester has no number for goes as the item sent before it (an
            // object when it is the first).
            if (itemNumber == 0) itemNumber = previousItemNumber ? previousItemNumber : 1;
            previousItemNumber = itemNumber;
            link.send(semicolonEntryCommand(entry.data, itemNumber));
        }
        EntryEnd end = entryStatus(link, statusLine);
        if (end == EntryEnd::Cancelled) link.send("-\r");
        if (end != EntryEnd::Sent) return end;
        ++out.entriesSent;
        link.progress().setGauge(int(std::lround(100.0 * (entry.treeIndex + 1) / treeItems)), 100);
        link.processEvents();
        if (link.cancelRequested()) {
            link.send("-\r");
            return EntryEnd::Cancelled;
        }
    }
    return EntryEnd::Sent;
}

}  // namespace

namespace {
SendStyle sendStyleOf(const std::string& key) {
    const InstrumentModel* m = modelByKey(key);
    return m ? m->send : SendStyle::None;
}
}  // namespace

bool acceptsStructure(const std::string& key) {
    return sendStyleOf(key) != SendStyle::None;
}

bool numbersEntriesItself(const std::string& key) {
    return sendStyleOf(key) == SendStyle::OwnLines;
}

int instrumentItemNumber(int typeCode) {
    static const std::map<int, int> kNumbers = {
        {ItemType::Object, 1},       {ItemType::Object_AN, 2},  {ItemType::Block, 3},
        {ItemType::DistBoard, 4},    {ItemType::Fuse, 5},       {ItemType::Circuit, 6},
        {ItemType::EarthElectr, 7},  {ItemType::EarthCond, 8},  {ItemType::WaterServ, 9},
        {ItemType::OilServ, 10},     {ItemType::LightProt, 11}, {ItemType::GasServ, 12},
        {ItemType::StructSteel, 13}, {ItemType::OtherServ, 14},
    };
    auto it = kNumbers.find(typeCode);
    return it == kNumbers.end() ? 0 : it->second;
}

void numberStructureLevels(StructureDocument& document) {
    // (item, its numbers) from the root down; the root's children are level 1.
    struct Pending {
        StructureItem* item;
        int level;
    };
    std::vector<Pending> stack = {{&document.root(), 0}};
    while (!stack.empty()) {
        Pending p = stack.back();
        stack.pop_back();
        if (p.level >= 3) continue;
        int n = 0;
        for (const auto& child : p.item->children()) {
            if (child->type() == ItemType::Measurement) continue;
            ++n;
            auto& numbers = child->data.editTexts().LevelNumbers;
            const auto& parent = p.item->data.texts().LevelNumbers;
            numbers = {std::to_string(n), "0", "0"};
            if (p.level == 1) numbers = {parent[0], std::to_string(n), "0"};
            if (p.level == 2) numbers = {parent[0], parent[1], std::to_string(n)};
            stack.push_back({child.get(), p.level + 1});
        }
    }
}

std::string tq75StructureRefusal(const StructureDocument& document) {
    for (const StructureItem* item : document.preorder()) {
        if (item == &document.root() || item->type() == ItemType::Measurement) continue;
        if (item->level() > 3)
            return "\rStructure includes more than three levels !    It can not be sent to the "
                   "instrument !\r";
        switch (item->type()) {
            case ItemType::LightRod:
            case ItemType::MPE:
            case ItemType::RCD:
            case ItemType::Floor:
            case ItemType::Room:
            case ItemType::Table:
                return "\r" + LangText("msgStructIemsIncl_35") + "   " + LangText("labRCD_15") +
                       ",  " + LangText("labLightRod_15") + ",  " + LangText("labMPE_15") + ",  " +
                       LangText("labFloor_15") + ",  " + LangText("labRoom_15") + ",  " +
                       LangText("labTable_15") + "." + "\r\r" + "       " +
                       LangText("msgCanNotSend_35 ") + "\r";
            default:
                break;
        }
    }
    return {};
}

std::string structureTypeText(const TStructItemData& item) {
    std::string text = hexNumber(item.Type & 0xFF);
    for (uint8_t b : item.Measures) text += hexNumber(b);
    return text;
}

std::string ownLinesEntryCommand(const TStructItemData& item, const std::string& parentReference) {
    return "MAS\rFFF0\r" + parentReference + "\rFFF0\r" + entryName(item.Name, false) + "\r" +
           structureTypeText(item) + "\r";
}

std::string semicolonEntryCommand(const TStructItemData& item, int itemNumber) {
    const auto& l = item.texts().LevelNumbers;
    return "MAS;" + l[0] + ";" + l[1] + ";" + l[2] + ";" + std::to_string(itemNumber) + ";" +
           entryName(item.Name, true) + ";\r";
}

SendStructureOutcome sendStructure(InstrumentContext& ctx, StructureDocument& document) {
    Link& link = ctx.link;
    Prompts& prompts = link.prompts();
    SendStructureOutcome out;
    const std::string key = selectedModelKey(ctx);
    out.key = key;
    auto done = [&](SendStructureResult result) {
        finish(link, key);
        out.result = result;
        return out;
    };
    if (isFamilyBKey(key)) {
        prompts.error(LangText("msgConnectError_35"));
        return done(SendStructureResult::NotAccepted);
    }
    if (!acceptsStructure(key)) {
        // Said, not left silent: the command is offered for models that take no structure.
        if (!key.empty()) prompts.information(LangText("msgNoStructure_70"));
        return done(SendStructureResult::NotAccepted);
    }
    const bool ownLines = numbersEntriesItself(key);

    // A structure the TQ75 cannot hold is refused before the tester is touched, so that
    // its memory is never emptied for nothing.
    if (!ownLines) {
        std::string refusal = tq75StructureRefusal(document);
        if (!refusal.empty()) {
            prompts.error(refusal);
            return done(SendStructureResult::Refused);
        }
        numberStructureLevels(document);
    }

    if (!link.connectInstrument(kFamilyALinkRules)) {
        out.cancelled = link.handshakeCancelled();
        return done(SendStructureResult::NoConnection);
    }
    // The instrument data take seconds at a low rate: shown, and Cancel ends them.
    link.showProgress(LangText("DLoadData_35"));
    if (!requestFamilyAData(link, ctx.data)) {
        bool cancelled = link.cancelRequested();
        link.endConnection(kFamilyALinkRules);
        if (!cancelled) prompts.error(LangText("msgConnectError_35"));
        out.cancelled = cancelled;
        return done(SendStructureResult::NoConnection);
    }
    link.hideProgress();  // the question that may follow stands alone

    bool clear = true;
    if (ownLines) {
        CountReply count = familyAEntryCount(link);
        if (!count.ok) return done(SendStructureResult::NotCleared);
        clear = false;
        if (count.count > 0) {
            Answer a = prompts.askYesNoCancelNoFirst(LangText("mbcWarning_20"),
                                                     LangText("msgDeleteStructure_70"));
            if (a == Answer::Cancel) return done(SendStructureResult::Declined);
            clear = a == Answer::Yes;
        }
    } else if (prompts.askYesNo(LangText("mbcWarning_20"), LangText("msgSendStructure_35")) !=
               Answer::Yes) {
        return done(SendStructureResult::Declined);
    }
    if (clear) {
        if (!clearMemory(link)) {
            out.cancelled = link.cancelRequested();
            return done(SendStructureResult::NotCleared);
        }
        out.cleared = true;
    }

    link.showProgress(LangText("SendStructure_35"));
    link.progress().setGauge(0, 100);
    link.processEvents();
    const std::vector<Entry> entries = entriesOf(document);
    EntryEnd end = sendEntries(link, entries, document.itemCount(), ownLines, out);
    link.pause(kEndPause);
    link.hideProgress();
    if (end == EntryEnd::Sent) {
        // The tester holds the structure now; the IDs it gave are not the document's.
        for (StructureItem* item : document.preorder()) item->data.ID = -1;
        prompts.information(LangText("msgSuccesExec_35"));
        return done(SendStructureResult::Sent);
    }
    out.memoryFull = end == EntryEnd::MemoryFull;
    out.cancelled = end == EntryEnd::Cancelled;
    if (end == EntryEnd::Failed) prompts.error(LangText("msgCommunFail_35"));
    prompts.error(LangText("msgStrucNotSendSucces"));
    return done(SendStructureResult::NotSent);
}

}  // namespace pelvoro
