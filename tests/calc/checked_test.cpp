// Each checked step turns the floating-point faults into Fault values.
#include "calc/checked.h"
#include "calc/fault.h"

#include <functional>
#include <gtest/gtest.h>
#include <limits>

namespace tarvix {
namespace {

struct FaultCase {
    const char* name;
    friend void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }
    std::function<double()> step;
    FaultKind expected;
};

class CheckedStepFaults : public ::testing::TestWithParam<FaultCase> {};

TEST_P(CheckedStepFaults, ReportsTheFaultKind) {
    try {
        const double value = GetParam().step();
        FAIL() << "gave " << value;
    } catch (const Fault& fault) {
        EXPECT_EQ(fault.kind(), GetParam().expected);
    }
}

constexpr double kHuge = std::numeric_limits<double>::max();

INSTANTIATE_TEST_SUITE_P(
    Faults, CheckedStepFaults,
    ::testing::Values(
        FaultCase{"divideByZero", [] { return checked::div(234, 0); }, FaultKind::DivisionByZero},
        FaultCase{"zeroByZero", [] { return checked::div(0, 0); }, FaultKind::DivisionByZero},
        FaultCase{"divideOverflows", [] { return checked::div(kHuge, 0.5); }, FaultKind::Overflow},
        FaultCase{"multiplyOverflows", [] { return checked::mul(kHuge, 2); }, FaultKind::Overflow},
        FaultCase{"addOverflows", [] { return checked::add(kHuge, kHuge); }, FaultKind::Overflow},
        FaultCase{"subtractOverflows", [] { return checked::sub(-kHuge, kHuge); },
                  FaultKind::Overflow},
        FaultCase{"squareOverflows", [] { return checked::square(1e200); }, FaultKind::Overflow},
        FaultCase{"logOfZero", [] { return checked::ln(0); }, FaultKind::InvalidArgument},
        FaultCase{"logOfNegative", [] { return checked::ln(-1); }, FaultKind::InvalidArgument},
        FaultCase{"rootOfNegative", [] { return checked::sqrt(-1e-300); },
                  FaultKind::InvalidArgument}),
    [](const auto& info) { return info.param.name; });

TEST(CheckedSteps, GiveTheOrdinaryResultOtherwise) {
    EXPECT_EQ(checked::div(1, 4), 0.25);
    EXPECT_EQ(checked::square(-3), 9);
    EXPECT_EQ(checked::sqrt(0), 0);
    EXPECT_EQ(checked::ln(1), 0);
    EXPECT_EQ(checked::sub(1, 3), -2);
}

TEST(FaultTexts, AreTheOnesTheUserIsShown) {
    EXPECT_STREQ(Fault(FaultKind::DivisionByZero).what(), "Division by zero");
    EXPECT_STREQ(Fault(FaultKind::Overflow).what(), "Overflow");
    EXPECT_STREQ(Fault(FaultKind::InvalidArgument).what(), "Invalid argument");
    EXPECT_STREQ(Fault(FaultKind::TypeMismatch).what(), "Type mismatch");
    EXPECT_STREQ(Fault(FaultKind::CoilGaugeNotInTable).what(),
                 "Coil wire SWG must be an even gauge from 10 to 30");
}

} // namespace
} // namespace tarvix
