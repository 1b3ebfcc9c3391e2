#pragma once
// Downloads: what a tester has stored becomes a new document.
//
// The Download command (`DownLoadNewINSTR`) is written once, here, against the platform
// interfaces: the link (serial port, link clock, progress window, prompts), the model
// selection and a DownloadHost for the document windows. The desktop program, pelvoro-cli
// and the tests all run this same code.
//
// The command:
//   1. refreshes the command state and disables the download and send buttons;
//   2. fetches the texts of the two-point and four-point methods (family C uses them);
//   3. key := selectedModelKey (identifies the tester when Auto Find is selected);
//   4. runs the download branch of the download style the key's model row names: one
//      function per style, in the folder of its protocol family (src/protocols/);
//   5. the finish (every branch ends here, also after errors and Cancel): hides the
//      progress window, ends the connection of the key's family, discards a download
//      document that was not loaded (its window closes without a question and its
//      temporary file is removed), selects the root of a loaded one and refreshes the
//      command state.
//
// A branch never builds tree items itself. It writes the document file format into the
// temporary file "#DownLoad" n "#" in the transfer folder (newDownloadDocument,
// writeHead, writeItem) and then reads it with the one document reader
// (loadDownloadedFile), which parses every FP string into result lines.
//
// Writing a branch (families A, B and C do exactly this):
//
//   DownloadOutcome downloadFamilyX(DownloadSession& s) {
//       Link& link = s.link();
//       if (!link.connectInstrument(kFamilyXLinkRules))         // its own message
//           return DownloadOutcome::failed("msgConnectError_35");
//       s.showProgress("DLoadResults_35");                      // gauge 0, Cancel
//       ... requests into s.instrumentData(), records ...       // s.cancelRequested()
//       if (!s.newDownloadDocument()) return DownloadOutcome::failed("msgWriteError_35");
//       s.writeHead(9);
//       s.writeItem(ItemBlock{...});                            // one per item
//       s.loadDownloadedFile();
//       return DownloadOutcome::complete();
//   }
//
// The branch shows its messages itself, at the point where they belong (the link shows
// its own), and reports with its outcome what happened, so that the command-line
// program can choose its exit status. The finish ends the connection: a branch needs
// to end it itself only where the exchange must stop before other work (family C ends
// it before writing). A branch never shows an error after Cancel.

#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "document/structure_document.h"
#include "files/byte_sink.h"
#include "files/document_writer.h"
#include "instrument/family_link_rules.h"
#include "instrument/instrument_context.h"

namespace pelvoro {

class ResultsHook;

// ---- The document side ----------------------------------------------------------------

// What a download needs from the program's document windows (main window, command-line
// program, tests).
class DownloadHost {
  public:
    virtual ~DownloadHost() = default;
    // The download counter of this run: 1 for the first download document, 2, ...
    virtual int nextDownloadNumber() = 0;
    // Creates a document window for `document` (an empty tree) with the caption given
    // ("DownLoad3") and its content panel hidden. Returns the document, now owned by the
    // window (or the host); null when no window could be made.
    virtual StructureDocument* createDownloadDocument(std::unique_ptr<StructureDocument> document,
                                                      const std::string& caption) = 0;
    // The reader has filled the document: load the structure name lists, show the tree
    // with its first item selected and the content panel.
    virtual void downloadLoaded(StructureDocument& document) = 0;
    // The download ended before its document was loaded: close its window without a
    // question (the document is gone afterwards).
    virtual void discardDownload(StructureDocument& document) = 0;
    // The finish: the tree's selection-change handler for the document's root.
    virtual void selectRoot(StructureDocument& document) { (void)document; }
    virtual void refreshCommandState() {}
    // The toolbar's download and send buttons; disabled while a download runs (the
    // finish's refreshCommandState enables them again).
    virtual void setTransferButtonsEnabled(bool enabled) { (void)enabled; }
    // The folder of the temporary transfer files.
    virtual std::string transferFolder() = 0;
    // Reads the coded results of the download document into lines; null: they are kept
    // as they are.
    virtual std::shared_ptr<ResultsHook> resultsReader() { return nullptr; }
};

// ---- What a branch reports -------------------------------------------------------------

enum class DownloadStatus {
    Complete,    // a document was loaded with everything the tester held
    Incomplete,  // a document was loaded, but not with everything (the "not complete" or
                 // the communication messages were shown)
    Flawed,      // a document was loaded with every result, but something that belongs
                 // to it could not be read (the tester's identification, the names of its
                 // structure); the message said what
    NoData,      // the tester holds nothing ("msgNoDataToDownL_35", "msgNoStructObj_35")
    Cancelled,   // Cancel ended the download before a document was loaded; no message
    Failed,      // port, connection, model check, communication, corrupt count or
                 // temporary file: the message was shown; no document
    NoBranch,    // no download for the key (identification found no model); no message
};

struct DownloadOutcome {
    DownloadStatus status = DownloadStatus::NoBranch;
    // The translation key of the message that tells why (shown already), or empty.
    std::string messageKey;
    // Records (results) that came whole and the number the tester announced; -1 where
    // the branch did not get as far as the count.
    long recordsReceived = -1, recordsExpected = -1;

    DownloadOutcome& withRecords(long received, long expected) {
        recordsReceived = received;
        recordsExpected = expected;
        return *this;
    }

