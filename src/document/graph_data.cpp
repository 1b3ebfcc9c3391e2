#include "document/graph_data.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace pelvoro {

namespace {

constexpr char kSeparator = 0x14;

// The fields of a part, each closed by ";" (a last field without ";" counts as well).
std::vector<std::string_view> fieldsOf(std::string_view part) {
    std::vector<std::string_view> fields;
    size_t start = 0;
    while (start < part.size()) {
        size_t end = part.find(';', start);
        if (end == std::string_view::npos) end = part.size();
        fields.push_back(part.substr(start, end - start));
        start = end + 1;
    }
    return fields;
}

void setNumber(std::string_view field, double& target) {
    double v;
    if (parseGraphNumber(field, v)) target = v;
}

void setInt(std::string_view field, int& target) {
    double v;
    if (parseGraphNumber(field, v) && std::fabs(v) < 1e9) target = int(std::lround(v));
}

// Twelve digits: year within the century, month, day, hour, minute, second.
void setStart(std::string_view field, TGraphStart& start) {
    while (!field.empty() && field.front() == ' ') field.remove_prefix(1);
    while (!field.empty() && field.back() == ' ') field.remove_suffix(1);
    if (field.size() != 12) return;
    for (char c : field)
        if (c < '0' || c > '9') return;
    auto two = [&](int i) { return (field[size_t(i)] - '0') * 10 + (field[size_t(i) + 1] - '0'); };
    start.year = 2000 + two(0);
    start.month = two(2);
    start.day = two(4);
    start.hour = two(6);
    start.minute = two(8);
    start.second = two(10);
    start.valid = true;
}

}  // namespace

bool parseGraphNumber(std::string_view field, double& value) {
    std::string text;
    for (char c : field) {
        if (c == ' ' || c == '\t') continue;
        text += c == ',' ? '.' : c;
    }
    if (text.empty()) return false;
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (*begin == '+') ++begin;
    double v = 0;
    auto [ptr, ec] = std::from_chars(begin, end, v);
    if (ec != std::errc() || ptr != end || !std::isfinite(v)) return false;
    value = v;
    return true;
}

TGraphData parseGraphString(std::string_view text) {
    TGraphData g;
    const size_t headerEnd = text.find(kSeparator);
    const std::vector<std::string_view> header =
        fieldsOf(text.substr(0, headerEnd == std::string_view::npos ? text.size() : headerEnd));
    for (size_t i = 0; i < header.size() && i < 14; ++i) {
        std::string_view f = header[i];
        switch (i) {
            case 0:
                setInt(f, g.kind);
                break;
            case 1:
                setStart(f, g.start);
                break;
            case 2:
                setNumber(f, g.rUpper);
                break;
            case 3:
                setNumber(f, g.rLower);
                break;
            case 4:
                setNumber(f, g.rLimit);
                break;
            case 5:
                setInt(f, g.rScale);
                break;
            case 6:
                setNumber(f, g.uMax);
                break;
            case 7:
                setNumber(f, g.uMin);
                break;
            case 8:
                setNumber(f, g.uExtra);
                break;
            case 9:
                setInt(f, g.uScale);
                break;
            case 10:
                setNumber(f, g.tEnd);
                break;
            case 11:
                setNumber(f, g.tStart);
                break;
            case 12:
                setNumber(f, g.tExtra);
                break;
            case 13:
                setInt(f, g.tScale);
                break;
        }
    }
    if (headerEnd == std::string_view::npos) return g;
    const size_t skippedEnd = text.find(kSeparator, headerEnd + 1);
    if (skippedEnd == std::string_view::npos) return g;

    TGraphSample previous;
    size_t start = skippedEnd + 1;
    for (;;) {
        const size_t end = text.find(kSeparator, start);
        if (end == std::string_view::npos) break;  // text after the last 0x14 is no sample
        const std::vector<std::string_view> f = fieldsOf(text.substr(start, end - start));
        TGraphSample s = previous;
        s.R = 0;
        if (f.size() > 0) setNumber(f[0], s.R);
        if (f.size() > 1) setNumber(f[1], s.U);
        if (f.size() > 2) setNumber(f[2], s.t);
        g.samples.push_back(s);
        previous = s;
        start = end + 1;
    }
    return g;
}

}  // namespace pelvoro
