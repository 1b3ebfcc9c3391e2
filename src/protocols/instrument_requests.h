#pragma once
// The Instrument data dialog's exchanges: Receive reads the tester's data with its
// family's request (protocols/family_*/family_*_requests.h), Send writes its clock, user
// text and service data. Each request empties the record once the tester is reached, so
// the record holds only what that tester sent (a tester of family C, for one, sends no
// type code, model text or calibration date).

#include <string>

#include "instrument/instrument_context.h"
#include "instrument/instrument_data.h"

namespace pelvoro {

struct ReceiveOutcome {
    // The dialog shows ctx.data afterwards (also when no tester answered: it then shows
    // the data last read); false when a request failed after the handshake.
    bool showData = true;
    // The tester's data were read in this exchange.
    bool received = false;
};

// The Instrument data dialog's Receive: identifies the tester when Auto Find is
// selected, reads its data into ctx.data and ends the connection.
ReceiveOutcome receiveInstrumentData(InstrumentContext& ctx);

// What Send writes.
struct InstrumentWrites {
    ServiceSwitches switches;
    std::string serialNumber;  // written with the factory switch
    std::string firmData;      // box text, lines separated by CR LF; factory switch
    std::string userData;      // box text, lines separated by CR LF
    ClockValue now;            // the clock, and the calibration date with that switch
};

struct InstrumentWriteResult {
    bool ok = true;
    // The write that failed: the label key of its item ("labSerialNum_25" ...), and
    // whether the tester refused it (a status other than 0) or gave no status.
    std::string failedItem;
    bool refused = false;
};

// The writes after the connection is made, each after a purge of the input and followed
// by its status: only a "SER" line with status 0 is success (other lines before it are
// skipped within the status wait); a refusal shows "Error: #" and the code. Stops at the
// first failure.
InstrumentWriteResult writeInstrumentData(Link& link, const TInstrumentData& current,
                                          const InstrumentWrites& writes);

// The question Send asks before it writes: what will be written, and a warning when the
// fields show a document's data rather than what was just received from the tester.
std::string sendQuestion(const InstrumentWrites& writes, bool fieldsReceived);

// The Instrument data dialog's Send (family A testers only): connects, writes, shows
// "msgSendError_35" naming the item that failed and ends the connection. True when
// every write was accepted.
bool sendInstrumentData(InstrumentContext& ctx, const InstrumentWrites& writes);

}  // namespace pelvoro
