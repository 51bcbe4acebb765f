// The fake window of the entry tests.
#include "fake_form.h"

namespace tarvix::fakes {

FakeForm::FakeForm() {
    // Every text box starts holding a single space; both OK buttons start
    // disabled.
    for (Box box :
         {Box::txtF, Box::txtA, Box::txtB, Box::txtD1, Box::txtB1, Box::L, Box::txtN, Box::txtB2,
          Box::txtDD1, Box::txtSWG2, Box::txtFF, Box::txtAA, Box::txtBB, Box::txtSWG1}) {
        m_texts.insert_or_assign(box, std::string(" "));
    }
    m_texts.insert_or_assign(Box::cmbSWG1, std::string("14"));
    m_texts.insert_or_assign(Box::cmbSWG2, std::string("20"));
    m_enabled[Button::Command1] = false;
    m_enabled[Button::Command2] = false;
}

std::string FakeForm::text(Box box) const {
    return m_texts.at(box);
}

void FakeForm::setText(Box box, const std::string& text) {
    if (m_texts[box] == text) {
        return;
    }
    m_texts[box] = text;
    if (m_handlers == nullptr) {
        return;
    }
    EntryHandlers& handlers = *m_handlers;
    void (EntryHandlers::*change)() = nullptr;
    switch (box) {
    case Box::txtF:
        change = &EntryHandlers::txtF_Change;
        break;
    case Box::txtA:
        change = &EntryHandlers::txtA_Change;
        break;
    case Box::txtB:
        change = &EntryHandlers::txtB_Change;
        break;
    case Box::txtD1:
        change = &EntryHandlers::txtD1_Change;
        break;
    case Box::txtB1:
        change = &EntryHandlers::txtB1_Change;
        break;
    case Box::L:
        change = &EntryHandlers::L_Change;
        break;
    default:
        return; // the other boxes have no change handler
    }
    ++m_changeRuns[box];
    reportFaults(*this, [&] { (handlers.*change)(); });
}

void FakeForm::setEnabled(Button button, bool enabled) {
    m_enabled[button] = enabled;
    m_log.push_back(std::string(button == Button::Command1 ? "Command1" : "Command2") +
                    (enabled ? " enabled" : " disabled"));
}

void FakeForm::setPanelVisible(Panel, bool) {}

void FakeForm::message(const std::string& text) {
    m_log.push_back("message: " + text);
}

void FakeForm::type(Box box, const std::string& keys) {
    for (char key : keys) {
        const KeyAscii passed = numericKeyPress(static_cast<unsigned char>(key), *this);
        std::string current = text(box);
        if (passed == 8) {
            if (!current.empty()) {
                current.pop_back();
            }
        } else if (passed != 0) {
            current += static_cast<char>(passed);
        }
        setText(box, current);
    }
}

bool FakeForm::enabled(Button button) const {
    return m_enabled.at(button);
}

int FakeForm::changeRuns(Box box) const {
    const auto found = m_changeRuns.find(box);
    return found == m_changeRuns.end() ? 0 : found->second;
}

std::vector<std::string> FakeForm::messages() const {
    const std::string prefix = "message: ";
    std::vector<std::string> found;
    for (const std::string& entry : m_log) {
        if (entry.starts_with(prefix)) {
            found.push_back(entry.substr(prefix.size()));
        }
    }
    return found;
}

} // namespace tarvix::fakes
