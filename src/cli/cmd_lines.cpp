// lines FP: the display mark-up lines that a document shows for one result string, in the
// current language, one per line.

#include <ostream>
#include <string>

#include "cli/cli.h"
#include "cli/command_options.h"
#include "common/codepage.h"
#include "common/identity.h"
#include "common/text.h"
#include "results/fp_parser.h"
#include "results/render_result.h"

namespace pelvoro::cli {
namespace {

int runLines(Context& ctx) {
    const ResultStringOptions fp = takeResultStringOptions(ctx);
    const std::optional<int> width =
        parseInt(ctx.takeOption("--width", std::to_string(kDefaultResultsColumnWidth)));
    if (ctx.args.size() != 1 || !fp.protVer || !width || *width < 0) return ctx.usage();

    TResultsData results;
    bool newFunctionsSeen = false;
    ParseFpString(fp.bytes(ctx.args[0]), FpParseContext{fp.typeCode, fp.variant, *fp.protVer},
                  results, newFunctionsSeen);

    CharacterCellMeasure measure;
    RenderOptions options;
    options.variant = fp.variant;
    options.measure = &measure;
    options.columnWidth = *width;
    for (const std::string& line : generateResultLines(results, options))
        ctx.out << fp.shown(line) << "\n";
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
