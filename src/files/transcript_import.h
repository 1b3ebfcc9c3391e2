#pragma once
// Transcripts ("*.KRD"): captured exchanges with an instrument, turned into a document by
// writing them out in the document file format (version 9) and reading that back.
//
// A transcript holds an instrument data part (">>MWH<<", lines "01." .. "11."), a structure
// part (">>MST<<", records of five lines ID, PID, BID, name, type in hexadecimal) and a
// results part (">>MRA<<", records of a head line with the owner's ID and result lines up
// to ">-<"); ">>>SER" ends the first two parts, ">P---<" the last one.

#include <iosfwd>
#include <string>
#include <vector>

#include "document/structure_document.h"

namespace pelvoro {

class ByteSink;

enum class TranscriptPart { InstrumentData, Structure, Results };

struct TranscriptConversion {
    // False when the conversion stopped at a malformed number; `error` names the line.
    bool ok = true;
    std::string error;
    int errorLine = 0;
    // Instrument data lines found in the transcript (line 8 and 9 may hold CRs).
    TInstrumentData instrument;
    bool instrumentDataSeen = false;
    int structureRecords = 0;
    int resultRecords = 0;
    // What the transcript lacked: parts whose marker line is missing, parts that the end
    // of the file (or the next part's marker) cut before their end line, and records cut
    // by the end of the file, which are not written.
    std::vector<TranscriptPart> missingParts;
    std::vector<TranscriptPart> cutParts;
    int cutRecords = 0;

    // Everything in the transcript was read.
    bool complete() const {
        return ok && missingParts.empty() && cutParts.empty() && cutRecords == 0;
    }
};

// Writes the document-file text of a transcript to `out`.
TranscriptConversion convertTranscript(const std::string& transcript, std::ostream& out);
TranscriptConversion convertTranscript(const std::string& transcript, ByteSink& out);

// One line per loss of a conversion, in the current language: the missing and the cut
// parts, the records cut by the end of the file. Empty when the transcript was read whole.
std::vector<std::string> transcriptLosses(const TranscriptConversion& conversion);

// Earlier instruments pack several results into one coded line for the function codes
// 22, 23, 24, 30, 31 and 32; such a line is split into one line per value slice. Other
// lines are returned unchanged.
std::vector<std::string> splitCodedResultLine(const std::string& line);

// The name carried by a mark-up line of the name kind ("#PN"): the text of its first run.
// Empty when the line is of another kind or holds no text.
std::string markupLineName(const std::string& line);

// Whether the bytes hold a transcript's part markers (">>MWH<<", ">>MST<<", ">>MRA<<").
bool looksLikeTranscript(const std::string& bytes);

// Whether a path names a transcript: it ends in "KRD" or "krd" (mixed case does not count).
bool isTranscriptPath(const std::string& path);

}  // namespace pelvoro
