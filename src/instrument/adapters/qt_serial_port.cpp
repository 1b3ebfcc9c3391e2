#include "instrument/adapters/qt_serial_port.h"

#include <QDir>
#include <QSerialPort>
#include <QSerialPortInfo>
#include <QStandardPaths>
#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "common/identity.h"
#include "common/adapters/qt_text.h"
#include "common/lang_text.h"
#include "instrument/port_settings.h"
#include "instrument/wire_log.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <grp.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace pelvoro {

namespace {

// Natural order: "ttyUSB2" before "ttyUSB10".
bool naturalLess(const std::string& a, const std::string& b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (std::isdigit(static_cast<unsigned char>(a[i])) &&
            std::isdigit(static_cast<unsigned char>(b[j]))) {
            std::size_t ie = i, je = j;
            while (ie < a.size() && std::isdigit(static_cast<unsigned char>(a[ie]))) ++ie;
            while (je < b.size() && std::isdigit(static_cast<unsigned char>(b[je]))) ++je;
            unsigned long long x = std::stoull(a.substr(i, std::min<std::size_t>(ie - i, 18)));
            unsigned long long y = std::stoull(b.substr(j, std::min<std::size_t>(je - j, 18)));
            if (x != y) return x < y;
            i = ie;
            j = je;
            continue;
        }
        if (a[i] != b[j]) return a[i] < b[j];
        ++i;
        ++j;
    }
    return a.size() - i < b.size() - j;
}

int deviceGroup(const std::string& path) {
    const std::string name = std::filesystem::path(path).filename().string();
    if (name.rfind("ttyUSB", 0) == 0) return 0;
    if (name.rfind("ttyACM", 0) == 0) return 1;
    return 2;
}

}  // namespace

QtSerialPort::QtSerialPort(const SettingsStore* settings)
    : settings_(settings), port_(std::make_unique<QSerialPort>()) {}

QtSerialPort::~QtSerialPort() {
    close();
}

std::vector<std::string> QtSerialPort::orderDevices(std::vector<std::string> devices) {
    std::sort(devices.begin(), devices.end(), [](const std::string& a, const std::string& b) {
        const int ga = deviceGroup(a), gb = deviceGroup(b);
        if (ga != gb) return ga < gb;
        return naturalLess(a, b);
    });
    devices.erase(std::unique(devices.begin(), devices.end()), devices.end());
    return devices;
}

std::vector<std::string> QtSerialPort::systemDevices() {
    // Asking the system takes a while; the port dialog asks for all sixteen ports at once.
    static std::vector<std::string> cached;
    static std::chrono::steady_clock::time_point cachedAt;
    const auto now = std::chrono::steady_clock::now();
    if (cachedAt.time_since_epoch().count() != 0 && now - cachedAt < std::chrono::seconds(2))
        return cached;
    std::vector<std::string> devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        devices.push_back(pathFromQt(info.systemLocation()));
    cached = orderDevices(std::move(devices));
    cachedAt = now;
    return cached;
}

std::string QtSerialPort::deviceName(int number) const {
    const std::string env = "PELVORO_PORT_" + std::to_string(number);
    if (const char* value = std::getenv(env.c_str()); value && *value) return value;
    if (settings_) {
        if (auto stored = settings_->readString("PortDevice" + std::to_string(number));
            stored && !stored->empty())
            return *stored;
    }
#ifdef _WIN32
    return "\\\\.\\COM" + std::to_string(number);
#else
    const std::vector<std::string> devices = systemDevices();
    if (number >= 1 && static_cast<std::size_t>(number) <= devices.size())
        return devices[number - 1];
    return {};
#endif
}

void QtSerialPort::setBaudRate(int baud) {
    baud_ = baud;
    if (port_->isOpen()) port_->setBaudRate(baud);
}

namespace {

// A port failure in the user's language: the text of `key` with %1 and %2 replaced; the
// English text when no language file holds the key.
std::string portText(const char* key, const char* english, const std::string& a,
                     const std::string& b = {}) {
    std::string text = LangText(key);
    if (text == "**" || text.empty()) text = english;
    auto fill = [&text](const std::string& mark, const std::string& value) {
        for (size_t at = text.find(mark); at != std::string::npos;
             at = text.find(mark, at + value.size()))
            text.replace(at, mark.size(), value);
    };
    fill("%1", a);
    fill("%2", b);
    return text;
}

}  // namespace

