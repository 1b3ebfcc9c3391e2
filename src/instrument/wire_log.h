#pragma once
// The wire log: every byte sent to and received from a tester, with time stamps, in hex
// and as printable text, written as it happens. Support asks users for this file when
// a transfer goes wrong. The file is kept small: past its size limit it is renamed to
// "<name>.1" (replacing the older one) and a fresh file is begun.
//
//   2026-12-09 10:15:02.431 open port 3 (/dev/ttyUSB0) at 4800 baud
//   2026-12-09 10:15:02.640 >  4D 52 44 0D                                      |MRD.|
//   2026-12-09 10:15:02.702 <  53 45 52 30 0D                                   |SER0.|

#include <chrono>
#include <cstddef>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "instrument/serial_port.h"

namespace pelvoro {

class WireLog {
  public:
    static constexpr std::size_t kDefaultMaxBytes = 2 * 1024 * 1024;

    explicit WireLog(std::string path, std::size_t maxBytes = kDefaultMaxBytes);
    const std::string& path() const { return path_; }
    bool isOpen() const { return out_.is_open(); }

    void sent(std::string_view bytes) { bytesLine('>', bytes, {}); }
    // `stamp`: when the first of the bytes came (empty: now).
    void received(std::string_view bytes, const std::string& stamp = {}) {
        bytesLine('<', bytes, stamp);
    }
    // A line of plain text (port opened, closed, purged, warnings).
    void note(std::string_view text);

    // The time stamp of each line; local time with milliseconds unless replaced.
    std::function<std::string()> timeStamp;

    // "4D 52 44 0D ... |MRD.|": 16 bytes per line, bytes outside 0x20..0x7E as ".".
    static std::string hexLine(std::string_view bytes);

  private:
    void bytesLine(char direction, std::string_view bytes, const std::string& stamp);
    void writeLine(const std::string& line);
    void open();

    std::string path_;
    std::size_t maxBytes_;
    std::size_t size_ = 0;
    std::ofstream out_;
};

// A serial port that writes everything that passes through it to a wire log. Received
// bytes are gathered into lines of up to 16 bytes; a line is written when it is full,
// when anything else happens on the port, or a fraction of a second after its first
// byte, so that reading a reply byte by byte does not give a line per byte. Bytes that
// a purge drops are logged too.
class LoggedSerialPort : public SerialPort {
  public:
    LoggedSerialPort(std::unique_ptr<SerialPort> inner, std::shared_ptr<WireLog> log);
    ~LoggedSerialPort() override;

    SerialPort& inner() { return *inner_; }
    WireLog& log() { return *log_; }

    void setPortNumber(int number) override { inner_->setPortNumber(number); }
    int portNumber() const override { return inner_->portNumber(); }
    void setBaudRate(int baud) override;
    int baudRate() const override { return inner_->baudRate(); }
    bool open() override;
    void close() override;
    bool isOpen() const override { return inner_->isOpen(); }
    std::string openFailure() const override { return inner_->openFailure(); }
    void write(std::string_view bytes) override;
    std::size_t bytesWaiting() override;
    std::string read(std::size_t n) override;
    std::string readAll() override;
    void purgeInput() override;
    void purgeAll() override;
    std::string deviceName(int number) const override { return inner_->deviceName(number); }

    // Writes the gathered received bytes now.
    void flushReceived();

  private:
    void gather(const std::string& bytes);
    // Logs what is waiting in the input before a purge throws it away.
    void logDropped();
    void flushIfOld();
    std::string portText() const;

    std::unique_ptr<SerialPort> inner_;
    std::shared_ptr<WireLog> log_;
    std::string pending_;
    std::chrono::steady_clock::time_point pendingSince_;
    std::string pendingStamp_;  // log time stamp of the first pending byte
};

}  // namespace pelvoro
