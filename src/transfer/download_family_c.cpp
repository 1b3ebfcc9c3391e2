// The download of the machine tester CV61 (family C): the record count, the
// identification block, then one 21-byte record per "P" + "R" exchange; every record
// becomes a result under its machine.

#include <cmath>
#include <vector>

#include "common/lang_text.h"
#include "instrument/instrument_requests.h"
#include "transfer/download.h"
#include "transfer/download_tree.h"
#include "transfer/family_c.h"

namespace pelvoro {

std::string cv61Unit(int code) {
    static const char* const kUnits[] = {"", "V", "kV", "A", "mA", "Ohm", "mOhm", "MOhm", "s"};
    return code >= 1 && code <= 8 ? kUnits[code] : "";
}

std::string cv61Value(unsigned char v0, unsigned char v1, unsigned char v2) {
    if (v0 == 0x00 && v1 == 0xFF && v2 == 0xFF) return {};
    if (v1 == 0xAA && v2 == 0xAA) return "*****" + cv61Unit(v0 >> 3);
    if (v1 == 0xBB && v2 == 0xBB) return "____" + cv61Unit(v0 >> 3);
    std::string text;
    if (v0 & 0x80) text += '>';
    const int point = v0 & 0x07;
    const int digits[4] = {v1 >> 4, v1 & 0x0F, v2 >> 4, v2 & 0x0F};
    for (int i = 0; i < 4; ++i) {
        if (digits[i] > 9) break;
        if (point >= 1 && point <= 4 && i == 4 - point) text += '.';
        text += char('0' + digits[i]);
    }
    return text + cv61Unit((v0 >> 3) & 0x0F);
}

namespace {

std::string bcdPair(unsigned char b) {
    return {char('0' + (b >> 4)), char('0' + (b & 0x0F))};
}

std::string settingText(int function, unsigned char bits, unsigned char s) {
    switch (function) {
        case 1: {
            std::string t;
            if (s == 0)
                t = "1mA";
            else if (s == 1)
                t = "3mA";
            else if (s == 2)
                t = "5mA";
            else if (s <= 11)
                t = std::to_string(10 * s - 20) + "mA";
            else
                t = std::to_string(50 * s - 500) + "mA";
            if (t == "350mA" && (bits & 3) == 2) t = "333mA";
            return t;
        }
        case 2: {
            static const char* const kSections[] = {"5.0V,0.50mm2", "5.0V,0.75mm2", "3.3V, 1.0mm2",
                                                    "2.6V, 1.5mm2", "1.9V, 2.5mm2", "1.4V, 4.0mm2",
                                                    "1.0V,>6.0mm2"};
            return s <= 6 ? kSections[s] : "";
        }
        case 3:
            if (s >= 1 && s <= 100) return std::to_string(10 * s) + "mOhm";
            if (s >= 101 && s <= 109) return std::to_string(100 * s - 9000) + "mOhm";
            if (s == 110) return "2000mOhm";
            return "*mOhm";
        case 4:
            if (s == 0) return "*MOhm";
            if (s <= 8) return "0." + std::to_string(s + 1) + "MOhm";
            if (s <= 18) return std::to_string(s - 8) + "MOhm";
            return std::to_string(10 * s - 170) + "MOhm";
        default:
            return {};
    }
}

}  // namespace

CV61Texts decodeCV61Record(std::string_view record, const std::string& twoPoint,
                           const std::string& fourPoint) {
    auto at = [&](std::size_t i) -> unsigned char {
        return i < record.size() ? static_cast<unsigned char>(record[i]) : 0;
    };
    CV61Texts t;
    t.machine = at(1);
    t.function = at(4) & 0x07;
    const unsigned char bits = at(5);
    for (int i = 0; i < 3; ++i) {
        if (t.function == 5 && i > 0) break;
        t.values[i] = cv61Value(at(12 + 3 * i), at(13 + 3 * i), at(14 + 3 * i));
    }
    t.setting = settingText(t.function, bits, at(6));
    switch (t.function) {
        case 1: {
            static const char* const kVoltages[] = {"1000V", "1250V", "1500V", ""};
            t.voltage = kVoltages[bits & 3];
            t.method = bits < 4 ? " (R)" : bits < 8 ? " (C)" : "";
            break;
        }
        case 4:
            t.voltage = (bits & 1) ? "1000V" : "500V";
            break;
        case 5:
            t.voltage = (bits & 1) ? fourPoint : twoPoint;
            break;
        default:
            break;
    }
    t.date = bcdPair(at(9)) + "." + bcdPair(at(10)) + "." + bcdPair(at(11));
    t.time = bcdPair(at(7)) + ":" + bcdPair(at(8));
    return t;
}

const char* cv61NameKey(int function) {
    static const char* const kKeys[] = {"HV_16", "dU_16", "R-10A_16", "MOhm_16", "dT_16"};
    return function >= 1 && function <= 5 ? kKeys[function - 1] : "";
}

std::string cv61FpString(const CV61Texts& t) {
    std::string fp = "F;";
    if (t.function >= 1 && t.function <= 5) fp += "30" + std::to_string(t.function) + ";";
    for (const std::string& v : t.values) fp += v + ";";
    fp += t.setting + ";" + t.voltage + ";" + t.method + ";";
    return fp;
}

DownloadOutcome downloadFamilyC(DownloadSession& s) {
    Link& link = s.link();
    if (!link.ensurePortOpen()) return DownloadOutcome::failed("msgNotAvailPort_35");
    if (!link.connectInstrument(ProtocolFamily::C)) {
        if (link.handshakeCancelled()) return DownloadOutcome::cancelled();
        return DownloadOutcome::failed("msgConnectError_35");
    }

    // The record count. Without it nothing can be told about the tester's memory: an
    // empty document would read as an empty tester, so the download fails.
    s.showProgress("DLoadData_35");
    bool counted = false;
    long count = 0;
    if (link.sendAwaitEcho("P", "E", ProtocolFamily::C).ok) {
        EchoReply r = link.sendAwaitEcho(std::string("R\xFF", 2), "\x02", ProtocolFamily::C);
        counted = r.ok;
        if (r.ok) count = r.length;
    }
    if (link.cancelRequested()) return DownloadOutcome::cancelled();
    if (!counted) {
        link.endConnection(ProtocolFamily::C);
        s.prompts().information(LangText("msgConnectError_35"));
        return DownloadOutcome::failed("msgConnectError_35");
    }

    // The identification block, after a handshake of its own: Cancel there (or in the
    // block) ends the command quietly; a handshake that failed has said so and closed the
    // port, and nothing more can come. Without the block the records are still fetched,
    // and the user is told that the document does not say which tester they came from.
    const bool identified = requestFamilyCData(link, s.instrumentData());
    if (link.cancelRequested() || link.interrupted() ||
        (!link.isPortOpen() && link.handshakeCancelled())) {
        link.clearInterrupted();
        return DownloadOutcome::cancelled();
    }
    if (!link.isPortOpen()) return DownloadOutcome::failed("msgConnectError_35");
    if (!identified) s.prompts().information(LangText("msgIdentNotRead_70"));

    std::vector<std::string> records;  // the records kept, in the tester's order
    long n = 0;
    bool stoppedEarly = false;
    if (count > 0) {
        link.pause(0.3);
        s.showProgress("DLoadResults_35");
        bool first = true;
        for (;;) {
            ++n;
            bool ok = link.sendAwaitEcho("P", "E", ProtocolFamily::C).ok;
            if (ok) {
                link.send(first ? std::string("R\x00", 2) : std::string("R\x01", 2));
                ok = link.readBlock(kCV61RecordSize);
            }
            if (!ok) {
                if (link.interrupted() || link.cancelRequested()) {
                    link.clearInterrupted();
                    return DownloadOutcome::cancelled();
                }
                stoppedEarly = true;
                break;
            }
            first = false;
            std::string record = link.transferBuffer().substr(0, kCV61RecordSize);
            const bool present = record[0] != 0;
            if (present) records.push_back(record);
            s.setGauge(int(std::lround(100.0 * double(n) / double(count))));
            s.repaint();
            if (link.cancelRequested()) {
                link.hideProgress();
                return DownloadOutcome::cancelled();
            }
            if (!present) {
                stoppedEarly = n < count;
                break;
            }
            if (n >= count) break;
        }
        link.pause(0.3);
    }
    link.endConnection(ProtocolFamily::C);

    // A record whose first byte is 0 marks the end of the memory: it is never kept.
    const bool complete = !stoppedEarly && long(records.size()) >= count;
    if (!complete) {
        s.prompts().warning(LangText("msgDLoadNotCompl_50"));
        if (records.empty())
            return DownloadOutcome::failed("msgDLoadNotCompl_50").withRecords(0, count);
    }

    std::vector<CV61Texts> texts;
    DownloadTree tree;
    for (const std::string& r : records) {
        texts.push_back(decodeCV61Record(r, s.twoPointText(), s.fourPointText()));
        tree.addResult({texts.back().machine, 0, 0});
    }
    tree.number();

    if (!s.newDownloadDocument()) return DownloadOutcome::failed("msgWriteError_35");
    s.writeHead(20);
    const std::string machine = LangText("labMachine_15");
    const auto& entries = tree.entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const DownloadTreeEntry& e = entries[i];
        s.writeLine("ID: " + std::to_string(e.id));
        s.writeLine("PID: " + std::to_string(e.pid));
        s.writeLine("BID: " + std::to_string(e.bid));
        if (e.isNode) {
            s.writeLine("Name: " + machine + std::to_string(e.position.a));
            s.writeLine("Type: 1");
        } else {
            const CV61Texts& t = texts[std::size_t(e.source)];
            const char* nameKey = cv61NameKey(t.function);
            s.writeLine("Name: " + std::string(*nameKey ? LangText(nameKey) : std::string()));
            s.writeLine("Type: 23");
            s.writeLine("ResText: X#PD" + t.date + "  " + t.time);
            s.writeLine("FP_String: " + cv61FpString(t));
        }
        s.writeBlockEnd(long(i) + 1);
    }
    s.loadDownloadedFile();
    DownloadOutcome outcome = !complete    ? DownloadOutcome::incomplete()
                              : identified ? DownloadOutcome::complete()
                                           : DownloadOutcome::flawed("msgIdentNotRead_70");
    return outcome.withRecords(long(records.size()), count);
}

}  // namespace pelvoro
