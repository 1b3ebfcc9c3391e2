// parse FP: reads one FP string the way a document load does and prints the filled result
// record, field by field, and whether the string held anything this program does not know.

#include <cstdint>
#include <ostream>
#include <string>

#include "cli/cli.h"
#include "cli/command_options.h"
#include "common/codepage.h"
#include "common/identity.h"
#include "common/text.h"
#include "results/fp_parser.h"

namespace pelvoro::cli {
namespace {

int runParse(Context& ctx) {
    // The terminal speaks UTF-8; documents and testers speak the code page.
    const ResultStringOptions options = takeResultStringOptions(ctx);
    if (ctx.args.size() != 1 || !options.protVer) return ctx.usage();
    auto out = [&options](const std::string& s) { return options.shown(s); };

    const std::string fp = options.bytes(ctx.args[0]);
    TResultsData results;
    bool newFunctionsSeen = false;
    ParseFpString(fp, FpParseContext{options.typeCode, options.variant, *options.protVer}, results,
                  newFunctionsSeen);

    std::ostream& os = ctx.out;
    const ResultRecord record = results.record();
    os << "function code: " << (results.FunctionCode.empty() ? "(none)" : results.FunctionCode)
       << "\n";
    if (record != ResultRecord::None) os << "record: " << resultRecordName(record) << "\n";
    struct Printer {
        std::ostream& os;
        decltype(out)& text;
        void operator()(const char* label, uint8_t byte) const {
            os << label << ": " << int(byte) << "\n";
        }
        void operator()(const char* label, const std::string& s) const {
            os << label << ": \"" << text(s) << "\"\n";
        }
        void operator()(const char* label, const TResultValue& v) const {
            os << label << ": \"" << text(v.Value) << "\" unit \"" << text(v.Unit.str()) << "\"\n";
        }
    };
    results.withRecord(record, [&](const auto& sub) { sub.visit(Printer{os, out}); });
    os << "NewFunctionsSeen: " << (newFunctionsSeen ? "yes" : "no") << "\n";
    // Like a record the decoders do not understand: scripts can tell from the status.
    return newFunctionsSeen ? 1 : 0;
}

Registration reg({"parse", "parse FP [--type-code C] [--variant V] [--protver N] [--raw]",
                  "reads one result string (FP string) and prints the filled result record; "
                  "status 1 when it holds a code, field or text this program does not know "
                  "(--raw: bytes as they are, no UTF-8 conversion)",
                  runParse});

}  // namespace
}  // namespace pelvoro::cli
