// Calculation faults. A fault stops the calculation at the failing step; what
// was stored before that step stays stored.
#pragma once

#include <stdexcept>
#include <string>

namespace tarvix {

enum class FaultKind {
    DivisionByZero,
    Overflow,
    InvalidArgument, // log of zero or a negative, square root of a negative
    TypeMismatch,    // strict parse of text that is not a number
    CoilGaugeNotInTable,
};

// The text the user is shown for a fault of this kind.
const char* faultText(FaultKind kind);

class Fault : public std::runtime_error {
public:
    explicit Fault(FaultKind kind);
    FaultKind kind() const noexcept { return m_kind; }

private:
    FaultKind m_kind;
};

} // namespace tarvix
