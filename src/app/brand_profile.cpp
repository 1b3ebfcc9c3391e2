#include "app/brand_profile.h"

#include <algorithm>

#include "instrument/models.h"

namespace pelvoro {

const std::vector<std::string>& brandHiddenElements() {
    static const std::vector<std::string> kHidden = [] {
        std::vector<std::string> hidden = {
            // send structure
            "tbnSend",
            "mmInstrSendStruct",
            // protocol reports
            "tbnCreateRep",
            "tbnPreviewRep",
            "mmFileCreatPROrep",
            "mmFilePrevPROrep",
            "mmStructAddAllMainPrCond",
            // configuration: options, the toolbar submenu and the separator before it
            "mmConfigOptions",
            "mmConfigToolbars",
            "sepConfigToolbars",
            "tbToolBar_AN",
            "mmHelpIndex",
            // add-item entries from position 14 on
            "sepStrAdd_AN",
            "mmStrAddObject_AN",
            "mmStrAddDistBoard_AN",
            "mmStrAddSubDistBoard_AN",
            "mmStrAddCircuit_AN",
            "mmStrAddCont_C_AN",
            "mmStrAddCont_M_AN",
            "mmStrAddCont_W_AN",
            "mmStrAddCont_O_AN",
            "mmStrAddCont_L_AN",
            "mmStrAddCont_G_AN",
            "mmStrAddCont_S_AN",
            "mmStrAddCont_I_AN",
            "mmStrAddCont_E_AN",
            "mmStructInstall",
            "tbnConnection",
            "mmStrAddConnection",
            // graph and table
            "tbnTableGr",
            "tbnGraph",
            "mmFileDrawGraph",
            "mmFileShowTable",
            "sepFileDrawGraph",
            "sepFileShowTable",
            "tbToolBarInstal",
            "tbToolBarGen",
            "tbnNew",
            "mmInstrModel",
            "sepInstrModel",
            "mmEdit",
            "mmStructure",
            "mmFilePrintStructure",
            "tbnViewStructure",
            "mmFileImport",
            "sepFileExport",
        };
        // the models the brand does not offer (their menu entries are named by key)
        for (const InstrumentModel& m : instrumentModels())
            if (m.has(kHiddenByBrand)) hidden.push_back(m.key);
        return hidden;
    }();
    return kHidden;
}

bool isHiddenByBrand(const std::string& elementName) {
    const auto& h = brandHiddenElements();
    return std::find(h.begin(), h.end(), elementName) != h.end();
}

const std::vector<std::string>& brandCollapsedToolbars() {
    static const std::vector<std::string> kCollapsed = {"tbToolBarInstal", "tbToolBarGen"};
    return kCollapsed;
}

}  // namespace pelvoro
