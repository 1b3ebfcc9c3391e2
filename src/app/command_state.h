#pragma once
// Which main-window commands are enabled, computed from the state of the program, and
// the texts of the File and Window menus' generated entries.

#include <string>
#include <vector>

namespace pelvoro {

struct CommandContext {
    int documentCount = 0;
    bool hasActiveDocument = false;
    bool portOpen = false;  // a transfer is running
    std::string selectedModel = "AutoFind";
    bool hasSelectedItem = false;
    bool selectedItemOnTopLevel = false;  // the selected item is the root
    bool selectedHasSeries = false;       // the selected item holds a measurement series
    int seriesKind = 0;
    bool resultTableShown = false;
    bool focusInResultArea = false;  // table, "SUB Items" box or detail-level choice
};

// What RefreshCommandState sets on the toolbar (and the two graph/table menu entries).
struct ToolbarEnabling {
    bool save = false;
    bool viewStructure = false;
    bool viewLightRep = false;
    bool tableGr = false;
    bool graph = false;
    bool moveUpDn = false;
    bool drawGraphMenu = false;
    bool showTableMenu = false;
    bool send = false;
    bool download = false;
    bool releaseMoveMode = false;  // no document: the move button pops up
};

ToolbarEnabling computeToolbarEnabling(const CommandContext& ctx);

// While a transfer runs (download, send, instrument data, auto find) the commands that
// use the port, open or close documents or end the program are refused: a second exchange
// would close the port under the running one, and a document window that went away
// would take the download's new document with it. The rest stay usable.
bool commandAllowedDuringTransfer(const std::string& command);

// Menu rules.
bool sendMenuEnabled(const CommandContext& ctx);      // rule S1
bool editCommandsEnabled(const CommandContext& ctx);  // rule E
bool deleteItemEnabled(const CommandContext& ctx);
bool exportEnabled(const CommandContext& ctx);
inline bool documentCommandsEnabled(const CommandContext& ctx) {
    return ctx.documentCount > 0;
}

// The tail of a path, cut after a folder separator once it is longer than 15
// characters: "C:\Data\Results\abc.TMV" -> "...\Results\abc.TMV".
std::string ShortenPath(const std::string& path);

// The recent-file entries of the File menu, newest first ("1: ...").
std::vector<std::string> recentFileCaptions(const std::vector<std::string>& oldestFirst);

// The Window menu lists at most this many document windows.
inline constexpr int kMaxWindowMenuEntries = 12;

// Title of the n-th new structure.
std::string newStructureTitle(int counter);

}  // namespace pelvoro
