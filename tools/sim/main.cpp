// pelvoro-sim: plays a tester on a pseudo terminal (or a given serial device) so that the
// program can be run and tested without hardware. See README.md.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "scenario.h"
#include "sim_model.h"
#include "tester.h"

using namespace pelvoro::sim;
using Clock = std::chrono::steady_clock;

namespace {

int gSignalPipe[2] = {-1, -1};

void onSignal(int) {
    char c = 1;
    ssize_t ignored = write(gSignalPipe[1], &c, 1);
    (void)ignored;
}

void usage(std::ostream& os) {
    os << "usage: pelvoro-sim --model KEY [--scenario FILE] [--device PATH] [--baud B]\n"
          "                   [--strict-baud] [--fault SPEC]... [--log FILE] [--trace]\n"
          "                   [--ignore-stdin]\n"
          "Plays a tester. Prints the device to open on the first line of its output, then\n"
          "answers until it is ended (SIGTERM, SIGINT, or its input closes).\n"
          "  --model KEY       the tester: "
       << testerModelKeys()
       << "\n"
          "  --scenario FILE   the tester's memory and behaviour (README.md)\n"
          "  --device PATH     use this device instead of a new pseudo terminal\n"
          "  --baud B          send no faster than B baud would (10 bits a byte)\n"
          "  --strict-baud     ignore what arrives unless the line is set to B baud\n"
          "  --fault SPEC      NAME[@COMMAND][#K][:VALUE]; NAME is silence, late, garbage,\n"
          "                    short, nocr, ser or pull\n"
          "  --log FILE        write the event log there instead of to the error output\n"
          "  --trace           also log every byte received and sent\n"
          "  --ignore-stdin    keep running when the input closes\n";
}

speed_t speedConstant(int baud) {
    switch (baud) {
        case 300:
            return B300;
        case 600:
            return B600;
        case 1200:
            return B1200;
        case 2400:
            return B2400;
        case 4800:
            return B4800;
        case 9600:
            return B9600;
        case 19200:
            return B19200;
        case 38400:
            return B38400;
        case 57600:
            return B57600;
        case 115200:
            return B115200;
        default:
            return B0;
    }
}

std::string hexDump(const char* data, size_t n) {
    std::string out;
    char buf[4];
    for (size_t i = 0; i < n; ++i) {
        std::snprintf(buf, sizeof buf, "%02X", static_cast<unsigned char>(data[i]));
        if (i) out += ' ';
        out += buf;
    }
    return out;
}

struct Pending {
    Clock::time_point due;
    std::string bytes;
    bool pullAfter = false;
};

}  // namespace

