// Machine testers and the single functions of the earlier machine testers: the field tables of the
// parser and the result lines.

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
using VoltTest = TFunct_VoltTest;
using Micro = TFunct_RES_MICRO;

constexpr Units<VoltTest> kVoltTestUnits[] = {
    {unit::V, {&VoltTest::U, &VoltTest::Um, &VoltTest::Ulim}},
    {unit::A, {&VoltTest::Iset, &VoltTest::Igen, &VoltTest::Iflt}},
    {unit::O, {&VoltTest::Rinp}},
};
constexpr Units<Micro> kMicroUnits[] = {
    {unit::O, {&Micro::Rx, &Micro::Range}},
    {unit::V, {&Micro::Ux}},
    {unit::A, {&Micro::Ix, &Micro::TestCurrent}},
};

// Continuous and stepped voltage tests (71, 72).
constexpr Row<VoltTest> kVoltTest[] = {
    {4, Status, &VoltTest::Status}, {5, Ignore},
    {6, Split, &VoltTest::Iflt},    {7, Split, &VoltTest::Iset},
    {8, Split, &VoltTest::Igen},    {9, SplitDash, &VoltTest::Rinp},
    {10, Set, &VoltTest::Ulim},     {11, Set, &VoltTest::U},
    {12, Set, &VoltTest::Um},
};

constexpr Row<Micro> kResMicro80[] = {
    {4, Status, &Micro::Status},
    {5, Ignore},
    {6, Set, &Micro::Rx},
    {7, Set, &Micro::Ux},
    {8, Set, &Micro::Ix},
    {9, Set, &Micro::Range},
    {10, Set, &Micro::TestCurrent},
    {11, Set, &Micro::Duration},
    {12, Ignore},
    {13, Ignore},
};

// Machine testers (301 .. 305): no status field.
constexpr Row<TFunct_HV_MT> kHvMt[] = {
    {3, Set, &TFunct_HV_MT::I},
    {5, Set, &TFunct_HV_MT::U},
    {6, Set, &TFunct_HV_MT::Imax},
    {7, Set, &TFunct_HV_MT::Un},
};
constexpr Row<TFunct_dU_MT> kDuMt[] = {
    {3, Set, &TFunct_dU_MT::dU},
    {4, Set, &TFunct_dU_MT::I},
    {5, Set, &TFunct_dU_MT::U},
    {6, Set, &TFunct_dU_MT::dUmax},
};
constexpr Row<TFunct_R10A_MT> kR10aMt[] = {
    {3, Set, &TFunct_R10A_MT::R},
    {4, Set, &TFunct_R10A_MT::I},
    {5, Set, &TFunct_R10A_MT::U},
    {6, Set, &TFunct_R10A_MT::Rmax},
};
constexpr Row<TFunct_MOhm_MT> kMohmMt[] = {
    {3, Set, &TFunct_MOhm_MT::R},
    {6, Set, &TFunct_MOhm_MT::Rmin},
    {7, Set, &TFunct_MOhm_MT::Un},
};
constexpr Row<TFunct_dt_MT> kDtMt[] = {{3, Set, &TFunct_dt_MT::t}, {7, Set, &TFunct_dt_MT::Syst}};

// The machine testers write fields up to 8; the rest are ignored. Within them a field no
// row names is known but not kept.
template <auto member, const auto& table>
bool machineTesterFields(Parser& p, TResultsData& r, int n, sv t) {
    if (n < 3 || n > 8) return false;
    p.read<table>(r.*member, n, t);
    return true;
}
template <auto member, const auto& table>
constexpr Layout machineTester(int number) {
    return {number, recordKindOf<MemberType<member>>(), nullptr,
            &machineTesterFields<member, table>};
}

constexpr Layout kLayouts[] = {
    layout<&TResultsData::CONTVOLT, kVoltTest, kVoltTestUnits>(71),
    layout<&TResultsData::STEPVOLT, kVoltTest, kVoltTestUnits>(72),
    layout<&TResultsData::RES_MICRO, kResMicro80, kMicroUnits>(80),
    machineTester<&TResultsData::HV_MT, kHvMt>(301),
    machineTester<&TResultsData::dU_MT, kDuMt>(302),
    machineTester<&TResultsData::R10A_MT, kR10aMt>(303),
    machineTester<&TResultsData::MOhm_MT, kMohmMt>(304),
    machineTester<&TResultsData::dt_MT, kDtMt>(305),
};

}  // namespace

std::span<const Layout> machineLayouts() {
    return kLayouts;
}

}  // namespace fp

