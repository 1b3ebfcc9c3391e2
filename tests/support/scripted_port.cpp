#include "support/scripted_port.h"

#include <algorithm>

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
    if (!clearOnClose) return;
    incoming_.clear();
    arrived_.clear();
    taken_ = 0;
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

void ScriptedPort::collect() {
    const double now = clock_.elapsedSeconds();
    while (!incoming_.empty() && incoming_.begin()->first <= now) {
        arrived_ += incoming_.begin()->second;
        incoming_.erase(incoming_.begin());
    }
    if (taken_ > 4096 && taken_ * 2 > arrived_.size()) {
        arrived_.erase(0, taken_);
        taken_ = 0;
    }
}

std::size_t ScriptedPort::bytesWaiting() {
    if (!open_) return 0;
    collect();
    return arrived_.size() - taken_;
}

std::string ScriptedPort::read(std::size_t n) {
    if (!open_) return {};
    collect();
    n = std::min(n, arrived_.size() - taken_);
    std::string out = arrived_.substr(taken_, n);
    taken_ += n;
    return out;
}

void ScriptedPort::purgeInput() {
    ++purges;
    collect();
    arrived_.clear();
    taken_ = 0;
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
