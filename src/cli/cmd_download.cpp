// download: Instrument > DownLoad without windows. Downloads the connected tester's
// memory into a new document and saves it to OUT as File > Save As would.
//
//   pelvoro-cli download --model KEY (--port N | --device PATH) [--baud B] -o OUT
//
// Progress goes to stderr when it is a terminal; messages always go to stderr. Exit
// status 0 when the whole memory was saved; 3 when a document was saved that is not
// whole (records missing, told with the number of records that came, or the tester's
// identification or structure names could not be read: the messages say which); 1 when
// the download brought no document (nothing is written to OUT) or OUT could not be
// written (the document is then kept in the temporary folder, whose path is printed); 2
// for a usage error; 130 when SIGINT or SIGTERM ended the exchange as Cancel does
// (nothing is written, the temporary files go). A script that clears the tester after a
// download must therefore look for 0 alone.

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <ostream>

#include "cli/cli.h"
#include "cli/command_options.h"
#include "cli/interrupt.h"
#include "common/codepage.h"
#include "common/identity.h"
#include "common/lang_text.h"
#include "common/text.h"
#include "files/file_commands.h"
#include "protocols/download_command.h"

namespace pelvoro::cli {
namespace {

namespace fs = std::filesystem;

// The progress window as one line on a terminal ("step   42%"); silent otherwise.
// SIGINT and SIGTERM press its Cancel.
class TerminalProgress : public ProgressWindow {
  public:
    TerminalProgress() : tty_(isatty(STDERR_FILENO) != 0) {}
    ~TerminalProgress() override { hide(); }
    void show(const std::string&) override { visible_ = true; }
    void hide() override {
        if (tty_ && drawn_) std::cerr << "\r\033[K" << std::flush;
        drawn_ = false;
        visible_ = false;
    }
    void setStep(const std::string& text) override {
        step_ = text;
        draw();
    }
    void setGauge(int position, int maximum) override {
        gauge_ = maximum > 0 ? position * 100 / maximum : 0;
        draw();
    }
    void setSecondGauge(int position, int maximum) override {
        second_ = maximum > 0 ? position * 100 / maximum : 0;
        draw();
    }
    void setSecondGaugeVisible(bool visible) override { secondVisible_ = visible; }
    bool cancelPressed() override { return InterruptAsCancel::pending(); }

  private:
    void draw() {
        if (!tty_ || !visible_) return;
        std::cerr << "\r\033[K" << step_ << "  " << gauge_ << "%";
        if (secondVisible_) std::cerr << "  (graph " << second_ << "%)";
        std::cerr << std::flush;
        drawn_ = true;
    }
    bool tty_;
    bool visible_ = false, drawn_ = false, secondVisible_ = false;
    std::string step_;
    int gauge_ = 0, second_ = 0;
};

// The document side: one document in memory, temporary files in a private folder.
class CliDownloadHost : public DownloadHost, public DocumentHost {
  public:
    explicit CliDownloadHost(std::string folder) : folder_(std::move(folder)) {}
    int nextDownloadNumber() override { return ++counter_; }
    StructureDocument* createDownloadDocument(std::unique_ptr<StructureDocument> doc,
                                              const std::string&) override {
        doc_ = std::move(doc);
        return doc_.get();
    }
    void downloadLoaded(StructureDocument&) override {}
    void discardDownload(StructureDocument&) override { doc_.reset(); }
    std::string transferFolder() override { return folder_; }
    std::shared_ptr<ResultsHook> resultsReader() override { return results; }
    // DocumentHost (for saving)
    StructureDocument* createDocumentWindow(std::unique_ptr<StructureDocument>, const std::string&,
                                            const std::string&) override {
        return nullptr;
    }
    StructureDocument* activeDocument() override { return doc_.get(); }
    void documentLoaded(StructureDocument&) override {}
    void documentRenamed(StructureDocument&) override {}
    void refreshCommandState() override {}
    int nextImportNumber() override { return 0; }

    std::shared_ptr<ResultsHook> results;