int main(int argc, char** argv) {
    std::string modelKey, scenarioPath, devicePath, logPath;
    std::vector<std::string> faultSpecs;
    int baud = -1;
    bool strictBaud = false, trace = false, ignoreStdin = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) {
                std::cerr << "pelvoro-sim: " << a << " needs a value\n";
                std::exit(2);
            }
            out = argv[++i];
        };
        std::string v;
        if (a == "--model")
            value(modelKey);
        else if (a == "--scenario")
            value(scenarioPath);
        else if (a == "--device")
            value(devicePath);
        else if (a == "--log")
            value(logPath);
        else if (a == "--fault")
            value(v), faultSpecs.push_back(v);
        else if (a == "--baud") {
            value(v);
            baud = std::atoi(v.c_str());
            if (baud <= 0) {
                std::cerr << "pelvoro-sim: --baud needs a positive number\n";
                return 2;
            }
        } else if (a == "--strict-baud")
            strictBaud = true;
        else if (a == "--trace")
            trace = true;
        else if (a == "--ignore-stdin")
            ignoreStdin = true;
        else if (a == "--help" || a == "-h") {
            usage(std::cout);
            return 0;
        } else {
            std::cerr << "pelvoro-sim: unknown argument " << a << "\n";
            usage(std::cerr);
            return 2;
        }
    }

    Scenario scenario;
    if (!scenarioPath.empty()) {
        std::ifstream in(scenarioPath, std::ios::binary);
        if (!in) {
            std::cerr << "pelvoro-sim: cannot read " << scenarioPath << ": " << std::strerror(errno)
                      << "\n";
            return 2;
        }
        std::stringstream text;
        text << in.rdbuf();
        std::string error;
        if (!parseScenario(text.str(), scenario, error)) {
            std::cerr << "pelvoro-sim: " << scenarioPath << ", " << error << "\n";
            return 2;
        }
    }
    for (const std::string& spec : faultSpecs) {
        std::string error;
        auto fault = parseFault(spec, error);
        if (!fault) {
            std::cerr << "pelvoro-sim: " << error << "\n";
            return 2;
        }
        scenario.faults.push_back(*fault);
    }
    if (modelKey.empty()) modelKey = scenario.model;
    const TesterModel* model = findTesterModel(modelKey);
    if (!model) {
        std::cerr << "pelvoro-sim: "
                  << (modelKey.empty() ? "no model given" : "unknown model " + modelKey)
                  << "; models: " << testerModelKeys() << "\n";
        return 2;
    }
    if (baud > 0) scenario.baud = baud;
    if (strictBaud) scenario.strictBaud = true;
    if (scenario.strictBaud && speedConstant(scenario.baud) == B0) {
        std::cerr << "pelvoro-sim: --strict-baud needs one of the standard rates with --baud\n";
        return 2;
    }

    // The event log.
    std::ofstream logFile;
    if (!logPath.empty()) {
        logFile.open(logPath, std::ios::app);
        if (!logFile) {
            std::cerr << "pelvoro-sim: cannot write " << logPath << "\n";
            return 2;
        }
    }
    std::ostream& logStream = logPath.empty() ? std::cerr : logFile;
    const Clock::time_point start = Clock::now();
    auto log = [&](const std::string& text) {
        double t = std::chrono::duration<double>(Clock::now() - start).count();
        char stamp[32];
        std::snprintf(stamp, sizeof stamp, "[%8.3f] ", t);
        logStream << stamp << text << std::endl;
    };

    // The line: a new pseudo terminal, or the device given.
    int lineFd = -1, slaveFd = -1;
    std::string announced;
    if (devicePath.empty()) {
        lineFd = posix_openpt(O_RDWR | O_NOCTTY);
        if (lineFd < 0 || grantpt(lineFd) != 0 || unlockpt(lineFd) != 0) {
            std::cerr << "pelvoro-sim: cannot create a pseudo terminal: " << std::strerror(errno)
                      << "\n";
            return 1;
        }
        const char* name = ptsname(lineFd);
        if (!name) {
            std::cerr << "pelvoro-sim: no name for the pseudo terminal\n";
            return 1;
        }
        announced = name;
        // Keeping the other side open ourselves means the line stays up while the program
        // has its port closed between commands (no hang-up, nothing lost).
        slaveFd = open(name, O_RDWR | O_NOCTTY);
        if (slaveFd < 0) {
            std::cerr << "pelvoro-sim: cannot open " << name << ": " << std::strerror(errno)
                      << "\n";
            return 1;
        }
        termios tio{};
        tcgetattr(slaveFd, &tio);
        cfmakeraw(&tio);
        tcsetattr(slaveFd, TCSANOW, &tio);
    } else {
        lineFd = open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (lineFd < 0) {
            std::cerr << "pelvoro-sim: cannot open " << devicePath << ": " << std::strerror(errno)
                      << "\n";
            return 1;
        }
        termios tio{};
        if (tcgetattr(lineFd, &tio) == 0) {
            cfmakeraw(&tio);
            tio.c_cflag |= CLOCAL | CREAD;
            speed_t s = speedConstant(scenario.baud);
            if (s != B0) {
                cfsetispeed(&tio, s);
                cfsetospeed(&tio, s);
            }
            tcsetattr(lineFd, TCSANOW, &tio);
        }
        announced = devicePath;
    }
    fcntl(lineFd, F_SETFL, fcntl(lineFd, F_GETFL) | O_NONBLOCK);

    if (pipe(gSignalPipe) != 0) return 1;
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGHUP, &sa, nullptr);
    signal(SIGPIPE, SIG_IGN);

    std::cout << announced << std::endl;
    log("playing " + std::string(model->key) + " on " + announced +
        (scenario.baud > 0 ? " at " + std::to_string(scenario.baud) + " baud" : ""));

    Tester tester(*model, scenario, log);
    std::deque<Pending> queue;
    Clock::time_point lastDue = Clock::now();
    Clock::time_point lineFree = Clock::now();  // when the last byte sent has left the line
    const auto byteTime = scenario.baud > 0
                              ? std::chrono::nanoseconds(10'000'000'000LL / scenario.baud)
                              : std::chrono::nanoseconds(0);
    const speed_t strictSpeed = speedConstant(scenario.baud);
    bool stdinOpen = !ignoreStdin;
    Clock::time_point lastRightRate = start - std::chrono::hours(1);
    bool lineUp = true;

    auto closeLine = [&]() {
        // Bytes already on the wire reach the other side before the plug comes out: give
        // the reader up to a second to take what is waiting (a hang-up discards it).
        if (slaveFd >= 0) {
            poll(nullptr, 0, 50);  // the bytes just written are still on their way
            for (int i = 0; i < 100; ++i) {
                int waiting = 0;
                if (ioctl(slaveFd, FIONREAD, &waiting) != 0 || waiting == 0) break;
                poll(nullptr, 0, 10);
            }
            close(slaveFd);
        } else {
            tcdrain(lineFd);
        }
        close(lineFd);
        slaveFd = lineFd = -1;
        lineUp = false;
    };

    for (;;) {
        Clock::time_point now = Clock::now();
        // Send what is due, no faster than the baud rate allows.
        while (lineUp && !queue.empty() && queue.front().due <= now) {
            Pending& p = queue.front();
            size_t allowed = p.bytes.size();
            // Throttled, byte k of a piece starts k byte times after the piece began (when
            // it was due, or when the line became free); a late wake-up catches up.
            Clock::time_point begin = std::max(p.due, lineFree);
            if (byteTime.count() > 0 && !p.bytes.empty()) {
                if (begin > now) break;
                allowed = std::min(size_t((now - begin) / byteTime) + 1, p.bytes.size());
            }
            ssize_t written = allowed ? write(lineFd, p.bytes.data(), allowed) : 0;
            if (written < 0) {
                if (errno == EAGAIN || errno == EINTR) break;
                log(std::string("write failed: ") + std::strerror(errno));
                queue.clear();
                break;
            }
            if (trace && written > 0) log("tx " + hexDump(p.bytes.data(), size_t(written)));
            if (byteTime.count() > 0) lineFree = begin + byteTime * written;
            p.bytes.erase(0, size_t(written));
            if (!p.bytes.empty()) break;
            bool pull = p.pullAfter;
            queue.pop_front();
            if (pull) {
                log("cable pulled: the line is closed");
                closeLine();
                queue.clear();
            }
        }
        if (!lineUp) {
            // Nothing more to play; leave like a tester whose cable is gone.
            return 0;
        }

        // With a fixed rate, watch the line's setting closely: the program may close its
        // port (which restores the old setting) right after sending its last bytes, before
        // they are read here. Bytes count as sent at the right rate when the line was set
        // to it a moment ago.
        if (scenario.strictBaud) {
            termios tio{};
            int fd = slaveFd >= 0 ? slaveFd : lineFd;
            if (tcgetattr(fd, &tio) == 0 && cfgetospeed(&tio) == strictSpeed) lastRightRate = now;
        }
        int timeoutMs = scenario.strictBaud ? 5 : 200;
        if (!queue.empty()) {
            Clock::time_point next = std::max(queue.front().due, lineFree);
            auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(next - now).count();
            timeoutMs = int(std::clamp<long long>(wait, 0, timeoutMs));
            if (timeoutMs == 0 && next > now) timeoutMs = 1;
        }
        pollfd fds[3] = {{gSignalPipe[0], POLLIN, 0}, {lineFd, POLLIN, 0}, {0, POLLIN, 0}};
        int nfds = stdinOpen ? 3 : 2;
        if (poll(fds, nfds, timeoutMs) < 0) {
            if (errno == EINTR) continue;
            log(std::string("poll failed: ") + std::strerror(errno));
            return 1;
        }
        if (fds[0].revents) {
            log("ended by a signal");
            return 0;
        }
        if (stdinOpen && fds[2].revents) {
            char buf[256];
            ssize_t n = read(0, buf, sizeof buf);
            if (n <= 0) {
                log("input closed; ending");
                return 0;
            }
        }
        if (fds[1].revents & POLLIN) {
            char buf[4096];
            ssize_t n = read(lineFd, buf, sizeof buf);
            if (n > 0) {
                if (trace) log("rx " + hexDump(buf, size_t(n)));
                if (scenario.strictBaud) {
                    termios tio{};
                    int fd = slaveFd >= 0 ? slaveFd : lineFd;
                    bool rightNow = tcgetattr(fd, &tio) == 0 && cfgetospeed(&tio) == strictSpeed;
                    if (!rightNow &&
                        Clock::now() - lastRightRate > std::chrono::milliseconds(100)) {
                        log(std::to_string(n) + " bytes at a wrong baud rate; not understood");
                        continue;
                    }
                }
                Clock::time_point base = std::max(Clock::now(), lastDue);
                for (Chunk& c : tester.feed(std::string(buf, size_t(n)))) {
                    base += std::chrono::milliseconds(c.delayMs);
                    queue.push_back({base, std::move(c.bytes), c.pullAfter});
                    lastDue = base;
                }
            }
        } else if (fds[1].revents & (POLLHUP | POLLERR)) {
            // The other side is closed (a device given with --device); wait for it.
            poll(nullptr, 0, 50);
        }
    }
}
