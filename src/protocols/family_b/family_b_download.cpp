// The download of the binary-protocol testers (family B): the record count, then one
// record per "MRE" (installation testers) or "MRG" (high-voltage testers, with a counted
// graph text after records that hold the graph marker); the records are decoded into FP
// strings and hung under the structure their positions describe.

#include <cmath>
#include <vector>

#include "common/lang_text.h"
#include "instrument/models.h"
#include "protocols/download_command.h"
#include "protocols/family_b/family_b_identification.h"
#include "protocols/family_b/family_b_link_rules.h"
#include "protocols/family_b/family_b_records.h"
#include "protocols/family_b/family_b_requests.h"
#include "protocols/family_b/hv_decoder.h"
#include "protocols/family_b/install_decoder.h"
#include "protocols/identification.h"

namespace pelvoro {

namespace {

constexpr std::size_t kRecordBuffer = 10000;

// One record request; false on any failure (the link has told why, unless cancelled).
bool requestRecord(Link& link, bool highVoltage, std::string& record) {
    const char* command = highVoltage ? "MRG" : "MRE";
    const char* echo = highVoltage ? "SRG" : "SRE";
    EchoReply reply = link.sendAwaitEcho(command, echo, kFamilyBLinkRules);
    if (!reply.ok) return false;
    const std::size_t length = std::size_t(reply.length);
    if (length > 0 && !link.readBlock(length, kRecordBuffer)) return false;
    record = length > 0 ? link.transferBuffer().substr(0, length) : std::string();
    if (highVoltage && record.size() > kFamilyBHeaderSize - 1 &&
        record.find(std::string("\0G", 2), kFamilyBHeaderSize - 1) != std::string::npos) {
        ProgressWindow& progress = link.progress();
        progress.setSecondGauge(0, 100);
        progress.setSecondGaugeVisible(true);
        ReplyLine graph = link.readUntilEof();
        progress.setSecondGaugeVisible(false);
        if (!graph.ok) return false;
        record += graph.text;
    }
    return true;
}

}  // namespace

DownloadOutcome downloadFamilyB(DownloadSession& s) {
    Link& link = s.link();
    const std::string& key = s.key();
    const bool installation = modelHas(key, kInstallationTester);
    if (!link.connectInstrument(kFamilyBLinkRules)) {
        if (link.handshakeCancelled()) return DownloadOutcome::cancelled();
        return DownloadOutcome::failed("msgConnectError_35");
    }

    link.pause(0.3);
    s.showProgress("DLoadResults_35");
    if (!requestFamilyBData(link, s.instrumentData(),
                            firmwareFieldRuleForBrand(s.context().brandTitle), key)) {
        const bool cancelled = link.cancelRequested();
        link.endConnection(kFamilyBLinkRules);
        if (cancelled) return DownloadOutcome::cancelled();
        s.prompts().error(LangText("msgConnectError_35"));
        return DownloadOutcome::failed("msgConnectError_35");
    }
    if (!isIdentificationTextOf(key, s.instrumentData().model())) {
        link.endConnection(kFamilyBLinkRules);
        s.prompts().error(LangText("msgConnectError_35"));
        return DownloadOutcome::failed("msgConnectError_35");
    }

    // The record count. A count that did not come is no empty memory: the link has said
    // what failed, and nothing else is said.
    EchoReply countReply = link.sendAwaitEcho("MNU", "SNU", kFamilyBLinkRules);
    if (!countReply.ok) {
        if (link.cancelRequested()) return DownloadOutcome::cancelled();
        link.endConnection(kFamilyBLinkRules);
        return DownloadOutcome::failed("msgCommunFail_35");
    }
    link.pause(0.3);
    const long count = countReply.length;
    if (count == 0) {
        s.prompts().information(LangText("msgNoDataToDownL_35"));
        return DownloadOutcome::noData();
    }

    // The records. The request after the last one only confirms the end: whatever it
    // brings (another record, an empty one or nothing) is not used and not reported.
    std::vector<std::string> records;
    bool failed = false;
    for (long i = 0; i <= count; ++i) {
        std::string record;
        if (i == count) {
            link.setQuiet(true);
            requestRecord(link, !installation, record);
            link.setQuiet(false);
            if (link.cancelRequested()) return DownloadOutcome::cancelled();
            break;
        }
        // An empty record before the count is reached: the memory ended early.
        if (!requestRecord(link, !installation, record) || record.empty()) {
            link.send(kFamilyBLinkRules.goodbye);
            s.repaint();
            if (link.cancelRequested()) return DownloadOutcome::cancelled();
            failed = true;
            break;
        }
        records.push_back(std::move(record));
        s.repaint();
        if (link.cancelRequested()) {
            link.send(kFamilyBLinkRules.goodbye);
            return DownloadOutcome::cancelled();
        }
        s.setGauge(int(std::lround((double(i) * 100.0 + 100.0) / double(count))));
    }
    // Every record that came whole is kept.
    const bool complete = !failed && long(records.size()) >= count;
    if (!complete) {
        s.prompts().warning(LangText("msgDLoadNotCompl_50"));
        if (records.empty())
            return DownloadOutcome::failed("msgDLoadNotCompl_50").withRecords(0, count);
    }

    if (!s.newDownloadDocument()) return DownloadOutcome::failed("msgWriteError_35");
    s.writeHead(9);

    DownloadTree tree;
    for (const std::string& r : records)
        tree.addResult(installation ? familyBPosition(r) : TreePosition{1, 0, 0});
    tree.completeParents();
    tree.number();

    // Decoding.
    const std::string typeCode = s.document()->InstrumentData.typeCode();
    std::vector<std::string> fp(records.size()), names(records.size()), graphs(records.size());
    long corrupted = 0;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (installation) {
            if (!DecodeInstallRecord(records[i], typeCode, fp[i], names[i])) ++corrupted;
        } else {
            GraphSplit split = splitGraph(records[i]);
            graphs[i] = std::move(split.graph);
            DecodeHvRecord(split.record, s.prompts(), fp[i], names[i]);
        }
    }
    if (corrupted > 0)
        s.prompts().warning("Found corrupted measurement data!   " + std::to_string(corrupted));

