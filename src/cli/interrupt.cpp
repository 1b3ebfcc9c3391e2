#include "cli/interrupt.h"

#include <signal.h>

namespace pelvoro::cli {

namespace {

volatile sig_atomic_t gInterrupted = 0;
struct sigaction gOldInt {
}, gOldTerm{};

void onInterrupt(int sig) {
    gInterrupted = 1;
    // The next one is not caught: a program that does not end in time can still be ended.
    signal(sig, SIG_DFL);
}

}  // namespace

InterruptAsCancel::InterruptAsCancel() {
    gInterrupted = 0;
    struct sigaction sa {};
    sa.sa_handler = onInterrupt;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, &gOldInt);
    sigaction(SIGTERM, &sa, &gOldTerm);
}

InterruptAsCancel::~InterruptAsCancel() {
    sigaction(SIGINT, &gOldInt, nullptr);
    sigaction(SIGTERM, &gOldTerm, nullptr);
}

bool InterruptAsCancel::pending() {
    return gInterrupted != 0;
}

}  // namespace pelvoro::cli
