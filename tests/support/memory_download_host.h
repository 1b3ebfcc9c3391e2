#pragma once
// The document side of a download, in memory, for tests, benchmarks and fuzz targets.

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "document/results_hook.h"
#include "document/structure_document.h"
#include "support/language_fixture.h"
#include "transfer/download.h"

namespace pelvoro::testing {

// The document side of a download, in memory; temporary files in a folder of its own.
class MemoryDownloadHost : public DownloadHost {
  public:
    int nextDownloadNumber() override { return ++counter; }
    StructureDocument* createDownloadDocument(std::unique_ptr<StructureDocument> doc,
                                              const std::string& caption) override {
        captions.push_back(caption);
        document = std::move(doc);
        return document.get();
    }
    void downloadLoaded(StructureDocument&) override { ++loads; }
    void discardDownload(StructureDocument&) override {
        ++discards;
        document.reset();
    }
    std::string transferFolder() override { return folder.path(); }
    std::shared_ptr<ResultsHook> resultsReader() override { return results; }
    // Files left in the transfer folder.
    std::vector<std::string> files() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(folder.path()))
            names.push_back(e.path().filename().string());
        return names;
    }

    TempDir folder;
    std::shared_ptr<ResultsHook> results;  // none: the coded results stay as they are
    std::unique_ptr<StructureDocument> document;
    std::vector<std::string> captions;
    int counter = 0, loads = 0, discards = 0;
};

}  // namespace pelvoro::testing
