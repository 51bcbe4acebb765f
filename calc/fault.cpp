// Fault kinds and their texts.
#include "calc/fault.h"

namespace tarvix {

const char* faultText(FaultKind kind) {
    switch (kind) {
    case FaultKind::DivisionByZero:
        return "Division by zero";
    case FaultKind::Overflow:
        return "Overflow";
    case FaultKind::InvalidArgument:
        return "Invalid argument";
    case FaultKind::TypeMismatch:
        return "Type mismatch";
    case FaultKind::CoilGaugeNotInTable:
        return "Coil wire SWG must be an even gauge from 10 to 30";
    }
    return "Invalid argument";
}

Fault::Fault(FaultKind kind) : std::runtime_error(faultText(kind)), m_kind(kind) {}

} // namespace tarvix
