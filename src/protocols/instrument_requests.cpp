#include "protocols/instrument_requests.h"

#include <cstdio>

#include "common/lang_text.h"
#include "common/text.h"
#include "protocols/family_a/family_a_identification.h"
#include "protocols/family_b/family_b_identification.h"
#include "protocols/family_c/family_c_identification.h"
#include "protocols/identification.h"

namespace pelvoro {

namespace {

// A tester sends eleven item lines, perhaps after a few busy lines; a line stream that
// goes on beyond this is not an instrument data reply and must not keep us waiting.
constexpr int kMaxInstrumentDataLines = 100;

// Some testers need a moment before they report the status of a write.
constexpr double kSlowStatusPause = 0.5;

void deriveVariant(const std::string& from, TInstrumentData& data) {
    deriveInstrVariant(from, data.InstrVariant);
}

}  // namespace

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
    deriveVariant(data.line(5), data);
    return ok;
}

// The transfer buffer of the instrument data requests.
constexpr std::size_t kFamilyBDataBuffer = 1000;

bool requestFamilyBData(Link& link, TInstrumentData& data, FirmwareFieldRule rule,
                        const std::string& hardwareStepKey) {
    bool ok = false;
    data = TInstrumentData{};
    EchoReply echo = link.sendAwaitEcho("MWH", "SWH", ProtocolFamily::B);
    if (echo.ok) {
        if (link.readBlock(std::size_t(echo.length), kFamilyBDataBuffer)) {
            applyFamilyBBlock(data, link.transferBuffer().substr(0, std::size_t(echo.length)),
                              rule);
            ok = true;
        }
        deriveVariant(data.line(4), data);
    }
    if (hardwareStepKey.empty() || !wantsHardwareVersion(hardwareStepKey, data.line(4)) ||
        link.cancelRequested())
        return ok;
    EchoReply hw = link.sendAwaitEcho("MHW", "SHW", ProtocolFamily::B);
    if (!hw.ok || !link.readBlock(std::size_t(hw.length), kFamilyBDataBuffer)) return false;
    data.line(5) =
        hardwareVersionFromBlock(link.transferBuffer().substr(0, std::size_t(hw.length)));
    return true;
}

bool requestFamilyCData(Link& link, TInstrumentData& data) {
    if (!link.ensurePortOpen()) return false;
    if (!link.connectInstrument(ProtocolFamily::C)) return false;
    // The tester is reached: a download goes on even when its data cannot be read, and
    // must then carry none of an earlier tester's.
    data = TInstrumentData{};
    // Without the acknowledgement the block would only fail a second time.
    if (!link.sendAwaitEcho("P", "E", ProtocolFamily::C).ok) return false;
    // The block takes 12 s at 300 baud: its gauge follows the bytes, and Cancel (also Esc
    // and the window's close box) ends the wait.
    link.showProgress(LangText("DLoadData_35"), true, true);
    link.progress().setGauge(0, 100);
    link.send("t");
    bool ok = link.readBlockShowingBytes(kFamilyCIdentificationSize);
    if (ok) applyFamilyCBlock(data, link.transferBuffer().substr(0, kFamilyCIdentificationSize));
    link.hideProgress();
    return ok;
}

namespace {

void endConnectionByKey(Link& link, const std::string& key) {
    ProtocolFamily family = protocolOfKey(key);
    if (family == ProtocolFamily::A || family == ProtocolFamily::B) {
        link.endConnection(family);
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
            if (link.connectInstrument(ProtocolFamily::A)) {
                link.showProgress(LangText("DLoadData_35"));
                if (!requestFamilyAData(link, ctx.data)) {
                    if (!link.cancelRequested())
                        link.prompts().error(LangText("msgConnectError_35"));
                    link.endConnection(ProtocolFamily::A);
                    return {false, false};
                }
                outcome.received = true;
            }
            break;
        case ProtocolFamily::B:
            if (link.connectInstrument(ProtocolFamily::B)) {
                link.showProgress(LangText("DLoadData_35"));
                if (!requestFamilyBData(link, ctx.data, firmwareFieldRuleForBrand(ctx.brandTitle),
                                        key)) {
                    link.endConnection(ProtocolFamily::B);
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
    } else if (family == ProtocolFamily::A && link.connectInstrument(ProtocolFamily::A)) {
        InstrumentWriteResult written = writeInstrumentData(link, ctx.data, writes);
        ok = written.ok;
        if (!ok && !link.cancelRequested())
            link.prompts().error(
                LangText("msgSendError_35") + "\n" +
                LangText(written.refused ? "msgWriteRefused_50" : "msgNoStatus_50") + " " +
                itemName(written.failedItem.c_str()));
    }
    if (link.isPortOpen()) {
        link.endConnection(ProtocolFamily::A);
    } else {
        link.hideProgress();
        link.clearCancel();
    }
    return ok;
}

}  // namespace pelvoro
