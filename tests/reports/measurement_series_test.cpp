#include "reports/measurement_series.h"

#include <gtest/gtest.h>

#include "support/language_fixture.h"

namespace pelvoro {
namespace {

using testing::ScopedLanguage;

const char* const kLanguage =
    "[Language]\nNo_3=No.\nBootmAxis_15=Time\nLeftAxis_15=Resistance\nRightAxis_15=Voltage\n"
    "MeasStart_35=Start:\nFunct_INSUL-RES=Insulation\nFunct_DIAGN-TEST=Diagnostic\n"
    "Funct_STEP-VOLT=Step voltage\n";

TGraphData series(int kind, double rUpper, double rLower, std::vector<TGraphSample> samples) {
    TGraphData g;
    g.kind = kind;
    g.rUpper = rUpper;
    g.rLower = rLower;
    g.rLimit = rUpper;
    g.rScale = kScaleLin;
    g.uMax = g.uMin = 1000;
    g.tEnd = 600;
    g.samples = std::move(samples);
    return g;
}

TEST(MeasurementSeries, ScalingByTheAverageReading) {
    struct Case {
        const char* name;
        TGraphData graph;
        std::string prefix;
        double factor;
    } cases[] = {
        {"average 5 MOhm", series(2, 1e12, 1e5, {{0, 9e6, 0}, {0, 1e6, 10}}), "M", 1e-6},
        {"over-range readings are not averaged", series(2, 1e12, 1e5, {{0, 2e9, 0}, {0, 2e37, 10}}),
         "G", 1e-9},
        {"every reading over the range: the middle of the range",
         series(2, 4e6, 1e3, {{0, 2e37, 0}, {0, 2e37, 10}}), "M", 1e-6},
        {"kilo", series(2, 1e12, 0, {{0, 1500, 0}}), "k", 1e-3},
        {"at most 1000: no prefix", series(2, 1e12, 0, {{0, 1000, 0}}), "", 1},
        {"a range ending at 1 in the unit steps down", series(2, 1e9, 0, {{0, 5e9, 0}}), "M", 1e-6},
        {"no prefix: nothing to step down", series(2, 0.5, 0, {{0, 0.2, 0}}), "", 1},
    };
    for (const Case& c : cases) {
        SeriesScaling s = seriesScaling(c.graph);
        EXPECT_EQ(s.prefix, c.prefix) << c.name;
        EXPECT_DOUBLE_EQ(s.factor, c.factor) << c.name;
    }
}

TEST(MeasurementSeries, ResistanceTextsAreNormalised) {
    EXPECT_EQ(formatResistance(0.5, "M"), "500  kOhm");
    EXPECT_EQ(formatResistance(0.0002, "M"), "200  Ohm");
    EXPECT_EQ(formatResistance(0, "M"), "0  MOhm");
    EXPECT_EQ(formatResistance(12345, "M"), "12.3  GOhm");
    EXPECT_EQ(formatResistance(999.7, "k"), "1  MOhm");
    EXPECT_EQ(formatResistance(5e6, "G"), "5e+03  TOhm");  // nothing above T
    EXPECT_EQ(formatElapsed(3725.4), "01:02:05");
}

TEST(MeasurementSeries, TwelveInstantTable) {
    ScopedLanguage lang(kLanguage);
    // Every 10 s from 0 s: all twelve rows; 15 s takes the sample at 10 s (5 s away and
    // no farther than the one at 20 s).
    std::vector<TGraphSample> every10;
    for (int t = 0; t <= 600; t += 10) every10.push_back({500.0 + t, 5e6 + t * 1000.0, double(t)});
    MeasurementTableRows rows = measurementTable(series(2, 1e12, 1e5, every10));
    EXPECT_EQ(rows[0][0], "    No.");
    EXPECT_EQ(rows[0][1], "    Time  [hh:mm:ss]");
    EXPECT_EQ(rows[0][2], "    Resistance");
    EXPECT_EQ(rows[0][3], "    Voltage");
    EXPECT_EQ(rows[1],
              (std::array<std::string, 4>{"   1", "    00:00:10", "    5.01  MOhm", "    510  V"}));
    EXPECT_EQ(rows[12], (std::array<std::string, 4>{"   12", "    00:10:00", "    5.6  MOhm",
                                                    "    1.100  kV"}));
    for (int r = 1; r <= 12; ++r) EXPECT_NE(rows[size_t(r)][1], "    ----") << r;

    // Samples at 0 s and 40 s: nothing within 5 s of 15 s or 30 s; the 40 s sample is
    // taken for neither.
    TGraphData sparse = series(2, 1e12, 1e5, {{500, 5e6, 0}, {500, 6e6, 40}});
    EXPECT_EQ(sampleForInstant(sparse, 15), -1);
    EXPECT_EQ(sampleForInstant(sparse, 30), -1);
    EXPECT_EQ(sampleForInstant(sparse, 60), -1);
    rows = measurementTable(sparse);
    EXPECT_EQ(rows[1], (std::array<std::string, 4>{"   1", "    ----", "    ----", "    ----"}));

    // Nearest-sample rules around an instant of 60 s.
    struct Case {
        std::vector<double> times;
        int expected;
    } cases[] = {
        {{50, 57, 64}, 1},   // earlier 3 s away, later 4 s: earlier
        {{50, 56, 64}, 1},   // both 4 s away: the earlier one
        {{50, 54, 63}, 2},   // earlier 6 s: later, 3 s away
        {{50, 54, 66}, -1},  // both too far
        {{0, 62}, 1},        // the earlier one is at 0 s: only the later one counts
        {{61}, 0},           // no earlier sample
        {{60, 60}, 0},       // the first of equal times
    };
    for (const Case& c : cases) {
        TGraphData g;
        for (double t : c.times) g.samples.push_back({0, 1, t});
        EXPECT_EQ(sampleForInstant(g, 60), c.expected) << c.times.size() << " " << c.times.back();
    }

    // Readings below and above the range, and over-range readings.
    TGraphData limits = series(2, 1e9, 1e6, {{5000, 5e5, 15}, {5000, 3e9, 30}, {5000, 2e37, 60}});
    limits.rLimit = 2e9;
    rows = measurementTable(limits);
    EXPECT_EQ(rows[1][2], "    < 1  MOhm");
    EXPECT_EQ(rows[2][2], "    > 1  GOhm");
    EXPECT_EQ(rows[3][2], "    > 1  GOhm");  // the limit is above the range: the range's end
    EXPECT_EQ(rows[3][3], "    5.000  kV");
}

TEST(MeasurementSeries, GraphOfAStepVoltageTest) {
    ScopedLanguage lang(kLanguage);
    TGraphData g = series(6, 1e9, 1e5, {});
    g.rLimit = 5e8;
    g.rScale = kScaleLog;
    g.uScale = kScaleLin;
    g.uMax = 5000;
    g.uMin = 1000;
    g.tStart = 0;
    g.tEnd = 300;
    g.start = {true, 2025, 12, 5, 15, 20, 0};
    // An over-range reading at 50 % of the time range, then a regular one.
    g.samples = {{1000, 4e8, 0}, {2000, 2e37, 150}, {3000, 3e8, 160}, {3000, 2e8, 170}};
    GraphPlot p = fillGraphPlot(g, false);
    EXPECT_EQ(p.title, "Step voltage");
    EXPECT_TRUE(p.voltageShown);
    EXPECT_TRUE(p.legendShown);
    EXPECT_EQ(p.scaling.prefix, "M");
    // Axes fitted to the readings: whole decades around 200 .. 400 M (the over-range
    // marker at 300 M inside), 1-2-5 steps for the voltage and the time.
    EXPECT_TRUE(p.left.log);
    EXPECT_DOUBLE_EQ(p.left.min, 100);
    EXPECT_DOUBLE_EQ(p.left.max, 1000);
    EXPECT_EQ(p.left.title, "Resistance  [M Ohm]");
    EXPECT_EQ(p.right.min, 0);
    EXPECT_EQ(p.right.max, 6000);  // U max 5000 and a little room
    EXPECT_EQ(p.right.step, 1000);
    EXPECT_EQ(p.time.min, 0);
    EXPECT_EQ(p.time.max, 300);
    EXPECT_EQ(p.time.step, 50);
    ASSERT_EQ(p.resistance.size(), 4u);
    EXPECT_FALSE(p.resistance[0].red);
    EXPECT_EQ(p.resistance[0].label, "00:00:00");
    EXPECT_DOUBLE_EQ(p.resistance[1].value, 300);  // 0.6 x R limit, in M
    EXPECT_TRUE(p.resistance[1].red);
    EXPECT_EQ(p.resistance[1].label, "00:02:30");
    EXPECT_TRUE(p.resistance[2].red);  // the point after an over-range one
    EXPECT_EQ(p.resistance[2].label, "");
    EXPECT_FALSE(p.resistance[3].red);
    EXPECT_EQ(p.resistance[3].label, "00:02:50");
    // The voltage in steps: each change held up to the sample that brings it.
    std::vector<std::pair<double, double>> steps;
    for (const GraphPoint& v : p.voltage) steps.push_back({v.t, v.value});
    EXPECT_EQ(steps,
              (std::vector<std::pair<double, double>>{
                  {0, 1000}, {150, 1000}, {150, 2000}, {160, 2000}, {160, 3000}, {170, 3000}}));
    EXPECT_TRUE(p.voltage[1].corner);
    EXPECT_EQ(p.panels[2], " U: ");
    EXPECT_EQ(p.panels[3], "Start:  05.12.2025 15:20:00");

    // Insulation: no voltage, no legend. A reading below the range sits on the axis floor
    // with a "<" label; a linear axis takes 1-2-5 steps; auto range leaves out the
    // markers above the range.
    g.kind = 2;
    g.rScale = kScaleLin;
    g.samples = {{1000, 5e4, 0}, {1000, 5e8, 10}, {1000, 9.5e8, 20}, {1000, 2e37, 30}};
    p = fillGraphPlot(g, false);
    EXPECT_EQ(p.title, "Insulation");
    EXPECT_FALSE(p.voltageShown);
    EXPECT_TRUE(p.voltage.empty());
    EXPECT_TRUE(p.resistance[0].below);
    EXPECT_EQ(p.resistance[0].value, p.left.min);
    EXPECT_EQ(p.resistance[0].label, "< 100  kOhm");
    EXPECT_EQ(p.left.min, 400);  // fitted to 500 .. 950 M, the reading below on the floor
    EXPECT_EQ(p.left.step, 100);
    EXPECT_EQ(p.left.max, 1000);
    EXPECT_EQ(fillGraphPlot(g, true).left.max, 1000);

    struct {
        double low, high, min, max, step;
    } axes[] = {{950, 2975, 500, 3000, 500}, {0, 1.23, 0, 1.4, 0.2}, {1.2, 4, 1, 4, 0.5}};
    for (const auto& a : axes) {
        const GraphAxis axis = niceLinearAxis(a.low, a.high);
        EXPECT_DOUBLE_EQ(axis.min, a.min) << a.low;
        EXPECT_DOUBLE_EQ(axis.max, a.max) << a.low;
        EXPECT_DOUBLE_EQ(axis.step, a.step) << a.low;
    }
    // A 1.2 .. 4 G curve on a logarithmic axis: 1 .. 10, not 0.1 .. 1000.
    EXPECT_EQ(decadeAxis(1.2, 4).min, 1);
    EXPECT_EQ(decadeAxis(1.2, 4).max, 10);
}

}  // namespace
}  // namespace pelvoro
