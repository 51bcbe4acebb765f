// The fault side of the checked steps, kept out of line.
#include "calc/checked.h"

namespace tarvix::checked {

void raise(FaultKind kind) {
    throw Fault(kind);
}

} // namespace tarvix::checked
