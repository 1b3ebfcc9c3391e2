#pragma once
// The curve of a measurement over time (insulation resistance, diagnostic test, step
// voltage) that some testers store with a result, and its graph text.
//
// Graph text: header fields each closed by ";" (the order of TGraphData below), a byte
// 0x14, a part that is skipped up to the next 0x14, then the samples, each closed by a
// 0x14. A sample is fields closed by ";": resistance, voltage, time; further fields are
// ignored. Numbers take "." or "," as decimal separator.

#include <string>
#include <string_view>
#include <vector>

namespace pelvoro {

// Series kinds.
enum : int {
    kSeriesInsulation = 2,  // 2 or 3
    kSeriesDiagnostic = 4,  // 4 or 5
    kSeriesStepVoltage = 6
};

// Scale of an axis: 1 linear ("LIN"), 2 logarithmic ("LOG").
enum : int { kScaleLin = 1, kScaleLog = 2 };

// A resistance above this marks a reading above the measuring range.
inline constexpr double kOverRangeResistance = 1e36;

struct TGraphSample {
    double U = 0;  // test voltage, V
    double R = 0;  // resistance, ohm
    double t = 0;  // elapsed time, s
};

struct TGraphStart {
    bool valid = false;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

struct TGraphData {
    int kind = 0;
    TGraphStart start;
    double rUpper = 0, rLower = 0, rLimit = 0;
    int rScale = 0;
    double uMax = 0, uMin = 0, uExtra = 0;
    int uScale = 0;
    double tEnd = 0, tStart = 0, tExtra = 0;
    int tScale = 0;
    std::vector<TGraphSample> samples;

    bool hasSamples() const { return !samples.empty(); }
    bool resistanceLog() const { return rScale == kScaleLog; }
    bool voltageLog() const { return uScale == kScaleLog; }
};

// A number of a graph text: optional blanks, sign, digits with "." or "," as decimal
// separator, optional exponent. False when the field is not a number.
bool parseGraphNumber(std::string_view field, double& value);

// Decodes a graph text. A header field that does not parse keeps its default; in a
// sample, a resistance that does not parse is 0 and a voltage or time that does not
// parse keeps the previous sample's value. A text without any 0x14 has no samples.
TGraphData parseGraphString(std::string_view text);

}  // namespace pelvoro