bool QtSerialPort::open() {
    openFailure_.clear();
    if (port_->isOpen()) return true;
    const std::string device = deviceName(portNumber_);
    if (device.empty()) {
        openFailure_ = portText("portNoDevice_120",
                                "No serial device is assigned to port %1. Connect the tester's "
                                "cable or name a device with PELVORO_PORT_%1=/dev/...",
                                std::to_string(portNumber_));
        return false;
    }
    port_->setPortName(pathToQt(device));
    port_->setBaudRate(baud_);
    port_->setDataBits(QSerialPort::Data8);
    port_->setParity(QSerialPort::NoParity);
    port_->setStopBits(QSerialPort::OneStop);
    port_->setFlowControl(QSerialPort::NoFlowControl);
    // The whole of a tester's memory fits; Qt's buffer grows as needed.
    port_->setReadBufferSize(0);
    if (!port_->open(QIODevice::ReadWrite)) {
        openFailure_ = explainFailure(device);
        port_->clearError();
        return false;
    }
    // A pty has no line signals: that is worth a note, not a failed open.
    if (!port_->setDataTerminalReady(true) && onWarning)
        onWarning("DTR cannot be set on " + device + ": " + fromQt(port_->errorString()));
    port_->clearError();
    if (!port_->setRequestToSend(false) && onWarning)
        onWarning("RTS cannot be cleared on " + device + ": " + fromQt(port_->errorString()));
    port_->clearError();
    return true;
}

std::string QtSerialPort::explainFailure(const std::string& device) const {
    const QSerialPort::SerialPortError error = port_->error();
    const std::string system = fromQt(port_->errorString());
    switch (error) {
        case QSerialPort::DeviceNotFoundError:
            return portText("portNotFound_80", "The device %1 does not exist (%2).", device,
                            system);
        case QSerialPort::OpenError:
            return portText("portBusy_80",
                            "The device %1 is busy: another program has it open (%2).", device,
                            system);
        case QSerialPort::PermissionError: {
#ifndef _WIN32
            struct stat st {};
            const bool exists = ::stat(device.c_str(), &st) == 0;
            if (exists && ::access(device.c_str(), R_OK | W_OK) != 0) {
                std::string group;
                if (const struct group* g = ::getgrgid(st.st_gid)) group = g->gr_name;
                std::string text =
                    portText("portPermission_80", "Permission denied for %1.", device);
                if (!group.empty())
                    text += " " + portText("portJoinGroup_120",
                                           "Join the group \"%1\" that owns it (sudo usermod -aG "
                                           "%1 $USER) and log in again.",
                                           group);
                return text;
            }
#endif
            return portText("portLocked_80",
                            "The device %1 is busy or locked by another program (%2).", device,
                            system);
        }
        default:
            return portText("portCannotOpen_80", "The device %1 cannot be opened (%2).", device,
                            system);
    }
}

void QtSerialPort::close() {
    if (port_->isOpen()) {
        // Closing puts the line back to the settings found at open: let the last bytes
        // ("MEX", "u") leave at the rate they were sent with first.
        if (port_->bytesToWrite() > 0)
            port_->waitForBytesWritten(PortBufferSettings{}.writeTimeoutMs);
#ifdef _WIN32
        ::FlushFileBuffers(port_->handle());
#else
        ::tcdrain(port_->handle());
#endif
        port_->close();
    }
    port_->clearError();
}

bool QtSerialPort::isOpen() const {
    return port_->isOpen();
}

void QtSerialPort::write(std::string_view bytes) {
    if (!port_->isOpen()) return;
    port_->write(bytes.data(), static_cast<qint64>(bytes.size()));
    if (port_->bytesToWrite() > 0) port_->waitForBytesWritten(PortBufferSettings{}.writeTimeoutMs);
}

std::size_t QtSerialPort::bytesWaiting() {
    if (!port_->isOpen()) return 0;
    // Takes what the system holds without waiting, with or without an event loop.
    port_->waitForReadyRead(0);
    return static_cast<std::size_t>(port_->bytesAvailable());
}

std::string QtSerialPort::read(std::size_t n) {
    if (!port_->isOpen()) return {};
    const QByteArray bytes = port_->read(static_cast<qint64>(n));
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

std::string QtSerialPort::readAll() {
    if (!port_->isOpen()) return {};
    port_->waitForReadyRead(0);
    const QByteArray bytes = port_->readAll();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void QtSerialPort::purgeInput() {
    if (!port_->isOpen()) return;
    port_->clear(QSerialPort::Input);
    port_->readAll();
}

void QtSerialPort::purgeAll() {
    if (!port_->isOpen()) return;
    port_->clear(QSerialPort::AllDirections);
    port_->readAll();
}

std::string wireLogPath() {
    if (const char* value = std::getenv("PELVORO_WIRE_LOG"); value && *value) return value;
    // One place for the desktop and the command-line program alike.
    QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (dir.isEmpty()) dir = QDir::tempPath();
    return pathFromQt(QDir(dir).filePath(QString(identity::kBrandTitle) + "/wire.log"));
}

std::unique_ptr<SerialPort> makeSystemSerialPort(const SettingsStore* settings) {
    auto log = std::make_shared<WireLog>(wireLogPath());
    auto system = std::make_unique<QtSerialPort>(settings);
    system->onWarning = [log](const std::string& text) { log->note("warning: " + text); };
    return std::make_unique<LoggedSerialPort>(std::move(system), log);
}

}  // namespace pelvoro
