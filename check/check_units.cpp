// The check window's units: the unit shown beside each box, and the lengths
// typed converted when the units change.
#include "check/check_text.h"
#include "check/check_window.h"
#include "check/wire_conversion.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

#include <utility>

namespace tarvix {

void CheckWindow::updateUnits() {
    const Units units = m_units->currentIndex() == 1 ? Units::Metric : Units::FeetAndInches;
    const QString antennaUnit = QString::fromLatin1(antennaUnitName(units));
    const QString coilUnit = QString::fromLatin1(coilUnitName(units));
    const bool antennaByDiameter = m_antennaWireBy->currentIndex() == 2;
    const bool coilByDiameter = m_coilWireBy->currentIndex() == 2;
    const std::pair<CheckField, QString> unitsOf[] = {
        {CheckField::Freq, QStringLiteral("MHz")},
        {CheckField::TotalLength, antennaUnit},
        {CheckField::CentreToCoil, antennaUnit},
        {CheckField::AntennaWire, antennaByDiameter ? coilUnit : QString()},
        {CheckField::Height, antennaUnit},
        {CheckField::EndHeight, antennaUnit},
        {CheckField::Insulation, coilUnit},
        {CheckField::Permittivity, QString()},
        {CheckField::FormerDia, coilUnit},
        {CheckField::CoilWire, coilByDiameter ? coilUnit : QString()},
        {CheckField::Pitch, coilUnit},
        {CheckField::CoilLength, coilUnit},
        {CheckField::GivenTurns, QString()},
        {CheckField::Q, QString()},
        {CheckField::Z0, QStringLiteral("ohm")},
        {CheckField::FeedLineLength, antennaUnit},
        {CheckField::Power, QStringLiteral("W")},
        {CheckField::Measured, QStringLiteral("MHz")},
        {CheckField::MeasuredSwr, QString()},
        {CheckField::MeasuredR, QStringLiteral("ohm")}};
    for (const auto& [field, unit] : unitsOf) {
        m_fields.at(field).unit->setText(unit);
    }
}

// The lengths typed are converted to the units chosen, to six significant
// digits; what is not a number is left as it is.
void CheckWindow::convertUnits(int unitsIndex) {
    if (unitsIndex == m_unitsIndex) {
        return;
    }
    // A design opened sets its lengths and their units together.
    if (m_restoring) {
        m_unitsIndex = unitsIndex;
        return;
    }
    const Units from = m_unitsIndex == 1 ? Units::Metric : Units::FeetAndInches;
    const Units to = unitsIndex == 1 ? Units::Metric : Units::FeetAndInches;
    m_unitsIndex = unitsIndex;
    const char separator = texts().decimalSeparator;
    auto convert = [&](CheckField field, bool antennaLength) {
        QLineEdit* edit = m_fields.at(field).edit;
        if (const auto converted = lengthInUnits(text(edit), antennaLength, from, to, separator)) {
            edit->setText(qt(*converted));
        }
    };
    for (const LengthBox& box : kLengthBoxes) {
        convert(box.field, box.antennaLength);
    }
    if (m_antennaWireBy->currentIndex() == static_cast<int>(WireBy::Diameter)) {
        convert(CheckField::AntennaWire, false);
    }
    if (m_coilWireBy->currentIndex() == static_cast<int>(WireBy::Diameter)) {
        convert(CheckField::CoilWire, false);
    }
}

} // namespace tarvix

namespace tarvix {

// The wire's box follows the way it is given: a gauge becomes its diameter,
// a diameter (or a gauge of the other table) the gauge whose diameter it is.
// A diameter that no gauge of the table has stays a diameter; a gauge with no
// twin in the other table leaves the box empty to be typed. The status says
// which.
void CheckWindow::convertWire(QComboBox* by, CheckField field, bool antenna, int& byIndex,
                              int toIndex) {
    const int fromIndex = std::exchange(byIndex, toIndex);
    if (m_restoring || fromIndex == toIndex) {
        return;
    }
    QLineEdit* edit = m_fields.at(field).edit;
    const CheckTexts now = texts();
    const WireText wire{static_cast<WireBy>(fromIndex), text(edit)};
    const WireSwitch change =
        switchedWire(wire, static_cast<WireBy>(toIndex), antenna, now.units, now.decimalSeparator);
    if (change.outcome == WireSwitch::Outcome::NoWire) {
        return;
    }
    if (change.outcome == WireSwitch::Outcome::Converted) {
        edit->setText(qt(change.text));
        return;
    }
    const QString kinds[] = {QStringLiteral("SWG"), QStringLiteral("AWG")};
    const QString was = edit->text();
    if (change.outcome == WireSwitch::Outcome::KeptAsDiameter) {
        byIndex = fromIndex;
        {
            const QSignalBlocker quiet(by);
            by->setCurrentIndex(fromIndex);
        }
        refresh();
        setStatus(tr("%1: no %2 gauge is %3 across; kept as a diameter.")
                      .arg(m_fields.at(field).label, kinds[toIndex], was));
        return;
    }
    // A gauge of the other table that no gauge here matches: the box is
    // emptied, never left to be read as another wire.
    edit->clear();
    setStatus(tr("%1: no %2 gauge matches %3 %4; type the %2 gauge.")
                  .arg(m_fields.at(field).label, kinds[toIndex], kinds[fromIndex], was));
}

} // namespace tarvix
