#pragma once
// Send Structure: a structure prepared on the PC goes into the memory of a text tester
// that accepts one, so that the measurements taken on site are filed under the right
// objects, boards and circuits.
//
// Two kinds of tester take a structure:
//   TQ41, TQ45, LR40000115, LS40000118  "MAS" and five lines per entry; the tester gives
//                                        back its number for the entry, which the
//                                        entries below it name as their parent.
//   TQ75                                 "MAS;" level 1;level 2;level 3;item;name; per
//                                        entry: the position is numbered on the PC.
// Both may have their structure memory cleared first ("MCM"). Results are never sent.

#include <string>

#include "document/structure_document.h"
#include "instrument/instrument_context.h"

namespace pelvoro {

// The model keys whose testers accept a structure.
bool acceptsStructure(const std::string& key);
// Entries on their own lines (the tester numbers them) or after ";" (TQ75).
bool numbersEntriesItself(const std::string& key);

// The TQ75's number of an item type: 1 -> 1, 30 -> 2, 2 -> 3, ... 41 -> 14; 0 for a
// type the tester has no number for.
int instrumentItemNumber(int typeCode);

// TQ75: fills the three level numbers of every item from the root down. The children of
// an item are numbered 1, 2, 3 ... in order, results of type 23 not counted; a level-1
// item gets (n, "0", "0"), level 2 (parent's, n, "0"), level 3 (grandparent's, parent's,
// n). Items deeper than level 3 keep their numbers.
void numberStructureLevels(StructureDocument& document);

// TQ75: the message to show when the tester cannot take the structure (an item deeper
// than level 3, or an RCD, lightning rod, MPE, floor, room or table); empty when it can.
// Results of type 23 are not looked at.
std::string tq75StructureRefusal(const StructureDocument& document);

// The bytes of one "MAS" entry.
//   own lines: "MAS\r" "FFF0\r" parent "\r" "FFF0\r" name "\r" type and measures "\r"
//   ";" style: "MAS;" l1 ";" l2 ";" l3 ";" item ";" name ";" "\r"
// `parentReference` is "FFFF" under the root, otherwise the parent's number from the
// tester in upper-case hexadecimal of at least two digits. Names are cut to 16
// characters; line breaks in a name become blanks, and in the ";" style a ";" in a name
// becomes "," so that the fields stay where the tester expects them.
std::string ownLinesEntryCommand(const TStructItemData& item, const std::string& parentReference);
std::string semicolonEntryCommand(const TStructItemData& item, int itemNumber);
// The type text of the own-lines style: the type code and the five measure-bit bytes,
// each as two upper-case hexadecimal digits ("2A0102030405").
std::string structureTypeText(const TStructItemData& item);

enum class SendStructureResult {
    Sent,          // every entry arrived (also a document with nothing to send)
    NotAccepted,   // the model takes no structure ("msgNoStructure_70"; family B:
                   // "msgConnectError_35")
    NoConnection,  // no handshake, or no instrument data
    Refused,       // a TQ75 cannot take this structure; nothing was sent
    Declined,      // the question was answered Cancel (or No for TQ75)
    NotCleared,    // the count or the clearing of the tester's memory failed
    NotSent,       // an entry failed: time-out, refused, memory full or Cancel
};

struct SendStructureOutcome {
    SendStructureResult result = SendStructureResult::NotAccepted;
    std::string key;       // the model the command worked with
    int entriesSent = 0;   // entries the tester accepted
    bool cleared = false;  // "MCM" emptied the tester's structure memory
    bool memoryFull = false;
    bool cancelled = false;  // the progress window's Cancel ended it
};

// The command SendStructure on `document`: the model from the model selection (with Auto
// Find the tester is identified first), the handshake and the instrument data, the
// questions through the link's prompts, clearing, sending with the progress window and
// its Cancel, every message, and the end of the connection. What is sent is taken from
// the document when sending begins (the user interface runs while the entries go out);
// after a complete send every item's ID is -1, and the document is not marked modified.
//
// Where the tester would be left worse than before, this differs from the command as it
// was first described: a TQ75 structure that cannot be sent is refused before anything
// is asked or sent (it used to be refused after "MCM" had emptied the tester), and a full
// memory ("SER99") ends with "msgStrucNotSendSucces" instead of a success message.
SendStructureOutcome sendStructure(InstrumentContext& ctx, StructureDocument& document);

}  // namespace pelvoro
