#pragma once
// The fixed lines of the document file format, shared by its reader and its writer.

#include <string_view>

namespace pelvoro::document_format {

inline constexpr std::string_view kVersionPrefix = "Version: ";
inline constexpr std::string_view kTerminator = "------";
inline constexpr std::string_view kBlockEnd = "----------";
inline constexpr std::string_view kInstrumentMarker = "$InstrumentData%";
inline constexpr std::string_view kOperatorMarker = "$HeaderOperator%";
inline constexpr std::string_view kHeaderInstrMarker = "$HeaderInstrData%";
inline constexpr std::string_view kCommentsMarker = "$ReportComments%";
inline constexpr std::string_view kItemsMarker = "$StructureItems%";

// File numbers 1 .. 7 of the header operator section, as indexes of TOperatorData:
// Operator1, Operator2, TestSite1, TestSite2, Footer, Operator3, TestSite3.
inline constexpr int kOperatorSlot[7] = {0, 1, 3, 4, 6, 2, 5};
// The header instrument data section holds instrument lines 2, 3, 7 and 8.
inline constexpr int kHeaderInstrLine[4] = {2, 3, 7, 8};

}  // namespace pelvoro::document_format
