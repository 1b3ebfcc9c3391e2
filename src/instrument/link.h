#pragma once
// The link to a tester: the blocking building blocks every instrument operation is made
// of, over one serial port, the link clock, the progress window and the prompts.
//
//   ensurePortOpen      open the port if it is closed ("msgNotAvailPort_35" when not)
//   connectInstrument   the ready handshake of a protocol family (opens the port)
//   readReplyLine       one CR-terminated reply line of a text-protocol (A) tester
//   sendAwaitEcho       send a family B or C command and wait for its echo
//   readBlock           take exactly n bytes into the transfer buffer
//   readUntilEof        a counted text block ending with "\n\r#EOF;"
//   endConnection       the family's goodbye, close the progress window and the port
//
// Every wait polls the input queue and lets user-interface events run between polls, so
// that the progress window's Cancel is seen. Cancel never produces a message. Operations
// always end with endConnection (or closePort) so the port is never open between
// commands.
//
// What differs between the protocol families (the handshake, the goodbye, the echoes) is
// given to the link as the family's FamilyLinkRules. Family A (text): three capital
// letters and CR; arguments on their own CR-ended lines (model family 1 and 2) or after
// ";" in the command line (model family 3); replies are CR-ended lines, a "SER" line
// carries the status. Family B (binary): three letters, the reply echoes them with "S"
// for "M", then a length and a block. Family C (single letters): data come in fixed
// blocks.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "common/link_clock.h"
#include "common/progress.h"
#include "common/prompts.h"
#include "instrument/family_link_rules.h"
#include "instrument/serial_port.h"

namespace pelvoro {

// Time limits of the link, in seconds of wall-clock time.
namespace link_limits {
inline constexpr double kReplyWindow = 0.864;  // one probe's wait for its reply
// One reply line: the first byte within this of the call, every further byte within this
// of the one before (a line of 90 characters takes 3 s at 300 baud).
inline constexpr double kLineLimit = 1.296;
// The longest line a tester sends (a split result line of an earlier tester is about 90
// characters); the whole line is bounded by replyLineLimit for this length.
inline constexpr std::size_t kLongestReplyLine = 256;
// A line that grows past this without its CR is not a tester's answer.
inline constexpr std::size_t kMaxReplyLine = 4096;
inline constexpr double kEchoLimit = 2.592;      // sendAwaitEcho overall
inline constexpr double kBlockFloor = 2.592;     // readBlock never gives up sooner
inline constexpr double kSilenceLimit = 1.296;   // readUntilEof between two bytes
inline constexpr double kHandshakeLimit = 8.64;  // connectInstrument overall
// Busy ("%") lines keep a handshake going past kHandshakeLimit, but not past this.
inline constexpr double kBusyLimit = 60.0;
inline constexpr double kIdentifyLimit = 4.32;  // identification overall
// The wait for the "SER" line after "MNN" and "MPR": each line must come within
// kLineLimit, and the whole wait ends after this long even if lines keep coming.
inline constexpr double kStatusWaitLimit = 8.64;
// A counted text block longer than this is not a tester's answer: the read fails as on
// silence, so that a line that never stops cannot hold the program.
inline constexpr std::size_t kMaxCountedBlock = 1000000;
inline constexpr double kPollInterval = 0.002;  // pause between two empty polls
}  // namespace link_limits

// Time allowed for a whole family A data reply (instrument data, one result, one
// structure entry): one and a half times the transmission time of a 1000-byte reply,
// never less than 8.64 s. Each line has its own limit; this one stops a tester that sends
// line after line (or bytes without a CR) for ever.
double familyADataReplyLimit(int baud);

// The overall bound of one reply line at a baud rate: kLineLimit plus about three and a
// half transmission times of the longest line, so that a tester that trickles bytes
// without a CR for ever still ends (31 s at 300 baud, 3.1 s at 4800).
double replyLineLimit(int baud);

// Time allowed for a block of n bytes at a baud rate: 34.56 * n / baud seconds (about
// three and a half times its transmission time), never less than 2.592 s.
double blockAllowance(std::size_t n, int baud);
// The time n bytes take on the line at `baud` (10 bits a byte); 0 for an unknown rate.
double transmissionSeconds(std::size_t n, int baud);

struct ReplyLine {
    bool ok = false;   // the CR came in time
    std::string text;  // the line without its CR; on a time-out, what came so far
};

struct EchoReply {
    bool ok = false;
    int length = 0;  // the length field of the reply (0 where the command has none)
};

struct CountReply {
    bool ok = false;
    long count = 0;
};

// A count line as a whole decimal number: blanks and line feeds around are allowed,
// anything else is not.
std::optional<long> wholeNumber(std::string_view text);

class Link {
  public:
    Link(SerialPort& port, LinkClock& clock, ProgressWindow& progress, Prompts& prompts);

