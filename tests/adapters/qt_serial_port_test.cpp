#include "instrument/adapters/qt_serial_port.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "common/adapters/qt_link_clock.h"
#include "instrument/link.h"
#include "protocols/family_b/family_b_link_rules.h"
#include "support/test_doubles.h"

#ifndef _WIN32
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace pelvoro {
namespace {

#ifndef _WIN32

// The far end of a pty, in raw mode, as a tester (or the simulator) would hold it.
class PtyPair {
  public:
    PtyPair() {
        char name[256] = {};
        if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0) return;
        termios t{};
        ::tcgetattr(master_, &t);
        ::cfmakeraw(&t);
        ::tcsetattr(master_, TCSANOW, &t);
        ::tcgetattr(slave_, &t);
        ::cfmakeraw(&t);
        ::tcsetattr(slave_, TCSANOW, &t);
        device_ = name;
    }
    ~PtyPair() {
        if (slave_ >= 0) ::close(slave_);
        if (master_ >= 0) ::close(master_);
    }
    const std::string& device() const { return device_; }
    void send(const std::string& bytes) {
        ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    // What the program wrote, waiting up to a second for `n` bytes.
    std::string take(std::size_t n, double seconds = 1.0) {
        std::string got;
        const auto until = std::chrono::steady_clock::now() +
                           std::chrono::milliseconds(static_cast<int>(seconds * 1000));
        ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
        while (got.size() < n && std::chrono::steady_clock::now() < until) {
            char buffer[512];
            ssize_t r = ::read(master_, buffer, sizeof buffer);
            if (r > 0)
                got.append(buffer, static_cast<std::size_t>(r));
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return got;
    }

  private:
    int master_ = -1, slave_ = -1;
    std::string device_;
};

class ScopedEnv {
  public:
    ScopedEnv(std::string name, const std::string& value) : name_(std::move(name)) {
        ::setenv(name_.c_str(), value.c_str(), 1);
    }
    ~ScopedEnv() { ::unsetenv(name_.c_str()); }

  private:
    std::string name_;
};

std::string waitFor(SerialPort& port, std::size_t n) {
    std::string got;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (got.size() < n && std::chrono::steady_clock::now() < until) {
        if (port.bytesWaiting() > 0)
            got += port.readAll();
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return got;
}

TEST(QtSerialPort, EveryByteValuePassesBothWaysOnAPty) {
    PtyPair pty;
    ASSERT_FALSE(pty.device().empty());
    ScopedEnv env("PELVORO_PORT_3", pty.device());
    QtSerialPort port;
    std::string warnings;
    port.onWarning = [&](const std::string& w) { warnings += w; };
    port.setPortNumber(3);
    port.setBaudRate(4800);
    EXPECT_EQ(port.deviceName(3), pty.device());
    ASSERT_TRUE(port.open()) << port.openFailure();  // DTR/RTS failing on a pty is no failure
    EXPECT_TRUE(port.isOpen());

    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    port.write(all);
    EXPECT_EQ(pty.take(256), all);
    pty.send(all);
    EXPECT_EQ(waitFor(port, 256), all);

    pty.send("stale");
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    port.purgeInput();
    EXPECT_EQ(port.bytesWaiting(), 0u);
    port.close();
    EXPECT_FALSE(port.isOpen());
}

TEST(QtSerialPort, OpenFailuresSayWhy) {
    PtyPair pty;
    ScopedEnv busyEnv("PELVORO_PORT_5", pty.device());
    ScopedEnv missingEnv("PELVORO_PORT_6", "/dev/pelvoro-no-such-device");
    QtSerialPort first, second, missing;
    first.setPortNumber(5);
    second.setPortNumber(5);
    ASSERT_TRUE(first.open());
    EXPECT_FALSE(second.open());
    EXPECT_NE(second.openFailure().find("busy"), std::string::npos) << second.openFailure();
    EXPECT_FALSE(second.isOpen());

    missing.setPortNumber(6);
    EXPECT_FALSE(missing.open());
    EXPECT_NE(missing.openFailure().find("does not exist"), std::string::npos)
        << missing.openFailure();
}

TEST(QtSerialPort, SettingNamesADeviceAndTheEnvironmentWins) {
    MemorySettingsStore settings;
    settings.writeString("PortDevice2", "/dev/ttyUSB7");
    QtSerialPort port(&settings);
    EXPECT_EQ(port.deviceName(2), "/dev/ttyUSB7");
    ScopedEnv env("PELVORO_PORT_2", "/dev/pts/9");
    EXPECT_EQ(port.deviceName(2), "/dev/pts/9");
}

TEST(QtSerialPort, SystemDevicesAreNumberedUsbFirstInNaturalOrder) {
    EXPECT_EQ(
        QtSerialPort::orderDevices({"/dev/ttyS1", "/dev/ttyUSB10", "/dev/ttyS0", "/dev/ttyACM0",
                                    "/dev/ttyUSB2", "/dev/ttyS10", "/dev/ttyS2"}),
        (std::vector<std::string>{"/dev/ttyUSB2", "/dev/ttyUSB10", "/dev/ttyACM0", "/dev/ttyS0",
                                  "/dev/ttyS1", "/dev/ttyS2", "/dev/ttyS10"}));
}

TEST(QtSerialPort, PortWithoutADeviceTellsHowToNameOne) {
    QtSerialPort port;
    port.setPortNumber(16);
    if (!port.deviceName(16).empty()) GTEST_SKIP() << "this machine has 16 serial devices";
    EXPECT_FALSE(port.open());
    EXPECT_NE(port.openFailure().find("PELVORO_PORT_16"), std::string::npos);
}

// The link over the real adapter and the real clock: a family B handshake and a block.
TEST(QtSerialPort, LinkExchangeOverAPty) {
    PtyPair pty;
    ScopedEnv env("PELVORO_PORT_4", pty.device());
    QtSerialPort port;
    QtLinkClock clock;
    testing::ProgressRecorder progress;
    testing::ScriptedPrompts prompts;
    Link link(port, clock, progress, prompts);
    link.setPortNumber(4);
    link.setBaudRate(4800);
    ASSERT_TRUE(link.ensurePortOpen());
    std::thread tester([&] {
        if (pty.take(3, 5) == "MRD") pty.send("SER00");
        // The handshake settles for a second before the next command.
        if (pty.take(3, 5) == "MWH")
            pty.send(
                std::string("SWH\x00\x04"
                            "ABCD",
                            9));
    });
    EXPECT_TRUE(link.connectInstrument(kFamilyBLinkRules));
    EchoReply echo = link.sendAwaitEcho("MWH", "SWH", kFamilyBLinkRules);
    EXPECT_TRUE(echo.ok);
    EXPECT_EQ(echo.length, 4);
    EXPECT_TRUE(link.readBlock(4));
    EXPECT_EQ(link.transferBuffer(), "ABCD");
    tester.join();
    link.endConnection(kFamilyBLinkRules);
    EXPECT_EQ(pty.take(3), "MEX");
    EXPECT_FALSE(port.isOpen());
    EXPECT_TRUE(prompts.shown.empty());
}

#endif

}  // namespace
}  // namespace pelvoro
