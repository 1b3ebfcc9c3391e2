#pragma once
// Downloads from the text-protocol (family A) testers into a new document.
//
// Two branches:
//   - the structure-and-results download of the earlier testers (type code "50": TQ 41,
//     TQ 45, LR 40000115, LS 40000118): "MST" sends the tester's structure entry by
//     entry, "MRA" then sends every result with the ID of the entry that owns it;
//   - the results download of the later testers (type codes "51" to "55" and "60"):
//     "MR1" sends one result at a time with its position (object, block, fuse numbers),
//     and the structure is rebuilt from those positions (for TQ 75 also from the
//     tester's named structure).
// Neither builds tree items: both write the document file format into the download's
// temporary file, which the frame of the Download command then reads like any document.

#include <string>
#include <string_view>
#include <vector>

#include "instrument/instrument_context.h"
#include "protocols/family_a/family_a_lines.h"

namespace pelvoro {

// What a family A download needs from the Download command's frame.
class FamilyADownloadTarget {
  public:
    virtual ~FamilyADownloadTarget() = default;
    // Creates the download document and its empty temporary file. False when the file
    // could not be created (the frame has then told the user and ends the download).
    virtual bool createDocument() = 0;
    // Appends bytes to the temporary file.
    virtual void write(std::string_view text) = 0;
    // Reads the temporary file into the document and shows it.
    virtual void load() = 0;
};

// How a branch ended.
enum class FamilyAEnd {
    Complete,    // the document was loaded with everything the tester held
    Incomplete,  // the document was loaded with part of it (the user was told)
    Flawed,      // the document was loaded with every result, but the names of the
                 // tester's structure could not be read (the user was told) or Cancel
                 // ended their reading
    NoData,      // the tester holds nothing (the user was told)
    Cancelled,   // Cancel ended the download before a document was loaded; no message
    Failed,      // no document; the user was told why
};
struct FamilyAOutcome {
    FamilyAEnd end = FamilyAEnd::Failed;
    std::string messageKey;  // the message that told why, or empty
    // Results that came whole and the number the tester announced (-1: not known).
    long received = -1, expected = -1;
};

// The branches; each ends with the connection ended or handed to the frame's finish
// (which ends it again harmlessly). Every message is shown here (or by the link).
FamilyAOutcome downloadStructureAndResults(InstrumentContext& ctx, const std::string& key,
                                           FamilyADownloadTarget& target);
FamilyAOutcome downloadResultsOnly(InstrumentContext& ctx, const std::string& key,
                                   FamilyADownloadTarget& target);
// Dispatches by key (Failed with no message for keys of other families).
FamilyAOutcome downloadFamilyA(InstrumentContext& ctx, const std::string& key,
                               FamilyADownloadTarget& target);

}  // namespace pelvoro
