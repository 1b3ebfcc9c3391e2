// Fuzzes the result mark-up interpreter. The first byte chooses the mode; the rest is
// one line. The text codes include ones that refer to themselves, to each other and to
// a doubling chain, so that the input can reach them with "#K".

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/lang_text.h"
#include "results/markup.h"

namespace {

const pelvoro::TextCodeTable& codes() {
    static const pelvoro::TextCodeTable table = [] {
        std::string ini =
            "[Language]\n"
            "text0=#FBzero#K000\n"
            "text1=#K002a\n"
            "text2=#K001b#S258\n"
            "text3=#CR#AR#K020\n"
            "text20=Failed\n"
            "text23=Passed\n"
            "text4=#\n"
            "text5=#K\n"
            "text6=#S27\n"
            "text7=#P\n"
            "text600=#K600#K599\n";
        for (int i = 10; i < 19; ++i)
            ini += "text" + std::to_string(i + 500) + "=#K" + std::to_string(i + 501) + "#K" +
                   std::to_string(i + 501) + "x\n";
        pelvoro::TextCodeTable t;
        t.fill(*pelvoro::LanguageFile::fromText(ini));
        return t;
    }();
    return table;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const auto mode = (data[0] & 1) ? pelvoro::MarkupMode::ClipBrd : pelvoro::MarkupMode::Write;
    pelvoro::MarkupSources sources;
    sources.textCodes = &codes();
    sources.keyText = [](std::string_view key) { return std::string(key); };
    const pelvoro::MarkupInterpreter interpreter(sources);
    // The line is handed over without a terminating byte, so reads past it show.
    const std::string line(reinterpret_cast<const char*>(data + 1), size - 1);
    const pelvoro::MarkupLine out =
        interpreter.parse(std::string_view(line.data(), line.size()), mode);
    if (out.runs.size() > size_t(pelvoro::kMaxMarkupRuns)) std::abort();
    if (out.props.level < 1 || out.props.level > 3) std::abort();
    if (out.props.kind.size() > 1) std::abort();
    for (const auto& run : out.runs) {
        if (run.picture && !run.text.empty()) std::abort();
        if (run.glyph && run.text.size() != 1) std::abort();
        if (mode == pelvoro::MarkupMode::ClipBrd && (run.picture || run.glyph)) std::abort();
        if (run.size < 5 || run.size > 15) std::abort();
    }
    return 0;
}
