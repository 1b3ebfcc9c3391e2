#pragma once
// The file commands of the main window: Open, Save, Save As, the recent files, Import of
// transcripts, and the question asked when a document window closes. They work against
// small interfaces, so the desktop program, the command-line program and tests run the
// same code.

#include <functional>
#include <memory>
#include <string>

#include "common/prompts.h"
#include "common/recent_files.h"
#include "document/structure_document.h"

namespace pelvoro {

// What the file commands need from the main window.
class DocumentHost {
  public:
    virtual ~DocumentHost() = default;
    // Creates a document window showing `document` (an empty tree): its caption is the file
    // name of `fileName`, or `prefix` + five blanks + the file name in parentheses. Returns
    // the document, now owned by the window.
    virtual StructureDocument* createDocumentWindow(std::unique_ptr<StructureDocument> document,
                                                    const std::string& fileName,
                                                    const std::string& prefix) = 0;
    // The document of the active document window, or null.
    virtual StructureDocument* activeDocument() = 0;
    // The reader has filled `document`: show its tree with the root selected, the settings
    // panel and the window.
    virtual void documentLoaded(StructureDocument& document) = 0;
    // The document's Caption changed (after a save).
    virtual void documentRenamed(StructureDocument& document) = 0;
    virtual void refreshCommandState() = 0;
    // Counts imports of this run: 1, 2, ...
    virtual int nextImportNumber() = 0;
    // The open document that has `path` as its file (HasFile; the same file, by any
    // name), brought to the
    // front; null when none is. Open uses it so that one file never has two windows.
    virtual StructureDocument* activateDocumentOf(const std::string& path) {
        (void)path;
        return nullptr;
    }
    // Instrument data read from a file or a transcript (the instrument data window and
    // the main window's current instrument data show it).
    virtual void showInstrumentData(const TInstrumentData&) {}
    // A transcript brought instrument data: it becomes the main window's current record.
    virtual void instrumentDataReceived(const TInstrumentData&) {}
};

struct FileEnvironment {
    std::string transferFolder;    // temporary files of downloads and imports
    std::string documentFilter;    // "Caption (*.EXT)|*.EXT"
    std::string defaultExtension;  // "PLV"
    std::string importFilter;      // "Files (*.KRD)|*.KRD"
    std::string openDirectory;
    // Where the file dialogs start: the folder last used for documents (the user's
    // documents folder at first); openDirectory when empty.
    std::string documentFolder;
    // Told the folder of every document opened or saved through a dialog.
    std::function<void(const std::string& folder)> documentFolderUsed;
};

// A dialog filter ("Caption (*.EXT)|*.EXT") with the caption of `key` in the current
// language; unchanged when the language has no such text.
std::string translatedFilterCaption(const std::string& filter, const std::string& key);
// The documents of the open and save dialogs: the brand's filter with the extension a
// typed name gets on saving, so that files saved that way are listed too.
std::string documentDialogFilter(const FileEnvironment& env);
// The filter of the open dialog: the documents, the transcripts and all files.
std::string openDialogFilter(const FileEnvironment& env);

// Recent files: `path` becomes the newest entry unless it already is.
void noteRecentFile(RecentFiles& recent, const std::string& path);

// Whether two paths name the same file (links and relative names followed); equal texts
// when either does not exist.
bool sameFile(const std::string& a, const std::string& b);

// The file name of a path (after the last "/" or "\"), and the same without extension.
std::string fileNameOf(const std::string& path);
std::string fileStemOf(const std::string& path);
// `path` with its extension (if any) replaced by `extension` (".PLV").
std::string replaceExtension(const std::string& path, const std::string& extension);

// The question asked before a document window closes; false when it must stay open.
// `save` runs Save (or Save As) and returns true when the document was written.
bool confirmCloseDocument(StructureDocument& document, Prompts& prompts,
                          const std::function<bool(StructureDocument&)>& save,
                          const std::string& transferFolder);

class FileCommands {
  public:
    FileCommands(DocumentHost& host, Prompts& prompts, RecentFiles& recent, FileEnvironment env);

    // File > Open: asks for a file and opens it.
    void openCommand();
    // Opens `path`; a path ending in "KRD" or "krd" is imported instead. Returns the new
    // document (null when nothing was opened).
    StructureDocument* open(const std::string& path);
    // The k-th newest recent file (1 .. 4).
    StructureDocument* openRecent(int k);

    // Import: asks for a transcript and imports it.
    void importCommand();
    StructureDocument* importTranscript(const std::string& path, bool throughOpen);

    // Save: without asking when the document has its file, otherwise Save As. True when
    // the document was written.
    bool save(StructureDocument& document);
    bool saveAs(StructureDocument& document);
    // The save routine. The file is written next to `path` under a temporary name and
    // then renamed over it, so a failed save never leaves a half-written document. Only
    // a successful save removes the temporary transfer files and gives the document its
    // new name.
    bool saveTo(StructureDocument& document, const std::string& path);

    bool confirmClose(StructureDocument& document);

    const FileEnvironment& environment() const { return env_; }
    void setEnvironment(FileEnvironment env) { env_ = std::move(env); }

  private:
    void deleteTransferFile(const std::string& tag);
    std::string dialogFolder() const;
    void noteDocumentFolder(const std::string& path);

    DocumentHost& host_;
    Prompts& prompts_;
    RecentFiles& recent_;
    FileEnvironment env_;
};

}  // namespace pelvoro
