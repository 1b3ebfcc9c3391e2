// Downloads of the text (A), binary (B) and single-letter (C) testers when the tester or
// the line misbehaves, one table through one harness: the messages shown (only those Cancel may
// show after Cancel), what the document keeps, the port closed, no temporary file left
// without a document, no hang.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <regex>

#include "common/lang_text.h"
#include "document/results_hook.h"
#include "download_harness.h"
#include "results/render_result.h"
#include "results/result_rows.h"
#include "results/results_loading.h"

namespace pelvoro::e2e {
namespace {

struct FaultCase {
    const char* name;
    const char* model;                  // model key
    const char* scenario;               // scenario file in tools/sim/scenarios
    const char* extra;                  // scenario lines added (faults, counts)
    int cancelAtGauge;                  // press Cancel when the gauge reaches this (-1: never)
    std::vector<std::string> messages;  // "key" or "key|suffix"; "{temp}" is the temporary file
    DownloadStatus status;
    int results;            // result items of the document (-1: no document)
    bool diskFull = false;  // the temporary file lies on a disk that takes nothing
};

std::string expectedText(const std::string& spec, const std::string& tempPath) {
    std::size_t bar = spec.find('|');
    std::string text = bar == std::string::npos
                           ? LangText(spec)
                           : LangText(spec.substr(0, bar)) + spec.substr(bar + 1);
    if (std::size_t at = text.find("{temp}"); at != std::string::npos)
        text.replace(at, 6, tempPath);
    return text;
}

const char* const kNotComplete = "msgDLoadNotCompl_50";
const char* const kConnect = "msgConnectError_35";
const char* const kNoEcho = "msgCommunFail_35|   Error #2C";
const char* const kShortBlock = "msgCommunFail_35|   Error #3";
const char* const kSilentGraph = "msgCommunFail_35|   Error #4";
const char* const kCommun = "msgCommunFail_35";
const char* const kKept = "msgCorectRecData_35";
const char* const kDiskFull = "msgWriteError_35|\n{temp}: No space left on device";
const char* const kNoNames = "msgStructNamesNotRead_70";

const std::vector<FaultCase>& faultCases() {
    using S = DownloadStatus;
    static const std::vector<FaultCase> cases = {
        // Installation tester, two records.
        {"B_clean", "TQ42", "tq42.sim", "", -1, {}, S::Complete, 2},
        {"B_silence", "TQ42", "tq42.sim", "fault silence\n", -1, {kConnect}, S::Failed, -1},
        // A count that did not come is no empty memory.
        {"B_silent_count", "TQ42", "tq42.sim", "fault silence@MNU\n", -1, {kNoEcho}, S::Failed, -1},
        {"B_disk_full", "TQ42", "tq42.sim", "", -1, {kDiskFull}, S::Failed, -1, true},
        {"B_garbage_record",
         "TQ42",
         "tq42.sim",
         "fault garbage@MRE#2\n",
         -1,
         {kNoEcho, kNotComplete},
         S::Incomplete,
         1},
        {"B_short_record",
         "TQ42",
         "tq42.sim",
         "fault short@MRE#2:3\n",
         -1,
         {kShortBlock, kNotComplete},
         S::Incomplete,
         1},
        {"B_pulled_first",
         "TQ42",
         "tq42.sim",
         "fault pull@MRE#1:5\n",
         -1,
         {kShortBlock, kNotComplete},
         S::Failed,
         -1},
        {"B_pulled_second",
         "TQ42",
         "tq42.sim",
         "fault pull@MRE#2:5\n",
         -1,
         {kShortBlock, kNotComplete},
         S::Incomplete,
         1},
        {"B_status_in_ready_reply", "TQ42", "tq42.sim", "fault ser:5\n", -1, {}, S::Complete, 2},
        {"B_cancel", "TQ42", "tq42.sim", "", 50, {}, S::Cancelled, -1},
        {"B_memory_ends_early",
         "TQ42",
         "tq42.sim",
         "result-count 3\n",
         -1,
         {kNotComplete},
         S::Incomplete,
         2},
        // A record request answered late: sent once and its reply waited for, so that the
        // tester does not move on to a record that would then be thrown away.
        {"B_late_record", "TQ42", "tq42.sim", "fault late@MRE#1:1500\n", -1, {}, S::Complete, 2},
        // A count or identification answered after the reply window: the command goes out
        // again and the tester answers twice; the second answer, arriving in the next
        // command's wait, is passed over.
        {"B_late_count", "TQ42", "tq42.sim", "fault late@MNU:1500\n", -1, {}, S::Complete, 2},
        {"B_late_identification",
         "TQ42",
         "tq42.sim",
         "fault late@MWH:1500\n",
         -1,
         {},
         S::Complete,
         2},
        {"C_late_count", "CV61", "cv61.sim", "fault late@RFF:1500\n", -1, {}, S::Complete, 3},
        {"B_silent_after_last", "TQ42", "tq42.sim", "after-last silent\n", -1, {}, S::Complete, 2},
        {"B_repeat_after_last", "TQ42", "tq42.sim", "after-last repeat\n", -1, {}, S::Complete, 2},
        // High-voltage tester with a graph on its second record.
        {"HV_clean", "TQ60", "tq60.sim", "", -1, {}, S::Complete, 2},
        {"HV_graph_without_cr",
         "TQ60",
         "tq60.sim",
         "fault nocr@MRG#2\n",
         -1,
         {kSilentGraph, kNotComplete},
         S::Incomplete,
         1},
        {"HV_graph_cut",
         "TQ60",
         "tq60.sim",
         "fault short@MRG#2:9\n",
         -1,
         {kSilentGraph, kNotComplete},
         S::Incomplete,
         1},
        {"HV_late_record", "TQ60", "tq60.sim", "fault late@MRG#1:2000\n", -1, {}, S::Complete, 2},
        {"HV_cancel", "TQ60", "tq60.sim", "", 40, {}, S::Cancelled, -1},
        // Machine tester, three records.
        {"C_clean", "CV61", "cv61.sim", "", -1, {}, S::Complete, 3},
        {"C_three_byte_count", "CV61", "cv61.sim", "count-bytes 3\n", -1, {}, S::Complete, 3},
        {"C_silence", "CV61", "cv61.sim", "fault silence\n", -1, {kConnect}, S::Failed, -1},
        {"C_silent_count",
         "CV61",
         "cv61.sim",
         "fault silence@RFF\n",
         -1,
         {kNoEcho, kConnect},
         S::Failed,
         -1},
        // Without the identification block the records still come; the user is told.
        {"C_no_identification",
         "CV61",
         "cv61.sim",
         "fault silence@t\n",
         -1,
         {kShortBlock, "msgIdentNotRead_70"},
         S::Flawed,
         3},
        {"C_disk_full", "CV61", "cv61.sim", "", -1, {kDiskFull}, S::Failed, -1, true},
        // A garbled acknowledgement is dropped and "P" asked again.
        {"C_garbage_ack", "CV61", "cv61.sim", "fault garbage@P#5\n", -1, {}, S::Complete, 3},
        {"C_garbage_acks",
         "CV61",
         "cv61.sim",
         "fault garbage@P#6\nfault garbage@P#7\nfault garbage@P#8\nfault garbage@P#9\n",
         -1,
         {kNoEcho, kNotComplete},
         S::Incomplete,
         1},
        {"C_short_record",
         "CV61",
         "cv61.sim",
         "fault short@R01#1:4\n",
         -1,
         {kShortBlock, kNotComplete},
         S::Incomplete,
         1},
        {"C_pulled",
         "CV61",
         "cv61.sim",
         "fault pull@R01#2:10\n",
         -1,
         {kShortBlock, kNotComplete},
         S::Incomplete,
         2},
        // A record garbled on the line is left out (no machine or result is made up from
        // it) and the download is not whole: the tester still holds it.
        {"C_garbage_record",
         "CV61",
         "cv61.sim",
         "fault garbage@R01#1\n",
         -1,
         {"msgRecordsDamaged_70", kNotComplete},
         S::Incomplete,
         2},
        {"C_pulled_first",
         "CV61",
         "cv61.sim",
         "fault pull@R00:10\n",
         -1,
         {kShortBlock, kNotComplete},
         S::Failed,
         -1},
        {"C_memory_ends_early",
         "CV61",
         "cv61.sim",
         "result-count 5\n",
         -1,
         {kNotComplete},
         S::Incomplete,
         3},
        {"C_no_records", "CV61", "cv61.sim", "result-count 0\n", -1, {}, S::Complete, 0},
        {"C_cancel", "CV61", "cv61.sim", "", 60, {}, S::Cancelled, -1},
        // Text-protocol results tester, six results.
        {"A_clean", "TQ71", "tq71.sim", "", -1, {}, S::Complete, 6},
        {"A_silence", "TQ71", "tq71.sim", "fault silence\n", -1, {kConnect}, S::Failed, -1},
        // Every ready probe answered late: the late answers must not pass for data.
        {"A_late_ready",
         "TQ71",
         "tq71.sim",
         "fault late@MRD:2000\n",
         -1,
         {kConnect},
         S::Failed,
         -1},
        {"A_silent_result",
         "TQ71",
         "tq71.sim",
         "fault silence@MR1#3\n",
         -1,
         {kCommun, kKept},
         S::Incomplete,
         2},
        {"A_garbage_result",
         "TQ71",
         "tq71.sim",
         "fault garbage@MR1#3\n",
         -1,
         {kCommun, kKept},
         S::Incomplete,
         2},
        {"A_short_result",
         "TQ71",
         "tq71.sim",
         "fault short@MR1#4:5\n",
         -1,
         {kCommun, kKept},
         S::Incomplete,
         3},
        {"A_dropped_cr",
         "TQ71",
         "tq71.sim",
         "fault nocr@MR1#2\n",
         -1,
         {kCommun, kKept},
         S::Incomplete,
         1},
        {"A_pulled",
         "TQ71",
         "tq71.sim",
         "fault pull@MR1#5:10\n",
         -1,
         {kCommun, kKept},
         S::Incomplete,
         4},
        {"A_no_results",
         "TQ71",
         "tq71.sim",
         "result-count 0\n",
         -1,
         {"msgNoDataToDownL_35"},
         S::NoData,
         -1},
        {"A_cancel", "TQ71", "tq71.sim", "", 50, {kNotComplete}, S::Incomplete, 3},
        {"A_disk_full", "TQ71", "tq71.sim", "", -1, {kDiskFull}, S::Failed, -1, true},
        // Text-protocol tester with a named structure: the names lost are said.
        {"A75_clean", "TQ75", "tq75.sim", "", -1, {}, S::Complete, 1},
        {"A75_corrupt_name_count",
         "TQ75",
         "tq75.sim",
         "fault garbage@MNN\n",
         -1,
         {"msgDataCorrupt_35", kNoNames},
         S::Flawed,
         1},
        {"A75_silent_name",
         "TQ75",
         "tq75.sim",
         "fault silence@MN1#2\n",
         -1,
         {kNoNames},
         S::Flawed,
         1},
        {"A75_garbled_name",
         "TQ75",
         "tq75.sim",
         "fault garbage@MN1#2\n",
         -1,
         {kNoNames},
         S::Flawed,
         1},
        // Text-protocol structure-and-results tester, three entries and two results.
        {"AS_clean", "TQ41", "tq41.sim", "", -1, {}, S::Complete, 2},
        {"AS_status",
         "TQ41",
         "tq41.sim",
         "fault ser@MST:5\n",
         -1,
         {kNotComplete},
         S::Incomplete,
         2},
        {"AS_pulled_structure",
         "TQ41",
         "tq41.sim",
         "fault pull@MST#2:4\n",
         -1,
         {kCommun, kKept},
         S::Incomplete,
         0},
        {"AS_garbage_result",
         "TQ41",
         "tq41.sim",
         "fault garbage@MRA#2\n",
         -1,
         {kCommun, kKept},
         S::Incomplete,
         1},
        {"AS_no_structure",
         "TQ41",
         "tq41.sim",
         "structure-count 0\n",
         -1,
         {"msgNoStructObj_35"},
         S::NoData,
         -1},
        {"AS_cancel_structure", "TQ41", "tq41.sim", "", 30, {}, S::Cancelled, -1},
        {"AS_disk_full", "TQ41", "tq41.sim", "", -1, {kDiskFull}, S::Failed, -1, true},
    };
    return cases;
}

class DownloadFaultMatrix : public ::testing::TestWithParam<FaultCase> {};

TEST_P(DownloadFaultMatrix, MessagesDocumentPortAndFiles) {
    const FaultCase& c = GetParam();
    std::string scenario = readFile(scenarioPath(c.scenario));
    // Settings lines go before the first section; sections may follow at the end.
    std::string extra = c.extra;
    if (extra.rfind("[", 0) == 0)
        scenario += "\n" + extra;
    else
        scenario = extra + scenario;
    DownloadBench bench(c.model, scenario);
    bench.progress.cancelAtGauge = c.cancelAtGauge;
    const std::string tempPath = bench.host.folder.file("#DownLoad1#");
    if (c.diskFull) std::filesystem::create_symlink("/dev/full", tempPath);
    DownloadResult r = bench.run();

    ASSERT_FALSE(bench.hung) << "the download did not end";
    std::vector<std::string> expected;
    for (const std::string& m : c.messages) expected.push_back(expectedText(m, tempPath));
    EXPECT_EQ(bench.messages(), expected);
    EXPECT_EQ(r.outcome.status, c.status) << downloadStatusName(r.outcome.status);
    EXPECT_FALSE(bench.port.isOpen());
    EXPECT_FALSE(bench.progress.visible);
    EXPECT_FALSE(bench.link.cancelRequested());
    if (c.results < 0) {
        EXPECT_EQ(r.document, nullptr);
        EXPECT_EQ(bench.host.document, nullptr);
        EXPECT_TRUE(bench.host.files().empty()) << bench.host.files().front();
    } else {
        ASSERT_NE(r.document, nullptr);
        EXPECT_EQ(bench.results(), c.results);
        EXPECT_EQ(bench.host.captions, std::vector<std::string>{"DownLoad1"});
        EXPECT_EQ(bench.host.files(), std::vector<std::string>{"#DownLoad1#"});
        EXPECT_TRUE(r.document->HasDownloadTemp);
        EXPECT_FALSE(r.document->HasFile);
    }
}

INSTANTIATE_TEST_SUITE_P(Families, DownloadFaultMatrix, ::testing::ValuesIn(faultCases()),
                         [](const ::testing::TestParamInfo<FaultCase>& info) {
                             return std::string(info.param.name);
                         });

// A download ends with the goodbye of its model's family, whichever branch ran: "MEX" CR
// for the text testers, "MEX" for the binary ones, none for the machine tester.
TEST(DownloadEnd, SaysTheGoodbyeOfTheModelsFamily) {
    struct Case {
        const char* model;
        const char* scenario;
        const char* goodbye;  // null: none
    };
    for (const Case& c : {Case{"TQ41", "tq41.sim", "MEX\r"}, Case{"TQ71", "tq71.sim", "MEX\r"},
                          Case{"TQ42", "tq42.sim", "MEX"}, Case{"CV61", "cv61.sim", nullptr}}) {
        SCOPED_TRACE(c.model);
        DownloadBench bench(c.model, readFile(scenarioPath(c.scenario)));
        DownloadResult r = bench.run();
        ASSERT_EQ(r.outcome.status, DownloadStatus::Complete);
        ASSERT_FALSE(bench.port.writes.empty());
        if (c.goodbye)
            EXPECT_EQ(bench.port.writes.back(), c.goodbye);
        else
            EXPECT_EQ(bench.port.count("MEX") + bench.port.count("MEX\r"), 0);
        EXPECT_FALSE(bench.port.isOpen());
    }
}

// The quantity a label or a unit names: 'U' voltage, 'I' current, 'R' resistance, 't'
// time, 'f' frequency; 0 for anything else.
char labelQuantity(const std::string& label) {
    if (label.rfind("dU", 0) == 0) return 'U';
    switch (label[0]) {
        case 'U':
        case 'I':
        case 'R':
        case 'Z':
            return label[0] == 'Z' ? 'R' : label[0];
        case 't':
            return label.size() == 1 ? 't' : 0;
        case 'f':
            return label.size() == 1 ? 'f' : 0;
    }
    return 0;
}
char unitQuantity(const std::string& unit) {
    static const std::map<std::string, char> kUnits = {
        {"V", 'U'},    {"kV", 'U'},   {"mV", 'U'},  {"A", 'I'},    {"mA", 'I'},   {"kA", 'I'},
        {"uA", 'I'},   {"nA", 'I'},   {"Ohm", 'R'}, {"mOhm", 'R'}, {"kOhm", 'R'}, {"MOhm", 'R'},
        {"GOhm", 'R'}, {"TOhm", 'R'}, {"s", 't'},   {"ms", 't'},   {"min", 't'},  {"Hz", 'f'}};
    auto it = kUnits.find(unit);
    return it == kUnits.end() ? 0 : it->second;
}

// Every scenario we ship is a tester as it should be: its download knows every code, and
// every value shown carries a unit of the quantity its label names.
TEST(ShippedScenarios, DownloadWithKnownCodesAndValuesThatFitTheirLabels) {
    const std::shared_ptr<ResultsHook> results =
        makeResultsParsingHook(makeLineRenderer(std::make_shared<CharacterCellMeasure>()));
    const std::filesystem::path folder =
        std::filesystem::path(scenarioPath("cv61.sim")).parent_path();
    const std::regex value(R"(([A-Za-z][A-Za-z0-9_]*): *([<>]?[0-9][0-9.]*)([A-Za-z]+))");
    int scenarios = 0, allChecked = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() != ".sim") continue;
        SCOPED_TRACE(entry.path().filename().string());
        const std::string text = readFile(entry.path().string());
        std::smatch m;
        std::string model;
        int baud = 4800;
        if (std::regex_search(text, m, std::regex(R"((^|\n)model +(\S+))"))) model = m[2];
        if (std::regex_search(text, m, std::regex(R"((^|\n)baud +([0-9]+))")))
            baud = std::stoi(m[2]);
        ASSERT_FALSE(model.empty());
        // A tester for the port search only, with nothing stored.
        if (text.find("\n[record]") == std::string::npos &&
            text.find("\n[result]") == std::string::npos)
            continue;
        DownloadBench bench(model, text, baud);
        bench.host.results = results;
        DownloadResult r = bench.run();
        ++scenarios;
        ASSERT_FALSE(bench.hung);
        EXPECT_EQ(r.outcome.status, DownloadStatus::Complete)
            << downloadStatusName(r.outcome.status);
        EXPECT_EQ(bench.messages(), std::vector<std::string>{});
        if (!r.document) continue;
        ResultRows rows = AssignResultRows(*r.document, &r.document->root(), kViewFull, true);
        ClipboardStaging table = renderTableText(rows, false);
        int checked = 0;
        for (int i = 0; i < table.total; ++i) {
            const std::string& cell = table.rows[size_t(i)][1];
            if (std::getenv("PELVORO_SHOW_TABLES")) std::cerr << cell << "\n";
            for (auto it = std::sregex_iterator(cell.begin(), cell.end(), value);
                 it != std::sregex_iterator(); ++it) {
                const char label = labelQuantity((*it)[1]);
                const char unit = unitQuantity((*it)[3]);
                if (!label || !unit) continue;
                ++checked;
                EXPECT_EQ(label, unit) << "\"" << (*it)[0] << "\" in: " << cell;
            }
        }
        allChecked += checked;
    }
    EXPECT_GE(scenarios, 9);
    EXPECT_GT(allChecked, 50) << "values with units were shown";
}

}  // namespace
}  // namespace pelvoro::e2e
