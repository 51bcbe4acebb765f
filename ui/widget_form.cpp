// Form over widgets: every box, button and panel looked up once by name.
#include "ui/widget_form.h"

#include "ui/control_builder.h"
#include "ui/control_table.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QWidget>

#include <algorithm>
#include <cstddef>
#include <stdexcept>
#include <string_view>
#include <utility>

namespace tarvix {

namespace {

QLineEdit* findTextField(QWidget& window, std::string_view name) {
    if (name.starts_with("cmb")) {
        auto* list = findControl<QComboBox>(window, name);
        return list != nullptr ? list->lineEdit() : nullptr;
    }
    return findControl<QLineEdit>(window, name);
}

template <class Enum> std::size_t indexOf(Enum value) {
    return static_cast<std::size_t>(value);
}

// The control, from its panel when it is not there yet.
template <class Widget, class Find>
Widget* control(QWidget& window, std::string_view name, const WidgetForm::PanelBuilder& buildPanel,
                Find find) {
    Widget* widget = find(window, name);
    if (widget == nullptr) {
        const auto controls = controlTable();
        const auto row = std::ranges::find(controls, name, &ControlDescription::name);
        if (row != controls.end() && !row->panel.empty()) {
            buildPanel(row->panel);
            widget = find(window, name);
        }
    }
    if (widget == nullptr) {
        throw std::logic_error("frmTarvix1 has no control " + std::string(name));
    }
    return widget;
}

} // namespace

WidgetForm::WidgetForm(QWidget& window, MessageSink messages, PanelBuilder buildPanel)
    : m_window(window), m_messages(std::move(messages)), m_buildPanel(std::move(buildPanel)) {
    for (std::size_t i = 0; i < m_panels.size(); ++i) {
        const std::string_view name = controlName(static_cast<Panel>(i));
        m_panels[i] = findControl<QGroupBox>(window, name);
        if (m_panels[i] == nullptr) {
            throw std::logic_error("frmTarvix1 has no panel " + std::string(name));
        }
    }
}

QLineEdit* WidgetForm::box(Box box) const {
    QLineEdit*& field = m_boxes[indexOf(box)];
    if (field == nullptr) {
        field = control<QLineEdit>(m_window, controlName(box), m_buildPanel, findTextField);
    }
    return field;
}

QPushButton* WidgetForm::button(Button button) const {
    QPushButton*& found = m_buttons[indexOf(button)];
    if (found == nullptr) {
        found = control<QPushButton>(m_window, controlName(button), m_buildPanel,
                                     findControl<QPushButton>);
    }
    return found;
}

std::string WidgetForm::text(Box box) const {
    return this->box(box)->text().toStdString();
}

void WidgetForm::setText(Box box, const std::string& text) {
    this->box(box)->setText(QString::fromStdString(text));
}

void WidgetForm::setEnabled(Button button, bool enabled) {
    this->button(button)->setEnabled(enabled);
}

void WidgetForm::setPanelVisible(Panel panel, bool visible) {
    if (visible) {
        m_buildPanel(controlName(panel));
    }
    m_panels[indexOf(panel)]->setVisible(visible);
}

void WidgetForm::message(const std::string& text) {
    m_messages(&m_window, QString::fromStdString(text));
}

} // namespace tarvix
