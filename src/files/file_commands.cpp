#include "files/file_commands.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "common/lang_text.h"
#include "files/document_file.h"
#include "files/file_bytes.h"
#include "files/safe_save.h"
#include "files/transcript_import.h"

namespace pelvoro {

namespace fs = std::filesystem;

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    const bool same = fs::equivalent(fs::path(a), fs::path(b), ec);
    return ec ? a == b : same;
}

namespace {

bool fileExists(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(fs::path(path), ec);
}

std::string joinPath(const std::string& folder, const std::string& name) {
    return (fs::path(folder) / name).string();
}

// The question, then the document's name in quotes on a line of its own.
std::string closeQuestionText(const char* key, const StructureDocument& doc) {
    return LangText(key) + "\n\n\"" + fileStemOf(doc.FilePath) + "\"";
}

}  // namespace

std::string translatedFilterCaption(const std::string& filter, const std::string& key) {
    // "Caption (*.EXT)|*.EXT": the caption in the user's language when the language has it.
    const std::string caption = LangText(key);
    const size_t open = filter.find(" (");
    if (caption == "**" || caption.empty() || open == std::string::npos) return filter;
    return caption + filter.substr(open);
}

std::string documentDialogFilter(const FileEnvironment& env) {
    std::string filter = translatedFilterCaption(env.documentFilter, "DocumentFiles_25");
    const size_t bar = filter.find('|');
    if (bar != std::string::npos && !env.defaultExtension.empty()) {
        const std::string pattern = "*." + env.defaultExtension;
        if (filter.find(pattern) == std::string::npos) {
            filter += ";" + pattern;
            const size_t close = filter.rfind(')', bar);
            if (close != std::string::npos) filter.insert(close, " " + pattern);
        }
    }
    return filter;
}

std::string openDialogFilter(const FileEnvironment& env) {
    // The documents, the transcripts that Open imports, and every file.
    std::string filter = documentDialogFilter(env);
    std::string transcripts = env.importFilter;
    if (const size_t b = transcripts.find('|'); b != std::string::npos)
        transcripts = LangText("TranscriptFiles_25") + " (*.KRD)" + transcripts.substr(b);
    if (!transcripts.empty()) filter += (filter.empty() ? "" : "|") + transcripts;
    filter += (filter.empty() ? "" : "|") + LangText("AllFiles_25") + " (*)|*";
    return filter;
}

void noteRecentFile(RecentFiles& recent, const std::string& path) {
    if (recent.empty() || recent.newest(1) != path) recent.append(path);
}

