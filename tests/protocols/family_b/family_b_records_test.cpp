// The position and the graph text of family B records.

#include "protocols/family_b/family_b_records.h"

#include <gtest/gtest.h>

#include <string>

namespace pelvoro {
namespace {

TEST(FamilyBRecord, PositionAndGraphSplit) {
    EXPECT_EQ(familyBPosition(std::string("\x01\x02\x00\x03\xFF\xFF", 6)),
              (TreePosition{258, 3, 65535}));
    // Marker 00 "G" after the header, two more bytes, then the counted text with its LF CR
    // line ends; "*#" ends the graph.
    std::string hv =
        std::string("\0\0\0\0\x02R\0\0Pass\0G\0\0", 16) + "2;1;\n\r1.2E9;0;\n\r\n\n\r*#EOF;";
    GraphSplit s = splitGraph(hv);
    EXPECT_EQ(s.record, std::string("\0\0\0\0\x02R\0\0Pass", 12));
    EXPECT_EQ(s.graph,
              "2;1;\x14"
              "1.2E9;0;\x14\n\x14");
    // No marker: the record stays whole.
    std::string plain = std::string("\0\0\0\0\x02R\0\0Pass\0", 13);
    EXPECT_EQ(splitGraph(plain).record, plain);
    EXPECT_EQ(splitGraph(plain).graph, "");
    // A marker inside the header does not count.
    std::string early = std::string("\0G\0\0\x02R", 6);
    EXPECT_EQ(splitGraph(early).graph, "");
}

}  // namespace
}  // namespace pelvoro