    const auto& entries = tree.entries();
    for (std::size_t k = 0; k < entries.size(); ++k) {
        const DownloadTreeEntry& e = entries[k];
        ItemBlock block;
        block.add(ItemField::ID, e.id).add(ItemField::PID, e.pid).add(ItemField::BID, e.bid);
        const TreePosition& p = e.position;
        if (!e.isNode) {
            const std::size_t i = std::size_t(e.source);
            block.add(ItemField::Name, names[i]);
            block.add(ItemField::Type, !installation && !graphs[i].empty() ? 24 : 23);
            block.add(ItemField::FpString, fp[i]);
            if (!installation) block.add(ItemField::GraphString, graphs[i]);
        } else if (!installation || (p.b == 0 && p.c == 0)) {
            block.add(ItemField::Name, LangText("labObject_15") + std::to_string(p.a));
            block.add(ItemField::Type, 1);
        } else if (p.c == 0) {
            if (typeCode == "20" || typeCode == "26")
                block.add(ItemField::Name, LangText("labBlock_15") + std::to_string(p.b));
            else if (typeCode == "24" || typeCode == "25")
                block.add(ItemField::Name, LangText("labDistBoard_15") + std::to_string(p.b));
            block.add(ItemField::Type, 2);
        } else {
            block.add(ItemField::Name, LangText("labFuse_15") + std::to_string(p.c));
            block.add(ItemField::Type, 5);
        }
        block.end = long(k) + 1;
        s.writeItem(block);
    }
    s.loadDownloadedFile();
    DownloadOutcome outcome =
        complete ? DownloadOutcome::complete() : DownloadOutcome::incomplete();
    return outcome.withRecords(long(records.size()), count);
}

}  // namespace pelvoro
