#include "instrument/wire_log.h"

#include <cstdio>
#include <ctime>
#include <filesystem>

namespace pelvoro {

namespace {

constexpr std::size_t kBytesPerLine = 16;
constexpr auto kGatherTime = std::chrono::milliseconds(200);

std::string localTimeStamp() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t t = system_clock::to_time_t(now);
    const int ms =
        static_cast<int>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
    std::tm tm{};
#ifdef _WIN32
    localtime_s(&tm, &t);
#else
    localtime_r(&t, &tm);
#endif
    char text[80];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", tm.tm_year + 1900,
                  tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, ms);
    return text;
}

}  // namespace

WireLog::WireLog(std::string path, std::size_t maxBytes)
    : timeStamp(localTimeStamp),
      path_(std::move(path)),
      maxBytes_(std::max<std::size_t>(maxBytes, 1024)) {
    open();
}

void WireLog::open() {
    std::error_code ec;
    const std::filesystem::path p(path_);
    if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path(), ec);
    size_ = std::filesystem::exists(p, ec) ? std::filesystem::file_size(p, ec) : 0;
    if (ec) size_ = 0;
    out_.open(path_, std::ios::binary | std::ios::app);
}

std::string WireLog::hexLine(std::string_view bytes) {
    static const char* kHex = "0123456789ABCDEF";
    std::string hex, text;
    for (unsigned char c : bytes) {
        hex += kHex[c >> 4];
        hex += kHex[c & 15];
        hex += ' ';
        text += (c >= 0x20 && c <= 0x7E) ? static_cast<char>(c) : '.';
    }
    hex.resize(kBytesPerLine * 3, ' ');
    return hex + " |" + text + "|";
}

void WireLog::bytesLine(char direction, std::string_view bytes, const std::string& when) {
    if (bytes.empty()) return;
    const std::string stamp = !when.empty() ? when : timeStamp ? timeStamp() : std::string();
    for (std::size_t at = 0; at < bytes.size(); at += kBytesPerLine) {
        std::string line = at == 0 ? stamp : std::string(stamp.size(), ' ');
        line += ' ';
        line += direction;
        line += "  ";
        line += hexLine(bytes.substr(at, kBytesPerLine));
        writeLine(line);
    }
}

void WireLog::note(std::string_view text) {
    writeLine((timeStamp ? timeStamp() : std::string()) + " " + std::string(text));
}

void WireLog::writeLine(const std::string& line) {
    if (size_ + line.size() + 1 > maxBytes_ && size_ > 0) {
        out_.close();
        std::error_code ec;
        std::filesystem::rename(path_, path_ + ".1", ec);
        if (ec) std::filesystem::remove(path_, ec);
        open();
        size_ = 0;
    }
    if (!out_.is_open()) return;
    out_ << line << '\n';
    out_.flush();
    size_ += line.size() + 1;
}

// --- LoggedSerialPort ---------------------------------------------------------------

LoggedSerialPort::LoggedSerialPort(std::unique_ptr<SerialPort> inner, std::shared_ptr<WireLog> log)
    : inner_(std::move(inner)), log_(std::move(log)) {}

LoggedSerialPort::~LoggedSerialPort() {
    flushReceived();
}

std::string LoggedSerialPort::portText() const {
    std::string text = "port " + std::to_string(inner_->portNumber());
    std::string device = inner_->deviceName(inner_->portNumber());
    if (!device.empty()) text += " (" + device + ")";
    return text + " at " + std::to_string(inner_->baudRate()) + " baud";
}

void LoggedSerialPort::setBaudRate(int baud) {
    flushReceived();
    if (inner_->isOpen() && baud != inner_->baudRate())
        log_->note("baud rate " + std::to_string(baud));
    inner_->setBaudRate(baud);
}

bool LoggedSerialPort::open() {
    flushReceived();
    const bool ok = inner_->open();
    if (ok)
        log_->note("open " + portText());
    else
        log_->note("cannot open " + portText() + ": " + inner_->openFailure());
    return ok;
}

void LoggedSerialPort::close() {
    flushReceived();
    if (inner_->isOpen()) {
        // What came and was never read is part of the exchange too.
        const std::string rest = inner_->readAll();
        if (!rest.empty()) log_->received(rest);
        log_->note("close " + portText());
    }
    inner_->close();
}

void LoggedSerialPort::write(std::string_view bytes) {
    flushReceived();
    log_->sent(bytes);
    inner_->write(bytes);
}

std::size_t LoggedSerialPort::bytesWaiting() {
    flushIfOld();
    return inner_->bytesWaiting();
}

std::string LoggedSerialPort::read(std::size_t n) {
    std::string bytes = inner_->read(n);
    gather(bytes);
    return bytes;
}

std::string LoggedSerialPort::readAll() {
    std::string bytes = inner_->readAll();
    gather(bytes);
    return bytes;
}

void LoggedSerialPort::logDropped() {
    flushReceived();
    const std::string dropped = inner_->readAll();
    if (!dropped.empty()) {
        log_->received(dropped);
        log_->note("purged " + std::to_string(dropped.size()) + " received bytes");
    }
}

void LoggedSerialPort::purgeInput() {
    logDropped();
    inner_->purgeInput();
}

void LoggedSerialPort::purgeAll() {
    logDropped();
    inner_->purgeAll();
}

void LoggedSerialPort::gather(const std::string& bytes) {
    if (bytes.empty()) return;
    if (pending_.empty()) {
        pendingSince_ = std::chrono::steady_clock::now();
        pendingStamp_ = log_->timeStamp ? log_->timeStamp() : std::string();
    }
    pending_ += bytes;
    if (pending_.size() >= kBytesPerLine) flushReceived();
}

void LoggedSerialPort::flushIfOld() {
    if (!pending_.empty() && std::chrono::steady_clock::now() - pendingSince_ >= kGatherTime)
        flushReceived();
}

void LoggedSerialPort::flushReceived() {
    if (pending_.empty()) return;
    log_->received(pending_, pendingStamp_);
    pending_.clear();
}

}  // namespace pelvoro
