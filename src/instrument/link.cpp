#include "instrument/link.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "common/lang_text.h"
#include "common/text.h"

namespace pelvoro {

namespace {

constexpr char kCR = '\r';

}  // namespace

std::optional<long> wholeNumber(std::string_view text) {
    std::string t = trimmed(text);
    while (!t.empty() && (t.front() == '\n' || t.front() == '\t')) t.erase(t.begin());
    while (!t.empty() && (t.back() == '\n' || t.back() == '\t')) t.pop_back();
    t = trimmed(t);
    if (t.empty()) return std::nullopt;
    std::size_t i = 0;
    bool negative = false;
    if (t[0] == '+' || t[0] == '-') {
        negative = t[0] == '-';
        i = 1;
    }
    if (i == t.size()) return std::nullopt;
    long value = 0;
    for (; i < t.size(); ++i) {
        if (t[i] < '0' || t[i] > '9') return std::nullopt;
        if (value > 100000000L) return std::nullopt;  // no tester holds that many
        value = value * 10 + (t[i] - '0');
    }
    return negative ? -value : value;
}

namespace {

int echoLength(const std::string& b, EchoLength kind) {
    auto at = [&](std::size_t i) { return i < b.size() ? static_cast<unsigned char>(b[i]) : 0; };
    switch (kind) {
        case EchoLength::Byte3:
            return at(3);
        case EchoLength::Bytes3And4:
            return at(3) * 256 + at(4);
        case EchoLength::Bytes4And5:
            return at(4) * 256 + at(5);
        case EchoLength::CountLowFirst:
            return at(2) + 256 * at(3);  // at(3) is 0 when no fourth byte came
        case EchoLength::None:
            break;
    }
    return 0;
}

}  // namespace

double transmissionSeconds(std::size_t n, int baud) {
    return baud > 0 ? 10.0 * static_cast<double>(n) / baud : 0.0;
}

double FamilyLinkRules::readyWindow(double answerTime, int baud) const {
    return answerTime + transmissionSeconds(probe.size() + (readyAsLines ? 1 : readyBytes), baud);
}

double blockAllowance(std::size_t n, int baud) {
    double allowance = baud > 0 ? 34.56 * static_cast<double>(n) / baud : 0.0;
    return std::max(allowance, link_limits::kBlockFloor);
}

double replyLineLimit(int baud) {
    const double transmission =
        baud > 0 ? 34.56 * static_cast<double>(link_limits::kLongestReplyLine) / baud : 0.0;
    return link_limits::kLineLimit + transmission;
}

double familyADataReplyLimit(int baud) {
    constexpr std::size_t kReplyBytes = 1000;
    return std::max(1.5 * transmissionSeconds(kReplyBytes, baud), link_limits::kStatusWaitLimit);
}

Link::Link(SerialPort& port, LinkClock& clock, ProgressWindow& progress, Prompts& prompts)
    : port_(port), clock_(clock), progress_(progress), prompts_(prompts) {}

// --- connection ---------------------------------------------------------------------

bool Link::ensurePortOpen() {
    if (port_.isOpen()) return true;
    if (port_.open()) return true;
    std::string why = port_.openFailure();
    port_.close();
    std::string message = LangText("msgNotAvailPort_35");
    if (!why.empty()) message += "\n\n" + why;
    prompts_.error(message);
    return false;
}

bool Link::connectInstrument(const FamilyLinkRules& family) {
    if (!ensurePortOpen()) return false;

    progress_.show(LangText("frmTransfering_35"));
    progress_.setGauge(0, 100);
    progress_.setGaugeVisible(false);
    progress_.setSecondGaugeVisible(false);
    progress_.setCancelVisible(true);
    progress_.setStep(LangText("ConnectInstr_35"));
    clock_.processEvents();
    clock_.pause(0.2);

    const double start = clock_.elapsedSeconds();
    if (port_.bytesWaiting() > 0) port_.purgeInput();

    bool ready = false;
    bool cancelled = false;
    received_ = false;
    while (!ready && clock_.elapsedSeconds() - start < link_limits::kHandshakeLimit) {
        if (!family.probe.empty()) send(family.probe);
        if (cancelRequested()) {
            progress_.hide();
            cancelled = true;
            break;
        }
        double windowStart = clock_.elapsedSeconds();
        ready = handshakeReply(family, start, windowStart);
        if (!ready && cancelRequested()) {
            progress_.hide();
            cancelled = true;
            break;
        }
        if (family.probe.empty()) break;
    }
    received_ = ready;

    clock_.processEvents();
    // The settle pause only matters when the exchange goes on; Cancel ends at once.
    if (!cancelled) clock_.pause(1.0);
    if (port_.isOpen()) port_.purgeAll();
    progress_.hide();
    progress_.setGaugeVisible(true);

    handshakeCancelled_ = !ready && (cancelled || cancelRequested());
    if (ready) return true;
    closePort();
    progress_.hide();
    if (!handshakeCancelled_) prompts_.error(LangText("msgConnectError_35"));
    clearCancel();
    return false;
}

// Waits out one reply window of the handshake; true on the ready reply. A busy line
// restarts the window (up to kBusyLimit after the handshake began).
bool Link::handshakeReply(const FamilyLinkRules& family, double handshakeStart,
                          double& windowStart) {
    const double window = family.readyWindow(link_limits::kReplyWindow, port_.baudRate());
    for (;;) {
        if (family.readyAsLines) {
            if (clock_.elapsedSeconds() - windowStart >= window && port_.bytesWaiting() == 0)
                return false;
            ReplyLine line = readReplyLine();
            if (!line.ok) return false;
            if (family.isBusy(line.text)) {
                // A tester that only ever says it is busy is given up eventually.
                if (clock_.elapsedSeconds() - handshakeStart >= link_limits::kBusyLimit)
                    return false;
                windowStart = clock_.elapsedSeconds();
                if (cancelRequested()) return false;
                continue;
            }
            if (family.isReady(line.text)) return true;
            continue;
        }
        if (cancelRequested()) return false;
        if (port_.bytesWaiting() >= family.readyBytes) {
            lastReply_ = port_.readAll();
            if (family.isReady(lastReply_)) return true;
            continue;
        }
        // The window is over only when what has arrived was looked at.
        if (clock_.elapsedSeconds() - windowStart >= window) return false;
        pollPause();
    }
}

void Link::endConnection(const FamilyLinkRules& family) {
    if (port_.isOpen() && !family.goodbye.empty()) send(family.goodbye);
    progress_.hide();
    progress_.setGaugeVisible(true);
    progress_.setSecondGaugeVisible(false);
    closePort();
    clearCancel();
}

void Link::closePort() {
    if (port_.isOpen()) port_.close();
}

// --- building blocks ----------------------------------------------------------------

void Link::send(std::string_view bytes) {
    if (port_.isOpen()) port_.write(bytes);
    clock_.processEvents();
}

void Link::purgeInput() {
    if (port_.isOpen() && port_.bytesWaiting() > 0) port_.purgeInput();
}

void Link::pollPause() {
    clock_.pause(link_limits::kPollInterval);
}

ReplyLine Link::readReplyLine() {
    ReplyLine line;
    received_ = false;
    if (!port_.isOpen()) return line;
    const double start = clock_.elapsedSeconds();
    const double overall = replyLineLimit(port_.baudRate());
    double lastByte = start;
    for (;;) {
        if (cancelRequested()) break;
        if (port_.isOpen() && port_.bytesWaiting() > 0) {
            std::string b = port_.read(1);
            if (b.empty()) continue;
            if (b[0] == kCR) {
                line.ok = true;
                received_ = true;
                lastReply_ = line.text;
                return line;
            }
            line.text += b[0];
            lastByte = clock_.elapsedSeconds();
            if (line.text.size() > link_limits::kMaxReplyLine) break;
            continue;
        }
        // Nothing is waiting: only now can the line be late. The silence counts from the
        // last byte, so a long line at a low rate still comes whole; the overall bound
        // ends a tester that trickles bytes without a CR.
        const double now = clock_.elapsedSeconds();
        if (now - lastByte >= link_limits::kLineLimit || now - start >= overall) break;
        if (!port_.isOpen()) break;
        pollPause();
    }
    lastReply_ = line.text;
    return line;
}

EchoReply Link::sendAwaitEcho(std::string_view command, std::string_view expectedEcho,
                              const FamilyLinkRules& family) {
    EchoReply reply;
    received_ = false;
    const EchoRule rule = family.echoOf(command);
    // A request that moves the tester to its next record is sent once: sending it again
    // would skip a record of a tester that answers late (see link.h).
    const bool advances = rule.advances;
    // The limits are the tester's time to answer; the command going out and its reply
    // coming back take their own time on a slow line (a 5-byte reply alone takes 0.17 s at
    // 300 baud), which a tester answering near the limit must not lose to a second send.
    const double lineTime = transmissionSeconds(command.size() + rule.bytes, port_.baudRate());
    const double overall = link_limits::kEchoLimit + lineTime;
    const double window =
        (advances ? link_limits::kEchoLimit : link_limits::kReplyWindow) + lineTime;
    if (port_.isOpen()) {
        const double start = clock_.elapsedSeconds();
        port_.purgeAll();
        bool sent = false;
        // Bytes taken that may begin the echo. Bytes before it (a late second answer to an
        // earlier command that was sent twice, line noise) are dropped one at a time up to
        // the next byte that could begin it, so that the echo is found wherever it starts.
        std::string taken;
        const std::string_view expected = expectedEcho.substr(0, rule.compared);
        while (!received_ && (!sent || (!advances && clock_.elapsedSeconds() - start < overall))) {
            lastReply_.clear();
            send(command);
            sent = true;
            if (cancelRequested()) {
                progress_.hide();
                return reply;
            }
            const double windowStart = clock_.elapsedSeconds();
            for (;;) {
                if (cancelRequested()) {
                    progress_.hide();
                    return reply;
                }
                // What has arrived is looked at before the window can be over: a wait
                // held up elsewhere (a modal dialog) must not miss a reply that came.
                if (port_.isOpen() && taken.size() < rule.bytes && port_.bytesWaiting() > 0)
                    taken += port_.read(std::min(port_.bytesWaiting(), rule.bytes - taken.size()));
                if (taken.size() >= rule.bytes) {
                    if (taken.compare(0, expected.size(), expected) == 0) {
                        if (rule.length == EchoLength::CountLowFirst && awaitOneMoreByte())
                            taken += port_.read(1);
                        buffer_ = taken;
                        lastReply_ = std::string(expected);
                        received_ = true;
                        break;
                    }
                    const std::size_t next =
                        expected.empty() ? std::string::npos : taken.find(expected[0], 1);
                    taken.erase(0, next == std::string::npos ? taken.size() : next);
                    continue;
                }
                if (!port_.isOpen() || clock_.elapsedSeconds() - windowStart >= window) break;
                pollPause();
            }
        }
    }
    if (received_) {
        reply.ok = lastReply_ == expectedEcho.substr(0, rule.compared);
        reply.length = echoLength(buffer_, rule.length);
        return reply;
    }
    reportCommunicationFailure("   Error #2C");
    return reply;
}

// After the first three bytes of the family C count (taken): true when a fourth follows
// within a few byte times.
bool Link::awaitOneMoreByte() {
    const int baud = port_.baudRate() > 0 ? port_.baudRate() : 300;
    const double grace = 0.1 + transmissionSeconds(3, baud);  // three byte times
    const double start = clock_.elapsedSeconds();
    while (port_.bytesWaiting() < 1) {
        if (clock_.elapsedSeconds() - start >= grace || cancelRequested()) return false;
        pollPause();
    }
    return true;
}

bool Link::readBlock(std::size_t n) {
    return takeBlock(n, false);
}

bool Link::readBlockShowingBytes(std::size_t n) {
    return takeBlock(n, true);
}

bool Link::takeBlock(std::size_t n, bool moveGauge) {
    received_ = false;
    const double start = clock_.elapsedSeconds();
    const double allowance = blockAllowance(n, port_.baudRate());
    int shown = -1;
    while (port_.isOpen()) {
        if (cancelRequested()) {
            progress_.hide();
            interrupted_ = true;
            return false;
        }
        const std::size_t waiting = port_.bytesWaiting();
        if (moveGauge && n > 0) {
            const int percent = int(std::min(waiting, n) * 100 / n);
            if (percent != shown) progress_.setGauge(shown = percent, 100);
        }
        if (waiting >= n) {
            buffer_ = port_.read(n);
            clock_.processEvents();
            if (buffer_.size() == n) {
                received_ = true;
                return true;
            }
            break;
        }
        if (clock_.elapsedSeconds() - start > allowance) break;
        pollPause();
    }
    reportCommunicationFailure("   Error #3");
    return false;
}

bool Link::readBlock(std::size_t n, std::size_t bufferSize) {
    if (n > bufferSize) {
        received_ = false;
        reportCommunicationFailure("   Error #3");
        return false;
    }
    return readBlock(n);
}

ReplyLine Link::readUntilEof() {
    static constexpr std::string_view kEof = "\n\r#EOF;";
    ReplyLine block;
    received_ = false;
    long countedLines = 0;
    long announced = 0;
    double lastByte = clock_.elapsedSeconds();
    bool quiet = false;  // ended by Cancel
    while (port_.isOpen()) {
        if (port_.bytesWaiting() == 0) {
            if (clock_.elapsedSeconds() - lastByte >= link_limits::kSilenceLimit) break;
            if (cancelRequested()) {
                quiet = true;
                break;
            }
            pollPause();
            continue;
        }
        std::string got = port_.read(1);
        if (got.empty()) continue;
        const char b = got[0];
        std::string& text = block.text;
        if (b == kCR && startsWith(text, "#") && text.size() >= 2 && text[text.size() - 2] == ';') {
            // The count header "#<count>;" LF.
            if (auto n = wholeNumber(std::string_view(text).substr(1, text.size() - 3));
                n && *n >= 0 && text.size() > 3)
                announced = *n;
            text.clear();
            countedLines = 0;
            lastByte = clock_.elapsedSeconds();
            continue;
        }
        if (b == kCR) {
            ++countedLines;
            if (countedLines > 1 && announced != 0) {
                double share = 100.0 * static_cast<double>(countedLines - 1) / announced;
                int position = static_cast<int>(std::lround(std::clamp(share, 0.0, 100.0)));
                progress_.setSecondGauge(position, 100);
                clock_.processEvents();
            }
        }
        text += b;
        lastByte = clock_.elapsedSeconds();
        if (endsWith(text, kEof)) {
            block.ok = true;
            received_ = true;
            lastReply_ = text;
            return block;
        }
        if (text.size() > link_limits::kMaxCountedBlock) break;
        clock_.processEvents();
        if (cancelRequested()) {
            quiet = true;
            break;
        }
    }
    lastReply_ = block.text;
    if (!quiet) reportCommunicationFailure("   Error #4");
    return block;
}

ReplyLine Link::readUntilStatus(double limit) {
    const double start = clock_.elapsedSeconds();
    for (;;) {
        ReplyLine line = readReplyLine();
        if (isStatusLine(line.text)) {
            line.ok = true;
            return line;
        }
        if (!line.ok || cancelRequested() || clock_.elapsedSeconds() - start >= limit) {
            line.ok = false;
            return line;
        }
    }
}

bool Link::isStatusLine(std::string_view line) {
    return startsWith(line, "SER");
}

std::string Link::statusCode(std::string_view line) {
    if (!isStatusLine(line)) return {};
    std::string code(line.substr(3));
    while (!code.empty() && (code.back() == '\n' || code.back() == ' ')) code.pop_back();
    return code;
}

bool Link::statusSuccess(std::string_view line) {
    if (!isStatusLine(line)) return false;
    std::string code = statusCode(line);
    return code.empty() || code == "0";
}

bool Link::checkStatus(std::string_view line) {
    if (!isStatusLine(line)) return false;
    if (statusSuccess(line)) return true;
    prompts_.plainBox("", "Error: #" + statusCode(line));
    return false;
}

// --- cancel -------------------------------------------------------------------------

bool Link::cancelRequested() {
    // A press of the window's Cancel counts once: after clearCancel the same press is
    // not seen again until the window reports a fresh one.
    const bool pressed = progress_.cancelPressed();
    if (!pressed)
        pressConsumed_ = false;
    else if (!pressConsumed_)
        cancel_ = true;
    return cancel_;
}

void Link::clearCancel() {
    cancel_ = false;
    pressConsumed_ = progress_.cancelPressed();
}

// --- progress window ----------------------------------------------------------------

void Link::showProgress(const std::string& step, bool gaugeVisible, bool cancelVisible) {
    progress_.show(LangText("frmTransfering_35"));
    progress_.setSecondGaugeVisible(false);
    progress_.setGaugeVisible(gaugeVisible);
    progress_.setCancelVisible(cancelVisible);
    progress_.setStep(step);
    clock_.processEvents();
}

void Link::reportCommunicationFailure(std::string_view suffix) {
    if (!cancelRequested() && !quiet_)
        prompts_.error(LangText("msgCommunFail_35") + std::string(suffix));
    progress_.hide();
}

}  // namespace pelvoro
