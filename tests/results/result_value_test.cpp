// The unit of a value pair: fixed units are referred to, others kept as copies; copies and
// moves of either kind hold their text whatever becomes of the unit they came from.

#include "results/result_value.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include "results/fp_parser.h"

namespace pelvoro {
namespace {

bool pointsInto(const UnitText& unit, const UnitText& other) {
    return !other.empty() && unit.data() >= other.data() &&
           unit.data() < other.data() + other.size();
}

TEST(UnitTextTest, CopiesAndMovesKeepTheirText) {
    struct Source {
        const char* name;
        std::function<UnitText()> make;
        std::string text;
        bool fixed;
    };
    const std::string longText(40, 'k');
    const Source sources[] = {
        {"empty", [] { return UnitText(); }, "", true},
        {"fixed", [] { return UnitText(FixedUnit(kOhm)); }, "#S258", true},
        {"copied", [] { return UnitText("mA"); }, "mA", false},
        {"long", [&] { return UnitText(longText); }, longText, false},
        {"prefixed",
         [] {
             UnitText u = FixedUnit("V");
             u.prepend("k");
             return u;
         },
         "kV", false},
        {"prefixed twice",
         [] {
             UnitText u = FixedUnit(kOhm);
             u.prepend("k");
             u.prepend("M");
             return u;
         },
         "Mk#S258", false},
    };
    // Each way of taking a unit, into a target that held an owned or a fixed text before.
    using Take = std::function<UnitText(UnitText&)>;
    const std::pair<const char*, Take> takes[] = {
        {"copy", [](UnitText& s) { return UnitText(s); }},
        {"copy over owned",
         [](UnitText& s) {
             UnitText t(std::string(30, 'x'));
             t = s;
             return t;
         }},
        {"copy over fixed",
         [](UnitText& s) {
             UnitText t = FixedUnit("Hz");
             t = s;
             return t;
         }},
        {"move", [](UnitText& s) { return UnitText(std::move(s)); }},
        {"move over owned",
         [](UnitText& s) {
             UnitText t("xy");
             t = std::move(s);
             return t;
         }},
    };
    for (const Source& source : sources) {
        for (const auto& [how, take] : takes) {
            SCOPED_TRACE(std::string(source.name) + ", " + how);
            auto from = std::make_unique<UnitText>(source.make());
            const char* const fixedText = from->data();
            UnitText taken = take(*from);
            EXPECT_EQ(taken, source.text);
            if (source.fixed && !source.text.empty()) {
                EXPECT_EQ(taken.data(), fixedText);
            }
            if (!source.fixed) {
                EXPECT_FALSE(pointsInto(taken, *from));
            }
            // The unit it came from changes and goes; the taken one keeps its text.
            from->prepend("G");
            *from = "changed";
            from.reset();
            EXPECT_EQ(taken, source.text);
            // Self-assignment and a copy of a part of its own text.
            taken = *&taken;
            EXPECT_EQ(taken, source.text);
            if (!source.text.empty()) {
                taken.assign(taken.view().substr(1));
                EXPECT_EQ(taken, source.text.substr(1));
            }
        }
    }
}

TEST(UnitTextTest, ComparesAndPrintsAsItsText) {
    const TResultValue owned{"30", "mA"};
    const TResultValue fixed{"30", FixedUnit("mA")};
    EXPECT_EQ(owned, fixed);
    EXPECT_NE(owned, (TResultValue{"30", "A"}));
    EXPECT_EQ(fixed.Unit, "mA");
    EXPECT_EQ(fixed.Unit, std::string("mA"));
    EXPECT_EQ(std::string("mA"), fixed.Unit);
    EXPECT_NE(fixed.Unit, "m");
    std::string line = "I: ";
    line.append(owned.Value).append(fixed.Unit);
    EXPECT_EQ(line, "I: 30mA");
    std::ostringstream os;
    os << fixed.Unit << '|' << owned.Unit;
    EXPECT_EQ(os.str(), "mA|mA");
}

// A prefix or a unit of its own that a string brought stays with that string: the next
// string of the code starts from the preset units again.
TEST(UnitTextTest, ParsedUnitsStartFromThePresetAgain) {
    TResultsData r;
    bool seen = false;
    ParseFpString("F;55;0;0;500;1k;2M;3;", {}, r, seen);
    const TResultsData first = r;
    ParseFpString("F;55;0;0;500;4;5;6;", {}, r, seen);
    EXPECT_EQ(r.ISO.Lim, (TResultValue{"4", kOhm}));
    EXPECT_EQ(r.ISO.Rln, (TResultValue{"5", kOhm}));
    EXPECT_EQ(first.ISO.Lim, (TResultValue{"1", "k#S258"}));
    EXPECT_EQ(first.ISO.Rln, (TResultValue{"2", "M#S258"}));
    // The times of the diagnostic test: a unit of their own replaces the preset one.
    const std::string times = "F;204;0;2;1G;2;3n;4n;5G;6G;7G;8;9;10;11;12;30s;1min;10min;";
    ParseFpString(times, {}, r, seen);
    EXPECT_EQ(r.DIAGN_TO.t2.Unit, "min");
    ParseFpString("F;204;0;2;1G;2;3n;4n;5G;6G;7G;8;9;10;11;12;30;1;10;", {}, r, seen);
    EXPECT_EQ(r.DIAGN_TO.t2, (TResultValue{"1", "s"}));
}

}  // namespace
}  // namespace pelvoro
