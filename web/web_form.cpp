#include "web/web_form.h"

#include "calc/wire_gauge.h"
#include "entry/report_faults.h"
#include "entry/steps.h"
#include "ui/control_table.h"

#include <stdexcept>
#include <utility>

namespace tarvix {

namespace {

constexpr std::array kButtons{Button::Command1, Button::Command2};
constexpr std::array kPanels{Panel::Frame3, Panel::Frame4, Panel::Frame5, Panel::Frame6};

Box boxNamed(const std::string& name) {
    for (std::size_t index = 0; index < kBoxCount; ++index) {
        if (controlName(static_cast<Box>(index)) == name) {
            return static_cast<Box>(index);
        }
    }
    throw std::invalid_argument("no such box: " + name);
}

Button buttonNamed(const std::string& name) {
    for (const Button button : kButtons) {
        if (controlName(button) == name) {
            return button;
        }
    }
    throw std::invalid_argument("no such button: " + name);
}

const char* kindName(ControlKind kind) {
    switch (kind) {
    case ControlKind::Panel:
        return "Panel";
    case ControlKind::Label:
        return "Label";
    case ControlKind::TextBox:
        return "TextBox";
    case ControlKind::DropDownList:
        return "DropDownList";
    case ControlKind::PushButton:
        return "PushButton";
    case ControlKind::Picture:
        return "Picture";
    }
    return "";
}

Json partName(const FormPart& part) {
    if (const Box* box = std::get_if<Box>(&part)) {
        return std::string(controlName(*box));
    }
    if (const Button* button = std::get_if<Button>(&part)) {
        return std::string(controlName(*button));
    }
    if (const Panel* panel = std::get_if<Panel>(&part)) {
        return std::string(controlName(*panel));
    }
    return nullptr;
}

// What a screen reader is to announce: the caption of the label beside the
// control, without its "=", or the control's own name.
Json accessibleName(std::string_view control) {
    for (const AccessibleCaption& caption : accessibleCaptions()) {
        if (caption.control != control) {
            continue;
        }
        if (!caption.name.empty()) {
            return std::string(caption.name);
        }
        return {{"label", std::string(caption.label)}};
    }
    return nullptr;
}

Json controlJson(const ControlDescription& control) {
    return {{"name", std::string(control.name)},
            {"kind", kindName(control.kind)},
            {"panel", std::string(control.panel)},
            {"text", std::string(control.text)},
            {"left", control.left},
            {"top", control.top},
            {"width", control.width},
            {"height", control.height},
            {"tab_index", control.tabIndex},
            {"hidden", (control.flags & HiddenAtStart) != 0},
            {"disabled", (control.flags & DisabledAtStart) != 0},
            {"locked", (control.flags & Locked) != 0},
            {"result_font", (control.flags & ResultFont) != 0},
            {"author_link", (control.flags & AuthorLink) != 0},
            {"part", partName(control.part)},
            {"accessible_name", accessibleName(control.name)}};
}

} // namespace

WebForm::WebForm() {
    for (const ControlDescription& control : controlTable()) {
        if (const Box* box = std::get_if<Box>(&control.part)) {
            m_texts[static_cast<std::size_t>(*box)] = std::string(control.text);
        } else if (const Button* button = std::get_if<Button>(&control.part)) {
            m_enabled[static_cast<std::size_t>(*button)] = (control.flags & DisabledAtStart) == 0;
        } else if (const Panel* panel = std::get_if<Panel>(&control.part)) {
            m_visible[static_cast<std::size_t>(*panel)] = (control.flags & HiddenAtStart) == 0;
        }
    }
}

std::string WebForm::text(Box box) const {
    return m_texts[static_cast<std::size_t>(box)];
}

void WebForm::setText(Box box, const std::string& text) {
    std::string& kept = m_texts[static_cast<std::size_t>(box)];
    if (kept == text) {
        return;
    }
    kept = text;
    if (const std::optional<ChangeHandler> handler = changeHandlerOf(box)) {
        reportFaults(*this, [this, handler] { (m_handlers.**handler)(); });
    }
}

void WebForm::setEnabled(Button button, bool enabled) {
    m_enabled[static_cast<std::size_t>(button)] = enabled;
}

void WebForm::setPanelVisible(Panel panel, bool visible) {
    m_visible[static_cast<std::size_t>(panel)] = visible;
}

Json WebForm::handle(const Json& event) {
    m_messages.clear();
    const std::string kind = event.at("event").get<std::string>();
    Json answer;
    if (kind == "key") {
        const Box box = boxNamed(event.at("box").get<std::string>());
        KeyAscii key = event.at("key").get<KeyAscii>();
        switch (keyFilterOf(box)) {
        case KeyFilter::Numeric:
            key = numericKeyPress(key, *this);
            break;
        case KeyFilter::Discard:
            key = discardKeyPress(key);
            break;
        case KeyFilter::None:
            break;
        }
        answer["key"] = key;
    } else if (kind == "change") {
        setText(boxNamed(event.at("box").get<std::string>()), event.at("text").get<std::string>());
    } else if (kind == "click") {
        if (buttonNamed(event.at("button").get<std::string>()) == Button::Command1) {
            Command1_Click(*this, m_record);
        } else {
            Command2_Click(*this, m_record);
        }
    } else if (kind != "state") {
        throw std::invalid_argument("no such event: " + kind);
    }
    const Json now = state();
    for (const auto& [key, value] : now.items()) {
        answer[key] = value;
    }
    return answer;
}

Json WebForm::state() {
    Json texts = Json::object();
    for (std::size_t index = 0; index < kBoxCount; ++index) {
        texts[std::string(controlName(static_cast<Box>(index)))] = m_texts[index];
    }
    Json enabled = Json::object();
    for (const Button button : kButtons) {
        enabled[std::string(controlName(button))] = m_enabled[static_cast<std::size_t>(button)];
    }
    Json panels = Json::object();
    for (const Panel panel : kPanels) {
        panels[std::string(controlName(panel))] = m_visible[static_cast<std::size_t>(panel)];
    }
    return {{"texts", std::move(texts)},
            {"enabled", std::move(enabled)},
            {"panels", std::move(panels)},
            {"messages", m_messages}};
}

Json WebForm::table() {
    Json controls = Json::array();
    for (const ControlDescription& control : controlTable()) {
        controls.push_back(controlJson(control));
    }
    const Json gauges = swgGaugeTexts();
    return {{"caption", std::string(kWindowCaption)},
            {"width_twips", kClientWidthTwips},
            {"height_twips", kClientHeightTwips},
            {"author_url", std::string(kAuthorPage)},
            {"picture", "diagram.png"},
            {"controls", std::move(controls)},
            {"lists", {{"cmbSWG1", gauges}, {"cmbSWG2", gauges}}}};
}

} // namespace tarvix
