#pragma once
// The tester's memory and behaviour, read from a scenario file (see README.md).

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace pelvoro::sim {

// A fault injected into the replies: NAME[@COMMAND][#K][:ARG].
struct Fault {
    enum class Kind { Silence, Late, Garbage, Short, NoLineEnd, Status, Pull, Skip };
    Kind kind = Kind::Silence;
    std::string command;  // empty: every command; otherwise a prefix of the command name
    int occurrence = 0;   // 0: every matching reply; k: only the k-th one
    std::string arg;      // fault-specific (milliseconds, byte count, status code)
    int seen = 0;         // matching replies so far (counted by the tester)
};

// Parses "late@MWH:1500". On failure returns nothing and explains in `error`.
std::optional<Fault> parseFault(const std::string& text, std::string& error);
const char* faultName(Fault::Kind kind);

// One entry of the family A structure memory (five reply lines of "MST").
struct StructureEntry {
    std::string id, pid, bid, name, type;
};

// One stored family A result: the lines "MR1" returns, and the owner "MRA" announces.
struct ResultEntry {
    std::string parent = "01";
    std::vector<std::string> lines;
};

// One stored family B or C record: raw bytes, and for family B the graph text lines that
// follow a record holding the graph marker.
struct RecordEntry {
    std::string bytes;
    std::vector<std::string> graph;
    std::optional<int> graphCount;  // the count announced in the graph header
};

enum class AfterLast { Empty, Silent, Repeat };

struct Scenario {
    std::string model;        // model key when --model is not given
    int busyLines = 0;        // "%" lines before the ready reply (family A)
    int busyGapMs = 300;      // time between busy and progress lines
    int replyDelayMs = 2;     // time before every reply
    int countReplyBytes = 4;  // family C count reply: 0x02, 0x00, low, high (3: no high)
    AfterLast afterLast = AfterLast::Empty;  // family B: the request after the last record
    int capacity = 250;                      // structure entries before "SER99"
    int baud = 0;                       // throttle output to this rate (0: as fast as possible)
    bool strictBaud = false;            // ignore input unless the line is set to `baud`
    bool lenient = false;               // family C: answer data commands without a "P" first
    std::optional<int> resultCount;     // announced count when it differs from the memory
    std::optional<int> structureCount;  // likewise for "MNS"
    std::vector<Fault> faults;
    std::map<std::string, std::string> instrument;  // "name", "serial", ... (README)
    std::vector<StructureEntry> structure;
    std::vector<std::string> named;  // family A named structure lines ("MN1")
    std::vector<ResultEntry> results;
    std::vector<RecordEntry> records;
};

// The instrument keys a scenario may set, in the order of the family A reply.
const std::vector<std::string>& instrumentKeys();

// Reads a scenario text into `out` (which keeps its values where the text is silent).
// On failure returns false and explains in `error` with the line number.
bool parseScenario(const std::string& text, Scenario& out, std::string& error);

// "\r", "\n", "\t", "\\", "\xHH" and "\0" in a value become their bytes.
std::string unescape(const std::string& text, std::string& error);
// Bytes from hexadecimal pairs and quoted strings: 00 1A "abc\r" FF.
bool parseBytes(const std::string& text, std::string& out, std::string& error);

}  // namespace pelvoro::sim
