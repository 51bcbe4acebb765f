// A Form with no widgets. Like the window, writing a changed text runs the
// box's change handler (through reportFaults), so handlers that write boxes
// nest as they would on screen. Messages and button states are kept in one
// log so that their order can be checked.
#pragma once

#include "entry/form.h"
#include "entry/handlers.h"

#include <map>
#include <string>
#include <vector>

namespace tarvix::fakes {

class FakeForm : public Form {
public:
    FakeForm();

    // The handlers that changes of text are sent to; until then a change only
    // stores the text.
    void attach(EntryHandlers& handlers) { m_handlers = &handlers; }

    std::string text(Box box) const override;
    void setText(Box box, const std::string& text) override;
    void setEnabled(Button button, bool enabled) override;
    void setPanelVisible(Panel panel, bool visible) override;
    void message(const std::string& text) override;

    // Types the characters one at a time through the numeric filter, as a
    // user at the keyboard would; backspace (code 8) removes the last one.
    void type(Box box, const std::string& keys);

    bool enabled(Button button) const;
    int changeRuns(Box box) const;

    // Entries such as "message: Type only numbers" or "Command1 enabled", in
    // the order they happened.
    const std::vector<std::string>& log() const { return m_log; }
    std::vector<std::string> messages() const;
    void clearLog() { m_log.clear(); }

private:
    EntryHandlers* m_handlers = nullptr;
    std::map<Box, std::string> m_texts;
    std::map<Button, bool> m_enabled;
    std::map<Box, int> m_changeRuns;
    std::vector<std::string> m_log;
};

// The record, the fake window and the handlers wired together, as the window
// owns them.
struct EntryFixture {
    DesignRecord record;
    FakeForm form;
    EntryHandlers handlers{form, record};
    EntryFixture() { form.attach(handlers); }
};

} // namespace tarvix::fakes
