#include "reports/measurement_series.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "common/lang_text.h"

namespace pelvoro {

namespace {

const char* const kLadder[] = {"", "k", "M", "G", "T"};
constexpr int kLadderTop = 4;

int ladderIndex(const std::string& prefix) {
    for (int i = 0; i <= kLadderTop; ++i)
        if (prefix == kLadder[i]) return i;
    return 0;
}

std::string general3(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.3g", v);
    return buf;
}

std::string blanks4(const std::string& s) {
    return "    " + s;
}

std::string twoDigits(int v) {
    return v < 10 ? "0" + std::to_string(v) : std::to_string(v);
}

}  // namespace

SeriesScaling seriesScaling(const TGraphData& g) {
    double sum = 0;
    int count = 0;
    for (const TGraphSample& s : g.samples)
        if (!isOverRange(s.R)) {
            sum += s.R;
            ++count;
        }
    double average = count > 0 ? sum / count : 0;
    if (count == 0 && g.samples.size() >= 2) average = g.rLower + (g.rUpper - g.rLower) / 2;

    SeriesScaling sc;
    if (average > 1e9) {
        sc = {"G", 1e-9};
    } else if (average > 1e6) {
        sc = {"M", 1e-6};
    } else if (average > 1e3) {
        sc = {"k", 1e-3};
    }
    // A range that ends at 1 or below in this unit is shown one step down. Without a
    // prefix there is no step down: the numbers stay in ohms.
    if (sc.factor * g.rUpper <= 1 && !sc.prefix.empty()) {
        sc.factor *= 1000;
        sc.prefix = kLadder[ladderIndex(sc.prefix) - 1];
    }
    return sc;
}

double overRangeValue(const TGraphData& g, double t) {
    if (g.kind != kSeriesStepVoltage) return std::round(g.rLimit);
    const double span = g.tEnd - g.tStart;
    const double p = span != 0 ? (t - g.tStart) * 100 / span : 100;
    double step = 1.0;
    if (p < 20)
        step = 0.2;
    else if (p < 40)
        step = 0.4;
    else if (p < 60)
        step = 0.6;
    else if (p < 80)
        step = 0.8;
    return std::round(g.rLimit * step);
}

std::string formatElapsed(double seconds) {
    long long s = std::llround(std::max(0.0, seconds));
    int h = int(s / 3600), m = int(s / 60 % 60), sec = int(s % 60);
    return twoDigits(h) + ":" + twoDigits(m) + ":" + twoDigits(sec);
}

std::string formatResistance(double value, const std::string& prefix) {
    int p = ladderIndex(prefix);
    auto normalise = [&] {
        while (value >= 1000 && p < kLadderTop) {
            value /= 1000;
            ++p;
        }
        while (value > 0 && value < 1 && p > 0) {
            value *= 1000;
            --p;
        }
    };
    normalise();
    // 999.7 written with three digits is 1000: take the next prefix.
    double rounded = std::stod(general3(value));
    if (rounded != value) {
        value = rounded;
        normalise();
    }
    return general3(value) + "  " + kLadder[p] + "Ohm";
}

int sampleForInstant(const TGraphData& g, double c) {
    const auto& s = g.samples;
    for (size_t i = 0; i < s.size(); ++i)
        if (s[i].t == c) return int(i);
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i].t <= c) continue;
        const double f = s[i].t;
        if (i == 0 || s[i - 1].t == 0) return f - c <= 5 ? int(i) : -1;
        const double e = s[i - 1].t;
        if (c - e <= f - c && c - e <= 5) return int(i - 1);
        return f - c <= 5 ? int(i) : -1;
    }
    return -1;
}

MeasurementTableRows measurementTable(const TGraphData& g) {
    MeasurementTableRows rows;
    rows[0] = {blanks4(LangText("No_3")), blanks4(LangText("BootmAxis_15")) + "  [hh:mm:ss]",
               blanks4(LangText("LeftAxis_15")), blanks4(LangText("RightAxis_15"))};
    const SeriesScaling sc = seriesScaling(g);
    const double upper = sc.factor * g.rUpper;
    const double lower = sc.factor * g.rLower;
    for (size_t r = 1; r <= kTableInstants.size(); ++r) {
        auto& row = rows[r];
        row[0] = "   " + std::to_string(r);
        const int i = sampleForInstant(g, kTableInstants[r - 1]);
        if (i < 0) {
            row[1] = row[2] = row[3] = "    ----";
            continue;
        }
        const TGraphSample& s = g.samples[size_t(i)];
        row[1] = blanks4(formatElapsed(s.t));
        const double scaled = sc.factor * s.R;
        if (!isOverRange(s.R) && scaled <= upper) {
            if (scaled < lower)
                row[2] = "    < " + formatResistance(lower, sc.prefix);
            else
                row[2] = blanks4(formatResistance(scaled, sc.prefix));
        } else {
            const double shown = sc.factor * std::min(g.rUpper, overRangeValue(g, s.t));
            row[2] = "    > " + formatResistance(shown, sc.prefix);
        }
        if (s.U < 1000) {
            row[3] = blanks4(std::to_string(std::llround(s.U))) + "  V";
        } else {
            char buf[32];
            std::snprintf(buf, sizeof buf, "%.3f", s.U / 1000);
            row[3] = blanks4(buf) + "  kV";
        }
    }
    return rows;
}

