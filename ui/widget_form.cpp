// Form over widgets: every box, button and panel looked up once by name.
#include "ui/widget_form.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QWidget>

#include <cstddef>
#include <stdexcept>
#include <string_view>
#include <utility>

namespace tarvix {

namespace {

// In the order of the enumerations of entry/form.h.
constexpr std::array<std::string_view, 16> kBoxNames{
    "txtF", "txtA",  "txtB",   "cmbSWG1", "txtD1", "txtB1", "cmbSWG2", "L",
    "txtN", "txtB2", "txtDD1", "txtSWG2", "txtFF", "txtAA", "txtBB",   "txtSWG1",
};
constexpr std::array<std::string_view, 2> kButtonNames{"Command1", "Command2"};
constexpr std::array<std::string_view, 4> kPanelNames{"Frame3", "Frame4", "Frame5", "Frame6"};

template <class Widget> Widget* findControl(QWidget& window, std::string_view name) {
    auto* widget = window.findChild<Widget*>(QString::fromLatin1(name.data(), name.size()));
    if (widget == nullptr) {
        throw std::logic_error("frmTarvix1 has no control " + std::string(name));
    }
    return widget;
}

QLineEdit* findTextField(QWidget& window, std::string_view name) {
    if (name.starts_with("cmb")) {
        return findControl<QComboBox>(window, name)->lineEdit();
    }
    return findControl<QLineEdit>(window, name);
}

template <class Enum> std::size_t indexOf(Enum value) {
    return static_cast<std::size_t>(value);
}

} // namespace

WidgetForm::WidgetForm(QWidget& window, MessageSink messages)
    : m_window(window), m_messages(std::move(messages)) {
    for (std::size_t i = 0; i < kBoxNames.size(); ++i) {
        m_boxes[i] = findTextField(window, kBoxNames[i]);
    }
    for (std::size_t i = 0; i < kButtonNames.size(); ++i) {
        m_buttons[i] = findControl<QPushButton>(window, kButtonNames[i]);
    }
    for (std::size_t i = 0; i < kPanelNames.size(); ++i) {
        m_panels[i] = findControl<QGroupBox>(window, kPanelNames[i]);
    }
}

std::string WidgetForm::text(Box box) const {
    return m_boxes[indexOf(box)]->text().toStdString();
}

void WidgetForm::setText(Box box, const std::string& text) {
    m_boxes[indexOf(box)]->setText(QString::fromStdString(text));
}

void WidgetForm::setEnabled(Button button, bool enabled) {
    m_buttons[indexOf(button)]->setEnabled(enabled);
}

void WidgetForm::setPanelVisible(Panel panel, bool visible) {
    m_panels[indexOf(panel)]->setVisible(visible);
}

void WidgetForm::message(const std::string& text) {
    m_messages(&m_window, QString::fromStdString(text));
}

} // namespace tarvix
