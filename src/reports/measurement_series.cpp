#include "reports/measurement_series.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "common/lang_text.h"
#include "document/structure_document.h"
#include "reports/results_overview.h"
#include "results/result_rows.h"

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

GraphAxis niceLinearAxis(double low, double high) {
    GraphAxis a;
    if (!(high > low)) {
        const double pad = std::abs(high) > 0 ? std::abs(high) * 0.1 : 1;
        low -= pad;
        high += pad;
    }
    const double span = high - low;
    double step = std::pow(10.0, std::floor(std::log10(span / 6)));
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (span / (step * m) <= 8) {
            step *= m;
            break;
        }
    a.step = step;
    a.min = std::floor(low / step + 1e-9) * step;
    a.max = std::ceil(high / step - 1e-9) * step;
    if (a.max <= a.min) a.max = a.min + step;
    return a;
}

GraphAxis decadeAxis(double low, double high) {
    GraphAxis a;
    a.log = true;
    if (!(low > 0)) low = high > 0 ? high / 10 : 1;
    if (!(high >= low)) high = low;
    a.min = std::pow(10.0, std::floor(std::log10(low) + 1e-9));
    a.max = std::pow(10.0, std::ceil(std::log10(high) - 1e-9));
    if (a.max <= a.min) a.max = a.min * 10;
    return a;
}

GraphPlot fillGraphPlot(const TGraphData& g, bool autoRange) {
    GraphPlot plot;
    const SeriesScaling sc = seriesScaling(g);
    plot.scaling = sc;
    const double upper = sc.factor * g.rUpper;
    const double lower = sc.factor * g.rLower;

    // The readings as drawn: within the range, above it (at their marker value) and below.
    double lowest = 0, largest = 0, highestDrawn = 0;
    bool any = false, anyDrawn = false, anyBelow = false;
    for (const TGraphSample& s : g.samples) {
        if (isOverRange(s.R) || sc.factor * s.R > upper) {
            const double v = sc.factor * std::min(g.rUpper, overRangeValue(g, s.t));
            highestDrawn = anyDrawn ? std::max(highestDrawn, v) : v;
            anyDrawn = true;
            continue;
        }
        const double v = sc.factor * s.R;
        if (v < lower) {
            anyBelow = true;
            continue;
        }
        lowest = any ? std::min(lowest, v) : v;
        largest = any ? std::max(largest, v) : v;
        any = true;
    }
    plot.lowestScaled = lowest;

    // Resistance axis: fitted to the readings within the range and the markers above it; a
    // reading below the range sits on its floor, off the scale, with its own marker.
    GraphAxis& left = plot.left;
    double low = any ? lowest : (anyDrawn ? highestDrawn : lower);
    double high = any ? largest : low;
    if (anyDrawn && !(autoRange && any)) high = std::max(high, highestDrawn);
    if (g.resistanceLog()) {
        // Off-scale readings need room under the lowest one.
        if (anyBelow) low /= 1.5;
        left = decadeAxis(low > 0 ? low : (upper > 0 ? upper / 1000 : 1), high * 1.02);
    } else {
        const double pad = std::max((high - low) * 0.05, std::abs(high) * 0.02);
        left = niceLinearAxis(low - pad - (anyBelow ? pad : 0), high + pad);
        if (left.min < 0 && low >= 0) left.min = 0;
    }
    left.title = LangText("LeftAxis_15") + "  [" + sc.prefix + " Ohm]";

    // Voltage axis from the voltages applied; time axis from t start to t end.
    double uLow = g.uMin, uHigh = g.uMax;
    for (const TGraphSample& s : g.samples) {
        uLow = std::min(uLow, s.U);
        uHigh = std::max(uHigh, s.U);
    }
    if (g.voltageLog())
        plot.right = decadeAxis(uLow > 0 ? uLow : 1, uHigh);
    else
        plot.right = niceLinearAxis(0, uHigh * 1.05);
    plot.right.title = LangText("RightAxis_15") + "  [V]";
    plot.time.min = g.tStart;
    plot.time.max = g.tEnd > g.tStart ? g.tEnd : g.tStart + 1;
    plot.time.step = niceLinearAxis(0, plot.time.max - plot.time.min).step;
    plot.time.title = LangText("BootmAxis_15") + "  [s]";

    plot.panels[3] = LangText("MeasStart_35") + "  " + startText(g.start);

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
            break;
        default:
            break;
    }
    if (g.kind < 2 || g.kind > 6) return plot;

    bool previousOver = false;
    const std::string belowLabel = "< " + formatResistance(lower, sc.prefix);
    for (const TGraphSample& s : g.samples) {
        const double v = sc.factor * s.R;
        GraphPoint p;
        p.t = s.t;
        if (!isOverRange(s.R) && v <= upper && v < lower) {
            // Below the range: the table says "< lower limit"; the graph draws it at the
            // floor with a marker of its own.
            p.value = left.min;
            p.below = true;
            p.red = previousOver;
            p.label = belowLabel;
            previousOver = false;
        } else if (!isOverRange(s.R) && v <= upper) {
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
        if (g.kind == kSeriesStepVoltage) {
            // The voltage changes in steps: hold the last value up to the next sample.
            if (!plot.voltage.empty() && plot.voltage.back().value != s.U)
                plot.voltage.push_back({s.t, plot.voltage.back().value, false, false, true, {}});
            plot.voltage.push_back({s.t, s.U, false, false, false, {}});
        }
    }
    plot.panels[0] = " T: ";
    plot.panels[1] = " R: ";
    if (g.kind == kSeriesStepVoltage) plot.panels[2] = " U: ";
    return plot;
}

GraphItemInfo graphItemInfo(const StructureItem& item) {
    GraphItemInfo info;
    const std::string path = itemPath(item);
    info.path = path.empty() ? item.caption() : path + " / " + item.caption();
    const MarkupInterpreter interpreter;
    for (const std::string& line : item.data.ResTexts) {
        std::string text = clipboardLineText(interpreter.parse(line, MarkupMode::ClipBrd));
        while (!text.empty() && text.front() == ' ') text.erase(text.begin());
        if (text.size() >= 3 &&
            (text.compare(0, 3, "Lim") == 0 || text.compare(0, 3, "lim") == 0)) {
            info.limit = LangText("qrlGraphLimit_15") + " " + text;
            break;
        }
    }
    const TGraphData& g = item.data.graph();
    if (info.limit.empty()) {
        const SeriesScaling sc = seriesScaling(g);
        info.limit = LangText("qrlGraphRange_15") + " " +
                     formatResistance(sc.factor * g.rLower, sc.prefix) + " ... " +
                     formatResistance(sc.factor * g.rUpper, sc.prefix);
    }
    const ResultVerdict v = itemVerdict(item, interpreter);
    if (v != ResultVerdict::None)
        info.verdict = LangText("qrlGraphVerdict_15") + " " + verdictText(v, interpreter);
    return info;
}

}  // namespace pelvoro
