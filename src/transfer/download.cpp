#include "transfer/download.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <system_error>

#include "common/lang_text.h"
#include "files/document_file.h"
#include "files/document_writer.h"
#include "instrument/models.h"

namespace pelvoro {

namespace fs = std::filesystem;

const char* downloadStatusName(DownloadStatus status) {
    switch (status) {
        case DownloadStatus::Complete:
            return "complete";
        case DownloadStatus::Incomplete:
            return "incomplete";
        case DownloadStatus::Flawed:
            return "flawed";
        case DownloadStatus::NoData:
            return "no data";
        case DownloadStatus::Cancelled:
            return "cancelled";
        case DownloadStatus::Failed:
            return "failed";
        case DownloadStatus::NoBranch:
            return "no branch";
    }
    return "";
}

std::string recordsReceivedText(long received, long expected) {
    std::string text = LangText("msgRecordsReceived_50");
    auto put = [&text](const char* marker, long value) {
        if (std::size_t at = text.find(marker); at != std::string::npos)
            text.replace(at, 2, std::to_string(value));
    };
    put("%1", received);
    put("%2", expected);
    return text;
}

DownloadSession::DownloadSession(InstrumentContext& context, DownloadHost& host)
    : ctx_(context), host_(host) {}

DownloadSession::~DownloadSession() {
    closeFile();
}

void DownloadSession::fetchMethodTexts() {
    twoPoint_ = LangText("TwoPoint_14");
    fourPoint_ = LangText("FourPoint_14");
}

void DownloadSession::showProgress(const std::string& stepKey) {
    Link& link = ctx_.link;
    link.showProgress(LangText(stepKey), true, true);
    link.progress().setGauge(0, 100);
}

void DownloadSession::setStep(const std::string& stepKey) {
    ctx_.link.setStep(LangText(stepKey));
}

void DownloadSession::setGauge(int percent) {
    if (percent < 0) percent = 0;
    if (percent > 100) percent = 100;
    ctx_.link.progress().setGauge(percent, 100);
}

bool DownloadSession::newDownloadDocument(const std::function<void()>& beforeFile) {
    const int n = host_.nextDownloadNumber();
    auto owned = std::make_unique<StructureDocument>();
    owned->Caption = "DownLoad" + std::to_string(n);
    owned->FilePath = owned->Caption;
    owned->InstrumentData = ctx_.data;
    owned->DownloadTag = "#DownLoad" + std::to_string(n) + "#";
    doc_ = host_.createDownloadDocument(std::move(owned), "DownLoad" + std::to_string(n));
    if (beforeFile) beforeFile();
    if (!doc_) return false;

    const std::string folder = host_.transferFolder();
    std::error_code ec;
    if (!folder.empty()) fs::create_directories(fs::path(folder), ec);
    tempPath_ = (fs::path(folder) / doc_->DownloadTag).string();
    errno = 0;
    if (!folder.empty()) file_.open(fs::path(tempPath_), std::ios::binary | std::ios::trunc);
    doc_->HasFile = true;
    if (folder.empty() || !file_) {
        const int reason = errno;
        file_ = std::ofstream();
        ctx_.link.pause(0.5);
        ctx_.link.endConnection(linkRules_);
        std::string text = LangText("msgWriteError_35");
        if (!folder.empty())
            text += "\n" + tempPath_ + (reason ? ": " + std::string(std::strerror(reason)) : "");
        ctx_.link.prompts().error(text);
        tempPath_.clear();
        return false;
    }
    doc_->clear();
    return true;
}

// A full disk, a pulled stick or a quota: the download must not go on as if the file
// held what was written. errno still holds the reason of the failed write or close.
void DownloadSession::noteWriteFailure() {
    if (!writeError_.empty()) return;
    const int reason = errno;
    writeError_ = reason != 0 ? std::strerror(reason) : "the data could not be written";
}

DocumentWriter& DownloadSession::writer() {
    if (!writer_) writer_ = std::make_unique<DocumentWriter>(sink_);
    return *writer_;
}

void DownloadSession::flushWriter() {
    if (writer_) writer_->flush();
}

void DownloadSession::writeToFile(std::string_view bytes) {
    if (!file_.is_open()) return;
    errno = 0;
    file_.write(bytes.data(), std::streamsize(bytes.size()));
    if (!file_) noteWriteFailure();
}

void DownloadSession::writeItem(const ItemBlock& block) {
    writer().item(block);
}

void DownloadSession::writeBytes(std::string_view bytes) {
    flushWriter();
    writeToFile(bytes);
}

void DownloadSession::writeHead(int version) {
    writer().emptyHead(version);
}

void DownloadSession::closeFile() {
    flushWriter();
    if (!file_.is_open()) return;
    errno = 0;
    const bool good = bool(file_);
    file_.close();
    if (good && !file_) noteWriteFailure();
}

bool DownloadSession::reopenForAppend() {
    closeFile();
    if (tempPath_.empty()) return false;
    errno = 0;
    file_ = std::ofstream(fs::path(tempPath_), std::ios::binary | std::ios::app);
    if (!file_) noteWriteFailure();
    return bool(file_);
}

void DownloadSession::loadDownloadedFile() {
    if (!doc_) return;
    closeFile();
    if (!writeError_.empty()) {
        // A document built from a file that lost part of what was written would look
        // whole: nothing is loaded, and the tester still holds everything.
        ctx_.link.endConnection(linkRules_);
        ctx_.link.prompts().information(LangText("msgWriteError_35") + "\n" + tempPath_ + ": " +
                                        writeError_);
        return;
    }
    std::string bytes;
    {
        std::ifstream in(fs::path(tempPath_), std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        bytes = s.str();
    }
    doc_->Loading = true;
    DocumentReadResult result;
    {
        BusyCursor busy(ctx_.link.prompts());
        DocumentReadOptions options;
        options.hook = host_.resultsReader();
        result = readDocumentFromBytes(*doc_, bytes, options);
    }
    // The file carries no instrument data of its own: the document keeps the record
    // that was read from the tester.
    doc_->Loading = false;
    doc_->HasFile = false;
    doc_->HasDownloadTemp = true;
    loaded_ = true;
    host_.downloadLoaded(*doc_);
    if (!result.ok) ctx_.link.prompts().warning(result.error);
    if (doc_->NewFunctionsSeen) {
        ctx_.link.prompts().information(LangText("msgNewFunct_35"));
        doc_->NewFunctionsSeen = false;
    }
}

void DownloadSession::finish() {
    Link& link = ctx_.link;
    link.progress().setSecondGaugeVisible(false);
    link.hideProgress();
    switch (protocolOfKey(key_)) {
        case ProtocolFamily::A:
        case ProtocolFamily::B:
        case ProtocolFamily::C:
            link.endConnection(linkRules_);
            break;
        case ProtocolFamily::None:
            link.closePort();
            link.clearCancel();
            break;
    }
    closeFile();
    if (doc_ && !loaded_) {
        // Nothing of this download reached a document: its window goes, and so does its
        // temporary file.
        std::error_code ec;
        if (!tempPath_.empty()) fs::remove(fs::path(tempPath_), ec);
        StructureDocument* gone = doc_;
        doc_ = nullptr;
        gone->HasFile = true;
        host_.discardDownload(*gone);
    }
    if (doc_) host_.selectRoot(*doc_);
    try {
        host_.refreshCommandState();
    } catch (...) {
        // The command state is refreshed again by the next change; an error here must
        // not undo the download.
    }
}

}  // namespace pelvoro
