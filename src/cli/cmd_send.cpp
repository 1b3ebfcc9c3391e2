// send: sends the structure of a document into the connected tester's memory, as
// Instrument > Send Structure does.
//
//   pelvoro-cli send DOC --model KEY (--port N | --device PATH) [--baud B] [--keep]
//
// Every question is answered Yes: the tester's structure is deleted first. --keep
// answers No to that question (asked by TQ41, TQ45, LR40000115 and LS40000118 when they
// hold a structure), so that the document's structure is added to what the tester holds.
// The messages go to stderr. Exit status 0 when every entry was sent, 1 when not, 2 for
// a usage error, 130 when SIGINT or SIGTERM ended the exchange as Cancel does.

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "cli/command_options.h"
#include "cli/interrupt.h"
#include "common/codepage.h"
#include "common/identity.h"
#include "common/text.h"
#include "files/document_file.h"
#include "protocols/family_a/structure_send.h"

namespace pelvoro::cli {
namespace {

// No window: SIGINT and SIGTERM press its Cancel.
class InterruptibleProgress : public NullProgress {
  public:
    bool cancelPressed() override { return InterruptAsCancel::pending(); }
};

// Messages to stderr (in the terminal's encoding); questions answered as the options say.
class SendPrompts : public NullPrompts {
  public:
    SendPrompts(std::ostream& err, bool keep) : err_(err), keep_(keep) {}
    void information(const std::string& text) override { err_ << shown(text) << "\n"; }
    void plainBox(const std::string&, const std::string& text) override {
        err_ << shown(text) << "\n";
    }
    Answer askYesNo(const std::string&, const std::string& text) override {
        err_ << shown(text) << " -> Yes\n";
        return Answer::Yes;
    }
    Answer askYesNoCancel(const std::string&, const std::string& text) override {
        err_ << shown(text) << (keep_ ? " -> No\n" : " -> Yes\n");
        return keep_ ? Answer::No : Answer::Yes;
    }

  private:
    // Boxes break their lines with CR; a terminal wants LF.
    static std::string shown(const std::string& text) {
        std::string out = toUtf8(text, appEnvironment().codePage);
        for (char& c : out)
            if (c == '\r') c = '\n';
        size_t first = out.find_first_not_of('\n');
        size_t last = out.find_last_not_of('\n');
        return first == std::string::npos ? std::string() : out.substr(first, last - first + 1);
    }
    std::ostream& err_;
    bool keep_;
};

int runSend(Context& ctx) {
    bool keep = ctx.takeFlag("--keep");
    const LinkOptions link = takeLinkOptions(ctx);
    if (ctx.args.size() != 1)
        return ctx.usageError(ctx.args.empty() ? "name the document to send"
                                               : "unexpected argument '" + ctx.args[1] + "'");
    const std::string path = ctx.args[0];
    const std::string& key = link.model;
    if (key.empty()) return ctx.usageError("give the model with --model KEY");
    const InstrumentModel* model = modelForCommand(ctx, key);
    if (!model) return kUsageExit;
    if (key != kAutoFindKey && !acceptsStructure(key) && protocolOfKey(key) != ProtocolFamily::B)
        return ctx.usageError("the " + key +
                              " takes no structure; these do: TQ41 TQ45 LR40000115 "
                              "LS40000118 TQ75");
    if (link.port.empty() && link.device.empty())
        return ctx.usageError("name the port with --port N or --device PATH");
    PortSelection sel = loadPortSelection(ctx.settings);
    if (!selectPort(ctx, link, sel)) return kUsageExit;

    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    if (!in) {
        ctx.err << "pelvoro-cli send: " << path << ": cannot be read\n";
        return 1;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    StructureDocument document;
    DocumentReadOptions options;
    options.hook = ctx.results;
    DocumentReadResult read = readDocumentFromBytes(document, bytes.str(), options);
    if (!read.ok) {
        ctx.err << "pelvoro-cli send: " << path << ": " << read.error << "\n";
        return 1;
    }

    InterruptibleProgress progress;
    SendPrompts prompts(ctx.err, keep);
    CommandLink line(ctx, key, *model, sel, progress, prompts);

    SendStructureOutcome outcome;
    {
        InterruptAsCancel interrupts;
        outcome = sendStructure(line.context(), document);
        line.close();
        if (InterruptAsCancel::pending()) {
            ctx.err << "pelvoro-cli send: interrupted";
            if (outcome.entriesSent > 0)
                ctx.err << "; " << outcome.entriesSent
                        << " entries were sent before; they stay in the tester";
            ctx.err << "\n";
            return kInterruptedExit;
        }
    }
    if (outcome.result == SendStructureResult::Sent) {
        ctx.err << "pelvoro-cli send: " << outcome.entriesSent << " entries sent to the "
                << outcome.key << "\n";
        return 0;
    }
    if (outcome.result == SendStructureResult::NotAccepted && outcome.key.empty())
        ctx.err << "pelvoro-cli send: no tester that takes a structure was identified\n";
    else if (outcome.result == SendStructureResult::NotAccepted &&
             protocolOfKey(outcome.key) != ProtocolFamily::B)
        ctx.err << "pelvoro-cli send: the " << outcome.key << " takes no structure\n";
    if (outcome.entriesSent > 0)
        ctx.err << "pelvoro-cli send: " << outcome.entriesSent
                << " entries were sent before the transfer ended; they stay in the tester\n";
    return 1;
}

Registration reg({"send", "send DOC --model KEY (--port N | --device PATH) [--baud B] [--keep]",
                  "sends DOC's structure into the tester's memory (every question answered "
                  "Yes; --keep keeps the structure the tester holds)",
                  runSend});

}  // namespace
}  // namespace pelvoro::cli
