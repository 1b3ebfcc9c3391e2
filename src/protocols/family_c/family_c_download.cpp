// The download of the machine tester CV61 (family C): the record count, the
// identification block, then one 21-byte record per "P" + "R" exchange; every record
// becomes a result under its machine.

#include <cmath>
#include <vector>

#include "common/lang_text.h"
#include "protocols/download_command.h"
#include "protocols/family_c/cv61_records.h"
#include "protocols/family_c/family_c_link_rules.h"
#include "protocols/family_c/family_c_requests.h"
#include "transfer/download_tree.h"

namespace pelvoro {

DownloadOutcome downloadFamilyC(DownloadSession& s) {
    Link& link = s.link();
    if (!link.ensurePortOpen()) return DownloadOutcome::failed("msgNotAvailPort_35");
    if (!link.connectInstrument(kFamilyCLinkRules)) {
        if (link.handshakeCancelled()) return DownloadOutcome::cancelled();
        return DownloadOutcome::failed("msgConnectError_35");
    }

    // The record count. Without it nothing can be told about the tester's memory: an
    // empty document would read as an empty tester, so the download fails.
    s.showProgress("DLoadData_35");
    bool counted = false;
    long count = 0;
    if (link.sendAwaitEcho("P", "E", kFamilyCLinkRules).ok) {
        EchoReply r = link.sendAwaitEcho(std::string("R\xFF", 2), "\x02", kFamilyCLinkRules);
        counted = r.ok;
        if (r.ok) count = r.length;
    }
    if (link.cancelRequested()) return DownloadOutcome::cancelled();
    if (!counted) {
        link.endConnection(kFamilyCLinkRules);
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
    long damaged = 0;                  // records garbled on the line, left out
    long n = 0;
    bool stoppedEarly = false;
    if (count > 0) {
        link.pause(0.3);
        s.showProgress("DLoadResults_35");
        bool first = true;
        for (;;) {
            ++n;
            bool ok = link.sendAwaitEcho("P", "E", kFamilyCLinkRules).ok;
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
            if (present && cv61RecordDamaged(record))
                ++damaged;
            else if (present)
                records.push_back(record);
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
    link.endConnection(kFamilyCLinkRules);

    // A record whose first byte is 0 marks the end of the memory: it is never kept. A
    // damaged record is left out and the download is not whole: the tester still holds it.
    const bool complete = !stoppedEarly && damaged == 0 && long(records.size()) >= count;
    if (damaged > 0) s.prompts().warning(LangText("msgRecordsDamaged_70"));
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
        ItemBlock block;
        block.add(ItemField::ID, e.id).add(ItemField::PID, e.pid).add(ItemField::BID, e.bid);
        if (e.isNode) {
            block.add(ItemField::Name, machine + std::to_string(e.position.a));
            block.add(ItemField::Type, 1);
        } else {
            const CV61Texts& t = texts[std::size_t(e.source)];
            const char* nameKey = cv61NameKey(t.function);
            block.add(ItemField::Name, *nameKey ? LangText(nameKey) : std::string());
            block.add(ItemField::Type, 23);
            block.add(ItemField::ResText, "X#PD" + t.date + "  " + t.time);
            block.add(ItemField::FpString, cv61FpString(t));
        }
        block.end = long(i) + 1;
        s.writeItem(block);
    }
    s.loadDownloadedFile();
    DownloadOutcome outcome = !complete    ? DownloadOutcome::incomplete()
                              : identified ? DownloadOutcome::complete()
                                           : DownloadOutcome::flawed("msgIdentNotRead_70");
    return outcome.withRecords(long(records.size()), count);
}

}  // namespace pelvoro
