#pragma once
// Buffer sizes and time-outs the serial port runs with.

namespace pelvoro {

struct PortBufferSettings {
    int readTimeoutMs = 1000;
    int writeBufferBytes = 2048;
    int writeTimeoutMs = 1000;
    int xoffLimitBytes = 1024;
    int xonLimitBytes = 1024;
    int readBufferBytes = 600000;
};

}  // namespace pelvoro
