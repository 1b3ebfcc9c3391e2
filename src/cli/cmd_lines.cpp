// lines FP: the display mark-up lines that a document shows for one result string, in the
// current language, one per line.

#include <ostream>
#include <string>

#include "cli/cli.h"
#include "common/codepage.h"
#include "common/identity.h"
#include "common/text.h"
#include "results/fp_parser.h"
#include "results/render_result.h"

namespace pelvoro::cli {
namespace {

int runLines(Context& ctx) {
    const bool raw = ctx.takeFlag("--raw");
    const std::string typeCode = ctx.takeOption("--type-code");
    const std::string variant = ctx.takeOption("--variant");
    const std::optional<int> protVer = parseInt(ctx.takeOption("--protver", "0"));
    const std::optional<int> width =
        parseInt(ctx.takeOption("--width", std::to_string(kDefaultResultsColumnWidth)));
    if (ctx.args.size() != 1 || !protVer || !width || *width < 0) return ctx.usage();
    const CodePage cp = appEnvironment().codePage;
    auto in = [&](const std::string& s) { return raw ? s : fromUtf8(s, cp); };
    auto out = [&](const std::string& s) { return raw ? s : toUtf8(s, cp); };

    const std::string typeCodeBytes = in(typeCode);
    const std::string variantBytes = in(variant);
    TResultsData results;
    bool newFunctionsSeen = false;
    ParseFpString(in(ctx.args[0]), FpParseContext{typeCodeBytes, variantBytes, *protVer}, results,
                  newFunctionsSeen);

    CharacterCellMeasure measure;
    RenderOptions options;
    options.variant = variantBytes;
    options.measure = &measure;
    options.columnWidth = *width;
    for (const std::string& line : generateResultLines(results, options))
        ctx.out << out(line) << "\n";
    if (newFunctionsSeen)
        ctx.err << "lines: the string holds a code or field this program does not know\n";
    return newFunctionsSeen ? 1 : 0;
}

Registration reg({"lines",
                  "lines FP [--type-code C] [--variant V] [--protver N] [--width PX] [--raw]",
                  "prints the display mark-up lines of one result string (FP string) in the "
                  "current language, one per line; inspection texts wrap at the results "
                  "column width PX less 160, counting 8 pixels a character (default 640); "
                  "status 1 when the string holds something this program does not know",
                  runLines});

}  // namespace
}  // namespace pelvoro::cli
