#pragma once
// Helpers of the end-to-end tests: start the tester simulator on a pseudo terminal, talk to
// it over the line with plain POSIX calls, and run the command-line program against it.
// Every process started here is ended by its owner's destructor.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace pelvoro::e2e {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

inline std::string binPath(const std::string& program) {
    if (!program.empty() && program[0] == '/') return program;  // an installed program
    return std::string(PELVORO_BIN_DIR) + "/" + program;
}

inline std::string scenarioPath(const std::string& name) {
    return std::string(PELVORO_SOURCE_DATA_DIR) + "/../tools/sim/scenarios/" + name;
}

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The English text of a translation key, as the programs show it.
inline std::string englishText(const std::string& key) {
    std::istringstream in(readFile(std::string(PELVORO_SOURCE_DATA_DIR) + "/English.ini"));
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.compare(0, key.size() + 1, key + "=") == 0) return line.substr(key.size() + 1);
    }
    return "**";
}

// Waits up to `limit` for a child to end; true with its status when it did.
inline bool waitForExit(pid_t pid, milliseconds limit, int& status) {
    Clock::time_point end = Clock::now() + limit;
    for (;;) {
        pid_t r = waitpid(pid, &status, WNOHANG);
        if (r == pid) return true;
        if (r < 0 || Clock::now() >= end) return false;
        std::this_thread::sleep_for(milliseconds(10));
    }
}

