#pragma once
// The tester models the simulator can play. This table is the simulator's own: it is kept
// apart from the program's model table on purpose, so that a mistake in one cannot hide
// itself in the other.

#include <string>

namespace pelvoro::sim {

// How a tester talks: text lines, binary blocks, or single letters.
enum class Family { A, B, C };

struct TesterModel {
    const char* key;  // the model key the program uses ("TQ72", "CV61", ...)
    Family family;
    int argumentStyle;      // family A: 2 = arguments on their own lines, 3 = after ";"
    const char* modelText;  // what the tester reports as its model (empty for family C)
    const char* typeCode;   // instrument type code (families A and B)
    bool highVoltage;       // family B testers whose records may carry a graph
};

const TesterModel* findTesterModel(const std::string& key);
// "TQ41 TQ45 ..." for usage texts.
std::string testerModelKeys();

}  // namespace pelvoro::sim
