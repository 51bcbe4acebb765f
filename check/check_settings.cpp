// The check window's settings: every box, list and choice kept under
// "inputs/" and its object name, read and written by one loop over one table,
// and the window's size. A design file keeps the same inputs under the same
// names, as JSON: {"inputs": {"freq": "7.1", "units": 0, "insulated": false, ...}}.
#include "check/check_window.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QSettings>
#include <QVariant>

#include <algorithm>
#include <initializer_list>
#include <map>
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

} // namespace

// The boxes in the order of CheckField, then the lists, then the choices.
std::vector<CheckWindow::KeptControl> CheckWindow::keptControls() const {
    const std::pair<CheckField, const char*> boxes[] = {
        {CheckField::Freq, "7"},
        {CheckField::TotalLength, "60"},
        {CheckField::CentreToCoil, "20"},
        {CheckField::AntennaWire, kDefaultAntennaSwgText},
        {CheckField::Height, "30"},
        {CheckField::EndHeight, ""},
        {CheckField::Insulation, kDefaultInsulationInText},
        {CheckField::Permittivity, "3.5"},
        {CheckField::FormerDia, "1.5"},
        {CheckField::CoilWire, kDefaultCoilSwgText},
        {CheckField::Pitch, ""},
        {CheckField::CoilLength, ""},
        {CheckField::GivenTurns, ""},
        {CheckField::Q, "200"},
        {CheckField::Z0, "50"},
        {CheckField::FeedLineLength, ""},
        {CheckField::Power, "100"},
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
    kept.push_back({m_ground, 1}); // average
    kept.push_back({m_feedLine, 0});
    kept.push_back({m_mode, 1}); // SSB
    for (QAbstractButton* choice :
         std::initializer_list<QAbstractButton*>{m_overGround, m_insulated, m_atPitch, m_qGiven}) {
        kept.push_back({choice, false});
    }
    return kept;
}

std::vector<std::pair<QString, QVariant>> CheckWindow::keptValues() const {
    std::vector<std::pair<QString, QVariant>> values;
    for (const KeptControl& kept : keptControls()) {
        std::visit(
            Overloaded{[&](QLineEdit* box) { values.emplace_back(box->objectName(), box->text()); },
                       [&](QComboBox* list) {
                           values.emplace_back(list->objectName(), list->currentIndex());
                       },
                       [&](QAbstractButton* choice) {
                           values.emplace_back(choice->objectName(), choice->isChecked());
                       }},
            kept.control);
    }
    return values;
}

// The lists' and choices' changes are not taken as the user's: no
// conversion of units or wires, no check of the boxes until all are set.
void CheckWindow::applyKeptValues(
    const std::function<QVariant(const QString& key, const QVariant& fallback)>& valueOf) {
    const bool wasRestoring = std::exchange(m_restoring, true);
    for (const KeptControl& kept : keptControls()) {
        std::visit(
            Overloaded{
                [&](QLineEdit* box) {
                    box->setText(valueOf(box->objectName(), kept.fallback).toString());
                },
                [&](QComboBox* list) {
                    list->setCurrentIndex(valueOf(list->objectName(), kept.fallback).toInt());
                },
                [&](QAbstractButton* choice) {
                    choice->setChecked(valueOf(choice->objectName(), kept.fallback).toBool());
                }},
            kept.control);
    }
    m_restoring = wasRestoring;
    m_unitsIndex = m_units->currentIndex();
    m_antennaWireByIndex = m_antennaWireBy->currentIndex();
    m_coilWireByIndex = m_coilWireBy->currentIndex();
}

void CheckWindow::restoreSettings() {
    applyKeptValues([this](const QString& key, const QVariant& fallback) {
        return m_settings.value(QStringLiteral("inputs/") + key, fallback);
    });
    const QRect available = availableGeometry();
    if (!restoreGeometry(m_settings.value(QStringLiteral("window/geometry")).toByteArray()) ||
        !available.contains(geometry())) {
        // As wide and tall as every box asks where the screen has room for
        // it, less a window manager's frame; the boxes scroll where it has
        // not.
        resize(std::min(kOpeningWidth, available.width() - 2 * kFrameBorder),
               std::min(std::max(kOpeningHeight, unscrolledHeight()),
                        available.height() - kFrameTitle - kFrameBorder));
        if (!available.contains(geometry())) {
            move(available.topLeft() + QPoint(kFrameBorder, kFrameTitle));
        }
    }
}

// The inputs' column as tall as its boxes ask, with the rows above and
// below them and the window's margins: the height at which no box scrolls.
int CheckWindow::unscrolledHeight() const {
    const QWidget* column = m_inputsScroll->parentWidget();
    const QMargins margins = layout()->contentsMargins();
    return column->sizeHint().height() - m_inputsScroll->sizeHint().height() +
           m_inputsScroll->widget()->sizeHint().height() + margins.top() + margins.bottom();
}

QRect CheckWindow::availableGeometry() const {
    const QScreen* shown = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    return shown != nullptr ? shown->availableGeometry()
                            : QRect(0, 0, kOpeningWidth, kOpeningHeight);
}

void CheckWindow::storeSettings() const {
    for (const auto& [key, value] : keptValues()) {
        m_settings.setValue(QStringLiteral("inputs/") + key, value);
    }
    m_settings.setValue(QStringLiteral("window/geometry"), saveGeometry());
}

} // namespace tarvix

