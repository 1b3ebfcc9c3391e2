#pragma once
// The simulated tester: takes the bytes the program sends and answers as a tester of one
// model would, from its scenario memory, with the faults asked for. No input or output
// happens here; the caller delivers the replies on the line.

#include <functional>
#include <string>
#include <vector>

#include "scenario.h"
#include "sim_model.h"

namespace pelvoro::sim {

// A piece of a reply: sent `delayMs` after the previous piece (or after the command).
struct Chunk {
    int delayMs = 0;
    std::string bytes;
    bool pullAfter = false;  // the cable is pulled once these bytes are out
};

class Tester {
  public:
    using Log = std::function<void(const std::string&)>;

    Tester(const TesterModel& model, Scenario scenario, Log log);

    // The bytes that arrived; returns what to send back.
    std::vector<Chunk> feed(const std::string& bytes);

    const Scenario& memory() const { return scenario_; }

  private:
    // Family A
    void feedA(char byte);
    void lineA(const std::string& line);
    void commandA(const std::string& name, const std::vector<std::string>& args);
    void addStructureEntry(const std::vector<std::string>& args);
    void sendStructureEntry();
    void sendMraResult();
    void finishWrite(const std::string& name, const std::string& payload);
    // Family B
    void feedB(char byte);
    void commandB(const std::string& name);
    void sendRecordB(const std::string& name, const RecordEntry& record);
    // Family C
    void feedC(char byte);

    // Reply building: lines for family A, raw bytes otherwise. The reply is collected and
    // handed to `reply`, which applies the faults.
    void reply(const std::string& command, std::vector<Chunk> chunks);
    void replyLines(const std::string& command, const std::vector<std::string>& lines);
    std::string instrumentValue(const std::string& key) const;
    std::string nextStructureId() const;
    int resultCount() const;

    const TesterModel& model_;
    Scenario scenario_;
    Log log_;
    std::vector<Chunk> out_;

    // Family A input state
    std::string line_;
    std::string pendingCommand_;  // a command waiting for its argument lines
    std::vector<std::string> pendingArgs_;
    bool argumentsClosed_ = false;  // the ";" arguments ended with ";"
    std::string lastCommand_;       // the last command line received
    size_t pendingNeeded_ = 0;
    std::string binaryCommand_;  // "MWN", "MWF" or "MWU" collecting checksum and text
    std::string binary_;
    enum class Ack { None, Structure, Results } ack_ = Ack::None;
    size_t ackIndex_ = 0;
    size_t resultPointer_ = 1;
    // Family B input state
    std::string letters_;
    size_t recordCursor_ = 0;
    // Family C input state
    bool expectParameter_ = false;
    bool armed_ = false;
    size_t recordCursorC_ = 0;
};

// The 16-bit wrapping sum of the bytes of `text`.
unsigned checksum16(const std::string& text);
// The bytes of a family B counted graph text: header, lines, end marker.
std::string graphText(const std::vector<std::string>& lines, int announced);

}  // namespace pelvoro::sim
