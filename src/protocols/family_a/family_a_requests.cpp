#include "protocols/family_a/family_a_requests.h"

#include "common/lang_text.h"

namespace pelvoro {

namespace {

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

}  // namespace pelvoro
