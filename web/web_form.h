// The calculator's window on the page: the boxes' texts, the OK buttons and
// the panels the page shows, held here, where the same entry handlers and
// steps as the desktop window's run on them. The page sends each key, each
// change of a box's text and each click, and draws what comes back.
#pragma once

#include "calc/design_record.h"
#include "entry/form.h"
#include "entry/handlers.h"
#include "report/design_report.h"

#include <array>
#include <string>
#include <vector>

namespace tarvix {

class WebForm : public Form {
public:
    WebForm();

    std::string text(Box box) const override;
    void setText(Box box, const std::string& text) override;
    void setEnabled(Button button, bool enabled) override;
    void setPanelVisible(Panel panel, bool visible) override;
    // Kept for the page, which shows them in order, each with one OK button.
    void message(const std::string& text) override { m_messages.push_back(text); }

    // {"event": "key", "box", "key"}, {"event": "change", "box", "text"},
    // {"event": "click", "button"} or {"event": "state"}; the answer is
    // {"key" (for a key: the filtered code, 0 when discarded), "texts",
    // "enabled", "panels", "messages"}. Throws std::invalid_argument for an
    // event or a name that does not exist.
    Json handle(const Json& event);

    // The window as data for the page to lay out: its caption and size, and
    // each control's place, text, flags and accessible name, in twips.
    static Json table();

private:
    Json state();

    std::array<std::string, kBoxCount> m_texts;
    std::array<bool, 2> m_enabled{};
    std::array<bool, 4> m_visible{};
    std::vector<std::string> m_messages;
    DesignRecord m_record;
    EntryHandlers m_handlers{*this, m_record};
};

} // namespace tarvix
