// Fuzz target: the decoder of high-voltage tester records, with its problem reports
// going to a prompts object that only counts them.

#include <cstddef>
#include <cstdint>
#include <string>

#include "common/prompts.h"
#include "protocols/family_b/hv_decoder.h"

namespace {

class CountingPrompts : public pelvoro::Prompts {
  public:
    void information(const std::string& text) override {
        ++count;
        if (text.empty()) __builtin_trap();
    }
    void plainBox(const std::string&, const std::string&) override { ++count; }
    pelvoro::Answer askYesNo(const std::string&, const std::string&) override { __builtin_trap(); }
    pelvoro::Answer askYesNoCancel(const std::string&, const std::string&) override {
        __builtin_trap();
    }
    void beep() override {}
    void setBusy(bool) override {}
    std::optional<std::string> chooseOpenFile(const pelvoro::FileDialogRequest&) override {
        __builtin_trap();
    }
    std::optional<std::string> chooseSaveFile(const pelvoro::FileDialogRequest&) override {
        __builtin_trap();
    }
    int count = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string record(reinterpret_cast<const char*>(data), size);
    CountingPrompts prompts;
    std::string fp = "x", name;
    pelvoro::DecodeHvRecord(record, prompts, fp, name);
    if (record.empty()) {
        if (fp != "x" || prompts.count != 0) __builtin_trap();
        return 0;
    }
    if (fp.empty()) {
        // Only an unknown function leaves nothing.
        if (prompts.count != 1) __builtin_trap();
        return 0;
    }
    std::size_t fields = 0;
    for (char c : fp) {
        if (c == ';') ++fields;
        if (c == '\r' || c == '\n' || c == '\0') __builtin_trap();
    }
    if (fp.rfind("F;20", 0) != 0 || fp.back() != ';') __builtin_trap();
    if (fields != 8 && fields != 14 && fields != 21 && fields != 27) __builtin_trap();
    return 0;
}
