#pragma once
// The serial port a tester is connected to. Ports are numbered 1 to 16 as in the port
// dialog; which device a number names is the platform's business (see the Qt adapter).
// Bytes go in and out unchanged; waiting is done by polling bytesWaiting().

#include <cstddef>
#include <string>
#include <string_view>

namespace pelvoro {

class SerialPort {
  public:
    virtual ~SerialPort() = default;

    // The port that open() opens, 1 .. 16. Takes effect at the next open.
    virtual void setPortNumber(int number) = 0;
    virtual int portNumber() const = 0;
    // Applies at once when the port is open, otherwise at the next open.
    virtual void setBaudRate(int baud) = 0;
    virtual int baudRate() const = 0;

    // Opens the port with 8 data bits, no parity, 1 stop bit, DTR on, RTS off and no
    // flow control. False when it cannot be opened; openFailure() then tells why.
    virtual bool open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Why the last open failed, in plain words ("" when it did not fail or the system
    // gave no reason).
    virtual std::string openFailure() const = 0;

    virtual void write(std::string_view bytes) = 0;
    // Bytes received and not yet read.
    virtual std::size_t bytesWaiting() = 0;
    // At most n bytes, fewer when fewer are waiting.
    virtual std::string read(std::size_t n) = 0;
    virtual std::string readAll() = 0;
    // Drops the bytes received and not yet read.
    virtual void purgeInput() = 0;
    // Drops the received bytes and those still waiting to be sent.
    virtual void purgeAll() = 0;

    // The device behind port `number`, shown beside the port in the port dialog; empty
    // when the platform has none for it.
    virtual std::string deviceName(int number) const {
        (void)number;
        return {};
    }
};

}  // namespace pelvoro
