// Cancel in every phase of a download, also in the phases before the records: the
// connection, the instrument data (the single-letter tester's identification block has a
// handshake of its own and takes 12 s at 300 baud). Each shows its step and ends quietly
// as cancelled: no message, no document, the port closed.

#include <gtest/gtest.h>

#include "common/lang_text.h"
#include "download_harness.h"

namespace pelvoro::e2e {
namespace {

TEST(DownloadCancel, EveryPhaseEndsQuietlyAsCancelled) {
    struct Case {
        const char* model;
        const char* scenario;
        const char* stepKey;  // Cancel is pressed while this step is shown ...
        int occurrence;       // ... for the n-th time
    };
    const Case cases[] = {
        {"CV61", "cv61.sim", "ConnectInstr_35", 1},
        {"CV61", "cv61.sim", "DLoadData_35", 1},     // the record count
        {"CV61", "cv61.sim", "ConnectInstr_35", 2},  // the identification's handshake
        {"CV61", "cv61.sim", "DLoadData_35", 2},     // the identification block
        {"TQ71", "tq71.sim", "DLoadData_35", 1},     // the instrument data lines
        {"TQ41", "tq41.sim", "DLoadData_35", 1},
        {"TQ42", "tq42.sim", "DLoadResults_35", 1},  // the instrument data block
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.model) + " " + c.stepKey + " #" + std::to_string(c.occurrence));
        DownloadBench bench(c.model, readFile(scenarioPath(c.scenario)), 300);
        const std::string step = LangText(c.stepKey);
        int seen = 0;
        std::size_t counted = 0;
        bench.clock.onEvents = [&] {
            if (bench.clock.now > bench.hangLimit) throw DownloadHang{};
            for (; counted < bench.progress.steps.size(); ++counted)
                if (bench.progress.steps[counted] == step) ++seen;
            // Pressed a moment into the step, while its wait runs.
            if (seen >= c.occurrence && bench.progress.visible) bench.progress.cancelled = true;
        };
        DownloadResult r = bench.run();
        ASSERT_FALSE(bench.hung);
        EXPECT_GE(seen, c.occurrence) << "the step is shown";
        EXPECT_EQ(r.outcome.status, DownloadStatus::Cancelled)
            << downloadStatusName(r.outcome.status);
        EXPECT_TRUE(bench.messages().empty()) << bench.messages().front();
        EXPECT_EQ(r.document, nullptr);
        EXPECT_FALSE(bench.port.isOpen());
        EXPECT_FALSE(bench.link.cancelRequested());
        EXPECT_TRUE(bench.host.files().empty());
    }
}

}  // namespace
}  // namespace pelvoro::e2e
