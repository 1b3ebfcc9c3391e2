// decode install|hv HEX [--type-code C] [--raw]: decodes one coded measurement record of a
// later installation tester or a high-voltage tester, given as hexadecimal bytes, and
// prints the FP string, the function name and whether the record was understood.

#include <optional>
#include <ostream>

#include "cli/cli.h"
#include "common/codepage.h"
#include "common/identity.h"
#include "common/text.h"
#include "protocols/family_b/hv_decoder.h"
#include "protocols/family_b/install_decoder.h"

namespace pelvoro::cli {
namespace {

// "06 00 01 ..." or "060001..."; blanks, ":" and "-" between bytes are allowed.
std::optional<std::string> parseHex(const std::vector<std::string>& words) {
    std::string bytes;
    int high = -1;
    for (const std::string& w : words) {
        std::string_view s = w;
        if (s.substr(0, 2) == "0x" || s.substr(0, 2) == "0X") s.remove_prefix(2);
        for (char c : s) {
            if (c == ' ' || c == ':' || c == '-' || c == ',') {
                if (high >= 0) return std::nullopt;  // a byte cut in half
                continue;
            }
            int d = hexDigit(c);
            if (d < 0) return std::nullopt;
            if (high < 0) {
                high = d;
            } else {
                bytes.push_back(char(high * 16 + d));
                high = -1;
            }
        }
        if (high >= 0) return std::nullopt;
    }
    return bytes;
}

// Passes messages on and counts them.
class CountingPrompts : public Prompts {
  public:
    explicit CountingPrompts(Prompts& inner) : inner_(inner) {}
    void information(const std::string& text) override {
        ++count;
        inner_.information(text);
    }
    void plainBox(const std::string& title, const std::string& text) override {
        ++count;
        inner_.plainBox(title, text);
    }
    Answer askYesNo(const std::string& t, const std::string& x) override {
        return inner_.askYesNo(t, x);
    }
    Answer askYesNoCancel(const std::string& t, const std::string& x) override {
        return inner_.askYesNoCancel(t, x);
    }
    void beep() override { inner_.beep(); }
    void setBusy(bool busy) override { inner_.setBusy(busy); }
    std::optional<std::string> chooseOpenFile(const FileDialogRequest& r) override {
        return inner_.chooseOpenFile(r);
    }
    std::optional<std::string> chooseSaveFile(const FileDialogRequest& r) override {
        return inner_.chooseSaveFile(r);
    }
    int count = 0;

  private:
    Prompts& inner_;
};

int runDecode(Context& ctx) {
    std::string typeCode = ctx.takeOption("--type-code");
    bool raw = ctx.takeFlag("--raw");
    if (ctx.args.size() < 2 || (ctx.args[0] != "install" && ctx.args[0] != "hv")) {
        return ctx.usage();
    }
    auto record = parseHex({ctx.args.begin() + 1, ctx.args.end()});
    if (!record) {
        ctx.err << "decode: HEX must be pairs of hexadecimal digits\n";
        return ctx.usage();
    }
    std::string fp, name;
    bool understood = true;
    int problems = 0;
    if (ctx.args[0] == "install") {
        understood = DecodeInstallRecord(*record, typeCode, fp, name);
        // Function bytes 2 and 15 mean different things on different testers.
        if (fp.empty() && typeCode.empty() && record->size() > 6 &&
            ((*record)[6] == 2 || (*record)[6] == 15))
            ctx.err << "decode: function byte " << int((*record)[6])
                    << " needs the instrument type code (--type-code 20, 24, 25 or 26)\n";
    } else {
        CountingPrompts prompts(ctx.prompts);  // the decoder's reports go to stderr
        DecodeHvRecord(*record, prompts, fp, name);
        problems = prompts.count;
        understood = problems == 0;
    }
    auto show = [&](const std::string& bytes) {
        return raw ? bytes : toUtf8(bytes, appEnvironment().codePage);
    };
    ctx.out << "FP: " << show(fp) << "\n";
    ctx.out << "Name: " << show(name) << "\n";
    if (ctx.args[0] == "install")
        ctx.out << "Verdict: " << (understood ? "understood" : "not understood") << "\n";
    else
        ctx.out << "Verdict: "
                << (understood ? "understood" : "problems reported: " + std::to_string(problems))
                << "\n";
    return understood ? 0 : 1;
}

Registration reg({"decode", "decode install|hv HEX [--type-code C] [--raw]",
                  "decodes a coded measurement record given as hexadecimal bytes: prints the FP "
                  "string, the function name and the verdict (exit status 1 when not understood)",
                  runDecode});

}  // namespace
}  // namespace pelvoro::cli
