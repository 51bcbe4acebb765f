// The check window's settings: every box, list and choice kept under
// "inputs/" and its object name, read and written by one loop over one table,
// and the window's size.
#include "check/check_window.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <QSettings>
#include <QVariant>

#include <algorithm>
#include <initializer_list>
#include <utility>
#include <variant>
#include <vector>

namespace tarvix {

// A control kept between runs and its value before the first run.
struct CheckWindow::KeptControl {
    std::variant<QLineEdit*, QComboBox*, QAbstractButton*> control;
    QVariant fallback;
};

namespace {

template <class... Handlers> struct Overloaded : Handlers... { using Handlers::operator()...; };

QString settingKey(const QObject* control) {
    return QStringLiteral("inputs/") + control->objectName();
}

} // namespace

// The boxes in the order of CheckField, then the lists, then the choices.
std::vector<CheckWindow::KeptControl> CheckWindow::keptControls() const {
    const std::pair<CheckField, const char*> boxes[] = {
        {CheckField::Freq, "7"},
        {CheckField::TotalLength, "60"},
        {CheckField::CentreToCoil, "20"},
        {CheckField::AntennaWire, kDefaultAntennaSwgText},
        {CheckField::Height, "30"},
        {CheckField::Insulation, "0.5"},
        {CheckField::Permittivity, "3.5"},
        {CheckField::FormerDia, "1.5"},
        {CheckField::CoilWire, kDefaultCoilSwgText},
        {CheckField::Pitch, ""},
        {CheckField::CoilLength, ""},
        {CheckField::GivenTurns, ""},
        {CheckField::Q, "200"},
        {CheckField::Z0, "50"},
        {CheckField::Measured, ""},
        {CheckField::MeasuredSwr, ""},
        {CheckField::MeasuredR, ""}};
    std::vector<KeptControl> kept;
    for (const auto& [field, fallback] : boxes) {
        kept.push_back({m_fields.at(field).edit, QString::fromLatin1(fallback)});
    }
    for (QComboBox* list : {m_antennaWireBy, m_coilWireBy, m_former, m_units}) {
        kept.push_back({list, 0});
    }
    for (QAbstractButton* choice :
         std::initializer_list<QAbstractButton*>{m_overGround, m_insulated, m_atPitch, m_qGiven}) {
        kept.push_back({choice, false});
    }
    return kept;
}

void CheckWindow::restoreSettings() {
    for (const KeptControl& kept : keptControls()) {
        std::visit(Overloaded{[&](QLineEdit* box) {
                                  box->setText(
                                      m_settings.value(settingKey(box), kept.fallback).toString());
                              },
                              [&](QComboBox* list) {
                                  list->setCurrentIndex(
                                      m_settings.value(settingKey(list), kept.fallback).toInt());
                              },
                              [&](QAbstractButton* choice) {
                                  choice->setChecked(
                                      m_settings.value(settingKey(choice), kept.fallback).toBool());
                              }},
                   kept.control);
    }
    if (!restoreGeometry(m_settings.value(QStringLiteral("window/geometry")).toByteArray())) {
        // Tall enough for every box where the screen is; the boxes scroll
        // where it is not.
        const QScreen* screen = QGuiApplication::primaryScreen();
        const int room = screen != nullptr ? screen->availableGeometry().height() - 40 : 760;
        resize(1180, std::clamp(room, 600, 880));
    }
}

void CheckWindow::storeSettings() const {
    for (const KeptControl& kept : keptControls()) {
        std::visit(
            Overloaded{[&](QLineEdit* box) { m_settings.setValue(settingKey(box), box->text()); },
                       [&](QComboBox* list) {
                           m_settings.setValue(settingKey(list), list->currentIndex());
                       },
                       [&](QAbstractButton* choice) {
                           m_settings.setValue(settingKey(choice), choice->isChecked());
                       }},
            kept.control);
    }
    m_settings.setValue(QStringLiteral("window/geometry"), saveGeometry());
}

} // namespace tarvix