    static DownloadOutcome complete() { return {DownloadStatus::Complete, {}}; }
    static DownloadOutcome incomplete(std::string key = "msgDLoadNotCompl_50") {
        return {DownloadStatus::Incomplete, std::move(key)};
    }
    static DownloadOutcome flawed(std::string key) {
        return {DownloadStatus::Flawed, std::move(key)};
    }
    static DownloadOutcome noData(std::string key = "msgNoDataToDownL_35") {
        return {DownloadStatus::NoData, std::move(key)};
    }
    static DownloadOutcome cancelled() { return {DownloadStatus::Cancelled, {}}; }
    static DownloadOutcome failed(std::string key) {
        return {DownloadStatus::Failed, std::move(key)};
    }
};

// "complete", "incomplete", ... for messages and tests.
const char* downloadStatusName(DownloadStatus status);

// The line under "msgDLoadNotCompl_50" that says how much came: "msgRecordsReceived_50"
// with %1 the records received and %2 the records the tester announced.
std::string recordsReceivedText(long received, long expected);

// ---- One running download ----------------------------------------------------------------

class DownloadSession {
  public:
    DownloadSession(InstrumentContext& context, DownloadHost& host);
    ~DownloadSession();
    DownloadSession(const DownloadSession&) = delete;
    DownloadSession& operator=(const DownloadSession&) = delete;

    // --- what a branch works with ---------------------------------------------------
    InstrumentContext& context() { return ctx_; }
    Link& link() { return ctx_.link; }
    Prompts& prompts() { return ctx_.link.prompts(); }
    ProgressWindow& progress() { return ctx_.link.progress(); }
    DownloadHost& host() { return host_; }
    // The selected model key the command dispatched on, and the link rules of its family
    // (the connection ends by them).
    const std::string& key() const { return key_; }
    void setKey(std::string key, const FamilyLinkRules& linkRules) {
        key_ = std::move(key);
        linkRules_ = linkRules;
    }
    // ModelFamily of the selection: 1 family B (and C), 2 family A with arguments on their
    // own lines, 3 family A with arguments after ";".
    int modelFamily() const { return ctx_.models.modelFamily(); }
    // The main window's instrument data record: the requests fill it, and
    // newDownloadDocument copies it into the document.
    TInstrumentData& instrumentData() { return ctx_.data; }
    // LangText("TwoPoint_14") and LangText("FourPoint_14"), fetched when the command began.
    const std::string& twoPointText() const { return twoPoint_; }
    const std::string& fourPointText() const { return fourPoint_; }
    void fetchMethodTexts();

    // Cancel pressed in the progress window (or requested by the caller).
    bool cancelRequested() { return ctx_.link.cancelRequested(); }

    // --- progress window --------------------------------------------------------------
    // Shows the progress window with the gauge at 0, Cancel visible and LangText(stepKey).
    void showProgress(const std::string& stepKey);
    void setStep(const std::string& stepKey);
    // Main gauge in percent (0 .. 100).
    void setGauge(int percent);
    // Repaints the window and lets events run (so Cancel is seen).
    void repaint() { ctx_.link.processEvents(); }

    // --- the download document --------------------------------------------------------
    // Increments the download counter, creates the document window "DownLoad" + n with
    // the instrument data copied and its content panel hidden, sets the tag
    // "#DownLoad" + n + "#" and creates that file, empty, in the transfer folder (the
    // folder is created when missing). `beforeFile` runs after the window exists and
    // before the file is made (the results download shows its progress window there).
    // When the file cannot be created: pauses 500 ms, ends the connection of the key's
    // family, shows "msgWriteError_35" and returns false (the branch then ends).
    bool newDownloadDocument(const std::function<void()>& beforeFile = {});
    // The download document (null before newDownloadDocument).
    StructureDocument* document() { return doc_; }
    // The temporary file's full path (empty before newDownloadDocument).
    const std::string& tempPath() const { return tempPath_; }

    // An item block, written by the document writer like every document file.
    void writeItem(const ItemBlock& block);
    // Bytes as they are (line ends included by the caller).
    void writeBytes(std::string_view bytes);
    // The head: "Version: " + version, then the empty, marker and "------" lines of the
    // instrument data, header, report header and comments sections, and
    // "$StructureItems%". Item blocks follow.
    void writeHead(int version);
    // Closes the temporary file (the branches that stop before loading). Idempotent. A
    // close that fails (the last buffered bytes did not reach the disk) counts as a
    // failed write.
    void closeFile();
    // Opens the temporary file again for appending.
    bool reopenForAppend();
    // Whether every write so far reached the file.
    bool fileGood() const { return writeError_.empty(); }

    // Reads the temporary file into the document with the document reader, shows the
    // document (first item selected, content panel), clears HasFile, sets
    // HasDownloadTemp and shows "msgNewFunct_35" once when the reader met unknown codes.
    // When a write or the close of the file failed, nothing is loaded: the message
    // "msgWriteError_35" names the file and the system's reason, and the download ends
    // without a document (the finish removes the file).
    void loadDownloadedFile();
    bool loaded() const { return loaded_; }
    // A write to the temporary file (or its close) failed; the reason, or empty.
    const std::string& writeError() const { return writeError_; }

    // The finish of the command (called by DownLoadNewINSTR).
    void finish();

  private:
    InstrumentContext& ctx_;
    DownloadHost& host_;
    std::string key_;
    FamilyLinkRules linkRules_;
    std::string twoPoint_, fourPoint_;
    StructureDocument* doc_ = nullptr;
    std::string tempPath_;
    std::ofstream file_;
    std::string writeError_;
    bool loaded_ = false;
    // The temporary file as the sink of the document writer, which gathers item blocks
    // and hands them on in large pieces (before any other write and at the close).
    FunctionSink sink_{[this](std::string_view bytes) { writeToFile(bytes); }};
    std::unique_ptr<DocumentWriter> writer_;

    DocumentWriter& writer();
    void flushWriter();
    void writeToFile(std::string_view bytes);
    void noteWriteFailure();
};

}  // namespace pelvoro
