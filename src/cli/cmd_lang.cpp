// lang KEY: the text of a translation key in the current language.

#include <ostream>

#include "cli/cli.h"
#include "common/codepage.h"
#include "common/identity.h"
#include "common/lang_text.h"

namespace pelvoro::cli {
namespace {

int runLang(Context& ctx) {
    bool raw = ctx.takeFlag("--raw");
    if (ctx.args.size() != 1) return ctx.usage();
    std::string text = LangText(ctx.args[0]);
    // The terminal gets UTF-8 unless the bytes of the language file are asked for.
    ctx.out << (raw ? text : toUtf8(text, appEnvironment().codePage)) << "\n";
    return 0;
}

Registration reg(
    {"lang", "lang KEY [--raw]",
     "prints the text of a translation key in the current language (--raw: file bytes)", runLang});

}  // namespace
}  // namespace pelvoro::cli
