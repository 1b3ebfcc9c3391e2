#pragma once
// The system's serial port through QSerialPort.
//
// Port numbers 1 .. 16 name devices as follows:
//   1. the environment variable PELVORO_PORT_<n> (for example PELVORO_PORT_1=/dev/pts/7),
//      so that a USB adapter or the simulator's pty can be chosen for a run;
//   2. the setting "PortDevice<n>" (a device path), so that the choice can be kept;
//   3. on Windows \\.\COM<n>;
//   4. elsewhere the serial devices the system lists, USB adapters first (ttyUSB*, then
//      ttyACM*), then the others, each group in natural name order: port 1 is the first.
// A port with no device cannot be opened; the failure says how to assign one.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/settings_store.h"
#include "instrument/serial_port.h"

class QSerialPort;

namespace pelvoro {

class QtSerialPort : public SerialPort {
  public:
    explicit QtSerialPort(const SettingsStore* settings = nullptr);
    ~QtSerialPort() override;

    void setPortNumber(int number) override { portNumber_ = number; }
    int portNumber() const override { return portNumber_; }
    void setBaudRate(int baud) override;
    int baudRate() const override { return baud_; }
    bool open() override;
    void close() override;
    bool isOpen() const override;
    std::string openFailure() const override { return openFailure_; }
    void write(std::string_view bytes) override;
    std::size_t bytesWaiting() override;
    std::string read(std::size_t n) override;
    std::string readAll() override;
    void purgeInput() override;
    void purgeAll() override;
    std::string deviceName(int number) const override;

    // Told about things that do not stop the port but support may want to know (the
    // line signals cannot be set on a pty).
    std::function<void(const std::string&)> onWarning;

    // The serial devices of this machine in port order (rule 4 above).
    static std::vector<std::string> systemDevices();
    // Rule 4 applied to a list of device paths.
    static std::vector<std::string> orderDevices(std::vector<std::string> devices);

  private:
    std::string explainFailure(const std::string& device) const;

    const SettingsStore* settings_;
    std::unique_ptr<QSerialPort> port_;
    int portNumber_ = 1;
    int baud_ = 115200;
    std::string openFailure_;
};

// Where the wire log goes: PELVORO_WIRE_LOG when set, otherwise "Tamvisto/wire.log" in
// the user's data folder (~/.local/share, %LOCALAPPDATA%).
std::string wireLogPath();

// The port the programs use: the system port, logged to the wire log.
std::unique_ptr<SerialPort> makeSystemSerialPort(const SettingsStore* settings);

}  // namespace pelvoro
