// The window as assistive technology sees it. Qt presents a plain top-level
// widget as a "client" area (a filler on Linux); screen readers look for a
// frame or window to announce the title of, so frmTarvix1 is presented as a
// window.
#pragma once

namespace tarvix {

// Registers the presentation with Qt's accessibility; later calls do nothing.
// It must come before anything asks about the window, which Qt answers once
// and then remembers.
void presentWindowAsWindow();

} // namespace tarvix
