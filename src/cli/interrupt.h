#pragma once
// Ctrl+C (SIGINT) and SIGTERM while pelvoro-cli talks to a tester: the exchange ends as
// the progress window's Cancel ends it (the protocol's end command, the port closed, the
// temporary file removed) instead of leaving the tester mid-exchange. While an
// InterruptAsCancel lives, the signals only set a flag that the command's progress window
// reports as a Cancel press; a second signal ends the program at once.

namespace pelvoro::cli {

// Exit status of a command ended by SIGINT or SIGTERM (128 + SIGINT, as shells report).
inline constexpr int kInterruptedExit = 130;

class InterruptAsCancel {
  public:
    InterruptAsCancel();
    ~InterruptAsCancel();
    InterruptAsCancel(const InterruptAsCancel&) = delete;
    InterruptAsCancel& operator=(const InterruptAsCancel&) = delete;

    // True once SIGINT or SIGTERM arrived.
    static bool pending();
};

}  // namespace pelvoro::cli
