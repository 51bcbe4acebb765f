// Standard Wire Gauge diameters (inches) for the even gauges 10 to 30, as the
// window knows them; the antenna-wire and coil-wire tables differ at gauge 10.
// American Wire Gauge diameters from the gauge's defining formula.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace tarvix {

struct GaugeRow {
    int swg;
    double antennaWireDiaIn;
    double coilWireDiaIn;
};

inline constexpr std::array<GaugeRow, 11> kGaugeTable{{
    {10, 0.12799, 0.127992},
    {12, 0.10402, 0.10402},
    {14, 0.08, 0.08},
    {16, 0.0640157, 0.0640157},
    {18, 0.047992, 0.047992},
    {20, 0.036, 0.036},
    {22, 0.028, 0.028},
    {24, 0.022, 0.022},
    {26, 0.018, 0.018},
    {28, 0.0147992, 0.0147992},
    {30, 0.0124015, 0.0124015},
}};

// The table's gauges as the lists offer them: "10", "12", ... "30".
std::vector<std::string> swgGaugeTexts();

// Exact comparison of the gauge value with each row; no match for odd gauges,
// gauges outside 10..30 and fractions.
std::optional<double> antennaWireDiameter(double swg);
std::optional<double> coilWireDiameter(double swg);

inline constexpr int kMinAwg = 0;
inline constexpr int kMaxAwg = 40;

// d = 0.005 in * 92^((36 - N) / 39) for the whole gauges 0 to 40; none for
// other values.
std::optional<double> awgWireDiameter(double awg);

// Said of a value that no row of the SWG table has, and of one that is no AWG.
inline constexpr const char* kNotSwgGaugeText = "is not an even gauge from 10 to 30";
std::string notAwgGaugeText();

} // namespace tarvix
