#pragma once
// Where written bytes go: a string, a stream, a file being saved or a download's file.

#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <utility>

namespace pelvoro {

class ByteSink {
  public:
    virtual ~ByteSink() = default;
    virtual void write(std::string_view bytes) = 0;
};

class StringSink : public ByteSink {
  public:
    explicit StringSink(std::string& out) : out_(out) {}
    void write(std::string_view bytes) override { out_.append(bytes); }

  private:
    std::string& out_;
};

class StreamSink : public ByteSink {
  public:
    explicit StreamSink(std::ostream& out) : out_(out) {}
    void write(std::string_view bytes) override;

  private:
    std::ostream& out_;
};

// Hands the bytes to a function (a download's temporary file).
class FunctionSink : public ByteSink {
  public:
    explicit FunctionSink(std::function<void(std::string_view)> write) : write_(std::move(write)) {}
    void write(std::string_view bytes) override { write_(bytes); }

  private:
    std::function<void(std::string_view)> write_;
};

}  // namespace pelvoro
