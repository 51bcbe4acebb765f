// The one design the window works on: what the user typed, the limits derived
// from it, the intermediate terms of the inductance calculation and the
// results of both steps. Field names follow the program's own vocabulary.
#pragma once

namespace tarvix {

struct DesignRecord {
    // Step 1 inputs and limits (feet, MHz). The two limits are single
    // precision on purpose: the checks compare a single-rounded value with them.
    double freqMHz = 0;
    double totalLengthFt = 0;
    float maxTotalLengthFt = 0;
    double centreToCoilFt = 0;
    float maxCentreToCoilFt = 0;

    // Step 1 calculation.
    double antennaSwg = 0;
    double antennaWireDiaIn = 0;
    double innerSpanFt = 0;   // X1 = 234/F - B
    double outerSpanFt = 0;   // X2 = A/2 - B
    double scaleFactor = 0;   // K = 1e6 / ((F*pi)^2 * 68)
    double innerLogTerm = 0;  // T1
    double innerFreqTerm = 0; // U1
    double outerLogTerm = 0;  // T2
    double outerFreqTerm = 0; // U2
    double inductanceUH = 0;  // full precision; the box L shows it rounded down

    // Step 2 inputs and calculation (inches).
    double coilFormerDiaIn = 0;
    double coilLengthIn = 0; // typed first, then replaced on every winding pass
    double coilSwg = 0;
    double coilWireDiaIn = 0;
    double coilRadiusIn = 0;
    double turnCount = 0;
    double revisedLengthIn = 0;
    double passCounter = 0;
};

} // namespace tarvix
