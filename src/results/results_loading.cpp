#include "results/results_loading.h"

#include "common/lang_text.h"
#include "common/prompts.h"
#include "document/structure_document.h"
#include "results/fp_parser.h"
#include "results/render_result.h"

namespace pelvoro {

void parseItemResults(StructureDocument& document, StructureItem& item, TResultsData& results,
                      const ResultRenderer& render) {
    const bool rendered = render && item.isResult();
    // The renderer may append to the item; the strings themselves stay as they are.
    for (size_t i = 0; i < item.data.FpStrings.size(); ++i) {
        const std::string& fp = item.data.FpStrings[i];
        if (fp.empty() || fp[0] != 'F') continue;
        ParseFpString(fp, item.data.ProtVer, document, results);
        if (rendered) render(document, item, results);
    }
}

void parseDocumentResults(StructureDocument& document, TResultsData& results,
                          const ResultRenderer& render) {
    for (StructureItem* item : document.preorder())
        parseItemResults(document, *item, results, render);
}

void ResultsParsingHook::resultItemLoaded(StructureDocument& document, StructureItem& item) {
    parseItemResults(document, item, results_, render_);
}

std::shared_ptr<ResultsParsingHook> makeResultsParsingHook(ResultRenderer render) {
    return std::make_shared<ResultsParsingHook>(std::move(render));
}

bool readsTheSame(const std::string& fromFp, const StructureDocument& from, const std::string& toFp,
                  const StructureDocument& to, int protVer) {
    auto lines = [protVer](const std::string& fp, const StructureDocument& doc, bool& unknown) {
        const TInstrumentData& d = doc.InstrumentData;
        TResultsData results;
        ParseFpString(fp, FpParseContext{d.typeCode(), d.InstrVariant, protVer}, results, unknown);
        RenderOptions options;
        options.variant = d.InstrVariant;
        return generateResultLines(results, options);
    };
    bool unknownFrom = false, unknownTo = false;
    return lines(fromFp, from, unknownFrom) == lines(toFp, to, unknownTo) &&
           unknownFrom == unknownTo;
}

bool reportNewFunctions(StructureDocument& document, Prompts& prompts) {
    if (!document.NewFunctionsSeen) return false;
    document.NewFunctionsSeen = false;
    prompts.information(LangText("msgNewFunct_35"));
    return true;
}

}  // namespace pelvoro
