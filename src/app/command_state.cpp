#include "app/command_state.h"

#include <algorithm>

#include "common/lang_text.h"
#include "instrument/models.h"

namespace pelvoro {

namespace {
bool among(const std::string& key, std::initializer_list<const char*> keys) {
    return std::any_of(keys.begin(), keys.end(), [&](const char* k) { return key == k; });
}
}  // namespace

bool commandAllowedDuringTransfer(const std::string& command) {
    return !among(command, {"FileOpen", "OpenRecent", "FileClose", "Import", "NewStructure",
                            "DownLoadNewINSTR", "SendStructure", "InstrumentData", "PortSettings"});
}

ToolbarEnabling computeToolbarEnabling(const CommandContext& ctx) {
    ToolbarEnabling e;
    bool docs = ctx.documentCount > 0;
    e.save = e.viewStructure = e.viewLightRep = e.tableGr = e.graph = e.moveUpDn = docs;
    e.drawGraphMenu = e.showTableMenu = docs;
    // Rule S2.
    e.send = docs && !ctx.portOpen && !modelHas(ctx.selectedModel, kNoToolbarSend);
    e.download = !ctx.portOpen;
    e.releaseMoveMode = !docs;
    if (ctx.hasActiveDocument && docs && ctx.hasSelectedItem) {
        e.graph = e.drawGraphMenu = ctx.selectedHasSeries;
        e.tableGr = e.showTableMenu = ctx.selectedHasSeries && ctx.seriesKind != 6;
    }
    return e;
}

bool sendMenuEnabled(const CommandContext& ctx) {
    return ctx.documentCount > 0 && !modelHas(ctx.selectedModel, kNoMenuSend);
}

bool editCommandsEnabled(const CommandContext& ctx) {
    return ctx.documentCount > 0 && ctx.resultTableShown && ctx.focusInResultArea;
}

bool deleteItemEnabled(const CommandContext& ctx) {
    return ctx.documentCount > 0 && ctx.hasSelectedItem && !ctx.selectedItemOnTopLevel;
}

bool exportEnabled(const CommandContext& ctx) {
    return ctx.documentCount > 0 && ctx.resultTableShown;
}

std::string ShortenPath(const std::string& path) {
    std::string result;
    for (size_t i = path.size(); i-- > 0;) {
        char c = path[i];
        result.insert(result.begin(), c);
        if ((c == '\\' || c == '/') && result.size() > 15) return "..." + result;
    }
    return result;
}

std::vector<std::string> recentFileCaptions(const std::vector<std::string>& oldestFirst) {
    std::vector<std::string> captions;
    int n = int(oldestFirst.size());
    for (int i = 1; i <= std::min(n, 4); ++i)
        captions.push_back(std::to_string(i) + ": " + ShortenPath(oldestFirst[n - i]));
    return captions;
}

std::string newStructureTitle(int counter) {
    return LangText("NewStructure_25") + std::to_string(counter);
}

}  // namespace pelvoro
