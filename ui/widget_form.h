// The entry checks' view of the window (Form) over the real widgets: box
// texts, the two OK buttons, the four switchable panels and the message sink.
#pragma once

#include "entry/form.h"
#include "ui/message_box.h"

#include <array>
#include <functional>
#include <string>
#include <string_view>

class QGroupBox;
class QLineEdit;
class QPushButton;
class QWidget;

namespace tarvix {

class WidgetForm : public Form {
public:
    // Creates the controls of a panel that has none yet (the panels hidden at
    // start get theirs when first needed).
    using PanelBuilder = std::function<void(std::string_view panel)>;

    // Finds the controls by name among the window's children, when first
    // used; a control not there yet is made by building its panel.
    WidgetForm(QWidget& window, MessageSink messages, PanelBuilder buildPanel);

    std::string text(Box box) const override;
    // QLineEdit raises textChanged only for a text that differs from the
    // current one, which is what ends the nested change handling of L.
    void setText(Box box, const std::string& text) override;
    void setEnabled(Button button, bool enabled) override;
    void setPanelVisible(Panel panel, bool visible) override;
    void message(const std::string& text) override;

private:
    QLineEdit* box(Box box) const;
    QPushButton* button(Button button) const;

    QWidget& m_window;
    MessageSink m_messages;
    PanelBuilder m_buildPanel;
    // The text field of each box; for the two gauge lists, the list's own
    // edit field. Looked up when first used.
    mutable std::array<QLineEdit*, kBoxCount> m_boxes{};
    mutable std::array<QPushButton*, 2> m_buttons{};
    std::array<QGroupBox*, 4> m_panels{};
};

} // namespace tarvix
