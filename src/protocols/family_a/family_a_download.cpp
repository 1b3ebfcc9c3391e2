#include "protocols/family_a/family_a_download.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "common/lang_text.h"
#include "common/text.h"
#include "files/byte_sink.h"
#include "files/document_writer.h"
#include "files/transcript_import.h"
#include "instrument/models.h"
#include "protocols/download_command.h"
#include "protocols/family_a/family_a_link_rules.h"
#include "protocols/family_a/family_a_requests.h"
#include "transfer/download_tree.h"

namespace pelvoro {

namespace {

// Family A temporary files are version 9 documents.
constexpr int kFamilyAFileVersion = 9;

// Result IDs of both branches start here (above the tester's entry IDs where they allow).
constexpr long kFirstResultId = 5000;
// Structure entries whose ID line is empty are numbered from here.
constexpr long kFirstFallbackId = 10000;
// A tester's memory holds fewer entries than its 16-bit IDs can number: a transfer that
// goes on past this is not a tester's answer.
constexpr long kMaxTransferEntries = 65536;
// Lines of one "MRA" result; a tester sends a handful.
constexpr int kMaxResultLines = 500;

constexpr double kAfterStructureDocument = 0.3;
constexpr double kBeforeResultsDocument = 0.5;
constexpr double kAfterNamedStructure = 0.2;

int modelFamilyOfKey(const std::string& key) {
    const InstrumentModel* m = modelByKey(key);
    return m ? m->modelFamily : 2;
}

int gaugePosition(long done, long total) {
    if (total <= 0) return 0;
    double share = 100.0 * static_cast<double>(done) / static_cast<double>(total);
    return static_cast<int>(std::lround(std::clamp(share, 0.0, 100.0)));
}

// The temporary file of the download as the document writer's sink.
FunctionSink sinkOf(FamilyADownloadTarget& target) {
    return FunctionSink([&target](std::string_view bytes) { target.write(bytes); });
}

// The whole temporary file: the head, then the item blocks.
void writeDownloadFile(FamilyADownloadTarget& target, const std::vector<ItemBlock>& blocks) {
    FunctionSink sink = sinkOf(target);
    DocumentWriter file(sink);
    file.emptyHead(kFamilyAFileVersion);
    for (const ItemBlock& block : blocks) file.item(block);
}

// What the steps of a branch share.
struct Run {
    Run(InstrumentContext& c, const std::string& k, FamilyADownloadTarget& t)
        : ctx(c), key(k), target(t) {}
    InstrumentContext& ctx;
    const std::string& key;
    FamilyADownloadTarget& target;
    std::vector<std::string> told;  // keys of the messages shown by the branch
    Link& link() { return ctx.link; }
    void tell(const char* messageKey) {
        told.emplace_back(messageKey);
        const std::string key = messageKey;
        Prompts& p = ctx.link.prompts();
        if (key == "msgConnectError_35" || key == "msgCommunFail_35" || key == "msgDataCorrupt_35")
            p.error(LangText(key));
        else if (key == "msgDLoadNotCompl_50" || key == "msgCorectRecData_35")
            p.warning(LangText(key));
        else
            p.information(LangText(key));
    }
    // How the branch ended: with the document loaded or not, and the first message that
    // told the user why (or `failure` when the link showed it).
    FamilyAOutcome end(bool loaded, const char* failure = "msgConnectError_35") {
        FamilyAOutcome out = endWithoutCounts(loaded, failure);
        out.received = received;
        out.expected = expected;
        return out;
    }
    long received = -1, expected = -1;  // results, when the count was asked
    FamilyAOutcome endWithoutCounts(bool loaded, const char* failure) {
        const std::string first = told.empty() ? std::string() : told.front();
        if (loaded)
            return first.empty() ? FamilyAOutcome{FamilyAEnd::Complete, {}}
                                 : FamilyAOutcome{FamilyAEnd::Incomplete, first};
        if (first == "msgNoStructObj_35" || first == "msgNoDataToDownL_35")
            return {FamilyAEnd::NoData, first};
        if (!first.empty()) return {FamilyAEnd::Failed, first};
        return cancelled ? FamilyAOutcome{FamilyAEnd::Cancelled, {}}
                         : FamilyAOutcome{FamilyAEnd::Failed, failure};
    }
    bool cancelled = false;
    // A transfer that failed by time-out: the document gets what was written.
    void failedTransfer() {
        tell("msgCommunFail_35");
        tell("msgCorectRecData_35");
    }
    // Cancel, or a failed step before any document: end the connection; the frame's
    // finish closes the document window that was not loaded (and its temporary file).
    void stop() { link().endConnection(kFamilyALinkRules); }
    void setGauge(int position) {
        link().progress().setGauge(position, 100);
        link().processEvents();
    }
};

// Connects and checks the instrument data: type code and model text. False after a
// message (or quietly after Cancel).
bool connectAndCheck(Run& run, bool (*typeCodeFits)(const std::string&)) {
    Link& link = run.link();
    if (!link.connectInstrument(kFamilyALinkRules)) {
        // The handshake clears the Cancel it ended on; the window still knows the press.
        run.cancelled = link.handshakeCancelled();
        return false;
    }
    // The instrument data take seconds at a low rate: shown, and Cancel ends them.
    link.showProgress(LangText("DLoadData_35"));
    link.progress().setGauge(0, 100);
    if (!requestFamilyAData(link, run.ctx.data)) {
        run.cancelled = link.cancelRequested();
        run.stop();
        if (!run.cancelled) run.tell("msgConnectError_35");
        return false;
    }
    if (!typeCodeFits(run.ctx.data.line(1)) ||
        !isIdentificationTextOf(run.key, run.ctx.data.line(3))) {
        run.stop();
        run.tell("msgConnectError_35");
        return false;
    }
    return true;
}

// ---- Structure transfer ("MST") ---------------------------------------------------------------

enum class TransferEnd { Done, Failed, Cancelled };

long linkNumber(std::string_view text) {
    if (text.empty() || text == "FFFF") return -1;
    return familyAHex(text);
}

TransferEnd structureTransfer(Run& run, long count, long& highestId) {
    Link& link = run.link();
    FunctionSink sink = sinkOf(run.target);
    DocumentWriter file(sink);
    file.emptyHead(kFamilyAFileVersion);
    file.flush();
    long fallback = kFirstFallbackId;
    long k = 0;
    link.send("MST\r");
    for (;;) {
        ReplyLine idLine = link.readReplyLine();
        if (link.cancelRequested()) break;
        if (!idLine.ok) return TransferEnd::Failed;
        if (startsWith(idLine.text, "SER")) {
            if (!Link::statusSuccess(idLine.text)) run.tell("msgDLoadNotCompl_50");
            return TransferEnd::Done;
        }
        const long id = idLine.text.empty() ? fallback++ : familyAHex(idLine.text);
        highestId = std::max(highestId, id);
        // PID, BID, name and type; any failed read fails the transfer.
        ReplyLine fields[4];
        for (ReplyLine& f : fields) {
            f = link.readReplyLine();
            if (!f.ok) return link.cancelRequested() ? TransferEnd::Cancelled : TransferEnd::Failed;
        }
        long type = familyAHex(familyAChars(fields[3].text, 1, 2));
        if (type < 1 || type > 42) type = 22;
        ItemBlock block;
        block.add(ItemField::ID, id)
            .add(ItemField::PID, linkNumber(fields[0].text))
            .add(ItemField::BID, linkNumber(fields[1].text))
            .add(ItemField::Name, fields[2].text)
            .add(ItemField::Type, type);
        block.end = k;
        file.item(block);
        link.processEvents();
        if (link.cancelRequested()) break;
        if (k + 1 >= kMaxTransferEntries) return TransferEnd::Failed;
        link.send("+\r");
        ++k;
        run.setGauge(gaugePosition(k, count));
    }
    link.send("-\r");
    return TransferEnd::Cancelled;
}

// ---- Results transfer ("MRA") -----------------------------------------------------------------

// Reads the lines of one result up to its "-" line. False on a failed read.
bool readMraResult(Link& link, std::vector<std::string>& taken) {
    const double start = link.clock().elapsedSeconds();
    const double limit = familyADataReplyLimit(link.baudRate());
    for (int n = 0; n < kMaxResultLines; ++n) {
        ReplyLine line = link.readReplyLine();
        if (!line.ok) return false;
        const std::string& t = line.text;
        if (t == "-" || endsWith(t, "-")) return true;
        if (startsWith(t, "X") || startsWith(t, "D")) {
            taken.push_back(t);
        } else if (startsWith(t, "F")) {
            for (std::string& part : splitCodedResultLine(t)) taken.push_back(std::move(part));
        }
        if (link.clock().elapsedSeconds() - start >= limit || link.cancelRequested()) return false;
    }
    return false;
}

// Cancel keeps what was read: the tester is told to stop and the user that the download
// is not complete. A Cancel seen while a line was awaited counts the same.
TransferEnd resultsTransfer(Run& run, long count, long firstId) {
    Link& link = run.link();
    const bool ownLines = modelFamilyOfKey(run.key) != 3;
    FunctionSink sink = sinkOf(run.target);
    DocumentWriter file(sink);
    long id = firstId;
    run.received = 0;
    link.send("MRA\r");
    for (;;) {
        ReplyLine head = link.readReplyLine();
        if (link.cancelRequested()) break;
        if (!head.ok) return TransferEnd::Failed;
        const std::string_view owner = familyAChars(head.text, 2, std::string_view::npos);
        if (startsWith(owner, "---")) return TransferEnd::Done;
        // A status line in place of a result: the tester ended the transfer itself.
        if (Link::isStatusLine(head.text)) {
            if (!Link::statusSuccess(head.text)) run.tell("msgDLoadNotCompl_50");
            return TransferEnd::Done;
        }
        const long parent = familyAHex(owner);
        std::vector<std::string> taken;
        if (!readMraResult(link, taken)) {
            if (link.cancelRequested()) break;
            return TransferEnd::Failed;
        }
        std::string name;
        for (const std::string& t : taken)
            if (t.find("#PN") != std::string::npos) {
                name = markupLineName(t);
                break;
            }
        if (name.empty()) name = LangText("Result_10");
        ItemBlock block;
        block.add(ItemField::ID, id).add(ItemField::PID, parent).add(ItemField::Name, name);
        block.add(ItemField::Type, 23);
        for (const std::string& t : taken) {
            if (t[0] == 'F')
                block.add(ItemField::FpString, t);
            else if (t[0] == (ownLines ? 'X' : 'D'))
                block.add(ItemField::ResText, t);
        }
        block.end = id;
        file.item(block);
        ++id;
        run.received = id - firstId;
        run.setGauge(gaugePosition(id - firstId, count));
        if (link.cancelRequested()) break;
        if (id - firstId >= kMaxTransferEntries) return TransferEnd::Failed;
        link.send("+\r");
    }
    file.flush();
    link.send("-\r");
    run.tell("msgDLoadNotCompl_50");
    return TransferEnd::Cancelled;
}

// ---- Single-result transfer ("MR1") -----------------------------------------------------------

struct SingleResults {
    std::vector<FamilyAResult> results;
    bool failed = false;
    bool cancelled = false;
};

// Reads one result; false on a failed read. A "SER" line in place of the result is the
// tester refusing the request, and a reply with none of the lines of a result is garbled:
// both fail the transfer too (what came before is kept). The input is purged before each
// request, so that stray lines of one reply can never be taken for the next result's.
bool readOneResult(Link& link, long n, int modelFamily, const std::string& typeCode, int& a, int& b,
                   int& c, FamilyAResult& r) {
    if (link.port().isOpen()) link.port().purgeInput();
    link.send(familyACommand("MR1", std::to_string(n), modelFamily));
    int expected = 3;
    bool resultLineSeen = false;
    for (int got = 0; got < expected; ++got) {
        ReplyLine line = link.readReplyLine();
        if (!line.ok || link.cancelRequested()) return false;
        const std::string& t = line.text;
        if (startsWith(t, "SER")) return false;
        if (t.empty()) continue;
        resultLineSeen = resultLineSeen || t[0] == 'P' || t[0] == 'X' || t[0] == 'D' || t[0] == 'F';
        switch (t[0]) {
            case 'P':
                r.positionLine = t;
                readPositionNumbers(t, a, b, c);
                break;
            case 'X':
                if (modelFamily != 3) r.resultLine = t;
                break;
            case 'D':
                if (modelFamily == 3) r.resultLine = t;
                break;
            case 'V':
                if (modelFamily == 3) {
                    expected = 4;
                    if (auto v = familyADigits(familyAChars(t, 3, 1))) r.protVer = *v;
                }
                break;
            case 'F': {
                std::string line = rewriteFamilyALine(t, typeCode);
                r.name = familyAResultName(line);
                if (!endsWith(line, ";")) line += ';';
                r.fpLine = std::move(line);
                break;
            }
            default:
                break;
        }
    }
    r.a = a;
    r.b = b;
    r.c = c;
    return resultLineSeen;
}

SingleResults singleResultTransfer(Run& run, long count, const std::string& typeCode) {
    Link& link = run.link();
    const int modelFamily = modelFamilyOfKey(run.key);
    SingleResults out;
    int a = 0, b = 0, c = 0;
    for (long n = 1; n <= count; ++n) {
        FamilyAResult r;
        const bool ok = readOneResult(link, n, modelFamily, typeCode, a, b, c, r);
        if (link.cancelRequested()) {
            // The result of this pass is dropped; what came before is kept.
            link.send("-\r");
            run.tell("msgDLoadNotCompl_50");
            out.cancelled = true;
            break;
        }
        if (!ok) {
            out.failed = true;
            break;
        }
        out.results.push_back(std::move(r));
        run.setGauge(gaugePosition(n, count));
        // A Cancel pressed now keeps the result just read: it is complete.
        if (n < count && link.cancelRequested()) {
            link.send("-\r");
            run.tell("msgDLoadNotCompl_50");
            out.cancelled = true;
            break;
        }
    }
    return out;
}

// The named structure of TQ 75: "MNN" gives the count, "MN1" each entry.
enum class NamesEnd { Read, NotRead, Cancelled };

// A count that is not a number, an entry that does not come or a line that is no entry
// ("SER3": the tester has fewer entries than it announced) leaves the nodes with the
// names their kinds give; the user is told, since the names were the tester's own.
NamesEnd readNamedStructure(Run& run, std::vector<FamilyANamedEntry>& named) {
    Link& link = run.link();
    CountReply count = familyANamedEntryCount(link);
    if (link.cancelRequested()) return NamesEnd::Cancelled;
    if (!count.ok) return NamesEnd::NotRead;
    if (count.count <= 0) return NamesEnd::Read;
    ProgressWindow& progress = link.progress();
    progress.setSecondGaugeVisible(true);
    progress.setSecondGauge(0, 100);
    NamesEnd end = NamesEnd::Read;
    const int modelFamily = modelFamilyOfKey(run.key);
    for (long k = 1; k <= count.count; ++k) {
        if (k >= kMaxTransferEntries) {
            end = NamesEnd::NotRead;
            break;
        }
        ReplyLine line = familyANamedEntry(link, k, modelFamily);
        if (link.cancelRequested()) {
            end = NamesEnd::Cancelled;
            break;
        }
        FamilyANamedEntry entry;
        if (!line.ok || !parseNamedEntry(line.text, entry)) {
            end = NamesEnd::NotRead;
            break;
        }
        named.push_back(std::move(entry));
        progress.setSecondGauge(gaugePosition(k, count.count), 100);
        link.processEvents();
    }
    progress.setSecondGaugeVisible(false);
    link.pause(kAfterNamedStructure);
    return end;
}

bool isType50(const std::string& code) {
    return code == "50";
}

bool isLaterTypeCode(const std::string& code) {
    return code == "51" || code == "52" || code == "53" || code == "54" || code == "55" ||
           code == "60";
}

}  // namespace

// ---- The branches -----------------------------------------------------------------------------

FamilyAOutcome downloadStructureAndResults(InstrumentContext& ctx, const std::string& key,
                                           FamilyADownloadTarget& target) {
    Run run(ctx, key, target);
    Link& link = ctx.link;
    if (!connectAndCheck(run, isType50)) return run.end(false);

    CountReply entries = familyAEntryCount(link);
    if (!entries.ok || entries.count <= 0) {
        run.stop();
        if (entries.ok) run.tell("msgNoStructObj_35");
        return run.end(false, "msgDataCorrupt_35");
    }
    if (!target.createDocument()) {
        run.stop();
        return run.end(false, "msgWriteError_35");
    }
    link.pause(kAfterStructureDocument);
    link.showProgress(LangText("DLoadStructure_35"));
    link.progress().setGauge(0, 100);

    long highestId = -1;
    TransferEnd structure = structureTransfer(run, entries.count, highestId);
    link.processEvents();
    if (structure == TransferEnd::Cancelled) {
        run.cancelled = true;
        run.stop();
        return run.end(false);
    }
    if (structure == TransferEnd::Failed) {
        run.failedTransfer();
        target.load();
        return run.end(true);
    }

    CountReply results = familyAResultCount(link);
    if (!results.ok) {
        run.failedTransfer();
        target.load();
        return run.end(true);
    }
    if (results.count > 0) {
        link.setStep(LangText("DLoadResults_35"));
        link.progress().setGauge(0, 100);
        familyAResultPointer(link, 1, modelFamilyOfKey(key));
        // Result IDs must not meet the tester's entry IDs.
        const long firstId = std::max(kFirstResultId, highestId + 1);
        TransferEnd transfer = resultsTransfer(run, results.count, firstId);
        run.expected = results.count;
        link.processEvents();
        if (transfer == TransferEnd::Failed) run.failedTransfer();
    }
    target.load();
    return run.end(true);
}

FamilyAOutcome downloadResultsOnly(InstrumentContext& ctx, const std::string& key,
                                   FamilyADownloadTarget& target) {
    Run run(ctx, key, target);
    Link& link = ctx.link;
    if (!connectAndCheck(run, isLaterTypeCode)) return run.end(false);
    const std::string typeCode = ctx.data.line(1);

    link.pause(kBeforeResultsDocument);
    if (!target.createDocument()) {
        run.stop();
        return run.end(false, "msgWriteError_35");
    }
    link.showProgress(LangText("DLoadResults_35"));
    link.progress().setGauge(0, 100);

    CountReply count = familyAResultCount(link);
    // A tester numbers its results in 16 bits: a larger count is a garbled reply.
    if (count.ok && count.count >= kMaxTransferEntries) {
        run.tell("msgDataCorrupt_35");
        count.ok = false;
    }
    if (!count.ok) {
        run.failedTransfer();
        writeDownloadFile(target, {});
        target.load();
        return run.end(true);
    }
    if (count.count < 1) {
        run.stop();
        run.tell("msgNoDataToDownL_35");
        return run.end(false);
    }
    link.setStep(LangText("DLoadResults_35"));
    SingleResults read = singleResultTransfer(run, count.count, typeCode);
    run.received = long(read.results.size());
    run.expected = count.count;

    // The tree is built from what was read, also after a failed read. The named
    // structure is asked for only when the results came whole.
    std::vector<FamilyANamedEntry> named;
    NamesEnd names = NamesEnd::Read;
    if (modelHas(key, kNamedStructure) && !read.cancelled && !read.failed)
        names = readNamedStructure(run, named);
    writeDownloadFile(target, resultsItemBlocks(key, typeCode, read.results, named));
    if (read.failed && !link.cancelRequested()) run.failedTransfer();
    if (names == NamesEnd::NotRead) {
        link.hideProgress();
        link.prompts().information(LangText("msgStructNamesNotRead_70"));
    }
    target.load();
    FamilyAOutcome outcome = run.end(true);
    // Every result came, but the structure lost the names the tester gave it.
    if (outcome.end == FamilyAEnd::Complete && names != NamesEnd::Read)
        outcome = {FamilyAEnd::Flawed,
                   names == NamesEnd::NotRead ? "msgStructNamesNotRead_70" : std::string()};
    return outcome;
}

FamilyAOutcome downloadFamilyA(InstrumentContext& ctx, const std::string& key,
                               FamilyADownloadTarget& target) {
    const InstrumentModel* m = modelByKey(key);
    switch (m ? m->download : DownloadStyle::None) {
        case DownloadStyle::StructureAndResults:
            return downloadStructureAndResults(ctx, key, target);
        case DownloadStyle::ResultsOnly:
            return downloadResultsOnly(ctx, key, target);
        default:
            break;
    }
    return {FamilyAEnd::Failed, {}};
}

// ---- The Download command's frame as the target ----------------------------------------------

namespace {

class SessionTarget : public FamilyADownloadTarget {
  public:
    explicit SessionTarget(DownloadSession& s) : s_(s) {}
    bool createDocument() override { return s_.newDownloadDocument(); }
    void write(std::string_view text) override { s_.writeBytes(text); }
    void load() override { s_.loadDownloadedFile(); }