namespace lines {

namespace {

using VoltTest = TFunct_VoltTest;
using Micro = TFunct_RES_MICRO;

constexpr ValueLine<VoltTest> kVoltTestValues[] = {{kR2, "U: ", &VoltTest::U},
                                                   {kR2, "Um: ", &VoltTest::Um}};
constexpr ValueLine<VoltTest> kVoltTestSettings[] = {{kR3, "Iflt: ", &VoltTest::Iflt},
                                                     {kR3, "Rinp: ", &VoltTest::Rinp},
                                                     {kL3, "Ulim: ", &VoltTest::Ulim}};
constexpr ValueLine<Micro> kMicroValues[] = {
    {kR2, "Rx: ", &Micro::Rx}, {kR2, "Ux: ", &Micro::Ux}, {kR2, "Ix: ", &Micro::Ix}};

// Machine tester values carry their unit in the value text.
constexpr Show kOwn = Show::ValueOnly;
constexpr ValueLine<TFunct_HV_MT> kHvMtLines[] = {
    {kR2, "I: ", &TFunct_HV_MT::I, kOwn},
    {kR2, "U: ", &TFunct_HV_MT::U, kOwn},
    {kL3, "Un: ", &TFunct_HV_MT::Un, kOwn},
    {kL3, "Imax: ", &TFunct_HV_MT::Imax, kOwn},
};
constexpr ValueLine<TFunct_dU_MT> kDuMtLines[] = {
    {kR2, "dU: ", &TFunct_dU_MT::dU, kOwn},
    {kR2, "I: ", &TFunct_dU_MT::I, kOwn},
    {kR2, "U: ", &TFunct_dU_MT::U, kOwn},
    {kL3, "dUmax: ", &TFunct_dU_MT::dUmax, kOwn},
};
constexpr ValueLine<TFunct_R10A_MT> kR10aMtLines[] = {
    {kR2, "R: ", &TFunct_R10A_MT::R, kOwn},
    {kR2, "I: ", &TFunct_R10A_MT::I, kOwn},
    {kR2, "U: ", &TFunct_R10A_MT::U, kOwn},
    {kL3, "Rmax: ", &TFunct_R10A_MT::Rmax, kOwn},
};
constexpr ValueLine<TFunct_MOhm_MT> kMohmMtLines[] = {
    {kR2, "R: ", &TFunct_MOhm_MT::R, kOwn},
    {kL3, "Un: ", &TFunct_MOhm_MT::Un, kOwn},
    {kL3, "Rmin: ", &TFunct_MOhm_MT::Rmin, kOwn},
};
constexpr ValueLine<TFunct_dt_MT> kDtMtLines[] = {{kR2, "t: ", &TFunct_dt_MT::t, kOwn},
                                                  {kL3, "Syst: ", &TFunct_dt_MT::Syst, kOwn}};

}  // namespace

void Generator::machineLines() {
    auto tester = [&](std::string_view heading, const auto& s, const auto& table) {
        headingNoStatus(key(heading));
        values(s, table);
    };
    switch (code_) {
        case 71:
        case 72: {
            const VoltTest& s =
                code_ == 71 ? static_cast<const VoltTest&>(r_.CONTVOLT) : r_.STEPVOLT;
            heading(key(code_ == 71 ? "Funct_CONTVOLT" : "Funct_STEPVOLT"), s.Status);
            values(s, kVoltTestValues);
            if (!isPlaceholder(s.Igen))
                value(kR3, "Igen: ", s.Igen);
            else
                value(kL3, "Iset: ", s.Iset);
            return values(s, kVoltTestSettings);
        }
        case 80: {
            const auto& s = r_.RES_MICRO;
            heading(key("Funct_RESIST"), s.Status);
            values(s, kMicroValues);
            keyLine(kL3, "Range_15", s.Range);
            keyLine(kL3, "text560", s.TestCurrent);
            if (isSet(s.Duration)) keyLine(kL3, "Duration_15", s.Duration);
            return;
        }
        case 301:
            return tester("HV_16", r_.HV_MT, kHvMtLines);
        case 302:
            return tester("dU_16", r_.dU_MT, kDuMtLines);
        case 303:
            return tester("R-10A_16", r_.R10A_MT, kR10aMtLines);
        case 304:
            return tester("MOhm_16", r_.MOhm_MT, kMohmMtLines);
        case 305:
            return tester("dT_16", r_.dt_MT, kDtMtLines);
        default:
            return;
    }
}

}  // namespace lines

}  // namespace pelvoro