    SerialPort& port() { return port_; }
    LinkClock& clock() { return clock_; }
    ProgressWindow& progress() { return progress_; }
    Prompts& prompts() { return prompts_; }

    // Port number 1 .. 16 and baud rate (300, 600, ...), as the port settings apply them.
    void setPortNumber(int number) { port_.setPortNumber(number); }
    int portNumber() const { return port_.portNumber(); }
    void setBaudRate(int baud) { port_.setBaudRate(baud); }
    int baudRate() const { return port_.baudRate(); }

    // --- connection ---------------------------------------------------------------
    // Opens the port when it is closed. On failure: closes it, shows
    // "msgNotAvailPort_35" (with the system's reason as a second paragraph) and
    // returns false; the caller ends without a further message.
    bool ensurePortOpen();
    // The ready handshake of the family; opens the port itself. The probe goes out at the
    // start of each kReplyWindow until the ready reply comes or kHandshakeLimit passes. On
    // failure the port is closed, the progress window closed, "msgConnectError_35" shown
    // unless cancelled.
    bool connectInstrument(const FamilyLinkRules& family);
    // Whether the last connectInstrument ended through Cancel (it clears cancelRequested
    // on its way out, so that the caller can still end its command quietly).
    bool handshakeCancelled() const { return handshakeCancelled_; }
    // Sends the family's goodbye (A "MEX" CR, B "MEX", C nothing); then closes the
    // progress window and the port and clears cancelRequested.
    void endConnection(const FamilyLinkRules& family);
    // Closes the port (errors ignored); for the operations' own clean-up.
    void closePort();
    bool isPortOpen() const { return port_.isOpen(); }

    // --- building blocks --------------------------------------------------------------
    // Writes the bytes as they are and lets events run; does not wait for a reply.
    void send(std::string_view bytes);
    // Throws away what arrived and was not read (a stray line before a request).
    void purgeInput();
    // One family A reply line. Fails when kLineLimit passes without a byte (counted from
    // the call for the first byte, from the last byte after that), when the line takes
    // longer than replyLineLimit(baud) as a whole, when it grows past kMaxReplyLine, or at
    // once when cancelled; the text then holds what came so far and is never a whole
    // line. A time-out is decided only when nothing is waiting: bytes that arrived while
    // the program was held up elsewhere (a modal dialog) are read first.
    ReplyLine readReplyLine();
    // Sends a family B or C command and waits for its echo as the family's echo rule of
    // the command says (family B "MXX" awaits "SXX" and its length field; family C "P"
    // awaits "E"). The taken bytes stay in the transfer buffer. No reply within kEchoLimit
    // shows "msgCommunFail_35" + "   Error #2C" unless cancelled. Commands that only ask
    // are sent again after each kReplyWindow without a reply. Both limits grow by the time
    // the command and its reply take on the line at its rate. A command that advances the
    // tester (family B "MRE", "MRG") is sent once and its reply awaited for the whole
    // kEchoLimit: a second send would make a late tester skip a record (its first reply
    // would be purged before the next request and that record lost). The time-out of a
    // window is decided only after looking at what has arrived. Bytes before the echo (a
    // second answer to an asking command sent twice) are passed over up to the next byte
    // that could begin it.
    EchoReply sendAwaitEcho(std::string_view command, std::string_view expectedEcho,
                            const FamilyLinkRules& family);
    // Takes exactly n bytes into the transfer buffer within blockAllowance(n, baud).
    // Failure shows "msgCommunFail_35" + "   Error #3"; Cancel sets interrupted().
    bool readBlock(std::size_t n);
    // The same into a transfer buffer of `bufferSize` bytes: a length field above it is
    // garbled and fails at once with the block error, instead of waiting for a block the
    // buffer could not hold.
    bool readBlock(std::size_t n, std::size_t bufferSize);
    // readBlock for a long block (the identification block takes 12 s at 300 baud): the
    // main gauge shows the share of its bytes that has come.
    bool readBlockShowingBytes(std::size_t n);
    // A counted text block: "#count;" LF CR header, lines ending LF CR, the marker
    // "\n\r#EOF;" (kept in the text). Moves the second gauge by the count. Silence of
    // kSilenceLimit shows "msgCommunFail_35" + "   Error #4".
    ReplyLine readUntilEof();

