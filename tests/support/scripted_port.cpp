#include "support/scripted_port.h"

namespace pelvoro::testing {

ScriptedPort& ScriptedPort::on(std::string request, std::vector<Reply> replies, bool repeatLast) {
    rules_.push_back({std::move(request), std::move(replies), repeatLast, 0});
    return *this;
}

ScriptedPort& ScriptedPort::on(std::string request, std::string reply, double delay,
                               double perByte) {
    return on(std::move(request), {Reply{std::move(reply), delay, perByte}}, true);
}

void ScriptedPort::arrive(std::string_view bytes, double at, double perByte) {
    for (std::size_t i = 0; i < bytes.size(); ++i)
        incoming_.emplace(at + perByte * static_cast<double>(i), bytes[i]);
}

bool ScriptedPort::open() {
    ++opens;
    if (failOpen) {
        openFailure_ = failReason;
        return false;
    }
    openFailure_.clear();
    open_ = true;
    return true;
}

void ScriptedPort::close() {
    if (open_) ++closes;
    open_ = false;
    incoming_.clear();
}

void ScriptedPort::write(std::string_view bytes) {
    writes.emplace_back(bytes);
    if (!open_) {
        ++writesWhileClosed;
        return;
    }
    const double now = clock_.elapsedSeconds();
    for (Rule& rule : rules_) {
        if (rule.request != bytes || rule.replies.empty()) continue;
        if (rule.next >= rule.replies.size()) {
            if (!rule.repeatLast) break;
            rule.next = rule.replies.size() - 1;
        }
        const Reply& r = rule.replies[rule.next++];
        arrive(r.bytes, now + r.delay, r.perByte);
        break;
    }
    if (onWrite) onWrite(bytes);
}

std::size_t ScriptedPort::bytesWaiting() {
    if (!open_) return 0;
    const double now = clock_.elapsedSeconds();
    std::size_t n = 0;
    for (auto it = incoming_.begin(); it != incoming_.end() && it->first <= now; ++it) ++n;
    return n;
}

std::string ScriptedPort::read(std::size_t n) {
    std::string out;
    if (!open_) return out;
    const double now = clock_.elapsedSeconds();
    while (out.size() < n && !incoming_.empty() && incoming_.begin()->first <= now) {
        out += incoming_.begin()->second;
        incoming_.erase(incoming_.begin());
    }
    return out;
}

void ScriptedPort::purgeInput() {
    ++purges;
    const double now = clock_.elapsedSeconds();
    while (!incoming_.empty() && incoming_.begin()->first <= now)
        incoming_.erase(incoming_.begin());
}

int ScriptedPort::count(std::string_view request) const {
    int n = 0;
    for (const auto& w : writes) n += w == request;
    return n;
}

std::string ScriptedPort::written() const {
    std::string all;
    for (const auto& w : writes) all += w;
    return all;
}

}  // namespace pelvoro::testing
