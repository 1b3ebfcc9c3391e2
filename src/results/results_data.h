#pragma once
// The parsed-result record: one FP string read into named values. There is one record per
// document window; every parse overwrites it, and the line generator reads it right after.
//
// Each sub-record begins with its byte fields (status, earthing system, sub-function and the
// like) followed by its value pairs. A value pair keeps the instrument's text unchanged and
// the unit it is shown with (the unit may carry the prefix that the value came with).
// Texts are bytes in the documents' single-byte code page.
//
// visit(v) calls v(label, field) for every field in order, with the label under which the
// value is shown; fields are uint8_t (byte fields), TResultValue or std::string (texts).
//
// The sub-records live with their measurement family (results/functions/<family>_records.h);
// the list of record kinds (function_codes.h) makes them members here.

#include <string>

#include "results/function_codes.h"
#include "results/functions/continuity_records.h"
#include "results/functions/current_records.h"
#include "results/functions/earth_records.h"
#include "results/functions/high_voltage_records.h"
#include "results/functions/impedance_records.h"
#include "results/functions/inspection_records.h"
#include "results/functions/insulation_records.h"
#include "results/functions/machine_records.h"
#include "results/functions/rcd_records.h"
#include "results/functions/voltage_records.h"
#include "results/functions/wiring_records.h"
#include "results/result_value.h"

namespace pelvoro {

struct TResultsData {
    // The function code as dispatched (after the +50 of the earlier typed instruments);
    // empty when the last parse recognised no code.
    std::string FunctionCode;

#define PELVORO_RECORD_MEMBER(kind, type, member, family) type member;
    PELVORO_RESULT_RECORDS(PELVORO_RECORD_MEMBER)
#undef PELVORO_RECORD_MEMBER

    // The number of FunctionCode; 0 when it is empty.
    int functionCode() const;
    // The sub-record that FunctionCode fills; None when it is empty.
    ResultRecord record() const;

    // Calls f(subRecord) with the sub-record of `which` (nothing for None).
    template <class F>
    void withRecord(ResultRecord which, F&& f) const;
};

template <class F>
void TResultsData::withRecord(ResultRecord which, F&& f) const {
    switch (which) {
        case ResultRecord::None:
            return;
#define PELVORO_RECORD_CASE(kind, type, member, family) \
    case ResultRecord::kind:                            \
        return f(member);
            PELVORO_RESULT_RECORDS(PELVORO_RECORD_CASE)
#undef PELVORO_RECORD_CASE
    }
}

}  // namespace pelvoro
