// A fault stops the handler that met it; the user is told which fault it was,
// and the program goes on with the record and window as the handler left them.
#pragma once

#include "calc/fault.h"
#include "entry/form.h"

namespace tarvix {

template <class Handler> void reportFaults(Form& form, Handler&& handler) {
    try {
        handler();
    } catch (const Fault& fault) {
        form.message(fault.what());
    }
}

} // namespace tarvix
