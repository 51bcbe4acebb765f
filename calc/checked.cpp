// Checked floating-point steps. A result that is infinite means the step
// overflowed; a NaN can only come from an operation with no meaningful value.
#include "calc/checked.h"

#include "calc/fault.h"

#include <cmath>

namespace tarvix::checked {

namespace {

double verified(double result) {
    if (std::isnan(result)) {
        throw Fault(FaultKind::InvalidArgument);
    }
    if (std::isinf(result)) {
        throw Fault(FaultKind::Overflow);
    }
    return result;
}

} // namespace

double add(double a, double b) {
    return verified(a + b);
}
double sub(double a, double b) {
    return verified(a - b);
}
double mul(double a, double b) {
    return verified(a * b);
}

double div(double a, double b) {
    if (b == 0) {
        throw Fault(FaultKind::DivisionByZero);
    }
    return verified(a / b);
}

double square(double a) {
    return verified(std::pow(a, 2));
}

double ln(double a) {
    if (!(a > 0)) {
        throw Fault(FaultKind::InvalidArgument);
    }
    return verified(std::log(a));
}

double sqrt(double a) {
    if (a < 0 || std::isnan(a)) {
        throw Fault(FaultKind::InvalidArgument);
    }
    return verified(std::sqrt(a));
}

} // namespace tarvix::checked
