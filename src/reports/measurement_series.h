#pragma once
// What the measurement table and the measurement graph show of an item's curve: the
// display scaling (an SI prefix and a factor), the rows of the table at twelve fixed
// instants, and the axes, points and labels of the graph. Both windows and pelvoro-cli
// draw from these.

#include <array>
#include <string>
#include <vector>

#include "document/graph_data.h"

namespace pelvoro {

struct SeriesScaling {
    std::string prefix;  // "", "k", "M" or "G"
    double factor = 1;
};

// The prefix and factor of a series: from the average of the readings within the range
// (or the middle of the range when every reading of two or more is above it), stepped
// down once when the range's upper limit would be 1 or less.
SeriesScaling seriesScaling(const TGraphData& graph);

inline bool isOverRange(double resistance) {
    return resistance > kOverRangeResistance;
}

// The resistance drawn for a reading above the range at time t: the limit resistance,
// for step-voltage tests times the step (0.2 .. 1.0) of the fifth of the time range that
// t lies in; rounded to a whole number.
double overRangeValue(const TGraphData& graph, double t);

// Seconds rounded to whole seconds as hh:mm:ss.
std::string formatElapsed(double seconds);

// A displayed resistance: brought into 1 .. 1000 along the ladder none, k, M, G, T,
// written with 3 significant digits, two blanks, the prefix and "Ohm". 0 stays 0.
std::string formatResistance(double value, const std::string& prefix);

// The table's instants, seconds.
inline constexpr std::array<int, 12> kTableInstants = {15,  30,  60,  120, 180, 240,
                                                       300, 360, 420, 480, 540, 600};

// The sample shown for instant c: one taken at c, otherwise the nearer of the samples
// around c when it is at most 5 s away; -1 for none.
int sampleForInstant(const TGraphData& graph, double c);

// Whether the table is offered for a curve (samples, and not a step-voltage test).
inline bool measurementTableOffered(const TGraphData& graph) {
    return graph.hasSamples() && graph.kind != kSeriesStepVoltage;
}

// The 13 rows of 4 cells of the measurement table (heading row first), texts in the
// current language.
using MeasurementTableRows = std::array<std::array<std::string, 4>, 13>;
MeasurementTableRows measurementTable(const TGraphData& graph);

// The graph.
struct GraphPoint {
    double t = 0;
    double value = 0;
    bool red = false;     // drawn red (a reading above the range, or the one after it)
    bool below = false;   // a reading below the range: drawn at the axis floor, labelled "<"
    bool corner = false;  // the corner of a voltage step (no marker)
    std::string label;    // hh:mm:ss, "< " and the lower limit, or empty
};

struct GraphAxis {
    double min = 0, max = 0;
    bool log = false;
    double step = 0;  // linear axes: the distance of the ticks (1, 2 or 5 times a power of ten)
    std::string title;
};

// A linear axis around [low, high]: its ends on whole steps of 1, 2 or 5 times a power of
// ten, about five to eight of them.
GraphAxis niceLinearAxis(double low, double high);
// A logarithmic axis around [low, high] (both above 0): whole decades.
GraphAxis decadeAxis(double low, double high);

struct GraphPlot {
    SeriesScaling scaling;
    std::string title;  // the function's name
    GraphAxis time;     // bottom: t start .. t end
    GraphAxis left;     // resistance (scaled)
    GraphAxis right;    // voltage
    bool voltageShown = false;
    bool legendShown = false;
    std::vector<GraphPoint> resistance;
    std::vector<GraphPoint> voltage;
    // Status bar panels: time, resistance, voltage (under the pointer) and the start.
    std::array<std::string, 4> panels;
    double lowestScaled = 0;  // lowest reading within the range, scaled
};

// Fills the graph; the axes fit the readings (with `autoRange` the resistance axis fits
// the readings within the range only, leaving out the markers above it).
GraphPlot fillGraphPlot(const TGraphData& graph, bool autoRange);

// "dd.mm.yyyy hh:mm:ss" of the start (empty when the graph text had none).
std::string startText(const TGraphStart& start);

class StructureItem;

// What a saved or printed graph says of its item, in the current language: where the
// item is, the limit of its result (or the measuring range when no limit line is there)
// and its verdict.
struct GraphItemInfo {
    std::string path;     // "Object / Board / Item"
    std::string limit;    // "Limit: ..." or "Range: ... - ..."
    std::string verdict;  // "Verdict: PASSED", or empty
};
GraphItemInfo graphItemInfo(const StructureItem& item);

}  // namespace pelvoro