namespace tarvix {

namespace {

// A JSON value that a control can take: a text for a box, an index of the
// list for a list, true or false for a choice.
bool fits(const QJsonValue& value, const QVariant& now, int listCount) {
    switch (now.typeId()) {
    case QMetaType::QString:
        return value.isString();
    case QMetaType::Int:
        return value.isDouble() && value.toDouble() == value.toInt() && value.toInt() >= 0 &&
               value.toInt() < listCount;
    default:
        return value.isBool();
    }
}

} // namespace

void CheckWindow::saveDesign() {
    QJsonObject inputs;
    for (const auto& [key, value] : keptValues()) {
        inputs.insert(key, QJsonValue::fromVariant(value));
    }
    const QByteArray json = QJsonDocument(QJsonObject{{QStringLiteral("inputs"), inputs}}).toJson();
    writeFile(tr("Save the design"), QStringLiteral("dipole-design.json"), tr("Designs (*.json)"),
              [&json](const QString&) { return json.toStdString(); });
}

void CheckWindow::openDesign() {
    const QString title = tr("Open a design");
    const QString path = askPath(m_askOpenPath, title, QString(), tr("Designs (*.json)"));
    if (path.isEmpty()) {
        return;
    }
    const auto fail = [&](const QString& why) {
        setStatus(tr("Not opened: %1").arg(why));
        m_showMessage(title, tr("%1 was not opened: %2").arg(path, why));
    };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        fail(file.errorString());
        return;
    }
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    const QJsonValue inputs = document.object().value(QStringLiteral("inputs"));
    if (error.error != QJsonParseError::NoError || !inputs.isObject()) {
        fail(tr("it is no design (no \"inputs\" in JSON)"));
        return;
    }
    // Every value checked before any is set: a bad file changes nothing.
    const QJsonObject values = inputs.toObject();
    const std::map<QString, int> listCounts{
        {m_antennaWireBy->objectName(), m_antennaWireBy->count()},
        {m_coilWireBy->objectName(), m_coilWireBy->count()},
        {m_former->objectName(), m_former->count()},
        {m_units->objectName(), m_units->count()},
        {m_ground->objectName(), m_ground->count()},
        {m_feedLine->objectName(), m_feedLine->count()},
        {m_mode->objectName(), m_mode->count()}};
    for (const auto& [key, now] : keptValues()) {
        const auto count = listCounts.find(key);
        if (values.contains(key) &&
            !fits(values.value(key), now, count != listCounts.end() ? count->second : 0)) {
            fail(tr("the value of \"%1\" is not one it can take").arg(key));
            return;
        }
    }
    applyKeptValues([&values](const QString& key, const QVariant& fallback) {
        return values.contains(key) ? values.value(key).toVariant() : fallback;
    });
    refresh();
    setStatus(tr("Opened %1.").arg(path));
}

} // namespace tarvix
