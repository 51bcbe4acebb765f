// The widget-free form of the entry-layer benchmarks.
#include "bench/bench_form.h"

namespace tarvix::bench {

namespace {

constexpr KeyAscii kBackspace = 8;

} // namespace

BenchForm::BenchForm() {
    // As the window starts: every text box holds a single space and the gauge
    // lists show their defaults.
    m_texts.fill(" ");
    m_texts[index(Box::cmbSWG1)] = "14";
    m_texts[index(Box::cmbSWG2)] = "20";
}

void BenchForm::setText(Box box, const std::string& text) {
    std::string& current = m_texts[index(box)];
    if (current == text) {
        return;
    }
    current = text;
    if (m_handlers == nullptr) {
        return;
    }
    EntryHandlers& handlers = *m_handlers;
    switch (box) {
    case Box::txtF:
        reportFaults(*this, [&] { handlers.txtF_Change(); });
        break;
    case Box::txtA:
        reportFaults(*this, [&] { handlers.txtA_Change(); });
        break;
    case Box::txtB:
        reportFaults(*this, [&] { handlers.txtB_Change(); });
        break;
    case Box::txtD1:
        reportFaults(*this, [&] { handlers.txtD1_Change(); });
        break;
    case Box::txtB1:
        reportFaults(*this, [&] { handlers.txtB1_Change(); });
        break;
    case Box::L:
        reportFaults(*this, [&] { handlers.L_Change(); });
        break;
    default:
        break; // the other boxes have no change handler
    }
}

void BenchForm::setEnabled(Button button, bool enabled) {
    m_enabled[static_cast<std::size_t>(button)] = enabled;
}

void BenchForm::keystroke(Box box, KeyAscii key) {
    const KeyAscii passed = numericKeyPress(key, *this);
    if (passed == 0) {
        return;
    }
    // The box edits a copy of its text and then reports the change, as a
    // line edit does.
    std::string edited = m_texts[index(box)];
    if (passed == kBackspace) {
        if (!edited.empty()) {
            edited.pop_back();
        }
    } else {
        edited.push_back(static_cast<char>(passed));
    }
    setText(box, edited);
}

} // namespace tarvix::bench