// A running pelvoro-sim. Its input is a pipe held here (closing it ends the simulator), its
// event log goes to a file, and the first line of its output is the device to open.
class Simulator {
  public:
    explicit Simulator(std::vector<std::string> args) {
        char logTemplate[] = "/tmp/pelvoro-sim-log-XXXXXX";
        int logFd = mkstemp(logTemplate);
        logPath_ = logTemplate;
        int in[2], out[2];
        if (logFd < 0 || pipe(in) != 0 || pipe(out) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(in[0], 0);
            dup2(out[1], 1);
            dup2(logFd, 2);
            close(in[1]);
            close(out[0]);
            std::vector<std::string> all = {binPath("pelvoro-sim")};
            all.insert(all.end(), args.begin(), args.end());
            std::vector<char*> argv;
            for (std::string& a : all) argv.push_back(a.data());
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        close(logFd);
        close(in[0]);
        close(out[1]);
        input_ = in[1];
        output_ = out[0];
        // The device comes on the first line; give the simulator a few seconds.
        Clock::time_point end = Clock::now() + milliseconds(5000);
        std::string line;
        while (Clock::now() < end) {
            pollfd p{output_, POLLIN, 0};
            if (poll(&p, 1, 50) <= 0) continue;
            char c;
            if (read(output_, &c, 1) != 1) break;
            if (c == '\n') {
                device_ = line;
                break;
            }
            line += c;
        }
    }
    ~Simulator() {
        stop();
        std::remove(logPath_.c_str());
    }
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    const std::string& device() const { return device_; }
    pid_t pid() const { return pid_; }
    std::string log() const { return readFile(logPath_); }
    // True when `text` appears in the event log within `limit` (the simulator logs what
    // it has received a moment after the bytes left the program).
    bool logShows(const std::string& text, milliseconds limit = milliseconds(2000)) const {
        Clock::time_point end = Clock::now() + limit;
        for (;;) {
            if (log().find(text) != std::string::npos) return true;
            if (Clock::now() >= end) return false;
            std::this_thread::sleep_for(milliseconds(20));
        }
    }

    // Closes the simulator's input; true when it then ended by itself within `limit`.
    bool closeInputAndWait(milliseconds limit = milliseconds(3000)) {
        if (input_ >= 0) close(input_);
        input_ = -1;
        return reap(limit);
    }
    bool signalAndWait(int sig, milliseconds limit = milliseconds(3000)) {
        if (pid_ > 0) kill(pid_, sig);
        return reap(limit);
    }
    // True when the simulator has ended by itself (for example after a pulled cable).
    bool endedWithin(milliseconds limit) { return reap(limit); }
    int exitStatus() const { return status_; }

    void stop() {
        if (input_ >= 0) close(input_);
        input_ = -1;
        if (pid_ > 0 && !reap(milliseconds(2000))) {
            kill(pid_, SIGKILL);
            waitpid(pid_, &status_, 0);
            pid_ = -1;
        }
        if (output_ >= 0) close(output_);
        output_ = -1;
    }

  private:
    bool reap(milliseconds limit) {
        if (pid_ <= 0) return true;
        if (!waitForExit(pid_, limit, status_)) return false;
        pid_ = -1;
        return true;
    }

    pid_t pid_ = -1;
    int input_ = -1, output_ = -1;
    int status_ = -1;
    std::string device_, logPath_;
};

// The program's side of the line, opened raw like the program's serial port.
class Line {
  public:
    explicit Line(const std::string& device, speed_t speed = B4800) {
        fd_ = open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (fd_ < 0) return;
        termios tio{};
        tcgetattr(fd_, &tio);
        cfmakeraw(&tio);
        cfsetispeed(&tio, speed);
        cfsetospeed(&tio, speed);
        tcsetattr(fd_, TCSANOW, &tio);
    }
    ~Line() {
        if (fd_ >= 0) close(fd_);
    }
    Line(const Line&) = delete;
    Line& operator=(const Line&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    void setSpeed(speed_t speed) {
        termios tio{};
        tcgetattr(fd_, &tio);
        cfsetispeed(&tio, speed);
        cfsetospeed(&tio, speed);
        tcsetattr(fd_, TCSANOW, &tio);
    }
    void send(const std::string& bytes) {
        size_t done = 0;
        while (done < bytes.size()) {
            ssize_t n = write(fd_, bytes.data() + done, bytes.size() - done);
            if (n > 0)
                done += size_t(n);
            else
                std::this_thread::sleep_for(milliseconds(1));
        }
    }
    // The next `n` bytes (fewer when `limit` passes first).
    std::string readBytes(size_t n, milliseconds limit = milliseconds(2000)) {
        return take([&](const std::string& got) { return got.size() >= n ? n : kMore; }, limit);
    }
    // The bytes up to and including the first `suffix`.
    std::string readUntil(const std::string& suffix, milliseconds limit = milliseconds(2000)) {
        return take(
            [&](const std::string& got) {
                size_t pos = got.find(suffix);
                return pos == std::string::npos ? kMore : pos + suffix.size();
            },
            limit);
    }
    // Everything that arrives within `limit`.
    std::string readFor(milliseconds limit) {
        return take([](const std::string&) { return kMore; }, limit);
    }
    // Sends and reads the reply up to and including its "SER" status line.
    std::string ask(const std::string& command, milliseconds limit = milliseconds(2000)) {
        send(command);
        return take(
            [](const std::string& got) {
                for (size_t pos = got.find("SER"); pos != std::string::npos;
                     pos = got.find("SER", pos + 1)) {
                    size_t cr = got.find('\r', pos);
                    if ((pos == 0 || got[pos - 1] == '\r') && cr != std::string::npos)
                        return cr + 1;
                }
                return kMore;
            },
            limit);
    }
    // True when the line has gone (the other side closed): a read gives an error or EOF.
    bool hungUp(milliseconds limit = milliseconds(2000)) {
        Clock::time_point end = Clock::now() + limit;
        while (Clock::now() < end) {
            pollfd p{fd_, POLLIN, 0};
            poll(&p, 1, 20);
            if (p.revents & (POLLHUP | POLLERR)) return true;
            if (p.revents & POLLIN) {
                char buf[256];
                ssize_t n = read(fd_, buf, sizeof buf);
                if (n == 0 || (n < 0 && errno != EAGAIN)) return true;
            }
        }
        return false;
    }

  private:
    static constexpr size_t kMore = std::string::npos;

    // `complete` tells how many of the bytes received so far form the answer (kMore while
    // it is incomplete); bytes beyond the answer stay for the next read.
    template <typename Complete>
    std::string take(Complete complete, milliseconds limit) {
        Clock::time_point end = Clock::now() + limit;
        for (;;) {
            size_t n = complete(buffer_);
            if (n != kMore || Clock::now() >= end) {
                if (n == kMore) n = buffer_.size();
                std::string answer = buffer_.substr(0, n);
                buffer_.erase(0, n);
                return answer;
            }
            pollfd p{fd_, POLLIN, 0};
            if (poll(&p, 1, 10) <= 0 || !(p.revents & POLLIN)) continue;
            char buf[512];
            ssize_t got = read(fd_, buf, sizeof buf);
            if (got > 0) buffer_.append(buf, size_t(got));
        }
    }

    std::string buffer_;
    int fd_ = -1;
};

struct RunResult {
    int exitCode = -1;  // -1 when killed or ended by a signal
    bool timedOut = false;
    std::string out, err;
    double seconds = 0;
};

// Runs a program to its end (killed after `limit`), with its outputs captured.
// `environment` holds NAME=VALUE settings added for the program.
inline RunResult runProgram(const std::string& program, const std::vector<std::string>& args,
                            milliseconds limit = milliseconds(30000),
                            const std::vector<std::string>& environment = {}) {
    RunResult result;
    char outName[] = "/tmp/pelvoro-e2e-out-XXXXXX";
    char errName[] = "/tmp/pelvoro-e2e-err-XXXXXX";
    int outFd = mkstemp(outName), errFd = mkstemp(errName);
    Clock::time_point start = Clock::now();
    pid_t pid = fork();
    if (pid == 0) {
        int devnull = open("/dev/null", O_RDONLY);
        dup2(devnull, 0);
        dup2(outFd, 1);
        dup2(errFd, 2);
        for (const std::string& e : environment) {
            size_t eq = e.find('=');
            setenv(e.substr(0, eq).c_str(), e.substr(eq + 1).c_str(), 1);
        }
        std::vector<std::string> all = {binPath(program)};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& a : all) argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    if (!waitForExit(pid, limit, status)) {
        result.timedOut = true;
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }
    result.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (!result.timedOut && WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    close(outFd);
    close(errFd);
    result.out = readFile(outName);
    result.err = readFile(errName);
    std::remove(outName);
    std::remove(errName);
    return result;
}

// A program started in the background (several can run side by side, a test can signal
// one while it runs); ended with SIGKILL by the destructor if it is still running.
class BackgroundRun {
  public:
    BackgroundRun(const std::string& program, const std::vector<std::string>& args,
                  const std::vector<std::string>& environment = {}) {
        char outName[] = "/tmp/pelvoro-e2e-out-XXXXXX";
        char errName[] = "/tmp/pelvoro-e2e-err-XXXXXX";
        int outFd = mkstemp(outName), errFd = mkstemp(errName);
        outPath_ = outName;
        errPath_ = errName;
        start_ = Clock::now();
        pid_ = fork();
        if (pid_ == 0) {
            int devnull = open("/dev/null", O_RDONLY);
            dup2(devnull, 0);
            dup2(outFd, 1);
            dup2(errFd, 2);
            for (const std::string& e : environment) {
                size_t eq = e.find('=');
                setenv(e.substr(0, eq).c_str(), e.substr(eq + 1).c_str(), 1);
            }
            std::vector<std::string> all = {binPath(program)};
            all.insert(all.end(), args.begin(), args.end());
            std::vector<char*> argv;
            for (std::string& a : all) argv.push_back(a.data());
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        close(outFd);
        close(errFd);
    }
    ~BackgroundRun() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        std::remove(outPath_.c_str());
        std::remove(errPath_.c_str());
    }
    BackgroundRun(const BackgroundRun&) = delete;
    BackgroundRun& operator=(const BackgroundRun&) = delete;

    pid_t pid() const { return pid_; }
    void signal(int sig) {
        if (pid_ > 0) kill(pid_, sig);
    }
    // Waits for the end (killed after `limit`); the outputs and the exit code.
    RunResult wait(milliseconds limit) {
        RunResult result;
        int status = 0;
        if (pid_ > 0 && !waitForExit(pid_, limit, status)) {
            result.timedOut = true;
            kill(pid_, SIGKILL);
            waitpid(pid_, &status, 0);
        }
        pid_ = -1;
        result.seconds = std::chrono::duration<double>(Clock::now() - start_).count();
        if (!result.timedOut && WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
        result.out = readFile(outPath_);
        result.err = readFile(errPath_);
        return result;
    }

  private:
    pid_t pid_ = -1;
    std::string outPath_, errPath_;
    Clock::time_point start_;
};

// True when the command-line program offers `command`.
inline bool cliHasCommand(const std::string& command) {
    RunResult help = runProgram("pelvoro-cli", {"--help"}, milliseconds(10000));
    return help.out.find("  " + command + " ") != std::string::npos;
}

}  // namespace pelvoro::e2e