  private:
    std::string folder_;
    int counter_ = 0;
    std::unique_ptr<StructureDocument> doc_;
};

int runDownload(Context& ctx) {
    const LinkOptions link = takeLinkOptions(ctx);
    std::string out = ctx.takeOption("-o");
    if (out.empty()) out = ctx.takeOption("--output");
    if (!ctx.args.empty()) return ctx.usageError("unexpected argument '" + ctx.args[0] + "'");
    const std::string& key = link.model;
    if (key.empty()) return ctx.usageError("give the model with --model KEY");
    const InstrumentModel* model = modelForCommand(ctx, key);
    if (!model) return kUsageExit;
    if (link.port.empty() == link.device.empty())
        return ctx.usageError("give the port with --port N or --device PATH");
    if (out.empty()) return ctx.usageError("give the file to write with -o OUT");
    PortSelection sel = loadPortSelection(ctx.settings);
    if (!selectPort(ctx, link, sel)) return kUsageExit;

    // A private folder for the temporary file, so that a running desktop program's
    // downloads are never touched.
    std::error_code ec;
    fs::path folder =
        fs::temp_directory_path(ec) / ("pelvoro-cli-download-" + std::to_string(long(getpid())));
    fs::create_directories(folder, ec);

    TerminalProgress progress;
    CommandLink line(ctx, key, *model, sel, progress, ctx.prompts);

    CliDownloadHost host(folder.string());
    DownloadResult result;
    {
        InterruptAsCancel interrupts;
        result = DownLoadNewINSTR(line.context(), host);
        line.close();
        progress.hide();
        if (InterruptAsCancel::pending()) {
            // Ended as Cancel ends it: the tester was told, the port is closed; nothing
            // is written and the temporary files go.
            ctx.err << "pelvoro-cli download: interrupted; nothing was written\n";
            fs::remove_all(folder, ec);
            return kInterruptedExit;
        }
    }

    const DownloadOutcome& outcome = result.outcome;
    const bool incomplete =
        outcome.status == DownloadStatus::Incomplete ||
        (outcome.status == DownloadStatus::Failed && outcome.messageKey == "msgDLoadNotCompl_50");
    if (incomplete) {
        // The message shown, and under it how much came.
        const CodePage cp = appEnvironment().codePage;
        if (outcome.messageKey != "msgDLoadNotCompl_50")
            ctx.err << toUtf8(LangText("msgDLoadNotCompl_50"), cp) << "\n";
        if (outcome.recordsReceived >= 0 && outcome.recordsExpected >= 0)
            ctx.err << toUtf8(recordsReceivedText(outcome.recordsReceived, outcome.recordsExpected),
                              cp)
                    << "\n";
    }

    int status = 1;
    if (result.document) {
        RecentFiles recent;
        FileEnvironment env;
        env.transferFolder = folder.string();
        env.results = ctx.results;
        env.defaultExtension = identity::kSaveDefaultExtension;
        FileCommands files(host, ctx.prompts, recent, env);
        if (files.saveTo(*result.document, out)) {
            status = outcome.status == DownloadStatus::Incomplete ||
                             outcome.status == DownloadStatus::Flawed
                         ? 3
                         : 0;
        } else {
            // The tester's results are not thrown away because OUT could not be written:
            // the document stays in the temporary folder, which is kept.
            const std::string kept = (folder / (result.document->Caption + ".TMV")).string();
            const std::string where = files.saveTo(*result.document, kept)
                                          ? kept
                                          : (folder / result.document->DownloadTag).string();
            ctx.err << "pelvoro-cli download: " << out
                    << " could not be written; the downloaded document is kept in " << where
                    << "\n";
            return 1;
        }
    } else if (outcome.status == DownloadStatus::NoBranch) {
        ctx.err << "pelvoro-cli download: no tester was recognised on " << describeLine(line.port())
                << "\n";
    } else if (outcome.status == DownloadStatus::Cancelled) {
        ctx.err << "pelvoro-cli download: cancelled\n";
    } else if (outcome.status == DownloadStatus::Failed &&
               (outcome.messageKey == "msgConnectError_35" ||
                outcome.messageKey == "msgNotAvailPort_35")) {
        ctx.err << "pelvoro-cli download: no connection with the " << key << " on "
                << describeLine(line.port()) << "\n";
    }
    fs::remove_all(folder, ec);
    return status;
}

Registration reg({"download", "download --model KEY (--port N | --device PATH) [--baud B] -o OUT",
                  "downloads the connected tester's memory into a new document and saves it to "
                  "OUT as File > Save would (exit 0 when the whole memory came, 3 when the "
                  "saved document is not whole, 1 when no document came)",
                  runDownload});

}  // namespace
}  // namespace pelvoro::cli
