#include "document/graph_data.h"

#include <gtest/gtest.h>

namespace pelvoro {
namespace {

// 0x14 written as "|" in the cases below.
std::string bars(std::string s) {
    for (char& c : s)
        if (c == '|') c = '\x14';
    return s;
}

const char* const kHeader = "6;251205152000;1E9;1E5;2E9;2;5000;1000;250;1;300;10;0;1;";

TEST(GraphData, HeaderFieldsInTheirOrder) {
    TGraphData g = parseGraphString(bars(std::string(kHeader) + "|skipped;part|"));
    EXPECT_EQ(g.kind, 6);
    ASSERT_TRUE(g.start.valid);
    EXPECT_EQ(g.start.year, 2025);
    EXPECT_EQ(g.start.month, 12);
    EXPECT_EQ(g.start.day, 5);
    EXPECT_EQ(g.start.hour, 15);
    EXPECT_EQ(g.start.minute, 20);
    EXPECT_EQ(g.start.second, 0);
    EXPECT_EQ(g.rUpper, 1e9);
    EXPECT_EQ(g.rLower, 1e5);
    EXPECT_EQ(g.rLimit, 2e9);
    EXPECT_TRUE(g.resistanceLog());
    EXPECT_EQ(g.uMax, 5000);
    EXPECT_EQ(g.uMin, 1000);
    EXPECT_EQ(g.uExtra, 250);
    EXPECT_FALSE(g.voltageLog());
    EXPECT_EQ(g.tEnd, 300);
    EXPECT_EQ(g.tStart, 10);
    EXPECT_EQ(g.tScale, 1);
    EXPECT_TRUE(g.samples.empty());
}

TEST(GraphData, SamplesAndTheirEdgeCases) {
    struct Case {
        const char* name;
        std::string text;
        std::vector<TGraphSample> samples;  // U, R, t
    } cases[] = {
        {"no 0x14 at all: no samples",
         "2;251205143000;1E12;1E5;1E12;2;5000;5000;0;1;600;0;0;1;",
         {}},
        {"a header and a skipped part only", "2;|R;U;t;", {}},
        {"samples R, U, t; text after the last 0x14 is none",
         "2;|R;U;t;|1.2E9;5000;0;|1.3E9;5000;10;|#EOF;",
         {{5000, 1.2e9, 0}, {5000, 1.3e9, 10}}},
        {"comma decimals and further fields",
         "2;|x|1,5E9;4999,5;12,5;extra;|",
         {{4999.5, 1.5e9, 12.5}}},
        {"a resistance that does not parse is 0; U and t keep the previous sample's",
         "2;|x|2E9;1000;5;|abc;;x;|",
         {{1000, 2e9, 5}, {1000, 0, 5}}},
        {"an empty sample still counts", "2;|x||", {{0, 0, 0}}},
        {"over-range readings stay as they came", "2;|x|2E37;1000;5;|", {{1000, 2e37, 5}}},
        {"blanks around numbers", "2;|x| 7.5E8 ; 500 ; 30 ;|", {{500, 7.5e8, 30}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TGraphData g = parseGraphString(bars(c.text));
        EXPECT_EQ(g.kind, 2);
        ASSERT_EQ(g.samples.size(), c.samples.size());
        for (size_t i = 0; i < c.samples.size(); ++i) {
            EXPECT_DOUBLE_EQ(g.samples[i].U, c.samples[i].U) << i;
            EXPECT_DOUBLE_EQ(g.samples[i].R, c.samples[i].R) << i;
            EXPECT_DOUBLE_EQ(g.samples[i].t, c.samples[i].t) << i;
        }
    }
}

TEST(GraphData, HeaderFieldsThatDoNotParseKeepTheirDefaults) {
    TGraphData g = parseGraphString(bars("x;2512051520;;1E5;LOG;2;|x|"));
    EXPECT_EQ(g.kind, 0);
    EXPECT_FALSE(g.start.valid);  // not twelve digits
    EXPECT_EQ(g.rUpper, 0);
    EXPECT_EQ(g.rLower, 1e5);
    EXPECT_EQ(g.rLimit, 0);
    EXPECT_EQ(g.rScale, kScaleLog);
    EXPECT_FALSE(g.hasSamples());
}

}  // namespace
}  // namespace pelvoro
