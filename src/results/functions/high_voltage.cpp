// High-voltage insulation testers: the field tables of the parser and the result lines.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "results/functions/field_parser.h"
#include "results/functions/line_writer.h"

namespace pelvoro {

namespace fp {

namespace {

using enum Conv;
using VoltTo = TFunct_VOLT_TO;
using IsoTo = TFunct_ISO_TO;
using DiagnTo = TFunct_DIAGN_TO;
using StepvTo = TFunct_STEPV_TO;
using WithstTo = TFunct_WITHST_TO;

constexpr Units<VoltTo> kVoltToUnits[] = {{unit::Hz, {&VoltTo::f}}};
constexpr Units<IsoTo> kIsoToUnits[] = {
    {unit::O, {&IsoTo::R, &IsoTo::Rmax, &IsoTo::Rmin}},
    {unit::V, {&IsoTo::U, &IsoTo::Un}},
    {unit::A, {&IsoTo::I}},
    {unit::F, {&IsoTo::C}},
};
constexpr Units<DiagnTo> kDiagnToUnits[] = {
    {unit::O, {&DiagnTo::R, &DiagnTo::Rt1, &DiagnTo::Rt2, &DiagnTo::Rt3}},
    {unit::V, {&DiagnTo::U, &DiagnTo::Un}},
    {unit::A, {&DiagnTo::I}},
    {unit::F, {&DiagnTo::C}},
    {unit::s, {&DiagnTo::t1, &DiagnTo::t2, &DiagnTo::t3}},
};
// The step times carry their own unit ("s" or "min") in the field.
constexpr Units<StepvTo> kStepvToUnits[] = {
    {unit::O, {&StepvTo::R}},
    {unit::V, {&StepvTo::U, &StepvTo::Un}},
    {unit::A, {&StepvTo::I}},
    {unit::F, {&StepvTo::C}},
};
constexpr Units<WithstTo> kWithstToUnits[] = {
    {unit::V, {&WithstTo::U, &WithstTo::Un_start, &WithstTo::Un_stop}},
    {unit::A, {&WithstTo::I, &WithstTo::Itrigg}},
};

constexpr Row<VoltTo> kVoltTo201[] = {
    {4, Status, &VoltTo::Status}, {5, Set, &VoltTo::U},     {6, Set, &VoltTo::f},
    {7, Text, &VoltTo::Time},     {8, Text, &VoltTo::Date},
};

constexpr Row<IsoTo> kIsoTo202[] = {
    {4, Status, &IsoTo::Status}, {5, Set, &IsoTo::R},      {6, Set, &IsoTo::U},
    {7, Set, &IsoTo::I},         {8, Set, &IsoTo::C},      {9, Set, &IsoTo::Rmax},
    {10, Set, &IsoTo::Rmin},     {11, Set, &IsoTo::Un},    {12, Set, &IsoTo::tm},
    {13, Text, &IsoTo::Time},    {14, Text, &IsoTo::Date},
};

// The times of the diagnostic test bring their unit.
constexpr Row<DiagnTo> kDiagnTo204[] = {
    {4, Status, &DiagnTo::Status},
    {5, Set, &DiagnTo::R},
    {6, Set, &DiagnTo::U},
    {7, Set, &DiagnTo::I},
    {8, Set, &DiagnTo::C},
    {9, Set, &DiagnTo::Rt1},
    {10, Set, &DiagnTo::Rt2},
    {11, Set, &DiagnTo::Rt3},
    {12, Set, &DiagnTo::DAR},
    {13, Set, &DiagnTo::PI},
    {14, Set, &DiagnTo::DD},
    {15, Set, &DiagnTo::Un},
    {16, Set, &DiagnTo::tm},
    {17, SplitReplace, &DiagnTo::t1},
    {18, SplitReplace, &DiagnTo::t2},
    {19, SplitReplace, &DiagnTo::t3},
    {20, Text, &DiagnTo::Time},
    {21, Text, &DiagnTo::Date},
};

// Fields 9 .. 13 the resistance of each step, 14 .. 18 its voltage, 21 .. 25 its time.
constexpr auto kStepvTo206 = [] {
    std::array<Row<StepvTo>, 24> rows{};
    rows[0] = {4, Status, &StepvTo::Status};
    rows[1] = {5, Set, &StepvTo::R};
    rows[2] = {6, Set, &StepvTo::U};
    rows[3] = {7, Set, &StepvTo::I};
    rows[4] = {8, Set, &StepvTo::C};
    for (int k = 0; k < StepvTo::kSteps; ++k) {
        rows[5 + k] = {uint8_t(9 + k), Set, {&StepvTo::StepR, k}};
        rows[10 + k] = {uint8_t(14 + k), Set, {&StepvTo::StepU, k}};
        rows[15 + k] = {uint8_t(21 + k), Set, {&StepvTo::StepTime, k}};
    }
    rows[20] = {19, Set, &StepvTo::Un};
    rows[21] = {20, Set, &StepvTo::tm};
    rows[22] = {26, Text, &StepvTo::Time};
    rows[23] = {27, Text, &StepvTo::Date};
    return rows;
}();

constexpr Row<WithstTo> kWithstTo207[] = {
    {4, Status, &WithstTo::Status}, {5, Set, &WithstTo::U},       {6, Set, &WithstTo::I},
    {7, Set, &WithstTo::Un_start},  {8, Set, &WithstTo::Un_stop}, {9, Set, &WithstTo::Itrigg},
    {10, Set, &WithstTo::Tstep},    {11, Set, &WithstTo::Tend},   {12, Set, &WithstTo::tm},
    {13, Text, &WithstTo::Time},    {14, Text, &WithstTo::Date},
};

// The steps of the stepped test are shown in ohm and volt.
void prepareStepped(Parser& p, TResultsData& r) {
    presetUnits<&TResultsData::STEPV_TO, kStepvToUnits>(p, r);
    for (auto& v : r.STEPV_TO.StepR) v.Unit = unit::O;
    for (auto& v : r.STEPV_TO.StepU) v.Unit = unit::V;
}

constexpr Layout kLayouts[] = {
    layout<&TResultsData::VOLT_TO, kVoltTo201, kVoltToUnits>(201),
    layout<&TResultsData::ISO_TO, kIsoTo202, kIsoToUnits>(202),
    layout<&TResultsData::DIAGN_TO, kDiagnTo204, kDiagnToUnits>(204),
    {206, ResultRecord::StepvTo, &prepareStepped,
     &readFields<&TResultsData::STEPV_TO, kStepvTo206>},
    layout<&TResultsData::WITHST_TO, kWithstTo207, kWithstToUnits>(207),
};

}  // namespace

std::span<const Layout> highVoltageLayouts() {
    return kLayouts;
}

}  // namespace fp

namespace lines {

namespace {

using VoltTo = TFunct_VOLT_TO;
using IsoTo = TFunct_ISO_TO;
using DiagnTo = TFunct_DIAGN_TO;
using StepvTo = TFunct_STEPV_TO;
using WithstTo = TFunct_WITHST_TO;

constexpr ValueLine<VoltTo> kVoltToLines[] = {{kR2, "U: ", &VoltTo::U}, {kR2, "f: ", &VoltTo::f}};
constexpr ValueLine<IsoTo> kIsoToLines[] = {
    {kR2, "R: ", &IsoTo::R},       {kR2, "U: ", &IsoTo::U},
    {kR2, "I: ", &IsoTo::I},       {kR2, "C: ", &IsoTo::C},
    {kR2, "Rmax: ", &IsoTo::Rmax}, {kR2, "Rmin: ", &IsoTo::Rmin},
    {kL3, "Un: ", &IsoTo::Un},     {kL3, "tm: ", &IsoTo::tm, Show::WhenSet},
};
constexpr ValueLine<DiagnTo> kDiagnToValues[] = {
    {kR2, "R: ", &DiagnTo::R},
    {kR2, "U: ", &DiagnTo::U},
    {kR2, "I: ", &DiagnTo::I},
    {kR2, "C: ", &DiagnTo::C},
};
constexpr ValueLine<DiagnTo> kDiagnToSettings[] = {
    {kL3, "Un: ", &DiagnTo::Un},
    {kL3, "tm: ", &DiagnTo::tm},
    {kR3, "DAR: ", &DiagnTo::DAR},
    {kR3, "PI: ", &DiagnTo::PI, Show::WhenSet},
    {kR3, "DD: ", &DiagnTo::DD, Show::WhenSet},
};
constexpr ValueLine<StepvTo> kStepvToValues[] = {
    {kR2, "R: ", &StepvTo::R},
    {kR2, "U: ", &StepvTo::U},
    {kR2, "I: ", &StepvTo::I},
    {kR2, "C: ", &StepvTo::C},
};
constexpr ValueLine<StepvTo> kStepvToSettings[] = {{kL3, "Un: ", &StepvTo::Un},
                                                   {kL3, "tm: ", &StepvTo::tm}};
constexpr ValueLine<WithstTo> kWithstToLines[] = {
    {kR2, "U: ", &WithstTo::U},
    {kR2, "I: ", &WithstTo::I},
    {kL3, "Un_start: ", &WithstTo::Un_start},
    {kL3, "Un_stop: ", &WithstTo::Un_stop},
    {kL3, "Itrigg: ", &WithstTo::Itrigg},
    {kL3, "Tstep: ", &WithstTo::Tstep},
    {kL3, "Tend: ", &WithstTo::Tend},
    {kL3, "tm: ", &WithstTo::tm},
};

}  // namespace

void Generator::highVoltageLines() {
    // The date line comes first, then the heading without a verdict.
    auto start = [&](const auto& s, std::string_view name) {
        line("X#PD", s.Date, "  ", s.Time);
        headingNoStatus(key(name));
    };
    switch (code_) {
        case 201:
            start(r_.VOLT_TO, "Funct_VOLTAGE");
            return values(r_.VOLT_TO, kVoltToLines);
        case 202:
            start(r_.ISO_TO, "Funct_INSUL-RES");
            return values(r_.ISO_TO, kIsoToLines);
        case 204: {
            const auto& s = r_.DIAGN_TO;
            start(s, "Funct_DIAGN-TEST");
            values(s, kDiagnToValues);
            const V* times[] = {&s.t1, &s.t2, &s.t3};
            const V* rs[] = {&s.Rt1, &s.Rt2, &s.Rt3};
            for (int i = 0; i < 3; ++i)
                if (isSet(*times[i])) line(kR2, "R(", *times[i], "): ", *rs[i]);
            return values(s, kDiagnToSettings);
        }
        case 206: {
            const auto& s = r_.STEPV_TO;
            start(s, "Funct_STEP-VOLT");
            values(s, kStepvToValues);
            for (int i = 0; i < StepvTo::kSteps; ++i)
                line(kR2, "R(", s.StepTime[i], "): ", s.StepR[i], "  U", std::to_string(i + 1),
                     ": ", s.StepU[i]);
            return values(s, kStepvToSettings);
        }
        case 207:
            start(r_.WITHST_TO, "Funct_WITH-VOLT");
            return values(r_.WITHST_TO, kWithstToLines);
        default:
            return;
    }
}

}  // namespace lines

}  // namespace pelvoro