  private:
    DownloadSession& s_;
};

DownloadOutcome statusOf(const FamilyAOutcome& a) {
    switch (a.end) {
        case FamilyAEnd::Complete:
            return DownloadOutcome::complete();
        case FamilyAEnd::Incomplete:
            return DownloadOutcome::incomplete(a.messageKey);
        case FamilyAEnd::Flawed:
            return DownloadOutcome::flawed(a.messageKey);
        case FamilyAEnd::NoData:
            return DownloadOutcome::noData(a.messageKey);
        case FamilyAEnd::Cancelled:
            return DownloadOutcome::cancelled();
        case FamilyAEnd::Failed:
            return DownloadOutcome::failed(a.messageKey);
    }
    return {};
}

DownloadOutcome outcomeOf(const FamilyAOutcome& a) {
    DownloadOutcome out = statusOf(a);
    out.recordsReceived = a.received;
    out.recordsExpected = a.expected;
    return out;
}

}  // namespace

DownloadOutcome downloadStructureAndResults(DownloadSession& s) {
    SessionTarget target(s);
    return outcomeOf(downloadStructureAndResults(s.context(), s.key(), target));
}

DownloadOutcome downloadResultsOnly(DownloadSession& s) {
    SessionTarget target(s);
    return outcomeOf(downloadResultsOnly(s.context(), s.key(), target));
}

}  // namespace pelvoro
