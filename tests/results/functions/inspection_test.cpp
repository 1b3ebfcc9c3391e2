// Inspections, schedules and checklists: the fields each string fills and the lines each result
// shows.

#include "results/functions/family_cases.h"

namespace pelvoro {
namespace {

using namespace family_tests;

TEST(FpParserTest, InspectionsAndSchedules) {
    runCases("16", {
                       {"F;16;0;1;0120;", {{"kind", "5"}, {"status", "1"}, {"G6", "0120"}}},
                       {"F;16;7;0;22;", {{"kind", "10"}, {"G5", "22"}}},
                       {"F;16;11;0;1;", {{"kind", "6"}, {"G1", "1"}}},
                       {"F;16;12;0;1;", {{"G1", "1"}}, true},
                   });
    runCases("22",
             {{"F;22;0;1;0120;3;", {{"status", "1"}, {"answers", "0120"}, {"section", "3"}}}});
    runCases("32", {{"F;32;;0;11;7;", {{"answers", "11"}, {"section", "7"}}},
                    {"F;32;;0;11;7;x;", {{"answers", "11"}, {"section", "7"}}, true}});
}

TEST_F(RenderTest, VisualInspectionWrapsQuestions) {
    r.VISUAL.Kind = 5;
    r.VISUAL.G[5] = "10";
    // 10 pixels a character: 160 + 250 leaves 25 characters a line.
    EXPECT_EQ(lines("16", {}, 410),
              (Lines{"X#PR#L1#K316: #K555#Cb#AR#K023", "X#PR#L2Installation as designed",
                     "X#PR#L2   #S344", "X#PR#L2Access to live parts",
                     "X#PR#L2   prevented by enclosures", "X#PR#L2   #S343", "X#PR#L2**",
                     "X#PR#L2**", "X#PR#L2**"}));
    // Without a usable width nothing wraps.
    EXPECT_EQ(lines("16", {}, 100)[1], "X#PR#L2Installation as designed  #S344");
}

TEST_F(RenderTest, ChecklistSectionsStylesAndWrapping) {
    r.FULSCHED.Status = 0;
    r.FULSCHED.Section = "1";
    r.FULSCHED.Answers = "0123";
    EXPECT_EQ(lines("22"), (Lines{"X#PR#FB#L1#K522#Cb#AR#K023", "X#PR#FB#L1Protection",
                                  "X#PR #S348 Barriers in place", "X#PR#H9#L1 #S349 Small print",
                                  "X#PR#FB#FU#L1 #S352 Underlined title"}));
    // Section 2 starts at question 9 and has no heading line.
    r.FULSCHED.Section = "2";
    r.FULSCHED.Answers = "50";
    EXPECT_EQ(lines("22", {}, 300),
              (Lines{"X#PR #S350 Ninth question", "X#PR#H9#FB#L1Tenth title"}));
    EXPECT_EQ(lines("22", {}, 260), (Lines{"X#PR #S350 Ninth", "X#PR#L2   question",
                                           "X#PR#H9#FB#L1Tenth", "X#PR#H9#FB#L2   title"}));
    // Style 8 is level 2 in the lists of codes 30 to 32; underlining is for schedules only.
    r.REBT_02.Section = "1";
    r.REBT_02.Answers = "4";
    EXPECT_EQ(lines("30")[1], "X#PR#H9#L2 #S351 Small question");
    r.FULSCHED.Section = "6";
    EXPECT_TRUE(lines("22").empty());
}

}  // namespace
}  // namespace pelvoro
