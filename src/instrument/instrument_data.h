#pragma once
// The tester's identification data: how the writes of the instrument data dialog are
// encoded, and the rules of the serial number field (how each protocol family's reply
// fills the record is in that family's folder under protocols/). Everything here is pure: no port,
// no clock, no windows.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/structure_document.h"

namespace pelvoro {

// ---- Service switches given on the command line --------------------------------------

inline constexpr const char* kFactorySwitch = "brenkolivsaja";
inline constexpr const char* kCalibrationSwitch = "mirtavek";

struct ServiceSwitches {
    bool factory = false;      // serial number, instrument box and firm data become editable
    bool calibration = false;  // the calibration date is shown and written
};

// `args` are the program's arguments without the program name. The factory switch is
// only recognised as the first argument, the calibration switch as the first or second.
ServiceSwitches serviceSwitchesFromArguments(const std::vector<std::string>& args);
// True when the first argument names a document to open at start (not empty and not
// one of the service switches).
bool isStartDocumentArgument(const std::vector<std::string>& args);

// ---- Writes -----------------------------------------------------------------------------

inline constexpr uint16_t kSerialWriteMask = 0x58E3;

struct ClockValue {
    int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};
// The local date and time of the PC.
ClockValue currentClock();

// Upper-case hexadecimal with at least two digits: 5 -> "05", 2024 -> "7E8".
std::string hexField(int value);
// "MDT\r" or "MCD\r" followed by the six values, each as a hex text closed by CR.
std::string clockWriteCommand(std::string_view command, const ClockValue& clock);

// 16-bit wrapping sum of the byte values.
uint16_t textChecksum(std::string_view text);
// command + "\r", checksum low byte, high byte, the text, 0x00.
std::string textWriteCommand(std::string_view command, std::string_view text, uint16_t checksum);
// "MWN": the checksum is XORed with the serial-write mask.
std::string serialNumberWriteCommand(std::string_view serial);
// "MWF", "MWU": every LF of the box text is removed (CR stays) before summing and sending.
std::string boxTextWriteCommand(std::string_view command, std::string_view boxText);

// The outcome of the status line read after a write.
struct WriteStatus {
    bool ok = false;
    std::string errorCode;  // set when the tester answered "SER" with a code other than "" / "0"
};
// `received` is false when the line timed out.
WriteStatus interpretWriteStatus(bool received, std::string_view line);

// ---- Serial number field ----------------------------------------------------------------

inline constexpr int kSerialNumberMaxLength = 8;

// Increment (+1): "00000099" -> "00000100", "0" -> "1", "1234" -> "1235"; "99999999"
// and texts that are not numbers stay as they are.
std::string incrementSerialNumber(const std::string& text);

// The field accepts a change only right after a digit or backspace key; any other key
// makes the next change snap back to the last accepted text.
class SerialNumberFieldRules {
  public:
    void reset(const std::string& text) {
        accepted_ = text;
        changeAllowed_ = true;
    }
    void allowNextChange() { changeAllowed_ = true; }
    // A key press: digits and backspace allow the next change.
    void keyPressed(char key, bool isBackspace);
    // The text changed; returns the text the field must show.
    std::string changed(const std::string& newText);
    // A click accepts what the field shows.
    void clicked(const std::string& shownText);
    const std::string& acceptedText() const { return accepted_; }
    bool changeAllowed() const { return changeAllowed_; }

  private:
    std::string accepted_;
    bool changeAllowed_ = true;
};

// ---- The dialog ---------------------------------------------------------------------------

// Send is enabled for the models whose data can be written, disabled for the binary
// models, and left as it is (nullopt) for the others.
std::optional<bool> sendEnabledForModel(std::string_view modelKey);

// The six lines of the instrument box, separated by LF.
std::string instrumentBoxText(const TInstrumentData& data);
// The box shown before anything was received.
std::string instrumentBoxTemplate();

}  // namespace pelvoro
