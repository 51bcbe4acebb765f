// The entry checks' view of the window (Form) over the real widgets: box
// texts, the two OK buttons, the four switchable panels and the message sink.
#pragma once

#include "entry/form.h"
#include "ui/message_box.h"

#include <array>
#include <string>

class QGroupBox;
class QLineEdit;
class QPushButton;
class QWidget;

namespace tarvix {

class WidgetForm : public Form {
public:
    // Finds the controls by name among the window's children; they must exist.
    WidgetForm(QWidget& window, MessageSink messages);

    std::string text(Box box) const override;
    // QLineEdit raises textChanged only for a text that differs from the
    // current one, which is what ends the nested change handling of L.
    void setText(Box box, const std::string& text) override;
    void setEnabled(Button button, bool enabled) override;
    void setPanelVisible(Panel panel, bool visible) override;
    void message(const std::string& text) override;

private:
    QWidget& m_window;
    MessageSink m_messages;
    // The text field of each box; for the two gauge lists, the list's own
    // edit field.
    std::array<QLineEdit*, 16> m_boxes{};
    std::array<QPushButton*, 2> m_buttons{};
    std::array<QGroupBox*, 4> m_panels{};
};

} // namespace tarvix