std::string fileNameOf(const std::string& path) {
    size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string fileStemOf(const std::string& path) {
    std::string name = fileNameOf(path);
    size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string replaceExtension(const std::string& path, const std::string& extension) {
    size_t cut = path.find_last_of("/\\");
    size_t dot = path.rfind('.');
    if (dot == std::string::npos || (cut != std::string::npos && dot < cut))
        return path + extension;
    return path.substr(0, dot) + extension;
}

std::string freeNameBeside(const std::string& path) {
    const size_t cut = path.find_last_of("/\\");
    const size_t dot = path.rfind('.');
    const bool hasExtension = dot != std::string::npos && (cut == std::string::npos || dot > cut);
    const std::string stem = hasExtension ? path.substr(0, dot) : path;
    const std::string extension = hasExtension ? path.substr(dot) : std::string();
    for (int n = 2;; ++n) {
        std::string candidate = stem + " (" + std::to_string(n) + ")" + extension;
        if (!fileExists(candidate)) return candidate;
    }
}

bool confirmCloseDocument(StructureDocument& doc, Prompts& prompts,
                          const std::function<bool(StructureDocument&)>& save,
                          const std::string& transferFolder) {
    if (doc.Loading) return false;
    const std::string title = LangText("mbcConfirmation_20");
    if (!doc.HasFile) {
        switch (prompts.askYesNoCancel(title, closeQuestionText("msgWantSaveFile_50", doc))) {
            case Answer::Yes:
                // A cancelled dialog or a failed write keeps the window and its data.
                if (!save(doc)) {
                    doc.SaveCancelled = false;
                    return false;
                }
                break;
            case Answer::No: {
                doc.setModified(false);
                // The document is discarded: so are its temporary transfer files.
                std::error_code ec;
                if (!transferFolder.empty()) {
                    if (!doc.DownloadTag.empty())
                        fs::remove(fs::path(transferFolder) / doc.DownloadTag, ec);
                    if (doc.HasImportTemp && !doc.ImportTag.empty()) {
                        fs::remove(fs::path(transferFolder) / doc.ImportTag, ec);
                        doc.HasImportTemp = false;
                    }
                }
                break;
            }
            default:
                return false;
        }
    }
    if (doc.Modified) {
        switch (prompts.askYesNoCancel(title, closeQuestionText("msgWantSaveChanges_50", doc))) {
            case Answer::Yes:
                if (!save(doc)) {
                    doc.SaveCancelled = false;
                    return false;
                }
                doc.setModified(false);
                break;
            case Answer::No:
                break;
            default:
                return false;
        }
    }
    return true;
}

FileCommands::FileCommands(DocumentHost& host, Prompts& prompts, RecentFiles& recent,
                           FileEnvironment env)
    : host_(host), prompts_(prompts), recent_(recent), env_(std::move(env)) {}

std::string FileCommands::dialogFolder() const {
    return env_.documentFolder.empty() ? env_.openDirectory : env_.documentFolder;
}

void FileCommands::noteDocumentFolder(const std::string& path) {
    const std::string name = fileNameOf(path);
    if (name.size() == path.size()) return;
    std::string folder = path.substr(0, path.size() - name.size());
    if (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\')) folder.pop_back();
    env_.documentFolder = folder;
    if (env_.documentFolderUsed) env_.documentFolderUsed(folder);
}

void FileCommands::openCommand() {
    FileDialogRequest request;
    request.title = LangText("OpenTitle_15");
    request.directory = dialogFolder();
    request.filter = openDialogFilter(env_);
    request.defaultExtension = env_.defaultExtension;
    if (auto path = prompts_.chooseOpenFile(request))
        if (open(*path)) noteDocumentFolder(*path);
}

StructureDocument* FileCommands::openRecent(int k) {
    if (k < 1 || k > recent_.size()) return nullptr;
    std::string path = recent_.newest(k);
    return open(path);
}

StructureDocument* FileCommands::open(const std::string& path) {
    if (isTranscriptPath(path)) return importTranscript(path, true);
    if (!fileExists(path)) {
        prompts_.error(LangText("msgFileNotExist_35") + "\n" + path);
        return nullptr;
    }
    // A file that is open already: its window comes to the front. A second, independent
    // window of the same file would lose the changes of whichever is saved first.
    if (StructureDocument* open = host_.activateDocumentOf(path)) {
        noteRecentFile(recent_, path);
        return open;
    }
    // A file without any of the format's markers is no document: opening it would give
    // an empty document that a save would write over the file. Its head tells, so a large
    // file of another kind is not read whole.
    std::string bytes;
    auto readError = [&] {
        prompts_.error(LangText("msgReadError_35") + "\n" + path + ": " + std::strerror(errno));
    };
    if (!readFileHead(path, kDocumentHeadBytes, bytes)) {
        readError();
        return nullptr;
    }
    if (!looksLikeDocument(bytes)) {
        std::string text = LangText("msgNotDocument_50") + "\n" + path;
        if (looksLikeTranscript(bytes)) text += "\n" + LangText("msgTranscriptHint_70");
        prompts_.error(text);
        return nullptr;
    }
    // Then the whole file, once (a file shorter than the head is whole already).
    if (bytes.size() == kDocumentHeadBytes && !readFileBytes(path, bytes)) {
        readError();
        return nullptr;
    }
    auto owned = std::make_unique<StructureDocument>();
    owned->Caption = fileNameOf(path);
    owned->FilePath = fileNameOf(path);
    StructureDocument* doc = host_.createDocumentWindow(std::move(owned), path, {});
    if (!doc) return nullptr;
    doc->Loading = true;

    DocumentReadResult result;
    {
        BusyCursor busy(prompts_);
        DocumentReadOptions options;
        options.hook = env_.results;
        options.instrumentDataRead = [this](const TInstrumentData& d) {
            host_.showInstrumentData(d);
        };
        result = readDocumentFromBytes(*doc, bytes, options);
    }
    // A document read only in part has no file of its own: Save goes through Save As,
    // which suggests a new name beside the file, so that the damaged file (with what
    // could not be read) is not replaced by two presses of Enter.
    doc->FilePath = result.ok ? path : freeNameBeside(path);
    doc->HasFile = result.ok;
    host_.documentLoaded(*doc);
    host_.refreshCommandState();
    doc->Loading = false;
    noteRecentFile(recent_, path);
    if (!result.ok) {
        prompts_.warning(LangText("msgReadPartly_50") + "\n" + path + "\n" + result.error + "\n" +
                         LangText("msgSaveAsHint_70"));
    } else if (doc->NewFunctionsSeen) {
        prompts_.information(LangText("msgNewFunct_35"));
        doc->NewFunctionsSeen = false;
    }
    return doc;
}

void FileCommands::importCommand() {
    FileDialogRequest request;
    request.directory = dialogFolder();
    request.filter = translatedFilterCaption(env_.importFilter, "TranscriptFiles_25");
    if (auto path = prompts_.chooseOpenFile(request))
        if (importTranscript(*path, false)) noteDocumentFolder(*path);
}

StructureDocument* FileCommands::importTranscript(const std::string& path, bool throughOpen) {
    if (!fileExists(path)) return nullptr;
    int n = host_.nextImportNumber();
    std::string tag = "#Import" + std::to_string(n) + "#";
    auto owned = std::make_unique<StructureDocument>();
    owned->ImportTag = tag;
    owned->FilePath = replaceExtension(path, ".PLV");
    owned->Caption = throughOpen ? fileNameOf(path) : tag + "     (" + fileNameOf(path) + ")";
    StructureDocument* doc =
        host_.createDocumentWindow(std::move(owned), path, throughOpen ? std::string() : tag);
    if (!doc) return nullptr;

    std::string tempPath = joinPath(env_.transferFolder, tag);
    std::error_code ec;
    if (!env_.transferFolder.empty()) fs::create_directories(fs::path(env_.transferFolder), ec);
    std::ofstream temp;
    if (!env_.transferFolder.empty())
        temp.open(fs::path(tempPath), std::ios::binary | std::ios::trunc);
    if (!temp) {
        prompts_.error(LangText("msgWriteError_35"));
        host_.refreshCommandState();
        return doc;
    }
    std::string transcript;
    TranscriptConversion conversion;
    {
        BusyCursor busy(prompts_);
        if (!readFileBytes(path, transcript)) {
            temp.close();
            prompts_.error(LangText("msgWriteError_35"));
            host_.refreshCommandState();
            return doc;
        }
        conversion = convertTranscript(transcript, temp);
        temp.close();
    }
    if (!temp) {
        prompts_.error(LangText("msgWriteError_35"));
        host_.refreshCommandState();
        return doc;
    }
    doc->InstrumentData = conversion.instrument;
    if (conversion.instrumentDataSeen) host_.instrumentDataReceived(conversion.instrument);

    DocumentReadResult result;
    std::string bytes;
    doc->Loading = true;
    if (readFileBytes(tempPath, bytes)) {
        BusyCursor busy(prompts_);
        DocumentReadOptions options;
        options.hook = env_.results;
        result = readDocumentFromBytes(*doc, bytes, options);
    }
    doc->Loading = false;
    doc->HasFile = false;
    doc->HasImportTemp = true;
    host_.documentLoaded(*doc);
    host_.refreshCommandState();
    // What the transcript lacked is said, with what was read; the imported document has
    // no file, so Save goes through Save As.
    std::string problems;
    if (!conversion.ok)
        problems += "\n" + conversion.error;
    else if (!result.ok)
        problems += "\n" + result.error;
    for (const std::string& loss : transcriptLosses(conversion)) problems += "\n" + loss;
    if (!problems.empty()) {
        prompts_.warning(
            LangText("msgReadPartly_50") + "\n" + path + problems + "\n" +
            LangText("msgStructRead_35") + " " + std::to_string(conversion.structureRecords) +
            ", " + LangText("msgResultsRead_35") + " " + std::to_string(conversion.resultRecords));
    }
    if (result.orphans > 0)
        prompts_.warning(path + "\n" + LangText("msgOrphans_70") + " " +
                         std::to_string(result.orphans));
    if (doc->NewFunctionsSeen) {
        prompts_.information(LangText("msgNewFunct_35"));
        doc->NewFunctionsSeen = false;
    }
    return doc;
}

bool FileCommands::save(StructureDocument& doc) {
    if (doc.HasFile) return saveTo(doc, doc.FilePath);
    return saveAs(doc);
}

bool FileCommands::saveAs(StructureDocument& doc) {
    FileDialogRequest request;
    request.title = LangText("SaveTitle_15");
    request.filter = documentDialogFilter(env_);
    request.defaultExtension = env_.defaultExtension;
    // The dialog starts in the document's own folder when it has one, otherwise (new and
    // downloaded documents, named after their caption) in the folder last used.
    request.fileName = fileNameOf(doc.FilePath);
    request.directory = request.fileName == doc.FilePath
                            ? dialogFolder()
                            : doc.FilePath.substr(0, doc.FilePath.size() - request.fileName.size());
    std::optional<std::string> chosen = prompts_.chooseSaveFile(request);
    if (!chosen || chosen->empty()) {
        doc.SaveCancelled = true;
        return false;
    }
    std::string path = *chosen;
    // A name without extension gets the default one.
    if (!env_.defaultExtension.empty() && fileNameOf(path).find('.') == std::string::npos)
        path += "." + env_.defaultExtension;
    if (!saveTo(doc, path)) return false;
    noteDocumentFolder(path);
    return true;
}

bool FileCommands::saveTo(StructureDocument& doc, const std::string& path) {
    const bool wasModified = doc.Modified;
    SafeSaveResult saved;
    {
        BusyCursor busy(prompts_);
        // Written through a buffer into a temporary file beside the target, which replaces
        // the target only when all of it reached the disk.
        SafeFileWriter out(path);
        writeDocument(doc, out);
        saved = out.commit();
    }
    if (!saved.ok) {
        // The file on disk stays as it was; the document keeps its name and its changes.
        doc.setModified(wasModified);
        prompts_.error(LangText("msgWriteError_35") + "\n" + path + ": " + saved.reason);
        return false;
    }
    if (doc.HasDownloadTemp) deleteTransferFile(doc.DownloadTag);
    if (doc.HasImportTemp) {
        deleteTransferFile(doc.ImportTag);
        doc.HasImportTemp = false;
    }
    doc.Caption = fileNameOf(path);
    doc.FilePath = path;
    doc.HasFile = true;
    doc.setModified(false);
    noteRecentFile(recent_, path);
    host_.documentRenamed(doc);
    host_.refreshCommandState();
    return true;
}

bool FileCommands::confirmClose(StructureDocument& doc) {
    return confirmCloseDocument(
        doc, prompts_, [this](StructureDocument& d) { return save(d); }, env_.transferFolder);
}

void FileCommands::deleteTransferFile(const std::string& tag) {
    if (tag.empty() || env_.transferFolder.empty()) return;
    std::error_code ec;
    fs::remove(fs::path(env_.transferFolder) / tag, ec);
}

}  // namespace pelvoro
