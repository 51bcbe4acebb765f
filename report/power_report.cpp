// The coils at the transmitter's power.
#include "report/power_report.h"

#include "calc/coil_heating.h"
#include "calc/number_text.h"

#include <cmath>
#include <ostream>
#include <string>

namespace tarvix {

namespace {

std::string modeText(const PowerOptions& power) {
    const std::optional<TransmitMode> mode = transmitMode(power.mode);
    const std::string duty = fixedText(power.dutyPercent, 0) + " % of the time on average";
    return mode ? std::string(mode->description) + " (" + duty + ")" : "a duty of " + duty;
}

// "1.23 A rms with 520 V peak across it (41 V between neighbouring turns); 2.1
// W key down, 0.42 W on average, warming it about 3 C in still air"
std::string stressText(const CoilStress& stress) {
    std::string text = fixedText(stress.currentArms, 2) + " A rms with " +
                       fixedText(stress.voltagePeakV, 0) + " V peak across it";
    if (stress.turnVoltagePeakV) {
        text += " (" + fixedText(*stress.turnVoltagePeakV, 0) + " V between neighbouring turns)";
    }
    text += "; it turns " + fixedText(stress.dissipationW, 2) + " W into heat key down, " +
            fixedText(stress.averageW, 2) + " W on average";
    if (stress.temperatureRiseC) {
        text += ", and warms about " + fixedText(*stress.temperatureRiseC, 0) +
                " C above the air in still air";
    }
    return text;
}

void writeWarnings(std::ostream& out, const CoilStress& stress) {
    if (stress.temperatureRiseC && *stress.temperatureRiseC > kMostCoilRiseC) {
        out << "Warning: the winding runs about " << fixedText(*stress.temperatureRiseC, 0)
            << " C above " << fixedText(kAmbientC, 0)
            << " C air, and a PVC former softens near 60 C. Thicker wire, a larger former, "
               "fewer and spaced turns, the coils further out or less power keep it cooler.\n";
    }
    if (stress.turnVoltagePeakV && *stress.turnVoltagePeakV > kAirSparkingLeastV) {
        out << "Warning: " << fixedText(*stress.turnVoltagePeakV, 0)
            << " V peak between neighbouring turns is above the "
            << fixedText(kAirSparkingLeastV, 0)
            << " V at which the air between them can break down and char the enamel. Spaced "
               "turns, a longer coil on a larger former, the coils further out or less power "
               "lower it.\n";
    }
}

Json number(const std::optional<double>& value) {
    return value ? Json(*value) : Json(nullptr);
}

} // namespace

void writePowerText(std::ostream& out, const SimulationOptions& options,
                    const SimulationResult& result) {
    if (!result.correctedStress) {
        return;
    }
    const PowerOptions& power = options.power;
    out << "At " << numberText(power.powerW) << " W of " << modeText(power)
        << ", each coil carries " << stressText(*result.correctedStress) << ".\n";
    writeWarnings(out, *result.correctedStress);
    for (const auto& [name, check] :
         {std::pair{"The calculator's classic winding", &result.windowWinding},
          std::pair{"The coil already wound", &result.givenWinding}}) {
        if (*check && (*check)->stress) {
            out << name << " would carry " << stressText(*(*check)->stress) << ".\n";
        }
    }
    out << "Keep the tips out of reach: at any power the wire's ends carry its highest voltage.\n";
}

Json stressJson(const std::optional<CoilStress>& stress) {
    if (!stress) {
        return nullptr;
    }
    return Json{{"coil_current_A", stress->currentArms},
                {"coil_voltage_V", stress->voltagePeakV},
                {"coil_turn_voltage_V", number(stress->turnVoltagePeakV)},
                {"coil_dissipation_W", stress->dissipationW},
                {"coil_average_W", stress->averageW},
                {"coil_temperature_rise_C", number(stress->temperatureRiseC)}};
}

Json powerJson(const SimulationOptions& options, const SimulationResult& result) {
    if (!result.correctedStress) {
        return nullptr;
    }
    Json object{{"input_W", options.power.powerW},
                {"mode", options.power.mode.empty() ? Json(nullptr) : Json(options.power.mode)},
                {"duty_percent", options.power.dutyPercent}};
    object.update(stressJson(result.correctedStress));
    return object;
}

} // namespace tarvix
