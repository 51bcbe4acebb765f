// Floating-point steps that report a fault instead of producing an infinity
// or a NaN. Every arithmetic step of the two calculations goes through these.
// They are inline because a design is a few dozen of them; the fault itself
// is raised out of line.
#pragma once

#include "calc/fault.h"

#include <cmath>

namespace tarvix::checked {

[[noreturn]] void raise(FaultKind kind);

// An infinite result means the step overflowed; a NaN can only come from an
// operation with no meaningful value.
inline double verified(double result) {
    if (!std::isfinite(result)) [[unlikely]] {
        raise(std::isnan(result) ? FaultKind::InvalidArgument : FaultKind::Overflow);
    }
    return result;
}

inline double add(double a, double b) {
    return verified(a + b);
}
inline double sub(double a, double b) {
    return verified(a - b);
}
inline double mul(double a, double b) {
    return verified(a * b);
}

// b == 0 is a division by zero, whatever a is.
inline double div(double a, double b) {
    if (b == 0) [[unlikely]] {
        raise(FaultKind::DivisionByZero);
    }
    return verified(a / b);
}

// A power with exponent 2: a negative base squares to a positive value.
inline double square(double a) {
    return verified(a * a);
}

// a <= 0 is an invalid argument.
inline double ln(double a) {
    if (!(a > 0)) [[unlikely]] {
        raise(FaultKind::InvalidArgument);
    }
    return verified(std::log(a));
}

// a < 0 is an invalid argument.
inline double sqrt(double a) {
    if (!(a >= 0)) [[unlikely]] {
        raise(FaultKind::InvalidArgument);
    }
    return verified(std::sqrt(a));
}

} // namespace tarvix::checked