    // --- status lines ---------------------------------------------------------------
    // Reads lines until one begins with "SER"; stops at a line time-out, at Cancel or
    // after `limit` seconds. The "SER" line when it came (also one cut off by a time-out).
    ReplyLine readUntilStatus(double limit = link_limits::kStatusWaitLimit);

    // "SER" lines: the status code is the text after "SER"; "" and "0" mean success.
    static bool isStatusLine(std::string_view line);
    static std::string statusCode(std::string_view line);
    static bool statusSuccess(std::string_view line);
    // True for a successful status line; for a failing one shows "Error: #" + code in a
    // plain box and returns false; any other line returns false without a message.
    bool checkStatus(std::string_view line);

    // --- cancel -------------------------------------------------------------------
    // Set by the progress window's Cancel (or requestCancel), cleared by endConnection,
    // the handshake's failure path and clearCancel.
    bool cancelRequested();
    void requestCancel() { cancel_ = true; }
    void clearCancel();
    // Set when readBlock ended through Cancel.
    bool interrupted() const { return interrupted_; }
    void clearInterrupted() { interrupted_ = false; }

    // --- state shared by the blocks -------------------------------------------------
    // The bytes taken by the last sendAwaitEcho or readBlock.
    const std::string& transferBuffer() const { return buffer_; }
    std::string& transferBuffer() { return buffer_; }
    // The last line or echo received.
    const std::string& lastReply() const { return lastReply_; }
    bool received() const { return received_; }

    // --- progress window and waiting ------------------------------------------------
    // Shows the progress window (caption "frmTransfering_35") with a step text.
    void showProgress(const std::string& step, bool gaugeVisible = true, bool cancelVisible = true);
    void setStep(const std::string& step) { progress_.setStep(step); }
    void hideProgress() { progress_.hide(); }
    void pause(double seconds) { clock_.pause(seconds); }
    void processEvents() { clock_.processEvents(); }
    // "msgCommunFail_35" + suffix ("   Error #3"), unless cancelled; hides the progress
    // window.
    void reportCommunicationFailure(std::string_view suffix);
    // While set, the link's communication failures are not shown (an exchange whose
    // answer does not matter).
    void setQuiet(bool quiet) { quiet_ = quiet; }

  private:
    void pollPause();
    bool takeBlock(std::size_t n, bool moveGauge);
    bool awaitOneMoreByte();
    bool handshakeReply(const FamilyLinkRules& family, double handshakeStart, double& windowStart);

    SerialPort& port_;
    LinkClock& clock_;
    ProgressWindow& progress_;
    Prompts& prompts_;
    std::string buffer_;
    std::string lastReply_;
    bool received_ = false;
    bool cancel_ = false;
    bool pressConsumed_ = false;
    bool interrupted_ = false;
    bool handshakeCancelled_ = false;
    bool quiet_ = false;
};

}  // namespace pelvoro
