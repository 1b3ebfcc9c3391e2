#include "protocols/family_a/family_a_requests.h"

#include "common/lang_text.h"
#include "common/text.h"
#include "protocols/family_a/family_a_identification.h"

namespace pelvoro {

namespace {

// A tester sends eleven item lines, perhaps after a few busy lines; a line stream that
// goes on beyond this is not an instrument data reply and must not keep us waiting.
constexpr int kMaxInstrumentDataLines = 100;

// A count line after a command; `followUp` 1 reads one more line, 2 the lines up to the
// status line. A count that is not a number is corrupt data.
CountReply countRequest(Link& link, std::string_view command, bool pauseFirst, int followUp) {
    CountReply reply;
    link.send(command);
    link.clock().processEvents();
    if (pauseFirst) link.clock().pause(0.2);
    ReplyLine line = link.readReplyLine();
    auto number = wholeNumber(line.text);
    if (number) {
        reply.ok = true;
        reply.count = *number;
    }
    if (!link.cancelRequested()) {
        // The lines after the count are read whether it was good or not.
        if (followUp == 1) link.readReplyLine();
        if (followUp == 2) link.readUntilStatus();
    }
    if (!reply.ok && !link.cancelRequested()) link.prompts().error(LangText("msgDataCorrupt_35"));
    return reply;
}

}  // namespace

std::string familyACommand(std::string_view command, std::string_view argument, int modelFamily) {
    std::string text(command);
    text += modelFamily == 3 ? ';' : '\r';
    text += argument;
    text += '\r';
    return text;
}

CountReply familyAEntryCount(Link& link) {
    return countRequest(link, "MNS\r", true, 1);
}
CountReply familyAResultCount(Link& link) {
    return countRequest(link, "MNU\r", false, 1);
}
CountReply familyANamedEntryCount(Link& link) {
    return countRequest(link, "MNN\r", false, 2);
}

ReplyLine familyANamedEntry(Link& link, long n, int modelFamily) {
    link.send(familyACommand("MN1", std::to_string(n), modelFamily));
    return link.readReplyLine();
}

bool familyAResultPointer(Link& link, long n, int modelFamily) {
    link.send(familyACommand("MPR", std::to_string(n), modelFamily));
    return link.readUntilStatus().ok;
}

bool requestFamilyAData(Link& link, TInstrumentData& data) {
    // What a request leaves in the record came from this tester: a field it does not
    // send stays empty rather than keeping another tester's value.
    data = TInstrumentData{};
    link.send("MWH\r");
    bool ok = false;
    // A "SER" before any item line is not this reply's end but the late answer to a
    // repeated ready probe of the handshake (a slow tester answers every probe): taking
    // it would report success with no data. Purging the input right before the request
    // cannot help, since that answer may still be on its way; so such a reply fails, the
    // callers report "msgConnectError_35", and a second try finds the tester settled.
    bool itemSeen = false;
    // Each line is bounded by the line limit; the reply as a whole by lines and by time,
    // so that a tester that sends bytes for ever without a CR cannot hold us.
    const double start = link.clock().elapsedSeconds();
    const double limit = familyADataReplyLimit(link.baudRate());
    for (int n = 0; n < kMaxInstrumentDataLines; ++n) {
        ReplyLine line = link.readReplyLine();
        if (startsWith(line.text, "SER")) {
            ok = itemSeen;
            break;
        }
        // A line cut off by a time-out is never stored as if it were whole: the reply
        // fails.
        if (line.text.empty() || !line.ok) break;
        if (applyFamilyALine(data, line.text)) itemSeen = true;
        if (link.cancelRequested()) break;
        if (link.clock().elapsedSeconds() - start >= limit) break;
    }
    deriveInstrVariant(data.line(5), data.InstrVariant);
    return ok;
}

}  // namespace pelvoro
