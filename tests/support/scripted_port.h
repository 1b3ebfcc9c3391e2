#pragma once
// An in-memory serial port for the link tests: replies are scripted by request and
// arrive at times of the link clock (the VirtualClock), so time-outs of seconds run
// instantly.

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "common/link_clock.h"
#include "instrument/serial_port.h"

namespace pelvoro::testing {

class ScriptedPort : public SerialPort {
  public:
    struct Reply {
        std::string bytes;
        double delay = 0;    // seconds after the request until the first byte
        double perByte = 0;  // seconds between two bytes
    };

    explicit ScriptedPort(LinkClock& clock) : clock_(clock) {}

    // Each write equal to `request` queues the next reply of the list; after the last
    // one the last repeats (or, with repeatLast false, nothing more comes).
    ScriptedPort& on(std::string request, std::vector<Reply> replies, bool repeatLast = true);
    ScriptedPort& on(std::string request, std::string reply, double delay = 0, double perByte = 0);
    // Bytes that arrive at a clock time whatever is written (only while open).
    void arrive(std::string_view bytes, double at, double perByte = 0);
    // Called with every write, after the scripted replies are queued.
    std::function<void(std::string_view)> onWrite;

    // SerialPort
    void setPortNumber(int number) override { portNumber_ = number; }
    int portNumber() const override { return portNumber_; }
    void setBaudRate(int baud) override { baud_ = baud; }
    int baudRate() const override { return baud_; }
    bool open() override;
    void close() override;
    bool isOpen() const override { return open_; }
    std::string openFailure() const override { return openFailure_; }
    void write(std::string_view bytes) override;
    std::size_t bytesWaiting() override;
    std::string read(std::size_t n) override;
    std::string readAll() override { return read(bytesWaiting()); }
    void purgeInput() override;
    void purgeAll() override { purgeInput(); }

    // Open behaviour.
    bool failOpen = false;
    // Whether close drops the bytes still to come (a reopened port hears nothing said
    // before); a tester side scripted all at once keeps talking across a reopen.
    bool clearOnClose = true;
    std::string failReason;

    // What happened.
    std::vector<std::string> writes;  // every write, in order (also while closed)
    int opens = 0, closes = 0, purges = 0;
    int writesWhileClosed = 0;
    int count(std::string_view request) const;
    std::string written() const;  // all writes concatenated
    std::size_t pending() const { return incoming_.size() + arrived_.size() - taken_; }

  private:
    struct Rule {
        std::string request;
        std::vector<Reply> replies;
        bool repeatLast = true;
        std::size_t next = 0;
    };
    LinkClock& clock_;
    std::vector<Rule> rules_;
    // Moves the bytes whose time has come from incoming_ to arrived_.
    void collect();
    std::multimap<double, char> incoming_;  // arrival time -> byte, in order
    std::string arrived_;                   // arrived, read up to taken_
    std::size_t taken_ = 0;
    int portNumber_ = 1;
    int baud_ = 115200;
    bool open_ = false;
    std::string openFailure_;
};

}  // namespace pelvoro::testing
