#include "protocols/identification.h"

#include "common/lang_text.h"
#include "common/text.h"
#include "instrument/models.h"
#include "protocols/family_a/family_a_link_rules.h"
#include "protocols/family_a/family_a_requests.h"
#include "protocols/family_b/family_b_identification.h"
#include "protocols/family_b/family_b_link_rules.h"
#include "protocols/family_b/family_b_requests.h"
#include "protocols/family_c/family_c_link_rules.h"

namespace pelvoro {

// ---- Port settings -----------------------------------------------------------------------

PortSelection loadPortSelection(const SettingsStore& settings, PortSelection current) {
    if (auto p = settings.readInt("COMPort")) current.portIndex = *p;
    if (auto b = settings.readInt("BaudRate")) current.baudIndex = *b;
    return current;
}

void storePortSelection(SettingsStore& settings, const PortSelection& s) {
    settings.writeInt("COMPort", s.portIndex);
    settings.writeInt("BaudRate", s.baudIndex);
    settings.flush();
}

void applyPortSettings(Link& link, const PortSelection& s) {
    if (s.portIndex >= 0 && s.portIndex < kPortCount) link.setPortNumber(s.portIndex + 1);
    if (s.baudIndex >= 0 && s.baudIndex < int(kBaudRates.size()))
        link.setBaudRate(kBaudRates[size_t(s.baudIndex)]);
}

std::string portText(int portIndex) {
    return "COM" + std::to_string(portIndex + 1);
}

std::string baudText(int baudIndex) {
    if (baudIndex < 0 || baudIndex >= int(kBaudRates.size())) return {};
    return std::to_string(kBaudRates[size_t(baudIndex)]);
}

std::optional<int> baudIndexOf(int baud) {
    for (size_t i = 0; i < kBaudRates.size(); ++i)
        if (kBaudRates[i] == baud) return int(i);
    return std::nullopt;
}

// ---- Identification lists ---------------------------------------------------------------

namespace {

// The models of `protocol` whose identification texts hold `modelText`.
std::optional<IdentifiedModel> identify(ProtocolFamily protocol, const std::string& modelText,
                                        bool portDialog) {
    for (const InstrumentModel& m : instrumentModels()) {
        if (m.protocol != protocol) continue;
        for (const IdentificationText& t : m.identificationTexts) {
            if (modelText != t.text || (t.portDialogOnly && !portDialog)) continue;
            return IdentifiedModel{m.key, m.modelFamily, t.label ? t.label : m.caption};
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<IdentifiedModel> identifyFamilyA(const std::string& modelText, bool portDialog) {
    return identify(ProtocolFamily::A, modelText, portDialog);
}

std::optional<IdentifiedModel> identifyFamilyB(const std::string& modelText) {
    return identify(ProtocolFamily::B, modelText, false);
}

// ---- Identification ------------------------------------------------------------------------

namespace {

constexpr double kIdentifySettle = 0.3;
constexpr double kAfterIdentification = 1.0;

enum class ProbeOutcome { Silent, Ready, Cancelled };

// Family A ready probe: reply lines for up to `window` seconds; busy lines restart the
// window, but only until `busyDeadline` (a clock time): a tester that only ever says it is
// busy is given up as the connection's handshake gives it up. `onLine` sees every complete
// line.
template <class OnLine>
ProbeOutcome waitFamilyAReady(Link& link, double window, double busyDeadline,
                              const std::function<bool()>& cancelled, OnLine onLine) {
    LinkClock& clock = link.clock();
    double start = clock.elapsedSeconds();
    for (;;) {
        if (cancelled()) return ProbeOutcome::Cancelled;
        if (link.port().bytesWaiting() == 0) {
            // The window is over only when what has arrived was looked at.
            if (clock.elapsedSeconds() - start >= window) break;
            clock.pause(link_limits::kPollInterval);
            continue;
        }
        ReplyLine line = link.readReplyLine();
        if (!line.ok) return cancelled() ? ProbeOutcome::Cancelled : ProbeOutcome::Silent;
        onLine(line.text);
        if (kFamilyALinkRules.isBusy(line.text)) {
            if (cancelled()) return ProbeOutcome::Cancelled;
            if (clock.elapsedSeconds() < busyDeadline) start = clock.elapsedSeconds();
        } else if (kFamilyALinkRules.isReady(line.text)) {
            return ProbeOutcome::Ready;
        }
    }
    return ProbeOutcome::Silent;
}

// Waits up to `window` seconds for at least `minBytes` bytes and takes all that wait.
template <class Accept>
ProbeOutcome waitBytesReady(Link& link, double window, std::size_t minBytes,
                            const std::function<bool()>& cancelled, Accept accept) {
    LinkClock& clock = link.clock();
    double start = clock.elapsedSeconds();
    for (;;) {
        if (cancelled()) return ProbeOutcome::Cancelled;
        if (link.port().bytesWaiting() >= minBytes) {
            std::string bytes = link.port().readAll();
            return accept(bytes) ? ProbeOutcome::Ready : ProbeOutcome::Silent;
        }
        if (clock.elapsedSeconds() - start >= window) break;
        clock.pause(link_limits::kPollInterval);
    }
    return ProbeOutcome::Silent;
}

}  // namespace

IdentifyResult autoIdentify(InstrumentContext& ctx) {
    Link& link = ctx.link;
    IdentifyResult result;
    if (!link.ensurePortOpen()) return result;

    bool ready = false;
    bool cancelled = false;
    {
        BusyCursor busy(link.prompts());
        link.showProgress(LangText("AutoIdentify_50"), false, true);
        link.processEvents();
        link.pause(kIdentifySettle);
        std::function<bool()> isCancelled = [&link] { return link.cancelRequested(); };
        double start = link.clock().elapsedSeconds();
        const double busyDeadline = start + link_limits::kBusyLimit;
        while (!ready && !cancelled &&
               link.clock().elapsedSeconds() - start < link_limits::kIdentifyLimit) {
            // Family A first.
            link.port().purgeAll();
            link.send(kFamilyALinkRules.probe);
            ProbeOutcome a = waitFamilyAReady(
                link, kFamilyALinkRules.readyWindow(link_limits::kReplyWindow, link.baudRate()),
                busyDeadline, isCancelled, [](const std::string&) {});
            if (a == ProbeOutcome::Ready) {
                ready = true;
                result.ok = true;
                if (requestFamilyAData(link, ctx.data)) {
                    if (auto m = identifyFamilyA(ctx.data.line(3))) {
                        ctx.models.checkIdentifiedModel(m->key, m->modelFamily);
                        result.key = m->key;
                    }
                }
                link.endConnection(kFamilyALinkRules);
                break;
            }
            if (a == ProbeOutcome::Cancelled) {
                cancelled = true;
                break;
            }
            // Then family B.
            link.port().purgeAll();
            link.send(kFamilyBLinkRules.probe);
            ProbeOutcome b = waitBytesReady(
                link, kFamilyBLinkRules.readyWindow(link_limits::kReplyWindow, link.baudRate()),
                kFamilyBLinkRules.readyBytes, isCancelled,
                [](const std::string& bytes) { return kFamilyBLinkRules.isReady(bytes); });
            if (b == ProbeOutcome::Ready) {
                ready = true;
                result.ok = true;
                if (requestFamilyBData(link, ctx.data, firmwareFieldRuleForBrand(ctx.brandTitle))) {
                    if (auto m = identifyFamilyB(ctx.data.line(3))) {
                        ctx.models.checkIdentifiedModel(m->key, m->modelFamily);
                        result.key = m->key;
                    }
                }
                link.endConnection(kFamilyBLinkRules);
                break;
            }
            if (b == ProbeOutcome::Cancelled || link.cancelRequested()) cancelled = true;
        }
        link.closePort();
        link.hideProgress();
        link.progress().setGaugeVisible(true);
    }
    if (!ready) {
        if (!cancelled && !link.cancelRequested())
            link.prompts().error(LangText("msgConnectError_35"));
    }
    link.clearCancel();
    return result;
}

std::string selectedModelKey(InstrumentContext& ctx) {
    std::string key = ctx.models.checkedModelKey();
    if (key.empty()) key = kAutoFindKey;
    if (key != kAutoFindKey) return key;
    IdentifyResult r = autoIdentify(ctx);
    if (r.ok) ctx.link.pause(kAfterIdentification);
    return r.key;
}

// ---- The port dialog's search ---------------------------------------------------------------

std::vector<SearchStage> searchStagesForKey(const std::string& key) {
    std::vector<SearchStage> stages;
    bool any = key == kAutoFindKey;
    ProtocolFamily p = protocolOfKey(key);
    if (any || p == ProtocolFamily::A) stages.push_back(SearchStage::A);
    if (any || p == ProtocolFamily::B) stages.push_back(SearchStage::B);
    if (any || p == ProtocolFamily::C) stages.push_back(SearchStage::C);
    return stages;
}

std::vector<PortAttempt> fullPassOrder() {
    std::vector<PortAttempt> order;
    for (int p = 0; p < kPortCount; ++p)
        for (int b = int(kBaudRates.size()) - 1; b >= 0; --b) order.push_back({p, b});
    return order;
}

namespace {

constexpr double kAttemptLimit = 2.16;
constexpr double kProbeWindow = 0.6048;
constexpr double kPortSettle = 0.2;
constexpr double kFamilyCSettle = 0.4;
constexpr double kFamilyBFoundPause = 0.2;

class PortSearch {
  public:
    PortSearch(InstrumentContext& ctx, PortSelection& sel, const std::function<bool()>& cancelled,
               AutoFindResult& r)
        : link_(ctx.link), sel_(sel), cancelled_(cancelled), r_(r) {}

    enum class Flow { Continue, EndStage, EndSearch, Found };

    // Runs one pass of every stage; true when the search ends (found or cancelled).
    bool runPass(bool fullPass, const std::vector<SearchStage>& stages) {
        full_ = fullPass;
        // Busy lines may stretch the probe waits of the whole search by this much at most.
        if (busyDeadline_ < 0)
            busyDeadline_ = link_.clock().elapsedSeconds() + link_limits::kBusyLimit;
        for (SearchStage s : stages) {
            Flow f = runStage(s);
            if (f == Flow::Found || f == Flow::EndSearch) return true;
        }
        return false;
    }

  private:
    void log(const std::string& s) { r_.log.push_back(s); }

    // Opens the port when it is closed and logs the outcome with its tag ("_1" ...).
    bool openLogged(const char* tag, int portIndex) {
        SerialPort& port = link_.port();
        bool ok = port.isOpen() || port.open();
        if (ok)
            log("COM:" + std::to_string(link_.portNumber()) +
                " / BR:" + std::to_string(link_.baudRate()) + "   SUCCESS" + tag);
        else
            log("COM:" + std::to_string(portIndex + 1) +
                " / BR:" + std::to_string(link_.baudRate()) + "   EXCEPT" + tag);
        return ok;
    }

    void select(int p, int b) {
        link_.closePort();
        link_.processEvents();
        sel_ = {p, b};
        applyPortSettings(link_, sel_);
        link_.processEvents();
    }

    Flow runStage(SearchStage stage) {
        std::vector<int> ports;
        if (full_)
            for (int p = 0; p < kPortCount; ++p) ports.push_back(p);
        else
            ports.push_back(sel_.portIndex);
        for (int p : ports) {
            if (full_) select(p, 0);
            link_.pause(kPortSettle);
            bool opened = openLogged("_1", p);
            if (cancelled_()) return Flow::EndSearch;
            if (!opened) {
                if (!full_) return Flow::EndStage;
                continue;
            }
            std::vector<int> bauds;
            if (full_)
                for (int b = int(kBaudRates.size()) - 1; b >= 0; --b) bauds.push_back(b);
            else
                bauds.push_back(sel_.baudIndex);
            for (int b : bauds) {
                Flow f = attempt(stage, p, b);
                if (f != Flow::Continue) return f;
                if (!full_) return Flow::EndStage;
            }
        }
        return Flow::Continue;
    }

    Flow attempt(SearchStage stage, int p, int b) {
        link_.processEvents();
        if (full_) select(p, b);
        link_.pause(stage == SearchStage::C ? kFamilyCSettle : kPortSettle);
        bool opened = openLogged("_2", p);
        if (cancelled_()) return Flow::EndSearch;
        if (!opened) return full_ ? Flow::Continue : Flow::EndStage;
        LinkClock& clock = link_.clock();
        double start = clock.elapsedSeconds();
        link_.port().purgeAll();
        opened = openLogged("_3", p);
        if (cancelled_()) return Flow::EndSearch;
        if (!opened) return full_ ? Flow::Continue : Flow::EndStage;

        while (clock.elapsedSeconds() - start < kAttemptLimit) {
            link_.port().purgeAll();
            ProbeOutcome o = probe(stage);
            if (o == ProbeOutcome::Ready) {
                r_.family = stage == SearchStage::A   ? "Instr_A"
                            : stage == SearchStage::B ? "Instr_B"
                                                      : "Instr_C";
                if (stage == SearchStage::B) link_.pause(kFamilyBFoundPause);
                return Flow::Found;
            }
            if (o == ProbeOutcome::Cancelled || cancelled_()) return Flow::EndSearch;
        }
        link_.closePort();
        return Flow::Continue;
    }

    ProbeOutcome probe(SearchStage stage) {
        switch (stage) {
            case SearchStage::A:
                link_.send(kFamilyALinkRules.probe);
                log("MRD #13");
                return waitFamilyAReady(
                    link_, kFamilyALinkRules.readyWindow(kProbeWindow, link_.baudRate()),
                    busyDeadline_, cancelled_, [this](const std::string& line) {
                        if (line.size() >= 3) log("   " + line.substr(0, 3));
                    });
            case SearchStage::B:
                return probeBytes(kFamilyBLinkRules);
            case SearchStage::C:
                return probeBytes(kFamilyCLinkRules);
        }
        return ProbeOutcome::Silent;
    }

    // The probe of a family whose ready reply is raw bytes; the log shows the probe and
    // as many bytes of the reply as the ready reply begins with.
    ProbeOutcome probeBytes(const FamilyLinkRules& family) {
        link_.send(family.probe);
        log("  " + std::string(family.probe));
        return waitBytesReady(link_, family.readyWindow(kProbeWindow, link_.baudRate()),
                              family.readyBytes, cancelled_,
                              [this, &family](const std::string& bytes) {
                                  log("   " + bytes.substr(0, family.readyPrefix.size()));
                                  return family.isReady(bytes);
                              });
    }

    Link& link_;
    PortSelection& sel_;
    const std::function<bool()>& cancelled_;
    AutoFindResult& r_;
    bool full_ = false;
    double busyDeadline_ = -1;
};

// Brand titles that sell one family B tester above the others preselect it.
std::optional<std::string> preselectedFamilyBModel(const std::string& brandTitle) {
    for (const InstrumentModel& m : instrumentModels())
        for (const char* brand : m.preselectingBrands)
            if (startsWith(brandTitle, brand)) return std::string(m.key);
    return std::nullopt;
}

}  // namespace

AutoFindResult autoFind(InstrumentContext& ctx, PortSelection& selection,
                        const std::function<bool()>& cancelled) {
    Link& link = ctx.link;
    AutoFindResult r;
    const PortSelection remembered = selection;
    std::string key = ctx.models.checkedModelKey();
    if (key.empty()) key = kAutoFindKey;
    std::vector<SearchStage> stages = searchStagesForKey(key);

    {
        BusyCursor busy(link.prompts());
        PortSearch search(ctx, selection, cancelled, r);
        if (!search.runPass(false, stages)) search.runPass(true, stages);
        r.cancelled = cancelled();
        r.found = !r.family.empty();

        if (r.family == "Instr_A") {
            if (requestFamilyAData(link, ctx.data)) {
                if (auto m = identifyFamilyA(ctx.data.line(3), true)) {
                    ctx.models.checkIdentifiedModel(m->key, m->modelFamily);
                    r.modelKey = m->key;
                    r.modelLabel = m->label;
                }
            }
            link.endConnection(kFamilyALinkRules);
        } else if (r.family == "Instr_B") {
            if (auto pre = preselectedFamilyBModel(ctx.brandTitle)) {
                ctx.models.checkIdentifiedModel(*pre, 1);
                r.modelKey = *pre;
            }
            if (requestFamilyBData(link, ctx.data, firmwareFieldRuleForBrand(ctx.brandTitle))) {
                if (auto m = identifyFamilyB(ctx.data.line(3))) {
                    ctx.models.checkIdentifiedModel(m->key, m->modelFamily);
                    r.modelKey = m->key;
                    r.modelLabel = m->label;
                }
            }
            link.endConnection(kFamilyBLinkRules);
        } else if (r.family == "Instr_C") {
            link.send("u");
            link.processEvents();
            link.endConnection(kFamilyCLinkRules);
        } else {
            link.closePort();
        }
    }

    if (r.found) {
        link.prompts().information(
            LangText("rgComPort_10") + ":  " + portText(selection.portIndex) + "\n\r\n\r" +
            LangText("rgBaudRate_15") + ":  " + baudText(selection.baudIndex) + "\n\r");
    } else {
        selection = remembered;
        applyPortSettings(link, selection);
        if (!r.cancelled) link.prompts().error(LangText("msgConnectError_35"));
    }
    applyPortSettings(link, selection);
    link.clearCancel();
    return r;
}

}  // namespace pelvoro
