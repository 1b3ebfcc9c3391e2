#include "protocols/instrument_requests.h"

#include <cstdio>

#include "common/lang_text.h"
#include "protocols/family_a/family_a_link_rules.h"
#include "protocols/family_a/family_a_requests.h"
#include "protocols/family_b/family_b_link_rules.h"
#include "protocols/family_b/family_b_requests.h"
#include "protocols/family_c/family_c_requests.h"
#include "protocols/identification.h"
#include "protocols/link_rules_by_family.h"

namespace pelvoro {

namespace {

// Some testers need a moment before they report the status of a write.
constexpr double kSlowStatusPause = 0.5;

void endConnectionByKey(Link& link, const std::string& key) {
    ProtocolFamily family = protocolOfKey(key);
    if (family == ProtocolFamily::A || family == ProtocolFamily::B) {
        link.endConnection(linkRulesOf(family));
    } else {
        link.closePort();
        link.hideProgress();
        link.clearCancel();
    }
}

}  // namespace

ReceiveOutcome receiveInstrumentData(InstrumentContext& ctx) {
    Link& link = ctx.link;
    ReceiveOutcome outcome;
    std::string key = selectedModelKey(ctx);
    switch (protocolOfKey(key)) {
        case ProtocolFamily::A:
            if (link.connectInstrument(kFamilyALinkRules)) {
                link.showProgress(LangText("DLoadData_35"));
                if (!requestFamilyAData(link, ctx.data)) {
                    if (!link.cancelRequested())
                        link.prompts().error(LangText("msgConnectError_35"));
                    link.endConnection(kFamilyALinkRules);
                    return {false, false};
                }
                outcome.received = true;
            }
            break;
        case ProtocolFamily::B:
            if (link.connectInstrument(kFamilyBLinkRules)) {
                link.showProgress(LangText("DLoadData_35"));
                if (!requestFamilyBData(link, ctx.data, firmwareFieldRuleForBrand(ctx.brandTitle),
                                        key)) {
                    link.endConnection(kFamilyBLinkRules);
                    return {false, false};
                }
                outcome.received = true;
            }
            break;
        case ProtocolFamily::C:
            outcome.received = requestFamilyCData(link, ctx.data);
            break;
        case ProtocolFamily::None:
            break;
    }
    endConnectionByKey(link, key);
    return outcome;
}

InstrumentWriteResult writeInstrumentData(Link& link, const TInstrumentData& current,
                                          const InstrumentWrites& w) {
    InstrumentWriteResult result;
    auto write = [&](const std::string& command, const char* item) {
        // A line left over from before would be taken as this write's status.
        link.purgeInput();
        link.send(command);
        if (current.line(3) == "TQ 95S") link.pause(kSlowStatusPause);
        ReplyLine line = link.readUntilStatus();
        if (line.ok && Link::isStatusLine(line.text) && Link::statusSuccess(line.text)) return true;
        result.ok = false;
        result.failedItem = item;
        result.refused = line.ok && Link::isStatusLine(line.text);
        if (result.refused) link.checkStatus(line.text);  // shows "Error: #" and the code
        return false;
    };
    if (!write(clockWriteCommand("MDT", w.now), "wrClock_35")) return result;
    if (w.switches.factory) {
        if (!write(serialNumberWriteCommand(w.serialNumber), "labSerialNum_25")) return result;
        if (!write(boxTextWriteCommand("MWF", w.firmData), "labFirmData_25")) return result;
    }
    if (!write(boxTextWriteCommand("MWU", w.userData), "labUserData_25")) return result;
    if (w.switches.calibration && !write(clockWriteCommand("MCD", w.now), "labDatTime_25"))
        return result;
    return result;
}

namespace {

// A label as a message names it: without its closing colon.
std::string itemName(const char* key) {
    std::string t = LangText(key);
    while (!t.empty() && (t.back() == ':' || t.back() == ' ')) t.pop_back();
    return t;
}

std::string clockText(const ClockValue& c) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", c.year, c.month, c.day,
                  c.hour, c.minute, c.second);
    return buffer;
}

std::string oneLine(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            out += " / ";
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace

std::string sendQuestion(const InstrumentWrites& w, bool fieldsReceived) {
    std::string text = LangText("msgSendConfirm_70");
    auto item = [&text](const char* key, const std::string& value) {
        text += "\n" + itemName(key) + ": " + value;
    };
    item("wrClock_35", clockText(w.now));
    if (w.switches.factory) {
        item("labSerialNum_25", w.serialNumber);
        item("labFirmData_25", oneLine(w.firmData));
    }
    item("labUserData_25", oneLine(w.userData));
    if (w.switches.calibration) item("labDatTime_25", clockText(w.now));
    if (!fieldsReceived) text += "\n\n" + LangText("msgSendNotReceived_70");
    return text;
}

bool sendInstrumentData(InstrumentContext& ctx, const InstrumentWrites& writes) {
    Link& link = ctx.link;
    std::string key = selectedModelKey(ctx);
    bool ok = false;
    ProtocolFamily family = protocolOfKey(key);
    if (family == ProtocolFamily::B) {
        link.prompts().error(LangText("msgConnectError_35"));
    } else if (family == ProtocolFamily::A && link.connectInstrument(kFamilyALinkRules)) {
        InstrumentWriteResult written = writeInstrumentData(link, ctx.data, writes);
        ok = written.ok;
        if (!ok && !link.cancelRequested())
            link.prompts().error(
                LangText("msgSendError_35") + "\n" +
                LangText(written.refused ? "msgWriteRefused_50" : "msgNoStatus_50") + " " +
                itemName(written.failedItem.c_str()));
    }
    if (link.isPortOpen()) {
        link.endConnection(kFamilyALinkRules);
    } else {
        link.hideProgress();
        link.clearCancel();
    }
    return ok;
}

}  // namespace pelvoro
