#pragma once
// What the link follows for one protocol family: the ready handshake, the goodbye that
// ends a connection, and how the echo of a command is recognised. Each family writes its
// rules in its own folder (src/protocols/family_*/*_link_rules.h); the link itself knows no
// family. A default FamilyLinkRules is no family at all: nothing is sent, no reply is
// ready, and no goodbye is said.

#include <cstddef>
#include <span>
#include <string_view>

namespace pelvoro {

// Where the length field of an echo stands.
enum class EchoLength {
    None,
    Byte3,          // byte 3
    Bytes3And4,     // bytes 3 and 4, high byte first
    Bytes4And5,     // bytes 4 and 5, high byte first
    CountLowFirst,  // byte 2 + 256 * byte 3; the last byte may never come (a tester that sends
                    // three bytes): it is waited for a few byte times, and counts 0 without
};

// How the echo of one command is recognised.
struct EchoRule {
    std::size_t bytes = 1;  // the echo is looked at once this many bytes have come
    EchoLength length = EchoLength::None;
    std::size_t compared = 1;  // leading bytes compared with the expected echo
    // The command moves the tester on to its next record: it is sent once and its echo
    // awaited for the whole echo limit (a second send would make a late tester skip one).
    bool advances = false;
};

// A command whose echo differs from the family's usual one.
struct CommandEcho {
    std::string_view command;
    EchoRule rule;
};

struct FamilyLinkRules {
    // The handshake probe, sent at the start of each reply window; empty: nothing is sent
    // and the handshake gives up after one window.
    std::string_view probe;
    // How the ready reply comes: as CR-ended lines, or as raw bytes looked at once
    // `readyBytes` of them have come.
    bool readyAsLines = false;
    std::size_t readyBytes = 1;
    // The ready reply begins with this; empty: no reply is ready.
    std::string_view readyPrefix;
    // Lines only: a line beginning with this says the tester is busy and restarts the
    // reply window (up to the busy limit). Empty: no busy lines.
    std::string_view busyPrefix;
    // Sent by endConnection while the port is open; empty: nothing.
    std::string_view goodbye;
    // The echoes of the family's commands: the listed ones, and the usual one for the rest.
    std::span<const CommandEcho> echoes;
    EchoRule usualEcho;

    // The wait for the ready reply: the tester's time to answer, and on top the line time
    // of the probe and of what is awaited (the bytes of the ready reply; of a line, its first
    // byte: a line's wait goes on while it comes). A family B ready reply alone takes 0.17 s
    // at 300 baud, which a tester answering within its time must not lose to a second probe.
    double readyWindow(double answerTime, int baud) const;

    // Whether a handshake reply (a line, or the bytes taken) says the tester is ready.
    constexpr bool isReady(std::string_view reply) const {
        return !readyPrefix.empty() && reply.starts_with(readyPrefix);
    }
    // Whether a handshake reply line says the tester is busy.
    constexpr bool isBusy(std::string_view line) const {
        return !busyPrefix.empty() && line.starts_with(busyPrefix);
    }

    constexpr EchoRule echoOf(std::string_view command) const {
        for (const CommandEcho& e : echoes)
            if (e.command == command) return e.rule;
        return usualEcho;
    }
};

}  // namespace pelvoro
