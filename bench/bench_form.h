// A Form with no widgets, for the entry-layer benchmarks: the texts live in
// plain strings, messages are only counted. Like the window, a changed text
// runs the box's change handler, so handlers that write boxes nest as they
// would on screen; nothing is logged, so that what is measured is the entry
// layer and not the bookkeeping around it.
#pragma once

#include "entry/form.h"
#include "entry/handlers.h"

#include <array>
#include <string>

namespace tarvix::bench {

class BenchForm : public Form {
public:
    BenchForm();

    // The handlers that changes of text are sent to.
    void attach(EntryHandlers& handlers) { m_handlers = &handlers; }

    std::string text(Box box) const override { return m_texts[index(box)]; }
    void setText(Box box, const std::string& text) override;
    void setEnabled(Button button, bool enabled) override;
    void setPanelVisible(Panel /*panel*/, bool /*visible*/) override {}
    void message(const std::string& /*text*/) override { ++m_messages; }

    // One key typed into an input box, as the window delivers it: through
    // the numeric filter, then the edit, which runs the change handler.
    void keystroke(Box box, KeyAscii key);

    int messages() const { return m_messages; }
    bool enabled(Button button) const { return m_enabled[static_cast<std::size_t>(button)]; }

private:
    static std::size_t index(Box box) { return static_cast<std::size_t>(box); }

    EntryHandlers* m_handlers = nullptr;
    std::array<std::string, static_cast<std::size_t>(Box::txtSWG1) + 1> m_texts;
    std::array<bool, 2> m_enabled{};
    int m_messages = 0;
};

} // namespace tarvix::bench
