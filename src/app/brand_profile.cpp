#include "app/brand_profile.h"

#include <algorithm>

namespace pelvoro {

const std::vector<std::string>& brandHiddenElements() {
    static const std::vector<std::string> kHidden = {
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
        // models
        "TQ60",
        "TQ61",
        "TQ95M",
        "TQ52",
        "RB7",
        "RB5",
        "GS880",
        "LP40000112",
        "LR40000115",
        "LS40000118",
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