std::string startText(const TGraphStart& s) {
    if (!s.valid) return {};
    return twoDigits(s.day) + "." + twoDigits(s.month) + "." + std::to_string(s.year) + " " +
           twoDigits(s.hour) + ":" + twoDigits(s.minute) + ":" + twoDigits(s.second);
}

GraphPlot fillGraphPlot(const TGraphData& g, bool autoRange) {
    GraphPlot plot;
    const SeriesScaling sc = seriesScaling(g);
    plot.scaling = sc;
    const double upper = sc.factor * g.rUpper;
    const double lower = sc.factor * g.rLower;

    double lowest = 0, largest = 0;
    bool any = false;
    for (const TGraphSample& s : g.samples) {
        if (isOverRange(s.R)) continue;
        const double v = sc.factor * s.R;
        lowest = any ? std::min(lowest, v) : v;
        largest = any ? std::max(largest, v) : v;
        any = true;
    }
    plot.lowestScaled = lowest;

    // Resistance axis.
    GraphAxis& left = plot.left;
    left.log = g.resistanceLog();
    left.max = sc.factor * 1.05 * g.rUpper;
    if (std::round(left.max) > 0) left.max = std::round(left.max);
    left.min = sc.factor * 0.95 * g.rLower;
    if (!left.log) left.min = std::round(left.min);
    if (left.min > 0)
        while (left.min < 1 && left.min * 10 <= 1 && left.min * 10 < lowest / 10) left.min *= 10;
    if (left.log && left.min <= 0) {
        // A logarithmic axis cannot start at 0: a power of ten below the lowest reading.
        double base = lowest > 0 ? lowest : (left.max > 0 ? left.max / 1000 : 1);
        left.min = std::pow(10.0, std::floor(std::log10(base)) - 1);
    }
    left.title = LangText("LeftAxis_15") + "  [" + sc.prefix + " Ohm]";

    // Voltage and time axes.
    plot.right.max = std::round(g.uMax);
    plot.right.min = std::round(0.95 * g.uMin);
    plot.right.title = LangText("RightAxis_15") + "  [V]";
    plot.time.min = g.tStart;
    plot.time.max = g.tEnd;
    plot.time.title = LangText("BootmAxis_15") + "  [s]";

    plot.panels[3] = LangText("MeasStart_35") + "  " + startText(g.start);

    if (autoRange && any) {
        const double top = std::round(1.05 * largest);
        if (top > left.min && top < left.max) left.max = top;
    }

    switch (g.kind) {
        case 2:
        case 3:
            plot.title = LangText("Funct_INSUL-RES");
            break;
        case 4:
        case 5:
            plot.title = LangText("Funct_DIAGN-TEST");
            break;
        case 6:
            plot.title = LangText("Funct_STEP-VOLT");
            plot.voltageShown = plot.legendShown = true;
            plot.right.log = g.voltageLog();
            break;
        default:
            break;
    }
    if (g.kind < 2 || g.kind > 6) return plot;

    bool previousOver = false;
    for (const TGraphSample& s : g.samples) {
        double v = sc.factor * s.R;
        if (v < lower) v = 0;
        GraphPoint p;
        p.t = s.t;
        if (!isOverRange(s.R) && v <= upper) {
            p.value = v;
            p.red = previousOver;
            if (!previousOver) p.label = formatElapsed(s.t);
            previousOver = false;
        } else {
            p.value = sc.factor * std::min(g.rUpper, overRangeValue(g, s.t));
            p.red = true;
            p.label = formatElapsed(s.t);
            previousOver = true;
        }
        plot.resistance.push_back(p);
        if (g.kind == kSeriesStepVoltage) plot.voltage.push_back({s.t, s.U, false, {}});
    }
    plot.panels[0] = " T: ";
    plot.panels[1] = " R: ";
    if (g.kind == kSeriesStepVoltage) plot.panels[2] = " U: ";
    return plot;
}

}  // namespace pelvoro
