// The options that let a design be given in metres and millimetres and its
// wires by AWG number or by diameter: --metric, --antenna-awg, --coil-awg,
// --antenna-wire-dia and --coil-wire-dia. They join the command line beside
// the window's own options and, once it is read, bring the request to the
// feet, inches and wire diameters the calculations work in.
#pragma once

#include "calc/design_run.h"

#include <optional>
#include <string>

namespace CLI {
class App;
class Option;
} // namespace CLI

namespace tarvix {

struct Request;

class UnitOptions {
public:
    // Adds the options to the app. A wire named by AWG or diameter excludes
    // the other ways of naming that wire; the coil ones need --former-dia, as
    // --coil-swg does.
    explicit UnitOptions(CLI::App& app);
    UnitOptions(const UnitOptions&) = delete;
    UnitOptions& operator=(const UnitOptions&) = delete;

    // The request's lengths were read in the user's units: converts them to
    // feet and inches (the sweep range stays in the user's units, each row is
    // converted as it is run) and sets the wires named by AWG or diameter.
    // Throws UsageError for a gauge or diameter that names no wire.
    void apply(Request& request) const;

private:
    // One way of naming a wire besides its SWG gauge: the option and its text.
    struct WireOption {
        CLI::Option* option = nullptr;
        std::string text;
    };

    static std::optional<GivenWire> givenWire(const WireOption& awg, const WireOption& diameter,
                                              Units units);

    bool m_metric = false;
    WireOption m_antennaAwg;
    WireOption m_antennaWireDia;
    WireOption m_coilAwg;
    WireOption m_coilWireDia;
};

} // namespace tarvix
