#pragma once
// Downloads against the simulator's tester engine, in memory: the engine answers what the
// link writes, its replies arrive on the virtual clock at the line's byte rate, so a
// whole fault matrix (silence, garbage, short blocks, dropped CRs, status errors, a
// pulled cable, Cancel) runs in milliseconds and a hang shows as an error instead of a
// stuck test. Usable for every tester family: give the model key and a scenario text
// (the simulator's scenario format, faults included).

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "files/document_file.h"
#include "instrument/instrument_context.h"
#include "instrument/models.h"
#include "protocols/download_command.h"
#include "scenario.h"
#include "sim_harness.h"
#include "support/language_fixture.h"
#include "support/memory_download_host.h"
#include "support/scripted_port.h"
#include "support/test_doubles.h"
#include "tester.h"

namespace pelvoro::e2e {

// Thrown by the clock when a download runs for longer than any could.
struct DownloadHang {};

using pelvoro::testing::MemoryDownloadHost;

class DownloadBench {
  public:
    // `scenarioText` in the simulator's scenario format; `baud` is the line's rate.
    DownloadBench(const std::string& modelKey, const std::string& scenarioText, int baud = 4800)
        : english_(readFile(std::string(PELVORO_SOURCE_DATA_DIR) + "/English.ini")),
          port(clock),
          link(port, clock, progress, prompts),
          models(modelKey, modelOf(modelKey)),
          context(link, models, "Tamvisto") {
        std::string error;
        sim::Scenario scenario;
        scenarioOk = sim::parseScenario(scenarioText, scenario, error);
        EXPECT_TRUE(scenarioOk) << error;
        const sim::TesterModel* model = sim::findTesterModel(modelKey);
        EXPECT_NE(model, nullptr) << modelKey;
        if (model)
            tester = std::make_unique<sim::Tester>(*model, scenario, [](const std::string&) {});
        port.setBaudRate(baud);
        link.setBaudRate(baud);
        port.onWrite = [this](std::string_view bytes) { deliver(bytes); };
        clock.onEvents = [this] {
            if (clock.now > hangLimit) throw DownloadHang{};
        };
    }

    // Instrument > DownLoad, finish included.
    DownloadResult run() {
        DownloadResult r;
        try {
            r = DownLoadNewINSTR(context, host);
        } catch (const DownloadHang&) {
            hung = true;
        }
        return r;
    }

    // The messages shown, in order.
    std::vector<std::string> messages() const { return prompts.texts(); }
    // Result items of the downloaded document.
    int results() const {
        int n = 0;
        if (host.document)
            for (StructureItem* item : host.document->preorder()) n += item->isResult();
        return n;
    }
    // The document as File > Save writes it.
    std::string savedText() {
        return host.document ? writeDocumentToString(*host.document) : std::string();
    }

    double hangLimit = 3600;  // virtual seconds
    bool hung = false;
    bool pulled = false;
    bool scenarioOk = false;

  private:
    static int modelOf(const std::string& key) {
        const InstrumentModel* m = modelByKey(key);
        return m ? m->modelFamily : 0;
    }
    // The tester's replies go on the line one after another at the byte rate.
    void deliver(std::string_view bytes) {
        if (!tester || pulled || !port.isOpen()) return;
        const double perByte = 10.0 / double(port.baudRate());
        double at = std::max(clock.now, lineFreeAt_);
        for (const sim::Chunk& c : tester->feed(std::string(bytes))) {
            at += c.delayMs / 1000.0;
            port.arrive(c.bytes, at, perByte);
            at += perByte * double(c.bytes.size());
            if (c.pullAfter) {
                pulled = true;
                break;
            }
        }
        lineFreeAt_ = at;
    }

    pelvoro::testing::ScopedLanguage english_;

  public:
    pelvoro::testing::VirtualClock clock;
    pelvoro::testing::ScriptedPort port;
    pelvoro::testing::ProgressRecorder progress;
    pelvoro::testing::ScriptedPrompts prompts;
    Link link;
    SimpleModelSelection models;
    InstrumentContext context;
    MemoryDownloadHost host;
    std::unique_ptr<sim::Tester> tester;

  private:
    double lineFreeAt_ = 0;
};

}  // namespace pelvoro::e2e
